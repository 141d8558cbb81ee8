#include "ui/tool_window.h"

#include "graphics/export/bmp_page.h"
#include "model/command_table.h"
#include "model/frame_settings.h"
#include "model/tvorlswin.h"
#include "base/messages.h"
#include "ui/colour_track_dialog.h"
#include "ui/drawing_area.h"
#include "ui/grid_dialog.h"
#include "ui/input_dialog.h"
#include "ui/form_dialog.h"
#include "ui/library_dialogs.h"
#include "ui/parameter_bar.h"
#include "ui/target_dialog.h"
#include "registry/tool_registry.h"
#include "ui/qt_canvas.h"
#include "ui/text_window.h"
#include "ui/view_dialog.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QImageReader>
#include <QMimeData>
#include <QKeyEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>
#include <utility>

namespace qx::ui {

namespace {
constexpr int kTickMs = 40; // picture refresh while a render grows
QString q(const std::string& s) { return QString::fromStdString(s); }

// A stored placement is used only when it lies wholly on the screen.
bool placementFitsScreen(const WindowPlacement& p)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QRect r = screen->availableGeometry();
    return placementFits(p, r.width(), r.height());
}
} // namespace

ToolWindow::ToolWindow(std::unique_ptr<TVorlWin> model, const ToolLaunch& launch, QWidget* parent)
    : QMainWindow(parent, Qt::Window), model_(std::move(model)), launch_(launch), area_(new DrawingArea(*this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setProperty(kToolWindowProperty, launch.row);
    setWindowTitle(launch.title);
    setCentralWidget(area_);
    tickTimer_.setInterval(kTickMs);
    connect(&tickTimer_, &QTimer::timeout, this, &ToolWindow::tick);
    idleTimer_.setSingleShot(true);
    connect(&idleTimer_, &QTimer::timeout, this, [this] {
        model_->idleTimeout();
        refreshChecks();
        area_->update();
    });
    buildMenus();
}

ToolWindow::~ToolWindow()
{
    tickTimer_.stop();
    if (model_) {
        model_->abandonExport();
        model_->interruptRendering();
        model_->finishRendering();
    }
}

void ToolWindow::start(const WindowPlacement* placement)
{
    model_->attach(*this);
    model_->setDocumentName(windowTitle().toStdString());
    model_->setReadSettings(launch_.readSettings);
    model_->loadStartupFiles(launch_.reopenLast, launch_.fileName.toStdString());
    model_->restoreTitle();
    WindowPlacement stored;
    if (!placement && model_->storedPlacement(stored) && placementFitsScreen(stored))
        placement = &stored;
    if (placement && placement->width > 0 && placement->height > 0) {
        move(placement->x, placement->y);
        resize(placement->width, placement->height);
    } else {
        resize(560, 460);
    }
    keepInsideScreen();
    parameterBarChanged(); // before the drawing area's size is taken
    model_->setInitialPosition(x(), y());
    const QSize pixels = area_->pixelSize();
    model_->resize(pixels.width(), pixels.height());
    model_->setUp();
    refreshChecks();
    if (placement && placement->maximized)
        showMaximized();
    else
        show();
    keepInsideScreen(); // again, now that the window frame is known
    area_->setFocus();
}

bool ToolWindow::windowPlacement(WindowPlacement& p) const
{
    // The normal geometry, so that a maximized window comes back to its size when restored.
    const QRect r = isMaximized() ? normalGeometry() : geometry();
    p = {r.x(), r.y(), r.width(), r.height(), isMaximized()};
    return true;
}

void ToolWindow::closeWindow()
{
    // After the command returns: the window may delete itself on close.
    QTimer::singleShot(0, this, [this] { close(); });
}

// Every new window, zoom child and pop-up lies wholly inside the available
// screen area: moved in, and made smaller only when it is larger than the screen.
void ToolWindow::keepInsideScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    const int extraW = frame.width() - width(), extraH = frame.height() - height();
    const int w = std::min(width(), area.width() - extraW), h = std::min(height(), area.height() - extraH);
    if (w != width() || h != height())
        resize(std::max(w, 120), std::max(h, 72));
    const QRect f = frameGeometry();
    const int x = std::clamp(f.x(), area.left(), std::max(area.left(), area.right() + 1 - f.width()));
    const int y = std::clamp(f.y(), area.top(), std::max(area.top(), area.bottom() + 1 - f.height()));
    if (x != f.x() || y != f.y())
        move(x, y);
}

