#include "graphics/view.h"
#include "graphics/view_ops.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qx;

namespace {

View makeView(int w, int h, Real cx, Real cy, Real hw)
{
    View v;
    v.pixWidth = w;
    v.pixHeight = h;
    EXPECT_TRUE(v.setViewByCenter(cx, cy, hw));
    return v;
}

} // namespace

TEST(ViewMapping, CornersMapToFirstAndLastPixel)
{
    const View v = makeView(11, 5, 0, 0, 5); // dx = 1, halfHeight = 5 * 5 / 11
    EXPECT_EQ(v.xToPixel(-5), 0);
    EXPECT_EQ(v.xToPixel(5), 10);
    EXPECT_EQ(v.yToPixel(v.yMax), 0);
    EXPECT_EQ(v.yToPixel(v.yMin), 4);
    EXPECT_EQ(v.dx, 1);
    EXPECT_NEAR(static_cast<double>(v.halfHeight), 25.0 / 11, 1e-15);
    EXPECT_EQ(v.pixelToX(0), -5);
    EXPECT_EQ(v.pixelToX(10), 5);
    EXPECT_EQ(v.pixelToY(0), v.yMax);
}

TEST(ViewMapping, HalfWayBetweenColumnsGoesToTheLowerOne)
{
    const View v = makeView(11, 11, 0, 0, 5);
    EXPECT_EQ(v.xToPixel(-2.5L), 2);  // c = 2.5
    EXPECT_EQ(v.xToPixel(-2.49L), 3); // c = 2.51
    EXPECT_EQ(v.yToPixel(2.5L), 2);   // r = 2.5
    EXPECT_EQ(v.xToPixelF(-2.5L), 2.5L);
}

TEST(ViewMapping, OutsidePointsIgnoreTheOrigin)
{
    View v = makeView(11, 11, 0, 0, 5);
    v.originX = 40;
    v.originY = 7;
    EXPECT_EQ(v.xToPixel(-6), -1);
    EXPECT_EQ(v.xToPixel(7), 12); // W + 1
    EXPECT_EQ(v.yToPixel(9), -1);
    EXPECT_EQ(v.yToPixel(-9), 12);
    EXPECT_EQ(v.xToPixel(__builtin_nanl("")), -1);
    EXPECT_EQ(v.xToPixel(0), 45);
    EXPECT_EQ(v.yToPixel(0), 12);
    // Between column W-1 and W the point still counts as inside.
    int32_t col = 0;
    EXPECT_TRUE(v.xToPixelClamped(5.6L, col));
    EXPECT_EQ(col, 51);
    EXPECT_FALSE(v.xToPixelClamped(-0.1L - 5, col));
    EXPECT_EQ(col, -1);
    EXPECT_FALSE(v.yToPixelClamped(-6.5L, col));
    EXPECT_EQ(col, 12);
}

TEST(ViewMapping, MapPointReportsWhetherBothAreInside)
{
    const View v = makeView(11, 11, 0, 0, 5);
    PixelPoint p;
    EXPECT_TRUE(v.mapPoint(1, 1, p));
    EXPECT_EQ(p, (PixelPoint{6, 4}));
    EXPECT_FALSE(v.mapPoint(1, 100, p));
    EXPECT_EQ(p, (PixelPoint{6, -1}));
    EXPECT_FALSE(v.mapPoint(-100, -100, p));
    EXPECT_EQ(p, (PixelPoint{-1, 12}));
}

TEST(ViewMapping, ThreePixelViewPitchIsTheHalfWidth)
{
    const View v = makeView(3, 3, 1, 0, 2);
    EXPECT_EQ(v.dx, 2);
    EXPECT_EQ(v.pixelToX(0), -1);
    EXPECT_EQ(v.pixelToX(1), 1);
    EXPECT_EQ(v.pixelToX(2), 3);
}

TEST(ViewMapping, OnePixelViewStaysFinite)
{
    View v = makeView(1, 1, 0, 0, 1);
    EXPECT_TRUE(std::isfinite(v.dx));
    EXPECT_TRUE(std::isfinite(v.invDy));
    v.setPixelSize(0, -4);
    EXPECT_EQ(v.pixWidth, 1);
    EXPECT_EQ(v.pixHeight, 1);
}

TEST(ViewMapping, InViewUsesTheInnerFrameWhenOn)
{
    View v = makeView(11, 11, 0, 0, 5);
    EXPECT_TRUE(v.inView(5, -5));
    EXPECT_FALSE(v.inView(5.01L, 0));
    v.innerFrameOn = true;
    v.innerFrame = {-1, 1, -2, 2};
    EXPECT_FALSE(v.inView(3, 0));
    EXPECT_TRUE(v.inView(1, 2));
}

TEST(ViewMapping, RectanglesClampToTheDrawingArea)
{
    const View v = makeView(11, 11, 0, 0, 5);
    const PixelRect r = v.rectToPixels({-100, 2, -1, 100});
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 7);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 6);
    const WorldRect w = v.pixelsToRect({0, 0, 10, 10});
    EXPECT_EQ(w.left, -5);
    EXPECT_EQ(w.right, 5);
    EXPECT_EQ(w.up, 5);
    EXPECT_EQ(w.down, -5);
}

