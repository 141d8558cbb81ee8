// The expression state every window keeps: compiling with the window's
// library and reporting failures, the variable table with its bounds, and
// constant texts that may use only the letters the window defines.
#include "expr/evaluator.h"
#include "model/fake_host.h"
#include "model/tfuncwin.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {

struct Window : TFuncWin {
    explicit Window(bool complex) { setComplexMode(complex); }
};

} // namespace

TEST(ExpressionState, CompileIntoUsesTheLibraryAndReportsFailures)
{
    Window w(true);
    FakeHost host;
    w.attach(host);
    w.setLibrary({{{"SQ", "UU", 1}}});
    TreePtr tree;
    ASSERT_EQ(w.compileInto("sq(z)+1", tree), 0);
    ASSERT_TRUE(tree);
    const ExprNode* kept = tree.get();
    EXPECT_EQ(w.compileInto("sin x", tree), ErrInconsistentData);
    EXPECT_EQ(w.compileInto("(z", tree), ErrUnbalancedBrackets);
    EXPECT_EQ(tree.get(), kept); // the previous tree stays
    ASSERT_EQ(host.errors.size(), 2u);
    EXPECT_EQ(host.errors[0].first, ErrInconsistentData);
    EXPECT_EQ(host.errors[1].first, ErrUnbalancedBrackets);
    EXPECT_TRUE(w.complexMode());
}

TEST(ExpressionState, VariablesAndTheirBounds)
{
    Window w(true);
    EXPECT_EQ(w.variable(kSlotE).re, kE);
    EXPECT_EQ(w.variable(kSlotI), (Complex{0, 1}));
    EXPECT_EQ(w.variable(kSlotA), (Complex{0, 0}));
    EXPECT_EQ(w.variableMinimum(kSlotA), -10);
    EXPECT_EQ(w.variableMaximum(kSlotZ), 10);
    EXPECT_EQ(w.setVariableBounds(kSlotA, 2, 1), ErrInconsistentData);
    EXPECT_EQ(w.variableMinimum(kSlotA), -10);
    EXPECT_EQ(w.setVariableBounds(kSlotA, -1, 3), 0);
    EXPECT_EQ(w.variableMaximum(kSlotA), 3);
    EXPECT_EQ(w.setVariableBounds(27, 0, 1), ErrInconsistentData);
    EXPECT_FALSE(w.variableDefined(kSlotA));
    w.setVariable(kSlotA, {2, -1});
    EXPECT_TRUE(w.variableDefined(kSlotA));
    EXPECT_EQ(w.variable(kSlotA), (Complex{2, -1}));
    EXPECT_FALSE(Window(false).variableDefined(kSlotI)); // i is a letter in real windows
}

TEST(ExpressionState, ConstantTextsUseOnlyDefinedLetters)
{
    Window w(true);
    Complex v{7, 7};
    EXPECT_EQ(w.evaluateConstant("a+1", v), ErrCannotUnderstand); // a is not defined yet
    EXPECT_EQ(w.evaluateConstant("junk", v), ErrCannotUnderstand);
    EXPECT_EQ(v, (Complex{7, 7}));
    w.setVariable(kSlotA, {0.5L, 0});
    ASSERT_EQ(w.evaluateConstant("a+1", v), 0);
    EXPECT_EQ(v, (Complex{1.5L, 0}));
    ASSERT_EQ(w.evaluateConstant("2a, -a", v), 0);
    EXPECT_EQ(v, (Complex{1, -0.5L}));
    ASSERT_EQ(w.evaluateConstant("e*i", v), 0);
    EXPECT_EQ(v, (Complex{0, kE}));
    EXPECT_EQ(w.evaluateConstant("sin x", v), ErrInconsistentData);
    Real r = 0;
    ASSERT_EQ(w.evaluateRealConstant("2/5", r), 0);
    EXPECT_EQ(r, 0.4L);
    EXPECT_EQ(w.evaluateRealConstant("b", r), ErrCannotUnderstand);
    // The texts leave the window's table as it was.
    EXPECT_EQ(w.variable(kSlotB), (Complex{0, 0}));
    Window real(false);
    EXPECT_NE(real.evaluateConstant("2i", v), 0);
}
