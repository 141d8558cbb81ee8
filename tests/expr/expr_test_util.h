#pragma once
// Helpers for the expression tests: compile a text in a fresh window context,
// evaluate it at given variable values, and report failures as empty results.
#include "expr/compiler.h"
#include "expr/evaluator.h"

#include <optional>
#include <string_view>

namespace qx::test {

struct Calc {
    ExprContext cx;
    explicit Calc(bool complexMode = false) : cx(complexMode) {}

    int error(std::string_view text)
    {
        TreePtr t;
        return CompileExpression(cx, text, t);
    }
    TreePtr tree(std::string_view text)
    {
        TreePtr t;
        CompileExpression(cx, text, t);
        return t;
    }
    void set(char letter, Complex v) { cx.env.vars[letter == '@' ? 0 : letter - '@'] = v; }
    void set(char letter, Real v) { set(letter, Complex{v, 0}); }

    // The value of a text, or nothing when it does not compile or evaluate.
    std::optional<Complex> value(std::string_view text)
    {
        TreePtr t = tree(text);
        if (!t || !EvaluateTree(cx.env, *t)) return std::nullopt;
        return t->value;
    }
    std::optional<Real> real(std::string_view text)
    {
        auto v = value(text);
        if (!v) return std::nullopt;
        return v->re;
    }
};

} // namespace qx::test
