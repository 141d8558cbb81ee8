#pragma once
// The cycle generator's table: real superattracting parameters of z^2 + c.
#include "base/numeric.h"

#include <span>

namespace qx {

// The real c at which 0 has exact period n under z -> z^2 + c, ascending;
// empty outside n = 2 .. 11.
std::span<const Real> superattractingParameters(int n);

} // namespace qx
