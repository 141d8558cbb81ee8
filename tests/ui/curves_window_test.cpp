// The string-rewriting window as a Qt window: SRFEDIT built from its form
// (a refused string, a change of sectors), Next off the user-interface
// thread, and the box count's report window.
#include "support/qt_windows.h"
#include "tools/curves/tsrfwin.h"
#include "ui/form_dialog.h"
#include "ui/text_window.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

using namespace qx;
using qx::test::acceptBox;
using qx::test::openRow;
using qx::test::rendered;

class CurvesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void stringsDialogNextAndBoxCount()
    {
        auto w = openRow(11, "noname1.srf");
        w->resize(320, 260);
        QVERIFY(rendered(*w));
        auto& srf = dynamic_cast<TSRFWin&>(w->model());
        w->runCommand(51); // Strings ...
        ui::FormDialog* d = w->formDialog("SRFEDIT");
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->fields[0]->text(), QStringLiteral("FLLFLLF"));
        QCOMPARE(d->fields[2]->text(), QStringLiteral("FRFLLFRF")); // F ==>
        QVERIFY(d->choices[0]->isChecked());                          // sectors
        // A character the turtle does not know: refused, the field shows the old text.
        QString shown;
        acceptBox(shown);
        d->fields[2]->setText(QStringLiteral("FQF"));
        QVERIFY(!d->apply());
        QCOMPARE(shown, QStringLiteral("cannot understand"));
        QCOMPARE(d->fields[2]->text(), QStringLiteral("FRFLLFRF"));
        // Four sectors and a square: taken, back at generation 0.
        d->fields[0]->setText(QStringLiteral("flflflf"));
        d->fields[2]->setText(QStringLiteral("FLFRFRFLF"));
        d->fields[21]->setText(QStringLiteral("4"));
        QVERIFY(d->apply());
        QCOMPARE(srf.data().initial, std::string("FLFLFLF"));
        QCOMPARE(srf.data().n, int16_t(4));
        QVERIFY(rendered(*w));
        d->close();

        w->runCommand(518); // Next
        QVERIFY(QTest::qWaitFor([&] { return srf.generation() == 1; }, 5000));
        QVERIFY(rendered(*w));
        QVERIFY(w->windowTitle().startsWith(QStringLiteral("generation 1 [")));
        w->runCommand(518);
        QVERIFY(QTest::qWaitFor([&] { return srf.generation() == 2; }, 5000));
        QVERIFY(rendered(*w));
        w->runCommand(595); // Box count
        QVERIFY(QTest::qWaitFor([&] { return w->tableWindow() && w->tableWindow()->isVisible(); }, 5000));
        QVERIFY(srf.lastReport().lastStep >= 4);
    }
};

QTEST_MAIN(CurvesWindowTest)
#include "curves_window_test.moc"
