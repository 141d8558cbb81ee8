// The tools this build has. A new tool adds its registration here: one
// #include of its folder's *_tool.h and one entry in the list.
#include "registry/tool_registry.h"

#include "tools/mandel/mj_tool.h"
#include "tools/maps/maps_tool.h"
#include "tools/curves/curves_tool.h"
#include "tools/ifs/ifs_tool.h"
#include "tools/oned/oned_tool.h"

namespace qx {

const std::vector<const ToolDescriptor*>& registeredTools()
{
    static const std::vector<const ToolDescriptor*> tools = {
        &mandelbrotTool(),
        &juliaTool(),
        &complexParameterPlaneTool(),
        &realParameterPlaneTool(),
        &lyapunovTool(),
        &complexDynamicPlaneTool(),
        &realDynamicPlaneTool(),
        &webTool(),
        &complexIfsTool(),
        &realIfsTool(),
        &bifurcationTool(),
        &stringRewritingTool(),
        &dimensionTool(),
    };
    return tools;
}

} // namespace qx
