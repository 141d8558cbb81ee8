#include "tools/mandel/mj_escape.h"

#include <limits>

namespace qx {

Complex mapPower(Complex z, Complex c, int degree)
{
    Complex w = mul(z, z);
    for (int k = 2; k < degree; ++k)
        w = mul(z, w);
    return {w.re + c.re, w.im + c.im};
}

// Degree 2 written out: the squares serve both the test and the step.
// An orbit whose state repeats bit for bit (CycleWatch, as in every escape
// loop) ends at once as at the ceiling.
EscapeResult escapeQuadraticFrom(Complex z, Complex c, int32_t n, Real threshold, int32_t maxReps,
                                 const std::atomic<bool>* stop)
{
    Real zr = z.re, zi = z.im;
    const Real cr = c.re, ci = c.im;
    CycleWatch cycle(n);
    for (; n < maxReps; ++n) {
        const Real r2 = zr * zr, i2 = zi * zi;
        if (r2 + i2 > threshold)
            return {kEscaped, n, {zr, zi}};
        if ((n & kStopCheckMask) == kStopCheckMask && stop && stop->load(std::memory_order_relaxed))
            return {kStopped, n, {zr, zi}};
        quadraticStep(zr, zi, r2, i2, cr, ci);
        if (((n + 1) & 7) == 0 && cycle.repeats(zr, zi, n + 1))
            break;
    }
    return {kNotEscaped, maxReps < 0 ? 0 : maxReps, {zr, zi}};
}

EscapeResult escapeFrom(Complex z, Complex c, int32_t n, int degree, Real threshold, int32_t maxReps,
                        const std::atomic<bool>* stop)
{
    if (degree == 2)
        return escapeQuadraticFrom(z, c, n, threshold, maxReps, stop);
    CycleWatch cycle(n);
    for (; n < maxReps; ++n) {
        if (norm2(z) > threshold)
            return {kEscaped, n, z};
        if ((n & kStopCheckMask) == kStopCheckMask && stop && stop->load(std::memory_order_relaxed))
            return {kStopped, n, z};
        z = mapPower(z, c, degree);
        if (((n + 1) & 7) == 0 && cycle.repeats(z.re, z.im, n + 1))
            break;
    }
    return {kNotEscaped, maxReps < 0 ? 0 : maxReps, z};
}

EscapeResult escape(Complex z0, Complex c, int degree, Real threshold, int32_t maxReps,
                    const std::atomic<bool>* stop)
{
    return escapeFrom(z0, c, 0, degree, threshold, maxReps, stop);
}

} // namespace qx
