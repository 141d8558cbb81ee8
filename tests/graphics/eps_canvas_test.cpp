// EPS output: the exact text of every emitter, the header and dash table,
// page file names, and a real PostScript interpreter reading the result.
#include "graphics/export/eps_canvas.h"
#include "graphics/export/page_writer.h"
#include "base/file_io.h"
#include "support/ghostscript.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace qx;

namespace {

// A 641 x 481 window showing [0, 640] x [0, 480]: one world unit per pixel,
// 0.75 points per world unit at 96 dpi.
struct EpsFixture : ::testing::Test {
    View view;
    Palette palette = defaultPalette();
    EpsSetup setup;
    EpsLayout layout;
    void SetUp() override
    {
        view.setPixelSize(641, 481);
        ASSERT_TRUE(view.setViewByCorners(0, 640, 0, 480));
        setup.title = "pic.eps";
        setup.date = "Sunday, December 6, 2026";
        ASSERT_TRUE(buildEpsLayout(view, setup, layout));
        palette[5] = makeRgb(255, 128, 0);
    }
    std::string draw(const std::function<void(EpsCanvas&)>& f)
    {
        EpsCanvas c(view, palette, setup, layout);
        f(c);
        return c.text();
    }
};

int countOf(const std::string& s, const std::string& what)
{
    int n = 0;
    for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1))
        ++n;
    return n;
}

TEST_F(EpsFixture, CirclesAreTrueArcs)
{
    const std::string t = draw([](EpsCanvas& c) { c.drawCircle({320, 240}, 10, 5, Pen{1, 1, 0}); });
    EXPECT_EQ(countOf(t, " 0 360 arc"), 1) << t;
    EXPECT_EQ(countOf(t, "% begin circle fill"), 1);
    EXPECT_EQ(draw([](EpsCanvas& c) { c.drawCircle({320, 240}, 10, std::nullopt, Pen{-1, 1, 0}); }), "");
}

} // namespace

TEST_F(EpsFixture, HeaderLinesAndBoundingBox)
{
    EXPECT_EQ(layout.widthPt, 480);
    EXPECT_EQ(layout.heightPt, 360);
    EXPECT_EQ(epsHeader(layout, setup), "%!PS-Adobe-3.0 EPSF-3.0\r\n"
                                        "%%BoundingBox: 0 0 480 360\r\n"
                                        "%%Creator: (Zumbar)\r\n"
                                        "%%Title: (pic.eps)\r\n"
                                        "%%CreationDate:(Sunday, December 6, 2026)\r\n"
                                        "%%Pages: 1\r\n"
                                        "%%Page: 1 1\r\n"
                                        "0.32 setlinewidth\r\n");
    EXPECT_STREQ(kEpsTrailer, "%%EOF\r\n");
}

TEST_F(EpsFixture, DashTableFollowsTheScreenResolution)
{
    EXPECT_EQ(layout.dash[0], "[] 0 setdash");
    EXPECT_EQ(layout.dash[1], "[3 3] 0 setdash");
    EXPECT_EQ(layout.dash[2], "[15 5] 0 setdash");
    EXPECT_EQ(layout.dash[3], "[2 4 6 4] 0 setdash");
    EXPECT_EQ(layout.dash[4], "[2 2 6 2 2 2] 0 setdash");
    EpsSetup hi = setup;
    hi.dpi = 300; // 0.24 points per pixel: every entry falls to the minimum of 2
    EpsLayout l;
    ASSERT_TRUE(buildEpsLayout(view, hi, l));
    EXPECT_EQ(l.dash[2], "[6 2] 0 setdash");
}

TEST_F(EpsFixture, NarrowWindowsCannotBeExported)
{
    View one = view;
    one.setPixelSize(1, 100);
    EpsLayout l;
    EXPECT_FALSE(buildEpsLayout(one, setup, l));
}

TEST_F(EpsFixture, SegmentAndPolyline)
{
    EXPECT_EQ(draw([](EpsCanvas& c) { c.drawSegment({100, 200}, {300, 40}, Pen{5, 3, 1}); }),
              "1.000 0.502 0.000 setrgbcolor\r\n0.96 setlinewidth\r\n[3 3] 0 setdash\r\n"
              "newpath\r\n75.000 150.000 moveto\r\n225.000 30.000 lineto\r\nstroke\r\n");
    const WorldPoint pts[3] = {{0, 0}, {4, 0}, {4, 8}};
    EXPECT_EQ(draw([&](EpsCanvas& c) { c.drawPolyline(pts, Pen{1, 0, 0}); }),
              "newpath\r\n0.000 0.000 moveto\r\n3.000 0.000 lineto\r\n3.000 6.000 lineto\r\n"
              "1.000 1.000 1.000 setrgbcolor\r\n0.00 setlinewidth\r\n[] 0 setdash\r\nstroke\r\n");
}

