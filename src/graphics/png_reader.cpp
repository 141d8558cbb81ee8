#include "graphics/png_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace qx {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int32_t kMaxSide = 30000;
constexpr int64_t kMaxPixels = int64_t(1) << 26;

uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Inflates exactly `expected` bytes (more is refused).
bool inflateExactly(const std::vector<uint8_t>& packed, size_t expected, std::vector<uint8_t>& out)
{
    out.assign(expected, 0);
    z_stream s{};
    if (inflateInit(&s) != Z_OK)
        return false;
    s.next_in = const_cast<Bytef*>(packed.data());
    s.avail_in = static_cast<uInt>(packed.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    const int r = inflate(&s, Z_FINISH);
    const bool ok = (r == Z_STREAM_END || r == Z_BUF_ERROR) && s.avail_out == 0;
    inflateEnd(&s);
    return ok;
}

uint8_t paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

} // namespace

bool looksLikePng(const std::vector<uint8_t>& b)
{
    return b.size() >= 8 && std::memcmp(b.data(), kSignature, 8) == 0;
}

int decodePng(const std::vector<uint8_t>& b, Image& out)
{
    constexpr int kBad = 6;
    if (!looksLikePng(b))
        return kBad;
    uint32_t width = 0, height = 0;
    int depth = 0, type = -1;
    std::vector<uint8_t> idat, palette;
    bool header = false, end = false;
    for (size_t at = 8; at + 12 <= b.size() && !end;) {
        const uint32_t length = be32(&b[at]);
        if (length > b.size() - at - 12)
            return kBad;
        const uint8_t* tag = &b[at + 4];
        const uint8_t* data = &b[at + 8];
        if (std::memcmp(tag, "IHDR", 4) == 0) {
            if (length != 13)
                return kBad;
            width = be32(data);
            height = be32(data + 4);
            depth = data[8];
            type = data[9];
            if (data[10] != 0 || data[11] != 0 || data[12] != 0) // compression, filter, no interlace
                return kBad;
            header = true;
        } else if (std::memcmp(tag, "PLTE", 4) == 0) {
            palette.assign(data, data + length);
        } else if (std::memcmp(tag, "IDAT", 4) == 0) {
            if (idat.size() + length > (size_t(1) << 31))
                return 20;
            idat.insert(idat.end(), data, data + length);
        } else if (std::memcmp(tag, "IEND", 4) == 0) {
            end = true;
        }
        at += 12 + size_t(length);
    }
    if (!header || !end || width == 0 || height == 0)
        return kBad;
    if (width > uint32_t(kMaxSide) || height > uint32_t(kMaxSide) || int64_t(width) * height > kMaxPixels)
        return 20;
    int channels = 0;
    switch (type) {
    case 0: channels = 1; break;
    case 2: channels = 3; break;
    case 3: channels = 1; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: return kBad;
    }
    const bool depthOk = depth == 8 || (depth == 16 && type != 3) || ((depth == 1 || depth == 2 || depth == 4) && (type == 0 || type == 3));
    if (!depthOk || (type == 3 && (palette.empty() || palette.size() % 3 != 0)))
        return kBad;
    const size_t bitsPerPixel = size_t(channels) * size_t(depth);
    const size_t stride = (size_t(width) * bitsPerPixel + 7) / 8;
    const size_t bpp = std::max<size_t>(1, bitsPerPixel / 8); // bytes to the left pixel for filters
    std::vector<uint8_t> raw;
    if (!inflateExactly(idat, (stride + 1) * height, raw))
        return kBad;
    Image img(static_cast<int>(width), static_cast<int>(height));
    std::vector<uint8_t> previous(stride, 0);
    for (uint32_t row = 0; row < height; ++row) {
        uint8_t* line = &raw[row * (stride + 1)];
        const uint8_t filter = line[0];
        uint8_t* cur = line + 1;
        for (size_t i = 0; i < stride; ++i) {
            const int a = i >= bpp ? cur[i - bpp] : 0, up = previous[i], c = i >= bpp ? previous[i - bpp] : 0;
            switch (filter) {
            case 0: break;
            case 1: cur[i] = static_cast<uint8_t>(cur[i] + a); break;
            case 2: cur[i] = static_cast<uint8_t>(cur[i] + up); break;
            case 3: cur[i] = static_cast<uint8_t>(cur[i] + (a + up) / 2); break;
            case 4: cur[i] = static_cast<uint8_t>(cur[i] + paeth(a, up, c)); break;
            default: return kBad;
            }
        }
        for (uint32_t col = 0; col < width; ++col) {
            const auto sample = [&](int channel) -> uint32_t { // scaled to 0..255
                const size_t index = size_t(col) * size_t(channels) + size_t(channel);
                if (depth == 8)
                    return cur[index];
                if (depth == 16)
                    return cur[2 * index];
                const size_t bit = index * size_t(depth);
                const uint32_t v = (cur[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
                return type == 3 ? v : v * 255u / ((1u << depth) - 1);
            };
            uint32_t r = 0, g = 0, bl = 0;
            if (type == 3) {
                const uint32_t i = sample(0);
                if (size_t(i) * 3 + 2 >= palette.size())
                    return kBad;
                r = palette[i * 3];
                g = palette[i * 3 + 1];
                bl = palette[i * 3 + 2];
            } else if (type == 0 || type == 4) {
                r = g = bl = sample(0);
            } else {
                r = sample(0);
                g = sample(1);
                bl = sample(2);
            }
            img.set(static_cast<int>(col), static_cast<int>(row), r | g << 8 | bl << 16);
        }
        std::memcpy(previous.data(), cur, stride);
    }
    out = std::move(img);
    return 0;
}

} // namespace qx
