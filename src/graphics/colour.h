#pragma once
// Colours and the window palette. A colour is 32 bits with red in the low
// byte, then green, then blue: 0x00BBGGRR. The top byte is always 0.
#include <array>
#include <cstdint>

namespace qx {

using Rgb = uint32_t;

constexpr Rgb makeRgb(int r, int g, int b)
{
    return static_cast<Rgb>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }

// The window's table of basic colours. Entry 0 is the background.
inline constexpr int kPaletteSize = 61;
using Palette = std::array<Rgb, kPaletteSize>;

// The colour-index rule every back-end uses: indices 1..60 select their
// entry, any other index (0, negative, 61 and more) the background entry 0.
constexpr int paletteSlot(int index) { return (index >= 1 && index < kPaletteSize) ? index : 0; }
constexpr Rgb paletteColour(const Palette& palette, int index) { return palette[paletteSlot(index)]; }

// The built-in basic colours: 0 black, 1 white, then the named colours.
Palette defaultPalette();

// The 113-colour built-in table: the 61 basic colours followed by 52 more
// (a hue wheel at two strengths); old documents index into it.
inline constexpr int kLogicalPaletteSize = 113;
using LogicalPalette = std::array<Rgb, kLogicalPaletteSize>;
const LogicalPalette& logicalPalette();
// Entry `index` of the table, entry 0 for an index outside 0..112.
Rgb logicalColour(int index);

} // namespace qx
