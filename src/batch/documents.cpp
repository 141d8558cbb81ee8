#include "batch/documents.h"

#include "base/file_io.h"
#include "base/messages.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include <cstdio>

namespace qx::batch {

namespace {

bool juliaDocument(const std::string& path)
{
    std::vector<uint8_t> head;
    if (readWholeFile(path, head) && head.size() >= 4) {
        const int32_t kind = head[0] | (head[1] << 8) | (head[2] << 16) | (head[3] << 24);
        if (kind == kJuliaKind || kind == kMandelKind)
            return kind == kJuliaKind;
    }
    return path.size() >= 4 && (path.compare(path.size() - 4, 4, ".jul") == 0 ||
                                path.compare(path.size() - 4, 4, ".JUL") == 0);
}

} // namespace

int loadDocument(const std::string& path, std::unique_ptr<TMJ0Win>& win)
{
    if (juliaDocument(path))
        win = std::make_unique<TJulWin>();
    else
        win = std::make_unique<TManWin>();
    return win->readDocument(path);
}

void reportFileError(int code)
{
    std::fprintf(stderr, "error %d: %s\n", code, messageText(code).c_str());
}

const char* toolName(const TMJ0Win& win) { return win.isJulia() ? "julia" : "mandel"; }

} // namespace qx::batch
