// Complex-mode rules of the function and operator nodes. Every step that can
// overflow goes through the checked product, quotient, exponential and
// logarithm, so that overflow becomes failure.
#include "expr/functions.h"
#include "expr/node.h"

#include <cmath>

namespace qx {

namespace {

Complex timesI(const Complex& w) { return {-w.im, w.re}; }
Complex timesMinusI(const Complex& w) { return {w.im, -w.re}; }

// w = e^(iu) and its reciprocal, the ground of the circular functions.
bool unitExp(const Complex& u, Complex& w, Complex& inv)
{
    return expComplex(timesI(u), w) && divComplex({1, 0}, w, inv);
}

bool cosComplex(const Complex& u, Complex& out)
{
    Complex w, inv;
    return unitExp(u, w, inv) && divComplex(addC(w, inv), {2, 0}, out);
}

bool sinComplex(const Complex& u, Complex& out)
{
    Complex w, inv;
    return unitExp(u, w, inv) && divComplex(subC(w, inv), {0, 2}, out);
}

bool circular(int c, const Complex& u, Complex& out)
{
    Complex s, co;
    switch (c) {
    case code::Sin: return sinComplex(u, out);
    case code::Cos: return cosComplex(u, out);
    case code::Tan: return sinComplex(u, s) && cosComplex(u, co) && divComplex(s, co, out);
    case code::Sec: return cosComplex(u, co) && divComplex({1, 0}, co, out);
    case code::Csc: return sinComplex(u, s) && divComplex({1, 0}, s, out);
    default: // Cot
        return sinComplex(u, s) && cosComplex(u, co) && divComplex(co, s, out);
    }
}

bool hyperbolic(int c, const Complex& u, Complex& out)
{
    Complex e1, e2, s, co;
    if (!expComplex(u, e1) || !expComplex({-u.re, -u.im}, e2)) return false;
    if (!divComplex(subC(e1, e2), {2, 0}, s) || !divComplex(addC(e1, e2), {2, 0}, co))
        return false;
    switch (c) {
    case code::Sinh: out = s; return true;
    case code::Cosh: out = co; return true;
    case code::Tanh: return divComplex(s, co, out);
    case code::Sech: return divComplex({1, 0}, co, out);
    case code::Csch: return divComplex({1, 0}, s, out);
    default: return divComplex(co, s, out); // Coth
    }
}

// u^2 + k with the checked product.
bool squarePlus(const Complex& u, Real k, Complex& out)
{
    if (!mulComplex(u, u, out)) return false;
    out.re += k;
    return true;
}

bool asinComplex(const Complex& u, Complex& out)
{
    Complex q, l;
    if (!squarePlus(u, 0, q)) return false;
    const Complex root = sqrtComplex({1 - q.re, -q.im});
    if (!lnComplex(addC(timesI(u), root), l)) return false;
    out = timesMinusI(l);
    return true;
}

bool acosComplex(const Complex& u, Complex& out)
{
    Complex q, l;
    if (!squarePlus(u, -1, q) || !lnComplex(addC(u, sqrtComplex(q)), l)) return false;
    out = timesMinusI(l);
    return true;
}

bool atanComplex(const Complex& u, Complex& out)
{
    Complex q, l;
    const Complex iu = timesI(u);
    if (!divComplex({1 + iu.re, iu.im}, {1 - iu.re, -iu.im}, q) || !lnComplex(q, l)) return false;
    out = {l.im / 2, -l.re / 2}; // -(i/2) l
    return true;
}

bool inverse(int c, const Complex& u, Complex& out)
{
    Complex t, q;
    switch (c) {
    case code::Asin: return asinComplex(u, out);
    case code::Acos: return acosComplex(u, out);
    case code::Atan: return atanComplex(u, out);
    case code::Acot:
        if (!atanComplex(u, t)) return false;
        out = {kHalfPi - t.re, -t.im};
        return true;
    case code::Asinh:
        if (!asinComplex(timesI(u), t)) return false;
        out = timesMinusI(t);
        return true;
    case code::Acosh: // ln(u + sqrt(u^2 - 1)), the same branch as in real mode
        return squarePlus(u, -1, q) && lnComplex(addC(u, sqrtComplex(q)), out);
    case code::Atanh:
        if (!atanComplex(timesI(u), t)) return false;
        out = timesMinusI(t);
        return true;
    default: // Acoth: ln((u + 1) / (u - 1)) / 2, agreeing with real mode
        if (!divComplex({u.re + 1, u.im}, {u.re - 1, u.im}, q) || !lnComplex(q, t)) return false;
        out = {t.re / 2, t.im / 2};
        return true;
    }
}

bool gaussComplex(const Complex& u, Complex& out)
{
    Complex q, e;
    if (!mulComplex(u, u, q) || !expComplex({-q.re / 2, -q.im / 2}, e)) return false;
    return divComplex(e, {kSqrt2Pi, 0}, out);
}

bool onRealPart(int c, const Complex& u, Complex& out, int32_t& state, EvalFlags& flags)
{
    Real r;
    const bool ok = unaryReal(c, u.re, r, state, flags);
    out = {r, 0};
    return ok;
}

bool sgnComplex(const Complex& u, Complex& out, int32_t& state, EvalFlags& flags)
{
    const Real m = modulus(u);
    out = {0, 0};
    if (m == 0) return false;
    out = {u.re / m, u.im / m};
    flags.step(state, u.re > 0 ? 1 : (u.re < 0 ? -1 : 0));
    return true;
}

} // namespace

bool unaryComplex(int c, const Complex& u, Complex& out, int32_t& state, EvalFlags& flags)
{
    switch (c) {
    case code::Sin: case code::Cos: case code::Tan: case code::Sec: case code::Csc:
    case code::Cot:
        return circular(c, u, out);
    case code::Sinh: case code::Cosh: case code::Tanh: case code::Sech: case code::Csch:
    case code::Coth:
        return hyperbolic(c, u, out);
    case code::Asin: case code::Acos: case code::Atan: case code::Acot: case code::Asinh:
    case code::Acosh: case code::Atanh: case code::Acoth:
        return inverse(c, u, out);
    case code::Int: case code::Frac: case code::Floor: case code::Ceil: case code::Hvs:
        return onRealPart(c, u, out, state, flags);
    case code::Sgn: return sgnComplex(u, out, state, flags);
    case code::Exp: return expComplex(u, out);
    case code::Cis: return expComplex(timesI(u), out);
    case code::Ln: return lnComplex(u, out);
    case code::Log:
        if (!lnComplex(u, out)) return false;
        out = {out.re / kLn10, out.im / kLn10};
        return true;
    case code::Sqrt: out = sqrtComplex(u); return true;
    case code::Square: return mulComplex(u, u, out);
    case code::Abs: out = {modulus(u), 0}; return true;
    case code::Arg: out = {angleOf(u.re, u.im), 0}; return true;
    case code::Re: out = {u.re, 0}; return true;
    case code::Im: out = {u.im, 0}; return true;
    case code::Conj: out = {u.re, -u.im}; return true;
    case code::Neg: out = {-u.re, -u.im}; return true;
    case code::Gamma: return gammaComplex(u, out);
    case code::Fact:
        out = {0, 0};
        if (!(taxicab(u) <= 32767)) return false;
        return gammaComplex({u.re + 1, u.im}, out);
    case code::Gauss: return gaussComplex(u, out);
    case code::Erf: return erfComplex(u, out);
    case code::Rand: out = {u.re * (2 * flags.random.unit() - 1), 0}; return true;
    default: out = {0, 0}; return false;
    }
}

bool powerComplex(const Complex& a, const Complex& b, Complex& out)
{
    int32_t n;
    if (integerTest(b, n)) return powIntComplex(n, a, out);
    Complex l, p;
    out = {0, 0};
    return lnComplex(a, l) && mulComplex(b, l, p) && expComplex(p, out);
}

namespace {

bool rootComplex(const Complex& a, const Complex& u, Complex& out)
{
    int32_t n;
    out = {0, 0};
    if (!integerTest(a, n) || n == 0) return false;
    const Real m = modulus(u);
    if (!(taxicab(u) >= kTiny) || m == 0) return n > 0;
    const Real r = std::exp(std::log(m) / n);
    const Real t = angleOf(u.re, u.im) / n;
    out = {r * std::cos(t), r * std::sin(t)};
    return true;
}

} // namespace

bool binaryComplex(int c, const Complex& a, const Complex& b, Complex& out, int32_t& state,
                   EvalFlags& flags)
{
    switch (c) {
    case code::Add: out = addC(a, b); return true;
    case code::Sub: out = subC(a, b); return true;
    case code::Mul: return mulComplex(a, b, out);
    case code::Div: return divComplex(a, b, out);
    case code::Power: return powerComplex(a, b, out);
    case code::Pow: {
        int32_t n;
        out = {0, 0};
        return integerTest(a, n) && powIntComplex(n, b, out);
    }
    case code::Root: return rootComplex(a, b, out);
    default: { // the rest work on real parts
        Real r;
        const bool ok = binaryReal(c, a.re, b.re, r, state, flags);
        out = {r, 0};
        return ok;
    }
    }
}

} // namespace qx
