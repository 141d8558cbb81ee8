#pragma once
// Writing numbers and points as text.
#include "base/numeric.h"

#include <string>

namespace qx {

// printf's %*.*Lf: `decimals` decimals, padded on the left to `width`.
std::string FormatReal(Real v, int width, int decimals);
// re, then '+' or '-', then |im|, then 'i', each part FormatReal(v, n + 2, n).
std::string FormatComplexText(const Complex& w, int decimals);
// A clicked point as a tool writes it back into a text field: "x y" (or
// "(x , y)" with brackets) in real windows, "x + yi" in complex ones.
std::string FormatPointText(Real x, Real y, bool brackets, int decimals, bool complexMode);

} // namespace qx
