#include "expr/tree_text.h"

#include "expr/names.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace qx {

namespace {

// Precedence of a written piece: 2 sums, 3 products, 4 powers, 5 atoms.
struct Piece {
    std::string text;
    int prec;
};

std::string number(Real v)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.15Lg", v);
    if (!std::strchr(buf, 'e')) return buf;
    // The language has no exponent notation: write the digits out.
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    if (exponent > 0) {
        std::snprintf(buf, sizeof buf, "%.0Lf", v);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%.*Lf", std::min(15 - exponent, 120), v);
    std::string s(buf);
    while (s.size() > 1 && s.back() == '0') s.pop_back();
    return s;
}

Piece constant(const Complex& w)
{
    if (w.im == 0) {
        std::string t = number(w.re);
        return {t, w.re < 0 ? 1 : 5};
    }
    const std::string im = (w.im < 0 ? "-" : "+") + number(std::fabs(w.im)) + "*i";
    return {"(" + (w.re == 0 ? std::string() : number(w.re)) + im + ")", 5};
}

std::string wrap(const Piece& p, bool needed) { return needed ? "(" + p.text + ")" : p.text; }

Piece write(const ExprNode& n);

std::string args(std::initializer_list<const ExprNode*> nodes)
{
    std::string s;
    for (const ExprNode* n : nodes) {
        if (!s.empty()) s += ",";
        s += n ? write(*n).text : "?";
    }
    return s;
}

Piece call(const std::string& name, std::initializer_list<const ExprNode*> nodes)
{
    return {name + "(" + args(nodes) + ")", 5};
}

Piece binary(const ExprNode& n, const char* symbol, int prec, bool rightAssociative = false)
{
    const Piece l = write(*n.left), r = write(*n.right);
    const bool commutes = n.code == code::Add || n.code == code::Mul;
    const bool wrapLeft = rightAssociative ? l.prec <= prec : l.prec < prec;
    const bool wrapRight = (rightAssociative || commutes) ? r.prec < prec : r.prec <= prec;
    return {wrap(l, wrapLeft) + symbol + wrap(r, wrapRight), prec};
}

Piece power(const ExprNode& base, const Piece& exponent)
{
    const Piece b = write(base);
    return {wrap(b, b.prec <= 4) + "^" + wrap(exponent, exponent.prec < 5), 4};
}

std::string joinChain(const ExprNode& n)
{
    std::string s = write(*n.left).text + "|" + write(*n.middle).text + ",";
    const ExprNode& rest = *n.right;
    if (rest.code == code::Join && rest.aux == n.aux && rest.middle) return s + joinChain(rest);
    return s + write(rest).text;
}

Piece special(const ExprNode& n)
{
    switch (n.code) {
    case code::Ifpos:
        return {"ifpos(" + write(*n.left).text + "|" + write(*n.middle).text + "," +
                    write(*n.right).text + ")", 5};
    case code::Join:
        return {"join" + std::string(1, static_cast<char>('a' + n.aux - 1)) + "(" + joinChain(n) + ")", 5};
    case code::Sum: case code::Prod:
        return call(n.code == code::Sum ? "sum" : "prod",
                    {n.left->left.get(), n.left->right.get(), n.right->left.get(), n.right->right.get()});
    case code::Iter:
        return {"iter(" + std::to_string(n.aux) + "," + write(*n.right).text + ")", 5};
    case code::Fallback: return call("fallback", {n.left.get(), n.right.get()});
    case code::DMax: return call("dmax", {n.middle.get(), n.left.get(), n.right.get()});
    case code::DMin: return call("dmin", {n.middle.get(), n.left.get(), n.right.get()});
    case code::DIter: return call("diter", {n.middle.get(), n.left.get(), n.right.get()});
    case code::Periodic: return call("periodic", {n.left.get(), n.middle.get(), n.right.get()});
    default: break;
    }
    const std::string name = functionName(n.code);
    if (n.left) return call(name.empty() ? "f" + std::to_string(n.code) : name, {n.left.get(), n.right.get()});
    return call(name.empty() ? "f" + std::to_string(n.code) : name, {n.right.get()});
}

Piece write(const ExprNode& n)
{
    if (n.code == code::Const) return constant(n.value);
    if (isVariable(n.code))
        return {std::string(1, static_cast<char>(n.code == '@' ? '@' : n.code - 'A' + 'a')), 5};
    if (isRegister(n.code)) return {"r" + std::to_string(n.code - code::RegisterFirst + 1), 5};
    switch (n.code) {
    case code::Add: return binary(n, "+", 2);
    case code::Sub: return binary(n, "-", 2);
    case code::Div: return binary(n, "/", 3);
    case code::Power: return binary(n, "^", 4, true);
    case code::Mul:
        if (n.left->code == code::Const && n.left->value == Complex{-1, 0}) {
            const Piece r = write(*n.right);
            return {"-" + wrap(r, r.prec < 3), 2};
        }
        return binary(n, "*", 3);
    case code::Square: return power(*n.right, {"2", 5});
    case code::Pow:
        if (n.left->code == code::Const) return power(*n.right, constant(n.left->value));
        return call("pow", {n.left.get(), n.right.get()});
    default: return special(n);
    }
}

} // namespace

std::string TreeToText(const ExprNode& tree) { return write(tree).text; }

} // namespace qx
