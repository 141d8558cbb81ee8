// quorvex-batch dimension: the box-counting report of a picture file or of a
// tool's figure (a string-rewriting curve), printed to standard output.
#include "batch/commands.h"
#include "batch/render_job.h"

#include <cstdio>
#include <memory>

namespace qx::batch {

namespace {

const char* kHelp =
    "usage: quorvex-batch dimension PICTURE.bmp|PICTURE.png\n"
    "       quorvex-batch dimension --tool srf [--example NAME] [--generation N]\n"
    "       quorvex-batch dimension DOCUMENT.srf\n"
    "\n"
    "Covers the picture (its pixels that differ from pixel (3, 3)) or the curve with\n"
    "grids of 1, 2, 4, ... 1024 boxes per side, counts the boxes it meets and prints\n"
    "the table of counts with the fitted dimension, then the estimate.\n"
    "\n"
    "Examples:\n"
    "  quorvex-batch dimension fern.png\n"
    "  quorvex-batch dimension --tool srf --example \"von Koch island\" --generation 5\n";

bool isPicture(const std::string& path)
{
    return endsWith(path, ".bmp") || endsWith(path, ".png");
}

} // namespace

int runDimension(const Args& args)
{
    Args a;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (isPicture(args[i]) && (i == 0 || args[i - 1].rfind("--", 0) != 0)) {
            a.insert(a.end(), {"--tool", "dim", "--image", args[i]});
            continue;
        }
        a.push_back(args[i]);
    }
    a.insert(a.end(), {"--box-count", "-o", "unused.png"});
    RenderJob job;
    job.command = "dimension";
    if (const int r = parseRenderArgs(a, job, false))
        return r == 1 ? (std::fputs(kHelp, stdout), 0) : r;
    std::unique_ptr<TVorlWin> win;
    if (const int r = prepareWindow(job, win))
        return r;
    BatchHost host;
    return setUpWindow(job, host, *win); // the count prints its report
}

} // namespace qx::batch
