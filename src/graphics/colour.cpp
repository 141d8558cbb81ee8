#include "graphics/colour.h"

namespace qx {

namespace {

// Twelve hues at full and half strength, then grays, then pastel mixes, so
// neighbouring indices are easy to tell apart.
constexpr Rgb kHues[12] = {0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF80, 0x00FF00, 0x80FF00,
                           0xFFFF00, 0xFF8000, 0xFF0000, 0xFF0080, 0xFF00FF, 0x8000FF};

Rgb halve(Rgb c) { return makeRgb(redOf(c) / 2, greenOf(c) / 2, blueOf(c) / 2); }
Rgb pastel(Rgb c) { return makeRgb((redOf(c) + 255) / 2, (greenOf(c) + 255) / 2, (blueOf(c) + 255) / 2); }

} // namespace

Palette defaultPalette()
{
    Palette p{};
    p[0] = 0x000000;
    p[1] = 0xFFFFFF;
    for (int i = 0; i < 12; ++i) {
        p[2 + i] = kHues[i];
        p[14 + i] = halve(kHues[i]);
        p[26 + i] = pastel(kHues[i]);
    }
    for (int i = 0; i < 11; ++i) { // grays 38..48, dark to light
        const int g = 20 + i * 21;
        p[38 + i] = makeRgb(g, g, g);
    }
    for (int i = 0; i < 12; ++i) // dark mixes 49..60
        p[49 + i] = makeRgb(redOf(kHues[i]) / 4, greenOf(kHues[i]) / 4 + 32, blueOf(kHues[i]) / 3);
    return p;
}

} // namespace qx
