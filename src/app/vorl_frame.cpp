#include "app/vorl_frame.h"

#include "registry/about.h"
#include "base/file_io.h"
#include "ui/text_window.h"
#include "registry/tool_registry.h"
#include "ui/tool_factory.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <map>

namespace qx::app {

namespace {
constexpr const char* kFrameSettingsFile = "qx.ini";

unsigned randomInt()
{
    return QRandomGenerator::global()->bounded(0x7fffffff);
}
} // namespace

TVorlFrame::TVorlFrame(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Quorvex"));
    const unsigned r0 = randomInt(), r1 = randomInt();
    placement_ = defaultFramePlacement(r0, r1);
    buildMenus();
    help_ = new ui::TextWindow(QStringLiteral("name.ext"), this);
    help_->hide();
}

QAction* TVorlFrame::addCommand(QMenu* menu, int command, const QString& text, const QString& key,
                                std::function<void()> run)
{
    QAction* a = menu->addAction(text);
    if (!key.isEmpty())
        a->setShortcut(QKeySequence(key));
    a->setData(command);
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    actions_.emplace_back(command, a);
    return a;
}

QAction* TVorlFrame::commandAction(int command) const
{
    for (const auto& [id, a] : actions_)
        if (id == command)
            return a;
    return nullptr;
}

void TVorlFrame::buildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* open = file->addAction(tr("&Open ..."), QKeySequence::Open, this, &TVorlFrame::openDialog);
    open->setData(-1);
    file->addSeparator();
    addCommand(file, kCmdOpenLast, tr("Open &last"), {}, [this] { toggleOpenLast(); })->setCheckable(true);
    addCommand(file, kCmdUseDefaults, tr("&Use defaults"), {}, [this] { toggleUseDefaults(); })->setCheckable(true);
    file->addSeparator();
    addCommand(file, kCmdExit, tr("E&xit"), {}, [this] { close(); });

    // The launch rows, grouped by the first part of their menu path.
    std::map<QString, QMenu*> groups;
    for (int r = 0; r < kToolRows; ++r) {
        const LaunchRow& row = kLaunchTable[r];
        const QStringList path = QString::fromLatin1(row.menuPath).split(QLatin1Char('|'));
        QMenu* menu = nullptr;
        if (path.size() > 1) {
            auto it = groups.find(path[0]);
            menu = it != groups.end() ? it->second : (groups[path[0]] = menuBar()->addMenu(path[0]));
        }
        const QString text = path.back();
        auto run = [this, r] { createTool(r, {}); };
        QAction* a = nullptr;
        if (menu) {
            a = addCommand(menu, row.command, text, QString::fromLatin1(row.key), run);
        } else {
            // A launch row without a submenu is an item of the menu bar itself.
            a = menuBar()->addAction(text);
            a->setShortcut(QKeySequence(QString::fromLatin1(row.key)));
            a->setData(row.command);
            connect(a, &QAction::triggered, this, run);
            actions_.emplace_back(row.command, a);
        }
        // Tools not built yet stay in the menu, greyed, so the layout is the final one.
        if (!toolOfRow(r)) {
            a->setEnabled(false);
            a->setToolTip(tr("not available yet"));
        }
    }
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    addCommand(help, kCmdHelp, tr("&Help"), {}, [this] { showHelp(); });
    addCommand(help, kCmdAbout, tr("&About ..."), {}, [this] { showAbout(); });
    refreshChecks();
}

void TVorlFrame::refreshChecks()
{
    commandAction(kCmdOpenLast)->setChecked(openLast_);
    commandAction(kCmdUseDefaults)->setChecked(useDefaults_);
}

void TVorlFrame::toggleOpenLast()
{
    openLast_ = !openLast_;
    if (useDefaults_)
        useDefaults_ = false;
    refreshChecks();
}

void TVorlFrame::toggleUseDefaults()
{
    useDefaults_ = !useDefaults_;
    if (openLast_)
        openLast_ = false;
    refreshChecks();
}

ui::ToolLaunch TVorlFrame::nextLaunch(int row, const QString& fileName) const
{
    ui::ToolLaunch launch;
    launch.row = row;
    launch.title = QString::fromStdString(newWindowTitle(row, counters_[row]));
    launch.fileName = fileName;
    launch.version = kProductVersion;
    launch.reopenLast = openLast_;
    launch.readSettings = !useDefaults_ && row != kRowComplexDynamicPlane;
    return launch;
}

QWidget* TVorlFrame::createTool(int row, const QString& fileName)
{
    if (row < 0 || row >= kToolRows)
        return nullptr;
    if (!toolOfRow(row)) {
        tellNotAvailable(row);
        return nullptr;
    }
    const ui::ToolLaunch launch = nextLaunch(row, fileName);
    ++counters_[row];
    return ui::createToolWindow(launch, this);
}

