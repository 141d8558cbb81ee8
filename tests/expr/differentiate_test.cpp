// Every differentiation rule against a central difference quotient.
#include "expr_test_util.h"

#include "base/messages.h"
#include "expr/differentiate.h"
#include "expr/tree_text.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qx;
using qx::test::Calc;

namespace {

// Compares D text against (f(p+h) - f(p-h)) / 2h at each point, in real mode.
void checkReal(const char* text, std::initializer_list<Real> points, bool simplify = true)
{
    Calc c;
    c.cx.simplify = simplify;
    TreePtr f = c.tree(text);
    ASSERT_TRUE(f) << text;
    TreePtr d = DifferentiateTree(c.cx, *f, 'X');
    ASSERT_TRUE(d) << text;
    const Real h = 1e-6L;
    for (Real p : points) {
        Real fp, fm, dv;
        ASSERT_TRUE(EvaluateAtReal(c.cx.env, *f, kSlotX, p + h, fp)) << text << " at " << double(p);
        ASSERT_TRUE(EvaluateAtReal(c.cx.env, *f, kSlotX, p - h, fm)) << text << " at " << double(p);
        ASSERT_TRUE(EvaluateAtReal(c.cx.env, *d, kSlotX, p, dv))
            << text << " -> " << TreeToText(*d) << " at " << double(p);
        const Real q = (fp - fm) / (2 * h);
        EXPECT_NEAR(double(dv), double(q), 1e-7 * std::max(1.0, std::fabs(double(q))))
            << text << " -> " << TreeToText(*d) << " at " << double(p);
    }
}

// The same in complex mode for the variable X or Y (a step along 1 or i).
void checkComplex(const char* text, int variable, std::initializer_list<Complex> points)
{
    Calc c(true);
    TreePtr f = c.tree(text);
    ASSERT_TRUE(f) << text;
    TreePtr d = DifferentiateTree(c.cx, *f, variable);
    ASSERT_TRUE(d) << text;
    const Real h = 1e-6L;
    const Complex step = variable == 'X' ? Complex{h, 0} : Complex{0, h};
    for (Complex p : points) {
        Complex fp, fm, dv;
        ASSERT_TRUE(EvaluateAtComplex(c.cx.env, *f, kSlotZ, addC(p, step), fp));
        ASSERT_TRUE(EvaluateAtComplex(c.cx.env, *f, kSlotZ, subC(p, step), fm));
        ASSERT_TRUE(EvaluateAtComplex(c.cx.env, *d, kSlotZ, p, dv)) << text;
        const Complex q{(fp.re - fm.re) / (2 * h), (fp.im - fm.im) / (2 * h)};
        const double tol = 1e-7 * std::max(1.0, double(taxicab(q)));
        EXPECT_NEAR(double(dv.re), double(q.re), tol) << text << " -> " << TreeToText(*d);
        EXPECT_NEAR(double(dv.im), double(q.im), tol) << text << " -> " << TreeToText(*d);
    }
}

} // namespace

TEST(DifferentiateArithmetic, SumsProductsQuotientsPowers)
{
    checkReal("3x+2", {-1, 0.5L, 2});
    checkReal("2-x", {-1, 0.5L, 2});
    checkReal("x*x*x-4x", {-1.5L, 0.3L, 2});
    checkReal("x/(1+x^2)", {-2, 0.1L, 3});
    checkReal("(x+1)/x", {-2, 0.7L, 3});
    checkReal("x^x", {0.5L, 1.5L, 3});
    checkReal("2^x", {-1, 0, 2.5L});
    checkReal("x^2.5", {0.5L, 4});
    checkReal("x^3", {-2, 0.5L}, false);
    checkReal("x^-2", {-2, 0.5L});
    checkReal("pow(3,x)", {-2, 0.5L, 1.5L});
}

TEST(DifferentiateChainRule, CircularAndHyperbolic)
{
    for (const char* f : {"sin(x^2)", "cos(2x)", "tan(x)", "sec(x)", "csc(x)", "cot(x)",
                          "sinh(x)", "cosh(x)", "tanh(x)", "sech(x)", "csch(x)", "coth(x)"})
        checkReal(f, {-1.1L, 0.4L, 1.3L});
}

TEST(DifferentiateChainRule, ExponentialsRootsAndOthers)
{
    for (const char* f : {"exp(3x)", "gauss(x)", "erf(x)", "erf(2x+1)", "abs(x^3)", "frac(2x)",
                          "root(3,x)", "root(2,x*x+1)", "sqrt(x+3)", "ln(x*x)", "log(x*x)",
                          "x*exp(-x)"})
        checkReal(f, {-1.3L, 0.6L, 1.7L});
}

TEST(DifferentiateQuotientRule, InverseFunctions)
{
    checkReal("arctan(x)", {-2, 0.3L, 4});
    checkReal("arccot(x)", {-2, 0.3L, 4});
    checkReal("arcsin(x)", {-0.7L, 0, 0.5L});
    checkReal("arccos(x)", {-0.7L, 0, 0.5L});
    checkReal("argsinh(x)", {-2, 0.3L, 4});
    checkReal("argcosh(x)", {1.5L, 3});
    checkReal("argtanh(x)", {-0.7L, 0, 0.5L});
    checkReal("argcoth(x)", {-3, 1.5L, 4});
}

