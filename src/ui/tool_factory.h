#pragma once
// Creation of tool windows for the frame's launch table.
#include <QString>

class QWidget;

namespace qx::ui {

// What the frame hands a new tool window.
struct ToolLaunch {
    int row = 0;              // launch-table row
    QString title;            // "nonameN.ext"
    QString fileName;         // document to open, may be empty
    int version = 13;         // product version number
    bool reopenLast = false;  // reopen the tool's last document
    bool readSettings = true; // read the tool's settings file
};

// The dynamic property that marks a top-level widget as a tool window.
inline constexpr const char* kToolWindowProperty = "qxToolRow";

// Builds (but does not show) the window of the launch row. Null when it cannot be created.
QWidget* createToolWindow(const ToolLaunch& launch, QWidget* parent);

} // namespace qx::ui
