// The PiCTeX writer: units and corners of the header, the four kinds and
// their preambles and trailers, pages without preambles, the emitters and
// the escaping of labels; TeX and LaTeX compile what it writes.
#include "graphics/export/tex_canvas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace qx;

namespace {

View fourWide()
{
    View v;
    v.setPixelSize(401, 201);
    v.setViewByCenter(0, 0, 2); // 4 world units wide
    return v;
}

TexSetup setup(int kind, int pages = 1)
{
    TexSetup s;
    s.kind = kind;
    s.widthCm = 10;
    s.pages = pages;
    s.frameHalfWidth = 2;
    return s;
}

} // namespace

TEST(TexCanvas, HeaderKindsAndPages)
{
    const View v = fourWide();
    const Palette p{};
    TexCanvas standalone(v, p, setup(0));
    const std::string h = standalone.header();
    EXPECT_EQ(h.rfind("\\font\\fiverm = cmr5\r\n\\setbox0=\\vbox{\r\n\\beginpicture\r\n", 0), 0u) << h;
    EXPECT_NE(h.find("\\setcoordinatesystem units <2.50000cm,"), std::string::npos) << h; // 10 cm over 4 units
    EXPECT_NE(h.find("\\put {\\phantom{.}} at -2.00000 -1.00249\r\n"), std::string::npos) << h; // the view's corner
    EXPECT_EQ(standalone.trailer(), "\\endpicture}\r\n");
    // Kind 3 with one page: the picture alone.
    TexCanvas insertable(v, p, setup(3));
    const std::string f = insertable.pageFile();
    EXPECT_EQ(f.rfind("\\beginpicture\r\n", 0), 0u);
    EXPECT_EQ(f.substr(f.size() - 13), "\\endpicture\r\n");
    // Several pages: no preamble and no closing brace, whatever the kind.
    for (int kind = 0; kind < 4; ++kind) {
        const std::string page = TexCanvas(v, p, setup(kind, 3)).pageFile();
        EXPECT_EQ(page.find("\\font"), std::string::npos) << kind;
        EXPECT_EQ(page.find("\\setbox"), std::string::npos) << kind;
        EXPECT_EQ(page.find("\\input"), std::string::npos) << kind;
        EXPECT_EQ(page.find("\\endpicture}"), std::string::npos) << kind;
    }
}

TEST(TexCanvas, EmittersAndLabels)
{
    const View v = fourWide();
    TexCanvas c(v, Palette{}, setup(3));
    c.drawSegment({-1, 0}, {1, 0}, Pen{1, 1, PenSolid});
    c.drawSegment({-1, -1}, {1, 1}, Pen{1, 1, PenDash});
    const WorldPoint dots[] = {{0.5L, 0.5L}, {9, 9}};
    c.drawDotList(dots, 1, std::nullopt, 1);
    TextStyle s;
    s.offsetX = 3;
    s.offsetY = -2;
    c.drawText({0, 0}, "50% & more", s);
    c.drawArrowHead({-2, 0}, {2, 0}, 0.4L, 1); // 0.4 of 4 units across 10 cm: 1 cm
    EXPECT_EQ(c.body(), "\\putrule from -1.00000 0.00000 to 1.00000 0.00000\r\n"
                        "\\setdots<2pt>\r\n"
                        "\\plot -1.00000 -1.00000 1.00000 1.00000 /\r\n"
                        "\\multiput {.} at\r\n0.50000 0.50000\r\n/\r\n"
                        "\\put {$50\\% \\& more$} [lt] at 0.00000 0.00000\r\n"
                        "\\arrow <1.000cm> [0.3,0.67] from 1.60000 0.00000 to 2.00000 0.00000\r\n");
}

