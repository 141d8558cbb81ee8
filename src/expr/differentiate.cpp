// The differentiation rules: leaves, sums, products, quotients and powers, the
// chain rule for functions, and the special forms.
#include "expr/differentiate.h"

#include "base/messages.h"
#include "expr/names.h"

namespace qx {

namespace {

constexpr Real kTwoOverSqrtPi = 1.128379167095512573896158903121545L;

TreePtr C(const TreePtr& n) { return CopyTree(n.get()); }
TreePtr num(Real v) { return makeConst(v); }
TreePtr fn(int c, TreePtr u) { return makeNode(c, nullptr, std::move(u)); }
TreePtr op(int c, TreePtr a, TreePtr b) { return makeNode(c, std::move(a), std::move(b)); }
TreePtr neg(TreePtr a) { return op(code::Mul, num(-1), std::move(a)); }
TreePtr sq(TreePtr a) { return fn(code::Square, std::move(a)); }

bool isLeafFunction(int c)
{
    switch (c) {
    case code::Fact: case code::Int: case code::Sgn: case code::Binom: case code::Rand:
    case code::Hvs: case code::Gamma: case code::Ninf: case code::Pinf: case code::Floor:
    case code::Ceil: case code::Mod: case code::Gcd: case code::Some:
        return true;
    default:
        return false;
    }
}

class Differentiator {
public:
    Differentiator(bool complexMode, int variable) : cx_(complexMode), v_(variable) {}
    TreePtr d(const ExprNode& n);
    bool failed = false;
    bool tooLarge = false; // the node budget ran out

private:
    // Copies count against the node budget: a derivative that grows without
    // bound (a long power chain) is refused instead of filling the memory.
    TreePtr C(const TreePtr& n)
    {
        if (n)
            budget_ -= static_cast<int64_t>(countNodes(n.get()));
        if (budget_ < 0) {
            tooLarge = failed = true;
            return num(0);
        }
        return qx::C(n);
    }
    int64_t budget_ = kMaxDerivativeNodes;
    Complex leaf(const ExprNode& n) const;
    bool independentPair(const ExprNode& n) const;
    bool dependsOnVariable(const ExprNode& n) const;
    TreePtr D(const TreePtr& n) { return n ? d(*n) : num(0); }
    TreePtr arithmetic(const ExprNode& n);
    TreePtr chain(const ExprNode& n);
    TreePtr special(const ExprNode& n);
    TreePtr outer(const ExprNode& n);
    TreePtr quotientOuter(const ExprNode& n);

