#include "export_test_support.h"
#include "graphics/export/bmp_writer.h"

#include <gtest/gtest.h>

using namespace qx;
using namespace qx::test;

namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

} // namespace

TEST(BmpWriter, HeaderOf24BitBottomUpFile)
{
    const std::vector<uint32_t> px = testPixels();
    const std::vector<uint8_t> b = encodeBmp({5, 3, px.data()});
    // Rows of 15 bytes padded to 16.
    ASSERT_EQ(b.size(), 54u + 16 * 3);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size());
    EXPECT_EQ(le32(b, 10), 54u);
    EXPECT_EQ(le32(b, 14), 40u);
    EXPECT_EQ(le32(b, 18), 5u);
    EXPECT_EQ(le32(b, 22), 3u); // positive height: bottom-up
    EXPECT_EQ(b[26] | (b[27] << 8), 1);
    EXPECT_EQ(b[28] | (b[29] << 8), 24);
    EXPECT_EQ(le32(b, 30), 0u); // no compression
    EXPECT_EQ(le32(b, 34), 48u);
}

TEST(BmpWriter, PixelsStoredBlueGreenRedFromTheBottomRow)
{
    const std::vector<uint32_t> px = testPixels();
    const std::vector<uint8_t> b = encodeBmp({5, 3, px.data()});
    // First stored row is the picture's last row (r = 2); pixel (0, 2) is
    // red 1, green 162, blue 17.
    EXPECT_EQ(b[54], 17);
    EXPECT_EQ(b[55], 162);
    EXPECT_EQ(b[56], 1);
    EXPECT_EQ(b[54 + 15], 0); // padding
    // Top row (r = 0) comes last: pixel (4, 0) is red 161, green 2, blue 43.
    EXPECT_EQ(b[54 + 32 + 12], 43);
    EXPECT_EQ(b[54 + 32 + 13], 2);
    EXPECT_EQ(b[54 + 32 + 14], 161);
}

TEST(BmpWriter, ImageMagickReadsThePictureBack)
{
    if (!haveConvert())
        GTEST_SKIP() << "ImageMagick convert not installed";
    const std::vector<uint32_t> px = testPixels();
    const std::string path = tempPath("bmp_roundtrip.bmp");
    ASSERT_EQ(writeBmp(path, {5, 3, px.data()}), 0);
    EXPECT_EQ(decodeWithConvert(path), rgbBytes(px));
    std::remove(path.c_str());
}

TEST(BmpWriter, RefusalsLeaveTheTargetAlone)
{
    const std::vector<uint32_t> px = testPixels();
    EXPECT_EQ(writeBmp(tempPath("bmp_empty.bmp"), {0, 3, px.data()}), 10);
    EXPECT_EQ(writeBmp(tempPath("bmp_empty.bmp"), {5, 3, nullptr}), 10);
    EXPECT_EQ(writeBmp(tempPath("bmp_huge.bmp"), {40000, 1, px.data()}), 20);
    EXPECT_TRUE(encodeBmp({5, -1, px.data()}).empty());
    EXPECT_EQ(writeBmp("/nonexistent-dir/x.bmp", {5, 3, px.data()}), 12);
    // An existing file is replaced only by a complete one.
    const std::string path = tempPath("bmp_keep.bmp");
    ASSERT_EQ(writeBmp(path, {5, 3, px.data()}), 0);
    const std::vector<uint8_t> before = readFile(path);
    EXPECT_EQ(writeBmp(path, {0, 0, px.data()}), 10);
    EXPECT_EQ(readFile(path), before);
    std::remove(path.c_str());
}
