// Colour presets, the palettes, the ancient sequence and the colour-table
// section of documents.
#include "model/colour_presets.h"
#include "model/common_header.h"
#include "model/tvorltwin.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qx {
namespace {

TEST(BasicPalette, IndicesOutsideThePaletteAreBlack)
{
    const Palette p = defaultPalette();
    EXPECT_EQ(paletteColour(p, 61), 0x000000u);
    EXPECT_EQ(paletteColour(p, -3), 0x000000u);
}

TEST(BasicPalette, TheLogicalTableExtendsItTo113DistinctColours)
{
    const auto& t = logicalPalette();
    const Palette p = defaultPalette();
    EXPECT_TRUE(std::equal(p.begin(), p.end(), t.begin()));
    for (Rgb c : t)
        EXPECT_LE(c, 0xFFFFFFu);
    std::vector<Rgb> extra(t.begin() + 61, t.end());
    std::sort(extra.begin(), extra.end());
    EXPECT_EQ(std::unique(extra.begin(), extra.end()), extra.end());
    EXPECT_EQ(logicalColour(113), 0u);
    EXPECT_EQ(logicalColour(112), t[112]);
}

TEST(Presets, AnchorsStepsGraysOfEachPreset)
{
    std::mt19937 random(1);
    const ColourSequence p0 = presetSequence(0, random);
    EXPECT_EQ(p0.anchors, (std::vector<Rgb>{0x000080, 0x0080FF, 0x00FFFF, 0x005080}));
    EXPECT_EQ(p0.steps, 20);
    EXPECT_EQ(p0.graySteps, 4);
    EXPECT_EQ(p0.grayAnchors, (std::vector<int>{128, 255}));
    EXPECT_EQ(buildTable(p0).length(), 80);
    EXPECT_EQ(presetSequence(4, random).anchors[1], 0xFF8058u);
    EXPECT_EQ(presetSequence(6, random).anchors[3], 0x54BDFFu);
    EXPECT_EQ(presetSequence(7, random, true).anchors[0], 0x00DEDEu);
}

TEST(Presets, SevenOnlyWhenAllowedAndOthersFallBackToZero)
{
    std::mt19937 random(2);
    const auto zero = presetSequence(0, random).anchors;
    EXPECT_EQ(presetSequence(7, random).anchors, zero);
    EXPECT_EQ(presetSequence(8, random, true).anchors, zero);
    EXPECT_EQ(presetSequence(-1, random).anchors, zero);
}

TEST(Presets, BinaryColoursAreRandomBytes)
{
    std::mt19937 random(3);
    const auto a = presetSequence(0, random).binary;
    const auto b = presetSequence(0, random).binary;
    EXPECT_NE(a, b);
    for (Rgb c : a)
        EXPECT_LE(c, 0xFFFFFFu);
}

TEST(WindowSequences, SlotsStartWithTheirPresetAndPaletteChangeCycles)
{
    TVorlTWin w;
    ASSERT_EQ(w.sequenceCount(), 31);
    std::mt19937 random(4);
    for (int i = 0; i < 31; ++i)
        EXPECT_EQ(w.sequence(i).anchors, presetSequence(i < 7 ? i : 0, random).anchors) << i;
    const std::vector<int> expected{1, 2, 3, 4, 5, 6, 0, 1};
    for (int want : expected) {
        const auto before = w.sequence(0).binary;
        w.paletteChange();
        EXPECT_EQ(w.currentPreset(), want);
        EXPECT_EQ(w.sequence(0).anchors, presetSequence(want, random).anchors);
        EXPECT_NE(w.sequence(0).binary, before);
    }
    EXPECT_FALSE(w.initSequence(31, 0));
}

TEST(WindowSequences, AncientPaletteHas109ColoursWithoutInterpolation)
{
    TVorlTWin w;
    w.ancientPalette();
    const ColourSequence& s = w.sequence(0);
    EXPECT_EQ(s.steps, 1);
    ASSERT_EQ(s.anchors.size(), 109u);
    EXPECT_EQ(buildTable(s).length(), 109);
    EXPECT_EQ(s.anchors[0], logicalColour(oldPaletteIndices()[0]));
    EXPECT_EQ(s.binary[0], oldPaletteBinary()[0]);
    EXPECT_EQ(s.binary[1], oldPaletteBinary()[1]);
    for (int i : oldPaletteIndices())
        EXPECT_TRUE(i >= 0 && i < kLogicalPaletteSize);
}

TEST(WindowSequences, TwoAnchorsWithoutInterpolationAlternate)
{
    ColourSequence s;
    s.anchors = {0x0000FF, 0x00FF00};
    s.steps = 1;
    const ColourTable t = buildTable(s);
    EXPECT_EQ(t.length(), 2);
    EXPECT_EQ(t.colours, (std::vector<Rgb>{0x0000FF, 0x00FF00, 0x0000FF}));
}

std::vector<ColourSequence> twoSequences()
{
    ColourSequence a;
    a.anchors = {1, 2, 3};
    a.steps = 7;
    a.grayAnchors = {0, 100, 255};
    a.graySteps = 3;
    ColourSequence b;
    b.binary[9] = 0x010203;
    return {a, b};
}

TEST(ColourTableSection, RoundTripsInItsLayout)
{
    ByteWriter w;
    writeColourTables(w, twoSequences());
    // 2 steps, 2 counts, 3 + 4 anchors; the same for grays (3 + 2); 2 x 10 binary.
    EXPECT_EQ(w.data().size(), 4u * (2 + 2 + 7 + 2 + 2 + 5 + 20));
    EXPECT_EQ(w.data()[0], 7);
    EXPECT_EQ(w.data()[8], 3);
    std::vector<ColourSequence> back;
    ByteReader r(w.data());
    ASSERT_EQ(readColourTables(r, 2, back), 0);
    EXPECT_EQ(back, twoSequences());
}

TEST(ColourTableSection, BadCountsOrValuesChangeNothing)
{
    ByteWriter w;
    writeColourTables(w, twoSequences());
    std::vector<ColourSequence> seqs(1);
    const auto before = seqs;
    auto bad = w.data();
    bad[8] = 129; // anchor count above 128
    ByteReader r1(bad);
    EXPECT_EQ(readColourTables(r1, 2, seqs), 6);
    bad = w.data();
    bad[0] = 65; // steps above 64
    ByteReader r2(bad);
    EXPECT_EQ(readColourTables(r2, 2, seqs), 6);
    std::vector<uint8_t> cut(w.data().begin(), w.data().end() - 1);
    ByteReader r3(cut);
    EXPECT_EQ(readColourTables(r3, 2, seqs), 6);
    ByteReader r4(w.data());
    EXPECT_EQ(readColourTables(r4, 32, seqs), 6);
    EXPECT_EQ(seqs, before);
}

TEST(OldColourTables, IndicesBecomeColoursAndGrayLevelsAreRescaled)
{
    EXPECT_EQ(oldGrayLevel(7), 180);
    EXPECT_EQ(oldGrayLevel(1), 255);
    EXPECT_EQ(oldGrayLevel(0), 0);   // 267 is out of range
    EXPECT_EQ(oldGrayLevel(4), 217);
    ByteWriter w;
    for (int i = 0; i < 113; ++i) w.i16(static_cast<int16_t>(i == 1 ? 500 : i));
    for (int i = 0; i < 113; ++i) w.i16(static_cast<int16_t>(i % 8));
    ColourSequence base;
    ColourSequence out;
    ByteReader r(w.data());
    ASSERT_TRUE(readOldColourTables(r, base, out));
    EXPECT_EQ(out.steps, 1);
    ASSERT_EQ(out.anchors.size(), 113u);
    EXPECT_EQ(out.anchors[4], 0x0000FFu);
    EXPECT_EQ(out.anchors[1], 0u); // an index outside the table reads entry 0
    EXPECT_EQ(out.grayAnchors[7], 180);
    EXPECT_EQ(out.binary, base.binary);
    EXPECT_EQ(checkSequence(out), 0);
}

} // namespace
} // namespace qx
