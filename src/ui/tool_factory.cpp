#include "ui/tool_factory.h"

#include "ui/placeholder_window.h"

#include <QVariant>

namespace qx::ui {

QWidget* createToolWindow(const ToolLaunch& launch, QWidget* parent)
{
    QWidget* w = new PlaceholderWindow(launch, parent);
    w->setProperty(kToolWindowProperty, launch.row);
    return w;
}

} // namespace qx::ui
