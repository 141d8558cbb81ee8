// The metafile writer: the header and the record chain a reader walks, pens,
// brushes and fonts made once and reused, shapes, text and an embedded
// picture, each checked field by field; and pages read by emf2svg-conv.
#include "graphics/export/emf_canvas.h"

#include "export_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

using namespace qx;
using namespace std::string_literals;

namespace {

uint32_t at32(const std::string& f, size_t off)
{
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(f[off + k])) << (8 * k);
    return v;
}

int32_t ati(const std::string& f, size_t off) { return static_cast<int32_t>(at32(f, off)); }

struct Record {
    uint32_t type;
    size_t offset;
    uint32_t size;
};

// The records as a reader walks them; a test failure when the chain is broken.
std::vector<Record> walk(const std::string& f)
{
    std::vector<Record> out;
    size_t off = 0;
    while (off + 8 <= f.size()) {
        const Record r{at32(f, off), off, at32(f, off + 4)};
        if (r.size < 8 || r.size % 4 || off + r.size > f.size()) {
            ADD_FAILURE() << "broken record at " << off;
            return out;
        }
        out.push_back(r);
        off += r.size;
    }
    EXPECT_EQ(off, f.size());
    return out;
}

std::vector<Record> ofType(const std::vector<Record>& rs, uint32_t type)
{
    std::vector<Record> out;
    for (const Record& r : rs)
        if (r.type == type)
            out.push_back(r);
    return out;
}

using EmfFixture = test::PageFixture;

} // namespace

TEST_F(EmfFixture, HeaderDescribesTheWholeFile)
{
    EmfCanvas c(view, palette, 96, "Zumbar", "p\xC3\xA4ge.emf"); // a UTF-8 title
    c.drawSegment({0, 0}, {200, 100}, Pen{1, 1, PenSolid});
    const std::string f = c.pageFile();
    const auto rs = walk(f);
    ASSERT_GE(rs.size(), 3u);
    EXPECT_EQ(rs.front().type, emr::Header);
    EXPECT_EQ(rs.back().type, emr::Eof);
    EXPECT_EQ(rs.back().size, 20u);
    EXPECT_EQ(at32(f, rs.back().offset + 16), 20u); // the end record's size again
    // Bounds in pixels, the frame in hundredths of a millimetre at 96 per inch:
    // 201 * 2540 / 96 = 5318.1, 101 * 2540 / 96 = 2672.3.
    EXPECT_EQ(ati(f, 16), 201);
    EXPECT_EQ(ati(f, 20), 101);
    EXPECT_EQ(ati(f, 32), 5318);
    EXPECT_EQ(ati(f, 36), 2672);
    EXPECT_EQ(at32(f, 40), 0x464D4520u); // " EMF"
    EXPECT_EQ(at32(f, 44), 0x00010000u);
    EXPECT_EQ(at32(f, 48), f.size());
    EXPECT_EQ(at32(f, 52), rs.size());
    EXPECT_EQ(at32(f, 56) & 0xFFFF, 4u); // the metafile, a pen, a brush, a font
    // The description: the program's name and the title, two zeros at the end.
    const uint32_t chars = at32(f, 60), off = at32(f, 64);
    EXPECT_EQ(off, 108u);
    const std::u16string expected = u"Zumbar\0p\u00E4ge.emf\0\0"s;
    ASSERT_EQ(chars, 17u);
    std::u16string got;
    for (uint32_t k = 0; k < chars; ++k)
        got += static_cast<char16_t>(static_cast<uint8_t>(f[off + 2 * k]) | (static_cast<uint8_t>(f[off + 2 * k + 1]) << 8));
    EXPECT_EQ(got, expected);
    // The reference device: its pixels and millimetres give the same 96 per inch.
    EXPECT_EQ(ati(f, 72), 960);
    EXPECT_EQ(ati(f, 80), 254);
    // The frame at another resolution: 4254.5 rounds half down.
    EXPECT_EQ(emfFrame(201, 101, 120), (std::pair<int32_t, int32_t>{4254, 2138}));
}

