#pragma once
// A tool window whose tool is not built yet: its title, counter name and an
// empty drawing area, so the frame is whole while tools arrive one by one.
#include "ui/tool_factory.h"

#include <QMainWindow>

namespace qx::ui {

class PlaceholderWindow : public QMainWindow {
    Q_OBJECT
public:
    PlaceholderWindow(const ToolLaunch& launch, QWidget* parent);
    const ToolLaunch& launch() const { return launch_; }

private:
    ToolLaunch launch_;
};

} // namespace qx::ui
