// The Mandelbrot and Julia windows on screen: their picture, the settings
// dialog, the help texts of their menus and the Julia child.
#include "registry/tool_registry.h"
#include "tools/mandel/mj_commands.h"
#include "tools/mandel/tmj0win.h"
#include "ui/drawing_area.h"
#include "ui/form_dialog.h"
#include "ui/input_dialog.h"
#include "ui/text_window.h"
#include "graphics/export/export_format.h"
#include "support/pdf_page.h"
#include "support/qt_windows.h"
#include "ui/tool_window.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QPointer>
#include <QScreen>
#include <QProgressDialog>
#include <QDir>
#include <QFile>
#include <QtTest>
#include <algorithm>
#include <cstdio>

using namespace qx;
using qx::ui::ToolWindow;
using qx::test::openRow;
using qx::test::rendered;

namespace {

} // namespace

class MandelWindowTest : public QObject {
    Q_OBJECT
private slots:
    void mandelbrotPictureShowsTheSet()
    {
        auto w = openRow(0, "noname1.man");
        w->resize(400, 330);
        QVERIFY(rendered(*w));
        const Image& pic = w->model().picture();
        const View& v = w->model().view();
        PixelPoint inside; // c = -0.1 lies in the main cardioid: the set colour (black)
        QVERIFY(v.mapPoint(-0.1L, 0, inside));
        QCOMPARE(pic.at(inside.x, inside.y) & 0xFFFFFF, 0u);
        PixelPoint outside; // c = 0.45 escapes: a band colour
        QVERIFY(v.mapPoint(0.45L, 0.0L, outside));
        QVERIFY((pic.at(outside.x, outside.y) & 0xFFFFFF) != 0u);
        QCOMPARE(w->windowTitle(), QStringLiteral("noname1.man"));
    }

    void settingsDialogRaisesTheThresholdForBlend()
    {
        auto w = openRow(0, "noname1.man");
        w->runCommand(CmdSettings);
        ui::FormDialog* d = w->formDialog("JPARAM");
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->windowTitle(), QStringLiteral("settings"));
        QCOMPARE(d->choices.size(), size_t(5));
        QCOMPARE(d->choices[1]->text(), QStringLiteral("DEM  thickness (pixels)"));
        QVERIFY(d->choices[2]->isHidden()); // no IIM in a Mandelbrot window
        QVERIFY(d->choices[0]->isChecked());
        QLineEdit* threshold = d->fields[0];
        QLineEdit* maxReps = d->fields[1];
        QCOMPARE(threshold->text(), QStringLiteral("4.00"));
        QCOMPARE(maxReps->text(), QStringLiteral("400"));
        d->choices[3]->setChecked(true);
        maxReps->setText("500@1");
        QVERIFY(d->apply());
        QCOMPARE(threshold->text(), QStringLiteral("256.00"));
        QCOMPARE(w->model().maxReps(), 500);
        QCOMPARE(maxReps->text(), QStringLiteral("500@1"));
        w->runCommand(CmdSettings);
        QCOMPARE(w->formDialog("JPARAM"), d); // one dialog, reused
        QVERIFY(!w->model().figureValid()); // redrawn