void ToolWindow::placeWindow(const WindowPlacement& p)
{
    if (p.width <= 0 || p.height <= 0 || !placementFitsScreen(p))
        return;
    if (isMaximized() && !p.maximized)
        showNormal();
    move(p.x, p.y);
    resize(p.width, p.height);
    if (p.maximized)
        showMaximized();
}

// ---- Menus built from the model's command tables.

void ToolWindow::buildMenus()
{
    const MenuBar bar = model_->menuBar();
    // The Help menu stands last, whatever order the tool's layers added menus in.
    std::vector<const Menu*> menus;
    for (const Menu& m : bar.menus())
        menus.push_back(&m);
    std::stable_partition(menus.begin(), menus.end(), [](const Menu* m) { return m->title != kMenuHelp; });
    for (const Menu* mp : menus) {
        const Menu& m = *mp;
        QMenu* menu = menuBar()->addMenu(q(m.title));
        connect(menu, &QMenu::aboutToShow, this, &ToolWindow::refreshChecks);
        addEntries(menu, m.entries);
    }
}

void ToolWindow::addEntries(QMenu* menu, const std::vector<MenuEntry>& entries)
{
    QActionGroup* radio = nullptr;
    for (const MenuEntry& e : entries) {
        if (e.type == MenuEntry::Type::Separator) {
            menu->addSeparator();
            radio = nullptr;
            continue;
        }
        if (e.type == MenuEntry::Type::Submenu) {
            addEntries(menu->addMenu(q(e.text)), e.children);
            radio = nullptr;
            continue;
        }
        QAction* a = menu->addAction(q(e.text));
        a->setData(e.id);
        if (!e.accelerator.empty())
            a->setShortcut(QKeySequence(q(e.accelerator)));
        if (e.kind != CommandKind::Plain)
            a->setCheckable(true);
        if (e.kind == CommandKind::Radio) {
            if (!radio)
                radio = new QActionGroup(menu);
            radio->addAction(a);
        } else {
            radio = nullptr;
        }
        const int id = e.id;
        connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_[id] = a;
    }
}

ViewDialog* ToolWindow::viewDialog() const
{
    return viewDialog_;
}

GridDialog* ToolWindow::gridDialog() const
{
    return gridDialog_;
}

FormDialog* ToolWindow::formDialog(const std::string& name) const
{
    for (const QPointer<FormDialog>& d : formDialogs_)
        if (d && d->formName() == name)
            return d;
    return nullptr;
}

