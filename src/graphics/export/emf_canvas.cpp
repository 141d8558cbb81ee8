#include "graphics/export/emf_canvas.h"

#include "base/numeric.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace qx {

namespace {

// Object handles: 0 is the metafile itself; one pen, one brush, one font.
constexpr uint32_t kPenHandle = 1, kBrushHandle = 2, kFontHandle = 3, kHandles = 4;
// Stock objects selected while an own object is replaced.
constexpr uint32_t kNullBrush = 0x80000005, kNullPen = 0x80000008, kBlackPen = 0x80000007,
                   kWhiteBrush = 0x80000000, kDefaultFont = 0x8000000E;
constexpr uint32_t kBsSolid = 0, kBsHatched = 2; // brush styles (hollow brushes are the stock null brush)
constexpr uint32_t kTransparent = 1, kTaBaseline = 24, kGmCompatible = 1;
constexpr uint32_t kSrcCopy = 0x00CC0020;
constexpr int32_t kFar = 1000000; // far points are held here, as in SVG pages

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

void put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void patch32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        out[at + k] = static_cast<uint8_t>(v >> (8 * k));
}

void putFloat(std::vector<uint8_t>& out, float f)
{
    uint32_t v;
    std::memcpy(&v, &f, sizeof v);
    put32(out, v);
}

void pad4(std::vector<uint8_t>& out)
{
    while (out.size() % 4)
        out.push_back(0);
}

int32_t roundedHalfDown(Real v)
{
    return static_cast<int32_t>(roundHalfDown(v));
}

} // namespace

std::pair<int32_t, int32_t> emfFrame(int w, int h, Real dpi)
{
    const Real perPixel = 2540 / (dpi > 0 ? dpi : 96); // hundredths of a millimetre
    return {roundedHalfDown(w * perPixel), roundedHalfDown(h * perPixel)};
}

std::unique_ptr<PageCanvas> makeEmfPage(const View& view, const Palette& palette, const ExportRun& run, int,
                                        const std::string& title)
{
    if (view.pixWidth < 2 || view.pixHeight < 2 || view.pixWidth > kFar || view.pixHeight > kFar)
        return nullptr;
    return std::make_unique<EmfCanvas>(view, palette, run.dpi, run.creator.empty() ? "Zumbar" : run.creator,
                                       title);
}

EmfCanvas::EmfCanvas(const View& view, const Palette& palette, Real dpi, std::string name, std::string title)
    : PageCanvas(view, palette), dpi_(dpi > 0 ? dpi : 96), name_(std::move(name)), title_(std::move(title))
{
    const int32_t w = view.pixWidth, h = view.pixHeight;
    record(emr::SetBkMode, kTransparent);   // hatches and text leave the background as it is
    record(emr::SetTextAlign, kTaBaseline); // text anchored at its baseline, as on the screen
    begin(emr::IntersectClipRect); // nothing outside the window's picture
    rect(0, 0, w, h);
    end();
    // The window's background first.
    const Rgb bg = colour(0);
    usePen({bg, 1, 0});
    useBrush({bg, 0});
    box(emr::Rectangle, 0, 0, w, h);
}

// ---- Records.

void EmfCanvas::begin(uint32_t type)
{
    recordStart_ = body_.size();
    put32(body_, type);
    put32(body_, 0); // the size, patched by end()
}

void EmfCanvas::u32(uint32_t v) { put32(body_, v); }

void EmfCanvas::rect(int32_t l, int32_t t, int32_t r, int32_t b)
{
    i32(l);
    i32(t);
    i32(r);
    i32(b);
}

void EmfCanvas::record(uint32_t type, uint32_t value)
{
    begin(type);
    u32(value);
    end();
}

void EmfCanvas::end()
{
    pad4(body_);
    patch32(body_, recordStart_ + 4, static_cast<uint32_t>(body_.size() - recordStart_));
    ++records_;
}

