#include "graphics/export/eps_canvas.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace qx {

namespace {

// printf conversion of an extended real with a minimum width and decimals.
std::string fmt(Real v, int width, int decimals)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "%*.*Lf", width, decimals, v);
    return buf;
}

std::string dashEntry(std::initializer_list<int> numbers)
{
    std::string s = "[";
    bool first = true;
    for (int n : numbers) {
        if (!first)
            s += ' ';
        s += std::to_string(n);
        first = false;
    }
    return s + "] 0 setdash";
}

int roundUp(Real v)
{
    int i = static_cast<int>(v);
    if (static_cast<Real>(i) < v)
        ++i;
    return i;
}

} // namespace

bool buildEpsLayout(const View& view, const EpsSetup& setup, EpsLayout& out)
{
    const int w = view.pixWidth, h = view.pixHeight;
    if (w < 2 || h < 2 || !(setup.dpi > 0) || !(view.halfWidth > 0) || !(view.halfHeight > 0))
        return false;
    EpsLayout l;
    l.frameHalfHeight = view.halfHeight / view.halfWidth * setup.frameHalfWidth;
    const Real widthPt = (w - 1) * 72 / setup.dpi;
    const Real heightPt = (h - 1) * widthPt / (w - 1);
    l.pointsPerPixel = 72 / setup.dpi;
    auto a = [&](Real k) { return std::max(2, static_cast<int>(k * l.pointsPerPixel)); };
    const int a1 = a(4.3L), a2 = a(7.8L), a3 = a(2.5L), a4 = a(3.7L);
    l.dash = {dashEntry({}), dashEntry({a1, a1}), dashEntry({3 * a2, a2}),
              dashEntry({a3, 2 * a3, 3 * a3, 2 * a3}), dashEntry({a4, a4, 3 * a4, a4, a4, a4})};
    l.widthPt = roundUp(widthPt);
    l.heightPt = roundUp(heightPt);
    if (setup.pages > 1) {
        l.scaleX = l.widthPt * 0.5L / setup.frameHalfWidth;
        l.scaleY = l.heightPt * 0.5L / l.frameHalfHeight;
    } else {
        l.scaleX = l.widthPt * 0.5L / view.halfWidth;
        l.scaleY = l.heightPt * 0.5L / view.halfHeight;
    }
    out = l;
    return true;
}

std::string epsHeader(const EpsLayout& l, const EpsSetup& s)
{
    std::string h;
    h += "%!PS-Adobe-3.0 EPSF-3.0\r\n";
    h += "%%BoundingBox: 0 0 " + std::to_string(l.widthPt) + " " + std::to_string(l.heightPt) + "\r\n";
    h += "%%Creator: (" + s.creator + ")\r\n";
    h += "%%Title: (" + s.title + ")\r\n";
    h += "%%CreationDate:(" + s.date + ")\r\n";
    h += "%%Pages: 1\r\n";
    h += "%%Page: 1 1\r\n";
    h += fmt(0.32L, 4, 2) + " setlinewidth\r\n";
    return h;
}

std::string epsDateText()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[80];
    std::strftime(buf, sizeof buf, "%A, %B %e, %Y", &tm);
    std::string s = buf;
    // %e pads single-digit days with a blank.
    const size_t pad = s.find("  ");
    if (pad != std::string::npos)
        s.erase(pad, 1);
    return s;
}

std::string epsString(const std::string& text)
{
    std::string s;
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            s += '\\';
        if (c == '\r' || c == '\n')
            c = ' ';
        s += c;
    }
    return s;
}

EpsCanvas::EpsCanvas(const View& view, const Palette& palette, const EpsSetup& setup, const EpsLayout& layout)
    : PageCanvas(view, palette), setup_(setup), layout_(layout)
{
}

std::string EpsCanvas::pageFile() const
{
    return epsHeader(layout_, setup_) + out_ + kEpsTrailer;
}

std::unique_ptr<PageCanvas> makeEpsPage(const View& view, const Palette& palette, const ExportRun& run, int,
                                        const std::string& title)
{
    EpsSetup setup;
    setup.pages = run.pages;
    setup.dpi = run.dpi;
    setup.creator = run.creator;
    setup.date = run.date;
    setup.title = title;
    setup.frameHalfWidth = run.frameHalfWidth;
    setup.pageZoom = run.pageZoom;
    setup.pageZoomActive = run.pages > 1; // the pages share the fixed frame
    EpsLayout layout;
    if (!buildEpsLayout(view, setup, layout))
        return nullptr;
    return std::make_unique<EpsCanvas>(view, palette, setup, layout);
}

