#pragma once
// A canvas that draws nothing and logs every call as one line of text, so
// tests can check what a drawing routine does. Numbers are written with
// %.6Lg; points as (x,y); pens as pen(colour,width,style).
#include "graphics/canvas.h"

#include <string>
#include <vector>

namespace qx {

class RecordingCanvas : public Canvas {
public:
    // Lines go to `sink` when given (it must outlive the canvas), else to
    // the canvas's own list.
    RecordingCanvas(const View& view, const Palette& palette, std::vector<std::string>* sink = nullptr)
        : Canvas(view, palette), log(sink ? *sink : own_) {}

    std::vector<std::string>& log;
    // Lines starting with `prefix` (e.g. "segment").
    std::vector<std::string> linesStartingWith(const std::string& prefix) const;
    size_t count(const std::string& prefix) const { return linesStartingWith(prefix).size(); }

    void drawSegment(WorldPoint a, WorldPoint b, const Pen& pen) override;
    void drawPolyline(std::span<const WorldPoint> points, const Pen& pen) override;
    void fillPolygon(std::span<const WorldPoint> points, std::optional<int> fill, const Pen& outline,
                     int hatch) override;
    void drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int radiusX = 0,
                  int radiusY = 0) override;
    void drawMark(WorldPoint p, MarkKind kind, int size, int colour) override;
    void drawText(WorldPoint anchor, const std::string& text, const TextStyle& style) override;
    void drawDotList(std::span<const WorldPoint> points, std::optional<int> fill, std::optional<int> outline,
                     int size) override;
    void comment(const std::string& text) override;
    void drawCircle(WorldPoint centre, Real radius, std::optional<int> fill, const Pen& outline) override;

private:
    std::vector<std::string> own_;
};

} // namespace qx
