#pragma once
// The registrations of the curve tools.
#include "model/tool_descriptor.h"

namespace qx {

const ToolDescriptor& stringRewritingTool();
const ToolDescriptor& dimensionTool();

} // namespace qx
