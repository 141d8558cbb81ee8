#include "model/colour_tables.h"
#include "model/special_colours.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {

constexpr Rgb kRed = 0x0000FF;
constexpr Rgb kBlue = 0xFF0000;

int whiteCount(int gray)
{
    int n = 0;
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            n += ditherWhite(gray, c, r);
    return n;
}

} // namespace

TEST(ColourTable, RedBlueWithTwoStepsClosesOnRed)
{
    const std::vector<Rgb> t = buildColourTable({kRed, kBlue}, 2);
    ASSERT_EQ(t.size(), 5u); // L = 4 plus the closing entry
    EXPECT_EQ(t[0], kRed);
    EXPECT_EQ(t[1], makeRgb(127, 0, 127)); // 255 / 2 truncated, both ways
    EXPECT_EQ(t[2], kBlue);
    EXPECT_EQ(t[3], makeRgb(127, 0, 127));
    EXPECT_EQ(t[4], kRed);
    ColourSequence s;
    s.anchors = {kRed, kBlue};
    s.steps = 2;
    EXPECT_EQ(buildTable(s).length(), 4);
}

TEST(ColourTable, BlendTruncatesEachChannel)
{
    EXPECT_EQ(blend(makeRgb(0, 100, 255), makeRgb(255, 0, 0), 0.25), makeRgb(63, 75, 191));
    EXPECT_EQ(blend(makeRgb(10, 10, 10), makeRgb(20, 0, 10), 0.0), makeRgb(10, 10, 10));
    EXPECT_EQ(blend(makeRgb(0, 0, 0), makeRgb(3, 3, 3), 0.5), makeRgb(1, 1, 1));
}

TEST(ColourTable, DefaultSequenceAndGrays)
{
    const ColourTable t = buildTable(ColourSequence{});
    EXPECT_EQ(t.length(), 80); // 4 anchors x 20 steps
    EXPECT_EQ(t.colours[20], 0x0080FFu);
    EXPECT_EQ(t.colours[80], t.colours[0]);
    EXPECT_EQ(t.grayLength(), 8); // 2 gray anchors x 4 steps
    EXPECT_EQ(t.grays, (std::vector<int>{128, 159, 191, 223, 255, 223, 191, 159, 128}));
}

TEST(ColourTable, BadSequencesAreRefused)
{
    ColourSequence s;
    s.steps = 0;
    EXPECT_EQ(checkSequence(s), 17);
    EXPECT_EQ(buildTable(s).length(), 0);
    s = ColourSequence{};
    s.steps = 65;
    EXPECT_EQ(checkSequence(s), 17);
    s = ColourSequence{};
    s.anchors = {kRed};
    EXPECT_EQ(checkSequence(s), 17);
    s = ColourSequence{};
    s.anchors.assign(129, kRed);
    EXPECT_EQ(checkSequence(s), 17);
    s = ColourSequence{};
    s.grayAnchors = {0, 256};
    EXPECT_EQ(checkSequence(s), 17);
    EXPECT_EQ(checkSequence(ColourSequence{}), 0);
}

TEST(GrayPrinting, DitherLevelsFromTheMatrix)
{
    EXPECT_EQ(whiteCount(255), 64); // level 0: all white
    EXPECT_EQ(whiteCount(0), 33);   // level 31: entries 31..63 stay white
    EXPECT_EQ(whiteCount(128), 49); // level 15
    EXPECT_EQ(whiteCount(-20), 33); // clamped to 0
    EXPECT_TRUE(ditherWhite(0, 3, 3));   // M[3][3] = 60
    EXPECT_FALSE(ditherWhite(0, 0, 0));  // M[0][0] = 0
    EXPECT_FALSE(ditherWhite(128, 8, 8)); // wraps to M[0][0]
    EXPECT_TRUE(ditherWhite(128, 9, 0));  // M[0][1] = 32
    EXPECT_EQ(kDitherMatrix[7][7], 63);
    EXPECT_EQ(kDitherMatrix[4][0], 1);
    EXPECT_EQ(kBinaryShades[0], 255);
    EXPECT_EQ(kBinaryShades[1], 0);
    EXPECT_EQ(kBinaryShades[9], 180);
}

TEST(RowCodes, SpecialColoursAndBlackAndWhite)
{
    EXPECT_EQ(specialColourCode(0), -16777216);
    EXPECT_EQ(static_cast<uint32_t>(specialColourCode(5)), 0xFF000005u);
    EXPECT_EQ(static_cast<uint32_t>(kCodeBlack), 0xFF000000u);
    EXPECT_EQ(static_cast<uint32_t>(kCodeWhite), 0xFF000001u);
}

TEST(SpecialColourSlots, DefaultsNamesAndRefusals)
{
    SpecialColours s;
    const int expected[] = {0, 3, 1, 0, 1, 0, 1, 7, 4, 1, 8, 3};
    for (int slot = 3; slot <= 14; ++slot)
        EXPECT_EQ(s.get(slot), expected[slot - 3]) << slot;
    EXPECT_STREQ(SpecialColours::name(3), "axis");
    EXPECT_STREQ(SpecialColours::name(8), "no target");
    EXPECT_STREQ(SpecialColours::name(14), "zoom rectangle");
    EXPECT_STREQ(SpecialColours::name(2), "");
    EXPECT_EQ(s.set(10, 22), 0);
    EXPECT_EQ(s.get(10), 22);
    EXPECT_EQ(s.set(15, 1), 17);
    EXPECT_EQ(s.set(2, 1), 17);
    EXPECT_EQ(s.get(15), 0);
}
