#pragma once
// The evaluator's numeric ground rules: shared constants, magnitude classes
// and the checked multiplication, division, exponential and logarithm.
// Everything here is inline because both the tree evaluator and the flat
// program call it in their inner loops and must round identically.
#include "base/numeric.h"

#include <cmath>
#include <cstdint>

// The checked operations sit in the evaluator's inner loops: always inline
// them, since an extended real passed to a call goes through memory.
#define QX_HOT_INLINE __attribute__((always_inline)) inline

namespace qx {

inline constexpr Real kTiny = 1e-16L;                              // counts as zero
inline constexpr Real kBig = 1739274941520501047.375L;              // e^42, the overflow bound B
inline constexpr Real kExpLimit = 5000;                             // exponent bound
inline constexpr Real kHuge = 2.9676283840236670688847e+2171L;      // e^5000
inline constexpr Real kMinute = 3.369694148308917514495303e-2172L;  // e^-5000
inline constexpr Real kPi = 3.141592653589793116L;                  // pi as a double
inline constexpr Real kHalfPi = 1.570796326794896558L;              // pi/2 as a double
inline constexpr Real kLn10 = 2.302585092994045684036339L;
inline constexpr Real kSqrt2Pi = 2.50662827463100045346546L;        // sqrt(2 kPi)
inline constexpr Real kE = 2.718281828459045235428168L;             // exp(1)
inline constexpr int32_t kIntLimit = 2147483647;

QX_HOT_INLINE Real taxicab(const Complex& w) { return std::fabs(w.re) + std::fabs(w.im); }

// Magnitude class of a taxicab magnitude m: 1 below e^-5000, 2 below 1e-16,
// 5 above e^5000 (and NaN), 4 above B, 3 otherwise.
inline int magnitudeClass(Real m)
{
    if (!(m <= kHuge)) return 5;
    if (m > kBig) return 4;
    if (m < kMinute) return 1;
    if (m < kTiny) return 2;
    return 3;
}

// Saturating conversion of a real to the integer state of a step function.
inline int32_t stateInt(Real v)
{
    if (!(v == v)) return 0;
    if (v >= kIntLimit) return kIntLimit;
    if (v <= -kIntLimit) return -kIntLimit;
    return static_cast<int32_t>(v);
}

// Checked product in complex mode on separate parts: fails when a factor or
// the result is above e^5000; a result below 1e-16 becomes 0.
QX_HOT_INLINE bool mulParts(Real ar, Real ai, Real br, Real bi, Real& rr, Real& ri)
{
    if (std::fabs(ar) + std::fabs(ai) <= kHuge && std::fabs(br) + std::fabs(bi) <= kHuge) {
        rr = ar * br - ai * bi;
        ri = ar * bi + ai * br;
        const Real m = std::fabs(rr) + std::fabs(ri);
        if (!(m <= kHuge)) return false;
        if (m < kTiny) rr = ri = 0;
        return true;
    }
    rr = ri = kBig;
    return false;
}

// The same on complex values (r may alias a or b).
QX_HOT_INLINE bool mulComplex(const Complex& a, const Complex& b, Complex& r)
{
    Real rr, ri;
    const bool ok = mulParts(a.re, a.im, b.re, b.im, rr, ri);
    r.re = rr;
    r.im = ri;
    return ok;
}

// Rare branch of the real product: at least one factor above B, or above e^5000.
bool mulRealSlow(Real a, Real b, Real& r);

// Checked product in real mode. Two factors up to B, or one above B with the
// other between 1e-16 and B, multiply plainly; a tiny times a large factor goes
// through logarithms; everything else fails with +-B.
QX_HOT_INLINE bool mulReal(Real a, Real b, Real& r)
{
    if (std::fabs(a) <= kBig && std::fabs(b) <= kBig) {
        r = a * b;
        return true;
    }
    return mulRealSlow(a, b, r);
}

// Checked quotient: fails when |a| > B or |b| < 1e-16 (taxicab), or when the
// result exceeds B; a result of at most 1e-16 becomes 0.
QX_HOT_INLINE bool divReal(Real a, Real b, Real& r)
{
    r = 1;
    if (!(std::fabs(a) <= kBig) || !(std::fabs(b) >= kTiny)) return false;
    r = a / b;
    const Real m = std::fabs(r);
    if (!(m <= kBig)) return false;
    if (m <= kTiny) r = 0;
    return true;
}

// Checked quotient on separate parts (see divReal).
QX_HOT_INLINE bool divParts(Real ar, Real ai, Real br, Real bi, Real& rr, Real& ri)
{
    if (!(std::fabs(ar) + std::fabs(ai) <= kBig) || !(std::fabs(br) + std::fabs(bi) >= kTiny)) {
        rr = 1;
        ri = 0;
        return false;
    }
    const Real q = br * br + bi * bi;
    rr = (ar * br + ai * bi) / q;
    ri = (ai * br - ar * bi) / q;
    const Real m = std::fabs(rr) + std::fabs(ri);
    if (!(m <= kBig)) return false;
    if (m <= kTiny) rr = ri = 0;
    return true;
}

// r may alias a or b.
QX_HOT_INLINE bool divComplex(const Complex& a, const Complex& b, Complex& r)
{
    Real rr, ri;
    const bool ok = divParts(a.re, a.im, b.re, b.im, rr, ri);
    r.re = rr;
    r.im = ri;
    return ok;
}

// e^u: fails from 5000 up, 0 from -5000 down.
inline bool expReal(Real u, Real& r)
{
    if (!(u < kExpLimit)) { r = 0; return false; }
    r = u <= -kExpLimit ? 0 : std::exp(u);
    return true;
}

inline bool expComplex(const Complex& u, Complex& r)
{
    r = {0, 0};
    if (!(taxicab(u) <= kBig) || u.re >= kExpLimit) return false;
    if (u.re <= -kExpLimit) return true;
    const Real m = std::exp(u.re);
    r = {m * std::cos(u.im), m * std::sin(u.im)};
    return true;
}

// The angle in (-pi, pi] of the point (x, y), with pi and pi/2 as doubles.
inline Real angleOf(Real x, Real y)
{
    if (std::fabs(x) < kTiny) return y >= 0 ? kHalfPi : -kHalfPi;
    Real t = std::atan(y / x);
    if (x < 0) t += y >= 0 ? kPi : -kPi;
    return t;
}

inline bool lnReal(Real u, Real& r)
{
    r = 0;
    if (!(u >= kTiny)) return false;
    r = std::log(u);
    return true;
}

inline bool lnComplex(const Complex& u, Complex& r)
{
    r = {0, 0};
    const Real q = u.re * u.re + u.im * u.im;
    if (!(q >= kTiny)) return false;
    r = {std::log(q) / 2, angleOf(u.re, u.im)};
    return true;
}

// |u| in complex mode: 0 when re^2 + im^2 < 1e-31.
inline Real modulus(const Complex& u)
{
    const Real q = u.re * u.re + u.im * u.im;
    return q < 1e-31L ? 0 : std::sqrt(q);
}

inline Complex sqrtComplex(const Complex& u)
{
    const Real m = modulus(u);
    if (m == 0) return {0, 0};
    const Real half = angleOf(u.re, u.im) / 2;
    const Real s = std::sqrt(m);
    return {s * std::cos(half), s * std::sin(half)};
}

// The integer test: |re| < 2147483647, re within 1e-9 of its rounding, |im| < 1e-9.
inline bool integerTest(const Complex& w, int32_t& n)
{
    n = roundHalfDown(w.re);
    return std::fabs(w.re) < kIntLimit && std::fabs(w.re - n) < 1e-9L && std::fabs(w.im) < 1e-9L;
}

// u^n by successive squaring with the checked product; n < 0 inverts u first.
inline bool powIntReal(int32_t n, Real u, Real& r)
{
    r = 1;
    if (n < 0 && !divReal(1, u, u)) return false;
    uint32_t e = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
    Real base = u;
    while (e) {
        if ((e & 1) && !mulReal(r, base, r)) return false;
        e >>= 1;
        if (e && !mulReal(base, base, base)) return false;
    }
    return true;
}

inline bool powIntComplex(int32_t n, Complex u, Complex& r)
{
    r = {1, 0};
    if (n < 0 && !divComplex({1, 0}, u, u)) return false;
    uint32_t e = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
    Complex base = u;
    while (e) {
        if ((e & 1) && !mulComplex(r, base, r)) return false;
        e >>= 1;
        if (e && !mulComplex(base, base, base)) return false;
    }
    return true;
}

QX_HOT_INLINE Complex addC(const Complex& a, const Complex& b) { return {a.re + b.re, a.im + b.im}; }
QX_HOT_INLINE Complex subC(const Complex& a, const Complex& b) { return {a.re - b.re, a.im - b.im}; }

} // namespace qx
