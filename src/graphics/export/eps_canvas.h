#pragma once
// Encapsulated PostScript output: the drawing primitives written as
// PostScript text, one page per file, with CR LF line ends.
#include "graphics/export/export_format.h"

#include <array>
#include <string>

namespace qx {

// What the header needs besides the view.
struct EpsSetup {
    int pages = 1;                  // 1 = one plain file
    Real dpi = 96;                  // the screen's logical pixels per inch
    std::string creator = "Zumbar"; // the Creator line; tools may put their own text
    std::string title;              // output file name without directory
    std::string date;               // today's date in the long format
    Real frameHalfWidth = 5;        // the fixed frame of multi-page output
    Real pageZoom = 1;              // frameHalfWidth / halfWidth of the current page
    bool pageZoomActive = false;    // multi-page: move points onto the fixed frame
};

// The page layout derived from the view and the set-up.
struct EpsLayout {
    int widthPt = 0;   // bounding box, whole points
    int heightPt = 0;
    Real pointsPerPixel = 0;
    Real scaleX = 0;   // points per world unit
    Real scaleY = 0;
    Real frameHalfHeight = 0;
    std::array<std::string, 5> dash; // "[..] 0 setdash" per line style
};

// Refuses (false) a view narrower or lower than two pixels, which has no extent.
bool buildEpsLayout(const View& view, const EpsSetup& setup, EpsLayout& out);
std::string epsHeader(const EpsLayout& layout, const EpsSetup& setup);
inline constexpr const char* kEpsTrailer = "%%EOF\r\n";
// The long date format of the header, e.g. "Sunday, December 6, 2026".
std::string epsDateText();

// The EPS row's page maker (export_format.h).
std::unique_ptr<PageCanvas> makeEpsPage(const View& view, const Palette& palette, const ExportRun& run, int page,
                                        const std::string& title);

// A label's text inside PostScript parentheses: '(', ')' and '\' are escaped
// so that no label can break the file.
std::string epsString(const std::string& text);

class EpsCanvas : public PageCanvas {
public:
    // The view must be at least 2 x 2 pixels (buildEpsLayout).
    EpsCanvas(const View& view, const Palette& palette, const EpsSetup& setup, const EpsLayout& layout);

    // The page body written so far.
    const std::string& text() const { return out_; }
    // Header, body and trailer.
    std::string pageFile() const override;

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
    void drawCircle(WorldPoint centre, Real radius, std::optional<int> fill, const Pen& outline) override
    {
        circle(centre, radius, fill.value_or(-1), outline.colour, outline);
    }

    // The emitters, in world coordinates; radii in world units.
    void roundRect(WorldPoint c1, WorldPoint c2, Real radius, std::optional<int> fill, const Pen& outline);
    // A negative colour index leaves that part out; with both negative nothing is written.
    void circle(WorldPoint centre, Real radius, int fill, int outline, const Pen& pen);

private:
    std::string point(Real x, Real y) const;
    std::string point(WorldPoint p) const { return point(p.x, p.y); }
    std::string rgbLine(int colourIndex) const;
    static std::string widthLine(int width);
    const std::string& dashLine(const Pen& pen) const;
    void pathLines(std::span<const WorldPoint> points, bool close, std::string& s) const;
    void line(std::string& s, const std::string& text) const;
    void outlineStroke(const Pen& outline, std::string& s) const;

    EpsSetup setup_;
    EpsLayout layout_;
    std::string out_;
};

} // namespace qx
