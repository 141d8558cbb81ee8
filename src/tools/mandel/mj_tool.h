#pragma once
// The registrations of the Mandelbrot and Julia windows.
#include "model/tool_descriptor.h"

namespace qx {

const ToolDescriptor& mandelbrotTool();
const ToolDescriptor& juliaTool();

} // namespace qx
