#include "graphics/bmp_reader.h"

#include "base/file_io.h"
#include "graphics/png_reader.h"

#include <cstring>

namespace qx {

namespace {

constexpr int32_t kMaxSide = 30000;
constexpr int64_t kMaxPixels = int64_t(1) << 26;

uint32_t u32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

uint16_t u16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

} // namespace

int decodeBmp(const std::vector<uint8_t>& b, Image& out)
{
    constexpr int kBad = 6;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return kBad;
    const uint32_t dataOffset = u32(b, 10), headerSize = u32(b, 14);
    if (headerSize < 40 || headerSize > b.size() - 14)
        return kBad;
    const auto width = static_cast<int32_t>(u32(b, 18)), rawHeight = static_cast<int32_t>(u32(b, 22));
    const uint16_t planes = u16(b, 26), bits = u16(b, 28);
    const uint32_t compression = u32(b, 30);
    uint32_t colours = u32(b, 46);
    if (planes != 1 || width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN)
        return kBad;
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (width > kMaxSide || height > kMaxSide || int64_t(width) * height > kMaxPixels)
        return 20;
    const bool bitfields = compression == 3 && (bits == 32 || bits == 16);
    if (compression != 0 && !bitfields)
        return kBad;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32 && !(bits == 16 && bitfields))
        return kBad;
    // Bit fields: the masks follow a 40-byte header, or sit inside a longer one.
    uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (bitfields) {
        const size_t at = 14 + 40;
        if (b.size() < at + 12)
            return kBad;
        for (int i = 0; i < 3; ++i)
            masks[i] = u32(b, at + 4 * static_cast<size_t>(i));
        for (uint32_t m : masks)
            if (m == 0)
                return kBad;
    }
    std::vector<uint32_t> palette;
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        if (colours == 0 || colours > most)
            colours = most;
        const size_t at = 14 + headerSize;
        if (at + size_t(colours) * 4 > b.size())
            return kBad;
        for (uint32_t i = 0; i < colours; ++i) {
            const size_t p = at + 4 * size_t(i);
            palette.push_back(uint32_t(b[p + 2]) | uint32_t(b[p + 1]) << 8 | uint32_t(b[p]) << 16);
        }
    }
    const size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
    if (dataOffset > b.size() || stride * size_t(height) > b.size() - dataOffset)
        return kBad;
    const auto channel = [](uint32_t v, uint32_t mask) {
        int shift = 0;
        while (!((mask >> shift) & 1u))
            ++shift;
        const uint64_t max = mask >> shift;
        return static_cast<uint32_t>(uint64_t((v & mask) >> shift) * 255u / max);
    };
    Image img(width, height);
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* src = b.data() + dataOffset + stride * size_t(topDown ? row : height - 1 - row);
        for (int32_t col = 0; col < width; ++col) {
            uint32_t rgb = 0;
            if (bits <= 8) {
                const size_t bit = size_t(col) * bits;
                const uint32_t index = (src[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index >= palette.size())
                    return kBad;
                rgb = palette[index];
            } else if (bits == 24) {
                const uint8_t* p = src + 3 * size_t(col);
                rgb = uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
            } else {
                const uint8_t* p = src + size_t(bits / 8) * size_t(col);
                const uint32_t v = bits == 32 ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                                    uint32_t(p[3]) << 24
                                              : uint32_t(p[0]) | uint32_t(p[1]) << 8;
                rgb = channel(v, masks[0]) | channel(v, masks[1]) << 8 | channel(v, masks[2]) << 16;
            }
            img.set(col, row, rgb);
        }
    }
    out = std::move(img);
    return 0;
}

int readPictureFile(const std::string& path, Image& out)
{
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, size_t(kMaxPixels) * 4 + (1u << 20)))
        return 11;
    return looksLikePng(bytes) ? decodePng(bytes, out) : decodeBmp(bytes, out);
}

} // namespace qx
