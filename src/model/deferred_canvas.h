#pragma once
// A canvas that asks the host for the real one only when something is
// drawn. The figure of a swept tool is written by worker threads straight
// into the image, so no toolkit painter should be open on it meanwhile.
#include "model/host.h"

#include <memory>

namespace qx {

class DeferredCanvas : public Canvas {
public:
    DeferredCanvas(Host& host, Image& target, const View& view, const Palette& palette)
        : Canvas(view, palette), host_(host), target_(target) {}

    bool used() const { return real_ != nullptr; }

    void drawSegment(WorldPoint a, WorldPoint b, const Pen& pen) override { real().drawSegment(a, b, pen); }
    void drawPolyline(std::span<const WorldPoint> p, const Pen& pen) override { real().drawPolyline(p, pen); }
    void fillPolygon(std::span<const WorldPoint> p, std::optional<int> fill, const Pen& outline, int hatch) override
    {
        real().fillPolygon(p, fill, outline, hatch);
    }
    void drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int rx = 0,
                  int ry = 0) override
    {
        real().drawRect(a, b, fill, outline, rx, ry);
    }
    void drawMark(WorldPoint p, MarkKind kind, int size, int colour) override
    {
        real().drawMark(p, kind, size, colour);
    }
    void drawText(WorldPoint a, const std::string& text, const TextStyle& style) override
    {
        real().drawText(a, text, style);
    }
    void drawDotList(std::span<const WorldPoint> p, std::optional<int> fill, std::optional<int> outline,
                     int size) override
    {
        real().drawDotList(p, fill, outline, size);
    }
    void comment(const std::string& text) override { real().comment(text); }
    void drawCircle(WorldPoint c, Real radius, std::optional<int> fill, const Pen& outline) override
    {
        real().drawCircle(c, radius, fill, outline);
    }
    void drawArrowHead(WorldPoint from, WorldPoint tip, Real length, int colour) override
    {
        real().drawArrowHead(from, tip, length, colour);
    }
    bool takesPictures() const override { return const_cast<DeferredCanvas*>(this)->real().takesPictures(); }
    bool placePicture(const Image& picture, WorldPoint topLeft, WorldPoint bottomRight) override
    {
        return real().placePicture(picture, topLeft, bottomRight);
    }

private:
    Canvas& real()
    {
        if (!real_)
            real_ = host_.createCanvas(target_, view(), palette());
        return *real_;
    }
    Host& host_;
    Image& target_;
    std::unique_ptr<Canvas> real_;
};

} // namespace qx
