// How texts are read: implicit products, names, numbers, precedence, errors.
#include "expr_test_util.h"

#include "base/messages.h"
#include "expr/tree_text.h"

#include <gtest/gtest.h>

using namespace qx;
using qx::test::Calc;

TEST(CompilerImplicitProducts, NumbersBracketsAndLettersMultiply)
{
    Calc c;
    c.set('X', 3.0L);
    EXPECT_EQ(*c.real("2x"), 6);
    EXPECT_EQ(*c.real("2(x+1)"), 8);
    EXPECT_EQ(*c.real("(x+1)(x-1)"), 8);
    EXPECT_EQ(*c.real("x(1+x)"), 12);
    EXPECT_EQ(*c.real("x2"), 6);
    EXPECT_EQ(*c.real("2 x"), 6); // blanks are deleted first
}

TEST(CompilerNames, LetterRunsAreNamesOnlyInFull)
{
    Calc c;
    c.set('X', 2.0L);
    c.set('Y', 5.0L);
    c.set('P', 7.0L);
    c.set('Z', 11.0L);
    EXPECT_EQ(*c.real("xx"), 4);
    EXPECT_EQ(*c.real("abs(xy)"), 10);
    EXPECT_EQ(*c.real("2abs(3,4)"), 10);
    EXPECT_EQ(*c.real("abs(3,4,12)"), 13);
    // PIZ is P*I*Z with I = 0 in a real window; ZPI is Z*PI.
    EXPECT_EQ(*c.real("piz"), 0);
    EXPECT_DOUBLE_EQ(double(*c.real("zpi")), double(11 * kPi));
    EXPECT_DOUBLE_EQ(double(*c.real("xsin(x)")), double(2 * std::sin(2.0L)));
    // SINX is S*I*N*X, not a sine; so is "sin x" once the blank is gone.
    c.set('S', 1.0L);
    c.set('I', 1.0L);
    c.set('N', 1.0L);
    EXPECT_EQ(*c.real("sinx"), 2);
    EXPECT_EQ(*c.real("sin x"), 2);
    EXPECT_EQ(c.error("sin 2"), ErrInconsistentData);
    EXPECT_EQ(*c.real("zzz"), 1331);
}

TEST(CompilerNames, ComplexOnlyNamesAreLettersInRealMode)
{
    Calc r;
    r.set('R', 2.0L);
    r.set('X', 3.0L);
    EXPECT_EQ(*r.real("re(x)"), 2 * kE * 3); // r*e*x
    EXPECT_EQ(r.error("arg(1)"), ErrOk);     // a*r*g*(1)
    EXPECT_EQ(*r.real("arg(-1,0)"), kPi);
    Calc c(true);
    c.set('Z', Complex{3, 4});
    EXPECT_EQ(*c.value("re(z)"), (Complex{3, 0}));
    EXPECT_EQ(*c.value("im(z)"), (Complex{4, 0}));
    EXPECT_EQ(*c.value("arg(-1)"), (Complex{kPi, 0}));
}

TEST(CompilerNumbers, DecimalsWithoutExponents)
{
    Calc c;
    EXPECT_EQ(*c.real("2.5.1"), 2.5L);
    EXPECT_EQ(*c.real(".5"), 0.5L);
    EXPECT_EQ(*c.real("0.1"), 0.1L);
    c.set('E', 10.0L);
    EXPECT_EQ(*c.real("1E3"), 30); // 1*E*3
    EXPECT_EQ(*c.real("pi"), kPi);
    EXPECT_EQ(*c.real("deg"), kPi / 180);
    EXPECT_EQ(*c.real("pinf"), kBig);
    EXPECT_EQ(*c.real("ninf"), -kBig);
    EXPECT_EQ(*c.real("phi"), (1 + std::sqrt(5.0L)) / 2);
}

TEST(CompilerPrecedence, PowersNegationsAndChains)
{
    Calc c;
    c.set('X', 3.0L);
    EXPECT_EQ(*c.real("-x^2"), -9);
    EXPECT_EQ(*c.real("2^3^2"), 512);
    EXPECT_EQ(*c.real("2^-3"), 0.125L);
    EXPECT_EQ(*c.real("--3"), 3);
    EXPECT_EQ(*c.real("4/2/2"), 1);
    EXPECT_EQ(*c.real("10-4-3"), 3);
    EXPECT_EQ(*c.real("1+2*3^2"), 19);
    EXPECT_EQ(*c.real("max(1,2,3)"), 3);
    EXPECT_EQ(*c.real("min(4,2,3)"), 2);
    EXPECT_EQ(*c.real("[x+1]*{x-1}"), 8);
}

