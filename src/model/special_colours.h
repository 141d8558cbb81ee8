#pragma once
// Special colour slots 3..14: named roles (axis, gridline, zoom rectangle,
// the set colour ...) mapped to palette indices per window.
#include <array>
#include <cstddef>
#include <cstdint>

namespace qx {

enum SpecialColour : int {
    SlotAxis = 3,
    SlotIim = 4,
    SlotCriticalOrbit = 5,
    SlotFirstBinary = 6,
    SlotSecondBinary = 7,
    SlotNoTarget = 8, // the set colour: points that do not escape
    SlotTracing = 9,
    SlotGridline = 10,
    SlotFixedPoint = 11,
    SlotAncestor = 12,
    SlotDem = 13,
    SlotZoomRectangle = 14,
};
inline constexpr int kFirstSpecialSlot = 3;
inline constexpr int kLastSpecialSlot = 14;

class SpecialColours {
public:
    SpecialColours(); // the defaults
    // Palette index of a slot; 0 for a slot outside 3..14.
    int16_t get(int slot) const;
    // Returns 0, or 17 for a slot outside 3..14 or an index outside 0..60
    // (nothing changes).
    int set(int slot, int16_t paletteIndex);
    static int16_t defaultIndex(int slot);
    // "axis", "IIM", ...; empty outside 3..14.
    static const char* name(int slot);

private:
    std::array<int16_t, kLastSpecialSlot + 1> index_{};
};

} // namespace qx
