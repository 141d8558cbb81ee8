#pragma once
// The period report of the "Show period" mouse mode.
#include "tools/mandel/mj_params.h"

#include <cstdint>
#include <string>

namespace qx {

// The period of the orbit of `start` under z^d + c: with q_0 = start and
// P = p.maxPeriod further points, the first i from P - 1 down to 0 whose
// taxicab distance to q_P is below `tolerance` gives P - i. Returns -1 when
// none qualifies and -3 when the orbit cannot be stored.
int32_t orbitPeriod(const MJParams& p, Complex start, Complex c, Real tolerance);

// "x + yi" with the given number of decimals ("x - yi" for a negative y).
std::string formatComplex(Complex z, int decimals);

// The title shown while the button is held on `point`: the point (7
// decimals), " : ", then "infinity at rep = n" when the critical orbit
// (Mandelbrot) or the orbit of the point (Julia) escapes, else "period = "
// and the period, or "large". `tolerance` is in world units.
std::string periodReport(const MJParams& p, Complex point, Real tolerance);

} // namespace qx
