// The main frame: launching tools, the start switches, qx.ini, dispatch by
// extension, the about box and the hand-over from a second program start.
#include "app/single_instance.h"
#include "app/vorl_frame.h"
#include "base/file_io.h"
#include "model/frame_settings.h"
#include "ui/tool_window.h"
#include "ui/text_window.h"
#include "ui/tool_factory.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace qx;
using qx::app::TVorlFrame;

class FrameTest : public QObject {
    Q_OBJECT

    QTemporaryDir config_;

    static QList<ui::ToolWindow*> toolWindows(TVorlFrame& f)
    {
        return f.findChildren<ui::ToolWindow*>(Qt::FindDirectChildrenOnly);
    }
    static QStringList titles(TVorlFrame& f)
    {
        QStringList t;
        for (auto* w : toolWindows(f))
            t << w->windowTitle();
        return t;
    }
    QString iniPath() const { return QString::fromStdString(settingsPath("qx.ini")); }

private slots:
    void initTestCase()
    {
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    }
    void init() { QFile::remove(iniPath()); }

    void countersNameWindowsPerTool()
    {
        TVorlFrame f;
        f.commandAction(401)->trigger();
        f.commandAction(401)->trigger();
        f.commandAction(402)->trigger();
        QCOMPARE(titles(f), (QStringList{"noname1.man", "noname2.man", "noname1.jul"}));
        QCOMPARE(f.counter(0), 2);
        QCOMPARE(f.counter(1), 1);
        f.commandAction(402)->trigger();
        f.commandAction(401)->trigger();
        QCOMPARE(titles(f).mid(3), (QStringList{"noname2.jul", "noname3.man"}));
        // A new Dimension window is named .bmp although .dim documents open it.
        QCOMPARE(f.nextLaunch(rowOfCommand(411), {}).title, QStringLiteral("noname1.bmp"));
    }

    void switchesAreNeverBothOn()
    {
        TVorlFrame f;
        QVERIFY(!f.openLast());
        QVERIFY(f.useDefaults());
        QVERIFY(f.commandAction(49)->isChecked());
        f.commandAction(48)->trigger();
        QVERIFY(f.openLast());
        QVERIFY(!f.useDefaults());
        QVERIFY(f.commandAction(48)->isChecked());
        QVERIFY(!f.commandAction(49)->isChecked());
        f.commandAction(48)->trigger(); // unchecking one leaves the other as it was
        QVERIFY(!f.openLast());
        QVERIFY(!f.useDefaults());
        f.commandAction(49)->trigger();
        QVERIFY(f.useDefaults());
        f.commandAction(48)->trigger();
        QVERIFY(f.openLast() && !f.useDefaults());
        f.commandAction(49)->trigger();
        QVERIFY(!f.openLast() && f.useDefaults());
    }

    void newWindowsReceiveTheStartValues()
    {
        TVorlFrame f;
        f.createTool(0, {});
        f.createTool(1, {});
        f.commandAction(48)->trigger(); // open last on, use defaults off
        f.createTool(0, QStringLiteral("/tmp/a.man"));
        const auto w = toolWindows(f);
        QCOMPARE(w.size(), 3);
        QCOMPARE(w[0]->launch().version, 13);
        QVERIFY(!w[0]->launch().readSettings && !w[0]->launch().reopenLast);
        QVERIFY(w[2]->launch().readSettings && w[2]->launch().reopenLast);
        QCOMPARE(w[2]->launch().fileName, QStringLiteral("/tmp/a.man"));
        // The complex dynamic plane never reads its settings file.
        QVERIFY(!f.nextLaunch(5, {}).readSettings && f.nextLaunch(5, {}).reopenLast);
        QVERIFY(f.nextLaunch(1, {}).readSettings);
    }

    void everyToolOfTheLaunchTableOpens()
    {
        TVorlFrame f;
        for (int command = 401; command <= 413; ++command)
            QVERIFY2(f.commandAction(command)->isEnabled(), qPrintable(QString::number(command)));
        QVERIFY(f.createTool(8, {}));
        QCOMPARE(f.counter(8), 1);
        QVERIFY(!f.notAvailableBox());
    }

    void documentsOpenByExtension()
    {
        TVorlFrame f;
        f.openByName(QStringLiteral("/data/picture.man"));
        f.openByName(QStringLiteral("old.par"));
        for (const char* ignored : {"x.bmp", "x.txt", "x.jpeg", "noext", "a."})
            f.openByName(QString::fromLatin1(ignored));
        QCOMPARE(titles(f).size(), 2); // the Mandelbrot picture and the complex parameter plane (.par)
        QCOMPARE(titles(f)[0], QStringLiteral("noname1.man"));
        QCOMPARE(toolWindows(f)[0]->launch().fileName, QStringLiteral("/data/picture.man"));
        QVERIFY(!f.slideViewer());
        f.openByName(QStringLiteral("show.SLI"));
        QVERIFY(f.slideViewer() && f.slideViewer()->isHidden());
        QCOMPARE(f.lastSlidePath(), QStringLiteral("show.SLI"));
        QWidget* first = f.slideViewer();
        f.openByName(QStringLiteral("other.sli"));
        QCOMPARE(f.slideViewer(), first); // created once, then reused
        f.openByName(QStringLiteral("page.prn"));
        QVERIFY(f.printerViewer() && f.printerViewer()->isHidden());
        QCOMPARE(toolWindows(f).size(), 2);
    }

