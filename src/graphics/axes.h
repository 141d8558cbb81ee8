#pragma once
// Axes, ticks, scale labels and the rectangular grid, drawn only through
// Canvas primitives so every back-end gets the same picture.
#include "graphics/canvas.h"
#include "graphics/grid_settings.h"

#include <string>
#include <vector>

namespace qx {

// printf("%*.*Lf", width, precision, v).
std::string formatReal(Real v, int width, int precision);

// Label text of the tick at value v. `tex` writes the pi sign as \pi, else
// as the character piChar.
std::string axisScaleLabel(Real v, const AxisScale& axis, int piChar, int suffixChar, bool tex = false);

// Tick values k * interval inside [lo, hi], at most kMaxTicks of them (a
// finer interval is thinned by whole multiples so the picture stays legible).
inline constexpr int kMaxTicks = 400;
std::vector<Real> tickValues(Real lo, Real hi, Real interval);

struct AxesPens {
    Pen axis;  // colour from the "axis" special colour
    Pen grid;  // colour from the "gridline" special colour; style 2 when dotted
};

// Grid (quadrants), then x axis with ticks and labels, then y axis, then
// the letters. Draws nothing when neither axes nor grid are on.
void drawAxesAndGrid(Canvas& canvas, const GridSettings& settings, const AxesPens& pens);

} // namespace qx
