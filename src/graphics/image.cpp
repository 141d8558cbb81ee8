#include "graphics/image.h"

#include <algorithm>

namespace qx {

Image::Image(int w, int h, Rgb fillColour)
{
    resize(w, h, fillColour);
}

void Image::resize(int w, int h, Rgb fillColour)
{
    width = std::max(w, 0);
    height = std::max(h, 0);
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fillColour | kOpaque);
}

void Image::fill(Rgb c)
{
    std::fill(pixels.begin(), pixels.end(), c | kOpaque);
}

void Image::copyRows(const Image& src, int first, int last)
{
    if (src.width != width || src.height != height)
        return;
    first = std::max(first, 0);
    last = std::min(last, height);
    if (first < last)
        std::copy(src.row(first), src.row(last), row(first));
}

void toArgb32(const Image& image, uint32_t* out)
{
    for (Rgb c : image.pixels)
        *out++ = 0xFF000000u | (static_cast<uint32_t>(redOf(c)) << 16) | (static_cast<uint32_t>(greenOf(c)) << 8) |
                 static_cast<uint32_t>(blueOf(c));
}

} // namespace qx
