#pragma once
// Bitmap pages: the window's picture as a Windows bitmap. Vector drawing is
// rasterized as on the screen; pixel tools place their swept picture.
#include "graphics/export/export_format.h"
#include "graphics/raster_canvas.h"

namespace qx {

std::unique_ptr<PageCanvas> makeBmpPage(const View& view, const Palette& palette, const ExportRun& run, int page,
                                        const std::string& title);

class BmpPageCanvas : public PageCanvas {
public:
    BmpPageCanvas(const View& view, const Palette& palette);
    std::string pageFile() const override;
    const Image& image() const { return image_; }

    void drawSegment(WorldPoint a, WorldPoint b, const Pen& pen) override { raster_.drawSegment(a, b, pen); }
    void drawPolyline(std::span<const WorldPoint> points, const Pen& pen) override { raster_.drawPolyline(points, pen); }
    void fillPolygon(std::span<const WorldPoint> points, std::optional<int> fill, const Pen& outline,
                     int hatch) override
    {
        raster_.fillPolygon(points, fill, outline, hatch);
    }
    void drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int rx, int ry) override
    {
        raster_.drawRect(a, b, fill, outline, rx, ry);
    }
    void drawMark(WorldPoint p, MarkKind kind, int size, int colour) override { raster_.drawMark(p, kind, size, colour); }
    void drawText(WorldPoint anchor, const std::string& text, const TextStyle& style) override
    {
        raster_.drawText(anchor, text, style);
    }
    void drawDotList(std::span<const WorldPoint> points, std::optional<int> fill, std::optional<int> outline,
                     int size) override
    {
        raster_.drawDotList(points, fill, outline, size);
    }
    void comment(const std::string&) override {}
    void drawCircle(WorldPoint centre, Real radius, std::optional<int> fill, const Pen& outline) override
    {
        raster_.drawCircle(centre, radius, fill, outline);
    }
    bool takesPictures() const override { return true; }
    // The picture over the page (scaled to it when its size differs).
    bool placePicture(const Image& picture, WorldPoint topLeft, WorldPoint bottomRight) override;

private:
    Image image_;
    RasterCanvas raster_;
};

} // namespace qx
