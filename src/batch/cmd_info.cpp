// quorvex-batch info: what a document holds.
#include "batch/cmd_info.h"

#include "batch/documents.h"

#include <cstdio>
#include <string>

namespace qx::batch {

namespace {

constexpr const char* kHelp =
    "usage: quorvex-batch info DOCUMENT\n"
    "\n"
    "Prints the kind, version and main parameters of a document.\n"
    "A document that cannot be read gives \"error E: message\" and exit status 1.\n";

} // namespace

int runInfo(const Args& args)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
        return std::fputs(kHelp, stdout), 0;
    if (args.size() != 1 || args[0].rfind("-", 0) == 0) {
        std::fprintf(stderr, "quorvex-batch info: one DOCUMENT is needed (try --help)\n");
        return 2;
    }
    std::unique_ptr<TVorlWin> win;
    const ToolDescriptor* tool = nullptr;
    if (loadDocument(args[0], win, tool))
        return 1;
    if (tool->describe)
        std::fputs(tool->describe(*win).c_str(), stdout);
    return 0;
}

} // namespace qx::batch
