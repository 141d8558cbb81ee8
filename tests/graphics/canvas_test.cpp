#include "graphics/colour.h"
#include "graphics/image.h"
#include "graphics/pixel_font.h"
#include "graphics/raster_canvas.h"
#include "graphics/recording_canvas.h"

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

using namespace qx;

namespace {

View unitView(int w, int h, Real hw)
{
    View v;
    v.pixWidth = w;
    v.pixHeight = h;
    v.setViewByCenter(0, 0, hw);
    return v;
}

Palette testPalette()
{
    Palette p = defaultPalette();
    p[0] = 0x000000;
    p[1] = 0x0000FF;
    p[60] = 0x00FF00;
    return p;
}

int countColour(const Image& im, Rgb c)
{
    int n = 0;
    for (Rgb p : im.pixels)
        n += (p & 0x00FFFFFFu) == c;
    return n;
}

} // namespace

// Keeps the default circle of Canvas and remembers the polygon it makes.
struct PolygonCanvas : RecordingCanvas {
    using RecordingCanvas::RecordingCanvas;
    std::vector<WorldPoint> last;
    void drawCircle(WorldPoint c, Real r, std::optional<int> fill, const Pen& pen) override
    {
        Canvas::drawCircle(c, r, fill, pen);
    }
    void fillPolygon(std::span<const WorldPoint> p, std::optional<int> fill, const Pen& pen, int hatch) override
    {
        last.assign(p.begin(), p.end());
        RecordingCanvas::fillPolygon(p, fill, pen, hatch);
    }
};

TEST(CircleAndPicture, TheDefaultCircleIsRoundInPixelsAndPicturesAreRefused)
{
    View v;
    v.setPixelSize(201, 101);
    ASSERT_TRUE(v.setViewByCorners(0, 10, 0, 1)); // x and y scales differ twenty-fold
    const Palette p = defaultPalette();
    PolygonCanvas c(v, p);
    c.drawCircle({5, 0.5L}, 2, 3, Pen{4, 1, 0});
    ASSERT_EQ(c.last.size(), 72u);
    const Real cx = (5 - v.xMin) / v.dx, cy = (v.yMax - 0.5L) / v.dy;
    for (const WorldPoint& q : c.last) {
        const Real px = (q.x - v.xMin) / v.dx, py = (v.yMax - q.y) / v.dy;
        EXPECT_NEAR(double(std::hypot(px - cx, py - cy)), double(2 / v.dx), 1e-6);
    }
    EXPECT_EQ(c.count("polygon"), 1u);
    Image picture(4, 4);
    EXPECT_FALSE(c.placePicture(picture, {0, 1}, {1, 0}));
    RecordingCanvas r(v, p);
    r.drawCircle({1, 0.5L}, 0.25L, std::nullopt, Pen{2, 1, 0});
    EXPECT_EQ(r.log.back(), "circle (1,0.5) r 0.25 fill none outline 2");
}

TEST(PaletteRule, IndicesOutsideOneToSixtyMeanBackground)
{
    const Palette p = testPalette();
    EXPECT_EQ(paletteColour(p, 1), 0x0000FFu);
    EXPECT_EQ(paletteColour(p, 60), 0x00FF00u);
    EXPECT_EQ(paletteColour(p, 0), p[0]);
    EXPECT_EQ(paletteColour(p, 61), p[0]);
    EXPECT_EQ(paletteColour(p, -1), p[0]);
    EXPECT_EQ(paletteSlot(32767), 0);
    EXPECT_EQ(makeRgb(0x12, 0x34, 0x56), 0x563412u); // red in the low byte
    EXPECT_EQ(redOf(0x563412), 0x12);
    EXPECT_EQ(blueOf(0x563412), 0x56);
}

TEST(PaletteRule, DefaultPaletteHasDistinctEntries)
{
    const Palette p = defaultPalette();
    EXPECT_EQ(p[0], 0x000000u);
    EXPECT_EQ(p[1], 0xFFFFFFu);
    for (int i = 0; i < kPaletteSize; ++i)
        for (int j = i + 1; j < kPaletteSize; ++j)
            EXPECT_NE(p[static_cast<size_t>(i)], p[static_cast<size_t>(j)]) << i << " " << j;
}

