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

// The window's page drawn in colour (its count of other shades), then in
// black and white (the returned counts and image).
struct Pages {
    int colourOther = 0;
    Counts gray;
    Image grayImage;
};
template <class Win>
Pages drawBothPages(Win& win, const View& page)
{
    Pages out;
    BmpPageCanvas colour(page, win.palette());
    EXPECT_TRUE(win.drawPage(colour));
    out.colourOther = countShades(colour.image()).other;
    win.setBlackAndWhitePages(true);
    BmpPageCanvas gray(page, win.palette());
    EXPECT_TRUE(win.drawPage(gray));
    out.gray = countShades(gray.image());
    out.grayImage = gray.image();
    return out;
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
    ASSERT_TRUE(win.drawsPixels());
    const Pages pages = drawBothPages(win, page);
    EXPECT_GT(pages.colourOther, 240 * 180 / 4); // the bands in colour
    EXPECT_EQ(win.view().pixWidth, 80);           // the window keeps its own view
    EXPECT_EQ(win.view().xMin, before.xMin);
    EXPECT_EQ(pages.gray.other, 0);
    EXPECT_GT(pages.gray.black, 1000);
    EXPECT_GT(pages.gray.white, 1000);
    // (-0.2, 0) lies in the main cardioid: the set prints black.
    const PixelPoint inside{static_cast<int32_t>((-0.2L - page.xMin) / page.dx), 90};
    EXPECT_EQ(pages.grayImage.at(inside.x, inside.y), 0u);
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
    const Pages pages = drawBothPages(win, page);
    EXPECT_GT(pages.colourOther, 1000); // in colour first
    EXPECT_EQ(pages.gray.other, 0);
    EXPECT_GT(pages.gray.black, 100);
    EXPECT_GT(pages.gray.white, 100);
}