TEST(CompilerFactorial, PostfixBangWrapsTheOperandBeforeIt)
{
    Calc c;
    c.set('X', 3.0L);
    EXPECT_NEAR(double(*c.real("3!")), 6, 1e-12);
    EXPECT_NEAR(double(*c.real("(x+1)!")), 24, 1e-12);
    EXPECT_NEAR(double(*c.real("2x!")), 12, 1e-12);
    EXPECT_NEAR(double(*c.real("3!!")), 720, 1e-9);
    EXPECT_NEAR(double(*c.real("abs(-3)!")), 6, 1e-12);
    EXPECT_EQ(c.error("!3"), ErrCannotUnderstand);
}

TEST(CompilerErrors, EveryCodeOfTheTable)
{
    Calc c;
    EXPECT_EQ(c.error(""), ErrNothingToDo);
    EXPECT_EQ(c.error("   "), ErrNothingToDo);
    EXPECT_EQ(c.error("x)"), ErrUnbalancedBrackets);
    EXPECT_EQ(c.error("(x"), ErrUnbalancedBrackets);
    EXPECT_EQ(c.error("sin((x)"), ErrUnbalancedBrackets);
    EXPECT_EQ(c.error("root(2,x,3)"), ErrTooManyArguments);
    EXPECT_EQ(c.error("max(1)"), ErrInconsistentData);
    EXPECT_EQ(c.error("(x,1)"), ErrCannotUnderstand);
    EXPECT_EQ(c.error(",1"), ErrCannotUnderstand);
    EXPECT_EQ(c.error("sin(1,2)"), ErrCannotUnderstand);
    EXPECT_EQ(c.error("x$"), ErrCannotUnderstand);
    EXPECT_EQ(c.error("iter(a,xx)"), ErrOutOfBounds);
    EXPECT_EQ(c.error("iter(0,xx)"), ErrOutOfBounds);
    EXPECT_EQ(c.error("iter(-1,xx)"), ErrOutOfBounds);
    EXPECT_EQ(c.error("iter(3,xx)"), ErrOk);
    EXPECT_EQ(c.error("x+"), ErrInconsistentData);
    EXPECT_EQ(c.error("()"), ErrInconsistentData);
    EXPECT_EQ(c.error("x**2"), ErrInconsistentData);
    EXPECT_EQ(c.error(std::string(5000, '1')), ErrOutOfBounds);
    std::string longest;
    for (int k = 0; k < 2499; ++k) longest += "1+";
    EXPECT_EQ(c.error(longest + "1"), ErrOk);
    EXPECT_EQ(c.error(longest + "11"), ErrOutOfBounds);
    EXPECT_EQ(c.error("1" + std::string(5000, '0')), ErrOutOfBounds); // beyond the largest real
}

TEST(CompilerErrors, AFunctionNameBeforeABlankNeedsItsBracket)
{
    Calc c;
    c.set('X', 2.0L);
    c.set('S', 3.0L);
    c.set('I', 5.0L);
    c.set('N', 7.0L);
    for (const char* text : {"sin x", "SIN  X", "sin 2", "xsin x", "1+cos .5", "exp x+1", "abs x"})
        EXPECT_EQ(c.error(text), ErrInconsistentData) << text;
    EXPECT_EQ(*c.real("sinx"), 3 * 5 * 7 * 2); // no blank: a product of letters, as before
    EXPECT_EQ(*c.real("sin (0)"), 0);         // a bracket may follow the blank
    EXPECT_EQ(*c.real("sin(x) x"), std::sin(2.0L) * 2);
    EXPECT_EQ(c.error("pi x"), ErrOk); // a constant is no function (PIX reads P*I*X, blank or not)
    EXPECT_EQ(*c.real("x pi"), 3.14159265358979311600L * 2);
    EXPECT_EQ(*c.real("x x"), 4);
    Calc z(true); // CIS is a function in complex mode only
    EXPECT_EQ(z.error("cis x"), ErrInconsistentData);
    EXPECT_EQ(c.error("cis x"), ErrOk);
}

