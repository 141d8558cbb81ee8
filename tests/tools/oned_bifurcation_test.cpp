// Bifurcation diagrams: the settings rules, the counts after a zoom, the
// diagram's points (one for a fixed point, two for a 2-cycle), the overlay
// and the documents.
#include "model/common_header.h"
#include "model/fake_host.h"
#include "tools/oned/tbifwin.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qx;

namespace {

struct BifFixture : ::testing::Test {
    FakeHost host;
    TBifWin win{false};
    void SetUp() override
    {
        win.attach(host);
        win.resize(301, 101);
        win.applyDefault(0); // rx(1-x), r in [1, 4], x in [0, 1]
        ASSERT_EQ(win.applyTexts({"100", "300", "1", "0.3"}), 0);
        win.setOverlay("1-1/r", false);
    }
    // Lit pixels of column px (figure image), from the top.
    int litInColumn(int px)
    {
        const Image& im = win.figureImage();
        int n = 0;
        for (int y = 0; y < im.height; ++y)
            n += (im.at(px, y) & 0xFFFFFFu) != (im.at(0, 0) & 0xFFFFFFu);
        return n;
    }
    int column(Real r) { return static_cast<int>(std::lround((r - win.view().xMin) * win.view().invDx)); }
};

} // namespace

TEST_F(BifFixture, SettingsAndZoomCounts)
{
    EXPECT_EQ(win.mappingText(), "rx(1-x)");
    EXPECT_EQ(win.applyTexts({"0", "100", "1", "0.5"}), 1);
    EXPECT_EQ(win.applyTexts({"100", "100", "x", "0.5"}), 1);
    EXPECT_NE(win.applyTexts({"100", "100", "1", "1/0"}), 0);
    EXPECT_EQ(win.seed(), 0.3L); // nothing changed
    ASSERT_EQ(win.applyTexts({"150", "200", "2", "0.25"}), 0);
    win.rescaleCounts(0.1L); // 10x closer: k = 3
    EXPECT_EQ(win.plotted(), 450);
    EXPECT_EQ(win.skipped(), 600);
    win.rescaleCounts(2); // zooming out: back to 100
    EXPECT_EQ(win.plotted(), 100);
    EXPECT_EQ(win.skipped(), 100);
    EXPECT_EQ(win.setMapping("rx(1-"), 108);
    EXPECT_EQ(win.mappingText(), "rx(1-x)");
}

TEST_F(BifFixture, FixedPointsTwoCyclesAndChaos)
{
    paintAndFinish(win);
    EXPECT_EQ(litInColumn(column(2.5L)), 1);  // the fixed point 0.6
    EXPECT_EQ(litInColumn(column(3.2L)), 2);  // the 2-cycle
    EXPECT_GT(litInColumn(column(3.9L)), 20); // chaos
    // The overlay: off, nothing over the figure; on, the curve 1 - 1/r.
    EXPECT_EQ(win.picture().pixels, win.figureImage().pixels);
    ASSERT_EQ(win.setOverlay("1-1/r", true), 0);
    EXPECT_TRUE(win.overlayOn());
    paintAndFinish(win);
    EXPECT_NE(win.picture().pixels, win.figureImage().pixels);
    EXPECT_NE(win.setOverlay("1-/r", true), 0); // refused: the overlay stays off
    EXPECT_FALSE(win.overlayOn());
    EXPECT_EQ(win.overlayText(), "1-/r");
}

TEST_F(BifFixture, DocumentsRoundTrip)
{
    ASSERT_EQ(win.setOverlay("1-1/r", true), 0);
    ASSERT_EQ(win.applyTexts({"120", "250", "2", "0.4"}), 0);
    ByteWriter w;
    win.writeBody(w);
    TBifWin other(false);
    other.attach(host);
    ByteReader r(w.data());
    CommonHeader h;
    ASSERT_EQ(other.readBody(r, h), 0);
    EXPECT_EQ(other.mappingText(), "rx(1-x)");
    EXPECT_TRUE(other.overlayOn());
    EXPECT_EQ(other.plotted(), 120);
    EXPECT_EQ(other.seed(), 0.4L);
    EXPECT_EQ(other.view().xMin, win.view().xMin);
    ByteWriter again;
    other.writeBody(again);
    EXPECT_EQ(again.data(), w.data());
    for (size_t n = 0; n < w.data().size(); n += 61) {
        ByteReader cut(w.data().data(), n);
        TBifWin third(false);
        EXPECT_NE(third.readBody(cut, h), 0) << n;
    }
}