void EmfCanvas::bounds(std::span<const Point> points)
{
    int32_t l = std::numeric_limits<int32_t>::max(), t = l, r = std::numeric_limits<int32_t>::min(), b = r;
    for (const auto& [x, y] : points) {
        l = std::min(l, x);
        r = std::max(r, x);
        t = std::min(t, y);
        b = std::max(b, y);
    }
    rect(l, t, r, b);
}

EmfCanvas::Point EmfCanvas::pixel(WorldPoint p) const
{
    const auto round = [](Real v) {
        if (!std::isfinite(v))
            return int32_t{0};
        return roundedHalfDown(std::clamp<Real>(v, -kFar, kFar));
    };
    return {round(view().xToPixelF(p.x)), round(view().yToPixelF(p.y))};
}

void EmfCanvas::usePen(PenState pen)
{
    if (pen_ && *pen_ == pen)
        return;
    if (pen.style < 0) {
        record(emr::SelectObject, kNullPen);
    } else {
        if (pen_ && pen_->style >= 0) {
            record(emr::SelectObject, kBlackPen); // the old pen is let go before it is deleted
            record(emr::DeleteObject, kPenHandle);
        }
        begin(emr::CreatePen);
        u32(kPenHandle);
        u32(static_cast<uint32_t>(std::clamp(pen.style, 0, 4))); // solid, dash, dot, dash-dot, dash-dot-dot
        i32(std::max(pen.width, 1));
        i32(0);
        u32(pen.rgb & 0xFFFFFF);
        end();
        record(emr::SelectObject, kPenHandle);
    }
    if (pen_ && pen_->style >= 0 && pen.style < 0) {
        record(emr::DeleteObject, kPenHandle);
    }
    pen_ = pen;
}

void EmfCanvas::useBrush(BrushState brush)
{
    if (brush_ && *brush_ == brush)
        return;
    if (brush_ && brush_->hatch >= 0) {
        record(emr::SelectObject, brush.hatch < 0 ? kNullBrush : kWhiteBrush);
        record(emr::DeleteObject, kBrushHandle);
    }
    if (brush.hatch < 0) {
        if (!brush_ || brush_->hatch < 0) {
            record(emr::SelectObject, kNullBrush);
        }
    } else {
        begin(emr::CreateBrushIndirect);
        u32(kBrushHandle);
        u32(brush.hatch == 0 ? kBsSolid : kBsHatched);
        u32(brush.rgb & 0xFFFFFF);
        // The six hatches in the format's order: horizontal, vertical, the
        // two diagonals, cross, diagonal cross.
        u32(brush.hatch == 0 ? 0u : static_cast<uint32_t>(std::clamp(brush.hatch, 1, 6) - 1));
        end();
        record(emr::SelectObject, kBrushHandle);
    }
    brush_ = brush;
}

void EmfCanvas::shape(uint32_t type, std::span<const Point> points)
{
    begin(type);
    bounds(points);
    u32(static_cast<uint32_t>(points.size()));
    for (const auto& [x, y] : points) {
        i32(x);
        i32(y);
    }
    end();
}

void EmfCanvas::box(uint32_t type, int32_t l, int32_t t, int32_t r, int32_t b)
{
    begin(type);
    rect(l, t, r, b);
    end();
}