TEST(CompilerErrors, BytesOutsidePrintableAsciiAreRefused)
{
    Calc c;
    EXPECT_EQ(c.error("x\xa6y"), ErrCannotUnderstand); // would be an IFPOS code byte
    EXPECT_EQ(c.error("x\ty"), ErrCannotUnderstand);
    EXPECT_EQ(c.error("caf\xc3\xa9"), ErrCannotUnderstand);
}

TEST(CompilerErrors, FailureLeavesTheCallersTreeAndTable)
{
    Calc c;
    c.set('X', 4.0L);
    TreePtr t = c.tree("x+1");
    ExprNode* before = t.get();
    EXPECT_EQ(CompileExpression(c.cx, "x+", t), ErrInconsistentData);
    EXPECT_EQ(t.get(), before);
    EXPECT_EQ(c.cx.env.vars[kSlotX].re, 4);
    EXPECT_FALSE(c.cx.env.flags.raised);
}

TEST(CompilerSpecialForms, SumProdChiJoinIfpos)
{
    Calc c;
    EXPECT_EQ(*c.real("sum(k,k,1,10)"), 55);
    EXPECT_EQ(*c.real("prod(k,k,1,5)"), 120);
    EXPECT_EQ(*c.real("sum(sum(j*k,j,1,3),k,1,2)"), 18);
    EXPECT_EQ(*c.real("2sum(k^2,k,1,3)"), 28);
    EXPECT_EQ(c.error("sum(k,k,1)"), ErrCannotUnderstand);
    EXPECT_EQ(c.error("sum(k,kk,1,2)"), ErrCannotUnderstand);
    EXPECT_EQ(c.error("sum(k,2,1,2)"), ErrCannotUnderstand);
    EXPECT_EQ(c.error("sum(k)"), ErrCannotUnderstand);
    EXPECT_EQ(c.error("sum k"), ErrOk); // S*U*M*K
    c.set('X', 0.5L);
    EXPECT_EQ(*c.real("chi(0,1,x)"), 1);
    EXPECT_EQ(*c.real("chi(0,1,x)^2+1"), 2);
    c.set('X', 2.0L);
    EXPECT_EQ(*c.real("chi(0,1,x)"), 0);
    EXPECT_FALSE(c.real("1/chi(0,1,x)")); // the whole indicator is the divisor
    EXPECT_EQ(c.error("chi(0,1)"), ErrCannotUnderstand);
    EXPECT_EQ(c.error("ifpos(1,0)"), ErrCannotUnderstand); // no threshold
    EXPECT_EQ(c.error("1|2"), ErrCannotUnderstand);
    EXPECT_EQ(c.error("joinx(1|2|3,4)"), ErrCannotUnderstand);
}

TEST(CompilerTrees, IterCountsAndLgRewrite)
{
    Calc c;
    TreePtr t = c.tree("iter(3.4,xx)");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->code, code::Iter);
    EXPECT_EQ(t->aux, 3);
    c.cx.simplify = false;
    t = c.tree("lg(2,x)");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->code, code::Div);
    EXPECT_EQ(t->left->code, code::Ln);
    EXPECT_EQ(t->left->right->code, 'X');
    EXPECT_EQ(t->right->right->code, code::Const);
    EXPECT_EQ(*c.real("lg(2,8)"), std::log(8.0L) / std::log(2.0L));
    t = c.tree("-x");
    EXPECT_EQ(t->code, code::Mul);
    EXPECT_EQ(t->left->value.re, -1);
    t = c.tree("-2");
    EXPECT_EQ(t->code, code::Const);
    EXPECT_EQ(t->value.re, -2);
}

