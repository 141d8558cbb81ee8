#pragma once
// The pen every primitive draws with: colour index (palette rule of
// colour.h), width in pixels, style 0 solid or 1..4 broken patterns.
#include <cstdint>

namespace qx {

enum PenStyle : int16_t { PenSolid = 0, PenDash = 1, PenDot = 2, PenDashDot = 3, PenDashDotDot = 4 };

struct Pen {
    int16_t colour = 1;
    int16_t width = 1;
    int16_t style = PenSolid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

// Style clamped to 0..4 (an unknown style draws solid).
constexpr int16_t penStyle(const Pen& p) { return (p.style >= 0 && p.style <= 4) ? p.style : int16_t(0); }

// On/off run lengths in pixels of each broken style, for raster back-ends
// that draw the patterns themselves; {0,0} for solid. Patterns repeat.
struct DashPattern { int on[3]; int off[3]; int count; };
DashPattern dashPattern(int style);

} // namespace qx
