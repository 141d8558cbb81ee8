#include "expr/text_eval.h"

#include "base/messages.h"
#include "expr/evaluator.h"

namespace qx {

namespace {

int compileAndEvaluate(ExprContext& cx, std::string_view text, Complex& out)
{
    TreePtr tree;
    if (const int e = CompileExpression(cx, text, tree)) return e;
    if (!EvaluateTree(cx.env, *tree)) return ErrCannotUnderstand;
    out = tree->value;
    return ErrOk;
}

} // namespace

int EvaluateRealText(ExprContext& cx, std::string_view text, Real& out)
{
    const bool mode = cx.env.complexMode;
    cx.env.complexMode = false;
    Complex v;
    const int e = compileAndEvaluate(cx, text, v);
    cx.env.complexMode = mode;
    if (!e) out = v.re;
    return e;
}

int EvaluateComplexText(ExprContext& cx, std::string_view text, Complex& out)
{
    Complex v;
    const int e = compileAndEvaluate(cx, text, v);
    if (!e) out = cx.env.complexMode ? v : Complex{v.re, 0};
    return e;
}

int EvaluateIntegerText(ExprContext& cx, std::string_view text, int32_t low, int32_t high,
                        int32_t& out)
{
    Real v;
    if (const int e = EvaluateRealText(cx, text, v)) return e;
    if (!(v >= low && v <= high)) return ErrOutOfBounds;
    out = roundHalfDown(v);
    return ErrOk;
}

int EvaluateIntegerText(ExprContext& cx, std::string_view text, int16_t low, int16_t high,
                        int16_t& out)
{
    int32_t v;
    if (const int e = EvaluateIntegerText(cx, text, int32_t{low}, int32_t{high}, v)) return e;
    out = static_cast<int16_t>(v);
    return ErrOk;
}

} // namespace qx
