// quorvex-batch render: builds the window model a user would open, applies
// the options as the window's own dialogs would, runs the window's render
// (the threaded sweep) and writes the picture it shows.
#include "batch/cmd_render.h"

#include "batch/render_job.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "graphics/export/bmp_writer.h"
#include "graphics/export/png_writer.h"
#include "tools/mandel/mj_period.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>

namespace qx::batch {

namespace {

constexpr const char* kHelp =
    "usage: quorvex-batch render --tool mandel|julia [options] -o FILE\n"
    "       quorvex-batch render DOCUMENT [options] -o FILE\n"
    "\n"
    "Draws the picture a Mandelbrot or Julia window shows and writes it as PNG or BMP\n"
    "(chosen by the extension of FILE). Every option left out keeps the window's default,\n"
    "or the value of the DOCUMENT (.man or .jul) when one is given.\n"
    "\n"
    "  --tool mandel|julia   which window (required without a DOCUMENT)\n"
    "  --size WxH            picture size in pixels, each side 2..30000, at most\n"
    "                        64 megapixels (default 1024x768)\n"
    "  --centre X,Y          centre of the view (default -0.75,0 for mandel, 0,0 for julia)\n"
    "  --width W             half-width of the view in world units (default 1.4 / 2.1)\n"
    "  --c TEXT              julia only: the parameter c, \"re,im\" or a complex expression\n"
    "                        of constants such as -0.12+0.74i or 0.5cis(0.4pi)\n"
    "                        (default: a random point of the main cardioid's boundary)\n"
    "  --degree D            exponent d of z^d + c, 2..10 (default 2)\n"
    "  --reps N              maximum repetitions, 2..2147483647; N@1 samples five points\n"
    "                        per pixel (default 400)\n"
    "  --threshold T         escape when x*x + y*y > T (default 4; blend mode raises it\n"
    "                        to 256, binary mode to 100)\n"
    "  --mode M              bands, dem, blend, binary or iim (julia only; default bands)\n"
    "  --threads N           worker threads (default: all cores)\n"
    "  -o FILE               output file, *.png or *.bmp (required)\n"
    "  --save FILE           also write the document of the picture (*.man for\n"
    "                        mandel, *.jul for julia)\n"
    "  --help                this text\n"
    "\n"
    "Progress is shown when standard error is a terminal.\n"
    "\n"
    "Examples:\n"
    "  quorvex-batch render --tool mandel -o mandel.png\n"
    "  quorvex-batch render --tool mandel --centre -0.7436,0.1318 --width 0.002 --reps 2000 -o zoom.bmp\n"
    "  quorvex-batch render --tool julia --c -0.12256+0.74486i --size 800x800 --mode blend -o rabbit.png\n";

int writePicture(const std::string& path, const Image& image)
{
    const PixelsView view{image.width, image.height, image.pixels.data()};
    return endsWith(path, ".bmp") ? writeBmp(path, view) : writePng(path, view);
}

} // namespace

int runRender(const Args& args)
{
    RenderJob job;
    if (const int r = parseRenderArgs(args, job, false))
        return r == 1 ? (std::fputs(kHelp, stdout), 0) : r;
    if (!endsWith(job.output, ".png") && !endsWith(job.output, ".bmp"))
        return usageError(job, "the output file must end in .png or .bmp");
    std::unique_ptr<TMJ0Win> win;
    if (const int r = prepareWindow(job, win))
        return r;
    const char* docExt = win->isJulia() ? ".jul" : ".man";
    if (!job.save.empty() && !endsWith(job.save, docExt))
        return usageError(job, std::string("--save needs a file ending in ") + docExt);
    BatchHost host;
    win->attach(host);
    win->resize(job.width, job.height);
    win->setSweepThreads(job.threads);
    if (const int e = applyOptions(job, *win))
        return e;
    const auto t0 = std::chrono::steady_clock::now();
    render(*win);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (host.terminal())
        std::fputs("\r", stderr);
    if (const int e = writePicture(job.output, win->picture())) {
        std::fprintf(stderr, "quorvex-batch render: %s: %s\n", job.output.c_str(), messageText(e).c_str());
        return 1;
    }
    if (const int e = saveDocument(job, *win))
        return e;
    const std::string c = win->isJulia() ? ", c = " + formatComplex(win->parameter(), 7) : "";
    std::fprintf(stderr, "%s: %dx%d %s%s, %.2f s\n", job.output.c_str(), job.width, job.height,
                 job.tool.c_str(), c.c_str(), seconds);
    return 0;
}

} // namespace qx::batch
