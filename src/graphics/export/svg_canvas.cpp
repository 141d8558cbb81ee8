#include "graphics/export/svg_canvas.h"

#include "base/numeric.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qx {

namespace {

constexpr int kMaxPatterns = 999;

std::string quoted(long v)
{
    return "\"" + std::to_string(v) + "\"";
}

std::string quoted(const std::string& v)
{
    return "\"" + v + "\"";
}

std::string px(int width)
{
    return quoted(std::to_string(width) + "px");
}

bool validUtf8(const std::string& s)
{
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
                return false;
        i += n;
    }
    return true;
}

// Text content: <, > and & escaped so that no label breaks the file; UTF-8
// text as it is, other bytes above 127 (one-byte character sets) as numeric
// references of their codes.
std::string svgText(const std::string& text)
{
    const bool utf8 = validUtf8(text);
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '<')
            out += "&lt;";
        else if (ch == '>')
            out += "&gt;";
        else if (ch == '&')
            out += "&amp;";
        else if (c >= 128 && !utf8)
            out += "&#" + std::to_string(c) + ";";
        else
            out += ch;
    }
    return out;
}

// An attribute value: the text's escapes and the double quote.
std::string svgAttribute(const std::string& text)
{
    std::string out;
    for (char ch : svgText(text))
        out += ch == '"' ? std::string("&quot;") : std::string(1, ch);
    return out;
}

} // namespace

std::string rgbHex(Rgb colour)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return buf;
}

std::string svgHeader(int width, int height, const std::string& title)
{
    std::string h;
    h += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n";
    h += "<svg version=\"1.1\"\r\n";
    h += "baseProfile=\"full\"\r\n";
    h += "width=" + quoted(width) + " height=" + quoted(height) + "\r\n";
    // "defer" alone lacks the alignment the attribute's grammar asks for, and
    // readers such as librsvg then draw nothing; with the alignment every
    // reader centres the page as the bare value meant.
    h += "viewBox=" + quoted("0 0 " + std::to_string(width) + " " + std::to_string(height)) +
         " preserveAspectRatio=\"defer xMidYMid meet\"\r\n";
    h += "xmlns=\"http://www.w3.org/2000/svg\"\r\n";
    h += "xmlns:xlink=\"http://www.w3.org/1999/xlink\"\r\n";
    h += "xmlns:ev=\"http://www.w3.org/2001/xml-events\">\r\n";
    h += "<title>" + svgText(title) + "</title>\r\n";
    return h;
}

std::unique_ptr<PageCanvas> makeSvgPage(const View& view, const Palette& palette, const ExportRun& run, int,
                                        const std::string&)
{
    if (view.pixWidth < 2 || view.pixHeight < 2)
        return nullptr;
    return std::make_unique<SvgCanvas>(view, palette, run.creator.empty() ? "Zumbar" : run.creator, run.svgWidth,
                                       run.svgHeight);
}

SvgCanvas::SvgCanvas(const View& view, const Palette& palette, std::string title, int width, int height)
    : PageCanvas(view, palette), title_(std::move(title)), width_(width), height_(height)
{
}

std::string SvgCanvas::pageFile() const
{
    const int w = std::max(width_ > 0 ? width_ : view().pixWidth, 10);
    const int h = std::max(height_ > 0 ? height_ : view().pixHeight, 10);
    // The window's background first: a rectangle of its pixel size.
    const std::string c = rgbHex(colour(0));
    const std::string background = "<rect x=\"0\" y=\"0\" width=" + quoted(w) + " height=" + quoted(h) +
                                   " fill=" + quoted(c) + " stroke=" + quoted(c) + " stroke-width=\"0px\" />\r\n";
    return svgHeader(w, h, title_) + background + out_ + kSvgTrailer;
}

std::pair<long, long> SvgCanvas::pixel(WorldPoint p) const
{
    // Window pixels, unclamped so that lines keep their slope; far points are
    // held at a million pixels, where the view box cuts them off anyway.
    const auto round = [](Real v) {
        if (!std::isfinite(v))
            return 0L;
        return static_cast<long>(roundHalfDown(std::clamp<Real>(v, -1e6L, 1e6L)));
    };
    return {round(view().xToPixelF(p.x)), round(view().yToPixelF(p.y))};
}

