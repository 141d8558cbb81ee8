#include "tools/mandel/mj_interior.h"

#include <algorithm>
#include <cmath>

namespace qx {

// Why this is safe. Let a be an attracting fixed point (or 2-cycle point) of
// f(z) = z^2 + c and write z = a + u. Then f(z) = f(a) + u (2a + u): if
// |u| <= s, the next deviation is at most s (2|a| + s). Whenever such a
// bound maps s into a disc of radius at most 0.99 s, the disc is invariant,
// and it stays invariant with the rounding of one computed step (below
// 1e-17 for |z| <= 2 and |c| <= 2) as long as s >= 1e-14, since
// 0.01 s >= 1e-16. Every orbit point then lies within s of the cycle, which
// bounds |z|. The cycle points are computed with rounding too, so the
// tests keep margins of about 1e-9 on the quantities they compare.

namespace {

constexpr Real kMinRadius = 1e-14L;
constexpr Real kContraction = 0.99L;
constexpr Real kMargin = 1e-9L;

// |p + qi| for the moderate values here (no overflow or underflow to guard
// against, so no hypot, which is slow in extended precision); its rounding
// is far below the margins.
Real modulus(Real p, Real q)
{
    return std::sqrt(p * p + q * q);
}

// Principal square root of p + qi.
void complexSqrt(Real p, Real q, Real& re, Real& im)
{
    const Real r = modulus(p, q);
    re = std::sqrt((r + p) / 2);
    im = std::copysign(std::sqrt((r - p) / 2), q);
}

// Main cardioid: c = m - m^2 with fixed point m = (1 - sqrt(1 - 4c)) / 2.
// The orbit starts at 0 = m - m and its next point c = m - m^2 is exact, so
// the deviation from m is |m| and then |m|^2; with s = max(|m|^2, floor)
// the disc is invariant when s + 2|m| <= 0.99.
bool inCardioid(Real cr, Real ci, Real threshold)
{
    if (cr * cr + ci * ci > 0.36L) // |c| <= |m| + |m|^2 < 0.6 in the region below
        return false;
    Real sr, si;
    complexSqrt(1 - 4 * cr, -4 * ci, sr, si);
    const Real rho = modulus((1 - sr) / 2, si / 2) + kMargin;
    const Real s = std::max(rho * rho, kMinRadius);
    const Real bound = rho + std::max(rho, s) + kMargin; // |z| for every orbit point
    return s + 2 * rho <= kContraction && bound * bound <= threshold;
}

// Period-2 bulb: the 2-cycle a, b solves z^2 + z + c + 1 = 0 with a the root
// near 0. From 0 = a - a the deviation is |a|, then a^2 from b; one round
// maps s to s' = s (2|a| + s) and then to s' (2|b| + s'). (The rounding of
// the step in between adds to s' a part too small to matter beside the
// 0.01 s of slack.)
bool inBulb(Real cr, Real ci, Real threshold)
{
    const Real nr = cr + 1, ni = ci;
    if (nr * nr + ni * ni > 0.04L)
        return false;
    Real sr, si;
    complexSqrt(1 - 4 * nr, -4 * ni, sr, si);
    const Real alpha = modulus((sr - 1) / 2, si / 2) + kMargin;
    const Real beta = modulus((sr + 1) / 2, si / 2) + kMargin; // b = -1 - a
    const Real s = std::max(alpha, kMinRadius);
    const Real s1 = s * (2 * alpha + s);
    const Real bound = std::max(alpha + s, beta + s1) + kMargin;
    return s1 * (2 * beta + s1) <= kContraction * s && bound * bound <= threshold;
}

} // namespace

bool criticalOrbitStaysBounded(Real cr, Real ci, Real threshold)
{
    return inCardioid(cr, ci, threshold) || inBulb(cr, ci, threshold);
}

// The discs. With the cycle point computed to within kMargin (its square
// root is well conditioned while 1 - 2|m| >= kMinGap), a deviation u = z - m
// of at most s maps to at most s (2|m| + s) + rounding. For the fixed point
// take s = g/2 with g = 1 - 2(|m| + kMargin): then s (2|m| + s) <= s - g^2/4,
// and g^2/4 >= 1e-16 covers the rounding of a step (below 1e-17). For the
// 2-cycle, two steps map s to h(s) = s1 (2|b| + s1) with s1 = s (2|a| + s)
// (and the same with a and b exchanged); s is halved from (1 - 4|a||b|)/4
// until h(s) <= s - 1e-16. The test keeps a relative margin of 1e-9 on the
// squared radius, and every bound on |z|^2 one of 1e-12 under the threshold.
namespace {

constexpr Real kMinGap = 1e-6L;
constexpr Real kStepSlack = 1e-16L;

Real provenRadius2(Real s)
{
    const Real r = s - kMargin;
    return r > 0 ? r * r * (1 - 1e-9L) : -1;
}

InteriorDisc cardioidDisc(Real cr, Real ci, Real threshold)
{
    const Real x = cr - 0.25L, q = x * x + ci * ci;
    if (q * (q + x) > 0.25L * ci * ci * (1 + 1e-9L)) // outside the cardioid (with slack)
        return {};
    Real sr, si;
    complexSqrt(1 - 4 * cr, -4 * ci, sr, si);
    const Real mr = (1 - sr) / 2, mi = -si / 2;
    const Real rho = modulus(mr, mi) + kMargin;
    const Real g = 1 - 2 * rho;
    if (g < kMinGap)
        return {};
    const Real s = g / 2;
    const Real bound = rho + s;
    if (bound * bound > threshold * (1 - 1e-12L))
        return {};
    InteriorDisc d;
    d.period = 1;
    d.ar = d.br = mr;
    d.ai = d.bi = mi;
    d.radius2 = provenRadius2(s);
    return d.radius2 > 0 ? d : InteriorDisc{};
}

InteriorDisc bulbDisc(Real cr, Real ci, Real threshold)
{
    const Real nr = cr + 1, ni = ci;
    if (nr * nr + ni * ni > 0.0625L)
        return {};
    Real sr, si;
    complexSqrt(1 - 4 * nr, -4 * ni, sr, si);
    const Real alpha = modulus((sr - 1) / 2, si / 2) + kMargin; // a = (s - 1) / 2
    const Real beta = modulus((sr + 1) / 2, si / 2) + kMargin;  // b = -1 - a
    const Real gap = 1 - 4 * alpha * beta;
    if (gap < kMinGap)
        return {};
    const auto twoSteps = [](Real s, Real first, Real second) {
        const Real s1 = s * (2 * first + s);
        return s1 * (2 * second + s1);
    };
    Real s = gap / 4;
    for (int k = 0; k < 40; ++k, s /= 2) {
        if (twoSteps(s, alpha, beta) > s - kStepSlack || twoSteps(s, beta, alpha) > s - kStepSlack)
            continue;
        const Real bound = std::max(beta + s * (2 * alpha + s), alpha + s * (2 * beta + s)) + s;
        if (bound * bound > threshold * (1 - 1e-12L))
            return {};
        InteriorDisc d;
        d.period = 2;
        d.ar = (sr - 1) / 2;
        d.ai = si / 2;
        d.br = -1 - d.ar;
        d.bi = -d.ai;
        d.radius2 = provenRadius2(s);
        return d.radius2 > 0 ? d : InteriorDisc{};
    }
    return {};
}

} // namespace

InteriorDisc interiorDisc(Real cr, Real ci, Real threshold)
{
    const InteriorDisc d = cardioidDisc(cr, ci, threshold);
    return d.period ? d : bulbDisc(cr, ci, threshold);
}

} // namespace qx
