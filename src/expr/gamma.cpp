// The gamma function: a shift by six, Stirling's form at t = x + 5.5 with a
// five-term continued fraction, and reflection for negative arguments.
#include "expr/functions.h"

#include <cmath>

namespace qx {

namespace {

constexpr Real kGammaCoefficients[5] = {0.7125185551707076L, 5.450392255494851L,
                                        0.3310636497758604L, 2.9914210678640645L,
                                        0.21542756221506607L};

} // namespace

bool gammaReal(Real x, Real& out, int32_t& state, EvalFlags& flags)
{
    out = 1;
    const int32_t now = stateInt(std::floor(x));
    if (flags.track && now < 1 && now != state) flags.raised = true;
    state = now;
    if (!(std::fabs(x) >= kTiny)) return false;
    Real s = 1;
    const bool reflect = x < 0;
    if (reflect) {
        s = std::sin(kPi * x);
        if (std::fabs(s) < kTiny || std::fabs(x - std::floor(x)) < 1e-13L) return false;
        s = kPi * (1 - x) / s;
        x = 2 - x;
    }
    const Real p = x * (x + 1) * (x + 2) * (x + 3) * (x + 4) * (x + 5);
    const Real t = x + 5.5L;
    const Real l = t * std::log(t) - t;
    if (!(std::fabs(l) < kExpLimit)) return false;
    Real r = std::exp(l) / p;
    Real c = 0;
    for (int k = 4; k >= 0; --k) c = 1 / (kGammaCoefficients[k] * t + c);
    r = kSqrt2Pi * r / (1 + 1 / (24 * t + c - 0.5L));
    out = reflect ? s / r : r;
    return true;
}

namespace {

bool sinPiComplex(const Complex& x, Complex& out)
{
    EvalFlags unused;
    int32_t noState = 0;
    return unaryComplex(142 /* SIN */, {kPi * x.re, kPi * x.im}, out, noState, unused);
}

// x (x+1) ... (x+5) with the checked product.
bool shiftProduct(const Complex& x, Complex& p)
{
    p = x;
    for (int k = 1; k <= 5; ++k)
        if (!mulComplex(p, {x.re + k, x.im}, p)) return false;
    return true;
}

} // namespace

bool gammaComplex(const Complex& x0, Complex& out)
{
    out = {1, 0};
    Complex x = x0, s{1, 0};
    if (!(taxicab(x) >= kTiny)) return false;
    const bool reflect = x.re < 0;
    if (reflect) {
        Complex sn;
        if (!sinPiComplex(x, sn) || !(taxicab(sn) >= kTiny)) return false;
        if (!divComplex({kPi * (1 - x.re), -kPi * x.im}, sn, s)) return false;
        x = {2 - x.re, -x.im};
    }
    Complex p, lt, l, lp, r, c{0, 0}, q;
    const Complex t{x.re + 5.5L, x.im};
    if (!shiftProduct(x, p) || !lnComplex(t, lt) || !mulComplex(t, lt, l) || !lnComplex(p, lp))
        return false;
    l = {l.re - t.re - lp.re, l.im - t.im - lp.im}; // t ln t - t - ln p
    if (!(std::fabs(l.re) < kExpLimit) || !expComplex(l, r)) return false;
    for (int k = 4; k >= 0; --k) {
        Complex d;
        if (!mulComplex({kGammaCoefficients[k], 0}, t, d)) return false;
        if (!divComplex({1, 0}, addC(d, c), c)) return false;
    }
    const Complex denom{24 * t.re + c.re - 0.5L, 24 * t.im + c.im};
    if (!divComplex({1, 0}, denom, q) || !divComplex({1, 0}, {1 + q.re, q.im}, q)) return false;
    if (!mulComplex(r, q, r) || !mulComplex({kSqrt2Pi, 0}, r, r)) return false;
    if (!reflect) { out = r; return true; }
    return divComplex(s, r, out);
}

} // namespace qx
