// The COLORTRACK dialog on a Mandelbrot window, and a tool window's
// settings and "save changes" handling when it closes.
#include "tools/mandel/mj_commands.h"
#include "tools/mandel/tmanwin.h"
#include "ui/colour_track_dialog.h"
#include "ui/tool_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace qx;
using qx::ui::ColourTrackDialog;
using qx::ui::ToolWindow;

namespace {

ToolWindow* openMandel(bool readSettings = true)
{
    ui::ToolLaunch launch;
    launch.row = 0;
    launch.title = QStringLiteral("noname1.man");
    launch.readSettings = readSettings;
    auto* w = new ToolWindow(std::make_unique<TManWin>(), launch, nullptr);
    w->start();
    return w;
}

ColourTrackDialog* openEditor(ToolWindow* w, int command)
{
    w->model().handleCommand(command);
    return w->findChild<ColourTrackDialog*>();
}

// Presses `button` on the next message box that appears.
void answerNextMessageBox(QMessageBox::StandardButton button)
{
    QTimer::singleShot(100, [button] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible())
                box->button(button)->click();
    });
}

} // namespace

class ColourTrackDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    }

    void sequenceModeShowsTheAnchorsAndKeepsEdits()
    {
        ToolWindow* w = openMandel(false);
        ColourTrackDialog* d = openEditor(w, CmdSequence);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("color path"));
        QCOMPARE(d->anchorCount->count(), 127);
        QCOMPARE(d->anchorCount->currentText(), QStringLiteral("4"));
        QCOMPARE(d->interpolations->currentText(), QStringLiteral("19"));
        QCOMPARE(d->red->text(), QStringLiteral("128")); // anchor 0x000080
        d->anchorCount->setCurrentIndex(0);             // 2 anchors
        d->interpolations->setCurrentIndex(0);          // 0 interpolations
        d->currentAnchor->setCurrentIndex(1);
        d->red->setText("1");
        d->green->setText("2");
        d->blue->setText("3");
        QVERIFY(d->setTyped());
        auto& mandel = static_cast<TManWin&>(w->model());
        QCOMPARE(mandel.colourTable(0).length(), 80); // nothing kept yet
        d->keep->click();
        QCOMPARE(mandel.colourTable(0).length(), 2);
        QCOMPARE(mandel.sequence(0).anchors[1], makeRgb(1, 2, 3));
        mandel.setDocumentChanged(false);
        delete w;
    }

    void discardLeavesTheSequenceAndBinaryModeShowsSectors()
    {
        ToolWindow* w = openMandel(false);
        auto& mandel = static_cast<TManWin&>(w->model());
        const ColourSequence before = mandel.sequence(0);
        ColourTrackDialog* d = openEditor(w, CmdBinaryColours);
        QVERIFY(d);
        QVERIFY(!d->interpolations->isVisibleTo(d));
        QCOMPARE(d->anchorCount->count(), 9); // 2..10
        d->anchorCount->setCurrentIndex(3);
        d->red->setText("300");
        d->discard->click();
        QCOMPARE(mandel.sequence(0), before);
        QCOMPARE(mandel.params().binaryCount, 2);
        delete w;
    }

    void grayModeHidesGreenAndBlue()
    {
        ToolWindow* w = openMandel(false);
        ColourTrackDialog* d = openEditor(w, CmdGrays);
        QVERIFY(d);
        QVERIFY(d->red->isVisibleTo(d));
        QVERIFY(!d->green->isVisibleTo(d));
        QVERIFY(!d->blue->isVisibleTo(d));
        delete w;
    }

    void closingWritesSettingsAndAsksAboutChangedDocuments()
    {
        ToolWindow* w = openMandel();
        w->model().palette()[9] = 0x090909;
        w->model().setDocumentChanged(true);
        answerNextMessageBox(QMessageBox::Cancel);
        QVERIFY(!w->close()); // cancelled: the window stays
        answerNextMessageBox(QMessageBox::No);
        QVERIFY(w->close());
        QVERIFY(QFile::exists(dir_.path() + "/quorvex/mandel.ini"));
        ToolWindow* again = openMandel();
        QCOMPARE(again->model().palette()[9], Rgb(0x090909));
        delete again;
        ToolWindow* fresh = openMandel(false); // "Use defaults": the file is not read
        QCOMPARE(fresh->model().palette()[9], defaultPalette()[9]);
        delete fresh;
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(ColourTrackDialogTest)
#include "colour_track_dialog_test.moc"
