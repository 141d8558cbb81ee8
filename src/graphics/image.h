#pragma once
// A 32-bit picture in memory, owned by value.
//
// Layout: row-major, top row first, `width` pixels per row with no padding,
// so pixel (col, row) is pixels[row * width + col]. A stored pixel is the
// colour 0x00BBGGRR (red in the low byte) with the top byte set to 0xFF
// (kOpaque): on a little-endian machine its bytes are R, G, B, 255 in
// memory, which is exactly QImage::Format_RGBX8888 (or RGBA8888), so the Qt
// side can wrap the buffer without copying and paint into it. at() and
// set() take and give plain colours; code writing rows directly ORs kOpaque.
// toArgb32() gives a Format_RGB32 copy instead.
#include "graphics/colour.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qx {

inline constexpr uint32_t kOpaque = 0xFF000000u;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fill = 0);

    bool empty() const { return width <= 0 || height <= 0; }
    bool contains(int col, int row) const { return col >= 0 && row >= 0 && col < width && row < height; }
    Rgb at(int col, int row) const { return pixels[static_cast<std::size_t>(row) * width + col] & 0x00FFFFFFu; }
    void set(int col, int row, Rgb c) { pixels[static_cast<std::size_t>(row) * width + col] = c | kOpaque; }
    Rgb* row(int r) { return pixels.data() + static_cast<std::size_t>(r) * width; }
    const Rgb* row(int r) const { return pixels.data() + static_cast<std::size_t>(r) * width; }

    // Size and fill; previous content is dropped. Negative sizes become 0.
    void resize(int w, int h, Rgb fill = 0);
    void fill(Rgb c);
    // Copy rows [first, last) of `src` (same size) into this image.
    void copyRows(const Image& src, int first, int last);

    friend bool operator==(const Image&, const Image&) = default;
};

// 0x00BBGGRR -> 0xFFRRGGBB (QImage::Format_RGB32 order), for a display copy.
void toArgb32(const Image& image, uint32_t* out);

} // namespace qx