TEST_F(EpsFixture, FilledPolygonIsClosedFilledThenStroked)
{
    const WorldPoint pts[3] = {{0, 0}, {4, 0}, {4, 8}};
    EXPECT_EQ(draw([&](EpsCanvas& c) { c.fillPolygon(pts, 5, Pen{1, 1, 2}, 0); }),
              "newpath\r\n0.000 0.000 moveto\r\n3.000 0.000 lineto\r\n3.000 6.000 lineto\r\n0.000 0.000 lineto\r\n"
              "gsave\r\n1.000 0.502 0.000 setrgbcolor\r\nfill\r\ngrestore\r\n[15 5] 0 setdash\r\n"
              "1.000 1.000 1.000 setrgbcolor\r\n0.32 setlinewidth\r\nstroke\r\n");
}

TEST_F(EpsFixture, RoundedRectangleAndPlainRectangle)
{
    const std::string plain = draw([](EpsCanvas& c) { c.roundRect({0, 0}, {8, 4}, 0, std::nullopt, Pen{1, 1, 0}); });
    EXPECT_EQ(countOf(plain, " lineto\r\n") + countOf(plain, " moveto\r\n"), 5);
    EXPECT_EQ(countOf(plain, " arc\r\n"), 0);
    EXPECT_EQ(plain.substr(0, 40), "newpath\r\n6.000 3.000 moveto\r\n0.000 3.000");
    const std::string round = draw([](EpsCanvas& c) { c.roundRect({8, 4}, {0, 0}, 2, 5, Pen{1, 1, 0}); });
    EXPECT_EQ(countOf(round, " arc\r\n"), 4);
    EXPECT_NE(round.find("4.500 1.500 1.500 0 90 arc\r\n"), std::string::npos);
    EXPECT_NE(round.find("gsave\r\n1.000 0.502 0.000 setrgbcolor\r\nfill\r\ngrestore\r\n"), std::string::npos);
}

TEST_F(EpsFixture, CirclesInTheirThreeForms)
{
    const Pen pen{1, 1, 0};
    EXPECT_EQ(draw([&](EpsCanvas& c) { c.circle({4, 4}, 2, 5, -1, pen); }),
              "% begin circle fill\r\nnewpath\r\n3.000 3.000 1.500 0 360 arc\r\n"
              "1.000 0.502 0.000 setrgbcolor\r\nfill\r\n");
    EXPECT_EQ(draw([&](EpsCanvas& c) { c.circle({4, 4}, 2, -1, 1, pen); }),
              "newpath\r\n3.000 3.000 1.500 0 360 arc\r\n0.32 setlinewidth\r\n[] 0 setdash\r\n"
              "1.000 1.000 1.000 setrgbcolor\r\nstroke\r\n");
    const std::string both = draw([&](EpsCanvas& c) { c.circle({4, 4}, 2, 5, 1, pen); });
    EXPECT_EQ(both.find("% begin circle fill\r\nnewpath\r\n3.000 3.000 1.500 0 360 arc\r\ngsave\r\n"), 0u);
    EXPECT_EQ(draw([&](EpsCanvas& c) { c.circle({4, 4}, 2, -1, -1, pen); }), "");
}

TEST_F(EpsFixture, TextRotationFontAndEscaping)
{
    TextStyle style;
    style.colour = 5;
    style.face = "Times New Roman";
    style.size = 14;
    EXPECT_EQ(draw([&](EpsCanvas& c) { c.drawText({4, 8}, "x(1)\\y", style); }),
              "/Times-New-Roman findfont\r\n14 scalefont setfont\r\n3.000 6.000 moveto\r\n"
              "1.000 0.502 0.000 setrgbcolor\r\n(x\\(1\\)\\\\y) show\r\n");
    style.angleTenths = 450;
    style.italic = true;
    const std::string turned = draw([&](EpsCanvas& c) { c.drawText({4, 8}, "a", style); });
    EXPECT_EQ(turned.find("/Times-New-Roman-Italic findfont\r\n"), 0u);
    EXPECT_LT(turned.find("45 rotate\r\n"), turned.find("(a) show"));
    EXPECT_GT(turned.find("-45 rotate\r\n"), turned.find("(a) show"));
}

