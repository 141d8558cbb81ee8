#pragma once
// The main frame: a menu bar that opens tool windows, the two start switches,
// qx.ini, dispatch of documents by extension, program help and the about box.
#include "model/frame_settings.h"
#include "registry/launch_table.h"
#include "ui/tool_factory.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>
#include <array>
#include <functional>

class QAction;

namespace qx::ui {
class TextWindow;
}

namespace qx::app {

class TVorlFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit TVorlFrame(QWidget* parent = nullptr);

    // Opens a new window of the launch row and hands it the document `fileName`
    // (may be empty). A row whose tool is not built yet opens nothing: the user
    // is told so, and its counter stays.
    QWidget* createTool(int row, const QString& fileName);
    // What a new window of the row would be handed now.
    ui::ToolLaunch nextLaunch(int row, const QString& fileName) const;
    // The message box of the last refused launch, if it is still open.
    QWidget* notAvailableBox() const { return notAvailable_; }
    // Opens a document in the tool its extension names; unknown extensions are ignored.
    void openByName(const QString& path);
    // A later program start delivered `text`: raise the frame and open the path it names.
    void receiveFromSecondStart(const QString& text);
    // Opens dropped files in the order given; non-local URLs are skipped.
    void openDropped(const QList<QUrl>& urls);

    // Reads qx.ini and places the frame on the screen (set-up steps 3 to 5).
    void setUp();
    // The document named on the command line, opened once the frame is shown.
    void setPendingDocument(const QString& path) { pending_ = path; }

    bool openLast() const { return openLast_; }
    bool useDefaults() const { return useDefaults_; }
    int counter(int row) const { return counters_[row]; }
    QAction* commandAction(int command) const;
    QWidget* slideViewer() const { return slideViewer_; }
    QWidget* printerViewer() const { return printerViewer_; }
    QString lastSlidePath() const { return slidePath_; }
    QString lastPrinterPath() const { return printerPath_; }
    ui::TextWindow* helpWindow() const { return help_; }
    QWidget* aboutBox() const { return about_; }

    void toggleOpenLast();
    void toggleUseDefaults();
    void showHelp();
    void showAbout();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void buildMenus();
    QAction* addCommand(QMenu* menu, int command, const QString& text, const QString& key,
                        std::function<void()> run);
    void refreshChecks();
    void openDialog();
    QWidget* viewer(QPointer<QWidget>& slot, const QString& title);
    bool closeToolWindows();
    void saveSettings();
    void tellNotAvailable(int row);

    std::array<uint16_t, kToolRows> counters_{};
    bool openLast_ = false;
    bool useDefaults_ = true;
    bool startMaximized_ = false;
    bool shownOnce_ = false;
    WindowPlacement placement_;
    QString pending_;
    QString slidePath_, printerPath_;
    QPointer<QWidget> slideViewer_, printerViewer_;
    QPointer<QWidget> about_;
    QPointer<QWidget> notAvailable_;
    ui::TextWindow* help_ = nullptr;
    std::vector<std::pair<int, QAction*>> actions_;
};

} // namespace qx::app
