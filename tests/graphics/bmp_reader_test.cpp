// The bitmap reader: what the writer writes reads back; palette, top-down
// and bit-field pictures; every truncation and bad header is refused.
#include "graphics/bmp_reader.h"
#include "graphics/export/bmp_writer.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// A 4-bit palette picture, 3 x 2, top-down when `topDown`.
std::vector<uint8_t> paletteBmp(bool topDown)
{
    std::vector<uint8_t> b(54 + 16 * 4 + 2 * 4, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<uint32_t>(b.size()));
    put32(b, 10, 54 + 64);
    put32(b, 14, 40);
    put32(b, 18, 3);
    put32(b, 22, topDown ? static_cast<uint32_t>(-2) : 2u);
    b[26] = 1;
    b[28] = 4;
    // Palette: entry 1 red, entry 2 blue (stored B, G, R, 0).
    b[54 + 4 + 2] = 0xFF;
    b[54 + 8 + 0] = 0xFF;
    // Rows of 3 nibbles, padded to 4 bytes: the first stored row 1 2 0, the second 2 2 1.
    b[118] = 0x12;
    b[119] = 0x00;
    b[122] = 0x22;
    b[123] = 0x10;
    return b;
}

} // namespace

TEST(BmpReader, WhatTheWriterWritesReadsBack)
{
    std::vector<uint32_t> px(7 * 5);
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = static_cast<uint32_t>(i * 0x010203u) & 0xFFFFFFu;
    const std::vector<uint8_t> bytes = encodeBmp({7, 5, px.data()});
    Image img;
    ASSERT_EQ(decodeBmp(bytes, img), 0);
    ASSERT_EQ(img.width, 7);
    ASSERT_EQ(img.height, 5);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(img.at(c, r), px[static_cast<size_t>(r) * 7 + static_cast<size_t>(c)]) << c << "," << r;
    // Every truncation is refused and leaves the picture as it was.
    for (size_t n = 0; n < bytes.size(); n += 7) {
        Image kept(2, 2, 0x123456);
        EXPECT_EQ(decodeBmp(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)), kept), 6) << n;
        EXPECT_EQ(kept.width, 2);
    }
}

TEST(BmpReader, PaletteRowOrderAndBadHeaders)
{
    Image up, down;
    ASSERT_EQ(decodeBmp(paletteBmp(false), up), 0);
    ASSERT_EQ(decodeBmp(paletteBmp(true), down), 0);
    // Bottom-up: the first stored row is the bottom one.
    EXPECT_EQ(up.at(0, 1), 0x0000FFu); // red
    EXPECT_EQ(up.at(1, 1), 0xFF0000u); // blue
    EXPECT_EQ(up.at(2, 0), 0x0000FFu);
    EXPECT_EQ(down.at(0, 0), 0x0000FFu);
    EXPECT_EQ(down.at(2, 1), 0x0000FFu);

    std::vector<uint8_t> b = paletteBmp(false);
    b[28] = 5; // 5 bits per pixel
    EXPECT_EQ(decodeBmp(b, up), 6);
    b = paletteBmp(false);
    b[30] = 1; // run-length compressed
    EXPECT_EQ(decodeBmp(b, up), 6);
    b = paletteBmp(false);
    put32(b, 18, 40000); // wider than 30000
    EXPECT_EQ(decodeBmp(b, up), 20);
    b = paletteBmp(false);
    put32(b, 10, 0xFFFFFFF0u); // data beyond the file
    EXPECT_EQ(decodeBmp(b, up), 6);
    b = paletteBmp(false);
    put32(b, 46, 3); // three palette entries: the pixels use 0 .. 2
    EXPECT_EQ(decodeBmp(b, up), 0);
    b[122] = 0x32; // index 3 with a three-colour palette
    EXPECT_EQ(decodeBmp(b, up), 6);
}

// ---- PNG.

#include "graphics/export/png_writer.h"
#include "graphics/png_reader.h"

TEST(PngReader, WhatTheWriterWritesReadsBackAndDamageIsRefused)
{
    std::vector<uint32_t> px(37 * 23);
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = static_cast<uint32_t>(i * 0x030507u + (i % 7) * 0x100) & 0xFFFFFFu;
    const std::vector<uint8_t> bytes = encodePng({37, 23, px.data()});
    ASSERT_TRUE(looksLikePng(bytes));
    Image img;
    ASSERT_EQ(decodePng(bytes, img), 0);
    ASSERT_EQ(img.width, 37);
    ASSERT_EQ(img.height, 23);
    for (int r = 0; r < 23; ++r)
        for (int c = 0; c < 37; ++c)
            ASSERT_EQ(img.at(c, r), px[static_cast<size_t>(r) * 37 + static_cast<size_t>(c)]) << c << "," << r;
    for (size_t n = 0; n < bytes.size(); n += 5) {
        Image kept(1, 1);
        EXPECT_NE(decodePng(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)), kept), 0) << n;
        EXPECT_EQ(kept.width, 1);
    }
    std::vector<uint8_t> bad = bytes;
    bad[8 + 8 + 8] = 3; // IHDR depth 3
    EXPECT_EQ(decodePng(bad, img), 6);
    EXPECT_EQ(decodeBmp(bytes, img), 6); // a PNG is no bitmap
}
