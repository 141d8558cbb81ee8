#pragma once
// Escape iteration of z -> z^d + c in extended arithmetic.
#include "base/numeric.h"

#include <atomic>
#include <cstdint>

namespace qx {

inline constexpr int kEscaped = 0;
inline constexpr int kNotEscaped = 31;
inline constexpr int kStopped = 81; // the stop flag was raised: no result

// Steps between two looks at a stop flag: cheap against the iteration itself.
inline constexpr int32_t kStopCheckMask = 4095;

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
