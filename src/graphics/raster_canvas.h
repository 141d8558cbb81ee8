#pragma once
// A canvas that draws into an Image with no toolkit: for headless rendering
// (batch, tests) and as the default overlay canvas of a host. Lines are one
// pixel wide per unit of pen width, broken styles follow dashPattern(); text
// uses the small pixel font (pixel_font.h), horizontal, its top-left corner
// at the mapped anchor plus the style's offsets; face, size and angle are
// not rendered.
#include "graphics/canvas.h"
#include "graphics/image.h"

namespace qx {

class RasterCanvas : public Canvas {
public:
    RasterCanvas(Image& target, const View& view, const Palette& palette)
        : Canvas(view, palette), image_(target) {}


    void drawSegment(WorldPoint a, WorldPoint b, const Pen& pen) override;
    void drawPolyline(std::span<const WorldPoint> points, const Pen& pen) override;
    void fillPolygon(std::span<const WorldPoint> points, std::optional<int> fill, const Pen& outline,
                     int hatch) override;
    void drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int radiusX = 0,
                  int radiusY = 0) override;
    void drawMark(WorldPoint p, MarkKind kind, int size, int colour) override;
    void drawText(WorldPoint anchor, const std::string& text, const TextStyle& style) override;
    void drawDotList(std::span<const WorldPoint> points, std::optional<int> fill, std::optional<int> outline,
                     int size) override;
    void comment(const std::string&) override {}

private:
    void plot(long x, long y, Rgb c, int width);
    void line(Real x0, Real y0, Real x1, Real y1, const Pen& pen);
    Image& image_;
};

} // namespace qx
