#pragma once
// Helpers for the bitmap writer tests: a small test picture, file access and
// ImageMagick as an independent reader.
#include "graphics/colour.h"
#include "graphics/view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qx::test {

// A 201 x 101 page showing [0, 200] x [0, 100], one world unit a pixel with
// y up, and three distinct colours: black, red 10 / blue 200, and green.
struct PageFixture : ::testing::Test {
    View view;
    Palette palette{};
    void SetUp() override
    {
        view.setPixelSize(201, 101);
        view.setViewByCorners(0, 200, 0, 100);
        palette[0] = 0x000000;
        palette[1] = 0xC8000A;
        palette[2] = 0x00FF00;
    }
};

// 5 x 3 pixels, each with distinct red, green and blue bytes (0x00BBGGRR).
inline std::vector<uint32_t> testPixels()
{
    std::vector<uint32_t> p;
    for (uint32_t r = 0; r < 3; ++r)
        for (uint32_t c = 0; c < 5; ++c)
            p.push_back((c * 40 + 1) | ((r * 80 + 2) << 8) | ((c * 10 + r * 7 + 3) << 16));
    return p;
}

inline std::string tempPath(const std::string& name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/qx_" + name;
}

inline std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool haveConvert() { return std::system("convert -version > /dev/null 2>&1") == 0; }

// The picture as ImageMagick reads it: R, G, B bytes row by row from the top.
inline std::vector<uint8_t> decodeWithConvert(const std::string& path)
{
    const std::string out = path + ".rgb";
    const std::string cmd = "convert '" + path + "' -depth 8 rgb:'" + out + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0)
        return {};
    std::vector<uint8_t> bytes = readFile(out);
    std::remove(out.c_str());
    return bytes;
}

inline std::vector<uint8_t> rgbBytes(const std::vector<uint32_t>& pixels)
{
    std::vector<uint8_t> out;
    for (uint32_t p : pixels)
        out.insert(out.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)});
    return out;
}

} // namespace qx::test
