#include "graphics/export/tex_canvas.h"

#include "graphics/axes.h"

#include <algorithm>
#include <cmath>

namespace qx {

std::unique_ptr<PageCanvas> makeTexPage(const View& view, const Palette& palette, const ExportRun& run, int,
                                        const std::string&)
{
    if (view.pixWidth < 2 || view.pixHeight < 2 || !(view.halfWidth > 0) || !(view.halfHeight > 0))
        return nullptr;
    TexSetup s;
    s.kind = std::clamp(run.texKind, 0, 3);
    s.box = std::clamp(run.texBox, 0, 255);
    s.widthCm = run.texWidthCm > 0 ? run.texWidthCm : 8;
    s.pages = run.pages;
    s.frameHalfWidth = run.frameHalfWidth;
    s.pageZoom = run.pageZoom;
    s.whitespace = run.texWhitespace;
    return std::make_unique<TexCanvas>(view, palette, s);
}

Real whitespaceRadius(Real factor, int points, Real dx)
{
    const Real m = points * 4.0L / 3; // the letter's box in pixels at 96 per inch
    return factor * std::sqrt(0.4L * (m * m + m * m)) * dx;
}

std::string texEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '#' || c == '$' || c == '%' || c == '&')
            out += '\\';
        out += c;
    }
    return out;
}

TexCanvas::TexCanvas(const View& view, const Palette& palette, const TexSetup& setup)
    : PageCanvas(view, palette), setup_(setup)
{
}

std::string TexCanvas::number(Real v) const
{
    const int places = std::clamp<int>(view().places, 0, 18);
    return formatReal(v, places + 2, places);
}

WorldPoint TexCanvas::paged(WorldPoint p) const
{
    if (setup_.pages > 1) // the pages share one frame about the centre
        p = {(p.x - view().centerX) * setup_.pageZoom, (p.y - view().centerY) * setup_.pageZoom};
    return p;
}

std::string TexCanvas::point(WorldPoint p) const
{
    p = paged(p);
    return number(p.x) + " " + number(p.y);
}

std::string TexCanvas::header() const
{
    const View& v = view();
    std::string h;
    if (setup_.pages == 1) {
        if (setup_.kind == 0)
            h += "\\font\\fiverm = cmr5\r\n\\setbox" + std::to_string(setup_.box) + "=\\vbox{\r\n";
        else if (setup_.kind == 1) // LaTeX usage: the three macro files in their order
            h += "\\input prepictex\r\n\\input pictex\r\n\\input postpictex\r\n";
        else if (setup_.kind == 2)
            h += "\\input pictex\r\n";
    }
    h += "\\beginpicture\r\n";
    const Real halfW = setup_.pages > 1 ? setup_.frameHalfWidth : v.halfWidth;
    const Real halfH = setup_.pages > 1 ? v.halfHeight / v.halfWidth * setup_.frameHalfWidth : v.halfHeight;
    const Real u = setup_.widthCm * 0.5L / halfW;
    const Real vu = static_cast<Real>(v.pixHeight) * 0.5L * setup_.widthCm / (static_cast<Real>(v.pixWidth) * halfH);
    h += "\\setcoordinatesystem units <" + number(u) + "cm," + number(vu) + "cm>\r\n";
    const auto corner = [&](Real x, Real y) { h += "\\put {\\phantom{.}} at " + number(x) + " " + number(y) + "\r\n"; };
    if (setup_.pages > 1) {
        corner(-halfW, -halfH);
        corner(-halfW, halfH);
        corner(halfW, -halfH);
        corner(halfW, halfH);
    } else {
        corner(v.xMin, v.yMin);
        corner(v.xMin, v.yMax);
        corner(v.xMax, v.yMin);
        corner(v.xMax, v.yMax);
    }
    h += "\\setlinear\r\n\\setshadesymbol <z,z,z,z> ({\\fiverm .})\r\n";
    return h;
}

