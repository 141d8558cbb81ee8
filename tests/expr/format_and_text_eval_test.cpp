// Numbers and points as text, and the text evaluators that dialogs use.
#include "expr/format.h"
#include "expr/text_eval.h"

#include "base/messages.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(FormatNumbers, FixedDecimalsAndComplexForm)
{
    EXPECT_EQ(FormatReal(1.5L, 3, 1), "1.5");
    EXPECT_EQ(FormatReal(2, 6, 2), "  2.00");
    EXPECT_EQ(FormatReal(-0.125L, 4, 3), "-0.125");
    EXPECT_EQ(FormatComplexText({1.5L, -2}, 1), "1.5-2.0i");
    EXPECT_EQ(FormatComplexText({0, 0.25L}, 2), "0.00+0.25i");
    EXPECT_EQ(FormatComplexText({-3, 0}, 0), "-3+ 0i"); // width n + 2 pads when n = 0
}

TEST(FormatNumbers, PointsForTextFields)
{
    EXPECT_EQ(FormatPointText(1.5L, -2.25L, false, 2, false), "1.50 -2.25");
    EXPECT_EQ(FormatPointText(1.5L, 2.25L, true, 2, false), "(1.50 , 2.25)");
    EXPECT_EQ(FormatPointText(-0.5L, 0.75L, false, 3, true), "-0.500 + 0.750i");
    EXPECT_EQ(FormatPointText(0.5L, -0.75L, true, 1, true), "(0.5 - 0.8i)");
}

TEST(TextEvaluators, RealComplexAndIntegerTexts)
{
    ExprContext cx(true);
    Real r = 0;
    EXPECT_EQ(EvaluateRealText(cx, "2^10", r), ErrOk);
    EXPECT_EQ(r, 1024);
    EXPECT_TRUE(cx.complexMode()); // restored
    EXPECT_EQ(EvaluateRealText(cx, "re(2)", r), ErrOk); // real mode: r*e*(2) with R = 0
    EXPECT_EQ(r, 0);
    Complex z;
    EXPECT_EQ(EvaluateComplexText(cx, "1.20905692653531*cis(0.4pi)", z), ErrOk);
    EXPECT_NEAR(double(z.re), 0.373619137466, 1e-11);
    EXPECT_NEAR(double(z.im), 1.149881468553, 1e-11);
    EXPECT_EQ(EvaluateComplexText(cx, "ln(0)", z), ErrCannotUnderstand);
    EXPECT_EQ(EvaluateComplexText(cx, "", z), ErrNothingToDo);
    int32_t n = 7;
    EXPECT_EQ(EvaluateIntegerText(cx, "2.5", 0, 10, n), ErrOk);
    EXPECT_EQ(n, 2); // halves go toward zero
    EXPECT_EQ(EvaluateIntegerText(cx, "2.51", 0, 10, n), ErrOk);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(EvaluateIntegerText(cx, "11", 0, 10, n), ErrOutOfBounds);
    EXPECT_EQ(n, 3); // unchanged on failure
    int16_t s = 0;
    EXPECT_EQ(EvaluateIntegerText(cx, "-300/2", int16_t(-200), int16_t(200), s), ErrOk);
    EXPECT_EQ(s, -150);
    EXPECT_EQ(EvaluateIntegerText(cx, "x+", int16_t(0), int16_t(1), s), ErrInconsistentData);
}

TEST(TextEvaluators, CompilerCodesHaveMessages)
{
    for (int code : {1, 6, 9, 17, 24, 101, 108})
        EXPECT_EQ(messageText(code).rfind("error ", 0), std::string::npos) << code;
}
