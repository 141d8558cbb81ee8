// Tool windows on a high-density screen (QT_SCALE_FACTOR=2): the picture has
// a device pixel for every pixel of the screen, a click lands on the world
// point under the mouse, and a dragged zoom rectangle becomes the view it
// shows.
#include "support/plane_test_window.h"
#include "support/qt_windows.h"
#include "ui/drawing_area.h"
#include "ui/tool_window.h"

#include <QApplication>
#include <QtTest>

#include <cmath>
#include <optional>

using namespace qx;
using qx::ui::ToolWindow;

namespace {

// Remembers the pixel of the last left press instead of reporting it.
class ClickWin : public test::PlaneTestWin {
public:
    void mouseDown(MouseButton button, PixelPoint p) override
    {
        if (button == MouseButton::Left && !busy()) {
            pressed = p;
            return;
        }
        PlaneTestWin::mouseDown(button, p);
    }
    std::optional<PixelPoint> pressed;
};

std::unique_ptr<ToolWindow> openModel(std::unique_ptr<TVorlWin> model, int row)
{
    ui::ToolLaunch launch;
    launch.row = row;
    launch.title = QStringLiteral("noname1");
    auto w = std::make_unique<ToolWindow>(std::move(model), launch, nullptr);
    w->start();
    return w;
}

} // namespace

class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void thePictureHasEveryDevicePixel()
    {
        auto w = openModel(std::make_unique<ClickWin>(), 2);
        w->area()->resize(200, 150);
        QVERIFY(test::rendered(*w));
        QCOMPARE(w->area()->devicePixelRatioF(), 2.0);
        QCOMPARE(w->model().view().pixWidth, 2 * w->area()->width());
        QCOMPARE(w->model().picture().height, 2 * w->area()->height());
    }

    void aClickLandsOnTheWorldPointUnderTheMouse()
    {
        auto holder = std::make_unique<ClickWin>();
        ClickWin* model = holder.get();
        auto w = openModel(std::move(holder), 2);
        w->area()->resize(200, 150);
        QVERIFY(test::rendered(*w));
        QTest::mouseClick(w->area(), Qt::LeftButton, {}, QPoint(50, 40));
        QVERIFY(model->pressed.has_value());
        const View& v = model->view();
        const WorldPoint hit = v.pixelToWorld(*model->pressed);
        // A quarter of the way across, 40 of 150 rows down: within a device pixel.
        const Real wantX = v.xMin + (v.xMax - v.xMin) * 50 / w->area()->width();
        const Real wantY = v.yMax - (v.yMax - v.yMin) * 40 / w->area()->height();
        QVERIFY2(std::fabs(hit.x - wantX) <= 1.01L * v.dx, qPrintable(QString::number(double(hit.x - wantX))));
        QVERIFY2(std::fabs(hit.y - wantY) <= 1.01L * v.dy, qPrintable(QString::number(double(hit.y - wantY))));
    }

    // The bifurcation window zooms into a rectangle dragged with the left button.
    void aDraggedRectangleBecomesTheView()
    {
        auto w = test::openRow(10, "noname1.bif");
        w->area()->resize(240, 180);
        QVERIFY(test::rendered(*w));
        const View before = w->model().view();
        QTest::mousePress(w->area(), Qt::LeftButton, {}, QPoint(30, 20));
        QTest::mouseMove(w->area(), QPoint(90, 80));
        QTest::mouseRelease(w->area(), Qt::LeftButton, {}, QPoint(90, 80));
        QVERIFY(test::rendered(*w));
        const View& after = w->model().view();
        const WorldPoint topLeft = before.pixelToWorld({60, 40}), bottomRight = before.pixelToWorld({180, 160});
        QVERIFY2(std::fabs(after.xMin - topLeft.x) <= 1.01L * before.dx, qPrintable(QString::number(double(after.xMin))));
        QVERIFY2(std::fabs(after.xMax - bottomRight.x) <= 1.01L * before.dx, qPrintable(QString::number(double(after.xMax))));
        QVERIFY2(std::fabs(after.yMax - topLeft.y) <= 1.01L * before.dy, qPrintable(QString::number(double(after.yMax))));
        QVERIFY2(std::fabs(after.yMin - bottomRight.y) <= 1.01L * before.dy, qPrintable(QString::number(double(after.yMin))));
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2"); // before the application reads it
    QApplication app(argc, argv);
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "hidpi_test.moc"
