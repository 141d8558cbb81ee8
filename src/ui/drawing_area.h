#pragma once
// The drawing area of a tool window: shows the model's picture and passes
// size changes, mouse presses and keys to the window and its model.
#include <QWidget>

namespace qx::ui {

class ToolWindow;

class DrawingArea : public QWidget {
    Q_OBJECT
public:
    explicit DrawingArea(ToolWindow& window);
    QSize sizeHint() const override { return {480, 360}; }

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
