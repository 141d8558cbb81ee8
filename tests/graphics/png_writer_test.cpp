#include "export_test_support.h"
#include "graphics/export/png_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace qx;
using namespace qx::test;

namespace {

uint32_t be32(const std::vector<uint8_t>& b, size_t at)
{
    return (uint32_t(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
    bool crcOk = false;
};

std::vector<Chunk> chunks(const std::vector<uint8_t>& b)
{
    std::vector<Chunk> out;
    for (size_t at = 8; at + 12 <= b.size();) {
        const uint32_t len = be32(b, at);
        Chunk c;
        c.type.assign(b.begin() + at + 4, b.begin() + at + 8);
        c.data.assign(b.begin() + at + 8, b.begin() + at + 8 + len);
        const uLong crc = crc32(0L, b.data() + at + 4, len + 4);
        c.crcOk = crc == be32(b, at + 8 + len);
        out.push_back(c);
        at += 12 + len;
    }
    return out;
}

} // namespace

TEST(PngWriter, SignatureChunksAndHeader)
{
    const std::vector<uint32_t> px = testPixels();
    const std::vector<uint8_t> b = encodePng({5, 3, px.data()});
    ASSERT_GT(b.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    const std::vector<Chunk> cs = chunks(b);
    ASSERT_EQ(cs.size(), 3u);
    EXPECT_EQ(cs[0].type, "IHDR");
    EXPECT_EQ(cs[1].type, "IDAT");
    EXPECT_EQ(cs[2].type, "IEND");
    for (const Chunk& c : cs)
        EXPECT_TRUE(c.crcOk) << c.type;
    ASSERT_EQ(cs[0].data.size(), 13u);
    EXPECT_EQ(be32(cs[0].data, 0), 5u);
    EXPECT_EQ(be32(cs[0].data, 4), 3u);
    EXPECT_EQ(cs[0].data[8], 8); // bit depth
    EXPECT_EQ(cs[0].data[9], 2); // RGB
    EXPECT_TRUE(cs[2].data.empty());
}

TEST(PngWriter, ImageDataInflatesToFilteredRows)
{
    const std::vector<uint32_t> px = testPixels();
    const std::vector<Chunk> cs = chunks(encodePng({5, 3, px.data()}));
    std::vector<uint8_t> raw(3 * (1 + 15));
    uLongf size = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &size, cs[1].data.data(), cs[1].data.size()), Z_OK);
    ASSERT_EQ(size, raw.size());
    const std::vector<uint8_t> rgb = rgbBytes(px);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(raw[r * 16], 0) << "filter of row " << r;
        EXPECT_TRUE(std::equal(rgb.begin() + r * 15, rgb.begin() + r * 15 + 15, raw.begin() + r * 16 + 1));
    }
}

TEST(PngWriter, ImageMagickReadsThePictureBack)
{
    if (!haveConvert())
        GTEST_SKIP() << "ImageMagick convert not installed";
    std::vector<uint32_t> px;
    for (uint32_t i = 0; i < 64 * 40; ++i)
        px.push_back((i * 2654435761u) & 0xFFFFFF);
    const std::string path = tempPath("png_roundtrip.png");
    ASSERT_EQ(writePng(path, {64, 40, px.data()}), 0);
    EXPECT_EQ(decodeWithConvert(path), rgbBytes(px));
    std::remove(path.c_str());
}

TEST(PngWriter, RefusalsLeaveTheTargetAlone)
{
    const std::vector<uint32_t> px = testPixels();
    EXPECT_EQ(writePng(tempPath("png_empty.png"), {5, 0, px.data()}), 10);
    EXPECT_EQ(writePng(tempPath("png_huge.png"), {1, 30001, px.data()}), 20);
    EXPECT_EQ(writePng("/nonexistent-dir/x.png", {5, 3, px.data()}), 12);
    const std::string path = tempPath("png_keep.png");
    ASSERT_EQ(writePng(path, {5, 3, px.data()}), 0);
    const std::vector<uint8_t> before = readFile(path);
    EXPECT_EQ(writePng(path, {5, 3, nullptr}), 10);
    EXPECT_EQ(readFile(path), before);
    std::remove(path.c_str());
}
