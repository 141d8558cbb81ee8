#pragma once
// The expression compiler of a window: its mode, its variable table and
// flags, and its user-function library. CompileExpression turns a text into
// an expression tree; failures are error codes of the message table.
#include "expr/env.h"
#include "expr/library.h"
#include "expr/node.h"

#include <string_view>

namespace qx {

struct ExprContext {
    EvalEnv env;             // mode, variable table, registers, flags, random source
    FunctionLibrary library; // user functions, may be empty
    bool simplify = true;    // simplify compiled and differentiated trees

    explicit ExprContext(bool complexMode = false) : env(complexMode) {}
    bool complexMode() const { return env.complexMode; }
};

// The longest text the compiler accepts.
inline constexpr size_t kMaxExpressionText = 4999;

// Compiles `text` in the context's mode. Returns 0 and the tree in `out`, or an
// error code (1, 6, 9, 17, 24, 101, 108) and leaves `out` untouched. The
// variable table and flags are as before afterwards.
int CompileExpression(ExprContext& cx, std::string_view text, TreePtr& out);

// The simplification of compiled trees: trial evaluations at random points,
// then rewriting of powers, reciprocal functions and constants. Does nothing
// unless a trial evaluation succeeds.
void SimplifyTree(ExprContext& cx, TreePtr& tree);

} // namespace qx
