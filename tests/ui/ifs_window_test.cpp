// The IFS windows as Qt windows: the inventory opens the map dialog, a map
// is edited and a bad text refused, the reference triangle is replaced.
#include "support/qt_windows.h"
#include "tools/ifs/tifswin.h"
#include "ui/form_dialog.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include <cmath>

using namespace qx;
using qx::test::acceptBox;
using qx::test::openRow;
using qx::test::rendered;

class IfsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void inventoryAndComplexMapDialog()
    {
        auto w = openRow(8, "noname1.ifc");
        w->resize(300, 240);
        QVERIFY(rendered(*w));
        auto& ifc = dynamic_cast<TIfcWin&>(w->model());
        w->runCommand(598); // Inventory
        ui::FormDialog* inv = w->formDialog("IFSINVEN");
        QVERIFY(inv && inv->isVisible());
        QVERIFY(inv->fieldText(0).rfind("0: z --> 2+(0.5)(z-(2))", 0) == 0);
        inv->setFieldText(0, ifc.inventoryLines()[1]);
        inv->setFieldText(1, "edit");
        QVERIFY(inv->apply());
        ui::FormDialog* edit = w->formDialog("IFCEDIT");
        QVERIFY(edit && edit->isVisible());
        QVERIFY(edit->choices[1]->isChecked()); // the Gasket's maps are geometric
        QCOMPARE(edit->fields[1]->text(), QStringLiteral("-1+i*sqr(3)"));
        // A text that does not compile: refused, nothing changes.
        QString shown;
        acceptBox(shown);
        edit->choices[0]->setChecked(true);
        edit->fields[0]->setText(QStringLiteral("z/(2"));
        QVERIFY(!edit->apply());
        QVERIFY(!shown.isEmpty());
        QCOMPARE(ifc.maps()[1].text, std::string("-1+i*sqr(3)+(0.5)(z-(-1+i*sqr(3)))"));
        edit->fields[0]->setText(QStringLiteral("z/3+1"));
        edit->fields[4]->setText(QStringLiteral("7"));
        QVERIFY(edit->apply());
        QCOMPARE(ifc.maps()[1].text, std::string("z/3+1"));
        QCOMPARE(ifc.maps()[1].weight, int16_t(7));
        QVERIFY(rendered(*w));
        edit->close();
        inv->close();
    }

    void collageDragWithTheMouse()
    {
        auto w = openRow(9, "noname2.ifr");
        w->resize(320, 260);
        QVERIFY(rendered(*w));
        auto& ifr = dynamic_cast<TIfrWin&>(w->model());
        w->runCommand(641); // Collage
        QVERIFY(ifr.inCollage());
        QCOMPARE(w->windowTitle(), QStringLiteral("edit collage triangle"));
        w->runCommand(518); // Next triangle: map 1, the big frond
        QCOMPARE(ifr.activeTriangle(), 1);
        const std::string before = ifr.maps()[1].newX;
        const View& v = ifr.view();
        const WorldPoint vertex = ifr.maps()[1].image[2];
        const QPoint from(static_cast<int>(std::lround(v.xToPixelF(vertex.x))),
                          static_cast<int>(std::lround(v.yToPixelF(vertex.y))));
        const QPoint to = from + QPoint(-20, 15);
        QTest::mousePress(w->area(), Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), w->area()->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->area(), &move);
        QTest::mouseRelease(w->area(), Qt::LeftButton, {}, to);
        QVERIFY(ifr.maps()[1].newX != before); // the map follows its triangle
        const WorldPoint moved = ifr.maps()[1].image[2];
        QVERIFY(std::fabs(static_cast<double>(moved.x - v.pixelToX(to.x()))) < 1e-9);
        QVERIFY(rendered(*w));
        w->runCommand(643); // Keep changes
        QVERIFY(!ifr.inCollage());
    }

    void referenceTriangleDialog()
    {
        auto w = openRow(9, "noname1.ifr");
        w->resize(300, 240);
        QVERIFY(rendered(*w));
        auto& ifr = dynamic_cast<TIfrWin&>(w->model());
        w->runCommand(560); // Reference triangle
        ui::FormDialog* d = w->formDialog("REFTRI");
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->fields[3]->text(), QStringLiteral("3.458479")); // the Fern's y2
        QString shown;
        acceptBox(shown);
        d->fields[0]->setText(QStringLiteral("1/"));
        QVERIFY(!d->apply());
        QCOMPARE(d->fields[0]->text(), QStringLiteral("0")); // put back
        const std::string before = ifr.maps()[1].newX;
        d->fields[4]->setText(QStringLiteral("3"));
        QVERIFY(d->apply());
        QCOMPARE(ifr.reference()[2].x, 3.0L);
        QVERIFY(ifr.maps()[1].newX != before); // the triangle maps follow
        QVERIFY(rendered(*w));
        d->close();
    }
};

QTEST_MAIN(IfsWindowTest)
#include "ifs_window_test.moc"
