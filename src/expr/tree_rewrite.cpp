// Tree steps after building: negation nodes, ITER counts, the IFPOS and JOIN
// forms, LG, and a final check of the special forms.
#include "base/messages.h"
#include "expr/arith.h"
#include "expr/compile_steps.h"

namespace qx::compile {

void removeNegations(ExprNode& n)
{
    for (TreePtr* child : {&n.left, &n.middle, &n.right})
        if (*child) removeNegations(**child);
    if (n.code != code::Neg) return;
    if (n.right && n.right->code == code::Const) {
        n.code = code::Const;
        n.value = {-n.right->value.re, -n.right->value.im};
        n.right.reset();
        return;
    }
    n.code = code::Mul;
    n.left = makeConst(-1.0L);
}

int checkIterCounts(const ExprNode& n)
{
    if (n.code == code::Iter) {
        const ExprNode* count = n.left.get();
        if (!count || count->code != code::Const || !(count->value.re >= 1) ||
            !(count->value.re <= kIntLimit))
            return ErrOutOfBounds;
    }
    for (const TreePtr* child : {&n.left, &n.middle, &n.right})
        if (*child)
            if (const int e = checkIterCounts(**child)) return e;
    return ErrOk;
}

namespace {

void setIterCounts(ExprNode& n)
{
    if (n.code == code::Iter) n.aux = roundHalfDown(n.left->value.re);
    for (TreePtr* child : {&n.left, &n.middle, &n.right})
        if (*child) setIterCounts(**child);
}

// The special forms must be whole: IFPOS and JOIN with their threshold, SUM and
// PROD over a summand with an index letter and a range, no stray '|'.
int checkForms(const ExprNode& n, int parent)
{
    switch (n.code) {
    case code::Bar: return ErrCannotUnderstand;
    case code::Ifpos: case code::Join:
        if (!n.middle) return ErrCannotUnderstand;
        break;
    case code::Summand: case code::Range:
        if (parent != code::Sum && parent != code::Prod) return ErrCannotUnderstand;
        break;
    case code::Sum: case code::Prod:
        if (!n.left || n.left->code != code::Summand || !n.right || n.right->code != code::Range ||
            !n.left->right || !isVariable(n.left->right->code))
            return ErrCannotUnderstand;
        break;
    default: break;
    }
    for (const TreePtr* child : {&n.left, &n.middle, &n.right})
        if (*child)
            if (const int e = checkForms(**child, n.code)) return e;
    return ErrOk;
}

void restructure(ExprNode& n)
{
    for (TreePtr* child : {&n.left, &n.middle, &n.right})
        if (*child) restructure(**child);
    if ((n.code == code::Ifpos || n.code == code::Join) && n.left && n.left->code == code::Bar) {
        TreePtr bar = std::move(n.left);
        n.left = std::move(bar->left);
        n.middle = std::move(bar->right);
    }
}

} // namespace

int restructureBranches(ExprNode& tree)
{
    setIterCounts(tree);
    restructure(tree);
    return checkForms(tree, 0);
}

void rewriteLg(ExprNode& n)
{
    for (TreePtr* child : {&n.left, &n.middle, &n.right})
        if (*child) rewriteLg(**child);
    if (n.code != code::Lg) return;
    TreePtr base = std::move(n.left);
    TreePtr x = std::move(n.right);
    n.code = code::Div;
    n.left = makeNode(code::Ln, nullptr, std::move(x));
    n.right = makeNode(code::Ln, nullptr, std::move(base));
}

} // namespace qx::compile
