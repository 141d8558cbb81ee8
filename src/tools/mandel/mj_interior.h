#pragma once
// Parameters c whose critical orbit under z^2 + c provably never passes a
// threshold, so their pixels are the set colour without iterating.
#include "base/numeric.h"

namespace qx {

// True only when every point of the computed orbit 0, c, c^2 + c, ... (in
// extended arithmetic, rounding included) has |z|^2 <= threshold. It
// recognises most of the main cardioid and a disc in the period-2 bulb;
// false says nothing.
bool criticalOrbitStaysBounded(Real cr, Real ci, Real threshold);

} // namespace qx
