#include "registry/launch_table.h"

#include <cctype>

namespace qx {

int rowOfCommand(int command)
{
    for (int r = 0; r < kToolRows; ++r)
        if (kLaunchTable[r].command == command)
            return r;
    return -1;
}

Dispatch dispatchByExtension(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.size() - dot - 1 != 3)
        return {};
    std::string ext = path.substr(dot + 1);
    for (char& ch : ext)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (ext == "SLI")
        return {Dispatch::SlideViewer, -1};
    if (ext == "PRN")
        return {Dispatch::PrinterViewer, -1};
    for (int r = 0; r < kToolRows; ++r)
        for (const char* key : kLaunchTable[r].opens)
            if (*key && ext == key)
                return {Dispatch::Tool, r};
    return {};
}

std::string menuName(const LaunchRow& row)
{
    std::string name;
    for (const char* p = row.menuPath; *p; ++p)
        name += *p == '|' ? std::string(", ") : std::string(1, *p);
    return name;
}

std::string newWindowTitle(int row, int counter)
{
    return "noname" + std::to_string(counter + 1) + kLaunchTable[row].extension;
}

std::string joinArguments(int argc, const char* const* argv)
{
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            path += ' ';
        path += argv[i];
    }
    return path;
}

} // namespace qx
