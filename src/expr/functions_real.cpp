// Real-mode rules of the function and operator nodes.
#include "expr/functions.h"
#include "expr/node.h"

#include <cmath>
#include <cstdlib>

namespace qx {

bool mulRealSlow(Real a, Real b, Real& r)
{
    const int ca = magnitudeClass(std::fabs(a));
    const int cb = magnitudeClass(std::fabs(b));
    if ((ca < 4 && cb < 4) || (ca == 4 && cb == 3) || (ca == 3 && cb == 4)) {
        r = a * b;
        return true;
    }
    const Real sign = (a > 0) == (b > 0) ? 1 : -1;
    if ((ca == 2 && cb == 4) || (ca == 4 && cb == 2)) {
        const Real l = std::log(std::fabs(a)) + std::log(std::fabs(b));
        if (std::fabs(l) < 42) {
            r = sign * std::exp(l);
            return true;
        }
    }
    r = sign * kBig;
    return false;
}

bool powerReal(Real a, Real b, Real& out)
{
    int32_t n;
    if (integerTest({b, 0}, n)) return powIntReal(n, a, out);
    out = 0;
    if (!(a >= 0)) return false;
    if (a < kTiny && b < 0) return false; // a zero base has no negative power
    const Real l = b * (a < kTiny ? -kExpLimit : std::log(a));
    if (l < -kExpLimit) return true;
    if (!(l <= kExpLimit)) return false;
    out = std::exp(l);
    return true;
}

namespace {

int32_t signState(Real u) { return u > 0 ? 1 : (u < 0 ? -1 : 0); }

bool circular(int c, Real u, Real& out)
{
    out = 0;
    if (!(std::fabs(u) <= 5e18L)) return false;
    if (c == code::Sin) { out = std::sin(u); return true; }
    const Real co = std::cos(u);
    if (c == code::Cos) { out = co; return true; }
    if (std::fabs(co) < kTiny) return false;
    out = std::sin(u) / co;
    return true;
}

bool reciprocalOf(int c, Real u, Real& out)
{
    Real v;
    if (!circular(c, u, v)) return false;
    return divReal(1, v, out);
}

bool hyperbolic(int c, Real u, Real& out, int32_t& state, EvalFlags& flags)
{
    const bool large = !(std::fabs(u) < kExpLimit);
    switch (c) {
    case code::Sinh: out = large ? 0 : std::sinh(u); return !large;
    case code::Cosh: out = large ? 0 : std::cosh(u); return !large;
    case code::Tanh: out = std::tanh(u); return u == u;
    case code::Sech:
        out = 0;
        return large ? u == u : divReal(1, std::cosh(u), out);
    case code::Csch:
        flags.step(state, signState(u));
        out = 0;
        return large ? u == u : divReal(1, std::sinh(u), out);
    default: // Coth
        flags.step(state, signState(u));
        return divReal(1, std::tanh(u), out);
    }
}

bool inverse(int c, Real u, Real& out)
{
    out = 0;
    switch (c) {
    case code::Asin: if (!(std::fabs(u) <= 1)) return false; out = std::asin(u); return true;
    case code::Acos: if (!(std::fabs(u) <= 1)) return false; out = std::acos(u); return true;
    case code::Atan: out = std::atan(u); return true;
    case code::Acot: out = kHalfPi - std::atan(u); return true;
    case code::Asinh: out = std::asinh(u); return u == u;
    case code::Acosh: if (!(u >= 1)) return false; out = std::acosh(u); return true;
    case code::Atanh:
        if (!(std::fabs(u) + kTiny <= 1)) return false;
        out = std::atanh(u);
        return true;
    default: // Acoth
        if (!(std::fabs(u) >= 1 + kTiny)) return false;
        out = std::log((u + 1) / (u - 1)) / 2;
        return true;
    }
}

// INT, FRAC, FLOOR, CEIL, SGN and HVS: results and states.
bool stepFunction(int c, Real u, Real& out, int32_t& state, EvalFlags& flags)
{
    switch (c) {
    case code::Int: out = std::trunc(u); flags.step(state, stateInt(out)); return true;
    case code::Frac: {
        const Real t = std::trunc(u);
        out = u - t;
        flags.step(state, stateInt(t));
        return true;
    }
    case code::Floor: out = std::floor(u); flags.step(state, stateInt(out)); return true;
    case code::Ceil: out = std::ceil(u); flags.step(state, stateInt(out)); return true;
    case code::Hvs: out = u >= 0 ? 1 : 0; flags.step(state, u >= 0 ? 1 : 0); return true;
    default: // Sgn
        out = 0;
        if (!(std::fabs(u) > 1e-13L)) return false;
        out = u > 0 ? 1 : -1;
        flags.step(state, static_cast<int32_t>(out));
        return true;
    }
}

} // namespace

bool unaryReal(int c, Real u, Real& out, int32_t& state, EvalFlags& flags)
{
    switch (c) {
    case code::Sin: case code::Cos: case code::Tan: return circular(c, u, out);
    case code::Sec: return reciprocalOf(code::Cos, u, out);
    case code::Csc: return reciprocalOf(code::Sin, u, out);
    case code::Cot: {
        Real t;
        if (!circular(code::Tan, u, t)) return false;
        return divReal(1, t, out);
    }
    case code::Sinh: case code::Cosh: case code::Tanh: case code::Sech: case code::Csch:
    case code::Coth:
        return hyperbolic(c, u, out, state, flags);
    case code::Asin: case code::Acos: case code::Atan: case code::Acot: case code::Asinh:
    case code::Acosh: case code::Atanh: case code::Acoth:
        return inverse(c, u, out);
    case code::Int: case code::Frac: case code::Floor: case code::Ceil: case code::Hvs:
    case code::Sgn:
        return stepFunction(c, u, out, state, flags);
    case code::Exp: return expReal(u, out);
    case code::Ln: return lnReal(u, out);
    case code::Log: if (!lnReal(u, out)) return false; out /= kLn10; return true;
    case code::Sqrt: out = 0; if (!(u >= 0)) return false; out = std::sqrt(u); return true;
    case code::Square: return mulReal(u, u, out);
    case code::Abs: out = std::fabs(u); return true;
    case code::Arg: out = angleOf(u, 0); return true;
    case code::Re: case code::Conj: out = u; return true;
    case code::Im: out = 0; return true;
    case code::Neg: out = -u; return true;
    case code::Gamma: return gammaReal(u, out, state, flags);
    case code::Fact:
        out = 0;
        if (!(std::fabs(u) <= 32767)) return false;
        return gammaReal(u + 1, out, state, flags);
    case code::Gauss:
        if (!expReal(-(u * u) / 2, out)) return false;
        out /= kSqrt2Pi;
        return true;
    case code::Erf: out = erfReal(u); return u == u;
    case code::Rand: out = u * (2 * flags.random.unit() - 1); return true;
    default: // CIS has no real form; other codes are no unary functions
        out = 0;
        return false;
    }
}

namespace {

bool rootReal(Real a, Real u, Real& out)
{
    int32_t n;
    out = 0;
    if (!integerTest({a, 0}, n) || n == 0) return false;
    if (n % 2 == 0 && u < 0) return false;
    if (!(std::fabs(u) >= kTiny)) return n > 0 && u == u;
    const Real m = std::exp(std::log(std::fabs(u)) / n);
    out = u < 0 ? -m : m;
    return true;
}

// Binomial coefficient for any real n and integer r, failing above B. The
// loop stops early at an exact zero; counts beyond 2^24 are refused.
bool binomReal(Real n, Real r, Real& out)
{
    int32_t k;
    out = 0;
    if (!integerTest({r, 0}, k) || k > (1 << 24)) return false;
    Real v = 1;
    for (int32_t i = 0; i < k && v != 0; ++i) {
        v *= (n - i) / Real(k - i);
        if (!(std::fabs(v) <= kBig)) return false;
    }
    out = v;
    return true;
}

bool modReal(Real x, Real y, Real& out, int32_t& state, EvalFlags& flags)
{
    out = 0;
    const Real m = std::fabs(y);
    if (!(m >= kMinute)) return false;
    const Real q = std::floor(x / m);
    if (!std::isfinite(q)) return false;
    out = x - m * q;
    flags.step(state, stateInt(q));
    return true;
}

bool gcdReal(Real a, Real b, Real& out, int32_t& state, EvalFlags& flags)
{
    out = 0;
    a = std::fabs(a);
    b = std::fabs(b);
    if (!(a <= kIntLimit) || !(b <= kIntLimit)) return false;
    int64_t g = 0;
    if (a >= 0.5L && b >= 0.5L) {
        int64_t x = roundHalfDown(a), y = roundHalfDown(b);
        while (y) { const int64_t t = x % y; x = y; y = t; }
        g = x;
    }
    out = Real(g);
    flags.step(state, static_cast<int32_t>(g));
    return true;
}

} // namespace

bool binaryReal(int c, Real a, Real b, Real& out, int32_t& state, EvalFlags& flags)
{
    switch (c) {
    case code::Add: out = a + b; return true;
    case code::Sub: out = a - b; return true;
    case code::Mul: return mulReal(a, b, out);
    case code::Div: return divReal(a, b, out);
    case code::Power: return powerReal(a, b, out);
    case code::Pow: {
        int32_t n;
        out = 0;
        return integerTest({a, 0}, n) && powIntReal(n, b, out);
    }
    case code::Root: return rootReal(a, b, out);
    case code::Binom: return binomReal(a, b, out);
    case code::Mod: return modReal(a, b, out, state, flags);
    case code::Gcd: return gcdReal(a, b, out, state, flags);
    case code::Max: out = a >= b ? a : b; return true;
    case code::Min: out = a <= b ? a : b; return true;
    case code::Some: out = (a > 0 || b > 0) ? 1 : ((a >= 0 || b >= 0) ? 0 : -1); return true;
    case code::Abs2: out = std::sqrt(a * a + b * b); return true;
    case code::Arg2: out = angleOf(a, b); return true;
    default: out = 0; return false;
    }
}

bool selectDerivative(int c, Real middle, int32_t& state, EvalFlags& flags)
{
    const bool left = c == code::DMax ? middle >= 0 : !(middle >= 0);
    flags.step(state, left ? 1 : -1);
    return left;
}

bool periodicShift(Real x, Real a, Real m, Real& shifted, int32_t& state, EvalFlags& flags)
{
    shifted = x;
    if (!(std::fabs(m) >= kTiny)) return false;
    const Real q = std::floor((x - a) / m);
    if (!std::isfinite(q)) return false;
    flags.step(state, stateInt(q));
    shifted = x - m * q;
    return true;
}

} // namespace qx
