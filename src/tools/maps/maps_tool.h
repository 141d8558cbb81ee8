#pragma once
// The registrations of the map tools.
#include "model/tool_descriptor.h"

namespace qx {

const ToolDescriptor& complexDynamicPlaneTool();
const ToolDescriptor& realDynamicPlaneTool();

} // namespace qx