TEST(ImageBuffer, RowMajorLayoutAndArgbCopy)
{
    Image im(3, 2, 0x000000);
    im.set(2, 1, 0x563412);
    EXPECT_EQ(im.pixels[5], 0xFF563412u); // stored opaque: bytes R, G, B, 255
    EXPECT_EQ(im.row(1)[2], 0xFF563412u);
    EXPECT_EQ(im.at(2, 1), 0x563412u);
    EXPECT_EQ(im.pixels[0], 0xFF000000u);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&im.pixels[5]);
    EXPECT_EQ(bytes[0], 0x12); // red first: the byte order of an RGBA8888 image
    EXPECT_EQ(bytes[1], 0x34);
    EXPECT_EQ(bytes[2], 0x56);
    EXPECT_EQ(bytes[3], 0xFF);
    std::vector<uint32_t> argb(6);
    toArgb32(im, argb.data());
    EXPECT_EQ(argb[5], 0xFF123456u);
    EXPECT_EQ(argb[0], 0xFF000000u);
    Image other(3, 2, 7);
    other.copyRows(im, 1, 2);
    EXPECT_EQ(other.at(2, 1), 0x563412u);
    EXPECT_EQ(other.at(0, 0), 7u);
    im.resize(-3, 4);
    EXPECT_TRUE(im.empty());
}

TEST(RecordingCanvas, LogsEachPrimitive)
{
    const View v = unitView(11, 11, 5);
    const Palette p = testPalette();
    RecordingCanvas c(v, p);
    c.drawSegment({0, 0}, {1, 2.5L}, Pen{3, 2, 1});
    const std::vector<WorldPoint> pts{{0, 0}, {1, 1}, {2, 0}};
    c.drawPolyline(pts, Pen{});
    c.fillPolygon(pts, 5, Pen{1, 1, 0}, 2);
    c.drawRect({-1, -1}, {1, 1}, std::nullopt, Pen{14, 1, 0});
    c.drawMark({1, 1}, MarkKind::Box, 4, 9);
    c.drawText({0, 0}, "x", TextStyle{});
    c.drawDotList(pts, 2, std::nullopt, 3);
    c.comment("x axis begin");
    ASSERT_EQ(c.log.size(), 8u);
    EXPECT_EQ(c.log[0], "segment (0,0) (1,2.5) pen(3,2,1)");
    EXPECT_EQ(c.log[1], "polyline 3 (0,0) (1,1) (2,0) pen(1,1,0)");
    EXPECT_EQ(c.log[2], "polygon 3 (0,0) (1,1) (2,0) fill 5 hatch 2 pen(1,1,0)");
    EXPECT_EQ(c.log[3], "rect (-1,-1) (1,1) fill none pen(14,1,0) radii 0,0");
    EXPECT_EQ(c.log[4], "mark box (1,1) size 4 colour 9");
    EXPECT_EQ(c.log[5], "text (0,0) \"x\" colour 1 offset 0,0");
    EXPECT_EQ(c.log[6], "dots 3 (0,0) (1,1) (2,0) fill 2 outline none size 3");
    EXPECT_EQ(c.log[7], "comment x axis begin");
    EXPECT_EQ(c.count("segment"), 1u);
}

TEST(RecordingCanvas, WritesIntoAnExternalSink)
{
    const View v = unitView(11, 11, 5);
    const Palette p = testPalette();
    std::vector<std::string> sink;
    {
        RecordingCanvas c(v, p, &sink);
        c.comment("kept");
    }
    ASSERT_EQ(sink.size(), 1u);
    EXPECT_EQ(sink[0], "comment kept");
}

TEST(RasterCanvas, SegmentsUseTheColourIndexRule)
{
    const View v = unitView(11, 11, 5);
    const Palette p = testPalette();
    Image im(11, 11, 0x123456);
    RasterCanvas c(im, v, p);
    c.drawSegment({-5, 0}, {5, 0}, Pen{1, 1, 0});
    EXPECT_EQ(countColour(im, 0x0000FF), 11);
    EXPECT_EQ(im.at(0, 5), 0x0000FFu);
    EXPECT_EQ(im.at(10, 5), 0x0000FFu);
    c.drawSegment({0, -5}, {0, 5}, Pen{61, 1, 0}); // 61 draws the background entry
    EXPECT_EQ(countColour(im, p[0]), 11);
    EXPECT_EQ(im.at(5, 5), p[0]);
}

TEST(RasterCanvas, LineStylesAreDistinguishable)
{
    const View v = unitView(40, 3, 20);
    const Palette p = testPalette();
    std::vector<std::vector<Rgb>> rows;
    for (int16_t style = 0; style <= 4; ++style) {
        Image im(40, 3, 0);
        RasterCanvas c(im, v, p);
        c.drawSegment({v.xMin, 0}, {v.xMax, 0}, Pen{1, 1, style});
        rows.emplace_back(im.row(1), im.row(1) + 40);
    }
    EXPECT_EQ(std::count(rows[0].begin(), rows[0].end(), 0xFF0000FFu), 40);
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j)
            EXPECT_NE(rows[i], rows[j]) << "styles " << i << " and " << j;
    // Dash: 6 on, 3 off from the start.
    EXPECT_EQ(rows[1][5], 0xFF0000FFu);
    EXPECT_EQ(rows[1][6], 0xFF000000u);
    EXPECT_EQ(rows[1][9], 0xFF0000FFu);
}