std::string EmfCanvas::pageFile() const
{
    // The description: the program's name and the page's title, each ended
    // by a zero, and one more zero at the end.
    std::u16string description;
    for (const std::string* s : {&name_, &title_}) {
        description += labelUtf16(*s, TextStyle{});
        description += u'\0';
    }
    description += u'\0';

    const int32_t w = view().pixWidth, h = view().pixHeight;
    const auto [frameW, frameH] = emfFrame(w, h, dpi_);
    // The reference device: ten inches square at the screen's resolution.
    const int32_t devicePixels = roundedHalfDown(dpi_ * 10);
    constexpr uint32_t kHeaderSize = 108; // with both header extensions
    std::vector<uint8_t> header;
    put32(header, emr::Header);
    put32(header, 0); // size, patched below
    for (int32_t v : {0, 0, w, h}) // bounds: the picture's pixels (readers take right - left as its width)
        put32(header, static_cast<uint32_t>(v));
    for (int32_t v : {0, 0, frameW, frameH}) // frame: hundredths of a millimetre
        put32(header, static_cast<uint32_t>(v));
    put32(header, 0x464D4520); // " EMF"
    put32(header, 0x00010000); // version
    put32(header, 0);          // file size, patched below
    put32(header, 0);          // records, patched below
    put16(header, static_cast<uint16_t>(kHandles));
    put16(header, 0);
    put32(header, static_cast<uint32_t>(description.size()));
    put32(header, kHeaderSize);
    put32(header, 0); // palette entries
    put32(header, static_cast<uint32_t>(devicePixels));
    put32(header, static_cast<uint32_t>(devicePixels));
    put32(header, 254); // the reference device in millimetres
    put32(header, 254);
    put32(header, 0); // no pixel format
    put32(header, 0);
    put32(header, 0); // no OpenGL
    put32(header, 254000); // the reference device in micrometres
    put32(header, 254000);
    for (char16_t c : description)
        put16(header, static_cast<uint16_t>(c));
    pad4(header);
    patch32(header, 4, static_cast<uint32_t>(header.size()));

    std::vector<uint8_t> eof;
    put32(eof, emr::Eof);
    put32(eof, 20);
    put32(eof, 0);  // no palette
    put32(eof, 16); // where a palette would be
    put32(eof, 20); // this record's size again

    const size_t total = header.size() + body_.size() + eof.size();
    patch32(header, 48, static_cast<uint32_t>(total));
    patch32(header, 52, records_ + 2);
    std::string file;
    file.reserve(total);
    file.append(header.begin(), header.end());
    file.append(body_.begin(), body_.end());
    file.append(eof.begin(), eof.end());
    return file;
}

// ---- The canvas primitives.

void EmfCanvas::drawSegment(WorldPoint a, WorldPoint b, const Pen& pen)
{
    const Point p[] = {pixel(a), pixel(b)};
    usePen({colour(pen.colour), pen.width, penStyle(pen)});
    shape(emr::Polyline, p);
}

void EmfCanvas::drawPolyline(std::span<const WorldPoint> points, const Pen& pen)
{
    if (points.size() < 2)
        return;
    std::vector<Point> p;
    p.reserve(points.size());
    for (WorldPoint w : points)
        p.push_back(pixel(w));
    usePen({colour(pen.colour), pen.width, penStyle(pen)});
    shape(emr::Polyline, p);
}

void EmfCanvas::fillPolygon(std::span<const WorldPoint> points, std::optional<int> fill, const Pen& outline,
                            int hatch)
{
    if (points.size() < 3)
        return;
    std::vector<Point> p;
    p.reserve(points.size());
    for (WorldPoint w : points)
        p.push_back(pixel(w));
    usePen({colour(outline.colour), outline.width, penStyle(outline)});
    useBrush({fill ? colour(*fill) : 0, fill ? std::clamp(hatch, 0, 6) : -1});
    shape(emr::Polygon, p);
}

void EmfCanvas::drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int radiusX,
                         int radiusY)
{
    const auto [x1, y1] = pixel(a);
    const auto [x2, y2] = pixel(b);
    // A negative width draws the outline in the fill's colour.
    const Rgb line = outline.width < 0 && fill ? colour(*fill) : colour(outline.colour);
    usePen({line, std::abs(outline.width), penStyle(outline)});
    useBrush({fill ? colour(*fill) : 0, fill ? 0 : -1});
    const int32_t l = std::min(x1, x2), t = std::min(y1, y2), r = std::max(x1, x2) + 1, bottom = std::max(y1, y2) + 1;
    if (radiusX > 0 || radiusY > 0) {
        begin(emr::RoundRect);
        rect(l, t, r, bottom);
        i32(2 * std::max(radiusX, 0)); // the corner ellipse's width and height
        i32(2 * std::max(radiusY, 0));
        end();
    } else {
        box(emr::Rectangle, l, t, r, bottom);
    }
}