std::string TexCanvas::trailer() const
{
    return std::string("\\endpicture") + (setup_.pages == 1 && setup_.kind == 0 ? "}" : "") + "\r\n";
}

std::string TexCanvas::pageFile() const
{
    // Kind 2 compiles on its own: the picture is shipped out and the run ends.
    const std::string end = setup_.pages == 1 && setup_.kind == 2 ? "\\bye\r\n" : "";
    return header() + body() + trailer() + end;
}

std::vector<std::vector<WorldPoint>> TexCanvas::outsideLabels(std::span<const WorldPoint> points) const
{
    std::vector<std::vector<WorldPoint>> runs(1);
    const auto add = [&runs](WorldPoint p) {
        if (runs.back().empty() || runs.back().back().x != p.x || runs.back().back().y != p.y)
            runs.back().push_back(p);
    };
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const WorldPoint a = points[i], b = points[i + 1];
        // The parts [t0, t1] of the edge a + t (b - a) inside some blank, merged.
        std::vector<std::pair<Real, Real>> cuts;
        const Real ex = b.x - a.x, ey = b.y - a.y, ee = ex * ex + ey * ey;
        for (const Blank& k : blanks_) {
            const Real fx = a.x - k.centre.x, fy = a.y - k.centre.y;
            if (!(ee > 0))
                continue;
            const Real bq = (fx * ex + fy * ey) / ee, cq = (fx * fx + fy * fy - k.radius * k.radius) / ee;
            const Real disc = bq * bq - cq;
            if (disc <= 0)
                continue;
            const Real t0 = std::max<Real>(-bq - std::sqrt(disc), 0), t1 = std::min<Real>(-bq + std::sqrt(disc), 1);
            if (t0 < t1)
                cuts.emplace_back(t0, t1);
        }
        std::sort(cuts.begin(), cuts.end());
        Real t = 0;
        const auto at = [&](Real u) { return WorldPoint{a.x + u * ex, a.y + u * ey}; };
        add(a);
        for (const auto& [c0, c1] : cuts) {
            if (c1 <= t)
                continue;
            if (c0 > t)
                add(at(c0));
            if (runs.back().size() < 2)
                runs.back().clear();
            else
                runs.emplace_back();
            t = std::max(t, c1);
            if (t < 1)
                add(at(t));
        }
        if (t < 1)
            add(b);
    }
    if (runs.back().size() < 2)
        runs.pop_back();
    return runs;
}

std::string TexCanvas::lineText(std::span<const WorldPoint> points, bool plot) const
{
    std::string out;
    for (const auto& run : blanks_.empty() ? std::vector<std::vector<WorldPoint>>{{points.begin(), points.end()}}
                                           : outsideLabels(points)) {
        if (run.size() < 2)
            continue;
        if (!plot && run.size() == 2 &&
            (std::fabs(run[0].x - run[1].x) < 1e-16L || std::fabs(run[0].y - run[1].y) < 1e-16L)) {
            out += "\\putrule from " + point(run[0]) + " to " + point(run[1]) + "\r\n";
        } else if (!plot && run.size() == 2) {
            out += "\\plot " + point(run[0]) + " " + point(run[1]) + " /\r\n";
        } else {
            out += "\\plot\r\n";
            for (WorldPoint p : run)
                out += point(p) + "\r\n";
            out += "/\r\n";
        }
    }
    return out;
}

std::string TexCanvas::body() const
{
    std::string out;
    for (const Item& item : items_)
        out += item.points.empty() ? item.text : lineText(item.points, item.plot);
    return out;
}

void TexCanvas::lineStyle(int style)
{
    if (style == style_)
        return;
    style_ = style;
    static constexpr const char* kStyles[] = {"\\setsolid", "\\setdots<2pt>", "\\setdashes",
                                              "\\setdashpattern<3pt,2pt,10pt,2pt>",
                                              "\\setdashpattern<3pt,2pt,10pt,2pt,3pt,2pt>"};
    write(std::string(style >= 0 && style <= 4 ? kStyles[style] : kStyles[0]) + "\r\n");
}

