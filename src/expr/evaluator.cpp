// The tree walk. Children are evaluated left, middle, right before their node
// (the periodic extension's right child and the SUM/PROD summand only by their
// node), and a node fails when a child it needs failed.
#include "expr/evaluator.h"
#include "expr/functions.h"

#include <cmath>

namespace qx {

namespace {

class TreeWalk {
public:
    explicit TreeWalk(EvalEnv& env) : env_(env), cx_(env.complexMode) {}
    bool eval(ExprNode& n);

private:
    bool rule(ExprNode& n, bool okL, bool okM, bool okR);
    bool branchNode(ExprNode& n, bool okL, bool okM, bool okR);
    bool iterate(ExprNode& n);
    bool iterateDerivative(ExprNode& n);
    bool sumOrProduct(ExprNode& n);
    bool periodic(ExprNode& n);
    Complex& iterVar() { return env_.vars[iterationSlot(cx_)]; }
    void setIterVar(const Complex& v) { iterVar() = cx_ ? v : Complex{v.re, 0}; }

    EvalEnv& env_;
    const bool cx_;
};

bool TreeWalk::eval(ExprNode& n)
{
    const int c = n.code;
    if (c == code::Const || c == code::Summand) return true;
    if (isVariable(c)) { n.value = readVariable(env_, c - code::VarFirst); return true; }
    if (isRegister(c)) { n.value = env_.registers[c - code::RegisterFirst]; return true; }
    n.value = {0, 0};
    const bool okL = n.left ? eval(*n.left) : true;
    const bool okM = n.middle ? eval(*n.middle) : true;
    const bool okR = (n.right && c != code::Periodic) ? eval(*n.right) : true;
    return rule(n, okL, okM, okR);
}

bool TreeWalk::rule(ExprNode& n, bool okL, bool okM, bool okR)
{
    switch (n.code) {
    case code::Ifpos: case code::Join: case code::Fallback: case code::DMax: case code::DMin:
        return branchNode(n, okL, okM, okR);
    default: break;
    }
    if (!okL || !okR || !okM) return false;
    switch (n.code) {
    case code::Iter: return iterate(n);
    case code::DIter: return iterateDerivative(n);
    case code::Sum: case code::Prod: return sumOrProduct(n);
    case code::Periodic: return periodic(n);
    case code::Range: return true;
    default: break;
    }
    const Complex u = n.right ? n.right->value : Complex{};
    if (!n.left) {
        if (cx_) return unaryComplex(n.code, u, n.value, n.aux, env_.flags);
        n.value.im = 0;
        return unaryReal(n.code, u.re, n.value.re, n.aux, env_.flags);
    }
    if (cx_) return binaryComplex(n.code, n.left->value, u, n.value, n.aux, env_.flags);
    n.value.im = 0;
    return binaryReal(n.code, n.left->value.re, u.re, n.value.re, n.aux, env_.flags);
}

// IFPOS, JOIN, the fallback and the MAX/MIN derivative selections.
bool TreeWalk::branchNode(ExprNode& n, bool okL, bool okM, bool okR)
{
    if (n.code == code::Fallback) {
        if (!okR) return false;
        n.value = okL ? n.left->value : n.right->value;
        return true;
    }
    if (!okM) return false;
    bool takeLeft;
    if (n.code == code::Ifpos || n.code == code::Join) {
        const Real threshold = n.middle->value.re;
        takeLeft = n.code == code::Ifpos ? threshold > 0
                                         : threshold > readVariable(env_, n.aux).re;
        const int16_t now = takeLeft ? 0 : 1;
        if (env_.flags.track && now != n.branch) env_.flags.raised = true;
        n.branch = now;
    } else {
        if (!okL || !okR) return false;
        takeLeft = selectDerivative(n.code, n.middle->value.re, n.aux, env_.flags);
    }
    const ExprNode* chosen = takeLeft ? n.left.get() : n.right.get();
    if (!(takeLeft ? okL : okR) || !chosen) return false;
    n.value = chosen->value;
    return true;
}

bool TreeWalk::iterate(ExprNode& n)
{
    if (n.aux < 1) { n.value = readVariable(env_, iterationSlot(cx_)); return true; }
    const Complex saved = iterVar();
    Complex last = n.right->value;
    for (int32_t k = 1; k < n.aux; ++k) {
        setIterVar(last);
        if (!env_.flags.loopStep() || !eval(*n.right)) { iterVar() = saved; return false; }
        last = n.right->value;
    }
    iterVar() = saved;
    n.value = last;
    return true;
}

bool TreeWalk::iterateDerivative(ExprNode& n)
{
    if (n.aux < 1) { n.value = {1, 0}; return true; }
    const Complex saved = iterVar();
    Complex product = n.left->value;
    bool ok = true;
    for (int32_t k = 1; k < n.aux && ok; ++k) {
        setIterVar(n.right->value);
        ok = env_.flags.loopStep() && eval(*n.left) && eval(*n.right);
        if (ok && cx_) ok = mulComplex(product, n.left->value, product);
        else if (ok) ok = mulReal(product.re, n.left->value.re, product.re);
    }
    iterVar() = saved;
    n.value = product;
    return ok;
}

bool TreeWalk::sumOrProduct(ExprNode& n)
{
    ExprNode& f = *n.left->left;
    const int slot = n.left->right->code - code::VarFirst;
    int32_t a, b;
    bool ok = integerTest(n.right->left->value, a) && integerTest(n.right->right->value, b) && a <= b;
    const bool product = n.code == code::Prod;
    Complex acc{product ? Real(1) : Real(0), 0};
    for (int64_t k = a; ok && k <= b; ++k) {
        env_.vars[slot] = {Real(k), 0};
        ok = env_.flags.loopStep() && eval(f);
        if (!ok) break;
        const Complex v = cx_ ? f.value : Complex{f.value.re, 0};
        if (!product) acc = addC(acc, v);
        else ok = cx_ ? mulComplex(acc, v, acc) : mulReal(acc.re, v.re, acc.re);
    }
    env_.flags.raised = false;
    n.value = acc;
    return ok;
}

bool TreeWalk::periodic(ExprNode& n)
{
    Complex& x = iterVar();
    const Complex saved = x;
    Real shifted;
    if (!periodicShift(saved.re, n.left->value.re, n.middle->value.re, shifted, n.aux, env_.flags))
        return false;
    x.re = shifted;
    const bool ok = eval(*n.right);
    x = saved;
    if (ok) n.value = n.right->value;
    return ok;
}

} // namespace

bool EvaluateTree(EvalEnv& env, ExprNode& tree)
{
    TreeWalk walk(env);
    if (!walk.eval(tree)) return false;
    return std::isfinite(tree.value.re) && (!env.complexMode || std::isfinite(tree.value.im));
}

bool EvaluateAtReal(EvalEnv& env, ExprNode& tree, int slot, Real v, Real& out)
{
    env.vars[slot] = {v, 0};
    const bool ok = EvaluateTree(env, tree);
    out = tree.value.re;
    return ok;
}

bool EvaluateAtComplex(EvalEnv& env, ExprNode& tree, int slot, Complex v, Complex& out)
{
    env.vars[slot] = v;
    const bool ok = EvaluateTree(env, tree);
    out = tree.value;
    return ok;
}

} // namespace qx
