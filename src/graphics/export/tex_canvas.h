#pragma once
// PiCTeX output: the drawing primitives as PiCTeX commands in world
// coordinates, one .tex file per page, CR LF lines. Filled shapes, circles
// other than dots and marks have no PiCTeX form and write nothing.
#include "graphics/export/export_format.h"

#include <string>
#include <vector>

namespace qx {

// The four kinds of file: 0 TeX standalone (a box), 1 LaTeX2e standalone,
// 2 TeX compilable, 3 TeX insertable (the picture alone).
struct TexSetup {
    int kind = 0;
    int box = 0;         // 0..255, kind 0
    Real widthCm = 8;
    int pages = 1;
    Real frameHalfWidth = 5, pageZoom = 1;
    // "whitespace radius": 0 off; else lines stay this many times the half
    // diagonal of a letter M away from every label, so labels stay readable.
    Real whitespace = 0;
};

// The white space kept around a label: `factor` times sqrt(0.4 (w^2 + h^2))
// world units, w and h the pixel size of a letter M of `points` (taken as an
// em square), `dx` the world width of a pixel.
Real whitespaceRadius(Real factor, int points, Real dx);

std::unique_ptr<PageCanvas> makeTexPage(const View& view, const Palette& palette, const ExportRun& run, int page,
                                        const std::string& title);

// A label's text with "#", "$", "%" and "&" escaped.
std::string texEscaped(const std::string& text);

class TexCanvas : public PageCanvas {
public:
    TexCanvas(const View& view, const Palette& palette, const TexSetup& setup);
    std::string pageFile() const override;
    // Everything drawn so far, lines cut where they pass a label's white space.
    std::string body() const;
    std::string header() const;
    std::string trailer() const;

    void drawSegment(WorldPoint a, WorldPoint b, const Pen& pen) override;
    void drawPolyline(std::span<const WorldPoint> points, const Pen& pen) override;
    void fillPolygon(std::span<const WorldPoint>, std::optional<int>, const Pen&, int) override {}
    void drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int rx, int ry) override;
    void drawMark(WorldPoint, MarkKind, int, int) override {}
    void drawText(WorldPoint anchor, const std::string& text, const TextStyle& style) override;
    void drawDotList(std::span<const WorldPoint> points, std::optional<int> fill, std::optional<int> outline,
                     int size) override;
    void comment(const std::string& text) override;
    void drawCircle(WorldPoint, Real, std::optional<int>, const Pen&) override {}
    // PiCTeX's own arrow: "\arrow <length cm> [0.3,0.67] from x1 y1 to x2 y2",
    // the shaft one head long ending at the tip.
    void drawArrowHead(WorldPoint from, WorldPoint tip, Real length, int colour) override;

private:
    std::string number(Real v) const;
    WorldPoint paged(WorldPoint p) const;  // after the page zoom of several pages
    std::string point(WorldPoint p) const; // "x y" after the page zoom
    void lineStyle(int style);
    // The pieces of the line through `points` outside every label's white space.
    std::vector<std::vector<WorldPoint>> outsideLabels(std::span<const WorldPoint> points) const;
    std::string lineText(std::span<const WorldPoint> points, bool plot) const;

    // What is drawn, in order: text as written, or a line ("segment": two
    // points, "plot": a polyline) kept as points so labels drawn after it can
    // still cut it.
    struct Item {
        std::string text;
        std::vector<WorldPoint> points;
        bool plot = false;
    };
    struct Blank {
        WorldPoint centre;
        Real radius;
    };
    void write(std::string text) { items_.push_back({std::move(text), {}, false}); }

    TexSetup setup_;
    std::vector<Item> items_;
    std::vector<Blank> blanks_;
    int style_ = 0;
};

} // namespace qx
