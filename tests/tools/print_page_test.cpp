// Pages for the printer: a window draws its picture at the printer's pixel
// size over the same world rectangle, and leaves its own view alone; a
// black-and-white page holds only black and white, the Mandelbrot set black
// and its bands dithered from the gray sequence, the map tools' basins
// dithered by their kernels.
#include "graphics/export/bmp_page.h"
#include "model/fake_host.h"
#include "tools/mandel/tmanwin.h"
#include "tools/maps/tdycwin.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {

struct Counts {
    int black = 0, white = 0, other = 0;
};

Counts countShades(const Image& page)
{
    Counts n;
    for (int r = 0; r < page.height; ++r)
        for (int c = 0; c < page.width; ++c) {
            const Rgb p = page.at(c, r);
            (p == 0 ? n.black : p == 0xFFFFFF ? n.white : n.other) += 1;
        }
    return n;
}

} // namespace

TEST(PrintPages, MandelbrotPageInColourAndInBlackAndWhite)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(80, 60);
    const View before = win.view();
    const View page = win.pageView(240, 180);
    EXPECT_EQ(page.xMin, before.xMin);
    EXPECT_EQ(page.yMax, before.yMax);
    BmpPageCanvas colour(page, win.palette());
    ASSERT_TRUE(win.drawsPixels());
    ASSERT_TRUE(win.drawPage(colour));
    EXPECT_GT(countShades(colour.image()).other, 240 * 180 / 4); // the bands in colour
    EXPECT_EQ(win.view().pixWidth, 80);                           // the window keeps its own view
    EXPECT_EQ(win.view().xMin, before.xMin);

    win.setBlackAndWhitePages(true);
    BmpPageCanvas gray(page, win.palette());
    ASSERT_TRUE(win.drawPage(gray));
    const Counts n = countShades(gray.image());
    EXPECT_EQ(n.other, 0);
    EXPECT_GT(n.black, 1000);
    EXPECT_GT(n.white, 1000);
    // (-0.2, 0) lies in the main cardioid: the set prints black.
    const PixelPoint inside{static_cast<int32_t>((-0.2L - page.xMin) / page.dx), 90};
    EXPECT_EQ(gray.image().at(inside.x, inside.y), 0u);
}

TEST(PrintPages, MapToolPagesDitherTheirBasins)
{
    FakeHost host;
    TDycWin win;
    win.attach(host);
    win.resize(60, 45);
    win.applyExample(1);
    win.finishRendering();
    const View page = win.pageView(120, 90);
    BmpPageCanvas colour(page, win.palette());
    ASSERT_TRUE(win.drawPage(colour));
    EXPECT_GT(countShades(colour.image()).other, 1000); // in colour first
    win.setBlackAndWhitePages(true);
    BmpPageCanvas gray(page, win.palette());
    ASSERT_TRUE(win.drawPage(gray));
    const Counts n = countShades(gray.image());
    EXPECT_EQ(n.other, 0);
    EXPECT_GT(n.black, 100);
    EXPECT_GT(n.white, 100);
}
