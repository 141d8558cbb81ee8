#pragma once
// The drawing primitives every tool draws with, in world coordinates. One
// drawing routine serves the screen (raster back-ends) and the exporters.
// Colours are palette indices (colour.h rule: outside 1..60 means entry 0).
//
// What every raster back-end does (RasterCanvas is the reference):
// - map points with view().xToPixelF / yToPixelF (unrounded, origin added),
// - pass segments through clipToInnerFrame() first,
// - take colours from colour(index), never from the palette directly,
// - draw pen styles 0..4 so they look different (solid, dash, dot,
//   dash-dot, dash-dot-dot; in Qt: Qt::PenStyle(style + 1)).
#include "graphics/colour.h"
#include "graphics/image.h"
#include "graphics/pen.h"
#include "graphics/view.h"

#include <array>
#include <optional>
#include <span>
#include <vector>
#include <string>

namespace qx {

enum class MarkKind { Cross, Box };

struct TextStyle {
    int colour = 1;
    std::string face = "Arial";
    int size = 12;        // points
    int weight = 400;     // 400 normal, 700 bold
    bool italic = false;
    int angleTenths = 0;  // anticlockwise, tenths of a degree
    int offsetX = 0;      // pixels added to the mapped anchor
    int offsetY = 0;
    bool opaque = false;  // fill the text box with the background first
    // Axis scale labels carry the program's one-byte codes for the pi sign
    // and the degree sign (0: the text has none and is UTF-8). Files that
    // keep the codes (EPS) write them as they are; the screen, SVG and TeX
    // show the real signs.
    int piCode = 0;
    int degreeCode = 0;
};

// The characters a label shows, as UTF-16: the text as UTF-8 when it is
// valid UTF-8, else its bytes as Latin-1; the style's pi and degree codes
// become the real signs.
std::u16string labelUtf16(const std::string& text, const TextStyle& style);

// The box a label of `chars` characters covers, turned with the text: its
// four corners in pixels about the anchor pixel (x, y), 0.6 em a character,
// from a quarter em below the baseline to an em above it.
std::array<std::pair<long, long>, 4> labelBox(long x, long y, size_t chars, const TextStyle& style);

class Canvas {
public:
    Canvas(const View& view, const Palette& palette) : view_(view), palette_(palette) {}
    virtual ~Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    const View& view() const { return view_; }
    const Palette& palette() const { return palette_; }
    Rgb colour(int index) const { return paletteColour(palette_, index); }

    virtual void drawSegment(WorldPoint a, WorldPoint b, const Pen& pen) = 0;
    virtual void drawPolyline(std::span<const WorldPoint> points, const Pen& pen) = 0;
    // Filled polygon (closed implicitly); no fill when `fill` is empty;
    // hatch 0 = solid fill, 1..6 hatch patterns.
    virtual void fillPolygon(std::span<const WorldPoint> points, std::optional<int> fill,
                             const Pen& outline, int hatch) = 0;
    // Axis-parallel rectangle between two corners; radii in pixels round the corners.
    virtual void drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline,
                          int radiusX = 0, int radiusY = 0) = 0;
    // Mark centred on p; size is the half-extent in pixels.
    virtual void drawMark(WorldPoint p, MarkKind kind, int size, int colour) = 0;
    virtual void drawText(WorldPoint anchor, const std::string& text, const TextStyle& style) = 0;
    // One dot per point; a colour that is empty is not drawn. size in pixels.
    virtual void drawDotList(std::span<const WorldPoint> points, std::optional<int> fill,
                             std::optional<int> outline, int size) = 0;
    // A comment line (only text formats keep it).
    virtual void comment(const std::string& text) = 0;
    // A circle of `radius` world units (measured along x). The default
    // draws a 72-sided polygon; formats with a true circle override it.
    virtual void drawCircle(WorldPoint centre, Real radius, std::optional<int> fill, const Pen& outline);
    // An arrowhead at `tip` on the line from `from`: `length` world units
    // along x (pixels scale as the view's), half as wide on each side. The
    // default fills a triangle; formats with their own arrows override it.
    virtual void drawArrowHead(WorldPoint from, WorldPoint tip, Real length, int colour);
    // Whether placePicture takes pictures (so a pixel tool sweeps one only then).
    virtual bool takesPictures() const { return false; }
    // Places a pixel picture over the rectangle between two world corners.
    // False when the canvas refuses pixel pictures (the default).
    virtual bool placePicture(const Image& /*picture*/, WorldPoint /*topLeft*/, WorldPoint /*bottomRight*/)
    {
        return false;
    }

private:
    const View& view_;
    const Palette& palette_;
};

} // namespace qx
