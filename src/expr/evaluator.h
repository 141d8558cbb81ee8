#pragma once
// Evaluation of expression trees by walking them. Every node's value is
// overwritten; step functions keep their state in aux and branches in branch,
// so a tree must not be evaluated by two computations at once. For the inner
// loops of pictures, compile the tree into a Program (program.h) instead.
#include "expr/env.h"
#include "expr/node.h"

namespace qx {

// Evaluates the tree with the environment's variables and mode. On success the
// result is in tree.value (in real mode only its real part is meaningful).
// A result that is not finite counts as a failure.
bool EvaluateTree(EvalEnv& env, ExprNode& tree);

// Sets slot `slot` to a real value (imaginary part 0), evaluates, and returns
// the real part of the result in `out`.
bool EvaluateAtReal(EvalEnv& env, ExprNode& tree, int slot, Real v, Real& out);
// Sets slot `slot` to a complex value, evaluates, and returns the result.
bool EvaluateAtComplex(EvalEnv& env, ExprNode& tree, int slot, Complex v, Complex& out);

} // namespace qx