    const bool cx_;
    const int v_;
};

// The derivative of a leaf: 1 for the variable itself, and in complex mode
// dZ/dX = 1, dZ/dY = i; 0 otherwise.
Complex Differentiator::leaf(const ExprNode& n) const
{
    if (n.code == v_) return {1, 0};
    if (cx_ && n.code == code::VarFirst + kSlotZ) {
        if (v_ == code::VarFirst + kSlotX) return {1, 0};
        if (v_ == code::VarFirst + kSlotY) return {0, 1};
    }
    return {0, 0};
}

bool Differentiator::independentPair(const ExprNode& n) const
{
    auto independent = [this](const TreePtr& c) {
        return c && (c->code == code::Const || isVariable(c->code)) && leaf(*c) == Complex{};
    };
    return independent(n.left) && independent(n.right) && !n.middle;
}

bool Differentiator::dependsOnVariable(const ExprNode& n) const
{
    if (isVariable(n.code) && leaf(n) != Complex{}) return true;
    for (const TreePtr* c : {&n.left, &n.middle, &n.right})
        if (*c && dependsOnVariable(**c)) return true;
    return false;
}

TreePtr Differentiator::d(const ExprNode& n)
{
    if (failed || (budget_ -= 4) < 0) {
        tooLarge = tooLarge || budget_ < 0;
        failed = true;
        return num(0);
    }
    if (n.code == code::Const || isVariable(n.code) || isRegister(n.code) || isLeafFunction(n.code))
        return makeConst(leaf(n));
    if (n.left && n.right && independentPair(n)) return num(0);
    switch (n.code) {
    case code::Add: case code::Sub: case code::Mul: case code::Div: case code::Power:
        return arithmetic(n);
    case code::Re: return fn(code::Re, D(n.right));
    case code::Im: return op(code::Mul, makeConst(Complex{0, 1}), fn(code::Im, D(n.right)));
    case code::Conj: return fn(code::Conj, D(n.right));
    default: return special(n);
    }
}

TreePtr Differentiator::arithmetic(const ExprNode& n)
{
    const TreePtr& u = n.left;
    const TreePtr& w = n.right;
    switch (n.code) {
    case code::Add:
        if (w->code == code::Const) return D(u);
        if (u->code == code::Const) return D(w);
        return op(code::Add, D(u), D(w));
    case code::Sub:
        if (w->code == code::Const) return D(u);
        return op(code::Sub, D(u), D(w));
    case code::Mul:
        return op(code::Add, op(code::Mul, C(u), D(w)), op(code::Mul, C(w), D(u)));
    case code::Div:
        return op(code::Div, op(code::Sub, op(code::Mul, C(w), D(u)), op(code::Mul, C(u), D(w))),
                  sq(C(w)));
    default: { // u^w
        if (!dependsOnVariable(*w)) // w u^(w-1) Du, defined for negative u as well
            return op(code::Mul, op(code::Mul, C(w), op(code::Power, C(u), op(code::Sub, C(w), num(1)))),
                      D(u));
        TreePtr inner = op(code::Add, op(code::Mul, D(w), fn(code::Ln, C(u))),
                           op(code::Mul, C(w), op(code::Div, D(u), C(u))));
        return op(code::Mul, CopyTree(&n), std::move(inner));
    }
    }
}

// f'(u) of the functions differentiated as Du * f'(u); null if not one of them.
TreePtr Differentiator::outer(const ExprNode& n)
{
    const TreePtr& u = n.right;
    switch (n.code) {
    case code::Tan: return sq(fn(code::Sec, C(u)));
    case code::Exp: return CopyTree(&n);
    case code::Cis: return op(code::Mul, makeConst(Complex{0, 1}), CopyTree(&n));
    case code::Sinh: return fn(code::Cosh, C(u));
    case code::Cosh: return fn(code::Sinh, C(u));
    case code::Tanh: return sq(fn(code::Sech, C(u)));
    case code::Abs: return fn(code::Sgn, C(u));
    case code::Sin: return fn(code::Cos, C(u));
    case code::Sec: return op(code::Mul, fn(code::Sec, C(u)), fn(code::Tan, C(u)));
    case code::Csc: return neg(op(code::Mul, fn(code::Csc, C(u)), fn(code::Cot, C(u))));
    case code::Cot: return neg(sq(fn(code::Csc, C(u))));
    case code::Frac: return num(1);
    case code::Sech: return neg(op(code::Mul, fn(code::Sech, C(u)), fn(code::Tanh, C(u))));
    case code::Coth: return neg(sq(fn(code::Csch, C(u))));
    case code::Csch: return neg(op(code::Mul, fn(code::Csch, C(u)), fn(code::Coth, C(u))));
    case code::Gauss: return neg(op(code::Mul, C(u), fn(code::Gauss, C(u))));
    case code::Erf: return op(code::Mul, num(kTwoOverSqrtPi), fn(code::Exp, neg(sq(C(u)))));
    case code::Square: return op(code::Mul, num(2), C(u));
    case code::Arg: return op(code::Div, fn(code::Conj, C(u)), sq(fn(code::Abs, C(u))));
    case code::Root: // (1/n) pow(1 - n, root(n, u))
        return op(code::Mul, op(code::Div, num(1), C(n.left)),
                  op(code::Pow, op(code::Sub, num(1), C(n.left)), CopyTree(&n)));
    case code::Pow: // n pow(n - 1, u)
        return op(code::Mul, C(n.left), op(code::Pow, op(code::Sub, C(n.left), num(1)), C(u)));
    default: return nullptr;
    }
}

// g(u) of the functions differentiated as Du / g(u); null if not one of them.
TreePtr Differentiator::quotientOuter(const ExprNode& n)
{
    const TreePtr& u = n.right;
    switch (n.code) {
    case code::Atan: case code::Acot: return op(code::Add, num(1), sq(C(u)));
    case code::Ln: return C(u);
    case code::Asin: case code::Acos: return fn(code::Sqrt, op(code::Sub, num(1), sq(C(u))));
    case code::Log: return op(code::Mul, num(kLn10), C(u));
    case code::Sqrt: return op(code::Mul, num(2), fn(code::Sqrt, C(u)));
    case code::Asinh: return fn(code::Sqrt, op(code::Add, sq(C(u)), num(1)));
    case code::Acosh: return fn(code::Sqrt, op(code::Sub, sq(C(u)), num(1)));
    case code::Atanh: case code::Acoth: return op(code::Sub, num(1), sq(C(u)));
    default: return nullptr;
    }
}

TreePtr Differentiator::chain(const ExprNode& n)
{
    if (TreePtr f = outer(n)) {
        return op(code::Mul, D(n.right), std::move(f));
    }
    if (n.code == code::Cos) return neg(op(code::Mul, D(n.right), fn(code::Sin, C(n.right))));
    if (TreePtr g = quotientOuter(n)) {
        TreePtr r = op(code::Div, D(n.right), std::move(g));
        return (n.code == code::Acot || n.code == code::Acos) ? neg(std::move(r)) : std::move(r);
    }
    failed = true;
    return num(0);
}

TreePtr Differentiator::special(const ExprNode& n)
{
    switch (n.code) {
    case code::Ifpos: case code::Join: case code::Fallback: case code::Periodic: {
        TreePtr r = makeNode(n.code, n.code == code::Periodic ? C(n.left) : D(n.left), D(n.right));
        r->middle = C(n.middle);
        r->aux = n.aux;
        return r;
    }
    case code::Abs2: // (x Dx + y Dy) / abs(x, y)
        return op(code::Div,
                  op(code::Add, op(code::Mul, C(n.left), D(n.left)), op(code::Mul, C(n.right), D(n.right))),
                  CopyTree(&n));
    case code::Arg2: // (x Dy - y Dx) / (x^2 + y^2)
        return op(code::Div,
                  op(code::Sub, op(code::Mul, C(n.left), D(n.right)), op(code::Mul, C(n.right), D(n.left))),
                  op(code::Add, sq(C(n.left)), sq(C(n.right))));
    case code::Max: case code::Min: {
        TreePtr r = makeNode(n.code == code::Max ? code::DMax : code::DMin, D(n.left), D(n.right));
        r->middle = op(code::Sub, C(n.left), C(n.right));
        return r;
    }
    case code::Iter: {
        TreePtr r = makeNode(code::DIter, D(n.right), C(n.right));
        r->middle = num(Real(n.aux));
        r->aux = n.aux;
        return r;
    }
    case code::Sum: case code::Prod: {
        const ExprNode& summand = *n.left;
        if (summand.right->code == v_) return num(0);
        TreePtr term = n.code == code::Sum ? D(summand.left)
                                           : op(code::Div, D(summand.left), C(summand.left));
        TreePtr s = op(code::Sum, op(code::Summand, std::move(term), C(summand.right)), C(n.right));
        return n.code == code::Sum ? std::move(s) : op(code::Mul, CopyTree(&n), std::move(s));
    }
    case code::DMax: case code::DMin: case code::DIter:
        failed = true;
        return num(0);
    default:
        return chain(n);
    }
}

} // namespace

TreePtr DifferentiateTree(ExprContext& cx, const ExprNode& tree, int variable, int* error)
{
    Differentiator diff(cx.complexMode(), variable);
    TreePtr result = diff.d(tree);
    if (error)
        *error = diff.tooLarge ? ErrTooLarge : diff.failed ? ErrCannotUnderstand : ErrOk;
    if (diff.failed) return nullptr;
    if (cx.simplify) SimplifyTree(cx, result);
    return result;
}

} // namespace qx