TEST_F(EmfFixture, PensAndBrushesAreMadeOnceAndReplacedCleanly)
{
    EmfCanvas c(view, palette, 96, "Zumbar", "t");
    const size_t setUp = walk(std::string(c.body().begin(), c.body().end())).size();
    c.drawSegment({10, 90}, {20, 80}, Pen{1, 2, 1}); // a red dashed line, 2 pixels wide
    c.drawSegment({30, 90}, {40, 80}, Pen{1, 2, 1}); // the same pen: one record more
    const WorldPoint tri[] = {{20, 20}, {60, 20}, {40, 60}};
    c.fillPolygon(tri, 2, Pen{1, 1, PenSolid}, 3); // hatch 3: the third of the format's hatches
    const std::string b(c.body().begin(), c.body().end());
    const auto rs = walk(b);
    std::vector<uint32_t> types;
    for (size_t k = setUp; k < rs.size(); ++k)
        types.push_back(rs[k].type);
    EXPECT_EQ(types, (std::vector<uint32_t>{emr::SelectObject, emr::DeleteObject, emr::CreatePen, emr::SelectObject,
                                            emr::Polyline, emr::Polyline, emr::SelectObject, emr::DeleteObject,
                                            emr::CreatePen, emr::SelectObject, emr::SelectObject, emr::DeleteObject,
                                            emr::CreateBrushIndirect, emr::SelectObject, emr::Polygon}));
    const Record pen = rs[setUp + 2];
    EXPECT_EQ(at32(b, pen.offset + 8), 1u);  // handle
    EXPECT_EQ(at32(b, pen.offset + 12), 1u); // dashed
    EXPECT_EQ(at32(b, pen.offset + 16), 2u); // width
    EXPECT_EQ(at32(b, pen.offset + 24), 0xC8000Au);
    const Record line = rs[setUp + 4];
    EXPECT_EQ(line.size, 8u + 16 + 4 + 16);
    EXPECT_EQ(ati(b, line.offset + 8), 10);  // bounds
    EXPECT_EQ(ati(b, line.offset + 12), 10);
    EXPECT_EQ(ati(b, line.offset + 16), 20);
    EXPECT_EQ(at32(b, line.offset + 24), 2u); // two points, y downward
    EXPECT_EQ(ati(b, line.offset + 28), 10);
    EXPECT_EQ(ati(b, line.offset + 32), 10);
    EXPECT_EQ(ati(b, line.offset + 36), 20);
    EXPECT_EQ(ati(b, line.offset + 40), 20);
    const Record brush = rs[setUp + 12];
    EXPECT_EQ(at32(b, brush.offset + 12), 2u); // hatched
    EXPECT_EQ(at32(b, brush.offset + 16), 0x00FF00u);
    EXPECT_EQ(at32(b, brush.offset + 20), 2u); // the third hatch
    const Record poly = rs.back();
    EXPECT_EQ(at32(b, poly.offset + 24), 3u);
    EXPECT_EQ(ati(b, poly.offset + 28 + 16), 40); // the apex at (40, 40)
    EXPECT_EQ(ati(b, poly.offset + 32 + 16), 40);
}

TEST_F(EmfFixture, TextCarriesItsFontColourAndAdvances)
{
    EmfCanvas c(view, palette, 96, "Zumbar", "t");
    TextStyle s;
    s.colour = 2;
    s.size = 12;
    s.weight = 700;
    s.angleTenths = 900;
    s.piCode = 0xB9; // the axis label code of pi becomes the real sign
    c.drawText({50, 50}, "2\xB9", s);
    c.drawText({60, 50}, "x", s); // the same font and colour: only the text
    const std::string b(c.body().begin(), c.body().end());
    const auto rs = walk(b);
    const auto fonts = ofType(rs, emr::ExtCreateFontIndirectW);
    ASSERT_EQ(fonts.size(), 1u);
    const size_t lf = fonts[0].offset + 12;
    EXPECT_EQ(ati(b, lf), -16); // 12 points at 96 per inch
    EXPECT_EQ(ati(b, lf + 8), 900);
    EXPECT_EQ(ati(b, lf + 16), 700);
    EXPECT_EQ(b.substr(lf + 28, 10), std::string("A\0r\0i\0a\0l\0", 10));
    ASSERT_EQ(ofType(rs, emr::SetTextColor).size(), 1u);
    EXPECT_EQ(at32(b, ofType(rs, emr::SetTextColor)[0].offset + 8), 0x00FF00u);
    const auto texts = ofType(rs, emr::ExtTextOutW);
    ASSERT_EQ(texts.size(), 2u);
    const size_t t = texts[0].offset;
    EXPECT_EQ(ati(b, t + 36), 50); // the baseline starts at the anchor
    EXPECT_EQ(ati(b, t + 40), 50);
    EXPECT_EQ(at32(b, t + 44), 2u);
    EXPECT_EQ(at32(b, t + 48), 76u);
    EXPECT_EQ(b.substr(t + 76, 4), std::string("2\0\xC0\x03", 4)); // "2" and U+03C0
    EXPECT_EQ(at32(b, t + 72), 80u); // the advances follow the padded string
    EXPECT_EQ(at32(b, t + 80), 9u);  // 0.6 em
}

