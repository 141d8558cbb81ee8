#include "expr/node.h"

namespace qx {

TreePtr makeNode(int c, TreePtr left, TreePtr right)
{
    auto n = std::make_unique<ExprNode>();
    n->code = static_cast<int16_t>(c);
    n->left = std::move(left);
    n->right = std::move(right);
    return n;
}

TreePtr makeConst(Complex v)
{
    auto n = makeNode(code::Const);
    n->value = v;
    return n;
}

TreePtr makeConst(Real v) { return makeConst(Complex{v, 0}); }

TreePtr makeVariable(int slot) { return makeNode(code::VarFirst + slot); }

TreePtr CopyTree(const ExprNode* tree)
{
    if (!tree) return nullptr;
    auto n = std::make_unique<ExprNode>();
    n->code = tree->code;
    n->value = tree->value;
    n->aux = tree->aux;
    n->branch = tree->branch;
    n->left = CopyTree(tree->left.get());
    n->middle = CopyTree(tree->middle.get());
    n->right = CopyTree(tree->right.get());
    return n;
}

void FreeTree(TreePtr& tree)
{
    if (!tree) return;
    FreeTree(tree->left);
    FreeTree(tree->middle);
    FreeTree(tree->right);
    tree.reset();
}

bool keepsState(int c)
{
    switch (c) {
    case code::Int: case code::Frac: case code::Floor: case code::Ceil: case code::Sgn:
    case code::Hvs: case code::Mod: case code::Gcd: case code::Fact: case code::Gamma:
    case code::DMax: case code::DMin: case code::Periodic: case code::Coth: case code::Csch:
    case code::Ifpos: case code::Join:
        return true;
    default:
        return false;
    }
}

static void collect(const ExprNode* n, std::vector<int32_t>& out)
{
    if (!n) return;
    if (keepsState(n->code))
        out.push_back(n->code == code::Ifpos || n->code == code::Join ? n->branch : n->aux);
    collect(n->left.get(), out);
    collect(n->middle.get(), out);
    collect(n->right.get(), out);
}

std::vector<int32_t> collectStates(const ExprNode& tree)
{
    std::vector<int32_t> out;
    collect(&tree, out);
    return out;
}

size_t countNodes(const ExprNode* tree)
{
    if (!tree) return 0;
    return 1 + countNodes(tree->left.get()) + countNodes(tree->middle.get()) +
           countNodes(tree->right.get());
}

} // namespace qx
