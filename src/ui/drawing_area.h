#pragma once
// The drawing area of a tool window: shows the model's picture and passes
// size changes, mouse presses and keys to the window and its model. The
// model works in device pixels: on a high-density screen (a device pixel
// ratio of 2, say) the picture has twice the widget's pixels a side and is
// shown at full resolution, and mouse positions are scaled to match.
#include "graphics/view.h"

#include <QWidget>

namespace qx::ui {

class ToolWindow;

class DrawingArea : public QWidget {
    Q_OBJECT
public:
    explicit DrawingArea(ToolWindow& window);
    QSize sizeHint() const override { return {480, 360}; }
    // The picture's size for this widget: its size in device pixels.
    QSize pixelSize() const;
    // A widget position as the model's pixel.
    PixelPoint pixelAt(QPointF position) const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    // Moves with a button held and releases go to the model's held modes.
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    ToolWindow& window_;
};

} // namespace qx::ui
