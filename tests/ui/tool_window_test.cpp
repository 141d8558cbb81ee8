// A tool window hosting a model: menus from the command tables, a render that
// grows on worker threads and stops on Q, overlays recomposed without a
// re-render, the modeless view and grid dialogs, and right-button zoom windows.
#include "model/tfmjwin.h"
#include "support/plane_test_window.h"
#include "ui/drawing_area.h"
#include "ui/form_dialog.h"
#include "ui/grid_dialog.h"
#include "ui/input_dialog.h"
#include "ui/qt_canvas.h"
#include "ui/tool_window.h"
#include "ui/view_dialog.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <atomic>
#include <thread>

using namespace qx;
using qx::ui::ToolWindow;

namespace {

// A kernel that takes its time, so a render is still running when the test presses Q.
class SlowKernel : public PixelKernel {
public:
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<SlowKernel>(); }
    PixelValue colourAt(Real, Real, int col, int) override
    {
        if (col == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return {makeRgb(200, 10, 10), 1};
    }
};

class SlowWin : public TFMJWin {
public:
    std::unique_ptr<PixelKernel> makeKernel() const override { return std::make_unique<SlowKernel>(); }
};

// A form that takes a number from 1 to 9.
class DigitForm : public DialogForm {
public:
    std::string name() const override { return "DIGIT"; }
    std::string title() const override { return "digit"; }
    FormState load() const override { return {{{"digit", std::to_string(value)}}, {}, -1}; }
    int apply(const std::vector<std::string>& t, int) override
    {
        if (t.size() != 1 || t[0].size() != 1 || t[0][0] < '1' || t[0][0] > '9')
            return 17;
        value = t[0][0] - '0';
        return 0;
    }
    int value = 5;
};

ToolWindow* openWindow(std::unique_ptr<TVorlWin> model, int row = 2)
{
    ui::ToolLaunch launch;
    launch.row = row;
    launch.title = QStringLiteral("noname1.ppc");
    auto* w = new ToolWindow(std::move(model), launch, nullptr);
    w->start();
    return w;
}

bool waitForRender(ToolWindow* w)
{
    QTest::qWait(50);
    return QTest::qWaitFor([w] { return !w->rendering() && w->model().figureValid(); }, 20000);
}

} // namespace

class ToolWindowTest : public QObject {
    Q_OBJECT
private slots:
    void newWindowsLieInsideTheScreen()
    {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        ui::ToolLaunch launch;
        launch.title = QStringLiteral("noname1.ppc");
        // Asked for a place partly below and right of the screen, and for one larger than it.
        for (const WindowPlacement p : {WindowPlacement{area.right() - 100, area.bottom() - 60, 560, 460, false},
                                        WindowPlacement{-50, -40, area.width() + 300, area.height() + 200, false}}) {
            std::unique_ptr<ToolWindow> w(new ToolWindow(std::make_unique<test::PlaneTestWin>(), launch, nullptr));
            w->start(&p);
            const QRect f = w->frameGeometry();
            QVERIFY2(area.contains(f), qPrintable(QStringLiteral("%1,%2 %3x%4 in %5,%6 %7x%8")
                                                      .arg(f.x()).arg(f.y()).arg(f.width()).arg(f.height())
                                                      .arg(area.x()).arg(area.y()).arg(area.width())
                                                      .arg(area.height())));
        }
    }

    void scaleLabelsShowRealPiAndDegreeSigns()
    {
        TextStyle scale;
        scale.piCode = 'p';
        scale.degreeCode = 176;
        QCOMPARE(ui::screenText("3p/4", scale), QString::fromUtf8("3\u03C0/4"));
        QCOMPARE(ui::screenText("-p", scale), QString::fromUtf8("-\u03C0"));
        QCOMPARE(ui::screenText("45.0\xB0", scale), QString::fromUtf8("45.0\u00B0"));
        TextStyle typed; // a label the user typed is UTF-8, its p a letter
        QCOMPARE(ui::screenText("p\xC3\xA9riode", typed), QString::fromUtf8("p\u00E9riode"));
    }

