#pragma once
// A 5 x 7 pixel font for the characters of scale labels and axis letters,
// so pictures rendered without a toolkit still carry their numbers.
#include <array>
#include <cstdint>

namespace qx {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphAdvance = 6;

// Rows from the top; bit 4 is the leftmost column. A character without a
// glyph of its own gets a hollow box.
std::array<uint8_t, kGlyphHeight> glyphRows(unsigned char c);

} // namespace qx
