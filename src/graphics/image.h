#pragma once
// A 32-bit picture in memory, owned by value.
//
// Layout: row-major, top row first, `width` pixels per row with no padding,
// so pixel (col, row) is pixels[row * width + col]. Each pixel is an Rgb
// 0x00BBGGRR (red in the low byte). On a little-endian machine the bytes of
// a pixel are R, G, B, 0 in memory, which is QImage::Format_RGBX8888 (whose
// fourth byte Qt treats as opaque); toArgb32() gives Format_RGB32 instead.
#include "graphics/colour.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qx {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fill = 0);

    bool empty() const { return width <= 0 || height <= 0; }
    bool contains(int col, int row) const { return col >= 0 && row >= 0 && col < width && row < height; }
    Rgb at(int col, int row) const { return pixels[static_cast<std::size_t>(row) * width + col]; }
    void set(int col, int row, Rgb c) { pixels[static_cast<std::size_t>(row) * width + col] = c; }
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
