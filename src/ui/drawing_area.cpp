#include "ui/drawing_area.h"

#include "ui/qt_canvas.h"
#include "ui/tool_window.h"

#include <QMouseEvent>
#include <cmath>
#include <QPainter>

namespace qx::ui {

DrawingArea::DrawingArea(ToolWindow& window) : QWidget(&window), window_(window)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(16, 16);
}

QSize DrawingArea::pixelSize() const
{
    const qreal ratio = devicePixelRatioF();
    return {std::max(1, qRound(width() * ratio)), std::max(1, qRound(height() * ratio))};
}

PixelPoint DrawingArea::pixelAt(QPointF position) const
{
    const qreal ratio = devicePixelRatioF();
    return {static_cast<int32_t>(std::floor(position.x() * ratio)), static_cast<int32_t>(std::floor(position.y() * ratio))};
}

void DrawingArea::paintEvent(QPaintEvent*)
{
    TVorlWin& model = window_.model();
    if (!model.attached())
        return;
    model.paint();
    QPainter p(this);
    const Image& picture = model.picture();
    if (picture.empty()) {
        p.fillRect(rect(), Qt::white);
        return;
    }
    QImage shown = wrapImage(picture);
    shown.setDevicePixelRatio(devicePixelRatioF()); // one picture pixel a device pixel
    p.drawImage(0, 0, shown);
}

void DrawingArea::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    TVorlWin& model = window_.model();
    if (!model.attached())
        return;
    if (window_.rendering())
        window_.requestInterrupt();
    const QSize size = pixelSize();
    model.resize(size.width(), size.height());
    update();
}

void DrawingArea::mousePressEvent(QMouseEvent* e)
{
    TVorlWin& model = window_.model();
    const PixelPoint p = pixelAt(e->position());
    if (e->button() == Qt::RightButton && window_.rendering()) {
        window_.requestInterrupt(); // a right-click stops a render and does nothing else
        return;
    }
    const MouseButton b = e->button() == Qt::RightButton  ? MouseButton::Right
                          : e->button() == Qt::MiddleButton ? MouseButton::Middle
                                                            : MouseButton::Left;
    model.mouseDown(b, p);
    update();
}

void DrawingArea::mouseMoveEvent(QMouseEvent* e)
{
    if (!(e->buttons() & Qt::LeftButton))
        return;
    window_.model().mouseMove(pixelAt(e->position()));
    update();
}

void DrawingArea::mouseReleaseEvent(QMouseEvent* e)
{
    const MouseButton b = e->button() == Qt::RightButton  ? MouseButton::Right
                          : e->button() == Qt::MiddleButton ? MouseButton::Middle
                                                            : MouseButton::Left;
    window_.model().mouseUp(b, pixelAt(e->position()));
    update();
}

} // namespace qx::ui
