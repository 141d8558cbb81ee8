// The one-dimensional tools as Qt windows: LPARAM and BPARAM built from
// their forms, a refused entry, and the pictures they redraw.
#include "registry/tool_registry.h"
#include "tools/oned/tbifwin.h"
#include "tools/oned/tlyawin.h"
#include "ui/drawing_area.h"
#include "ui/form_dialog.h"
#include "support/qt_windows.h"
#include "ui/tool_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

using namespace qx;
using qx::ui::ToolWindow;
using qx::test::acceptBox;
using qx::test::openRow;
using qx::test::rendered;

namespace {

constexpr int kCmdSettings = 524;

} // namespace

class OnedWindowTest : public QObject {
    Q_OBJECT
private slots:
    void lyapunovParametersDialog()
    {
        auto w = openRow(4, "noname1.lya");
        w->resize(200, 200);
        QVERIFY(rendered(*w));
        w->runCommand(kCmdSettings);
        ui::FormDialog* d = w->formDialog("LPARAM");
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->fields[0]->text(), QStringLiteral("AB"));
        QVERIFY(d->fields[1]->text().contains(QStringLiteral("< exponents <")));
        d->fields[0]->setText(QStringLiteral("a, a b"));
        d->fields[4]->setText(QStringLiteral("100"));
        d->fields[5]->setText(QStringLiteral("600"));
        QVERIFY(d->apply());
        auto& lya = dynamic_cast<TLyaWin&>(w->model());
        QCOMPARE(QString::fromStdString(lya.texts().string), QStringLiteral("AAB"));
        QVERIFY(rendered(*w));
        QString shown;
        acceptBox(shown);
        d->fields[0]->setText(QStringLiteral("ABC"));
        QVERIFY(!d->apply());
        QCOMPARE(shown, QStringLiteral("cannot understand"));
        QCOMPARE(QString::fromStdString(lya.texts().string), QStringLiteral("AAB"));
    }

    void bifurcationParametersDialog()
    {
        auto w = openRow(10, "noname1.bif");
        w->resize(240, 180);
        QVERIFY(rendered(*w));
        w->runCommand(kCmdSettings);
        ui::FormDialog* d = w->formDialog("BPARAM");
        QVERIFY(d && d->isVisible());
        d->fields[0]->setText(QStringLiteral("50"));
        d->fields[3]->setText(QStringLiteral("0.25"));
        QVERIFY(d->apply());
        auto& bif = dynamic_cast<TBifWin&>(w->model());
        QCOMPARE(bif.plotted(), 50);
        QVERIFY(rendered(*w));
        QString shown;
        acceptBox(shown);
        d->fields[1]->setText(QStringLiteral("0"));
        QVERIFY(!d->apply());
        QCOMPARE(shown, QStringLiteral("cannot understand"));
        QCOMPARE(bif.skipped(), 100);
    }
};

QTEST_MAIN(OnedWindowTest)
#include "oned_window_test.moc"
