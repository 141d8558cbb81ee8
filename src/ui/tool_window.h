#pragma once
// The Qt window that hosts one tool model: menus built from the model's
// command tables, the drawing area showing the model's picture, dialogs, and
// the timer that drives a background render.
#include "model/host.h"
#include "model/tvorlwin.h"
#include "ui/mark_text_dialogs.h"
#include "ui/text_window.h"
#include "ui/tool_factory.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>

class QAction;
class QProgressDialog;
class QMenu;

class QPrinter;

namespace qx::ui {

class DrawingArea;
class ViewDialog;
class GridDialog;
class TargetDialog;
class FormDialog;
class TextWindow;
class ParameterBar;
class TonePlayer;

class ToolWindow : public QMainWindow, public Host {
    Q_OBJECT
public:
    ToolWindow(std::unique_ptr<TVorlWin> model, const ToolLaunch& launch, QWidget* parent);
    ~ToolWindow() override;

    TVorlWin& model() { return *model_; }
    const ToolLaunch& launch() const { return launch_; }
    DrawingArea* area() const { return area_; }
    // Attaches the model, sizes the drawing area, runs the model's set-up and shows the window.
    void start(const WindowPlacement* placement = nullptr);
    // Runs a command as its menu item does.
    void runCommand(int id);
    QAction* commandAction(int id) const;
    ViewDialog* viewDialog() const;
    GridDialog* gridDialog() const;
    TargetDialog* targetDialog() const;
    QDialog* libraryDialog() const { return libraryDialog_; }
    QDialog* constantDialog() const { return constantDialog_; }
    QProgressDialog* exportProgress() const { return exportProgress_; }
    // While a render runs on worker threads.
    bool rendering() const { return tickTimer_.isActive(); }

    // Host
    void setTitle(const std::string& title) override;
    std::string title() const override;
    void showError(int code, const std::string& caption = {}) override;
    void showMessage(const std::string& text, const std::string& caption) override;
    bool inputText(const std::string& prompt, std::string& value) override;
    bool inputTwo(const std::string& prompt1, std::string& value1, const std::string& prompt2,
                  std::string& value2) override;
    bool runModalForm(DialogForm& form) override;
    bool inputMany(const std::string& caption, const std::vector<std::string>& prompts,
                   std::vector<std::string>& values) override;
    bool askYesNo(const std::string& question) override;
    int askYesNoCancel(const std::string& question, const std::string& caption) override;
    bool chooseOne(const std::string& caption, const std::vector<std::string>& items, int& index) override;
    std::string openFileName(const std::string& filter, const std::string& suggestion) override;
    std::string saveFileName(const std::string& filter, const std::string& suggestion) override;
    void requestRepaint() override;
    void showProgressImage() override;
    int pollInterrupt() override;
    void playTone(int frequencyHz, int durationMs) override;
    void setClipboardText(const std::string& text) override;
    std::unique_ptr<Canvas> createCanvas(Image& target, const View& view, const Palette& palette) override;
    bool openChildWindow(std::unique_ptr<TVorlWin> model, const WindowPlacement& placement) override;
    void backgroundWorkStarted() override;
    void menuChecksChanged() override;
    void parameterBarChanged() override;
    // The parameter bar (null until the model offers one).
    ParameterBar* parameterBar() const { return parameterBar_; }
    bool showModelessDialog(const std::string& name) override;
    bool windowPlacement(WindowPlacement& p) const override;
    void placeWindow(const WindowPlacement& p) override;
    void closeWindow() override;
    // The open settings dialog built from the form `name` ("JPARAM"), or null.
    FormDialog* formDialog(const std::string& name) const;
    bool showTextWindow(const std::string& title, const std::string& text) override;
    void setIdleTimer(int ms) override;
    double screenDpi() const override;
    int readImageFile(const std::string& path, Image& out) override;
    bool clipboardImage(Image& out) override;
    bool setClipboardPicture(const std::string& svg, const Image& picture) override;
    bool printPicture(bool preview) override;
    // Draws the window's picture on the printer's page: fitted to the
    // printable area with the window's aspect, lines and text as vectors,
    // pixel pictures swept at the printer's resolution (at most 300 per inch).
    bool printTo(QPrinter& printer);
    // The text window of tables (one per tool window, reused).
    TextWindow* tableWindow() const { return tableWindow_; }
    MarkAttDialog* markDialog() const { return markDialog_; }
    TextDialog* textDialog() const { return textDialog_; }

    // An interrupt request (Q, an accelerator, a move, a resize, a right-click):
    // stops a background render at once and ends a long loop at its next poll.
    void requestInterrupt();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildMenus();
    void addEntries(QMenu* menu, const std::vector<struct MenuEntry>& entries);
    void refreshChecks();
    void tick();
    void redrawFromDialog();
    // MARKATT and NEWTEXT; false for another name.
    bool showMarkTextDialog(const std::string& name);
    void keepInsideScreen();
    // A dialog that a tool describes as a form (registry), opened once and reused.
    bool showFormDialog(const std::string& name);

    std::unique_ptr<TVorlWin> model_;
    ToolLaunch launch_;
    DrawingArea* area_;
    QTimer tickTimer_;
    QTimer idleTimer_; // the model's idle timeout (orbiter)
    QPointer<TextWindow> tableWindow_;
    QPointer<MarkAttDialog> markDialog_;
    QPointer<TextDialog> textDialog_;
    std::map<int, QAction*> actions_;
    QPointer<ViewDialog> viewDialog_;
    QPointer<GridDialog> gridDialog_;
    QPointer<TargetDialog> targetDialog_;
    QPointer<QDialog> libraryDialog_;  // FNLIB
    QPointer<QDialog> constantDialog_; // CALCD
    std::vector<QPointer<FormDialog>> formDialogs_;
    bool interruptRequested_ = false;
    QProgressDialog* exportProgress_ = nullptr; // while an export runs
    ParameterBar* parameterBar_ = nullptr;
    TonePlayer* tones_ = nullptr;
    bool toneWarningShown_ = false; // "no audio device" is said once
};

} // namespace qx::ui
