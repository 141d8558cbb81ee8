#include "ui/tool_factory.h"

#include "registry/tool_registry.h"
#include "ui/tool_window.h"

namespace qx::ui {

QWidget* createToolWindow(const ToolLaunch& launch, QWidget* parent)
{
    std::unique_ptr<TVorlWin> model = createToolModel(launch.row);
    if (!model)
        return nullptr; // a window that cannot be created is simply not shown
    auto* w = new ToolWindow(std::move(model), launch, parent);
    w->start();
    return w;
}

} // namespace qx::ui