// Said without blocking: the frame keeps taking documents and commands.
void TVorlFrame::tellNotAvailable(int row)
{
    if (notAvailable_)
        notAvailable_->close();
    auto* box = new QMessageBox(QMessageBox::Information, tr("not available yet"),
                                tr("The window \"%1\" is not available yet in this version of Quorvex.")
                                    .arg(QString::fromStdString(menuName(kLaunchTable[row]))),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
    notAvailable_ = box;
}

QWidget* TVorlFrame::viewer(QPointer<QWidget>& slot, const QString& title)
{
    if (!slot) {
        // Slide shows and print images are replayed by the dynamics window core; until
        // it plays them the viewer keeps the path it was handed.
        slot = new ui::TextWindow(title, this);
        slot->hide();
    }
    return slot;
}

void TVorlFrame::openByName(const QString& path)
{
    const Dispatch d = dispatchByExtension(path.toStdString());
    if (d.kind == Dispatch::Ignore)
        return;
    raise();
    activateWindow();
    switch (d.kind) {
    case Dispatch::Tool:
        createTool(d.row, path);
        break;
    case Dispatch::SlideViewer:
        slidePath_ = path;
        viewer(slideViewer_, tr("slides"));
        break;
    case Dispatch::PrinterViewer:
        printerPath_ = path;
        viewer(printerViewer_, tr("print image"));
        break;
    case Dispatch::Ignore:
        break;
    }
}

void TVorlFrame::receiveFromSecondStart(const QString& text)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (text.size() >= 2)
        openByName(text);
}

void TVorlFrame::openDialog()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open"), QString(),
        tr("Quorvex documents (*.man *.jul *.ppc *.par *.ppr *.lya *.dyc *.dyr *.web *.ifc *.ifr *.bif "
           "*.srf *.dim *.sli *.prn);;All files (*)"));
    if (!path.isEmpty())
        openByName(path);
}

void TVorlFrame::setUp()
{
    FrameSettings s;
    s.placement = placement_;
    if (readFrameSettings(settingsPath(kFrameSettingsFile), s)) {
        openLast_ = s.openLast;
        useDefaults_ = s.useDefaults;
        startMaximized_ = s.placement.maximized;
    }
    const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size()
                                                           : QSize(1024, 768);
    const unsigned r0 = randomInt(), r1 = randomInt();
    placement_ = validatedPlacement(s.placement, screen.width(), screen.height(), r0, r1);
    if (!placementFits(s.placement, screen.width(), screen.height()))
        startMaximized_ = false;
    move(placement_.x, placement_.y);
    resize(placement_.width, placement_.height);
    refreshChecks();
    setAcceptDrops(true);
}

void TVorlFrame::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (startMaximized_) {
        startMaximized_ = false;
        QTimer::singleShot(0, this, &QWidget::showMaximized);
    }
    if (!pending_.isEmpty()) {
        const QString path = pending_;
        pending_.clear();
        QTimer::singleShot(0, this, [this, path] { openByName(path); });
    }
}

bool TVorlFrame::closeToolWindows()
{
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isWindow() && w->property(ui::kToolWindowProperty).isValid() && !w->close())
            return false;
    return true;
}

void TVorlFrame::saveSettings()
{
    FrameSettings s;
    const QRect normal = isMaximized() ? normalGeometry() : QRect(pos(), size());
    s.placement = {normal.x(), normal.y(), normal.width(), normal.height(), isMaximized()};
    s.openLast = openLast_;
    s.useDefaults = useDefaults_;
    writeFrameSettings(settingsPath(kFrameSettingsFile), s); // failure is silent
}

void TVorlFrame::closeEvent(QCloseEvent* e)
{
    // Tool windows save their settings and may ask to save their documents; one that
    // refuses to close keeps the program running.
    if (!closeToolWindows()) {
        e->ignore();
        return;
    }
    saveSettings();
    e->accept();
    QApplication::quit();
}

void TVorlFrame::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

void TVorlFrame::dropEvent(QDropEvent* e)
{
    openDropped(e->mimeData()->urls());
    e->acceptProposedAction();
}

void TVorlFrame::openDropped(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            openByName(url.toLocalFile());
}

void TVorlFrame::showHelp()
{
    help_->setText(QString::fromUtf8(programHelpText()));
    help_->show();
    help_->raise();
}

void TVorlFrame::showAbout()
{
    if (about_) // while the box is open a second request is ignored
        return;
    auto* box = new QDialog(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QString::fromStdString(aboutTitle()));
    auto* layout = new QVBoxLayout(box);
    auto* text = new QLabel(QString::fromStdString(aboutText(__DATE__)), box);
    text->setObjectName(QStringLiteral("aboutText"));
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box);
    connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
    layout->addWidget(buttons);
    about_ = box;
    box->open();
}

} // namespace qx::app
