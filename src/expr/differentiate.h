#pragma once
// Symbolic differentiation of compiled trees.
#include "expr/compiler.h"

namespace qx {

// The derivative of `tree` with respect to the variable with letter code
// `variable` (64..90), simplified when the context's simplify flag is on. In
// complex mode Z counts as depending on X (dZ = 1) and on Y (dZ = i). Returns
// null when the tree holds a node that has no derivative (the selection nodes
// 193, 194 and the ITER derivative 199) or when the derivative would pass
// kMaxDerivativeNodes nodes; `error` (when given) gets 0, 1 for no
// derivative, or 20 "too large".
inline constexpr int64_t kMaxDerivativeNodes = 200000;
TreePtr DifferentiateTree(ExprContext& cx, const ExprNode& tree, int variable, int* error = nullptr);

} // namespace qx
