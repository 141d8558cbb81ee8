#pragma once
// SVG 1.1 output: the drawing primitives as SVG elements in the window's own
// integer pixel coordinates (y downward), one page per file, CR LF lines.
#include "graphics/export/export_format.h"

#include <string>

namespace qx {

// "#rrggbb" in lower-case hexadecimal.
std::string rgbHex(Rgb colour);
// The header of a page of `width` x `height` pixels with its title, and the trailer.
std::string svgHeader(int width, int height, const std::string& title);
inline constexpr const char* kSvgTrailer = "</svg>\r\n";

// The SVG row's page maker (export_format.h).
std::unique_ptr<PageCanvas> makeSvgPage(const View& view, const Palette& palette, const ExportRun& run, int page,
                                        const std::string& title);

class SvgCanvas : public PageCanvas {
public:
    // `width` and `height` (0: the window's) go into the header only.
    SvgCanvas(const View& view, const Palette& palette, std::string title, int width = 0, int height = 0);

    // Header, the window's background, the body and the trailer.
    std::string pageFile() const override;
    const std::string& body() const { return out_; }

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
    void comment(const std::string& text) override;
    void drawCircle(WorldPoint centre, Real radius, std::optional<int> fill, const Pen& outline) override;

    // The emitters, in pixels.
    void line(long x1, long y1, long x2, long y2, Rgb rgb, int width, int style);
    // Points 0..last; `kinds` (may be empty) marks with 'M' the points that start a subpath.
    void path(std::span<const std::pair<long, long>> points, Rgb rgb, int width, const std::string& kinds = {});
    void polygon(std::span<const std::pair<long, long>> points, bool noFill, Rgb fill, Rgb outline, int width,
                 int hatch);
    void rect(long x, long y, long x2, long y2, bool noFill, Rgb fill, Rgb outline, int width, int hatch, int rx,
              int ry);
    void ellipse(long cx, long cy, long r, Rgb fill, Rgb stroke);
    // The fill text of a filled element: a colour, or a new hatch pattern.
    std::string fillText(bool noFill, Rgb fill, Rgb stroke, int hatch);
    int patternCount() const { return patterns_; }

private:
    std::pair<long, long> pixel(WorldPoint p) const;

    std::string title_;
    int width_, height_;
    std::string out_;
    int patterns_ = 0;
};

} // namespace qx
