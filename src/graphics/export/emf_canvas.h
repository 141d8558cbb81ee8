#pragma once
// Enhanced metafile (EMF) pages, written record by record: the drawing
// primitives become GDI records (pens, brushes, fonts, polylines, polygons,
// rectangles, ellipses, text) in the window's own pixel coordinates, and a
// pixel picture is embedded as a 24-bit device-independent bitmap. The frame
// is in hundredths of a millimetre at the screen's resolution, so a reader
// places the page at the size it had on the screen.
#include "graphics/export/export_format.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qx {

// Record types written here (their values in the EMF format).
namespace emr {
inline constexpr uint32_t Header = 1, Polygon = 3, Polyline = 4, Eof = 14, SetBkMode = 18,
                          SetTextAlign = 22, SetTextColor = 24, IntersectClipRect = 30, SelectObject = 37,
                          CreatePen = 38, CreateBrushIndirect = 39, DeleteObject = 40, Ellipse = 42,
                          Rectangle = 43, RoundRect = 44, StretchDIBits = 81, ExtCreateFontIndirectW = 82,
                          ExtTextOutW = 84;
} // namespace emr

// The EMF row's page maker (export_format.h).
std::unique_ptr<PageCanvas> makeEmfPage(const View& view, const Palette& palette, const ExportRun& run, int page,
                                        const std::string& title);

// The metafile frame of a page of w x h pixels at `dpi` pixels per inch, in
// hundredths of a millimetre (right and bottom edges, each rounded half down).
std::pair<int32_t, int32_t> emfFrame(int w, int h, Real dpi);

class EmfCanvas : public PageCanvas {
public:
    // `description` is the metafile's description: the program's name and the
    // page's title (written as two strings, as the format asks).
    EmfCanvas(const View& view, const Palette& palette, Real dpi, std::string name, std::string title);

    // Header, the window's background, the body and the end record.
    std::string pageFile() const override;
    // The records after the header's set-up, as drawn so far.
    const std::vector<uint8_t>& body() const { return body_; }
    uint32_t bodyRecords() const { return records_; }

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
    void comment(const std::string&) override {} // a binary format keeps no comments
    void drawCircle(WorldPoint centre, Real radius, std::optional<int> fill, const Pen& outline) override;
    bool takesPictures() const override { return true; }
    bool placePicture(const Image& picture, WorldPoint topLeft, WorldPoint bottomRight) override;

private:
    using Point = std::pair<int32_t, int32_t>;
    struct PenState {
        Rgb rgb;
        int width;
        int style; // -1: no pen
        bool operator==(const PenState&) const = default;
    };
    struct BrushState {
        Rgb rgb;
        int hatch; // -1: no brush, 0 solid, 1..6 hatches
        bool operator==(const BrushState&) const = default;
    };

    Point pixel(WorldPoint p) const;
    // Record writing: begin, the fields, end (which patches the size).
    void begin(uint32_t type);
    void u32(uint32_t v);
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void rect(int32_t l, int32_t t, int32_t r, int32_t b);
    void end();
    // A record of one 32-bit field (select, delete, modes, colours).
    void record(uint32_t type, uint32_t value);
    void bounds(std::span<const Point> points);
    void usePen(PenState pen);
    void useBrush(BrushState brush);
    void shape(uint32_t type, std::span<const Point> points);
    void box(uint32_t type, int32_t l, int32_t t, int32_t r, int32_t b);

    Real dpi_;
    std::string name_, title_;
    std::vector<uint8_t> body_;
    size_t recordStart_ = 0;
    uint32_t records_ = 0;
    std::optional<PenState> pen_;
    std::optional<BrushState> brush_;
    std::optional<TextStyle> font_;
    Rgb textColour_ = 0xFFFFFFFF;
};

} // namespace qx