bool ToolWindow::showFormDialog(const std::string& name)
{
    FormDialog* dialog = formDialog(name);
    if (!dialog) {
        std::unique_ptr<DialogForm> form = dialogFormFor(*model_, name);
        if (!form)
            return false;
        dialog = new FormDialog(std::move(form), [this] { redrawFromDialog(); }, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        formDialogs_.emplace_back(dialog);
    }
    dialog->load();
    dialog->show();
    dialog->raise();
    return true;
}


QAction* ToolWindow::commandAction(int id) const
{
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void ToolWindow::refreshChecks()
{
    for (auto& [id, a] : actions_)
        if (a->isCheckable())
            a->setChecked(model_->isChecked(id));
}

void ToolWindow::runCommand(int id)
{
    if (rendering()) {
        // The render gives way to the command, keeping what it drew.
        requestInterrupt();
        model_->finishRendering();
        tick();
    }
    model_->handleCommand(id);
    refreshChecks();
    area_->update();
}

// ---- Background rendering.

void ToolWindow::backgroundWorkStarted()
{
    interruptRequested_ = false;
    if (!tickTimer_.isActive())
        tickTimer_.start();
    if (model_->exporting() && !exportProgress_) {
        // The export job reads the window: nothing else may change it until
        // the job ends, so a modal progress dialog holds the input; Cancel
        // or Q stops the run.
        exportProgress_ = new QProgressDialog(tr("Writing pages ..."), tr("Cancel"), 0, 1000, this);
        exportProgress_->setWindowTitle(windowTitle());
        exportProgress_->setWindowModality(Qt::ApplicationModal);
        exportProgress_->setMinimumDuration(0); // shown at once: input is held from the start
        exportProgress_->setAutoClose(false);
        exportProgress_->setAutoReset(false);
        exportProgress_->installEventFilter(this);
        connect(exportProgress_, &QProgressDialog::canceled, this, &ToolWindow::requestInterrupt);
        exportProgress_->setValue(0);
        exportProgress_->show();
    }
}

void ToolWindow::tick()
{
    const bool more = model_->tick();
    if (exportProgress_) {
        if (model_->exporting()) {
            const auto [done, total] = model_->exportProgress();
            exportProgress_->setLabelText(tr("Writing page %1 of %2 ...").arg(std::min(done + 1, total)).arg(total));
            exportProgress_->setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 0);
        } else {
            exportProgress_->deleteLater();
            exportProgress_ = nullptr;
        }
    }
    if (!more)
        tickTimer_.stop();
    area_->update();
}

bool ToolWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == exportProgress_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Q) {
        requestInterrupt();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void ToolWindow::requestInterrupt()
{
    interruptRequested_ = true;
    if (model_->busy())
        model_->interruptRendering();
}

int ToolWindow::pollInterrupt()
{
    // Long work runs off this thread (sweeps and drawing jobs): the event
    // loop is never entered from here; Q, moves and clicks set the request.
    if (interruptRequested_) {
        interruptRequested_ = false;
        return 'Q';
    }
    return 0;
}

void ToolWindow::keyPressEvent(QKeyEvent* e)
{
    const QString text = e->text().toUpper();
    const int key = text.size() == 1 ? text[0].unicode() : 0;
    if (key == 'Q' && model_->busy()) {
        requestInterrupt();
        return;
    }
    if (key && model_->keyDown(key)) {
        area_->update();
        return;
    }
    QMainWindow::keyPressEvent(e);
}

void ToolWindow::moveEvent(QMoveEvent* e)
{
    QMainWindow::moveEvent(e);
    if (rendering())
        requestInterrupt();
}

void ToolWindow::closeEvent(QCloseEvent* e)
{
    model_->abandonExport(); // its pages were not all written: no page list
    if (!model_->queryClose()) {
        e->ignore();
        return;
    }
    WindowPlacement placement;
    windowPlacement(placement);
    model_->saveSettingsOnClose(placement);
    tickTimer_.stop();
    model_->interruptRendering();
    model_->finishRendering();
    if (viewDialog_)
        viewDialog_->close();
    if (gridDialog_)
        gridDialog_->close();
    e->accept();
}

// ---- Host: titles, messages and dialogs.

void ToolWindow::setTitle(const std::string& title)
{
    setWindowTitle(q(title));
}

std::string ToolWindow::title() const
{
    return windowTitle().toStdString();
}

void ToolWindow::showError(int code, const std::string& caption)
{
    QMessageBox::warning(this, caption.empty() ? QString::fromLatin1(kDefaultCaption) : q(caption),
                         q(messageText(code)));
}

void ToolWindow::showMessage(const std::string& text, const std::string& caption)
{
    QMessageBox::information(this, q(caption), q(text));
}

bool ToolWindow::runModalForm(DialogForm& form)
{
    return FormDialog::runModal(form, this);
}

bool ToolWindow::inputMany(const std::string& caption, const std::vector<std::string>& prompts,
                           std::vector<std::string>& values)
{
    QStringList p, v;
    for (const auto& s : prompts)
        p << q(s);
    for (const auto& s : values)
        v << q(s);
    InputDialog d(q(caption), p, v, this);
    if (d.exec() != QDialog::Accepted)
        return false;
    values.clear();
    for (const QString& s : d.values())
        values.push_back(s.toStdString());
    return true;
}

bool ToolWindow::inputText(const std::string& prompt, std::string& value)
{
    std::vector<std::string> v{value};
    if (!inputMany(windowTitle().toStdString(), {prompt}, v))
        return false;
    value = v[0];
    return true;
}

bool ToolWindow::inputTwo(const std::string& prompt1, std::string& value1, const std::string& prompt2,
                          std::string& value2)
{
    std::vector<std::string> v{value1, value2};
    if (!inputMany(windowTitle().toStdString(), {prompt1, prompt2}, v))
        return false;
    value1 = v[0];
    value2 = v[1];
    return true;
}

bool ToolWindow::askYesNo(const std::string& question)
{
    return QMessageBox::question(this, windowTitle(), q(question), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

int ToolWindow::askYesNoCancel(const std::string& question, const std::string& caption)
{
    const auto b = QMessageBox::question(this, q(caption), q(question),
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return b == QMessageBox::Yes ? 1 : (b == QMessageBox::No ? 0 : -1);
}

bool ToolWindow::chooseOne(const std::string& caption, const std::vector<std::string>& items, int& index)
{
    QStringList list;
    for (const auto& s : items)
        list << q(s);
    ChoiceDialog d(q(caption), list, index, this);
    if (d.exec() != QDialog::Accepted || d.choice() < 0)
        return false;
    index = d.choice();
    return true;
}

std::string ToolWindow::openFileName(const std::string& filter, const std::string& suggestion)
{
    return QFileDialog::getOpenFileName(this, tr("Open"), q(suggestion), qtFileFilter(q(filter))).toStdString();
}

std::string ToolWindow::saveFileName(const std::string& filter, const std::string& suggestion)
{
    return QFileDialog::getSaveFileName(this, tr("Save as"), q(suggestion), qtFileFilter(q(filter)),
                                        nullptr, QFileDialog::DontConfirmOverwrite)
        .toStdString();
}

void ToolWindow::requestRepaint()
{
    area_->update();
}

void ToolWindow::showProgressImage()
{
    area_->repaint();
}

void ToolWindow::playTone(int frequencyHz, int durationMs)
{
    if (!tones_)
        tones_ = new TonePlayer(this);
    if (tones_->play(frequencyHz, durationMs) || std::exchange(toneWarningShown_, true))
        return;
    // Said once, and not modal: the drawing goes on.
    auto* box = new QMessageBox(QMessageBox::Information, QString::fromLatin1(kDefaultCaption),
                                tr("There is no audio device: Beeps plays no tones."), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("noAudioBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

namespace {

// A Qt picture as the core's: rows from the top, 0x00BBGGRR.
Image imageOf(const QImage& source)
{
    const QImage q = source.convertToFormat(QImage::Format_RGB32);
    Image out(q.width(), q.height());
    for (int r = 0; r < q.height(); ++r) {
        const auto* line = reinterpret_cast<const QRgb*>(q.constScanLine(r));
        for (int c = 0; c < q.width(); ++c)
            out.set(c, r, static_cast<Rgb>(qRed(line[c]) | qGreen(line[c]) << 8 | qBlue(line[c]) << 16));
    }
    return out;
}

constexpr int kMaxImageSide = 30000;

} // namespace

int ToolWindow::readImageFile(const std::string& path, Image& out)
{
    QImageReader reader(q(path));
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxImageSide || size.height() > kMaxImageSide ||
                           qint64(size.width()) * size.height() > (qint64(1) << 26)))
        return ErrTooLarge;
    QImage picture;
    if (!reader.read(&picture))
        return Host::readImageFile(path, out); // what Qt cannot read, our reader may
    if (picture.isNull())
        return ErrInconsistentData;
    out = imageOf(picture);
    return 0;
}

bool ToolWindow::setClipboardPicture(const std::string& svg, const Image& picture)
{
    auto* data = new QMimeData;
    if (!svg.empty())
        data->setData(QStringLiteral("image/svg+xml"), QByteArray(svg.data(), static_cast<qsizetype>(svg.size())));
    data->setImageData(wrapImage(picture).copy()); // offered as PNG, among others
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool ToolWindow::printPicture(bool preview)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (preview) {
        QPrintPreviewDialog dialog(&printer, this);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { printTo(*p); });
        dialog.exec();
        return true;
    }
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return true; // cancelled: nothing to report
    return printTo(printer);
}

bool ToolWindow::printTo(QPrinter& printer)
{
    TVorlWin& m = *model_;
    const View& screen = m.view();
    QPainter painter;
    if (screen.pixWidth < 2 || screen.pixHeight < 2 || !painter.begin(&printer))
        return false;
    // The painter works in 96ths of an inch, as the screen's pixels.
    const QRect area = painter.viewport();
    const qreal scale = printer.resolution() / 96.0;
    const qreal fit = std::min(area.width() / scale / screen.pixWidth, area.height() / scale / screen.pixHeight);
    const int w = std::max(2, static_cast<int>(screen.pixWidth * fit));
    const int h = std::max(2, static_cast<int>(screen.pixHeight * fit));
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(0, 0, w, h));
    bool ok = false;
    if (m.drawsPixels()) {
        const qreal sample = std::min<qreal>(printer.resolution(), 300) / 96.0;
        const View page = m.pageView(static_cast<int>(w * sample), static_cast<int>(h * sample));
        BmpPageCanvas canvas(page, m.palette());
        // A grayscale printer gets the window's black-and-white patterns.
        auto* sweeping = dynamic_cast<TVorlSWin*>(&m);
        if (sweeping)
            sweeping->setBlackAndWhitePages(printer.colorMode() == QPrinter::GrayScale);
        ok = m.drawPage(canvas);
        if (sweeping)
            sweeping->setBlackAndWhitePages(false);
        if (ok)
            painter.drawImage(QRectF(0, 0, w, h), wrapImage(canvas.image()));
    } else {
        const View page = m.pageView(w, h);
        QtCanvas canvas(painter, page, m.palette());
        ok = m.drawPage(canvas);
    }
    painter.end();
    return ok;
}

bool ToolWindow::clipboardImage(Image& out)
{
    const QImage picture = QGuiApplication::clipboard()->image();
    if (picture.isNull())
        return false;
    out = imageOf(picture);
    return true;
}

void ToolWindow::parameterBarChanged()
{
    const auto state = model_->parameterBar();
    if (!state) {
        if (parameterBar_)
            parameterBar_->hide();
        return;
    }
    if (!parameterBar_) {
        parameterBar_ = new ParameterBar(
            [this](Real value) {
                model_->parameterBarMoved(value);
                area_->update();
            },
            this);
        addToolBar(Qt::BottomToolBarArea, parameterBar_);
    }
    parameterBar_->showState(*state);
    parameterBar_->show();
}

void ToolWindow::setClipboardText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(q(text));
}

std::unique_ptr<Canvas> ToolWindow::createCanvas(Image& target, const View& view, const Palette& palette)
{
    // Text keeps its size on the screen when the picture has more pixels than the widget.
    return std::make_unique<QtCanvas>(target, view, palette, area_ ? area_->devicePixelRatioF() : 1.0);
}

bool ToolWindow::openChildWindow(std::unique_ptr<TVorlWin> model, const WindowPlacement& placement)
{
    ToolLaunch launch = launch_;
    // A zoom window is a new document with a name of its own; other children
    // take the parent's title until the model names them.
    launch.title = model->documentName().empty() ? windowTitle() : QString::fromStdString(model->documentName());
    launch.fileName.clear();
    launch.readSettings = model->readSettings(); // the parent's "use defaults for child windows"
    launch.reopenLast = false;
    auto* child = new ToolWindow(std::move(model), launch, this);
    child->start(&placement);
    return true;
}

void ToolWindow::menuChecksChanged()
{
    refreshChecks();
}

void ToolWindow::redrawFromDialog()
{
    refreshChecks();
    area_->update();
}

bool ToolWindow::showTextWindow(const std::string& title, const std::string& text)
{
    if (!tableWindow_) {
        tableWindow_ = new TextWindow(QString::fromStdString(title), this);
        tableWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    tableWindow_->setWindowTitle(QString::fromStdString(title));
    tableWindow_->setText(QString::fromStdString(text));
    tableWindow_->show();
    tableWindow_->raise();
    return true;
}

void ToolWindow::setIdleTimer(int ms)
{
    if (ms <= 0)
        idleTimer_.stop();
    else
        idleTimer_.start(ms);
}

double ToolWindow::screenDpi() const
{
    return logicalDpiX() > 0 ? logicalDpiX() : 96;
}

bool ToolWindow::showMarkTextDialog(const std::string& name)
{
    QDialog* dialog = nullptr;
    if (name == "MARKATT") {
        if (!markDialog_)
            markDialog_ = new MarkAttDialog(*model_, [this] { redrawFromDialog(); }, this);
        markDialog_->load();
        dialog = markDialog_;
    } else if (name == "NEWTEXT") {
        if (!textDialog_)
            textDialog_ = new TextDialog(*model_, [this] { redrawFromDialog(); }, this);
        textDialog_->load();
        dialog = textDialog_;
    } else {
        return false;
    }
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    dialog->raise();
    return true;
}

TargetDialog* ToolWindow::targetDialog() const
{
    return targetDialog_;
}

bool ToolWindow::showModelessDialog(const std::string& name)
{
    if (showMarkTextDialog(name))
        return true;
    if (name == "VIEWCEN" || name == "VIEWCOR") {
        // The dialog follows the window's view kind; a kind change replaces it.
        if (viewDialog_ && viewDialog_->byCorners() != model_->viewDialogByCorners())
            viewDialog_->deleteLater();
        if (!viewDialog_ || viewDialog_->byCorners() != model_->viewDialogByCorners()) {
            viewDialog_ = new ViewDialog(*model_, [this] { redrawFromDialog(); }, this);
            viewDialog_->setAttribute(Qt::WA_DeleteOnClose);
        }
        viewDialog_->load();
        viewDialog_->show();
        viewDialog_->raise();
        return true;
    }
    if (showFormDialog(name))
        return true;
    if (name == "SETGRID") {
        if (!gridDialog_) {
            gridDialog_ = new GridDialog(*model_, [this] { redrawFromDialog(); }, this);
            gridDialog_->setAttribute(Qt::WA_DeleteOnClose);
        }
        gridDialog_->load();
        gridDialog_->show();
        gridDialog_->raise();
        return true;
    }
    if (name == "FNLIB" || name == "CALCD") {
        QPointer<QDialog>& open = name == "FNLIB" ? libraryDialog_ : constantDialog_;
        if (!open) {
            if (name == "FNLIB")
                open = new FunctionLibraryDialog(*model_, this);
            else
                open = new ConstantDialog(*model_, this);
            open->setAttribute(Qt::WA_DeleteOnClose);
        }
        open->show();
        open->raise();
        return true;
    }
    if (name == "TARGET") {
        auto* model = dynamic_cast<TargetEditor*>(model_.get());
        if (!model)
            return false;
        if (!targetDialog_) {
            targetDialog_ = new TargetDialog(*model, [this] { redrawFromDialog(); }, this);
            targetDialog_->setAttribute(Qt::WA_DeleteOnClose);
        }
        targetDialog_->load();
        targetDialog_->show();
        targetDialog_->raise();
        return true;
    }
    if (name == "COLORTRACK") {
        auto* model = dynamic_cast<TVorlTWin*>(model_.get());
        if (!model)
            return false;
        auto* dialog = new ColourTrackDialog(*model, [this] { redrawFromDialog(); }, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
        dialog->raise();
        return true;
    }
    return false;
}

} // namespace qx::ui
