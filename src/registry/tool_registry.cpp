#include "registry/tool_registry.h"

#include "registry/launch_table.h"

#include <fstream>

namespace qx {

std::unique_ptr<TVorlWin> createToolModel(int launchRow)
{
    const ToolDescriptor* tool = toolOfRow(launchRow);
    return tool ? tool->create() : nullptr;
}

const ToolDescriptor* toolOfRow(int launchRow)
{
    if (launchRow < 0 || launchRow >= kToolRows)
        return nullptr;
    for (const ToolDescriptor* t : registeredTools())
        if (t->launchCommand == kLaunchTable[launchRow].command)
            return t;
    return nullptr;
}

int rowOfTool(const ToolDescriptor& tool) { return rowOfCommand(tool.launchCommand); }

const ToolDescriptor* toolByBatchName(const std::string& name)
{
    for (const ToolDescriptor* t : registeredTools())
        if (name == t->batchName)
            return t;
    return nullptr;
}

std::string toolNames(const char* separator)
{
    std::string names;
    for (const ToolDescriptor* t : registeredTools())
        names += (names.empty() ? "" : separator) + std::string(t->batchName);
    return names;
}

namespace {

// The little-endian kind code that begins a document, or -1.
int32_t documentKindOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char head[4];
    if (!in.read(reinterpret_cast<char*>(head), 4))
        return -1;
    return static_cast<int32_t>(head[0] | (head[1] << 8) | (head[2] << 16) | (uint32_t(head[3]) << 24));
}

} // namespace

const ToolDescriptor* toolOfDocument(const std::string& path, int& row)
{
    const Dispatch d = dispatchByExtension(path);
    row = d.kind == Dispatch::Tool ? d.row : -1;
    const int32_t kind = documentKindOf(path);
    for (const ToolDescriptor* t : registeredTools())
        if (kind >= 0 && t->documentKind == kind)
            return t;
    return toolOfRow(row);
}

std::unique_ptr<DialogForm> dialogFormFor(TVorlWin& win, const std::string& name)
{
    for (const ToolDescriptor* t : registeredTools())
        if (t->dialogForm)
            if (auto form = t->dialogForm(win, name))
                return form;
    return nullptr;
}

} // namespace qx
