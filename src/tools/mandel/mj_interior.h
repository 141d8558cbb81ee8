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

// A disc that proves an orbit of z^2 + c bounded once it gets there, for c
// in the main cardioid (around the attracting fixed point) or in the
// period-2 bulb (around either point of the attracting 2-cycle, looked at
// after an even number of steps). Every computed orbit point from a point
// inside stays, rounding included, within a disc around the cycle whose
// points all have |z|^2 <= threshold: the orbit can never escape.
struct InteriorDisc {
    int period = 0;          // 0: no disc; 1 or 2
    Real ar = 0, ai = 0;     // a cycle point
    Real br = 0, bi = 0;     // the other point of a 2-cycle
    Real radius2 = -1;       // |z - a|^2 (or |z - b|^2) at most this proves z

    // Whether z (after an even number of steps for period 2) is proven.
    __attribute__((always_inline)) bool holds(Real zr, Real zi) const
    {
        const Real dr = zr - ar, di = zi - ai;
        if (dr * dr + di * di <= radius2)
            return true;
        const Real er = zr - br, ei = zi - bi;
        return period == 2 && er * er + ei * ei <= radius2;
    }
};

// A cheap first look: false when c is surely in neither component (then
// interiorDisc finds no disc).
inline bool mayHaveDisc(Real cr, Real ci)
{
    const Real x = cr - 0.25L, q = x * x + ci * ci;
    const Real nr = cr + 1;
    return q * (q + x) <= 0.25L * ci * ci * (1 + 1e-9L) || nr * nr + ci * ci <= 0.0625L;
}

// The disc for c, or one with period 0 when c is not recognised (near the
// boundaries of the two components, or a threshold too small).
InteriorDisc interiorDisc(Real cr, Real ci, Real threshold);

} // namespace qx
