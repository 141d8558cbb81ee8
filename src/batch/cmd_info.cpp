// quorvex-batch info: what a Mandelbrot or Julia document holds.
#include "batch/cmd_info.h"

#include "batch/documents.h"

#include <cstdio>
#include <string>

namespace qx::batch {

namespace {

constexpr const char* kHelp =
    "usage: quorvex-batch info DOCUMENT\n"
    "\n"
    "Prints the kind, version and main parameters of a .man or .jul document.\n"
    "A document that cannot be read gives \"error E: message\" and exit status 1.\n";

const char* modeName(DisplayMode m)
{
    static const char* const kNames[] = {"bands", "dem", "iim", "blend", "binary"};
    const int i = static_cast<int>(m);
    return (i >= 0 && i <= 4) ? kNames[i] : "?";
}

std::string real(Real v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.18Lg", v);
    return buf;
}

} // namespace

int runInfo(const Args& args)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
        return std::fputs(kHelp, stdout), 0;
    if (args.size() != 1 || args[0].rfind("-", 0) == 0) {
        std::fprintf(stderr, "quorvex-batch info: one DOCUMENT is needed (try --help)\n");
        return 2;
    }
    std::unique_ptr<TMJ0Win> win;
    if (const int e = loadDocument(args[0], win)) {
        reportFileError(e);
        return 1;
    }
    const View& v = win->view();
    const MJParams p = win->params();
    std::printf("kind: %s (%d)\nversion: %d\n", toolName(*win), win->windowKind(), win->fileHeader().version);
    std::printf("centre: %s,%s\nwidth: %s\n", real(v.centerX).c_str(), real(v.centerY).c_str(),
                real(v.halfWidth).c_str());
    std::printf("c: %s,%s\ndegree: %d\nmaximum reps: %d%s\nmode: %s\n", real(p.c.re).c_str(),
                real(p.c.im).c_str(), p.degree, p.maxReps, p.antiAlias ? "@1" : "", modeName(p.mode));
    return 0;
}

} // namespace qx::batch
