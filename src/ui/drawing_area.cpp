#include "ui/drawing_area.h"

#include "ui/qt_canvas.h"
#include "ui/tool_window.h"

#include <QMouseEvent>
#include <QPainter>

namespace qx::ui {

DrawingArea::DrawingArea(ToolWindow& window) : QWidget(&window), window_(window)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(16, 16);
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
    p.drawImage(0, 0, wrapImage(picture));
}

void DrawingArea::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    TVorlWin& model = window_.model();
    if (!model.attached())
        return;
    if (window_.rendering())
        window_.requestInterrupt();
    model.resize(width(), height());
    update();
}

void DrawingArea::mousePressEvent(QMouseEvent* e)
{
    TVorlWin& model = window_.model();
    const PixelPoint p{static_cast<int32_t>(e->position().x()), static_cast<int32_t>(e->position().y())};
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

namespace {

PixelPoint pixelOf(const QMouseEvent* e)
{
    return {static_cast<int32_t>(e->position().x()), static_cast<int32_t>(e->position().y())};
}

} // namespace

void DrawingArea::mouseMoveEvent(QMouseEvent* e)
{
    if (!(e->buttons() & Qt::LeftButton))
        return;
    window_.model().mouseMove(pixelOf(e));
    update();
}

void DrawingArea::mouseReleaseEvent(QMouseEvent* e)
{
    const MouseButton b = e->button() == Qt::RightButton  ? MouseButton::Right
                          : e->button() == Qt::MiddleButton ? MouseButton::Middle
                                                            : MouseButton::Left;
    window_.model().mouseUp(b, pixelOf(e));
    update();
}

} // namespace qx::ui
