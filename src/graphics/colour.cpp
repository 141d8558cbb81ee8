#include "graphics/colour.h"

#include <cstddef>

namespace qx {

namespace {

constexpr Palette kBasic{
    0x000000, 0xFFFFFF, 0xFF00FF, 0x00FFFF, 0x0000FF, 0x3FBF00, 0xFF0000, 0x7F7F00, 0x007FFF,
    0x7F00FF, 0x002FA0, 0xFFFF00, 0x7FBFBF, 0x7F007F, 0x00FF20, 0x7F7FFF, 0x008787, 0xA03C00,
    0xE0E0E0, 0xC0C0C0, 0xA0A0A0, 0x808080, 0x606060, 0x404040, 0x3F00BF, 0xFFDE7E, 0xCCCCFF,
    0xDE7EFF, 0x7EDEFF, 0x7EFFDE, 0xDEFF7E, 0xBFFFFF, 0xFFBFFF, 0xFFFFBF, 0xDEFFFF, 0xFFDEFF,
    0xFFFFDE, 0xD4DEB1, 0xDED4B1, 0xDEB1D4, 0xB1DED4, 0xD4B1DE, 0xB1D4DE, 0xDEF1BF, 0xF1DEBF,
    0xBFF1DE, 0xF1BFDE, 0xBFDEF1, 0xDEBFF1, 0xEA96FF, 0xFFEA96, 0xCCCCCC, 0x0070C8, 0x00CDDE,
    0x2068DE, 0x288214, 0xA000C0, 0x2828D4, 0xB08450, 0xC8A064, 0x146414};

// Hue h in 0..1535 at full saturation, scaled to `level` (0..255).
constexpr Rgb hue(int h, int level)
{
    const int sector = h / 256, f = h % 256;
    int r = 0, g = 0, b = 0;
    switch (sector) {
    case 0: r = 255; g = f; break;
    case 1: r = 255 - f; g = 255; break;
    case 2: g = 255; b = f; break;
    case 3: g = 255 - f; b = 255; break;
    case 4: r = f; b = 255; break;
    default: r = 255; b = 255 - f; break;
    }
    return makeRgb(r * level / 255, g * level / 255, b * level / 255);
}

constexpr LogicalPalette makeLogical()
{
    LogicalPalette t{};
    for (int i = 0; i < kPaletteSize; ++i)
        t[static_cast<size_t>(i)] = kBasic[static_cast<size_t>(i)];
    for (int i = 0; i < 26; ++i) { // 26 hues, bright then dark
        t[static_cast<size_t>(kPaletteSize + i)] = hue(i * 1536 / 26, 255);
        t[static_cast<size_t>(kPaletteSize + 26 + i)] = hue(i * 1536 / 26, 160);
    }
    return t;
}

constexpr LogicalPalette kLogical = makeLogical();

} // namespace

Palette defaultPalette() { return kBasic; }

const LogicalPalette& logicalPalette() { return kLogical; }

Rgb logicalColour(int index)
{
    return (index >= 0 && index < kLogicalPaletteSize) ? kLogical[static_cast<size_t>(index)] : kLogical[0];
}

} // namespace qx
