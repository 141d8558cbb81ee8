#include "tools/maps/mapping.h"

#include "expr/differentiate.h"

#include <array>

namespace qx {

namespace {

constexpr std::array<const char*, kRootMethods> kKeywords{"Newton(", "Halley(", "Schroder(", "House("};

TreePtr C(const TreePtr& n) { return CopyTree(n.get()); }
TreePtr num(Real v) { return makeConst(v); }
TreePtr op(int c, TreePtr a, TreePtr b) { return makeNode(c, std::move(a), std::move(b)); }
TreePtr mul(TreePtr a, TreePtr b) { return op(code::Mul, std::move(a), std::move(b)); }
TreePtr z() { return makeVariable(kSlotZ); }

// k * (a * (b * d)), each a fresh copy.
TreePtr product(Real k, const TreePtr& a, const TreePtr& b, const TreePtr& d)
{
    return mul(num(k), mul(C(a), mul(C(b), C(d))));
}

// P(k): "z", "zz", "zzz" or "pow(k,z)".
std::string power(int k)
{
    switch (k) {
    case 1: return "z";
    case 2: return "zz";
    case 3: return "zzz";
    default: return "pow(" + std::to_string(k) + ",z)";
    }
}

} // namespace

const char* rootKeyword(RootMethod m)
{
    return kKeywords[static_cast<size_t>(m)];
}

std::string withoutBlanks(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t')
            out += c;
    return out;
}

int findRootKeyword(const std::string& text, int& method, std::string& argument)
{
    method = -1;
    for (int m = 0; m < kRootMethods; ++m) {
        const size_t at = text.find(kKeywords[static_cast<size_t>(m)]);
        if (at == std::string::npos)
            continue;
        const size_t from = at + std::string(kKeywords[static_cast<size_t>(m)]).size();
        const size_t eq = text.find('=', from);
        if (eq == std::string::npos)
            return 6;
        method = m;
        argument = text.substr(from, eq - from);
        return 0;
    }
    return 0;
}

TreePtr buildRootFinder(ExprContext& cx, const ExprNode& pTree, RootMethod method, int& error)
{
    error = 0;
    const TreePtr p = CopyTree(&pTree);
    const int zCode = code::VarFirst + kSlotZ;
    TreePtr d1 = DifferentiateTree(cx, *p, zCode, &error);
    if (!d1)
        return nullptr;
    if (method == RootMethod::Newton)
        return op(code::Sub, z(), op(code::Div, C(p), std::move(d1)));
    TreePtr d2 = DifferentiateTree(cx, *d1, zCode, &error);
    if (!d2)
        return nullptr;
    if (method == RootMethod::Halley || method == RootMethod::Schroder) {
        const Real c = method == RootMethod::Halley ? 0.5L : 1.0L;
        TreePtr num1 = mul(C(p), C(d1));
        TreePtr den = op(code::Sub, mul(C(d1), C(d1)), mul(num(c), mul(C(p), C(d2))));
        return op(code::Sub, z(), op(code::Div, std::move(num1), std::move(den)));
    }
    TreePtr d3 = DifferentiateTree(cx, *d2, zCode, &error);
    if (!d3)
        return nullptr;
    // z - (6pp'^2 - 3p^2p'') / (6p'^3 + (p^2p''' - 6pp'p''))
    TreePtr top = op(code::Sub, product(6, p, d1, d1), product(3, p, p, d2));
    TreePtr bottom = op(code::Add, product(6, d1, d1, d1), op(code::Sub, product(1, p, p, d3), product(6, p, d1, d2)));
    return op(code::Sub, z(), op(code::Div, std::move(top), std::move(bottom)));
}

int compileMapping(ExprContext& cx, const std::string& text, bool dynamicPlane, CompiledMapping& out)
{
    const std::string t = withoutBlanks(text);
    int method = -1;
    std::string argument;
    if (const int e = findRootKeyword(t, method, argument))
        return e;
    CompiledMapping result;
    if (method < 0) {
        if (const int e = CompileExpression(cx, t, result.map))
            return e;
    } else {
        if (!dynamicPlane)
            return 6;
        TreePtr p;
        if (const int e = CompileExpression(cx, argument, p))
            return e;
        int error = 0;
        result.map = buildRootFinder(cx, *p, static_cast<RootMethod>(method), error);
        if (!result.map)
            return error ? error : 1;
        result.method = method;
        result.argument = argument;
    }
    out = std::move(result);
    return 0;
}

int buildNewtonSystem(ExprContext& cx, const ExprNode& p, const ExprNode& q, TreePtr& f, TreePtr& g)
{
    int error = 0;
    const int xCode = code::VarFirst + kSlotX, yCode = code::VarFirst + kSlotY;
    TreePtr px = DifferentiateTree(cx, p, xCode, &error);
    TreePtr py = px ? DifferentiateTree(cx, p, yCode, &error) : nullptr;
    TreePtr qx = py ? DifferentiateTree(cx, q, xCode, &error) : nullptr;
    TreePtr qy = qx ? DifferentiateTree(cx, q, yCode, &error) : nullptr;
    if (!qy)
        return error ? error : 1;
    const TreePtr P = CopyTree(&p), Q = CopyTree(&q);
    const auto det = [](const TreePtr& a, const TreePtr& b, const TreePtr& c, const TreePtr& d) {
        return op(code::Sub, mul(C(a), C(d)), mul(C(b), C(c)));
    };
    f = op(code::Sub, makeVariable(kSlotX), op(code::Div, det(P, py, Q, qy), det(px, py, qx, qy)));
    g = op(code::Sub, makeVariable(kSlotY), op(code::Div, det(px, P, qx, Q), det(px, py, qx, qy)));
    return 0;
}

int compileRealMapping(ExprContext& cx, const std::string& fText, const std::string& gText, bool dynamicPlane,
                       CompiledRealMapping& out)
{
    const std::string f = withoutBlanks(fText), g = withoutBlanks(gText);
    const std::string key = "Newton(";
    const bool fn = f.find(key) != std::string::npos, gn = g.find(key) != std::string::npos;
    CompiledRealMapping result;
    if (!fn && !gn) {
        if (const int e = CompileExpression(cx, f, result.f))
            return e;
        if (const int e = CompileExpression(cx, g, result.g))
            return e;
        out = std::move(result);
        return 0;
    }
    if (fn != gn || !dynamicPlane)
        return 6;
    const auto argument = [&key](const std::string& t, std::string& arg) {
        const size_t from = t.find(key) + key.size();
        const size_t eq = t.find('=', from);
        if (eq == std::string::npos)
            return false;
        arg = t.substr(from, eq - from);
        return true;
    };
    if (!argument(f, result.p) || !argument(g, result.q))
        return 6;
    TreePtr p, q;
    if (const int e = CompileExpression(cx, result.p, p))
        return e;
    if (const int e = CompileExpression(cx, result.q, q))
        return e;
    if (const int e = buildNewtonSystem(cx, *p, *q, result.f, result.g))
        return e;
    result.newton = true;
    out = std::move(result);
    return 0;
}

std::string nthRootsMapText(int n, const std::string& w, RootMethod method)
{
    const auto d = [](long v) { return std::to_string(v); };
    const std::string W = "(" + w + ")";
    switch (method) {
    case RootMethod::Newton:
        return d(n - 1) + "z/" + d(n) + "+" + W + "/(" + d(n) + power(n - 1) + ")";
    case RootMethod::Halley:
        return d(n - 1) + "z/" + d(n + 1) + "+" + d(4 * n) + W + "z/(" + d((n + 1) * (n + 1)) + power(n) + "+" +
               d(n * n - 1) + W + ")";
    case RootMethod::Schroder:
        return d(n) + W + "z/(" + power(n) + "+" + d(n - 1) + W + ")";
    case RootMethod::Householder: {
        const std::string q = "pow(" + d(n) + ",z)", q2 = "pow(" + d(2 * n) + ",z)";
        return "(" + d(n - 1) + "/" + d(n + 2) + ")z+(6z" + W + "/" + d(n + 2) + ")*((" + d(2 * n * n + n) + q + "+" +
               d(n * n - n) + W + ")/(" + d((n + 1) * (n + 2)) + q2 + "+" + d(4 * (n * n - 1)) + W + q + "+" +
               d((n - 2) * (n - 1)) + W + W + "))";
    }
    }
    return {};
}

} // namespace qx
