// Building the tree from the checked token sequence: innermost bracket groups
// first, each reduced through eight precedence levels.
#include "base/messages.h"
#include "expr/compile_steps.h"
#include "expr/names.h"

namespace qx::compile {

namespace {

struct Item {
    TreePtr node;
    int code = 0;
    bool operand = false;
    int prev = -1, next = -1;
};

// The token list as a doubly linked list with a head (0) and a tail (last).
class Builder {
public:
    explicit Builder(Tokens& tokens);
    int run(TreePtr& tree);

private:
    int reduceGroup(int head, int tail);
    bool inLevel(int level, int c) const;
    int combine(int at);
    void unlink(int i)
    {
        items_[items_[i].prev].next = items_[i].next;
        items_[items_[i].next].prev = items_[i].prev;
    }
    std::vector<Item> items_;
};

Builder::Builder(Tokens& tokens) : items_(tokens.size() + 2)
{
    const int n = static_cast<int>(items_.size());
    for (int i = 0; i < n; ++i) {
        items_[i].prev = i - 1;
        items_[i].next = i + 1 < n ? i + 1 : -1;
    }
    for (size_t k = 0; k < tokens.size(); ++k) {
        Item& it = items_[k + 1];
        it.code = tokens[k].code;
        if (it.code == '(' || it.code == ')') continue;
        it.node = makeNode(it.code);
        it.node->value = tokens[k].value;
        if (it.code == code::Join) it.node->aux = static_cast<int32_t>(tokens[k].value.re);
        it.operand = it.code == code::Const || isLetter(it.code);
    }
}

bool Builder::inLevel(int level, int c) const
{
    switch (level) {
    case 1: return isUnaryFunction(c) && c != code::Neg;
    case 2: return c == code::Neg || c == code::Power;
    case 3: return c == code::Mul || c == code::Div;
    case 4: return c == code::Add || c == code::Sub;
    case 5: return c == code::Bar;
    case 6: return c == code::Ifpos || c == code::Join;
    case 7: return c == code::Sum || c == code::Prod || c == code::Summand || c == code::Range;
    default: return isTwoArgument(c) || isMultiArgument(c);
    }
}

// Joins the operator at `at` with its right (and, if binary, left) operand.
int Builder::combine(int at)
{
    Item& op = items_[at];
    const int r = op.next;
    if (!items_[r].operand) return ErrInconsistentData;
    op.node->right = std::move(items_[r].node);
    unlink(r);
    if (isBinaryOperator(op.code)) {
        const int l = op.prev;
        if (!items_[l].operand) return ErrInconsistentData;
        op.node->left = std::move(items_[l].node);
        unlink(l);
    }
    op.operand = true;
    return ErrOk;
}

// Reduces everything strictly between `head` and `tail` to one operand.
int Builder::reduceGroup(int head, int tail)
{
    static constexpr bool kRightToLeft[9] = {false, false, true, false, false, false, true, false, false};
    for (int level = 1; level <= 8; ++level) {
        if (kRightToLeft[level]) {
            for (int i = items_[tail].prev; i != head; i = items_[i].prev)
                if (!items_[i].operand && inLevel(level, items_[i].code))
                    if (const int e = combine(i)) return e;
        } else {
            for (int i = items_[head].next; i != tail; i = items_[i].next)
                if (!items_[i].operand && inLevel(level, items_[i].code))
                    if (const int e = combine(i)) return e;
        }
    }
    const int only = items_[head].next;
    if (only == tail || items_[only].next != tail || !items_[only].operand) return ErrInconsistentData;
    return ErrOk;
}

int Builder::run(TreePtr& tree)
{
    const int tail = static_cast<int>(items_.size()) - 1;
    std::vector<int> open;
    for (int i = items_[0].next; i != tail;) {
        const int next = items_[i].next;
        if (items_[i].code == '(' && !items_[i].node) open.push_back(i);
        if (items_[i].code == ')' && !items_[i].node) {
            if (open.empty()) return ErrUnbalancedBrackets;
            const int o = open.back();
            open.pop_back();
            if (const int e = reduceGroup(o, i)) return e;
            unlink(o);
            unlink(i);
        }
        i = next;
    }
    if (!open.empty()) return ErrUnbalancedBrackets;
    if (const int e = reduceGroup(0, tail)) return e;
    tree = std::move(items_[items_[0].next].node);
    return ErrOk;
}

} // namespace

int buildTree(Tokens& tokens, TreePtr& tree)
{
    Builder b(tokens);
    return b.run(tree);
}

} // namespace qx::compile
