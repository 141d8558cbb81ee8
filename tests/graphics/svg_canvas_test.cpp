// The SVG writer, piece by piece: colours, the header, lines with dashes,
// paths with subpaths, polygons, hatch patterns and their limit, rectangles,
// turned labels; and a page read by rsvg-convert.
#include "graphics/export/svg_canvas.h"

#include "export_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace qx;

namespace {

using SvgFixture = test::PageFixture;

} // namespace

TEST_F(SvgFixture, ColoursHeaderAndLines)
{
    EXPECT_EQ(rgbHex(0xC8000Au), "#0a00c8");
    EXPECT_EQ(rgbHex(0xFFFFFFu), "#ffffff");
    EXPECT_EQ(svgHeader(640, 480, "Zumbar"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
              "<svg version=\"1.1\"\r\n"
              "baseProfile=\"full\"\r\n"
              "width=\"640\" height=\"480\"\r\n"
              "viewBox=\"0 0 640 480\" preserveAspectRatio=\"defer xMidYMid meet\"\r\n"
              "xmlns=\"http://www.w3.org/2000/svg\"\r\n"
              "xmlns:xlink=\"http://www.w3.org/1999/xlink\"\r\n"
              "xmlns:ev=\"http://www.w3.org/2001/xml-events\">\r\n"
              "<title>Zumbar</title>\r\n");
    SvgCanvas c(view, palette, "t");
    c.drawSegment({10, 90}, {20, 80}, Pen{1, 0, PenSolid});
    c.drawSegment({10, 90}, {20, 80}, Pen{2, 3, PenDashDot});
    EXPECT_EQ(c.body(), "<line x1=\"10\" y1=\"10\" x2=\"20\" y2=\"20\" stroke=\"#0a00c8\" stroke-width=\"1px\" />\r\n"
                        "<line x1=\"10\" y1=\"10\" x2=\"20\" y2=\"20\" stroke=\"#00ff00\" stroke-width=\"3px\""
                        " stroke-dasharray=\"2,4,6,4\" />\r\n");
}

TEST_F(SvgFixture, PathsPolygonsPatternsAndRectangles)
{
    SvgCanvas c(view, palette, "t");
    const std::pair<long, long> three[] = {{10, 20}, {30, 40}, {50, 60}};
    c.path(three, 0xFF0000, 2);
    const std::pair<long, long> four[] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    c.path(four, 0xFF0000, 1, "MLML");
    EXPECT_EQ(c.body(), "<path d=\"M 10 20 L 30 40 50 60\" fill=\"none\" stroke=\"#0000ff\" stroke-width=\"2px\" />\r\n"
                        "<path d=\"M 1 2 L 3 4 M 5 6 L 7 8\" fill=\"none\" stroke=\"#0000ff\" stroke-width=\"1px\" />\r\n");

    SvgCanvas p(view, palette, "t");
    p.polygon(three, false, 0x00FF00, 0x0000FF, 0, 0); // width 0 strokes 1px
    p.polygon(three, false, 0x00FF00, 0x0000FF, 1, 2); // cross hatch: a pattern first
    EXPECT_EQ(p.body(),
              "<polygon fill=\"#00ff00\" stroke=\"#ff0000\" stroke-width=\"1px\" points=\"10,20 30,40 50,60\" />\r\n"
              "<defs>\r\n"
              "<pattern id=\"fpat000\" patternUnits=\"userSpaceOnUse\" x=\"0\" y=\"0\" width=\"8\" height=\"8\">\r\n"
              "<g style=\"fill:#00ff00; stroke:#ff0000; stroke-width:1px\"> <path d=\"M0,4 l8,0\"/><path d=\"M4,0 "
              "l0,8\"/></g>\r\n"
              "</pattern>\r\n"
              "</defs>\r\n"
              "<polygon fill=\"url(#fpat000)\" stroke=\"#ff0000\" stroke-width=\"1px\" points=\"10,20 30,40 50,60\" />\r\n");
    // The 1000th hatched fill of a file is a plain colour.
    for (int i = 1; i < 999; ++i)
        p.fillText(false, 0x00FF00, 0, 1);
    EXPECT_EQ(p.patternCount(), 999);
    EXPECT_EQ(p.fillText(false, 0x00FF00, 0, 1), "#00ff00");

    SvgCanvas r(view, palette, "t");
    r.rect(1, 2, 11, 7, false, 0x00FF00, 0x0000FF, -2, 0, 0, 0); // negative width: stroked in the fill, 2px
    r.rect(1, 2, 11, 7, true, 0, 0x0000FF, 1, 0, 3, 4);
    EXPECT_EQ(r.body(), "<rect x=\"1\" y=\"2\" width=\"10\" height=\"5\" fill=\"#00ff00\" stroke=\"#00ff00\""
                        " stroke-width=\"2px\" />\r\n"
                        "<rect x=\"1\" y=\"2\" width=\"10\" height=\"5\" fill=\"none\" stroke=\"#ff0000\""
                        " stroke-width=\"1px\" rx=\"3\" ry=\"4\" />\r\n");
}

TEST_F(SvgFixture, LabelsAndPoints)
{
    SvgCanvas c(view, palette, "t");
    TextStyle s;
    s.colour = 2;
    s.size = 12;
    s.angleTenths = 900;
    c.drawText({50, 50}, "x\xE9", s); // a turned label, with a character above 191
    EXPECT_EQ(c.body(), "<g transform=\"translate(50,50) rotate(-90)\">\r\n"
                        "<text x=\"0\" y=\"0\" font-family=\"Arial\" font-size=\"16\" font-weight=\"400\""
                        " fill=\"#00ff00\" text-anchor=\"start\"> x&#233; </text>\r\n"
                        "</g>\r\n");
    SvgCanvas d(view, palette, "t");
    const WorldPoint points[] = {{5, 5}, {500, 5}};
    d.drawDotList(points, 1, std::nullopt, 1); // the second lies outside
    EXPECT_EQ(d.body(), "<line x1=\"5\" y1=\"95\" x2=\"6\" y2=\"95\" stroke=\"#0a00c8\" stroke-width=\"1px\" />\r\n");
}

TEST_F(SvgFixture, RsvgConvertReadsAPage)
{
    SvgCanvas c(view, palette, "page");
    c.drawRect({0, 100}, {200, 0}, 0, Pen{0, 1, PenSolid}, 0, 0);
    c.drawSegment({0, 0}, {200, 100}, Pen{2, 3, PenSolid});
    const WorldPoint tri[] = {{20, 20}, {60, 20}, {40, 60}};
    c.fillPolygon(tri, 1, Pen{2, 1, PenSolid}, 3);
    TextStyle s;
    c.drawText({100, 50}, "a <label>", s); // "<" escaped or not, the file must stay readable
    const auto dir = std::filesystem::temp_directory_path();
    const std::string svg = (dir / "qx_svg_test.svg").string(), png = (dir / "qx_svg_test.png").string();
    {
        std::ofstream out(svg, std::ios::binary);
        out << c.pageFile();
    }
    const std::string cmd = "rsvg-convert -o " + png + " " + svg + " 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    EXPECT_TRUE(std::filesystem::exists(png) && std::filesystem::file_size(png) > 100);
    std::remove(svg.c_str());
    std::remove(png.c_str());
}

TEST_F(SvgFixture, AChosenSizeGoesIntoTheHeaderOnly)
{
    SvgCanvas c(view, palette, "t", 300, 150);
    c.drawSegment({10, 90}, {20, 80}, Pen{1, 0, PenSolid});
    const std::string f = c.pageFile();
    EXPECT_NE(f.find("width=\"300\" height=\"150\"\r\nviewBox=\"0 0 300 150\""), std::string::npos) << f;
    EXPECT_NE(f.find("<line x1=\"10\" y1=\"10\""), std::string::npos); // still the window's pixels
    SvgCanvas own(view, palette, "t");
    EXPECT_NE(own.pageFile().find("width=\"201\" height=\"101\""), std::string::npos); // the window's size
}