TEST(DifferentiateSpecialForms, TwoArgumentFunctionsAndChoices)
{
    checkReal("abs(x,2x+1)", {-2, 0.3L, 4});
    checkReal("abs(x,3,x*x)", {-2, 0.3L, 4});
    checkReal("arg(x,x*x+1)", {-2, 0.3L, 4});
    checkReal("arg(x-5,2)", {-2, 0.3L, 4});
    checkReal("max(x,1-x)", {-2, 0.3L, 4});
    checkReal("min(x*x,x+1)", {-2, 0.3L, 4});
    checkReal("joinx(x^2|1,3x|2,sin(x))", {-2, 0.3L, 1.5L, 4});
    checkReal("ifpos(x^2|x-1,sin(x))", {-2, 0.3L, 4});
    checkReal("iter(3,x*x-0.5)", {-0.6L, 0.3L, 0.8L});
    checkReal("prod(x+k,k,1,3)", {-0.5L, 0.3L, 2});
    checkReal("sum(k*x^k,k,1,4)", {-0.5L, 0.3L, 2});
}

TEST(DifferentiateLeaves, StepFunctionsAndConstantsHaveNoSlope)
{
    Calc c;
    for (const char* f : {"int(x)", "sgn(x)", "hvs(x)", "floor(x)", "ceil(x)", "fact(x)",
                          "gamma(x)", "binom(x,2)", "mod(x,3)", "gcd(x,4)", "rand(x)", "c*y",
                          "sum(k,x,1,3)"}) {
        TreePtr t = c.tree(f);
        ASSERT_TRUE(t) << f;
        TreePtr d = DifferentiateTree(c.cx, *t, 'X');
        ASSERT_TRUE(d) << f;
        EXPECT_EQ(TreeToText(*d), "0") << f;
    }
    TreePtr t = c.tree("x*y");
    EXPECT_EQ(TreeToText(*DifferentiateTree(c.cx, *t, 'Y')), "x");
}

TEST(DifferentiateComplex, HolomorphicMapsAlongBothAxes)
{
    const std::initializer_list<Complex> pts = {{0.3, 0.4}, {-1.2, 0.7}, {0.5, -1.5}};
    for (const char* f : {"zz+c", "z*z*z-2z+2", "exp(z)", "cis(z)", "sin(z)/z", "z^2.5",
                          "ln(z)", "root(3,z)", "erf(z)", "arctan(z)"}) {
        checkComplex(f, 'X', pts);
        checkComplex(f, 'Y', pts);
    }
    checkComplex("re(z)", 'X', pts);
    checkComplex("conj(z)", 'X', pts);
    checkComplex("im(z)", 'X', pts);
}

TEST(DifferentiateText, ReadableSimplifiedResults)
{
    Calc c;
    auto diff = [&c](const char* f) { return TreeToText(*DifferentiateTree(c.cx, *c.tree(f), 'X')); };
    EXPECT_EQ(diff("x^2"), "2*x^1");
    EXPECT_EQ(diff("sin(x)"), "cos(x)");
    EXPECT_EQ(diff("3x"), "3");
    EXPECT_EQ(diff("exp(x)"), "exp(x)");
    EXPECT_EQ(diff("cos(x)"), "-sin(x)");
    Calc z(true);
    EXPECT_EQ(TreeToText(*DifferentiateTree(z.cx, *z.tree("zz+c"), 'Z')), "z+z");
}

TEST(DifferentiateRefusals, DerivativeNodesHaveNoRule)
{
    Calc c;
    TreePtr t = c.tree("max(x,1)");
    TreePtr d = DifferentiateTree(c.cx, *t, 'X');
    ASSERT_TRUE(d);
    EXPECT_EQ(d->code, code::DMax);
    EXPECT_FALSE(DifferentiateTree(c.cx, *d, 'X'));
    TreePtr i = DifferentiateTree(c.cx, *c.tree("iter(2,x*x)"), 'X');
    ASSERT_TRUE(i);
    EXPECT_EQ(i->code, code::DIter);
    EXPECT_FALSE(DifferentiateTree(c.cx, *i, 'X'));
}

TEST(DifferentiateLimits, AGrowingDerivativeIsRefusedAsTooLarge)
{
    // x^x^...^x with 2000 powers: its derivative grows with the square of the
    // chain. It is refused (error 20) instead of filling the memory.
    std::string chain;
    for (int k = 0; k < 2000; ++k)
        chain += "x^";
    chain += "x";
    ExprContext cx;
    TreePtr t;
    ASSERT_EQ(CompileExpression(cx, chain, t), 0);
    int error = -1;
    EXPECT_EQ(DifferentiateTree(cx, *t, 'X', &error), nullptr);
    EXPECT_EQ(error, ErrTooLarge);
    // A short chain still differentiates, with no error.
    ASSERT_EQ(CompileExpression(cx, "x^x^x", t), 0);
    EXPECT_NE(DifferentiateTree(cx, *t, 'X', &error), nullptr);
    EXPECT_EQ(error, 0);
    // Simplifying never runs a sum of a billion terms.
    ASSERT_EQ(CompileExpression(cx, "sum(i,i,1,1000000000)", t), 0);
    EXPECT_NE(DifferentiateTree(cx, *t, 'X', &error), nullptr);
}