        // A refused entry shows its message and changes nothing.
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        maxReps->setText("1@1");
        threshold->setText("9");
        QVERIFY(!d->apply());
        QCOMPARE(shown, QStringLiteral("out of bounds"));
        QCOMPARE(w->model().maxReps(), 500);
        QCOMPARE(threshold->text(), QStringLiteral("256.00")); // put back
        QCOMPARE(maxReps->text(), QStringLiteral("1@1"));     // kept for correcting
    }

    void juliaSettingsOfferInverseIteration()
    {
        auto w = openRow(1, "noname1.jul");
        w->runCommand(CmdSettings);
        QVERIFY(!w->formDialog("JPARAM")->choices[2]->isHidden());
    }

    void everyMenuHasItsHelpText()
    {
        for (int row : {0, 1}) {
            auto w = openRow(row, "noname1");
            int shown = 0;
            for (int id = CmdHelpFirst; id <= CmdHelpLast; ++id) {
                if (!w->commandAction(id))
                    continue;
                w->runCommand(id);
                QVERIFY(w->tableWindow() && w->tableWindow()->isVisible());
                QVERIFY(w->tableWindow()->windowTitle().startsWith(QStringLiteral("help: ")));
                QVERIFY2(w->tableWindow()->text().size() > 100, qPrintable(w->tableWindow()->windowTitle()));
                ++shown;
            }
            QCOMPARE(shown, row == 0 ? 5 : 6);
            const auto menus = w->menuBar()->actions();
            QCOMPARE(menus.last()->text(), QStringLiteral("&Help")); // after the tool's own menus
        }
    }

    void zoomWindowIsANewDocument()
    {
        auto w = openRow(0, "/tmp/qx_parent_document.man");
        QVERIFY(rendered(*w));
        QTest::mouseClick(w->area(), Qt::RightButton, {}, QPoint(100, 80));
        const auto children = w->findChildren<ToolWindow*>();
        QCOMPARE(children.size(), 1);
        // Not the parent's file name: Save in the zoom window must ask for a name.
        QCOMPARE(children[0]->windowTitle(), QStringLiteral("noname1.man"));
        QCOMPARE(QString::fromStdString(children[0]->model().documentName()), QStringLiteral("noname1.man"));
        QCOMPARE(QString::fromStdString(children[0]->model().settingsFileName()), QStringLiteral("mandelz.ini"));
    }

    void inverseIterationRunsOffTheWindowAndStopsOnQ()
    {
        auto w = openRow(1, "noname1.jul");
        auto* julia = dynamic_cast<TMJ0Win*>(&w->model());
        QVERIFY(julia);
        QCOMPARE(julia->setIimLimits("0", "1000"), 0); // no limit: only Q ends it
        MJParamTexts t = paramTexts(julia->params());
        t.mode = DisplayMode::Iim;
        QCOMPARE(julia->applySettings(t), 0);
        w->area()->update();
        QVERIFY(QTest::qWaitFor([&] { return w->rendering(); }, 5000));
        // The window keeps taking events while the points are drawn.
        bool fired = false;
        QTimer::singleShot(10, [&fired] { fired = true; });
        QVERIFY(QTest::qWaitFor([&] { return fired; }, 2000));
        QVERIFY(w->rendering());
        QTest::keyClick(w.get(), Qt::Key_Q);
        QVERIFY(QTest::qWaitFor([&] { return !w->rendering(); }, 5000));
        QVERIFY(w->model().figureValid()); // what was drawn stays
        QVERIFY(julia->orbitSettings().iimScreenLimit >= 1000);
        const Image& pic = w->model().picture();
        QVERIFY(std::count(pic.pixels.begin(), pic.pixels.end(), pic.pixels[0]) < long(pic.pixels.size()));
    }

    void drawDuringAJobStartsItOver()
    {
        auto w = openRow(1, "noname1.jul");
        auto* julia = dynamic_cast<TMJ0Win*>(&w->model());
        QCOMPARE(julia->setIimLimits("0", "1000"), 0);
        MJParamTexts t = paramTexts(julia->params());
        t.mode = DisplayMode::Iim;
        QCOMPARE(julia->applySettings(t), 0);
        w->area()->update();
        QVERIFY(QTest::qWaitFor([&] { return w->rendering(); }, 5000));
        w->runCommand(CmdDraw); // stops the running job (as Q would) and draws again
        const int32_t ceiling = julia->orbitSettings().iimScreenLimit;
        QVERIFY(ceiling >= 1000);
        QVERIFY(!w->model().figureValid()); // drawn again from the start
        QVERIFY(QTest::qWaitFor([&] { return !w->rendering() && w->model().figureValid(); }, 20000));
        QCOMPARE(julia->orbitSettings().iimScreenLimit, ceiling); // it ran to the ceiling, not stopped
    }

    void exportRunsBehindAModalProgressAndStopsOnQ()
    {
        auto w = openRow(1, "noname1.jul");
        auto* julia = dynamic_cast<TMJ0Win*>(&w->model());
        QVERIFY(julia);
        QCOMPARE(julia->setIimLimits("1000", "2000000000"), 0); // pages long enough to press Q in
        MJParamTexts t = paramTexts(julia->params());
        t.mode = DisplayMode::Iim;
        QCOMPARE(julia->applySettings(t), 0);
        QVERIFY(QTest::qWaitFor([&] { return !w->rendering() && w->model().figureValid(); }, 20000));
        const QString base = QDir::tempPath() + QStringLiteral("/qx_bg_export");
        for (const char* page : {"0", "1", "2"})
            QFile::remove(base + page + ".eps");
        const auto yes = [](const std::string&) { return true; };
        QCOMPARE(w->model().startExport(*ExportFormats::builtIn().byName("eps"), (base + ".eps").toStdString(), "3",
                                        yes, "\\ZOOM"),
                 0);
        QVERIFY(w->model().exporting());
        QProgressDialog* progress = w->exportProgress();
        QVERIFY(progress && progress->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), progress); // the window takes no input meanwhile
        bool fired = false; // and the event loop runs
        QTimer::singleShot(10, [&fired] { fired = true; });
        QVERIFY(QTest::qWaitFor([&] { return fired; }, 2000));
        QVERIFY(w->model().exporting());
        QTimer closer; // closes the error box of the stopped run when it comes
        connect(&closer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->close();
        });
        closer.start(20);
        QTest::keyClick(progress, Qt::Key_Q);
        QVERIFY(QTest::qWaitFor([&] { return !w->model().exporting(); }, 5000));
        QVERIFY(QTest::qWaitFor([&] { return !w->exportProgress(); }, 2000));
        QVERIFY(QFile::exists(base + "0.eps"));  // the page Q fell in keeps its points
        QVERIFY(!QFile::exists(base + "1.eps")); // and the run ends there
        QVERIFY(!QFile::exists(base + "ANIM.txt"));
    }

    void promenadePopUpIsASmallJuliaWindowThatFollowsTheMouse()
    {
        auto w = openRow(0, "/tmp/qx_parent_document.man");
        QVERIFY(rendered(*w));
        QTest::mousePress(w->area(), Qt::LeftButton, {}, QPoint(100, 80));
        const auto children = w->findChildren<ToolWindow*>();
        QCOMPARE(children.size(), 1);
        ToolWindow* pop = children[0];
        QCOMPARE(pop->windowTitle(), QStringLiteral("prom1.jul"));
        QVERIFY(pop->width() <= 300 && pop->height() <= 300);
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(pop->frameGeometry()));
        auto* julia = dynamic_cast<TMJ0Win*>(&pop->model());
        QVERIFY(julia && julia->isJulia());
        const Complex before = julia->parameter();
        QMouseEvent drag(QEvent::MouseMove, QPointF(160, 120), w->area()->mapToGlobal(QPointF(160, 120)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->area(), &drag);
        const WorldPoint now = w->model().view().pixelToWorld({160, 120});
        QCOMPARE(static_cast<double>(julia->parameter().re), static_cast<double>(now.x));
        QVERIFY(!(julia->parameter() == before));
        QTest::mouseRelease(w->area(), Qt::LeftButton, {}, QPoint(160, 120));
        QVERIFY(QTest::qWaitFor([&] { return !pop->rendering() && pop->model().figureValid(); }, 20000));
    }

    void indifferentCycleDialogAndReopenAfterClose()
    {
        auto w = openRow(0, "noname1.man");
        QString title, labels;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<ui::InputDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            title = d->windowTitle();
            for (QLabel* l : d->findChildren<QLabel*>())
                labels += l->text();
            d->field(0)->setText(QStringLiteral("1/3"));
            d->accept();
        });
        w->runCommand(CmdOneCycle);
        QCOMPARE(title, QStringLiteral("coordinate cardioid"));
        QVERIFY2(labels.contains(QStringLiteral("between 0 and 1")), qPrintable(labels));
        auto children = w->findChildren<ToolWindow*>();
        QCOMPARE(children.size(), 1);
        const QString childTitle = children[0]->windowTitle();
        QVERIFY(childTitle.startsWith(QStringLiteral("i1c_")));
        children[0]->close(); // deletes itself
        QVERIFY(QTest::qWaitFor([&] { return w->findChildren<ToolWindow*>().isEmpty(); }, 5000));
        w->runCommand(CmdReopen); // opens it again, with its parameter and name
        children = w->findChildren<ToolWindow*>();
        QCOMPARE(children.size(), 1);
        QCOMPARE(children[0]->windowTitle(), childTitle);
    }

    // "Print ...": the Mandelbrot set on an A4 page of a PDF, as pdftoppm
    // draws it: the picture fills the page's width with the window's aspect
    // and keeps its colours (the sweep ran again at the printer's resolution).
    void printsThePictureToPdf()
    {
        auto w = openRow(0, "noname1.man");
        w->resize(400, 330);
        QVERIFY(test::rendered(*w));
        QCOMPARE(w->commandAction(CmdPrint)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
        const QImage page = test::printedPage(*w, QStringLiteral("mandel"));
        QVERIFY2(!page.isNull(), "printing or pdftoppm failed");
        QRgb first = 0;
        const int inked = test::inkedPixels(page, &first);
        const qreal aspect = qreal(w->model().view().pixHeight) / w->model().view().pixWidth;
        // An A4 page at 40 dpi is 331 x 468; the picture spans the printable width.
        QVERIFY2(inked > page.width() * page.width() * aspect * 0.6, qPrintable(QString::number(inked)));
        const QRgb centre = page.pixel(page.width() / 2, page.width() * aspect / 3);
        QVERIFY(qRed(centre) != qGreen(centre) || qGreen(centre) != qBlue(centre)); // colours, not gray
        Q_UNUSED(first);
    }

    // Q, a right-click and a move each stop a render whose interior pixels
    // would iterate two billion times, within 200 ms, keeping a valid figure.
    void stoppingAHugeRender_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Q") << 0;
        QTest::newRow("right-click") << 1;
        QTest::newRow("move") << 2;
    }

    void stoppingAHugeRender()
    {
        QFETCH(int, how);
        auto w = openRow(0, "noname1.man");
        auto* mandel = dynamic_cast<TMJ0Win*>(&w->model());
        QVERIFY(mandel->setView(0.25L, 0, 1e-12L)); // the cusp: orbits creep, never settle
        MJParamTexts t = paramTexts(mandel->params());
        t.maxReps = "2000000000"; // its pixels would iterate for minutes each
        QCOMPARE(mandel->applySettings(t), 0);
        w->area()->update();
        QVERIFY(QTest::qWaitFor([&] { return w->rendering(); }, 5000));
        QTest::qWait(100);
        QElapsedTimer clock;
        clock.start();
        if (how == 0)
            QTest::keyClick(w.get(), Qt::Key_Q);
        else if (how == 1)
            QTest::mouseClick(w->area(), Qt::RightButton, {}, QPoint(30, 30));
        else
            w->move(w->pos() + QPoint(7, 5));
        QVERIFY(QTest::qWaitFor([&] { return !w->rendering(); }, 2000));
        const qint64 ms = clock.elapsed();
        std::printf("stopped a huge render in %lld ms\n", static_cast<long long>(ms));
        QVERIFY2(ms < 200, qPrintable(QString::number(ms)));
        QVERIFY(w->model().figureValid());
        QVERIFY(w->findChildren<ToolWindow*>().isEmpty()); // the right-click opened no zoom window
    }

    void closeCommandClosesTheWindow()
    {
        ui::ToolLaunch launch;
        launch.row = 1;
        launch.title = QStringLiteral("noname1.jul");
        QPointer<ToolWindow> w = new ToolWindow(createToolModel(1), launch, nullptr);
        w->start();
        QVERIFY(w->commandAction(CmdClose));
        QCOMPARE(w->commandAction(CmdClose)->text(), QStringLiteral("&Close"));
        w->runCommand(CmdClose);
        QVERIFY(QTest::qWaitFor([&] { return w.isNull(); }, 5000)); // closed and deleted
    }

    void leftClickInJuliaModeOpensTheJuliaChild()
    {
        auto w = openRow(0, "noname1.man");
        QVERIFY(rendered(*w));
        w->runCommand(CmdJuliaSet);
        QVERIFY(w->commandAction(CmdJuliaSet)->isChecked());
        QTest::mouseClick(w->area(), Qt::LeftButton, {}, QPoint(100, 80));
        const auto children = w->findChildren<ToolWindow*>();
        QCOMPARE(children.size(), 1);
        QCOMPARE(children[0]->windowTitle(), QStringLiteral("jchild1.jul"));
        auto* julia = dynamic_cast<TMJ0Win*>(&children[0]->model());
        QVERIFY(julia && julia->isJulia());
        const WorldPoint c = w->model().view().pixelToWorld({100, 80});
        QCOMPARE(static_cast<double>(julia->parameter().re), static_cast<double>(c.x));
        QCOMPARE(static_cast<double>(julia->parameter().im), static_cast<double>(c.y));
    }
};

QTEST_MAIN(MandelWindowTest)
#include "mandel_window_test.moc"