TEST(ViewKinds, CornersChangeAspectAndCentreKeepsIt)
{
    View v;
    v.pixWidth = 101;
    v.pixHeight = 51;
    ASSERT_TRUE(v.setViewByCorners(-2, 2, -1, 3)); // 4 wide, 4 high on 101 x 51 pixels
    EXPECT_TRUE(v.byCorners);
    EXPECT_NEAR(static_cast<double>(v.aspect), 101.0 * 4 / (4 * 51), 1e-15);
    EXPECT_EQ(v.centerY, 1);
    EXPECT_EQ(v.halfHeight, 2);
    const Real aspect = v.aspect;
    ASSERT_TRUE(v.setViewByCenter(0, 0, 1));
    EXPECT_FALSE(v.byCorners);
    EXPECT_EQ(v.aspect, aspect);
    EXPECT_NEAR(static_cast<double>(v.halfHeight), 51.0 * static_cast<double>(aspect) / 101, 1e-15);
    EXPECT_NEAR(static_cast<double>(v.yMax - v.yMin), 2.0, 1e-15); // the same world height per width
}

TEST(ViewKinds, BadRectanglesAreRefused)
{
    View v = makeView(11, 11, 0, 0, 5);
    const View before = v;
    EXPECT_FALSE(v.setViewByCorners(1, 1, 0, 1));
    EXPECT_FALSE(v.setViewByCorners(0, 1, 2, 1));
    EXPECT_FALSE(v.setViewByCenter(0, 0, 0));
    EXPECT_FALSE(v.setViewByCenter(__builtin_infl(), 0, 1));
    EXPECT_EQ(v.xMin, before.xMin);
    EXPECT_EQ(v.halfWidth, before.halfWidth);
    EXPECT_FALSE(v.byCorners);
}

TEST(InnerFrameClipping, AxisParallelSegmentsArePulledIn)
{
    View v = makeView(11, 11, 0, 0, 5);
    v.innerFrameOn = true;
    v.innerFrame = {-1, 1, -2, 2};
    WorldPoint a{-5, 0}, b{5, 0};
    ASSERT_TRUE(clipToInnerFrame(v, a, b));
    EXPECT_EQ(a.x, -1);
    EXPECT_EQ(b.x, 1);
    WorldPoint c{0.5L, 9}, d{0.5L, -9};
    ASSERT_TRUE(clipToInnerFrame(v, c, d));
    EXPECT_EQ(c.y, 2);
    EXPECT_EQ(d.y, -2);
    WorldPoint e{-5, 3}, f{5, 3}; // above the frame
    EXPECT_FALSE(clipToInnerFrame(v, e, f));
    WorldPoint g{3, 0}, h{4, 0}; // right of the frame
    EXPECT_FALSE(clipToInnerFrame(v, g, h));
    WorldPoint i{-5, -5}, j{5, 5}; // slanted: unchanged
    EXPECT_TRUE(clipToInnerFrame(v, i, j));
    EXPECT_EQ(i.x, -5);
    v.innerFrameOn = false;
    EXPECT_TRUE(clipToInnerFrame(v, e, f));
    EXPECT_EQ(e.x, -5);
}

TEST(ViewOperations, ZoomShiftAndHistory)
{
    View v = makeView(11, 11, 0, 0, 5);
    ASSERT_TRUE(scaleView(v, 2));
    EXPECT_EQ(v.halfWidth, 10);
    EXPECT_EQ(v.centerX, 0);
    ASSERT_TRUE(zoomViewAt(v, {1, -1}, 10));
    EXPECT_EQ(v.halfWidth, 1);
    EXPECT_EQ(v.centerX, 1);
    EXPECT_EQ(v.centerY, -1);
    ASSERT_TRUE(shiftView(v, 0.5L, 0.25L));
    EXPECT_EQ(v.centerX, 1.5L);
    EXPECT_EQ(v.centerY, -0.75L);
    EXPECT_FALSE(scaleView(v, 0));
    EXPECT_FALSE(zoomViewAt(v, {0, 0}, -1));
    EXPECT_EQ(v.halfWidth, 1);
}

TEST(ViewOperations, ZoomKeepsACornerViewByCorners)
{
    View v;
    v.pixWidth = 21;
    v.pixHeight = 11;
    ASSERT_TRUE(v.setViewByCorners(0, 4, 0, 1));
    ASSERT_TRUE(scaleView(v, 0.5L));
    EXPECT_TRUE(v.byCorners);
    EXPECT_EQ(v.xMin, 1);
    EXPECT_EQ(v.xMax, 3);
    EXPECT_EQ(v.yMin, 0.25L);
    EXPECT_EQ(v.yMax, 0.75L);
}

TEST(ViewOperations, LastWindowRestoresWithTheCurrentSize)
{
    ViewHistory h;
    View v = makeView(11, 11, 0, 0, 5);
    EXPECT_FALSE(h.pop(v));
    h.push(v);
    ASSERT_TRUE(zoomViewAt(v, {2, 2}, 10));
    v.setPixelSize(21, 21);
    ASSERT_TRUE(h.pop(v));
    EXPECT_EQ(v.centerX, 0);
    EXPECT_EQ(v.halfWidth, 5);
    EXPECT_EQ(v.pixWidth, 21);
    EXPECT_EQ(v.dx, 0.5L);
    for (size_t i = 0; i < ViewHistory::kDepth + 5; ++i)
        h.push(v);
    EXPECT_EQ(h.size(), ViewHistory::kDepth);
}
