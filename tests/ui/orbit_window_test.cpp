// A Julia tool window: the orbiter driven by the space bar and ended by its
// idle timer, the mouse-held preimage mode, and the coordinate table window.
#include "tools/mandel/mj_commands.h"
#include "tools/mandel/tjulwin.h"
#include "ui/drawing_area.h"
#include "ui/mark_text_dialogs.h"
#include "ui/text_window.h"
#include "ui/tool_window.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

using namespace qx;
using qx::ui::ToolWindow;

namespace {

ToolWindow* openJulia()
{
    ui::ToolLaunch launch;
    launch.row = 1;
    launch.title = QStringLiteral("noname1.jul");
    auto model = std::make_unique<TJulWin>([](uint32_t) { return 0u; });
    model->setParameter({-1, 0});
    auto* w = new ToolWindow(std::move(model), launch, nullptr);
    w->start();
    return w;
}

TJulWin& julia(ToolWindow* w) { return static_cast<TJulWin&>(w->model()); }

} // namespace

class OrbitWindowTest : public QObject {
    Q_OBJECT
private slots:
    void orbiterFollowsTheSpaceBarAndTimesOut()
    {
        ToolWindow* w = openJulia();
        QVERIFY(QTest::qWaitFor([w] { return !w->rendering() && w->model().figureValid(); }, 20000));
        w->activateWindow();
        QTest::mouseClick(w->area(), Qt::LeftButton, {}, w->area()->rect().center());
        QVERIFY(julia(w).orbiterActive());
        QCOMPARE(w->windowTitle(), QStringLiteral("spacebar to advance, Q to quit"));
        QTest::keyClick(w->area(), Qt::Key_Space);
        QCOMPARE(julia(w).lastOrbit().size(), size_t(2));
        w->setIdleTimer(30); // stands in for the 15 seconds
        QVERIFY(QTest::qWaitFor([w] { return !julia(w).orbiterActive(); }, 2000));
        QVERIFY(julia(w).transientMarks().empty());
        delete w;
    }

    void preimagesShowWhileTheButtonIsHeld()
    {
        ToolWindow* w = openJulia();
        w->runCommand(CmdInverseImages);
        const QPoint centre = w->area()->rect().center();
        QTest::mousePress(w->area(), Qt::LeftButton, {}, centre);
        QCOMPARE(julia(w).transientMarks().size(), size_t(3));
        QMouseEvent move(QEvent::MouseMove, QPointF(centre + QPoint(20, 0)), QPointF(), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->area(), &move);
        QCOMPARE(julia(w).transientMarks().size(), size_t(3));
        QTest::mouseRelease(w->area(), Qt::LeftButton, {}, centre + QPoint(20, 0));
        QVERIFY(julia(w).transientMarks().empty());
        delete w;
    }

    void tableOpensATextWindowThatSavesCrLf()
    {
        ToolWindow* w = openJulia();
        julia(w).startOrbiter({1, 0});
        julia(w).advanceOrbiter();
        w->runCommand(CmdTableCoordinates);
        QVERIFY(w->tableWindow());
        QCOMPARE(w->tableWindow()->text(), QStringLiteral("0  1.000000000000000  0.000000000000000\n"
                                                          "1  0.000000000000000  0.000000000000000\n"));
        const QString path = QDir::temp().filePath(QStringLiteral("qx_table_%1.txt").arg(QCoreApplication::applicationPid()));
        QVERIFY(w->tableWindow()->saveTo(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("0  1.000000000000000  0.000000000000000\r\n1  "));
        f.remove();
        delete w;
    }

    void markerDialogChecksItsFields()
    {
        ToolWindow* w = openJulia();
        w->runCommand(CmdMarkerAttributes);
        ui::MarkAttDialog* d = w->markDialog();
        QVERIFY(d && d->isVisible());
        QVERIFY(d->cross->isChecked());
        d->box->setChecked(true);
        d->size->setText(QStringLiteral("9"));
        QVERIFY(d->apply());
        QCOMPARE(julia(w).markAttributes().size, 9);
        QVERIFY(julia(w).markAttributes().kind == MarkKind::Box);
        d->size->setText(QStringLiteral("0"));
        QTimer::singleShot(0, [] { // the message box of the refused size
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        QVERIFY(!d->apply());
        QCOMPARE(julia(w).markAttributes().size, 9);
        delete w;
    }

    void textDialogAddsALabel()
    {
        ToolWindow* w = openJulia();
        w->runCommand(CmdText);
        ui::TextDialog* d = w->textDialog();
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->x->text(), QStringLiteral("0.000000"));
        d->text->setText(QStringLiteral("z (1)"));
        d->angle->setText(QStringLiteral("90"));
        d->opaque->setChecked(true);
        QVERIFY(d->apply());
        QCOMPARE(julia(w).labels().size(), size_t(1));
        QCOMPARE(julia(w).labels()[0].style.angleTenths, 900);
        QVERIFY(julia(w).labels()[0].style.opaque);
        delete w;
    }
};

QTEST_MAIN(OrbitWindowTest)
#include "orbit_window_test.moc"