TEST(RasterCanvas, FarAwayPointsAreClippedNotWalked)
{
    const View v = unitView(11, 11, 5);
    const Palette p = testPalette();
    Image im(11, 11, 0);
    RasterCanvas c(im, v, p);
    c.drawSegment({-1e30L, 0}, {1e30L, 0}, Pen{1, 1, 0});
    EXPECT_EQ(countColour(im, 0x0000FF), 11);
    c.drawSegment({-1e30L, 1e30L}, {-1e29L, 1e30L}, Pen{60, 1, 0}); // wholly outside
    EXPECT_EQ(countColour(im, 0x00FF00), 0);
}

TEST(RasterCanvas, FilledRectangleAndPolygon)
{
    const View v = unitView(11, 11, 5);
    const Palette p = testPalette();
    Image im(11, 11, 0x111111);
    RasterCanvas c(im, v, p);
    c.drawRect({-2, 2}, {2, -2}, 60, Pen{1, 1, 0});
    // 5 x 5 pixels, the border ring in the outline colour, 3 x 3 filled inside.
    EXPECT_EQ(countColour(im, 0x0000FF), 16);
    EXPECT_EQ(countColour(im, 0x00FF00), 9);
    EXPECT_EQ(im.at(5, 5), 0x00FF00u);
    EXPECT_EQ(im.at(3, 3), 0x0000FFu);
    Image tri(11, 11, 0);
    RasterCanvas t(tri, v, p);
    const std::vector<WorldPoint> pts{{-5, -5}, {5, -5}, {-5, 5}};
    t.fillPolygon(pts, 60, Pen{60, 1, 0}, 0);
    EXPECT_EQ(tri.at(0, 10), 0x00FF00u);
    EXPECT_EQ(tri.at(10, 0), 0u); // the far corner stays empty
    EXPECT_EQ(countColour(tri, 0x00FF00), 66); // rows 0..10 hold 1..11 pixels
}

TEST(RasterCanvas, MarksDotsAndWideLines)
{
    const View v = unitView(11, 11, 5);
    const Palette p = testPalette();
    Image im(11, 11, 0);
    RasterCanvas c(im, v, p);
    c.drawMark({0, 0}, MarkKind::Cross, 2, 1);
    EXPECT_EQ(countColour(im, 0x0000FF), 9);
    im.fill(0);
    c.drawMark({0, 0}, MarkKind::Box, 1, 1);
    EXPECT_EQ(countColour(im, 0x0000FF), 8);
    EXPECT_EQ(im.at(5, 5), 0u);
    im.fill(0);
    const std::vector<WorldPoint> dots{{0, 0}, {3, 3}, {1e30L, 0}};
    c.drawDotList(dots, 60, std::nullopt, 1);
    EXPECT_EQ(countColour(im, 0x00FF00), 2);
    im.fill(0);
    c.drawSegment({-5, 0}, {5, 0}, Pen{1, 3, 0});
    EXPECT_EQ(countColour(im, 0x0000FF), 33);
}

TEST(RasterCanvas, TextInThePixelFont)
{
    const View v = unitView(21, 11, 10);
    const Palette p = testPalette();
    Image im(21, 11, 0);
    RasterCanvas c(im, v, p);
    TextStyle s;
    s.colour = 1;
    s.offsetX = 1;
    s.offsetY = -3;
    c.drawText({-10, 0}, "1-", s); // top-left at column 1, row 2
    // "1": 0x04,0x0C,0x04,0x04,0x04,0x04,0x0E -> 10 pixels; "-": 5 pixels.
    EXPECT_EQ(countColour(im, 0x0000FF), 15);
    EXPECT_EQ(im.at(1 + 2, 2), 0x0000FFu); // top of the "1"
    EXPECT_EQ(im.at(1 + 1, 2), 0u);
    EXPECT_EQ(im.at(7, 5), 0x0000FFu);     // the "-", one advance (6) to the right, row 3
    EXPECT_EQ(im.at(11, 5), 0x0000FFu);
    EXPECT_EQ(im.at(12, 5), 0u);
    // A character without a glyph is a hollow box; pixels off the image are dropped.
    Image box(21, 11, 0);
    RasterCanvas b(box, v, p);
    b.drawText({10, 10}, "Q", s);
    EXPECT_EQ(countColour(box, 0x0000FF), 0);
    b.drawText({-10, v.yMax}, "Q", TextStyle{}); // top-left at (0, 0)
    EXPECT_EQ(countColour(box, 0x0000FF), 20);  // 5 + 5 + 2 * 5 pixels of outline
    EXPECT_EQ(box.at(0, 0), 0x0000FFu);
    EXPECT_EQ(box.at(2, 3), 0u);
    EXPECT_EQ(box.at(4, 6), 0x0000FFu);
    // Every label character has its own glyph, not the box.
    for (unsigned char ch : std::string("0123456789-+.,/eipxyz \xB0"))
        EXPECT_NE(glyphRows(ch), glyphRows('Q')) << ch;
}
