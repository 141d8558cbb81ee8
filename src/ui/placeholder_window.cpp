#include "ui/placeholder_window.h"

#include "core/launch_table.h"

#include <QLabel>
#include <QMenuBar>

namespace qx::ui {

PlaceholderWindow::PlaceholderWindow(const ToolLaunch& launch, QWidget* parent)
    : QMainWindow(parent, Qt::Window), launch_(launch)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(launch.title);
    const LaunchRow& row = kLaunchTable[launch.row];
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
    auto* area = new QLabel(QString::fromLatin1(row.className) + tr(": this tool is not available yet"), this);
    area->setAlignment(Qt::AlignCenter);
    area->setAutoFillBackground(true);
    QPalette pal = area->palette();
    pal.setColor(QPalette::Window, Qt::white);
    area->setPalette(pal);
    setCentralWidget(area);
    resize(480, 360);
}

} // namespace qx::ui