TEST_F(EmfFixture, APictureIsEmbeddedBottomUpWithPaddedRows)
{
    EmfCanvas c(view, palette, 96, "Zumbar", "t");
    Image pic(3, 2);
    pic.set(0, 0, 0x030201); // top left: red 1, green 2, blue 3
    pic.set(2, 1, 0x0A0B0C); // bottom right
    ASSERT_TRUE(c.placePicture(pic, {0, 100}, {200, 0}));
    const std::string b(c.body().begin(), c.body().end());
    const auto rs = ofType(walk(b), emr::StretchDIBits);
    ASSERT_EQ(rs.size(), 1u);
    const size_t r = rs[0].offset;
    EXPECT_EQ(ati(b, r + 40), 3); // source size
    EXPECT_EQ(ati(b, r + 44), 2);
    EXPECT_EQ(ati(b, r + 72), 201); // destination: the whole page
    EXPECT_EQ(ati(b, r + 76), 101);
    EXPECT_EQ(at32(b, r + 80 + 14) & 0xFFFF, 24u); // bits per pixel
    const size_t bits = r + at32(b, r + 56);
    EXPECT_EQ(at32(b, r + 60), 2u * 12); // two rows of 9 bytes padded to 12
    EXPECT_EQ(b.substr(bits + 6, 3), "\x0A\x0B\x0C"); // the bottom row first, blue green red
    EXPECT_EQ(b.substr(bits + 12, 3), std::string("\x03\x02\x01", 3));
    EXPECT_FALSE(c.placePicture(Image(), {0, 100}, {200, 0}));
}

TEST_F(EmfFixture, FarAndUndefinedPointsStayInRange)
{
    EmfCanvas c(view, palette, 96, "Zumbar", "t");
    const Real inf = std::numeric_limits<Real>::infinity();
    c.drawSegment({-1e30L, 0}, {inf, 50}, Pen{1, 1, PenSolid});
    const WorldPoint dots[] = {{1e30L, 0}, {50, 50}, {inf, inf}};
    c.drawDotList(dots, 1, std::nullopt, 1); // only the dot on the page
    const std::string b(c.body().begin(), c.body().end());
    const auto rs = walk(b);
    const auto lines = ofType(rs, emr::Polyline);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(ati(b, lines[0].offset + 28), -1000000);
    EXPECT_EQ(ati(b, lines[0].offset + 36), 0);
    EXPECT_EQ(ofType(rs, emr::Rectangle).size(), 2u); // the background and one dot
}

TEST_F(EmfFixture, Emf2svgConvertsAPageOfEveryPrimitive)
{
    if (std::system("emf2svg-conv --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "emf2svg-conv is not installed";
    EmfCanvas c(view, palette, 96, "Zumbar", "page");
    Image pic(20, 10, 0x0000FF);
    c.placePicture(pic, {150, 100}, {170, 90});
    c.drawRect({0, 100}, {200, 0}, std::nullopt, Pen{1, 1, PenSolid}, 4, 4);
    c.drawSegment({0, 0}, {200, 100}, Pen{2, 3, 2});
    const WorldPoint tri[] = {{20, 20}, {60, 20}, {40, 60}};
    c.fillPolygon(tri, 1, Pen{2, 1, PenSolid}, 6);
    c.drawCircle({100, 50}, 10, 2, Pen{1, 1, PenSolid});
    c.drawMark({120, 20}, MarkKind::Cross, 3, 2);
    c.drawMark({130, 20}, MarkKind::Box, 3, 2);
    const WorldPoint dots[] = {{5, 5}, {7, 5}};
    c.drawDotList(dots, 1, 2, 3);
    TextStyle s;
    c.drawText({100, 50}, "a <label> & more", s);
    const auto dir = std::filesystem::temp_directory_path();
    const std::string emf = (dir / "qx_emf_test.emf").string(), svg = (dir / "qx_emf_test.svg").string();
    {
        std::ofstream out(emf, std::ios::binary);
        out << c.pageFile();
    }
    const std::string cmd = "emf2svg-conv -i " + emf + " -o " + svg + " 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::ifstream in(svg);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("<image"), std::string::npos);      // the picture
    EXPECT_NE(text.find("label"), std::string::npos);       // the text
    EXPECT_NE(text.find("#0A00C8"), std::string::npos);     // the red pen, as its colour
    if (std::system("rsvg-convert --version > /dev/null 2>&1") == 0) {
        const std::string png = (dir / "qx_emf_test.png").string();
        EXPECT_EQ(std::system(("rsvg-convert -o " + png + " " + svg + " 2>&1").c_str()), 0);
        std::remove(png.c_str());
    }
    std::remove(emf.c_str());
    std::remove(svg.c_str());
}
