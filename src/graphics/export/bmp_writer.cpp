#include "graphics/export/bmp_writer.h"

#include "base/file_io.h"

#include <cstdio>

namespace qx {

namespace {

void put16(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}

void put32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

constexpr size_t kHeaderBytes = 14 + 40;

} // namespace

// The side limit keeps every size field of a header within 32 bits.
int checkPicture(const PixelsView& picture)
{
    if (picture.width <= 0 || picture.height <= 0 || !picture.pixels)
        return 10;
    if (picture.width > kMaxPictureSide || picture.height > kMaxPictureSide)
        return 20;
    return 0;
}

std::vector<uint8_t> encodeBmp(const PixelsView& picture)
{
    if (checkPicture(picture))
        return {};
    const int w = picture.width, h = picture.height;
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t(3);
    const size_t imageBytes = stride * static_cast<size_t>(h);
    std::vector<uint8_t> out(kHeaderBytes + imageBytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<uint32_t>(out.size()));
    put32(out, 10, kHeaderBytes);
    put32(out, 14, 40);                   // BITMAPINFOHEADER
    put32(out, 18, static_cast<uint32_t>(w));
    put32(out, 22, static_cast<uint32_t>(h)); // positive: bottom-up
    put16(out, 26, 1);                    // planes
    put16(out, 28, 24);                   // bits per pixel
    put32(out, 34, static_cast<uint32_t>(imageBytes));
    put32(out, 38, 2835);                 // 72 dpi
    put32(out, 42, 2835);
    for (int r = 0; r < h; ++r) {
        const uint32_t* src = picture.pixels + static_cast<size_t>(h - 1 - r) * w;
        uint8_t* dst = out.data() + kHeaderBytes + static_cast<size_t>(r) * stride;
        for (int c = 0; c < w; ++c) {
            dst[3 * c] = static_cast<uint8_t>(src[c] >> 16);    // blue
            dst[3 * c + 1] = static_cast<uint8_t>(src[c] >> 8); // green
            dst[3 * c + 2] = static_cast<uint8_t>(src[c]);      // red
        }
    }
    return out;
}

int writeBmp(const std::string& path, const PixelsView& picture)
{
    if (const int e = checkPicture(picture))
        return e;
    return writeFileAtomically(path, encodeBmp(picture)) ? 0 : 12;
}

} // namespace qx