    void menusComeFromTheCommandTables()
    {
        std::unique_ptr<ToolWindow> w(openWindow(std::make_unique<test::PlaneTestWin>()));
        QAction* draw = w->commandAction(CmdDraw);
        QVERIFY(draw);
        QCOMPARE(draw->text(), QStringLiteral("&Draw"));
        QCOMPARE(draw->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
        QVERIFY(w->commandAction(CmdAxes)->isCheckable());
        QVERIFY(w->commandAction(CmdNewZoomWindow)->isChecked());
        w->runCommand(CmdNewZoomWindow);
        QVERIFY(!w->commandAction(CmdNewZoomWindow)->isChecked());
        QVERIFY(!w->model().newZoomWindow());
    }

    void renderFillsThePictureAndRestoresTheTitle()
    {
        std::unique_ptr<ToolWindow> w(openWindow(std::make_unique<test::PlaneTestWin>()));
        w->area()->update();
        QVERIFY(waitForRender(w.get()));
        const Image& pic = w->model().picture();
        QCOMPARE(pic.width, w->area()->width());
        QCOMPARE(pic.height, w->area()->height());
        QVERIFY(pic.at(0, 0) != pic.at(pic.width / 3, pic.height / 2)); // a real picture, not a blank
        QCOMPARE(w->windowTitle(), QStringLiteral("noname1.ppc"));
    }

    void axesRecomposeWithoutRendering()
    {
        std::unique_ptr<ToolWindow> w(openWindow(std::make_unique<test::PlaneTestWin>()));
        w->area()->update();
        QVERIFY(waitForRender(w.get()));
        const Image figure = w->model().figureImage();
        w->runCommand(CmdAxes);
        QVERIFY(!w->rendering());
        QVERIFY(w->model().figureValid());
        QTest::qWait(50);
        QCOMPARE(w->model().figureImage(), figure); // the figure was not swept again
        QVERIFY(!(w->model().picture() == figure)); // but the axes are on the picture
        QVERIFY(w->commandAction(CmdAxes)->isChecked());
    }

    void qStopsARenderAndKeepsItsRows()
    {
        std::unique_ptr<ToolWindow> w(openWindow(std::make_unique<SlowWin>()));
        w->resize(300, 600);
        w->area()->update();
        QVERIFY(QTest::qWaitFor([&] { return w->rendering(); }, 5000));
        QTest::qWait(150);
        QTest::keyClick(w->area(), Qt::Key_Q);
        QVERIFY(QTest::qWaitFor([&] { return !w->rendering(); }, 5000));
        const Image& pic = w->model().picture();
        QCOMPARE(pic.at(5, 0), makeRgb(200, 10, 10));          // the first rows were drawn
        QVERIFY(pic.at(5, pic.height - 1) != makeRgb(200, 10, 10)); // the last were not
        QVERIFY(w->model().figureValid());
        QVERIFY(!w->windowTitle().contains(QStringLiteral("quit")));
    }

    // A settings dialog run modally (the export dialogs): a refused entry
    // shows its message and keeps the dialog open, ok with a good entry
    // closes it, cancel changes nothing.
    void modalFormKeepsARefusedEntryOpen()
    {
        std::unique_ptr<ToolWindow> w(openWindow(std::make_unique<test::PlaneTestWin>()));
        DigitForm form;
        int warnings = 0;
        QTimer driver;
        int step = 0;
        connect(&driver, &QTimer::timeout, [&] {
            QWidget* top = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(top)) {
                ++warnings;
                box->close();
                return;
            }
            auto* dialog = qobject_cast<ui::FormDialog*>(top);
            if (!dialog)
                return;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("digit"));
            dialog->fields[0]->setText(step == 0 ? QStringLiteral("12") : QStringLiteral("7"));
            ++step;
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("ok")) // queued: the refusal's box runs its own loop
                    QMetaObject::invokeMethod(b, &QPushButton::click, Qt::QueuedConnection);
        });
        driver.start(30);
        QVERIFY(w->runModalForm(form));
        QCOMPARE(warnings, 1); // "12" was refused and the dialog stayed
        QCOMPARE(form.value, 7);
        driver.stop();
        QTimer::singleShot(50, [] {
            if (auto* dialog = qobject_cast<ui::FormDialog*>(QApplication::activeModalWidget()))
                for (QPushButton* b : dialog->findChildren<QPushButton*>())
                    if (b->text() == QStringLiteral("cancel"))
                        b->click();
        });
        QVERIFY(!w->runModalForm(form));
        QCOMPARE(form.value, 7);
    }

    void viewDialogAppliesAndStaysOpen()
    {
        std::unique_ptr<ToolWindow> w(openWindow(std::make_unique<test::PlaneTestWin>()));
        w->runCommand(CmdView);
        ui::ViewDialog* d = w->viewDialog();
        QVERIFY(d && d->isVisible() && !d->isModal());
        QCOMPARE(d->objectName(), QStringLiteral("VIEWCEN"));
        d->field("hori")->setText("0.25");
        d->field("vert")->setText("-1");
        d->field("width")->setText("0.5");
        QVERIFY(d->apply());
        QCOMPARE(static_cast<double>(w->model().view().centerX), 0.25);
        QCOMPARE(static_cast<double>(w->model().view().halfWidth), 0.5);
        QVERIFY(!w->model().figureValid()); // "apply" redraws
        QVERIFY(d->isVisible());
    }

    void gridDialogTurnsTheAxesOn()
    {
        std::unique_ptr<ToolWindow> w(openWindow(std::make_unique<test::PlaneTestWin>()));
        w->runCommand(CmdGrid);
        ui::GridDialog* g = w->gridDialog();
        QVERIFY(g && g->isVisible());
        g->axesOn->setChecked(true);
        g->quadrant[0]->setChecked(true);
        g->xInterval->setText("0.5");
        QVERIFY(g->apply());
        QVERIFY(w->model().grid().axesOn);
        QVERIFY(w->model().grid().quadrants[0]);
        QCOMPARE(static_cast<double>(w->model().grid().x.tickInterval), 0.5);
    }

    void rightClickOpensAZoomWindow()
    {
        std::unique_ptr<ToolWindow> w(openWindow(std::make_unique<test::PlaneTestWin>()));
        w->area()->update();
        QVERIFY(waitForRender(w.get()));
        const Real width = w->model().view().halfWidth;
        QTest::mouseClick(w->area(), Qt::RightButton, {}, QPoint(40, 30));
        const auto children = w->findChildren<ToolWindow*>();
        QCOMPARE(children.size(), 1);
        QVERIFY(children[0]->isVisible());
        QCOMPARE(static_cast<double>(children[0]->model().view().halfWidth), static_cast<double>(width / 10));
        QCOMPARE(w->model().zoomRectangles().size(), size_t(1));
    }

    void fileFiltersBecomeQtFilters()
    {
        QCOMPARE(ui::qtFileFilter("EPS files (*.EPS)|*.eps"), QStringLiteral("EPS files (*.eps)"));
        QCOMPARE(ui::qtFileFilter("Mandelbrot files (*.MAN)|*.man|All files|*.*"),
                 QStringLiteral("Mandelbrot files (*.man);;All files (*.*)"));
    }
};

QTEST_MAIN(ToolWindowTest)
#include "tool_window_test.moc"