TEST(CompilerUserFunctions, ExpansionSubstitutesBracketedArguments)
{
    Calc c;
    c.cx.library.functions.push_back({"F", "U-V", 2});
    c.cx.library.functions.push_back({"SQ", "U*U", 1});
    c.cx.library.functions.push_back({"G", "SQ(U)+SUM(K*U,K,1,2)", 1}); // calls an older one
    c.set('X', 5.0L);
    EXPECT_EQ(*c.real("f(x,2)"), 3);
    EXPECT_EQ(*c.real("2f(x+1,x-1)"), 4); // ((x+1)-(x-1)) times 2
    EXPECT_EQ(*c.real("sq(x-3)"), 4);
    EXPECT_EQ(*c.real("g(2)"), 10); // 4 + (2 + 4): SUM keeps its U
    EXPECT_EQ(c.error("f(x)"), ErrMissingData);
    EXPECT_EQ(c.error("f(x,1,2)"), ErrTooManyArguments);
    EXPECT_EQ(c.error("sq()"), ErrMissingData);
    EXPECT_EQ(c.error("sq(x"), ErrUnbalancedBrackets);
    EXPECT_EQ(*c.real("fx"), 0); // not a call: F*X with F = 0
}

TEST(CompilerUserFunctions, NamesWithParameterLettersSurviveSubstitution)
{
    Calc c;
    c.cx.library.functions.push_back({"CUBE", "U*U*U", 1});
    c.cx.library.functions.push_back({"H", "CUBE(U)+1", 1});
    EXPECT_EQ(*c.real("h(2)"), 9);
    const auto names = protectedNames(c.cx.library);
    EXPECT_EQ(names.size(), 9u);
    EXPECT_EQ(names[0], "SUM");
    EXPECT_EQ(names.back(), "CUBE");
}

TEST(CompilerUserFunctions, RunawayRecursionIsOutOfBounds)
{
    Calc c;
    c.cx.library.functions.push_back({"R", "R(U)+1", 1});
    EXPECT_EQ(c.error("r(1)"), ErrOutOfBounds);
}

TEST(CompilerSimplify, PowersBecomeRepeatedProducts)
{
    Calc c;
    TreePtr t = c.tree("x^2");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->code, code::Pow);
    EXPECT_EQ(t->left->value.re, 2);
    c.set('X', -3.0L);
    EXPECT_EQ(*c.real("x^2"), 9);
    EXPECT_FALSE(c.real("(-8)^(1/3)"));
    EXPECT_EQ(*c.real("root(3,-8)"), -2);
    EXPECT_EQ(c.tree("x^0")->code, code::Const);
    EXPECT_EQ(c.tree("1^x")->value.re, 1);
}

TEST(CompilerSimplify, ConstantsFoldAndIdentitiesVanish)
{
    Calc c;
    EXPECT_EQ(TreeToText(*c.tree("2*3+x")), "6+x");
    EXPECT_EQ(TreeToText(*c.tree("1*x+0")), "x");
    EXPECT_EQ(TreeToText(*c.tree("x*0+y")), "y");
    EXPECT_EQ(TreeToText(*c.tree("x^1-0")), "x^1"); // already POW(1, x) when folding runs
    EXPECT_EQ(TreeToText(*c.tree("x/1")), "x");
    EXPECT_EQ(TreeToText(*c.tree("x/4")), "0.25*x");
    EXPECT_EQ(TreeToText(*c.tree("x/tan(x)")), "x*cot(x)");
    EXPECT_EQ(TreeToText(*c.tree("1/cosh(x)")), "sech(x)");
    EXPECT_EQ(TreeToText(*c.tree("sin(0)+x")), "x");
    // RAND and ITER are never folded.
    EXPECT_EQ(c.tree("rand(1)")->code, code::Rand);
    EXPECT_EQ(c.tree("iter(2,3)")->code, code::Iter);
}

TEST(CompilerSimplify, NothingChangesWhenNoTrialSucceeds)
{
    Calc c;
    // 1/c with c = 0 never evaluates: the tree stays as written.
    TreePtr t = c.tree("x^2/c");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->code, code::Div);
    EXPECT_EQ(t->left->code, code::Power);
    Calc off;
    off.cx.simplify = false;
    EXPECT_EQ(off.tree("x^2")->code, code::Power);
}

TEST(CompilerSimplify, ComplexIBecomesAConstant)
{
    Calc c(true);
    TreePtr t = c.tree("i");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->code, code::Const);
    EXPECT_EQ(t->value, (Complex{0, 1}));
    c.set('I', Complex{5, 0}); // the constant no longer reads the slot
    EXPECT_EQ(*c.value("2i"), (Complex{0, 2}));
    EXPECT_EQ(*c.value("sum(i,i,1,3)"), (Complex{6, 0})); // an index letter stays a variable
}