// With a whitespace radius lines keep clear of labels, even of labels drawn
// after them; without one nothing is cut.
TEST(TexCanvas, LinesKeepWhiteSpaceAroundLabels)
{
    const View v = fourWide(); // 0.01 world units a pixel
    // 12 points: a 16-pixel letter box, sqrt(0.4 * 2 * 256) = 14.31 pixels.
    EXPECT_NEAR(static_cast<double>(whitespaceRadius(1, 12, 0.01L)), 0.1431, 1e-4);
    TexSetup s = setup(3);
    s.whitespace = 1;
    TexCanvas c(v, Palette{}, s);
    c.drawSegment({-1, 0}, {1, 0}, Pen{1, 1, PenSolid});
    const WorldPoint curve[] = {{-1, 1}, {0, 1}, {1, 1}};
    c.drawPolyline(curve, Pen{1, 1, PenSolid});
    c.drawText({0, 0}, "x", TextStyle{});   // centred on its point
    c.drawText({0.5L, 1}, "y", TextStyle{}); // cuts the second edge of the curve
    EXPECT_EQ(c.body(), "\\putrule from -1.00000 0.00000 to -0.14311 0.00000\r\n"
                        "\\putrule from 0.14311 0.00000 to 1.00000 0.00000\r\n"
                        "\\plot\r\n-1.00000 1.00000\r\n0.00000 1.00000\r\n0.35689 1.00000\r\n/\r\n"
                        "\\plot\r\n0.64311 1.00000\r\n1.00000 1.00000\r\n/\r\n"
                        "\\put {$x$} [] at 0.00000 0.00000\r\n"
                        "\\put {$y$} [] at 0.50000 1.00000\r\n");
    TexCanvas plain(v, Palette{}, setup(3));
    plain.drawSegment({-1, 0}, {1, 0}, Pen{1, 1, PenSolid});
    plain.drawText({0, 0}, "x", TextStyle{});
    EXPECT_EQ(plain.body(), "\\putrule from -1.00000 0.00000 to 1.00000 0.00000\r\n\\put {$x$} [] at 0.00000 0.00000\r\n");
}

TEST(TexCanvas, TexAndLatexCompileThePictures)
{
    const View v = fourWide();
    const auto dir = std::filesystem::temp_directory_path() / "qx_tex_test";
    std::filesystem::create_directories(dir);
    const auto draw = [&](TexCanvas& c) {
        c.drawSegment({-2, 0}, {2, 0}, Pen{1, 1, PenSolid});
        const WorldPoint curve[] = {{-1, -0.5L}, {0, 0.5L}, {1, -0.5L}};
        c.drawPolyline(curve, Pen{1, 1, PenSolid});
        TextStyle s;
        c.drawText({0, 0.8L}, "x_1 & 50%", s);
        c.drawArrowHead({0, -1}, {0, 1}, 0.2L, 1);
    };
    TexCanvas plain(v, Palette{}, setup(2));
    draw(plain);
    {
        std::ofstream(dir / "plain.tex", std::ios::binary) << plain.pageFile();
    }
    const std::string tex = "cd " + dir.string() + " && tex -interaction=nonstopmode plain.tex > /dev/null 2>&1";
    EXPECT_EQ(std::system(tex.c_str()), 0) << tex;
    EXPECT_TRUE(std::filesystem::exists(dir / "plain.dvi"));

    TexCanvas inserted(v, Palette{}, setup(3));
    draw(inserted);
    {
        std::ofstream(dir / "picture.tex", std::ios::binary) << inserted.pageFile();
        std::ofstream(dir / "doc.tex") << "\\documentclass{article}\n\\usepackage{pictex}\n\\begin{document}\n"
                                          "\\input{picture.tex}\n\\end{document}\n";
    }
    const std::string latex = "cd " + dir.string() + " && pdflatex -interaction=nonstopmode doc.tex > /dev/null 2>&1";
    EXPECT_EQ(std::system(latex.c_str()), 0) << latex;
    EXPECT_TRUE(std::filesystem::exists(dir / "doc.pdf"));
    std::filesystem::remove_all(dir);
}