    void droppedFilesOpenInOrder()
    {
        TVorlFrame f;
        f.setUp();
        QVERIFY(f.acceptDrops());
        f.openDropped({QUrl::fromLocalFile("/x/a.jul"), QUrl::fromLocalFile("/x/b.bmp"),
                       QUrl(QStringLiteral("http://example.org/d.man")), QUrl::fromLocalFile("/x/c.man")});
        QCOMPARE(titles(f), (QStringList{"noname1.jul", "noname1.man"}));
        QCOMPARE(toolWindows(f)[1]->launch().fileName, QStringLiteral("/x/c.man"));
    }

    void settingsFileRoundTrip()
    {
        {
            TVorlFrame f;
            f.setUp();
            QVERIFY(f.useDefaults()); // no qx.ini: the defaults
            f.commandAction(48)->trigger();
            f.show();
            f.move(40, 50);
            f.resize(300, 150);
            f.close();
        }
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.size(), 19);
        FrameSettings s;
        QVERIFY(decodeFrameSettings(std::vector<uint8_t>(bytes.begin(), bytes.end()), s));
        QCOMPARE(s.placement.width, 300);
        QCOMPARE(s.placement.height, 150);
        QVERIFY(s.openLast && !s.useDefaults);
        TVorlFrame g;
        g.setUp();
        QVERIFY(g.openLast());
        QVERIFY(!g.useDefaults());
        QCOMPARE(g.size(), QSize(300, 150));
    }

    void damagedSettingsLeaveDefaultsAndBadPlacementsAreReplaced()
    {
        writeFileAtomically(iniPath().toStdString(), std::string("short"));
        TVorlFrame f;
        f.setUp();
        QVERIFY(f.useDefaults() && !f.openLast());

        FrameSettings s;
        s.placement = {10, 10, 119, 100, true};
        s.openLast = true;
        s.useDefaults = false;
        QVERIFY(writeFrameSettings(iniPath().toStdString(), s));
        TVorlFrame g;
        g.setUp();
        QVERIFY(g.openLast()); // the switches are still read
        QCOMPARE(g.size(), QSize(120, 72));
        QVERIFY(g.pos().x() < 30 && g.pos().y() < 30);

        s.placement = {-4, 10, 300, 100, false};
        QVERIFY(writeFrameSettings(iniPath().toStdString(), s));
        TVorlFrame h;
        h.setUp();
        QCOMPARE(h.size(), QSize(120, 72));
    }

    void aboutBoxOpensOnce()
    {
        TVorlFrame f;
        f.showAbout();
        QWidget* box = f.aboutBox();
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("about Quorvex [v 1.13]"));
        QVERIFY(box->findChild<QLabel*>("aboutText")->text().contains("version compiled"));
        f.showAbout();
        QCOMPARE(f.findChildren<QDialog*>().size(), 1);
        f.showHelp();
        QVERIFY(f.helpWindow()->isVisible());
        QCOMPARE(f.helpWindow()->windowTitle(), QStringLiteral("name.ext"));
        QVERIFY(f.helpWindow()->text().contains("Mandelbrot (F1)"));
    }

    void secondStartHandsItsPathToTheRunningCopy()
    {
        TVorlFrame f;
        app::SingleInstance instance;
        QVERIFY(instance.listen(app::SingleInstance::serverName()));
        connect(&instance, &app::SingleInstance::messageReceived, &f, &TVorlFrame::receiveFromSecondStart);
        QSignalSpy spy(&instance, &app::SingleInstance::messageReceived);

        QProcess second;
        second.start(QStringLiteral(QX_GUI_EXE), {QStringLiteral("/tmp/My"), QStringLiteral("Pictures/a b.jul")});
        QVERIFY(spy.wait(10000));
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(spy.first().first().toString(), QStringLiteral("/tmp/My Pictures/a b.jul"));
        QCOMPARE(titles(f), QStringList{"noname1.jul"});
        QCOMPARE(toolWindows(f)[0]->launch().fileName, QStringLiteral("/tmp/My Pictures/a b.jul"));

        // Without a path the second start only raises the first copy.
        QProcess bare;
        bare.start(QStringLiteral(QX_GUI_EXE), {});
        QVERIFY(spy.wait(10000));
        QVERIFY(bare.waitForFinished(10000));
        QCOMPARE(bare.exitCode(), 0);
        QCOMPARE(toolWindows(f).size(), 1);
    }
};

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
