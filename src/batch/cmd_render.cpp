// quorvex-batch render: builds the window model a user would open, applies
// the options as the window's own dialogs would, runs the window's render
// (the threaded sweep) and writes the picture it shows.
#include "batch/cmd_render.h"

#include "batch/render_job.h"

#include "base/messages.h"
#include "graphics/export/bmp_writer.h"
#include "graphics/export/png_writer.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace qx::batch {

namespace {

std::string help()
{
    return "usage: quorvex-batch render --tool TOOL [options] -o FILE\n"
           "       quorvex-batch render DOCUMENT [options] -o FILE\n"
           "\n"
           "Draws the picture a tool window shows and writes it as PNG or BMP (chosen by\n"
           "the extension of FILE). Every option left out keeps the window's default, or\n"
           "the value of the DOCUMENT when one is given. The tools: " + toolNames(", ") + ".\n"
           "\n"
           "Escape-time pictures (mandel, julia) are always the plain loop's pixels: the\n"
           "speed-ups are exact ones (two orbits iterated side by side, most of the main\n"
           "cardioid and a disc of the period-2 bulb proven inside without iterating, an orbit\n"
           "whose 80-bit state repeats exactly ended at once, since it can never escape, and\n"
           "an orbit that settles near an attracting cycle ended once discs around the cycle,\n"
           "rounding included, prove that it never passes the threshold, whole runs of 16\n"
           "pixels, or discs eight rows high, proven the same way at once, the spread\n"
           "between their orbits included, and band pictures of z^2 + c iterated first in\n"
           "double precision with a bound on the distance from the 80-bit orbit, which\n"
           "decides most orbits exactly as the 80-bit loop does and leaves the others to\n"
           "it; in views deeper than doubles resolve, as deviations from the 80-bit orbit of\n"
           "one reference parameter). No pixel is\n"
           "guessed from its neighbours unless --guess asks for the inexact preview mode;\n"
           "either way --threads N gives the picture of --threads 1.\n"
           "\n" + optionHelp(false) +
           "\n"
           "Progress is shown when standard error is a terminal.\n"
           "\n"
           "Examples:\n" + toolExamples("render");
}

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
        return r == 1 ? (std::fputs(help().c_str(), stdout), 0) : r;
    if (!endsWith(job.output, ".png") && !endsWith(job.output, ".bmp"))
        return usageError(job, "the output file must end in .png or .bmp");
    std::unique_ptr<TVorlWin> win;
    if (const int r = prepareWindow(job, win))
        return r;
    const std::string docExt = documentExtension(*job.tool);
    if (!job.save.empty() && !endsWith(job.save, docExt))
        return usageError(job, "--save needs a file ending in " + docExt);
    BatchHost host;
    if (const int e = setUpWindow(job, host, *win))
        return e;
    TVorlWin& shown = host.child() ? *host.child() : *win; // a Julia child when one was opened
    const auto t0 = std::chrono::steady_clock::now();
    render(shown);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (host.terminal())
        std::fputs("\r", stderr);
    if (const int s = stoppedStatus(job, host))
        return s;
    if (const int e = writePicture(job.output, shown.picture())) {
        std::fprintf(stderr, "quorvex-batch render: %s: %s\n", job.output.c_str(), messageText(e).c_str());
        return 1;
    }
    if (const int e = saveDocument(job, *win))
        return e;
    const std::string suffix = job.tool->reportSuffix ? job.tool->reportSuffix(*win) : "";
    std::fprintf(stderr, "%s: %dx%d %s%s, %.2f s\n", job.output.c_str(), job.width, job.height,
                 job.tool->batchName, suffix.c_str(), seconds);
    return 0;
}

} // namespace qx::batch
