#pragma once
// Symbolic differentiation of compiled trees.
#include "expr/compiler.h"

namespace qx {

// The derivative of `tree` with respect to the variable with letter code
// `variable` (64..90), simplified when the context's simplify flag is on. In
// complex mode Z counts as depending on X (dZ = 1) and on Y (dZ = i). Returns
// null when the tree holds a node that has no derivative (the selection nodes
// 193, 194 and the ITER derivative 199).
TreePtr DifferentiateTree(ExprContext& cx, const ExprNode& tree, int variable);

} // namespace qx
