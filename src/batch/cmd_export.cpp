// quorvex-batch export: builds the window model a user would open, applies
// the options as the window's own dialogs would, and runs the window's EPS
// export: the background, the inverse-image points, orbits and overlays.
#include "batch/cmd_export.h"

#include "batch/render_job.h"
#include "base/messages.h"

#include <cstdio>

namespace qx::batch {

namespace {

std::string help()
{
    return "usage: quorvex-batch export --format eps [DOCUMENT] [options] -o FILE.eps\n"
           "\n"
           "Writes the vector picture of a tool window as Encapsulated PostScript: the\n"
           "background, what the tool draws as points and lines (such as the points of the\n"
           "inverse-image method, --mode iim), the orbits of the seed list and the axes.\n"
           "Escape-time pictures are pixels and are not exported; use 'render' for them.\n"
           "Every option left out keeps the window's default, or the DOCUMENT's value.\n"
           "At 96 dpi a 641x481 window gives a 480 x 360 point page.\n"
           "\n"
           "  --format eps          the output format (required; eps is the only one so far)\n"
           "  DOCUMENT              a document to export; options given override its values\n" +
           optionHelp(true) +
           "\n"
           "Examples:\n" + toolExamples("export");
}

} // namespace

int runExport(const Args& args)
{
    RenderJob job;
    job.command = "export";
    if (const int r = parseRenderArgs(args, job, true))
        return r == 1 ? (std::fputs(help().c_str(), stdout), 0) : r;
    if (job.format != "eps")
        return usageError(job, "--format eps is required");
    if (!endsWith(job.output, ".eps"))
        return usageError(job, "the output file must end in .eps");
    std::unique_ptr<TVorlWin> win;
    if (const int r = prepareWindow(job, win))
        return r;
    BatchHost host;
    if (const int e = setUpWindow(job, host, *win))
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
