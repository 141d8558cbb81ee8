#pragma once
// The registrations of the IFS tools.
#include "model/tool_descriptor.h"

namespace qx {

const ToolDescriptor& complexIfsTool();
const ToolDescriptor& realIfsTool();

} // namespace qx
