#pragma once
// The screen canvas: the drawing primitives painted with QPainter straight
// into a model's image (0x00BBGGRR pixels, seen by Qt as RGBX8888).
#include "graphics/canvas.h"
#include "graphics/image.h"

#include <QImage>
#include <QPainter>

namespace qx::ui {

// A QImage sharing the pixels of `image` (no copy); valid while the image keeps its size.
QImage wrapImage(Image& image);
QImage wrapImage(const Image& image);
QColor toQColor(Rgb c);
// The text as the screen shows it: UTF-8, or, in a text with the program's
// sign codes (TextStyle::piCode, degreeCode), one character a byte with
// those codes shown as the pi and degree signs.
QString screenText(const std::string& text, const TextStyle& style);

class QtCanvas : public Canvas {
public:
    // `pixelRatio`: device pixels of the picture per screen point unit (2 on a
    // high-density screen), so that text keeps its size on the screen.
    QtCanvas(Image& target, const View& view, const Palette& palette, qreal pixelRatio = 1);
    // Drawing with a painter of another device (a printer), whose transform
    // maps the view's pixels, taken at 96 per inch, onto the device.
    QtCanvas(QPainter& painter, const View& view, const Palette& palette);

    void drawSegment(WorldPoint a, WorldPoint b, const Pen& pen) override;
    void drawPolyline(std::span<const WorldPoint> points, const Pen& pen) override;
    void fillPolygon(std::span<const WorldPoint> points, std::optional<int> fill, const Pen& outline,
                     int hatch) override;
    void drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int radiusX,
                  int radiusY) override;
    void drawMark(WorldPoint p, MarkKind kind, int size, int colour) override;
    void drawText(WorldPoint anchor, const std::string& text, const TextStyle& style) override;
    void drawDotList(std::span<const WorldPoint> points, std::optional<int> fill, std::optional<int> outline,
                     int size) override;
    void comment(const std::string&) override {}

private:
    QPointF map(WorldPoint p) const;
    QPen qpen(const Pen& pen) const;
    QBrush brush(std::optional<int> fill, int hatch = 0) const;
    QImage image_;
    QPainter painter_;
    QPainter* p_ = nullptr;
    bool logicalFonts_ = false;
};

} // namespace qx::ui
