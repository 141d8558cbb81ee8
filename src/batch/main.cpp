// quorvex-batch: the headless program. It renders, exports, evaluates and
// inspects from the command line with the same core as the windows.
#include "batch/cmd_export.h"
#include "batch/cmd_info.h"
#include "batch/cmd_render.h"
#include "batch/commands.h"
#include "batch/render_job.h"

#include <cstdio>
#include <cstring>

namespace qx::batch {

// Defined in cmd_eval.cpp.
int runEval(const Args& args);
int runDiff(const Args& args);
// Defined in cmd_dimension.cpp.
int runDimension(const Args& args);

const std::vector<Command>& commands()
{
    static const std::vector<Command> table = {
        {"render", runRender, "draw the picture of a tool window (or document) into a PNG or BMP file"},
        {"info", runInfo, "print the kind, version and main parameters of a document"},
        {"eval", runEval, "evaluate an expression once and print its value"},
        {"diff", runDiff, "print the simplified derivative of an expression"},
        {"export", runExport, "write the vector picture of a tool window as EPS"},
        {"dimension", runDimension, "print the box-counting dimension of a picture or a curve"},
    };
    return table;
}

} // namespace qx::batch

namespace {

void printHelp()
{
    std::printf("usage: quorvex-batch COMMAND [options]\n"
                "       quorvex-batch --help | --version\n\n"
                "Quorvex without windows: render pictures, export them and check maps\n"
                "from scripts. Commands:\n");
    for (const auto& c : qx::batch::commands())
        std::printf("  %-8s %s\n", c.name, c.summary);
    std::printf("\n'quorvex-batch COMMAND --help' describes one command.\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        printHelp();
        return argc < 2 ? 2 : 0;
    }
    if (!std::strcmp(argv[1], "--version")) {
        std::printf("quorvex-batch 1.%d\n", QX_VERSION_NUMBER);
        return 0;
    }
    for (const auto& c : qx::batch::commands())
        if (!std::strcmp(argv[1], c.name))
            return c.run(qx::batch::Args(argv + 2, argv + argc));
    std::fprintf(stderr, "quorvex-batch: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}
