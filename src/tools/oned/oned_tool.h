#pragma once
// The registrations of the one-dimensional tools.
#include "model/tool_descriptor.h"

namespace qx {

const ToolDescriptor& lyapunovTool();
const ToolDescriptor& bifurcationTool();
const ToolDescriptor& webTool();

} // namespace qx
