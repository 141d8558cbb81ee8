#pragma once
// The registration of the complex dynamic plane.
#include "model/tool_descriptor.h"

namespace qx {

const ToolDescriptor& complexDynamicPlaneTool();

} // namespace qx