void EmfCanvas::drawMark(WorldPoint p, MarkKind kind, int size, int colourIndex)
{
    const auto [x, y] = pixel(p);
    usePen({colour(colourIndex), 1, 0});
    if (kind == MarkKind::Cross) {
        const Point h[] = {{x - size, y}, {x + size + 1, y}};
        const Point v[] = {{x, y - size}, {x, y + size + 1}};
        shape(emr::Polyline, h);
        shape(emr::Polyline, v);
    } else {
        useBrush({0, -1});
        box(emr::Rectangle, x - size, y - size, x + size + 1, y + size + 1);
    }
}

void EmfCanvas::drawText(WorldPoint anchor, const std::string& text, const TextStyle& style)
{
    const std::u16string chars = labelUtf16(text, style);
    if (chars.empty())
        return;
    const Point at = pixel(anchor);
    const int32_t x = at.first + style.offsetX, y = at.second + style.offsetY;
    const int32_t em = std::max(1, style.size * 4 / 3); // points to pixels at 96 per inch
    const int32_t advance = std::max(1, em * 6 / 10);
    std::array<Point, 4> corners;
    const auto box = labelBox(x, y, chars.size(), style);
    for (size_t k = 0; k < 4; ++k)
        corners[k] = {static_cast<int32_t>(box[k].first), static_cast<int32_t>(box[k].second)};
    if (style.opaque) {
        // The text box as on the screen, turned with the text.
        usePen({colour(0), 1, 0});
        useBrush({colour(0), 0});
        shape(emr::Polygon, corners);
    }
    const bool sameFont = font_ && font_->face == style.face && font_->size == style.size &&
                          font_->weight == style.weight && font_->italic == style.italic &&
                          font_->angleTenths == style.angleTenths;
    if (!sameFont) {
        if (font_) {
            record(emr::SelectObject, kDefaultFont);
            record(emr::DeleteObject, kFontHandle);
        }
        begin(emr::ExtCreateFontIndirectW);
        u32(kFontHandle);
        i32(-em); // the character height (em size) in pixels
        i32(0);   // width: the face's own
        i32(style.angleTenths); // escapement and orientation in tenths of a degree
        i32(style.angleTenths);
        i32(style.weight);
        body_.push_back(style.italic ? 1 : 0);
        body_.push_back(0); // underline
        body_.push_back(0); // strike-out
        body_.push_back(1); // the default character set
        body_.push_back(0); // precisions and quality: defaults
        body_.push_back(0);
        body_.push_back(0);
        body_.push_back(0); // pitch and family
        std::u16string face = labelUtf16(style.face, TextStyle{}).substr(0, 31);
        face.resize(32, u'\0');
        for (char16_t c : face)
            put16(body_, static_cast<uint16_t>(c));
        end();
        record(emr::SelectObject, kFontHandle);
        font_ = style;
    }
    const Rgb c = colour(style.colour);
    if (c != textColour_) {
        record(emr::SetTextColor, c & 0xFFFFFF);
        textColour_ = c;
    }
    constexpr uint32_t kFixed = 76; // the record's fixed part: the string follows it
    const uint32_t stringBytes = static_cast<uint32_t>((chars.size() * 2 + 3) / 4 * 4);
    begin(emr::ExtTextOutW);
    bounds(corners);
    u32(kGmCompatible);
    putFloat(body_, 0.0f); // no scaling
    putFloat(body_, 0.0f);
    i32(x); // the reference point: the start of the baseline
    i32(y);
    u32(static_cast<uint32_t>(chars.size()));
    u32(kFixed);
    u32(0); // no options
    rect(0, 0, -1, -1); // no clipping or opaque rectangle
    u32(kFixed + stringBytes); // the advances follow the string
    for (char16_t ch : chars)
        put16(body_, static_cast<uint16_t>(ch));
    pad4(body_);
    for (size_t k = 0; k < chars.size(); ++k)
        u32(static_cast<uint32_t>(advance));
    end();
}