void TexCanvas::drawSegment(WorldPoint a, WorldPoint b, const Pen& pen)
{
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
        return;
    lineStyle(pen.style);
    items_.push_back({{}, {a, b}, false});
}

void TexCanvas::drawPolyline(std::span<const WorldPoint> points, const Pen& pen)
{
    if (points.size() < 2)
        return;
    lineStyle(pen.style);
    items_.push_back({{}, {points.begin(), points.end()}, true});
}

void TexCanvas::drawRect(WorldPoint a, WorldPoint b, std::optional<int>, const Pen& outline, int, int)
{
    // Only its outline: the background rectangle of a page writes the frame.
    if (outline.width <= 0)
        return;
    const WorldPoint c[4] = {a, {b.x, a.y}, b, {a.x, b.y}};
    for (int k = 0; k < 4; ++k)
        drawSegment(c[k], c[(k + 1) % 4], outline);
}

void TexCanvas::drawText(WorldPoint anchor, const std::string& text, const TextStyle& style)
{
    const std::string h = style.offsetX < 0 ? "r" : style.offsetX > 0 ? "l" : "";
    const std::string v = style.offsetY < 0 ? "t" : style.offsetY > 0 ? "b" : "";
    write("\\put {$" + texEscaped(text) + "$} [" + h + v + "] at " + point(anchor) + "\r\n");
    if (setup_.whitespace > 0 && !text.empty()) {
        // The white space: about the label's middle, widened by its length.
        const Real em = std::max(1, style.size) * 4.0L / 3, dx = view().dx, dy = view().dy;
        const Real half = 0.3L * em * static_cast<Real>(text.size() - 1);
        const Real cx = anchor.x + (h == "l" ? 1 : h == "r" ? -1 : 0) * (half + 0.3L * em) * dx;
        const Real cy = anchor.y + (v == "t" ? -1 : v == "b" ? 1 : 0) * 0.5L * em * dy;
        blanks_.push_back({{cx, cy}, whitespaceRadius(setup_.whitespace, style.size, dx) + half * dx});
    }
}

void TexCanvas::drawDotList(std::span<const WorldPoint> points, std::optional<int>, std::optional<int>, int size)
{
    std::vector<WorldPoint> inside;
    for (WorldPoint p : points)
        if (view().inView(p.x, p.y))
            inside.push_back(p);
    if (inside.empty())
        return;
    const char* glyph = size < 2 ? "." : size <= 3 ? "$\\scriptstyle\\bullet$" : "$\\bullet$";
    std::string text = std::string("\\multiput {") + glyph + "} at\r\n";
    for (WorldPoint p : inside)
        text += point(p) + "\r\n";
    write(text + "/\r\n");
}

void TexCanvas::drawArrowHead(WorldPoint from, WorldPoint tip, Real length, int)
{
    const Real dx = tip.x - from.x, dy = tip.y - from.y, d = std::hypot(dx, dy);
    if (!(d > 0) || !(length > 0) || !std::isfinite(length))
        return;
    const WorldPoint start{tip.x - dx / d * length, tip.y - dy / d * length};
    const bool framed = setup_.pages > 1;
    const Real halfWidth = framed ? setup_.frameHalfWidth : view().halfWidth;
    const Real cm = length * (framed ? setup_.pageZoom : 1) * setup_.widthCm / (2 * halfWidth);
    const auto coordinates = [this](WorldPoint p) {
        p = paged(p);
        return formatReal(p.x, 7, 5) + " " + formatReal(p.y, 7, 5);
    };
    write("\\arrow <" + formatReal(cm, 5, 3) + "cm> [0.3,0.67] from " + coordinates(start) + " to " +
          coordinates(tip) + "\r\n");
}

void TexCanvas::comment(const std::string& text)
{
    std::string t = text;
    std::replace(t.begin(), t.end(), '\n', ' ');
    write("% " + t + "\r\n");
}

} // namespace qx