std::string EpsCanvas::point(Real x, Real y) const
{
    Real px, py;
    if (setup_.pages > 1) {
        if (setup_.pageZoomActive) {
            x = (x - view().centerX) * setup_.pageZoom;
            y = (y - view().centerY) * setup_.pageZoom;
        }
        px = (x + setup_.frameHalfWidth) * layout_.scaleX;
        py = (y + layout_.frameHalfHeight) * layout_.scaleY;
    } else {
        px = (x - view().xMin) * layout_.scaleX;
        py = (y - view().yMin) * layout_.scaleY;
    }
    return fmt(px, 5, 3) + " " + fmt(py, 5, 3);
}

std::string EpsCanvas::rgbLine(int colourIndex) const
{
    const Rgb c = colour(colourIndex);
    return fmt(redOf(c) / 255.0L, 5, 3) + " " + fmt(greenOf(c) / 255.0L, 5, 3) + " " +
           fmt(blueOf(c) / 255.0L, 5, 3) + " setrgbcolor";
}

std::string EpsCanvas::widthLine(int width)
{
    return fmt(width * 0.32L, 4, 2) + " setlinewidth";
}

const std::string& EpsCanvas::dashLine(const Pen& pen) const
{
    return layout_.dash[static_cast<size_t>(penStyle(pen))];
}

void EpsCanvas::line(std::string& s, const std::string& text) const
{
    s += text;
    s += "\r\n";
}

void EpsCanvas::pathLines(std::span<const WorldPoint> points, bool close, std::string& s) const
{
    line(s, "newpath");
    for (size_t i = 0; i < points.size(); ++i)
        line(s, point(points[i]) + (i == 0 ? " moveto" : " lineto"));
    if (close && !points.empty())
        line(s, point(points[0]) + " lineto");
}

// The closing lines of a filled shape: dash, colour, width, stroke.
void EpsCanvas::outlineStroke(const Pen& outline, std::string& s) const
{
    line(s, dashLine(outline));
    line(s, rgbLine(outline.colour));
    line(s, widthLine(outline.width));
    line(s, "stroke");
}

void EpsCanvas::drawSegment(WorldPoint a, WorldPoint b, const Pen& pen)
{
    if (!clipToInnerFrame(view(), a, b))
        return;
    std::string s;
    line(s, rgbLine(pen.colour));
    line(s, widthLine(pen.width));
    line(s, dashLine(pen));
    line(s, "newpath");
    line(s, point(a) + " moveto");
    line(s, point(b) + " lineto");
    line(s, "stroke");
    out_ += s;
}

void EpsCanvas::drawPolyline(std::span<const WorldPoint> points, const Pen& pen)
{
    if (points.empty())
        return;
    std::string s;
    pathLines(points, false, s);
    line(s, rgbLine(pen.colour));
    line(s, widthLine(pen.width));
    line(s, dashLine(pen));
    line(s, "stroke");
    out_ += s;
}

void EpsCanvas::fillPolygon(std::span<const WorldPoint> points, std::optional<int> fill, const Pen& outline, int)
{
    if (points.empty())
        return;
    std::string s;
    pathLines(points, true, s);
    if (fill) {
        line(s, "gsave");
        line(s, rgbLine(*fill));
        line(s, "fill");
        line(s, "grestore");
    }
    outlineStroke(outline, s);
    out_ += s;
}

void EpsCanvas::roundRect(WorldPoint c1, WorldPoint c2, Real r, std::optional<int> fill, const Pen& outline)
{
    const Real left = std::min(c1.x, c2.x), right = std::max(c1.x, c2.x);
    const Real bottom = std::min(c1.y, c2.y), top = std::max(c1.y, c2.y);
    const Real X[4] = {left, left + r, right - r, right};
    const Real Y[4] = {bottom, bottom + r, top - r, top};
    const bool arcs = r > 1e-13L;
    const std::string R = fmt(r * layout_.scaleX, 5, 3);
    std::string s;
    line(s, "newpath");
    line(s, point(X[3], Y[2]) + " moveto");
    if (arcs) line(s, point(X[2], Y[2]) + " " + R + " 0 90 arc");
    line(s, point(X[1], Y[3]) + " lineto");
    if (arcs) line(s, point(X[1], Y[2]) + " " + R + " 90 180 arc");
    line(s, point(X[0], Y[1]) + " lineto");
    if (arcs) line(s, point(X[1], Y[1]) + " " + R + " 180 270 arc");
    line(s, point(X[2], Y[0]) + " lineto");
    if (arcs) line(s, point(X[2], Y[1]) + " " + R + " 270 360 arc");
    line(s, point(X[3], Y[2]) + " lineto");
    line(s, "gsave");
    if (fill) {
        line(s, rgbLine(*fill));
        line(s, "fill");
    }
    line(s, "grestore");
    outlineStroke(outline, s);
    out_ += s;
}

