// The common header and settings files: layout, round trips and the rules
// for damaged or foreign files.
#include "model/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qx {
namespace {

int32_t at32(const std::vector<uint8_t>& b, size_t off)
{
    int32_t v;
    std::memcpy(&v, b.data() + off, 4);
    return v;
}

SettingsFile sample()
{
    SettingsFile s;
    s.header.kind = 729;
    s.header.placement = {40, 50, 640, 480, true};
    s.header.printLayout = {1.5L, 2.5L, -0.25L, 0};
    s.header.printFlag = true;
    s.header.fonts[0] = 7;
    s.header.fonts[599] = 9;
    s.header.attributes2[39] = 3;
    s.header.specialSlots[14] = 56;
    s.header.palette = defaultPalette();
    s.group1.ints[1][0] = 122;
    s.group1.reals[1][0] = 12.5L;
    s.group2.bytes[2][20] = 200;
    s.lastDocument = "/home/u/a.man";
    return s;
}

TEST(CommonHeaderLayout, FieldsSitAtTheirOffsets)
{
    ByteWriter w;
    CommonHeader h = sample().header;
    writeCommonHeader(w, h);
    const auto& b = w.data();
    ASSERT_EQ(b.size(), kCommonHeaderBytes);
    EXPECT_EQ(at32(b, 0), 729);
    EXPECT_EQ(at32(b, 4), 13);
    EXPECT_EQ(at32(b, 8), 40);
    EXPECT_EQ(at32(b, 20), 480);
    EXPECT_EQ(at32(b, 24), 1);
    EXPECT_EQ(at32(b, 28), 1);
    EXPECT_EQ(at32(b, 32), 61);
    EXPECT_EQ(at32(b, 36), 150);
    EXPECT_EQ(at32(b, 40), 250);
    EXPECT_EQ(at32(b, 44), -25);
    EXPECT_EQ(at32(b, 52), 1);
    EXPECT_EQ(at32(b, 60), 10);
    EXPECT_EQ(at32(b, 64), 15);
    EXPECT_EQ(at32(b, 68), 19451947);
    EXPECT_EQ(at32(b, 72), 19471945);
    EXPECT_EQ(b[120], 7);
    EXPECT_EQ(b[719], 9);
    EXPECT_EQ(b[759], 3);
    EXPECT_EQ(b[828 + 28], 56);
    EXPECT_EQ(at32(b, 858 + 4), 0xFFFFFF);          // palette entry 1, white
    EXPECT_EQ(at32(b, 858 + 60 * 4), 0x146414);     // the last basic colour
}

TEST(CommonHeaderLayout, PrintLayoutRoundsHalfDownAndZeroMeansDefaultMargin)
{
    EXPECT_EQ(printLayoutHundredths(0.125L), 12);
    EXPECT_EQ(printLayoutHundredths(-0.125L), -13);
    EXPECT_EQ(printLayoutHundredths(2.5L), 250);
    CommonHeader h;
    h.kind = 5;
    h.printLayout = {0, 2.5L, 0, 0};
    ByteWriter w;
    writeCommonHeader(w, h);
    CommonHeader back;
    ByteReader r(w.data());
    ASSERT_EQ(readCommonHeader(r, 5, back), 0);
    EXPECT_EQ(back.printLayout[0], -0.3937L);
    EXPECT_EQ(back.printLayout[1], 2.5L);
    EXPECT_EQ(back.printLayout[2], 0);  // only the first value has the default
}

TEST(CommonHeaderLayout, ExtremeStoredLayoutValuesWriteBackUnchanged)
{
    EXPECT_EQ(printLayoutHundredths(-21222191.35L), -2122219135);
    EXPECT_EQ(printLayoutHundredths(21474836.47L), 2147483647);
    EXPECT_EQ(printLayoutHundredths(1e30L), 0); // beyond int32: refused, not wrapped
}

TEST(CommonHeaderRead, ForeignKindAndTruncationChangeNothing)
{
    ByteWriter w;
    writeCommonHeader(w, sample().header);
    CommonHeader h;
    h.displayFlag = 0;
    ByteReader other(w.data());
    EXPECT_EQ(readCommonHeader(other, 961, h), 8);
    EXPECT_EQ(h.displayFlag, 0);
    std::vector<uint8_t> cut(w.data().begin(), w.data().end() - 1);
    ByteReader shortReader(cut);
    EXPECT_EQ(readCommonHeader(shortReader, 729, h), 6);
    EXPECT_EQ(h.displayFlag, 0);
    EXPECT_EQ(h.placement.width, 0);
}

TEST(CommonHeaderRead, PaletteNeedsBothMarksButTheRestIsApplied)
{
    ByteWriter w;
    CommonHeader s = sample().header;
    s.palette[5] = 0x123456;
    writeCommonHeader(w, s);
    std::vector<uint8_t> b = w.take();
    b[72] ^= 1; // spoil the second mark
    CommonHeader h;
    h.palette = defaultPalette();
    ByteReader r(b);
    ASSERT_EQ(readCommonHeader(r, 729, h), 0);
    EXPECT_FALSE(h.paletteTaken);
    EXPECT_EQ(h.palette[5], defaultPalette()[5]);
    EXPECT_EQ(h.placement.width, 640);
    EXPECT_TRUE(h.printFlag);
}

TEST(CommonHeaderRead, LongerPaletteTakesSixtyOneColoursAndSkipsTheRest)
{
    ByteWriter w;
    writeCommonHeader(w, sample().header);
    std::vector<uint8_t> b = w.take();
    b[32] = 63; // count 63: two more colours follow
    for (int i = 0; i < 8; ++i) b.push_back(0xEE);
    b.push_back(0x42); // a byte after the palette
    ByteReader r(b);
    CommonHeader h;
    ASSERT_EQ(readCommonHeader(r, 729, h), 0);
    EXPECT_TRUE(h.paletteTaken);
    EXPECT_EQ(h.palette[60], 0x146414u);
    uint8_t next = 0;
    ASSERT_TRUE(r.u8(next));
    EXPECT_EQ(next, 0x42);
}

TEST(CommonHeaderRead, HugePaletteCountIsRefused)
{
    ByteWriter w;
    writeCommonHeader(w, sample().header);
    std::vector<uint8_t> b = w.take();
    b[32] = 0xFF; b[33] = 0xFF; b[34] = 0xFF; b[35] = 0x7F;
    ByteReader r(b);
    CommonHeader h;
    EXPECT_EQ(readCommonHeader(r, 729, h), 6);
}

TEST(SettingsRoundTrip, WriteReadWriteGivesTheSameBytes)
{
    const std::vector<uint8_t> once = encodeSettings(sample());
    EXPECT_EQ(once.size(), kCommonHeaderBytes + 2 * (3 * 84 + 3 * 210 + 3 * 21) + 256);
    EXPECT_EQ(at32(once, 76), 1); // both groups announced
    SettingsFile back;
    ASSERT_EQ(decodeSettings(once, 729, back), 0);
    EXPECT_EQ(back.group1.ints[1][0], 122);
    EXPECT_EQ(back.group1.reals[1][0], 12.5L);
    EXPECT_EQ(back.group2.bytes[2][20], 200);
    EXPECT_EQ(back.lastDocument, "/home/u/a.man");
    EXPECT_EQ(back.header.placement, (WindowPlacement{40, 50, 640, 480, true}));
    EXPECT_EQ(encodeSettings(back), once);
}

TEST(SettingsRead, DamagedFilesAreReadAsFarAsTheyGo)
{
    std::vector<uint8_t> b = encodeSettings(sample());
    SettingsFile s;
    s.lastDocument = "keep";
    std::vector<uint8_t> cut(b.begin(), b.begin() + static_cast<long>(kCommonHeaderBytes + 100));
    EXPECT_EQ(decodeSettings(cut, 729, s), 21);
    EXPECT_EQ(s.header.placement.width, 640); // the header was applied
    EXPECT_EQ(s.group1.ints[1][0], 0);        // the cut group was not
    EXPECT_EQ(s.lastDocument, "keep");
    b[76] = 0; // one group only: the second group's bytes become the name
    SettingsFile one;
    EXPECT_EQ(decodeSettings(b, 729, one), 0);
    EXPECT_EQ(one.group1.ints[1][0], 122);
    EXPECT_EQ(one.group2.bytes[2][20], 0);
}

TEST(SettingsRead, NonPositiveVersionStopsAfterTheHeader)
{
    std::vector<uint8_t> b = encodeSettings(sample());
    b[4] = 0;
    SettingsFile s;
    EXPECT_EQ(decodeSettings(b, 729, s), 0);
    EXPECT_EQ(s.header.placement.x, 40);
    EXPECT_EQ(s.group1.ints[1][0], 0);
    EXPECT_EQ(s.lastDocument, "");
}

TEST(SettingsRead, MissingFileAndOtherToolLeaveDefaults)
{
    SettingsFile s;
    EXPECT_EQ(readSettingsFile("/nonexistent/dir/mandel.ini", 729, s), 11);
    EXPECT_EQ(decodeSettings(encodeSettings(sample()), 961, s), 8);
    EXPECT_EQ(s.header.placement.width, 0);
    EXPECT_EQ(s.lastDocument, "");
}

} // namespace
} // namespace qx
