#pragma once
// Qt tests of tool windows: open the window of a launch row, wait for its
// picture, and answer the next modal message box.
#include "registry/tool_registry.h"
#include "ui/drawing_area.h"
#include "ui/tool_window.h"

#include <QApplication>
#include <QMessageBox>
#include <QtTest>

#include <memory>

namespace qx::test {

inline std::unique_ptr<ui::ToolWindow> openRow(int row, const char* title)
{
    ui::ToolLaunch launch;
    launch.row = row;
    launch.title = QString::fromLatin1(title);
    auto w = std::make_unique<ui::ToolWindow>(createToolModel(row), launch, nullptr);
    w->start();
    return w;
}

// The render is finished and the picture valid (false after 20 s).
inline bool rendered(ui::ToolWindow& w)
{
    w.area()->update();
    QTest::qWait(30);
    return QTest::qWaitFor([&w] { return !w.rendering() && w.model().figureValid(); }, 20000);
}

// Accepts the next message box and keeps its text in `shown`.
inline void acceptBox(QString& shown)
{
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
}

} // namespace qx::test
