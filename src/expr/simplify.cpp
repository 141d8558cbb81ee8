// Simplification of compiled and differentiated trees. It runs only when a
// trial evaluation at a random point succeeds, so that the rewriting never
// turns a tree that cannot be evaluated into one that can.
#include "expr/compiler.h"
#include "expr/evaluator.h"

#include <cmath>

namespace qx {

namespace {

bool isConst(const TreePtr& n) { return n && n->code == code::Const; }
bool nearZero(const Complex& v) { return taxicab(v) < kTiny; }
bool nearOne(const Complex& v) { return std::fabs(v.re - 1) + std::fabs(v.im) < kTiny; }
bool constZero(const TreePtr& n) { return isConst(n) && nearZero(n->value); }
bool constOne(const TreePtr& n) { return isConst(n) && nearOne(n->value); }

// Tries the tree at up to 100 random points in (-5, 5)^2 for X, Y and Z.
constexpr int64_t kTrialLoopSteps = 100000;

bool trialSucceeds(ExprContext& cx, ExprNode& tree)
{
    EvalEnv& env = cx.env;
    const auto savedVars = env.vars;
    const bool savedFlag = env.flags.raised;
    // The trials together take at most this many loop steps: a SUM over a
    // billion terms is left unsimplified rather than evaluated.
    const int64_t savedBudget = env.flags.loopBudget;
    env.flags.loopBudget = kTrialLoopSteps;
    bool ok = false;
    for (int attempt = 0; attempt < 100 && !ok; ++attempt) {
        for (int slot : {kSlotX, kSlotY, kSlotZ}) {
            const Real re = 10 * env.flags.random.unit() - 5;
            env.vars[slot] = {re, 10 * env.flags.random.unit() - 5};
        }
        ok = EvaluateTree(env, tree);
    }
    env.vars = savedVars;
    env.flags.raised = savedFlag;
    env.flags.loopBudget = savedBudget;
    return ok;
}

void constantI(ExprNode& n)
{
    if (n.code == code::VarFirst + kSlotI) {
        n.code = code::Const;
        n.value = {0, 1};
        return;
    }
    // An index letter I of SUM or PROD stays a variable, in the summand too.
    const bool indexI = n.code == code::Summand && n.right && n.right->code == code::VarFirst + kSlotI;
    if (n.code == code::Summand && (indexI || !n.left)) return;
    for (TreePtr* child : {&n.left, &n.middle, &n.right})
        if (*child && !(n.code == code::Summand && child == &n.right)) constantI(**child);
}

void powers(TreePtr& t)
{
    for (TreePtr* child : {&t->left, &t->middle, &t->right})
        if (*child) powers(*child);
    if (t->code != code::Power) return;
    if (constOne(t->left) || constZero(t->right)) { t = makeConst(1.0L); return; }
    if (!isConst(t->right)) return;
    const Complex e = t->right->value;
    const Real n = std::round(e.re);
    if (std::fabs(e.im) <= kTiny && std::fabs(e.re) <= kIntLimit && std::fabs(e.re - n) < kTiny) {
        TreePtr base = std::move(t->left);
        t->code = code::Pow;
        t->left = makeConst(n);
        t->right = std::move(base);
    }
}

int reciprocalFunction(int c)
{
    switch (c) {
    case code::Tan: return code::Cot;
    case code::Cos: return code::Sec;
    case code::Sin: return code::Csc;
    case code::Sec: return code::Cos;
    case code::Csc: return code::Sin;
    case code::Cot: return code::Tan;
    case code::Sinh: return code::Csch;
    case code::Cosh: return code::Sech;
    case code::Tanh: return code::Coth;
    case code::Sech: return code::Cosh;
    case code::Coth: return code::Tanh;
    case code::Csch: return code::Sinh;
    default: return 0;
    }
}

void reciprocals(ExprNode& n)
{
    for (TreePtr* child : {&n.left, &n.middle, &n.right})
        if (*child) reciprocals(**child);
    if (n.code != code::Div || !n.right) return;
    if (const int r = reciprocalFunction(n.right->code)) {
        n.code = code::Mul;
        n.right->code = static_cast<int16_t>(r);
    }
}

bool skipsFolding(int c)
{
    switch (c) {
    case code::Iter: case code::Rand: case code::Join: case code::Ifpos: case code::Summand:
    case code::Range: case code::Sum: case code::Prod: case code::DIter: case code::Periodic:
    case code::Fallback: case code::DMax: case code::DMin:
        return true;
    default:
        return false;
    }
}

// A node over constants only becomes the constant it evaluates to.
bool foldConstant(EvalEnv& scratch, TreePtr& t)
{
    const bool constantChildren = !t->middle && isConst(t->right) && (!t->left || isConst(t->left));
    if (!constantChildren || isVariable(t->code) || isRegister(t->code)) return false;
    if (!EvaluateTree(scratch, *t)) return false;
    t = makeConst(t->value);
    return true;
}

// The identities 0*x, 1*x, x*0, x*1, 0+x, x+0, x-0, x^1, x/1 and x/c.
void identities(TreePtr& t)
{
    TreePtr& l = t->left;
    TreePtr& r = t->right;
    switch (t->code) {
    case code::Mul:
        if (constZero(l) || constZero(r)) t = makeConst(0.0L);
        else if (constOne(l)) t = std::move(r);
        else if (constOne(r)) t = std::move(l);
        break;
    case code::Add:
        if (constZero(l)) t = std::move(r);
        else if (constZero(r)) t = std::move(l);
        break;
    case code::Sub:
    case code::Power:
        if (t->code == code::Sub ? constZero(r) : constOne(r)) t = std::move(l);
        break;
    case code::Div: {
        if (constOne(r)) { t = std::move(l); break; }
        Complex inverse;
        if (isConst(r) && divComplex({1, 0}, r->value, inverse)) {
            t->code = code::Mul;
            r = std::move(l);
            l = makeConst(inverse);
        }
        break;
    }
    default: break;
    }
}

void fold(EvalEnv& scratch, TreePtr& t)
{
    if (skipsFolding(t->code)) return;
    for (TreePtr* child : {&t->left, &t->middle, &t->right})
        if (*child) fold(scratch, *child);
    if (!foldConstant(scratch, t)) identities(t);
}

} // namespace

void SimplifyTree(ExprContext& cx, TreePtr& tree)
{
    if (!tree || !trialSucceeds(cx, *tree)) return;
    if (cx.complexMode()) constantI(*tree);
    powers(tree);
    reciprocals(*tree);
    EvalEnv scratch = cx.env;
    scratch.flags.loopBudget = kTrialLoopSteps; // folding never runs a long loop
    fold(scratch, tree);
}

} // namespace qx