TEST_F(EpsFixture, CommentsAndMarks)
{
    EXPECT_EQ(draw([](EpsCanvas& c) { c.comment("x axis begin"); }), "% x axis begin\r\n");
    const std::string cross = draw([](EpsCanvas& c) { c.drawMark({8, 8}, MarkKind::Cross, 4, 1); });
    EXPECT_EQ(countOf(cross, "stroke\r\n"), 2);
    const std::string box = draw([](EpsCanvas& c) { c.drawMark({8, 8}, MarkKind::Box, 4, 1); });
    EXPECT_EQ(countOf(box, " lineto\r\n"), 4); // closed path
}

TEST(PageFileNames, PaddedToTheDigitsOfThePageCount)
{
    EXPECT_EQ(pageFileName("/p/web", 0, 1, ".eps"), "/p/web.eps");
    EXPECT_EQ(pageFileName("/p/web", 0, 10, ".svg"), "/p/web00.svg");
    EXPECT_EQ(pageFileName("/p/web", 9, 10, ".svg"), "/p/web09.svg");
    EXPECT_EQ(pageFileName("web", 8, 9, ".tex"), "web8.tex");
    EXPECT_EQ(pageFileName("web", 99, 100, ".tex"), "web099.tex");
    EXPECT_EQ(pageDigits(999999), 6);
    EXPECT_EQ(pageDigits(1000000), 6);
    EXPECT_EQ(bareName("/p/q/fig.eps"), "fig");
    EXPECT_EQ(withoutExtension("/p/q/fig.eps"), "/p/q/fig");
}

TEST(PageWriterOverwrite, AskedOnceAndRefusalKeepsTheFile)
{
    const auto dir = std::filesystem::temp_directory_path() / ("qx_eps_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string a = (dir / "a.eps").string(), b = (dir / "b.eps").string();
    ASSERT_TRUE(writeFileAtomically(a, std::string("old")));
    ASSERT_TRUE(writeFileAtomically(b, std::string("old")));
    int asked = 0;
    PageWriter refuse([&](const std::string& q) { ++asked; EXPECT_EQ(q, "overwrite existing file?"); return false; });
    EXPECT_FALSE(refuse.write(a, "new"));
    std::vector<uint8_t> data;
    ASSERT_TRUE(readWholeFile(a, data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "old");
    PageWriter accept([&](const std::string&) { ++asked; return true; });
    EXPECT_TRUE(accept.write(a, "new a"));
    EXPECT_TRUE(accept.write(b, "new b")); // later pages overwrite silently
    EXPECT_EQ(asked, 2);
    ASSERT_TRUE(readWholeFile(b, data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "new b");
    std::filesystem::remove_all(dir);
}

TEST_F(EpsFixture, GhostscriptRendersThePage)
{
    const auto dir = std::filesystem::temp_directory_path() / ("qx_gs_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string eps = (dir / "page.eps").string();
    palette[0] = makeRgb(255, 255, 255);
    palette[6] = makeRgb(255, 0, 0);
    std::string body = draw([&](EpsCanvas& c) {
        c.roundRect({0, 0}, {640, 480}, 0, 0, Pen{0, 1, 0}); // the background
        c.fillPolygon(std::vector<WorldPoint>{{100, 100}, {300, 100}, {300, 300}, {100, 300}}, 6, Pen{6, 1, 0}, 0);
        c.drawSegment({0, 0}, {640, 480}, Pen{1, 2, 3});
        TextStyle t;
        t.face = "Helvetica";
        c.drawText({400, 400}, "label (with) \\ specials", t);
        c.circle({500, 100}, 20, 6, 1, Pen{1, 1, 0});
    });
    ASSERT_TRUE(writeFileAtomically(eps, epsHeader(layout, setup) + body + kEpsTrailer));
    const test::Ppm page = test::ghostscript(eps, 72);
    ASSERT_EQ(page.w, 480);
    ASSERT_EQ(page.h, 360);
    auto at = [&](int x, int y) { return page.at(x, y); };
    // World (200, 200) is page point (150, 150): inside the red square, 210 rows from the top.
    EXPECT_EQ(at(150, 360 - 150), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(at(400, 360 - 50), (std::array<int, 3>{255, 255, 255}));
    std::filesystem::remove_all(dir);
}
