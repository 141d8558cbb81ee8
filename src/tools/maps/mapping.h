#pragma once
// The mapping texts of the map tools: an ordinary map, or one of the four
// root-finding transforms of a function p written Newton(p=0), Halley(p=0),
// Schroder(p=0) or House(p=0), whose iteration map is built symbolically
// from p and its derivatives; and the texts of the n-th roots generator.
#include "expr/compiler.h"

#include <string>

namespace qx {

enum class RootMethod : int { Newton = 0, Halley = 1, Schroder = 2, Householder = 3 };
inline constexpr int kRootMethods = 4;

// "Newton(", "Halley(", "Schroder(", "House(".
const char* rootKeyword(RootMethod m);

// The text with every blank removed.
std::string withoutBlanks(const std::string& text);

// Which transform a mapping text asks for (the first keyword in precedence
// order Newton, Halley, Schroder, House) and its argument p, the text
// between the keyword and the first '='. Returns 0 with method -1 for a text
// without a keyword, 0 with the method and p, or 6 when the keyword has no
// '=' after it.
int findRootKeyword(const std::string& text, int& method, std::string& argument);

// The iteration map of a transform of p (compiled in complex mode), from
// p and its derivatives with respect to Z. Null when a derivative cannot be
// taken (`error` gets the differentiator's code).
TreePtr buildRootFinder(ExprContext& cx, const ExprNode& p, RootMethod method, int& error);

// A mapping text of the complex tools compiled to the map to iterate.
struct CompiledMapping {
    TreePtr map;
    int method = -1;       // the transform used, or -1
    std::string argument;  // its p
};
// Blanks removed, then the transform or the plain map. A keyword outside a
// dynamic plane, or without '=', is 6; compiler and differentiator codes
// pass through (shown as message 400 + code). `out` is unchanged on failure.
int compileMapping(ExprContext& cx, const std::string& text, bool dynamicPlane, CompiledMapping& out);

// The two mapping texts of the real tools compiled to F and G: both plain,
// or both "Newton(p=0)" / "Newton(q=0)" for Newton's method on the system
// p = 0, q = 0 (a symbolic Jacobian in X and Y). Only one Newton text, a
// Newton text without '=' or Newton outside a dynamic plane is 6; compiler
// and differentiator codes pass through. `out` is unchanged on failure.
struct CompiledRealMapping {
    TreePtr f, g;
    bool newton = false;
    std::string p, q; // the Newton arguments
};
int compileRealMapping(ExprContext& cx, const std::string& fText, const std::string& gText, bool dynamicPlane,
                       CompiledRealMapping& out);
// Newton's method for p = 0, q = 0: X - det(p, py, q, qy) / J and
// Y - det(px, p, qx, q) / J with J = det(px, py, qx, qy), det(a,b,c,d) = ad - bc.
int buildNewtonSystem(ExprContext& cx, const ExprNode& p, const ExprNode& q, TreePtr& f, TreePtr& g);

// The mapping text the n-th roots generator writes for w (2 <= n <= 7).
std::string nthRootsMapText(int n, const std::string& w, RootMethod method);

} // namespace qx