void SvgCanvas::line(long x1, long y1, long x2, long y2, Rgb rgb, int width, int style)
{
    static constexpr const char* kDash[] = {"", "4,4", "20,8", "2,4,6,4", "3,3,10,3,3,3"};
    out_ += "<line x1=" + quoted(x1) + " y1=" + quoted(y1) + " x2=" + quoted(x2) + " y2=" + quoted(y2) +
            " stroke=" + quoted(rgbHex(rgb)) + " stroke-width=" + px(std::max(1, width));
    if (style >= 1)
        out_ += std::string(" stroke-dasharray=") + quoted(std::string(kDash[std::min(style, 4)]));
    out_ += " />\r\n";
}

void SvgCanvas::path(std::span<const std::pair<long, long>> points, Rgb rgb, int width, const std::string& kinds)
{
    std::string d;
    for (size_t i = 0; i < points.size(); ++i) {
        const bool starts = kinds.empty() ? i == 0 : i < kinds.size() && kinds[i] == 'M';
        if (starts)
            d += i == 0 ? "M" : " M";
        d += " " + std::to_string(points[i].first) + " " + std::to_string(points[i].second);
        if (starts)
            d += " L";
    }
    out_ += "<path d=" + quoted(d) + " fill=\"none\" stroke=" + quoted(rgbHex(rgb)) + " stroke-width=" +
            px(width) + " />\r\n";
}

std::string SvgCanvas::fillText(bool noFill, Rgb fill, Rgb stroke, int hatch)
{
    if (noFill)
        return "none";
    if (hatch <= 0 || patterns_ >= kMaxPatterns)
        return rgbHex(fill);
    char id[16];
    std::snprintf(id, sizeof id, "fpat%03d", patterns_);
    const int t = hatch == 2 || hatch >= 5 ? 8 : 10;
    std::string paths;
    const auto add = [&paths](const char* d) { paths += "<path d=" + quoted(std::string(d)) + "/>"; };
    switch (hatch) {
    case 1: add("M0,10 l10,-10"); break;
    case 2: add("M0,4 l8,0"); add("M4,0 l0,8"); break;
    case 3: add("M0,10 l10,-10"); add("M0,0 l10,10"); break;
    case 4: add("M0,0 l10,10"); break;
    case 5: add("M0,4 l8,0"); break;
    default: add("M4,0 l0,8"); break;
    }
    out_ += "<defs>\r\n";
    out_ += std::string("<pattern id=") + quoted(std::string(id)) + " patternUnits=\"userSpaceOnUse\" x=\"0\" y=\"0\" width=" +
            quoted(t) + " height=" + quoted(t) + ">\r\n";
    out_ += "<g style=" + quoted("fill:" + rgbHex(fill) + "; stroke:" + rgbHex(stroke) + "; stroke-width:1px") +
            "> " + paths + "</g>\r\n";
    out_ += "</pattern>\r\n</defs>\r\n";
    ++patterns_;
    return std::string("url(#") + id + ")";
}

void SvgCanvas::polygon(std::span<const std::pair<long, long>> points, bool noFill, Rgb fill, Rgb outline, int width,
                        int hatch)
{
    const std::string f = fillText(noFill, fill, outline, hatch);
    std::string pts;
    for (const auto& [x, y] : points)
        pts += (pts.empty() ? "" : " ") + std::to_string(x) + "," + std::to_string(y);
    out_ += "<polygon fill=" + quoted(f) + " stroke=" + quoted(rgbHex(outline)) + " stroke-width=" +
            px(width < 1 ? 1 : width) + " points=" + quoted(pts) + " />\r\n";
}

void SvgCanvas::rect(long x, long y, long x2, long y2, bool noFill, Rgb fill, Rgb outline, int width, int hatch,
                     int rx, int ry)
{
    const std::string f = fillText(noFill, fill, outline, hatch);
    out_ += "<rect x=" + quoted(x) + " y=" + quoted(y) + " width=" + quoted(x2 - x) + " height=" + quoted(y2 - y) +
            " fill=" + quoted(f) + " stroke=" + quoted(width < 0 ? f : rgbHex(outline)) +
            " stroke-width=" + px(std::abs(width));
    if (rx > 0)
        out_ += " rx=" + quoted(rx) + " ry=" + quoted(ry);
    out_ += " />\r\n";
}

void SvgCanvas::ellipse(long cx, long cy, long r, Rgb fill, Rgb stroke)
{
    out_ += "<ellipse cx=" + quoted(cx) + " cy=" + quoted(cy) + " rx=" + quoted(r) + " ry=" + quoted(r) +
            " fill=" + quoted(rgbHex(fill)) + " stroke=" + quoted(rgbHex(stroke)) + " stroke-width=\"1px\" />\r\n";
}

// ---- The canvas primitives.

