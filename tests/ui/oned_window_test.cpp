// The one-dimensional tools as Qt windows: LPARAM and BPARAM built from
// their forms, a refused entry, and the pictures they redraw; the web
// diagram's WPARAM, its parameter bar and stepping stopped with Q.
#include "registry/tool_registry.h"
#include "tools/oned/tbifwin.h"
#include "tools/oned/tlyawin.h"
#include "tools/oned/twebwin.h"
#include "ui/parameter_bar.h"
#include "ui/drawing_area.h"
#include "ui/form_dialog.h"
#include "support/pdf_page.h"
#include "support/qt_windows.h"
#include "ui/tool_window.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QMessageBox>
#include <QtTest>

using namespace qx;
using qx::ui::ToolWindow;
using qx::test::acceptBox;
using qx::test::openRow;
using qx::test::rendered;

namespace {

constexpr int kCmdSettings = 524;
constexpr int kCmdMany = 91, kCmdLogistic = 566;

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

    void webParametersDialogAndParameterBar()
    {
        auto w = openRow(7, "noname1.web");
        w->resize(300, 260);
        QVERIFY(rendered(*w));
        auto& web = dynamic_cast<TWebWin&>(w->model());
        w->runCommand(kCmdLogistic);
        QVERIFY(rendered(*w));
        w->runCommand(kCmdSettings);
        ui::FormDialog* d = w->formDialog("WPARAM");
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->choices.size(), size_t(2));
        QVERIFY(d->choices[0]->isChecked()); // constant
        QCOMPARE(d->fieldText(1), std::string("A"));
        QCOMPARE(d->fieldText(2), std::string("total"));
        d->fields[0]->setText(QStringLiteral("0.125"));
        d->setFieldText(2, "partial");
        d->findChild<QCheckBox*>(QStringLiteral("arrows"))->setChecked(true);
        QVERIFY(d->apply());
        QCOMPARE(web.seedValue(), 0.125L);
        QCOMPARE(web.traceMode(), int32_t(TWebWin::TracePartial));
        QVERIFY(web.settings().arrows);
        // Refused: a seed outside the view; the field shows the seed again.
        QString shown;
        acceptBox(shown);
        d->fields[0]->setText(QStringLiteral("7"));
        QVERIFY(!d->apply());
        QCOMPARE(shown, QStringLiteral("out of bounds"));
        QCOMPARE(web.seedValue(), 0.125L);
        // Tied to C: the parameter bar moves C, and the web starts there.
        web.setVariable(kSlotC, {0.3L, 0});
        d->setFieldText(1, "C");
        d->choices[1]->setChecked(true);
        QVERIFY(d->apply());
        QCOMPARE(web.seedParameter(), int32_t(3));
        ui::ParameterBar* bar = w->parameterBar();
        QVERIFY(bar && bar->isVisible());
        QVERIFY(bar->labelText().startsWith(QStringLiteral("C = 0.3")));
        bar->slider()->setValue(ui::ParameterBar::kSteps * 3 / 4); // C in [-10, 10]: 5
        QCOMPARE(web.seedValue(), 5.0L);
        QVERIFY(rendered(*w));
        d->close();
    }

    void copyToClipboardGivesSvgAndPixels()
    {
        auto w = openRow(7, "noname3.web");
        w->resize(240, 200);
        QVERIFY(rendered(*w));
        QGuiApplication::clipboard()->clear();
        w->runCommand(310); // Copy to clipboard
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY(data->hasFormat(QStringLiteral("image/svg+xml")));
        QVERIFY(data->data(QStringLiteral("image/svg+xml")).startsWith("<?xml"));
        QVERIFY(data->hasImage());
        const QImage image = qvariant_cast<QImage>(data->imageData());
        QCOMPARE(image.width(), w->area()->width());
    }

    // A printed cobweb is drawn as lines: the PDF page holds the graph, the
    // diagonal and the web.
    void printsTheCobwebToPdf()
    {
        auto w = openRow(7, "noname4.web");
        w->resize(300, 240);
        auto& web = dynamic_cast<TWebWin&>(w->model());
        web.requestSteps(20);
        QVERIFY(rendered(*w));
        const QImage page = test::printedPage(*w, QStringLiteral("web"));
        QVERIFY2(!page.isNull(), "printing or pdftoppm failed");
        // The black background rectangle fills the picture; the lines on it are lit.
        int lit = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QRgb p = page.pixel(x, y);
                lit += (p & 0xFFFFFF) != 0xFFFFFF && (qRed(p) > 100 || qGreen(p) > 100);
            }
        QVERIFY2(test::inkedPixels(page) > page.width() * page.width() / 2, "no picture on the page");
        QVERIFY2(lit > 100, qPrintable(QString::number(lit)));
    }

    void steppingStopsOnQ()
    {
        auto w = openRow(7, "noname2.web");
        w->resize(300, 260);
        QVERIFY(rendered(*w));
        auto& web = dynamic_cast<TWebWin&>(w->model());
        web.setDelay(20);
        w->runCommand(kCmdMany); // 300 steps, 20 ms apart
        QVERIFY(QTest::qWaitFor([&] { return web.iterations() >= 3; }, 5000));
        QVERIFY(w->rendering());
        QTest::keyClick(w.get(), Qt::Key_S); // slower
        QCOMPARE(web.delay(), 35);
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(w.get(), Qt::Key_Q);
        QVERIFY(QTest::qWaitFor([&] { return !w->rendering(); }, 2000));
        QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(web.iterations() < 300);
        QCOMPARE(web.targetCount(), web.iterations());
    }
};

QTEST_MAIN(OnedWindowTest)
#include "oned_window_test.moc"
