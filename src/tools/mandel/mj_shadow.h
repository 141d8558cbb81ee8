#pragma once
// The quadratic escape loop shadowed in double arithmetic. Each point's
// orbit is iterated in doubles, several points at once in vector registers,
// together with a bound e_n on its distance from the orbit the extended
// loop computes (escapeQuadraticFrom, rounding included). Where the bound
// keeps every test of the extended loop certain, the shadow gives that
// loop's result: the step at which |z|^2 first passes the threshold, or
// that it never does up to the ceiling. Where it does not, the point is
// left undecided and the caller runs the extended loop itself, so no
// result ever differs from it.
//
// Why the bound holds. Write Z for the extended orbit and D for the double
// one, |Z - D| <= e, a >= |D| (the rounded square root of |D|^2, its
// shortfall of at most 3u made up by a factor 1 + 16u on t). Then
// |Z^2 - D^2| = |Z - D| |Z + D| <= e (2a + e) = t, and a step of either
// loop adds its rounding: at most
// 5 u |z|^2 + |c| u for u = 2^-53 (doubles, with c itself rounded to a
// double) and far less for extended reals. So e' = t + 16 u (|D|^2 + |c|)
// with generous room for the rounding of e' itself, and
// |Z|^2 <= |D|^2 + t, |Z|^2 >= |D|^2 - t decide the escape test.
#include "base/numeric.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <vector>

namespace qx {

// Verdicts beside an escape step n >= 0.
inline constexpr int32_t kShadowBounded = -1;   // never passes the threshold before the ceiling
inline constexpr int32_t kShadowUndecided = -2; // the extended loop must decide
inline constexpr int32_t kShadowStopped = -3;   // the stop flag was raised

// One orbit to decide, in doubles: the extended loop's state after n steps
// lies within e of (zr, zi), and (cr, ci) is its parameter rounded to the
// nearest doubles (or e is not finite: left undecided).
struct ShadowStart {
    double zr, zi, e, cr, ci;
    int32_t n;
};

// Points and parameters beyond this are left to the extended loop (their
// squares would leave the doubles' range).
inline constexpr Real kShadowLargest = 1e50L;

// The start of the extended state (zr, zi) after n steps, parameter (cr, ci).
inline ShadowStart shadowStart(Real zr, Real zi, Real cr, Real ci, int32_t n)
{
    ShadowStart s{static_cast<double>(zr), static_cast<double>(zi), 0, static_cast<double>(cr),
                  static_cast<double>(ci), n};
    // Rounding to doubles moves each coordinate by at most u of it; below
    // the doubles' range by less than 1e-300.
    s.e = (std::fabs(s.zr) + std::fabs(s.zi)) * 0x1.01p-53 + 1e-300;
    if (!(std::fabs(zr) + std::fabs(zi) <= kShadowLargest) || !(std::fabs(cr) + std::fabs(ci) <= kShadowLargest))
        s.e = HUGE_VAL;
    return s;
}

// How the orbits of one caller went: while most stay undecided (a view too
// deep for doubles), only one start in 16 is still tried and the others are
// handed back undecided at once. And how its probes for attracting cycles
// went: when most fail, the first probe comes later. Both for speed only.
struct ShadowTally {
    int64_t decided = 0, undecided = 0;
    int64_t probes = 0, proven = 0;
    bool givesUp() const { return decided + undecided >= 64 && undecided > decided; }
};

// Whether the shadow can follow orbits under this threshold and parameter
// (|c| is the largest parameter modulus): the doubles of every orbit that
// has not escaped must stay far from overflow.
bool shadowApplies(Real threshold, Real largestParameter);

// Decides count orbits: verdict[i] is the escape step n of the extended
// loop, or kShadowBounded (the ceiling maxReps is reached, or the orbit is
// proven never to pass the threshold), or kShadowUndecided. With the stop
// flag raised, every orbit not yet decided gets kShadowStopped.
void shadowDecide(const ShadowStart* starts, int count, Real threshold, int32_t maxReps, int32_t* verdict,
                  ShadowTally& tally, const std::atomic<bool>* stop = nullptr);

// Deep views, whose neighbouring parameters doubles cannot tell apart:
// the orbits of parameters c_i = C + delta_i (Mandelbrot, from z = 0) are
// followed as deviations from the extended orbit Z of the reference C,
// z = Z + d: d' = 2 Z d + d^2 + delta needs no more than doubles, since
// d and delta are small. A bound on the distance from the extended
// deviation, both loops' rounding included, decides the escape tests as in
// shadowDecide: verdict[i] is the escape step, kShadowBounded (the
// ceiling) or kShadowUndecided (also every orbit still running where the
// reference orbit ends, and orbits whose bound fails them, such as those
// passing close to 0 while the reference does not). The reference's
// points are kept in `scratch`.
struct PerturbScratch {
    std::vector<double> zr, zi, size, floor;
};
void shadowPerturb(Real refR, Real refI, const Real* cr, const Real* ci, int count, Real threshold, int32_t maxReps,
                   int32_t* verdict, PerturbScratch& scratch, const std::atomic<bool>* stop = nullptr);

} // namespace qx
