#pragma once
// Expression trees: one node per operator, function or operand. A node owns
// its children; the root is owned by whoever asked for the compilation.
#include "base/numeric.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qx {

// Node kinds. Letters '@'..'Z' (64..90) are variables, slot code - 64.
namespace code {
inline constexpr int Fallback = 10;      // left if it evaluates, else right
inline constexpr int RegisterFirst = 27; // five value registers 27..31
inline constexpr int RegisterLast = 31;
inline constexpr int Fact = 132;
inline constexpr int Bang = 33;          // postfix '!', only during compilation
inline constexpr int Const = 35;         // '#'
inline constexpr int Mul = 42, Add = 43, Sub = 45, Div = 47, Power = 94, Bar = 124;
inline constexpr int VarFirst = 64, VarLast = 90;
inline constexpr int Atan = 128, Tan = 129, Cos = 130, Exp = 131, Int = 133, Sinh = 134,
                     Cosh = 135, Tanh = 136, Acos = 137, Ln = 138, Abs = 139, Asin = 140,
                     Sin = 142, Sec = 143, Csc = 144, Cot = 145, Neg = 146, Arg = 147, Sgn = 148,
                     Frac = 149, Log = 150, Iter = 151, Root = 152, Max = 153, Min = 154,
                     Sech = 155, Coth = 156, Csch = 157, Pow = 158, Binom = 159, Sum = 161,
                     Prod = 162, Rand = 163, Erf = 164, Hvs = 165, Ifpos = 166, Gamma = 169,
                     Cis = 170, Re = 171, Im = 172, Conj = 173, Gauss = 174, Ninf = 175,
                     Pinf = 176, Chi = 177, Join = 180, Abs2 = 190, Arg2 = 191, DMax = 193,
                     DMin = 194, Floor = 195, Ceil = 196, DIter = 199, Periodic = 200,
                     Mod = 208, Gcd = 209, Asinh = 210, Acosh = 211, Atanh = 212, Acoth = 213,
                     Acot = 214, Lg = 215, Summand = 220, Range = 221, Some = 223, PiName = 227,
                     PhiName = 232, Sqrt = 251, Square = 253, DegName = 255;
} // namespace code

struct ExprNode;
using TreePtr = std::unique_ptr<ExprNode>;

struct ExprNode {
    int16_t code = code::Const;
    Complex value;      // constant of a number node; result slot of every other node
    int32_t aux = 0;    // ITER count, JOIN variable index, or a step function's state
    int16_t branch = 0; // branch IFPOS or JOIN took at the last evaluation
    TreePtr left, middle, right;
};

inline bool isVariable(int c) { return c >= code::VarFirst && c <= code::VarLast; }
inline bool isRegister(int c) { return c >= code::RegisterFirst && c <= code::RegisterLast; }

TreePtr makeNode(int c, TreePtr left = nullptr, TreePtr right = nullptr);
TreePtr makeConst(Complex v);
TreePtr makeConst(Real v);
TreePtr makeVariable(int slot);

// Deep copy (null for null).
TreePtr CopyTree(const ExprNode* tree);
// Releases a tree, children first; leaves the pointer empty.
void FreeTree(TreePtr& tree);

// True for the node kinds that keep an integer state (in aux) or a branch
// between evaluations.
bool keepsState(int c);
// The states of all such nodes in preorder (left, middle, right): aux for step
// functions, branch for IFPOS and JOIN. Used to compare evaluators.
std::vector<int32_t> collectStates(const ExprNode& tree);
// Number of nodes in the tree.
size_t countNodes(const ExprNode* tree);

} // namespace qx
