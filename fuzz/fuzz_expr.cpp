// libFuzzer target for the expression language: the input's first bytes give
// the mode and the variable values, the rest is compiled as a text; a compiled
// tree is evaluated by the tree walk and by the flat program (which must
// agree), differentiated, and written back as text.
#include "expr/compiler.h"
#include "expr/differentiate.h"
#include "expr/evaluator.h"
#include "expr/program.h"
#include "expr/tree_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace qx;

namespace {

// A finite value from two bytes: a small integer or fraction, sometimes huge.
Real valueFrom(uint8_t a, uint8_t b)
{
    const Real v = (Real(a) - 128) / (1 + (b & 15));
    return (b & 0x80) ? v * 1e20L : v;
}

// Evaluations the tree asks for: SUM, PROD and ITER repeat their parts, and
// a text may legitimately ask for billions of terms. Such inputs are compiled
// and printed but not evaluated, so that the fuzzer looks for faults, not for
// long computations.
double work(const ExprNode* n)
{
    if (!n) return 0;
    const double children = 1 + work(n->left.get()) + work(n->middle.get()) + work(n->right.get());
    switch (n->code) {
    case code::Sum: case code::Prod: {
        const ExprNode* a = n->right->left.get();
        const ExprNode* b = n->right->right.get();
        if (a->code != code::Const || b->code != code::Const) return 1e30;
        const double terms = double(b->value.re) - double(a->value.re) + 1;
        return children + std::max(0.0, terms) * work(n->left->left.get());
    }
    case code::Iter: case code::DIter: return children + double(n->aux) * children;
    case code::Binom: return children + 1e5;
    default: return children;
    }
}

void agreeOrAbort(ExprContext& cx, ExprNode& tree)
{
    Program p = Program::compile(cx.env, {&tree});
    Program bound = p;
    bound.bindSlots(cx.env.complexMode ? kSlotZ : kSlotX);
    const Complex z = cx.env.vars[cx.env.complexMode ? kSlotZ : kSlotX];
    const bool a = EvaluateTree(cx.env, tree);
    const bool b = p.evaluate();
    Complex out;
    const bool c = bound.evaluateBound(0, z, out);
    if (a != b || a != c) std::abort();
    const Complex r = p.result();
    if (a && (std::memcmp(&tree.value.re, &r.re, 10) != 0 ||
              std::memcmp(&tree.value.re, &out.re, 10) != 0 ||
              (cx.env.complexMode && std::memcmp(&tree.value.im, &out.im, 10) != 0))) {
        std::fprintf(stderr, "values differ: %.21Lg %.21Lg %.21Lg\n", tree.value.re, r.re, out.re);
        std::abort();
    }
    if (p.states() != collectStates(tree)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8) return 0;
    ExprContext cx((data[0] & 1) != 0);
    cx.simplify = (data[0] & 2) == 0;
    for (int slot : {kSlotX, kSlotY, kSlotZ, 1, 3})
        cx.env.vars[slot] = {valueFrom(data[1], data[2]), valueFrom(data[3], data[4])};
    cx.env.vars[kSlotX].im = cx.env.vars[kSlotY].im = 0;
    if (data[5] & 1) cx.library.functions.push_back({"F", "U*U-V", 2});
    cx.env.flags.random.seed(data[6]);
    const std::string_view text(reinterpret_cast<const char*>(data + 8), size - 8);
    TreePtr tree;
    if (CompileExpression(cx, text, tree)) return 0;
    if (work(tree.get()) > 2e5) {
        (void)TreeToText(*tree);
        return 0;
    }
    agreeOrAbort(cx, *tree);
    (void)TreeToText(*tree);
    if (countNodes(tree.get()) < 400) {
        TreePtr d = DifferentiateTree(cx, *tree, cx.env.complexMode ? 'Z' : 'X');
        if (d) {
            agreeOrAbort(cx, *d);
            (void)TreeToText(*d);
        }
    }
    return 0;
}
