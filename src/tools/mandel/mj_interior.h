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

// The same, inline where most parameters are refused: those outside the
// cardioid (the classical test, with room for its rounding) and outside the
// disc of the bulb never reach the proof.
inline bool criticalOrbitMayStayBounded(Real cr, Real ci)
{
    const Real x = cr - 0.25L, q = x * x + ci * ci, nr = cr + 1;
    return (cr * cr + ci * ci <= 0.36L && q * (q + x) <= 0.25L * ci * ci + 1e-9L) || nr * nr + ci * ci <= 0.04L;
}

// Whether the computed orbit of z^2 + c from (zr[0], zi[0]) provably never
// passes the threshold, given its next p points (zr[1..p], zi[1..p]), the
// last close to the first (an orbit settling on an attracting p-cycle). The
// proof follows discs around the p points: a point within s_k of point k
// maps within s_k (2|z_k| + s_k) + 2 delta of point k + 1 (delta bounds the
// rounding of a step), and the disc around point 0 must come back into
// itself, the distance from point p to point 0 included, with every disc
// under the threshold. Any period, no closed form, no tolerance.
bool orbitCycleProvesBounded(const Real* zr, const Real* zi, int p, Real cr, Real ci, Real threshold);

} // namespace qx
