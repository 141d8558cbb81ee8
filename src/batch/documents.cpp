#include "batch/documents.h"

#include "base/messages.h"
#include "registry/launch_table.h"

#include <cstdio>
#include <fstream>

namespace qx::batch {

int loadDocument(const std::string& path, std::unique_ptr<TVorlWin>& win, const ToolDescriptor*& tool)
{
    int row = -1;
    tool = toolOfDocument(path, row);
    if (!tool) {
        if (row >= 0) {
            std::fprintf(stderr, "error %d: %s: a document of the %s window, which this build does not have yet\n",
                         ErrNothingToDo, path.c_str(), menuName(kLaunchTable[row]).c_str());
            return ErrNothingToDo;
        }
        const int e = std::ifstream(path, std::ios::binary).good() ? ErrIncompatibleVersions : ErrCannotOpenFile;
        reportFileError(e);
        return e;
    }
    win = tool->create();
    if (const int e = win->readDocument(path)) {
        reportFileError(e);
        return e;
    }
    return 0;
}

void reportFileError(int code)
{
    std::fprintf(stderr, "error %d: %s\n", code, messageText(code).c_str());
}

} // namespace qx::batch
