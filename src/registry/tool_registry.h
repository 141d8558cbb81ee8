#pragma once
// The registered tools: the one place that knows which tools this build has.
// The frame, the tool windows and quorvex-batch find tools here by launch
// row, by --tool name, by document or by dialog name.
#include "model/tool_descriptor.h"
#include "model/tvorlwin.h"

#include <memory>
#include <string>
#include <vector>

namespace qx {

// Every registered tool, in launch-table order.
const std::vector<const ToolDescriptor*>& registeredTools();

// The tool of a launch-table row (0..12), or null when it is not built yet.
const ToolDescriptor* toolOfRow(int launchRow);
// The launch-table row of a registered tool.
int rowOfTool(const ToolDescriptor& tool);
// The tool whose --tool name is `name`, or null.
const ToolDescriptor* toolByBatchName(const std::string& name);
// The registered --tool names joined by `separator` ("mandel, julia").
std::string toolNames(const char* separator);

// The tool that reads the document at `path`: the one whose kind code begins
// the file, else the one whose launch row opens its extension; null when
// neither names a registered tool. `row` gets the launch row the extension
// names (-1 for none), so that a caller can name a tool not built yet.
const ToolDescriptor* toolOfDocument(const std::string& path, int& row);

// A new window model of a launch row; null for a row outside 0..12 or a tool
// that is not built yet.
std::unique_ptr<TVorlWin> createToolModel(int launchRow);

// The form of dialog `name` for `win` from whichever tool owns the window,
// or null.
std::unique_ptr<DialogForm> dialogFormFor(TVorlWin& win, const std::string& name);

} // namespace qx
