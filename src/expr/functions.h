#pragma once
// The rules of the function and operator nodes, in real and in complex mode.
// Each returns false when the evaluation fails; the output then holds whatever
// the failing step left. `state` is the node's integer state (aux), updated by
// step functions through `flags`.
#include "expr/env.h"

namespace qx {

bool unaryReal(int code, Real u, Real& out, int32_t& state, EvalFlags& flags);
bool unaryComplex(int code, const Complex& u, Complex& out, int32_t& state, EvalFlags& flags);

// Binary operators and two-argument functions (a = left value, b = right value).
bool binaryReal(int code, Real a, Real b, Real& out, int32_t& state, EvalFlags& flags);
bool binaryComplex(int code, const Complex& a, const Complex& b, Complex& out, int32_t& state,
                   EvalFlags& flags);

// a^b with a real exponent rule: integer exponents by successive squaring.
bool powerReal(Real a, Real b, Real& out);
bool powerComplex(const Complex& a, const Complex& b, Complex& out);

// The gamma function; `state` gets floor(x) in real mode.
bool gammaReal(Real x, Real& out, int32_t& state, EvalFlags& flags);
bool gammaComplex(const Complex& x, Complex& out);

// The error function; the complex one fails when the result would exceed B.
Real erfReal(Real x);
bool erfComplex(const Complex& z, Complex& out);

// Selection nodes 193 (derivative of MAX) and 194 (of MIN): the left value when
// the middle value is >= 0 (193) or < 0 (194), else the right one.
bool selectDerivative(int code, Real middle, int32_t& state, EvalFlags& flags);

// The periodic extension: q = floor((x - a) / m), the shifted x = x - m q.
bool periodicShift(Real x, Real a, Real m, Real& shifted, int32_t& state, EvalFlags& flags);

} // namespace qx