TEST_F(BifFixture, DragZoomRescalesTheCountsAndSlidesKeepTheDiagram)
{
    ASSERT_EQ(win.applyTexts({"200", "500", "2", "0.3"}), 0);
    // A rectangle a tenth of the view's height: k = 3.
    const View before = win.view();
    win.mouseDown(MouseButton::Left, {100, 40});
    win.mouseMove({160, 50});
    EXPECT_TRUE(win.draggingZoom());
    win.mouseUp(MouseButton::Left, {160, 50});
    EXPECT_FALSE(win.draggingZoom());
    EXPECT_EQ(win.plotted(), 600);
    EXPECT_EQ(win.skipped(), 1500);
    EXPECT_NEAR(static_cast<double>(win.view().yMax - win.view().yMin),
                static_cast<double>((before.yMax - before.yMin) / 10), 1e-12);
    EXPECT_NEAR(static_cast<double>(win.view().xMin), static_cast<double>(before.pixelToX(100)), 1e-12);
    // A click without a drag is no zoom.
    win.mouseDown(MouseButton::Left, {10, 10});
    win.mouseUp(MouseButton::Left, {11, 11});
    EXPECT_EQ(win.plotted(), 600);

    // The slide keeps counts, density, seed and the view by its corners.
    win.addSlide();
    const View zoomed = win.view();
    win.applyDefault(0);
    ASSERT_EQ(win.applyTexts({"100", "100", "1", "0.5"}), 0);
    ByteWriter w;
    win.writeBody(w);
    TBifWin other(false);
    other.attach(host);
    other.resize(301, 101);
    ByteReader r(w.data());
    CommonHeader h;
    ASSERT_EQ(other.readBody(r, h), 0);
    ASSERT_EQ(other.slides().size(), 1u);
    ASSERT_EQ(other.makeSlides(), 0);
    paintAndFinish(other);
    EXPECT_EQ(other.plotted(), 600);
    EXPECT_EQ(other.skipped(), 1500);
    EXPECT_EQ(other.seed(), 0.3L);
    EXPECT_NEAR(static_cast<double>(other.view().yMin), static_cast<double>(zoomed.yMin), 1e-15);
    EXPECT_NEAR(static_cast<double>(other.view().yMax), static_cast<double>(zoomed.yMax), 1e-15);
    EXPECT_NEAR(static_cast<double>(other.view().xMax), static_cast<double>(zoomed.xMax), 1e-15);
}

TEST_F(BifFixture, ZoomSlidesRescaleTheCountsSlideBySlide)
{
    ASSERT_EQ(win.applyTexts({"200", "500", "1", "0.3"}), 0);
    EXPECT_EQ(win.addZoomSlides(0, 0.1L), ErrOutOfBounds);
    EXPECT_EQ(win.addZoomSlides(3, 0), ErrOutOfBounds);
    EXPECT_TRUE(win.slides().empty());
    ASSERT_EQ(win.addZoomSlides(2, 0.1L), 0);
    ASSERT_EQ(win.slides().size(), 2u);
    const Slide& first = win.slides()[0];
    EXPECT_EQ(first.maxReps, 600); // plotted, 3x for a 10x zoom
    EXPECT_EQ(first.extra[0], 1500); // skipped
    EXPECT_EQ(win.slides()[1].maxReps, 1800);
    EXPECT_NEAR(static_cast<double>(win.slides()[1].halfWidth), static_cast<double>(win.view().halfWidth / 100),
                1e-15);
    EXPECT_NEAR(static_cast<double>(first.extra[2]), static_cast<double>(win.view().halfHeight / 10), 1e-15);
    EXPECT_EQ(win.plotted(), 200); // the window itself is unchanged
}

TEST_F(BifFixture, ColumnsOfAPassAndEscapingOrbits)
{
    // Density 2 on a 500-pixel-wide window: 2 x 500 + 1 columns.
    win.resize(500, 100);
    ASSERT_EQ(win.applyTexts({"100", "100", "2", "0.3"}), 0);
    long long columns = 0, total = 0;
    ASSERT_EQ(win.diagramPass(nullptr, [&](std::vector<WorldPoint>&, long long, long long all) {
        ++columns;
        total = all;
    }), 0);
    EXPECT_EQ(columns, 1001);
    EXPECT_EQ(total, 1001);
    // xx+r a little above 0.25: every orbit escapes past 10000, so no column has a point.
    win.applyDefault(1);
    ASSERT_EQ(win.applyTexts({"100", "100", "1", "0"}), 0);
    win.zoomToRectangle({0.26L, 0.27L, -2, 2});
    size_t points = 0;
    ASSERT_EQ(win.diagramPass(nullptr, [&](std::vector<WorldPoint>& p, long long, long long) { points += p.size(); }),
              0);
    EXPECT_EQ(points, 0u);
    // Just below 0.25 the orbit settles near 0.5: points again.
    win.zoomToRectangle({0.2496L, 0.2498L, -2, 2});
    ASSERT_EQ(win.diagramPass(nullptr, [&](std::vector<WorldPoint>& p, long long, long long) { points += p.size(); }),
              0);
    EXPECT_GT(points, 0u);
}