void EpsCanvas::drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int radiusX,
                         int)
{
    roundRect(a, b, radiusX * view().dx, fill, outline);
}

void EpsCanvas::circle(WorldPoint c, Real radius, int fill, int outline, const Pen& pen)
{
    if (fill < 0 && outline < 0)
        return;
    const std::string arc = point(c) + " " + fmt(radius * layout_.scaleX, 5, 3) + " 0 360 arc";
    std::string s;
    if (fill >= 0 && outline >= 0) {
        line(s, "% begin circle fill");
        line(s, "newpath");
        line(s, arc);
        line(s, "gsave");
        line(s, rgbLine(fill));
        line(s, "fill");
        line(s, "grestore");
        line(s, widthLine(pen.width));
        line(s, dashLine(pen));
        line(s, rgbLine(outline));
        line(s, "stroke");
    } else if (fill >= 0) {
        line(s, "% begin circle fill");
        line(s, "newpath");
        line(s, arc);
        line(s, rgbLine(fill));
        line(s, "fill");
    } else {
        line(s, "newpath");
        line(s, arc);
        line(s, widthLine(pen.width));
        line(s, dashLine(pen));
        line(s, rgbLine(outline));
        line(s, "stroke");
    }
    out_ += s;
}

void EpsCanvas::drawDotList(std::span<const WorldPoint> points, std::optional<int> fill,
                            std::optional<int> outline, int size)
{
    const Real radius = std::max(1, size) * 0.5L * view().dx;
    const Pen pen{static_cast<int16_t>(outline.value_or(0)), 1, PenSolid};
    for (const WorldPoint& p : points)
        circle(p, radius, fill ? paletteSlot(*fill) : -1, outline ? paletteSlot(*outline) : -1, pen);
}

void EpsCanvas::drawMark(WorldPoint p, MarkKind kind, int size, int colourIndex)
{
    const Real hx = std::max(1, size) * view().dx, hy = std::max(1, size) * view().dy;
    const Pen pen{static_cast<int16_t>(colourIndex), 1, PenSolid};
    if (kind == MarkKind::Cross) {
        drawSegment({p.x - hx, p.y}, {p.x + hx, p.y}, pen);
        drawSegment({p.x, p.y - hy}, {p.x, p.y + hy}, pen);
        return;
    }
    const WorldPoint box[4] = {{p.x - hx, p.y - hy}, {p.x + hx, p.y - hy}, {p.x + hx, p.y + hy}, {p.x - hx, p.y + hy}};
    std::string s;
    pathLines(box, true, s);
    line(s, rgbLine(colourIndex));
    line(s, widthLine(1));
    line(s, dashLine(pen));
    line(s, "stroke");
    out_ += s;
}

void EpsCanvas::drawText(WorldPoint anchor, const std::string& text, const TextStyle& style)
{
    // Pixel offsets of the label move its anchor on the page as on the screen.
    const WorldPoint at{anchor.x + style.offsetX * view().dx, anchor.y - style.offsetY * view().dy};
    const int angle = style.angleTenths / 10;
    if (style.opaque) {
        // The text box, approximated from the size in points, turned with the text.
        const Real wPt = 0.6L * style.size * static_cast<Real>(text.size());
        const Real hPt = style.size;
        const Real rad = style.angleTenths / 10.0L * 3.14159265358979323846L / 180;
        const Real cs = std::cos(rad), sn = std::sin(rad);
        auto corner = [&](Real u, Real v) {
            return WorldPoint{at.x + (u * cs - v * sn) / layout_.scaleX, at.y + (u * sn + v * cs) / layout_.scaleY};
        };
        const WorldPoint box[4] = {corner(0, -0.25L * hPt), corner(wPt, -0.25L * hPt), corner(wPt, hPt),
                                   corner(0, hPt)};
        fillPolygon(box, 0, Pen{0, 0, PenSolid}, 0);
    }
    std::string face = style.face;
    for (char& c : face)
        if (c == ' ')
            c = '-';
    if (style.italic)
        face += "-Italic";
    std::string s;
    line(s, "/" + face + " findfont");
    line(s, std::to_string(style.size) + " scalefont setfont");
    line(s, point(at) + " moveto");
    if (angle != 0)
        line(s, std::to_string(angle) + " rotate");
    line(s, rgbLine(style.colour));
    line(s, "(" + epsString(text) + ") show");
    if (angle != 0)
        line(s, std::to_string(-angle) + " rotate");
    out_ += s;
}

void EpsCanvas::comment(const std::string& text)
{
    line(out_, "% " + text);
}

} // namespace qx
