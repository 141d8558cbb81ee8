// quorvex-batch export: builds the window model a user would open, applies
// the options as the window's own dialogs would, and runs the window's EPS
// export: the background, the inverse-image points, orbits and overlays.
#include "batch/cmd_export.h"

#include "batch/render_job.h"
#include "base/messages.h"

#include <cstdio>

namespace qx::batch {

namespace {

constexpr const char* kHelp =
    "usage: quorvex-batch export --format eps [DOCUMENT] [options] -o FILE.eps\n"
    "\n"
    "Writes the vector picture of a Mandelbrot or Julia window as Encapsulated PostScript:\n"
    "the background, the points of the inverse-image method (--mode iim), the orbits of\n"
    "the seed list and the axes. Escape-time pictures are pixels and are not exported;\n"
    "use 'render' for them. Every option left out keeps the window's default.\n"
    "\n"
    "  --format eps          the output format (required; eps is the only one so far)\n"
    "  DOCUMENT              a .man or .jul document to export; options given\n"
    "                        override its values\n"
    "  --tool mandel|julia   which window, when no document is given\n"
    "  --size WxH            window size in pixels, 2..30000 each (default 1024x768);\n"
    "                        at 96 dpi a 641x481 window gives a 480 x 360 point page\n"
    "  --centre X,Y, --width W, --c TEXT, --degree D, --reps N, --threshold T\n"
    "                        as for 'render'\n"
    "  --mode M              iim draws the Julia set by inverse iteration (julia only)\n"
    "  --seeds TEXT          julia only: seed points separated by ';' (\"0.1; 0.2+0.3i\");\n"
    "                        their orbits are drawn over the picture\n"
    "  --orbit-length N      points per seed orbit (default 1000)\n"
    "  -o FILE               output file, *.eps (required; overwritten if it exists)\n"
    "  --save FILE           also write the window's document (*.man or *.jul)\n"
    "  --help                this text\n"
    "\n"
    "Examples:\n"
    "  quorvex-batch export --format eps --tool julia --c -0.12256+0.74486i --mode iim -o rabbit.eps\n"
    "  quorvex-batch export --format eps --tool julia --c -1 --seeds \"0.1; 0.3i\" --orbit-length 200 -o orbits.eps\n";

} // namespace

int runExport(const Args& args)
{
    RenderJob job;
    job.command = "export";
    if (const int r = parseRenderArgs(args, job, true))
        return r == 1 ? (std::fputs(kHelp, stdout), 0) : r;
    if (job.format != "eps")
        return usageError(job, "--format eps is required");
    if (!endsWith(job.output, ".eps"))
        return usageError(job, "the output file must end in .eps");
    std::unique_ptr<TMJ0Win> win;
    if (const int r = prepareWindow(job, win))
        return r;
    BatchHost host;
    win->attach(host);
    win->resize(job.width, job.height);
    if (const int e = applyOptions(job, *win))
        return e;
    if (const int e = win->exportEps(job.output, "1", [](const std::string&) { return true; })) {
        std::fprintf(stderr, "quorvex-batch export: %s: %s\n", job.output.c_str(), messageText(e).c_str());
        return 1;
    }
    if (const int e = saveDocument(job, *win))
        return e;
    std::fprintf(stderr, "%s: EPS file saved\n", job.output.c_str());
    return 0;
}

} // namespace qx::batch
