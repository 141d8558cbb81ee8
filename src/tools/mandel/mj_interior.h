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

// Steps a probe follows an orbit for its first return, and so the longest
// cycle it can prove.
inline constexpr int kProbeSteps = 16;

// The period of an orbit that seems to settle: the first k <= kProbeSteps
// after which the orbit of (zr, zi), computed in the arithmetic F (only a
// guide for settlesProvably), returns close to (zr, zi), or 0 when it does
// not (or passes the threshold first).
template <class F>
int returnPeriod(F zr, F zi, F cr, F ci, F threshold)
{
    const F gate = F(1e-4) * (zr * zr + zi * zi + 1);
    F xr = zr, xi = zi;
    for (int steps = 1; steps <= kProbeSteps; ++steps) {
        const F r2 = xr * xr, i2 = xi * xi;
        if (!(r2 + i2 <= threshold))
            return 0;
        const F t = xr * xi;
        xi = t + t + ci;
        xr = r2 - i2 + cr;
        const F dr = xr - zr, di = xi - zi;
        if (dr * dr + di * di <= gate)
            return steps;
    }
    return 0;
}

// Whether every computed orbit that starts within `radius` of (zr, zi)
// provably never passes the threshold, given the period p of the orbit of
// (zr, zi): its p points are computed and the disc chain of
// orbitCycleProvesBounded, starting from a disc of at least `radius`, must
// close.
bool settlesProvably(Real zr, Real zi, Real radius, int p, Real cr, Real ci, Real threshold);

// The same for a whole family of computed orbits at once: those starting
// within startSpread of (z0r, z0i) with parameters within stepSpread of
// (cr, ci) (a run of pixels). One centre orbit is followed for at most
// maxSteps steps with a radius that holds every member's point (each step
// maps d to d (2|z| + d) + stepSpread + 2 delta); when the centre returns
// close to an earlier point, the disc chain above, with the spread added at
// every step and starting from that point's radius, may prove that no
// member ever passes the threshold.
bool familyProvesBounded(Real z0r, Real z0i, Real startSpread, Real cr, Real ci, Real stepSpread, Real threshold,
                         int maxSteps);

} // namespace qx
