#pragma once
// The registrations of the map tools.
#include "model/tool_descriptor.h"

namespace qx {

const ToolDescriptor& complexDynamicPlaneTool();
const ToolDescriptor& realDynamicPlaneTool();
const ToolDescriptor& complexParameterPlaneTool();
const ToolDescriptor& realParameterPlaneTool();

} // namespace qx
