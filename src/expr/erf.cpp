// The error function. Real arguments use the C library; complex ones a power
// series near the imaginary axis and the continued fraction of erfc elsewhere.
#include "expr/functions.h"

#include <cmath>

namespace qx {

Real erfReal(Real x) { return std::erf(x); }

namespace {

inline Complex mulPlain(const Complex& a, const Complex& b)
{
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

inline Complex divPlain(const Complex& a, const Complex& b)
{
    const Real q = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / q, (a.im * b.re - a.re * b.im) / q};
}

constexpr Real kTwoOverSqrtPi = 1.128379167095512573896158903121545L;
constexpr Real kOneOverSqrtPi = 0.564189583547756286948079451560772L;

// 2/sqrt(pi) sum (-1)^n z^(2n+1) / (n! (2n+1)); cancellation grows like exp(2 re^2),
// so it serves where re(z) is small.
Complex erfSeries(const Complex& z)
{
    const Complex mz2 = mulPlain({-z.re, -z.im}, z);
    Complex term = z, sum = z;
    const Real r2 = z.re * z.re + z.im * z.im;
    for (int n = 1; n < 4000; ++n) {
        term = mulPlain(term, mz2);
        term = {term.re / n, term.im / n};
        const Complex add{term.re / (2 * n + 1), term.im / (2 * n + 1)};
        sum = addC(sum, add);
        if (n > r2 && taxicab(add) <= 1e-21L * taxicab(sum)) break;
    }
    return {sum.re * kTwoOverSqrtPi, sum.im * kTwoOverSqrtPi};
}

// erfc(z) for re(z) >= 2 by the modified Lentz method on
// erfc z = e^(-z^2)/sqrt(pi) / (z + (1/2)/(z + 1/(z + (3/2)/(z + ...)))).
Complex erfcFraction(const Complex& z)
{
    const Real tiny = 1e-4000L;
    Complex f = z, c = z, d{0, 0};
    for (int n = 1; n < 5000; ++n) {
        const Complex a{n / 2.0L, 0};
        d = addC(z, mulPlain(a, d));
        if (taxicab(d) < tiny) d = {tiny, 0};
        c = addC(z, divPlain(a, c));
        if (taxicab(c) < tiny) c = {tiny, 0};
        d = divPlain({1, 0}, d);
        const Complex delta = mulPlain(c, d);
        f = mulPlain(f, delta);
        if (std::fabs(delta.re - 1) + std::fabs(delta.im) < 1e-20L) break;
    }
    const Real a = (z.re - z.im) * (z.re + z.im);
    const Real m = std::exp(-a) * kOneOverSqrtPi;
    const Real phase = -2 * z.re * z.im;
    return divPlain({m * std::cos(phase), m * std::sin(phase)}, f);
}

} // namespace

bool erfComplex(const Complex& z0, Complex& out)
{
    out = {0, 0};
    if (z0.im == 0) {
        out = {erfReal(z0.re), 0};
        return z0.re == z0.re;
    }
    const bool negate = z0.re < 0;
    const Complex z = negate ? Complex{-z0.re, -z0.im} : z0;
    // |erf z| grows like exp(im^2 - re^2): refuse early what must exceed B.
    const Real a = (z.re - z.im) * (z.re + z.im);
    if (!(a >= -60)) return false;
    Complex w;
    if (a > 11000) {
        w = {1, 0}; // erfc underflows
    } else if (z.re < 2) {
        w = erfSeries(z);
    } else {
        const Complex c = erfcFraction(z);
        w = {1 - c.re, -c.im};
    }
    if (!(taxicab(w) <= kBig)) return false;
    out = negate ? Complex{-w.re, -w.im} : w;
    return true;
}

} // namespace qx
