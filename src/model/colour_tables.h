#pragma once
// Colour sequences and the lookup tables built from them, gray sequences
// for black-and-white printing, the 8x8 ordered dither and the fixed gray
// shades of binary colours.
#include "graphics/colour.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qx {

// Each channel p + (q - p) * t, truncated toward zero.
Rgb blend(Rgb p, Rgb q, double t);

inline constexpr int kMaxAnchors = 128;
inline constexpr int kMaxSteps = 64;
inline constexpr int kBinaryColours = 10;

struct ColourSequence {
    int steps = 20;                                   // 1..64
    std::vector<Rgb> anchors{0x000080, 0x0080FF, 0x00FFFF, 0x005080}; // 2..128
    int graySteps = 4;                                // 1..64
    std::vector<int> grayAnchors{128, 255};           // 2..128 values 0..255
    std::array<Rgb, kBinaryColours> binary{0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000,
                                           0x00FFFF, 0xFF00FF, 0xFFFF00, 0x808080, 0x404040};
    friend bool operator==(const ColourSequence&, const ColourSequence&) = default;
};

// 0 when the sequence can be built, else 17 (steps or anchor counts out of
// range, gray values outside 0..255).
int checkSequence(const ColourSequence& s);

// A * S + 1 entries: entry k*S + j = blend(a[k], a[k+1], j/S) with the
// anchors taken cyclically, and the closing entry A*S = a[0]. The usable
// length is A * S. Empty for a sequence checkSequence refuses.
std::vector<Rgb> buildColourTable(const std::vector<Rgb>& anchors, int steps);
// The same rule on gray values (0..255), each truncated.
std::vector<int> buildGrayTable(const std::vector<int>& anchors, int steps);

// Built tables of one sequence for one sweep.
struct ColourTable {
    std::vector<Rgb> colours;   // L + 1 entries
    std::vector<int> grays;     // gray length + 1 entries
    std::array<Rgb, kBinaryColours> binary{};
    int length() const { return colours.empty() ? 0 : static_cast<int>(colours.size()) - 1; }
    int grayLength() const { return grays.empty() ? 0 : static_cast<int>(grays.size()) - 1; }
};
ColourTable buildTable(const ColourSequence& s);

// Ordered-dither matrix, rows from the top.
extern const std::array<std::array<uint8_t, 8>, 8> kDitherMatrix;
// Gray shades used when printing binary colour k = 0..9.
inline constexpr std::array<int, kBinaryColours> kBinaryShades{255, 0, 218, 236, 199, 245, 190, 227, 209, 180};

// Gray printing: shade g (0..255, clamped) at pixel (col, row) is white when
// M[row mod 8][col mod 8] >= (255 - g) div 8, else black.
bool ditherWhite(int gray, int col, int row);
inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kWhite = 0xFFFFFF;

// Row-buffer colour codes (what a print image stores): a non-negative code
// is an index into the colour table; a special colour is its palette index
// minus 2^24; black-and-white printing uses kCodeBlack and kCodeWhite.
constexpr int32_t specialColourCode(int paletteIndex) { return paletteIndex - (1 << 24); }
inline constexpr int32_t kCodeBlack = static_cast<int32_t>(0xFF000000u);
inline constexpr int32_t kCodeWhite = static_cast<int32_t>(0xFF000001u);

} // namespace qx
