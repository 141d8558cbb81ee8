#pragma once
// Escape iteration of z -> z^d + c in extended arithmetic.
#include "base/numeric.h"

#include <atomic>
#include <cstdint>
#include <limits>

namespace qx {

inline constexpr int kEscaped = 0;
inline constexpr int kNotEscaped = 31;
inline constexpr int kStopped = 81; // the stop flag was raised: no result

// Steps between two looks at a stop flag: cheap against the iteration itself.
inline constexpr int32_t kStopCheckMask = 4095;

// Exact cycle detection, looked at every 8th step: an orbit whose state
// equals, bit for bit, a state it had before is periodic, and since every
// state of the cycle was tested it can never escape: it ends as at the
// ceiling, with the colour the full loop gives. The state is saved at steps
// 8, 16, 32, ... (Brent's method, which catches any period). (A second state
// saved every 32 steps caught short cycles sooner, 8% less time on a
// bulb's interior, but cost 18% on a boundary-heavy deep view.)
struct CycleWatch {
    Real sr = std::numeric_limits<Real>::quiet_NaN(), si = 0; // NaN equals nothing
    int64_t saveAt = 8;
    // Watching an orbit that has already taken n steps.
    explicit CycleWatch(int64_t n = 0)
    {
        while (saveAt <= n)
            saveAt *= 2;
    }
    // Watching a new orbit from its start.
    void restart()
    {
        sr = std::numeric_limits<Real>::quiet_NaN();
        saveAt = 8;
    }
    // The state (zr, zi) after n steps, n a multiple of 8: true when it repeats.
    __attribute__((always_inline)) bool repeats(Real zr, Real zi, int64_t n)
    {
        if (zr == sr && zi == si)
            return true;
        if (n == saveAt) {
            sr = zr;
            si = zi;
            saveAt *= 2;
        }
        return false;
    }
};

struct EscapeResult {
    int status = kNotEscaped; // kEscaped or kNotEscaped
    int32_t n = 0;            // steps taken before the escape test succeeded
    Complex z{};              // the last point reached
};

// (a+bi)(e+fi) = (ae - bf) + (be + af)i, in this exact order of operations,
// so that every caller produces the same bits.
inline Complex mul(Complex a, Complex b)
{
    return {a.re * b.re - a.im * b.im, a.im * b.re + a.re * b.im};
}

inline Real norm2(Complex z) { return z.re * z.re + z.im * z.im; }

// One step of z^2 + c given the squares r2 = zr*zr and i2 = zi*zi (which the
// escape test also uses): every quadratic loop steps through this, so that
// all of them, and the proofs about them, compute the same values bit for
// bit. zi*zr + zr*zi == t + t with t = zr*zi, so it equals mapPower(z, c, 2).
__attribute__((always_inline)) inline void quadraticStep(Real& zr, Real& zi, Real r2, Real i2, Real cr, Real ci)
{
    const Real t = zr * zi;
    zi = t + t + ci;
    zr = r2 - i2 + cr;
}

// z^d + c: w = z*z, then d - 2 further times w = z*w; degree 2..10.
Complex mapPower(Complex z, Complex c, int degree);

// Iterates from z0: while n < maxReps, escapes when |z|^2 > threshold
// (tested before each step, so a start outside escapes with n = 0),
// otherwise steps. Reaching maxReps gives kNotEscaped with the last point;
// an orbit caught in an exact cycle (its state repeating bit for bit) gives
// it at once, with the point where the cycle was seen.
// With `stop`, kStopped once the flag is seen raised (looked at every 4096 steps).
EscapeResult escape(Complex z0, Complex c, int degree, Real threshold, int32_t maxReps,
                    const std::atomic<bool>* stop = nullptr);

// Continues an escape iteration of any degree that has taken n steps and
// reached z: escape(z0, c, d, T, N) == escapeFrom(z0, c, 0, d, T, N).
EscapeResult escapeFrom(Complex z, Complex c, int32_t n, int degree, Real threshold, int32_t maxReps,
                        const std::atomic<bool>* stop = nullptr);

// Degree 2 only: continues an escape iteration that has taken n steps and
// reached z. escape(z0, c, 2, T, N) == escapeQuadraticFrom(z0, c, 0, T, N).
EscapeResult escapeQuadraticFrom(Complex z, Complex c, int32_t n, Real threshold, int32_t maxReps,
                                 const std::atomic<bool>* stop = nullptr);

} // namespace qx