void SvgCanvas::drawSegment(WorldPoint a, WorldPoint b, const Pen& pen)
{
    const auto [x1, y1] = pixel(a);
    const auto [x2, y2] = pixel(b);
    line(x1, y1, x2, y2, colour(pen.colour), pen.width, pen.style);
}

void SvgCanvas::drawPolyline(std::span<const WorldPoint> points, const Pen& pen)
{
    if (points.size() < 2)
        return;
    std::vector<std::pair<long, long>> p;
    for (WorldPoint w : points)
        p.push_back(pixel(w));
    path(p, colour(pen.colour), std::max<int>(1, pen.width));
}

void SvgCanvas::fillPolygon(std::span<const WorldPoint> points, std::optional<int> fill, const Pen& outline,
                            int hatch)
{
    if (points.size() < 3)
        return;
    std::vector<std::pair<long, long>> p;
    for (WorldPoint w : points)
        p.push_back(pixel(w));
    polygon(p, !fill, fill ? colour(*fill) : 0, colour(outline.colour), outline.width, hatch);
}

void SvgCanvas::drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int radiusX,
                         int radiusY)
{
    const auto [x1, y1] = pixel(a);
    const auto [x2, y2] = pixel(b);
    rect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), !fill, fill ? colour(*fill) : 0,
         colour(outline.colour), outline.width, 0, radiusX, radiusY);
}

void SvgCanvas::drawMark(WorldPoint p, MarkKind kind, int size, int colourIndex)
{
    const auto [x, y] = pixel(p);
    const Rgb c = colour(colourIndex);
    if (kind == MarkKind::Cross) {
        line(x - size, y, x + size, y, c, 1, 0);
        line(x, y - size, x, y + size, c, 1, 0);
    } else {
        rect(x - size, y - size, x + size, y + size, true, 0, c, 1, 0, 0, 0);
    }
}

void SvgCanvas::drawText(WorldPoint anchor, const std::string& text, const TextStyle& style)
{
    auto [x, y] = pixel(anchor);
    x += style.offsetX;
    y += style.offsetY;
    if (style.opaque) {
        // The text box as on the screen, turned with the text.
        polygon(labelBox(x, y, text.size(), style), false, colour(0), colour(0), 1, 0);
    }
    const bool turned = style.angleTenths != 0;
    if (turned) {
        out_ += "<g transform=" +
                quoted("translate(" + std::to_string(x) + "," + std::to_string(y) + ") rotate(" +
                       std::to_string(-style.angleTenths / 10) + ")") +
                ">\r\n";
        x = y = 0;
    }
    out_ += "<text x=" + quoted(x) + " y=" + quoted(y) + " font-family=" + quoted(svgAttribute(style.face)) +
            " font-size=" + quoted(style.size * 4 / 3) + " font-weight=" + quoted(style.weight);
    if (style.italic)
        out_ += " font-style=\"italic\"";
    out_ += " fill=" + quoted(rgbHex(colour(style.colour))) + " text-anchor=\"start\"> " + svgText(text) +
            " </text>\r\n";
    if (turned)
        out_ += "</g>\r\n";
}

void SvgCanvas::drawDotList(std::span<const WorldPoint> points, std::optional<int> fill, std::optional<int> outline,
                            int size)
{
    const Rgb c = colour(fill.value_or(outline.value_or(1)));
    for (WorldPoint w : points) {
        PixelPoint p;
        if (!view().mapPoint(w.x, w.y, p))
            continue; // only points inside the window
        if (size <= 1)
            line(p.x, p.y, p.x + 1, p.y, c, 1, 0);
        else
            ellipse(p.x, p.y, size, c, colour(outline.value_or(fill.value_or(1))));
    }
}

void SvgCanvas::comment(const std::string& text)
{
    std::string t = text;
    for (size_t i = t.find("--"); i != std::string::npos; i = t.find("--", i))
        t.replace(i, 2, "- ");
    out_ += "<!-- " + t + " -->\r\n";
}

void SvgCanvas::drawCircle(WorldPoint centre, Real radius, std::optional<int> fill, const Pen& outline)
{
    const auto [x, y] = pixel(centre);
    const long r = std::lround(static_cast<double>(std::fabs(radius * view().invDx)));
    if (fill)
        ellipse(x, y, r, colour(*fill), colour(outline.colour));
    else
        out_ += "<ellipse cx=" + quoted(x) + " cy=" + quoted(y) + " rx=" + quoted(r) + " ry=" + quoted(r) +
                " fill=\"none\" stroke=" + quoted(rgbHex(colour(outline.colour))) + " stroke-width=\"1px\" />\r\n";
}

} // namespace qx
