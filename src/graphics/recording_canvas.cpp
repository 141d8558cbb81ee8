#include "graphics/recording_canvas.h"

#include <cstdio>

namespace qx {

namespace {

std::string num(Real v)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6Lg", v);
    return buf;
}

std::string pt(WorldPoint p) { return "(" + num(p.x) + "," + num(p.y) + ")"; }

std::string pen(const Pen& p)
{
    return "pen(" + std::to_string(p.colour) + "," + std::to_string(p.width) + "," + std::to_string(p.style) + ")";
}

std::string colourOrNone(std::optional<int> c) { return c ? std::to_string(*c) : std::string("none"); }

std::string points(std::span<const WorldPoint> ps)
{
    std::string s;
    for (const auto& p : ps)
        s += " " + pt(p);
    return s;
}

} // namespace

std::vector<std::string> RecordingCanvas::linesStartingWith(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& line : log)
        if (line.compare(0, prefix.size(), prefix) == 0)
            out.push_back(line);
    return out;
}

void RecordingCanvas::drawSegment(WorldPoint a, WorldPoint b, const Pen& p)
{
    log.push_back("segment " + pt(a) + " " + pt(b) + " " + pen(p));
}

void RecordingCanvas::drawPolyline(std::span<const WorldPoint> ps, const Pen& p)
{
    log.push_back("polyline " + std::to_string(ps.size()) + points(ps) + " " + pen(p));
}

void RecordingCanvas::fillPolygon(std::span<const WorldPoint> ps, std::optional<int> fill, const Pen& outline,
                                  int hatch)
{
    log.push_back("polygon " + std::to_string(ps.size()) + points(ps) + " fill " + colourOrNone(fill) + " hatch " +
                  std::to_string(hatch) + " " + pen(outline));
}

void RecordingCanvas::drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int rx,
                               int ry)
{
    log.push_back("rect " + pt(a) + " " + pt(b) + " fill " + colourOrNone(fill) + " " + pen(outline) + " radii " +
                  std::to_string(rx) + "," + std::to_string(ry));
}

void RecordingCanvas::drawMark(WorldPoint p, MarkKind kind, int size, int colour)
{
    log.push_back(std::string("mark ") + (kind == MarkKind::Cross ? "cross " : "box ") + pt(p) + " size " +
                  std::to_string(size) + " colour " + std::to_string(colour));
}

void RecordingCanvas::drawText(WorldPoint anchor, const std::string& text, const TextStyle& s)
{
    log.push_back("text " + pt(anchor) + " \"" + text + "\" colour " + std::to_string(s.colour) + " offset " +
                  std::to_string(s.offsetX) + "," + std::to_string(s.offsetY));
}

void RecordingCanvas::drawDotList(std::span<const WorldPoint> ps, std::optional<int> fill,
                                  std::optional<int> outline, int size)
{
    log.push_back("dots " + std::to_string(ps.size()) + points(ps) + " fill " + colourOrNone(fill) + " outline " +
                  colourOrNone(outline) + " size " + std::to_string(size));
}

void RecordingCanvas::comment(const std::string& text)
{
    log.push_back("comment " + text);
}

void RecordingCanvas::drawCircle(WorldPoint c, Real radius, std::optional<int> fill, const Pen& outline)
{
    log.push_back("circle " + pt(c) + " r " + num(radius) + " fill " + (fill ? std::to_string(*fill) : "none") +
                  " outline " + std::to_string(outline.colour));
}

} // namespace qx
