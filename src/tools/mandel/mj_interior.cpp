#include "tools/mandel/mj_interior.h"

#include "tools/mandel/mj_escape.h"

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

// |p + qi| for the disc chains, whose sizes carry a factor 1 + 1e-15: the
// root is taken in doubles (two roundings of 2^-53 at most, far below that
// factor) where the square fits them comfortably, which costs a fraction of
// an extended root.
Real chainModulus(Real p, Real q)
{
    const Real v = p * p + q * q;
    if (!(v >= 1e-290L && v <= 1e290L))
        return std::sqrt(v);
    return std::sqrt(static_cast<double>(v));
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
    // Outside the cardioid (the classical test, with room for its rounding):
    // no square roots for these.
    const Real x = cr - 0.25L, q = x * x + ci * ci;
    if (q * (q + x) > 0.25L * ci * ci + 1e-9L)
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

namespace {

// The disc chain of orbitCycleProvesBounded for a family of orbits: each
// step may add `spread` (parameters within spread of c) and the first disc
// must have a radius of at least `atLeast` (where the family starts).
bool discChainCloses(const Real* zr, const Real* zi, int p, Real cr, Real ci, Real threshold, Real spread, Real atLeast)
{
    constexpr int kMaxPeriod = 64;
    if (p < 1 || p > kMaxPeriod || !(threshold > 0))
        return false;
    // A step's rounding, for |z|^2 <= threshold: each of its five operations
    // errs by at most 2^-64 of a value below threshold + |c|; generously:
    const Real delta = 1e-17L * (1 + threshold + modulus(cr, ci) + spread);
    Real size[kMaxPeriod];
    Real lambda = 1;
    for (int k = 0; k < p; ++k) {
        size[k] = chainModulus(zr[k], zi[k]) * (1 + 1e-15L);
        lambda *= 2 * size[k];
    }
    if (!(lambda < 1 - 1e-9L))
        return false;
    const Real defect = chainModulus(zr[p] - zr[0], zi[p] - zi[0]) * (1 + 1e-15L);
    const Real limit = threshold * (1 - 1e-12L);
    // The first radius leaves room for the defect, the spread and the
    // rounding at the contraction 1 - lambda; larger ones are tried while the
    // squares (s^2 terms) allow.
    Real s = std::max(atLeast, 4 * (defect + p * (4 * delta + spread)) / (1 - lambda) + 1e-30L);
    for (int attempt = 0; attempt < 8; ++attempt, s *= 2) {
        Real sk = s;
        for (int k = 0; k < p; ++k) {
            if ((size[k] + sk) * (size[k] + sk) > limit)
                return false; // larger discs only reach further
            sk = (sk * (2 * size[k] + sk) + 2 * delta + spread) * (1 + 1e-12L);
        }
        if (sk + defect <= s)
            return true;
    }
    return false;
}

} // namespace

bool orbitCycleProvesBounded(const Real* zr, const Real* zi, int p, Real cr, Real ci, Real threshold)
{
    return discChainCloses(zr, zi, p, cr, ci, threshold, 0, 0);
}

bool settlesProvably(Real zr, Real zi, Real radius, int p, Real cr, Real ci, Real threshold)
{
    if (p < 1 || p > kProbeSteps)
        return false;
    Real xr[kProbeSteps + 1], xi[kProbeSteps + 1];
    xr[0] = zr;
    xi[0] = zi;
    for (int k = 0; k < p; ++k) {
        Real r = xr[k], i = xi[k];
        quadraticStep(r, i, r * r, i * i, cr, ci);
        xr[k + 1] = r;
        xi[k + 1] = i;
    }
    return discChainCloses(xr, xi, p, cr, ci, threshold, 0, radius);
}

bool familyProvesBounded(Real z0r, Real z0i, Real startSpread, Real cr, Real ci, Real stepSpread, Real threshold,
                         int maxSteps)
{
    if (!(threshold > 0) || !(startSpread >= 0) || !(stepSpread >= 0))
        return false;
    const Real delta = 1e-17L * (1 + threshold + modulus(cr, ci) + stepSpread);
    const Real limit = threshold * (1 - 1e-12L);
    constexpr int kMaxPeriod = 16, kKept = kMaxPeriod + 1;
    Real keptR[kKept], keptI[kKept], keptD[kKept]; // the last points of the centre orbit and their spreads
    Real zr = z0r, zi = z0i;
    Real d = startSpread * (1 + 1e-15L); // every member's point lies within d of the centre's
    for (int n = 0; n <= maxSteps; ++n) {
        const Real size = chainModulus(zr, zi) * (1 + 1e-15L);
        if ((size + d) * (size + d) > limit || d > 0.25L)
            return false;
        keptR[n % kKept] = zr, keptI[n % kKept] = zi, keptD[n % kKept] = d;
        if (n >= kMaxPeriod && (n & (n - 1)) == 0) {
            // The first return close to an earlier point: try the disc chain from there.
            for (int p = 1; p <= kMaxPeriod; ++p) {
                const int j = (n - p) % kKept;
                const Real dr = zr - keptR[j], di = zi - keptI[j];
                if (dr * dr + di * di > 1e-4L * (size * size + 1))
                    continue;
                Real xr[kKept], xi[kKept];
                for (int k = 0; k <= p; ++k) {
                    xr[k] = keptR[(n - p + k) % kKept];
                    xi[k] = keptI[(n - p + k) % kKept];
                }
                if (discChainCloses(xr, xi, p, cr, ci, threshold, stepSpread, keptD[j]))
                    return true;
                break;
            }
        }
        quadraticStep(zr, zi, zr * zr, zi * zi, cr, ci);
        d = (d * (2 * size + d) + stepSpread + 2 * delta) * (1 + 1e-12L);
    }
    return false;
}

} // namespace qx