void EmfCanvas::drawDotList(std::span<const WorldPoint> points, std::optional<int> fill, std::optional<int> outline,
                            int size)
{
    const int n = std::max(size, 1);
    const int32_t h = (n - 1) / 2;
    for (WorldPoint w : points) {
        const Real fx = view().xToPixelF(w.x), fy = view().yToPixelF(w.y);
        if (!std::isfinite(fx) || !std::isfinite(fy) || fx < -0.5L || fy < -0.5L || fx > view().pixWidth ||
            fy > view().pixHeight)
            continue; // only points on the page
        const auto [x, y] = pixel(w);
        if (!fill && !outline)
            continue;
        // A square of n pixels, filled, with its outline when it has one; a
        // rectangle even for one pixel, since readers may skip pixel records.
        const Rgb line = outline && n > 2 ? colour(*outline) : colour(fill.value_or(*outline));
        usePen({line, 1, 0});
        useBrush({fill ? colour(*fill) : line, fill || n <= 2 ? 0 : -1});
        box(emr::Rectangle, x - h, y - h, x - h + n, y - h + n);
    }
}

void EmfCanvas::drawCircle(WorldPoint centre, Real radius, std::optional<int> fill, const Pen& outline)
{
    const auto [x, y] = pixel(centre);
    const Real pixels = std::fabs(radius * view().invDx);
    if (!std::isfinite(pixels))
        return;
    const int32_t r = static_cast<int32_t>(std::min<Real>(std::lround(static_cast<double>(pixels)), kFar));
    usePen({colour(outline.colour), outline.width, penStyle(outline)});
    useBrush({fill ? colour(*fill) : 0, fill ? 0 : -1});
    box(emr::Ellipse, x - r, y - r, x + r + 1, y + r + 1);
}

bool EmfCanvas::placePicture(const Image& picture, WorldPoint topLeft, WorldPoint bottomRight)
{
    if (picture.empty())
        return false;
    const auto [left, top] = pixel(topLeft);
    const auto [right, bottom] = pixel(bottomRight);
    const int32_t w = std::max(1, right - left + 1), h = std::max(1, bottom - top + 1);
    const uint32_t rowBytes = (static_cast<uint32_t>(picture.width) * 3 + 3) / 4 * 4;
    const uint64_t bits = static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(picture.height);
    if (bits > 0x7FFFFFFFu - 200)
        return false;
    constexpr uint32_t kFixed = 80, kInfo = 40;
    begin(emr::StretchDIBits);
    rect(left, top, left + w - 1, top + h - 1);
    i32(left);
    i32(top);
    i32(0); // the whole source bitmap
    i32(0);
    i32(picture.width);
    i32(picture.height);
    u32(kFixed);
    u32(kInfo);
    u32(kFixed + kInfo);
    u32(static_cast<uint32_t>(bits));
    u32(0); // colours are RGB values
    u32(kSrcCopy);
    i32(w);
    i32(h);
    // The bitmap information header: 24 bits per pixel, rows from the bottom.
    u32(kInfo);
    i32(picture.width);
    i32(picture.height);
    put16(body_, 1);
    put16(body_, 24);
    u32(0); // no compression
    u32(static_cast<uint32_t>(bits));
    i32(roundedHalfDown(dpi_ / 0.0254L)); // pixels per metre
    i32(roundedHalfDown(dpi_ / 0.0254L));
    u32(0);
    u32(0);
    for (int r = picture.height - 1; r >= 0; --r) {
        const size_t start = body_.size();
        for (int c = 0; c < picture.width; ++c) {
            const Rgb p = picture.at(c, r);
            body_.push_back(static_cast<uint8_t>(p >> 16)); // blue, green, red
            body_.push_back(static_cast<uint8_t>(p >> 8));
            body_.push_back(static_cast<uint8_t>(p));
        }
        while (body_.size() - start < rowBytes)
            body_.push_back(0);
    }
    end();
    return true;
}

} // namespace qx
