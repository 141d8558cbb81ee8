// Compiling trees into a Program. Nodes are emitted in the order the tree walk
// evaluates them; a product feeding a sum or difference becomes one fused
// instruction, constants and variables are read straight from their slots.
#include "expr/program.h"

#include "expr/arith.h"
#include "expr/names.h"

#include <unordered_set>

namespace qx {

class ProgramBuilder {
public:
    ProgramBuilder(Program& p, bool complexMode) : p_(p), cx_(complexMode) {}
    void findWriters(const ExprNode& n);
    Program::Range entry(const ExprNode& tree);

private:
    using Op = Program::Op;
    using Instr = Program::Instr;

    int32_t emit(const ExprNode& n, bool materialise = false);
    Program::Range emitRange(const ExprNode& n);
    int32_t emitNode(const ExprNode& n, int32_t state);
    int32_t emitArithmetic(const ExprNode& n, int32_t state);
    int32_t emitSpecial(const ExprNode& n, int32_t state);
    bool writes(const ExprNode* n) const { return n && writers_.count(n); }
    int32_t newSlot()
    {
        p_.vals_.push_back({});
        return static_cast<int32_t>(p_.vals_.size() - 1);
    }
    int32_t push(Instr in)
    {
        in.dst = newSlot();
        p_.code_.push_back(in);
        return in.dst;
    }
    int32_t here() const { return static_cast<int32_t>(p_.code_.size()); }

    Program& p_;
    const bool cx_;
    std::unordered_set<const ExprNode*> writers_; // subtrees holding SUM or PROD
    std::vector<int32_t> initialStates_;
    friend class Program; // reads the initial states when compiling
};

// SUM and PROD leave their index variable changed: a variable read directly by a
// node must then be copied before such a sibling runs.
void ProgramBuilder::findWriters(const ExprNode& n)
{
    for (const TreePtr* c : {&n.left, &n.middle, &n.right})
        if (*c) findWriters(**c);
    if (n.code == code::Sum || n.code == code::Prod || writes(n.left.get()) ||
        writes(n.middle.get()) || writes(n.right.get()))
        writers_.insert(&n);
}

Program::Range ProgramBuilder::entry(const ExprNode& tree) { return emitRange(tree); }

Program::Range ProgramBuilder::emitRange(const ExprNode& n)
{
    Program::Range r;
    r.begin = here();
    r.root = emit(n);
    r.end = here();
    return r;
}

int32_t ProgramBuilder::emit(const ExprNode& n, bool materialise)
{
    const int c = n.code;
    if (c == code::Const) {
        const int32_t s = newSlot();
        p_.vals_[s] = n.value;
        return s;
    }
    if (isRegister(c)) return kVariableCount + (c - code::RegisterFirst);
    if (isVariable(c)) {
        const int slot = c - code::VarFirst;
        Instr in;
        if (cx_ && (slot == kSlotX || slot == kSlotY)) in.op = slot == kSlotX ? Op::LoadRe : Op::LoadIm;
        else if (materialise) { in.op = Op::Copy; in.a = slot; }
        else return slot;
        in.state = -1;
        return push(in);
    }
    int32_t state = -1;
    if (keepsState(c)) {
        state = static_cast<int32_t>(initialStates_.size());
        initialStates_.push_back(c == code::Ifpos || c == code::Join ? n.branch : n.aux);
    }
    return emitNode(n, state);
}

int32_t ProgramBuilder::emitNode(const ExprNode& n, int32_t state)
{
    switch (n.code) {
    case code::Add: case code::Sub: case code::Mul: case code::Div: case code::Power: case code::Pow:
        return emitArithmetic(n, state);
    default:
        break;
    }
    if (n.left || n.middle || !n.right || n.code == code::Square) return emitSpecial(n, state);
    Instr in;
    in.state = state;
    in.a = emit(*n.right);
    if (n.code == code::Square) in.op = Op::Square;
    else { in.op = Op::Func1; in.fn = n.code; }
    return push(in);
}

int32_t ProgramBuilder::emitArithmetic(const ExprNode& n, int32_t state)
{
    Instr in;
    in.state = state;
    const ExprNode& l = *n.left;
    const ExprNode& r = *n.right;
    const bool sum = n.code == code::Add || n.code == code::Sub;
    if (sum && l.code == code::Mul && !writes(&r)) { // (a*b) +- c
        in.a = emit(*l.left, writes(l.right.get()) || writes(&r));
        in.b = emit(*l.right, writes(&r));
        in.c = emit(r);
        in.op = n.code == code::Add ? Op::MulAdd : Op::MulSub;
        return push(in);
    }
    if (sum && r.code == code::Mul) { // c +- (a*b)
        in.c = emit(l, writes(&r));
        in.a = emit(*r.left, writes(r.right.get()));
        in.b = emit(*r.right);
        in.op = n.code == code::Add ? Op::MulAdd : Op::SubMul;
        return push(in);
    }
    int32_t exponent;
    const ExprNode& k = n.code == code::Pow ? l : r;
    if ((n.code == code::Pow || n.code == code::Power) && k.code == code::Const &&
        integerTest(k.value, exponent)) {
        in.op = Op::PowInt;
        in.n = exponent;
        if (n.code == code::Power) in.a = emit(l);
        else { emit(l); in.a = emit(r); }
        return push(in);
    }
    in.a = emit(l, writes(&r));
    in.b = emit(r);
    switch (n.code) {
    case code::Add: in.op = Op::Add; break;
    case code::Sub: in.op = Op::Sub; break;
    case code::Mul: in.op = Op::Mul; break;
    case code::Div: in.op = Op::Div; break;
    default: in.op = Op::Func2; in.fn = n.code; break;
    }
    return push(in);
}

int32_t ProgramBuilder::emitSpecial(const ExprNode& n, int32_t state)
{
    Instr in;
    in.state = state;
    in.fn = n.code;
    auto skip = [this]() { Instr s; s.op = Op::Skip; s.state = -1; push(s); return here() - 1; };
    switch (n.code) {
    case code::Iter:
        in.op = Op::Iter;
        in.n = n.aux;
        in.body = emitRange(*n.right);
        in.a = in.body.root;
        return push(in);
    case code::DIter:
        in.op = Op::IterDerivative;
        in.n = n.aux;
        in.body = emitRange(*n.left);
        if (n.middle) emit(*n.middle);
        in.body2 = emitRange(*n.right);
        in.a = in.body.root;
        in.c = in.body2.root;
        return push(in);
    case code::Sum: case code::Prod: {
        in.op = Op::SumProd;
        in.n = n.left->right->code - code::VarFirst;
        const int32_t s = skip();
        in.body = emitRange(*n.left->left);
        p_.code_[s].body.end = here();
        in.a = emit(*n.right->left, writes(n.right->right.get()));
        in.b = emit(*n.right->right);
        return push(in);
    }
    case code::Periodic: {
        in.op = Op::Periodic;
        in.a = emit(*n.left, writes(n.middle.get()));
        in.b = emit(*n.middle);
        const int32_t s = skip();
        in.body = emitRange(*n.right);
        p_.code_[s].body.end = here();
        return push(in);
    }
    case code::Square:
        in.op = Op::Square;
        in.a = emit(*n.right);
        return push(in);
    default:
        break;
    }
    // Nodes over left, middle and right: choices and two-argument functions.
    const bool laterWrites = writes(n.middle.get()) || writes(n.right.get());
    if (n.left) in.a = emit(*n.left, laterWrites);
    if (n.middle) in.b = emit(*n.middle, writes(n.right.get()));
    const int32_t right = n.right ? emit(*n.right) : -1;
    switch (n.code) {
    case code::Ifpos: in.op = Op::Ifpos; in.c = right; break;
    case code::Join: in.op = Op::Join; in.c = right; in.n = n.aux; break;
    case code::Fallback: in.op = Op::Fallback; in.c = right; break;
    case code::DMax: case code::DMin: in.op = Op::Select; in.c = right; break;
    default: in.op = Op::Func2; in.b = right; break;
    }
    return push(in);
}

Program Program::compile(const EvalEnv& env, const std::vector<const ExprNode*>& trees)
{
    Program p;
    p.complex_ = env.complexMode;
    p.flags_ = env.flags;
    p.vals_.assign(env.vars.begin(), env.vars.end());
    p.vals_.insert(p.vals_.end(), env.registers.begin(), env.registers.end());
    ProgramBuilder b(p, env.complexMode);
    for (const ExprNode* t : trees) {
        b.findWriters(*t);
        p.entries_.push_back(b.entry(*t));
    }
    p.stateCount_ = static_cast<int32_t>(b.initialStates_.size());
    p.states_ = b.initialStates_;
    p.states_.push_back(0); // scratch state of stateless instructions
    for (Instr& in : p.code_)
        if (in.state < 0) in.state = p.stateCount_;
    p.failed_.assign(p.vals_.size(), 0);
    p.buildFastCode();
    return p;
}

void Program::bindSlots(int slot0, int slot1)
{
    bound_[0] = slot0;
    bound_[1] = slot0 >= 0 ? slot1 : -1;
    buildFastCode();
}

namespace {

bool straightLine(const Program::Instr& in)
{
    using Op = Program::Op;
    switch (in.op) {
    case Op::Add: case Op::Sub: case Op::Mul: case Op::Div: case Op::MulAdd: case Op::MulSub:
    case Op::SubMul: case Op::Square: case Op::PowInt: case Op::LoadRe: case Op::LoadIm: case Op::Copy:
        return true;
    default: // functions run through evaluate(): a call would spill the registers
        return false;
    }
}

} // namespace

// Translates each entry that is a straight line of operations without side
// effects into the register form of fastRun.
void Program::buildFastCode()
{
    fast_.clear();
    fastEntries_.assign(entries_.size(), FastEntry{});
    std::vector<int32_t> producer(vals_.size(), -1); // fast index that computes a slot
    for (size_t e = 0; e < entries_.size(); ++e) {
        const Range& r = entries_[e];
        FastEntry& fe = fastEntries_[e];
        bool usable = r.end > r.begin;
        for (int32_t pc = r.begin; pc < r.end && usable; ++pc) usable = straightLine(code_[pc]);
        if (!usable) continue;
        fe.usable = true;
        fe.begin = static_cast<int32_t>(fast_.size());
        fe.root = r.root;
        for (int32_t pc = r.begin; pc < r.end; ++pc) {
            const Instr& in = code_[pc];
            Fast f;
            f.op = in.op;
            f.fn = in.fn;
            f.n = in.n;
            f.dst = in.dst;
            const int32_t previous = pc > r.begin ? code_[pc - 1].dst : -1;
            const auto mode = [&](int32_t slot) {
                if (slot == previous) return Mode::Acc;
                if (slot == bound_[0]) return Mode::Arg0;
                if (slot == bound_[1]) return Mode::Arg1;
                if (producer[slot] >= 0) fast_[producer[slot]].store = true;
                return Mode::Mem;
            };
            const int32_t a = (in.op == Op::LoadRe || in.op == Op::LoadIm) ? kSlotZ : in.a;
            if (a >= 0) { f.a = a; f.ma = mode(a); }
            if (in.b >= 0) { f.b = in.b; f.mb = mode(in.b); }
            else { f.b = f.a; f.mb = f.ma; }
            if (in.c >= 0) { f.c = in.c; f.mc = mode(in.c); }
            producer[in.dst] = static_cast<int32_t>(fast_.size());
            fast_.push_back(f);
        }
        fe.end = static_cast<int32_t>(fast_.size());
        foldAddends(fe);
        foldFactors(fe);
    }
    buildNativeCode();
}

void Program::useNativeCode(bool on)
{
    nativeWanted_ = on;
    buildNativeCode();
}

// The slots that no instruction writes above the variables and registers: the constants.
std::vector<uint8_t> Program::constantSlots() const
{
    std::vector<uint8_t> constant(vals_.size(), 0);
    for (size_t s = kVariableCount + kRegisterCount; s < vals_.size(); ++s) constant[s] = 1;
    for (const Instr& in : code_)
        if (in.dst >= 0 && static_cast<size_t>(in.dst) < constant.size()) constant[static_cast<size_t>(in.dst)] = 0;
    return constant;
}

bool Program::prepareDiscOrbit(size_t e, int discCount)
{
    orbitCode_.reset();
    orbitFn_ = nullptr;
    if (!complex_ || !nativeWanted_ || e >= fastEntries_.size() || !fastEntries_[e].native ||
        fastEntries_[e].readsArg1 || bound_[0] != kSlotZ)
        return false;
    std::vector<uint8_t> bytes;
    const FastEntry& fe = fastEntries_[e];
    if (!assembleNativeOrbit(fast_.data() + fe.begin, fast_.data() + fe.end, vals_.data(), constantSlots(),
                             discCount, bytes))
        return false;
    orbitCode_ = NativeCode::load(bytes);
    if (orbitCode_) orbitFn_ = orbitCode_->at(0);
    return orbitFn_ != nullptr;
}

Program::DiscOrbit Program::orbitToDiscs(Complex start, const std::array<Real, 3>* discs, int32_t maxReps,
                                          const std::atomic<bool>* stop)
{
    static_assert(sizeof(std::atomic<bool>) == 1, "the loop reads the flag as a byte");
    frame_.discs = discs;
    frame_.stop = stop;
    frame_.maxReps = maxReps;
    frame_.boundR = start.re;
    frame_.boundI = start.im;
    Real re = start.re, im = start.im;
    const int code = callNative(orbitFn_, vals_.data(), &frame_, re, im);
    DiscOrbit o;
    o.bound = {frame_.boundR, frame_.boundI};
    if (code == -2) {
        o.interrupted = true;
        return o;
    }
    o.disc = code;
    o.count = frame_.count;
    o.w = {re, im};
    return o;
}

// Machine code for the complex straight-line entries, all in one block.
void Program::buildNativeCode()
{
    nativeCode_.reset();
    orbitCode_.reset();
    orbitFn_ = nullptr;
    for (FastEntry& fe : fastEntries_) fe.native = nullptr;
    if (!complex_ || !nativeWanted_) return;
    const std::vector<uint8_t> constant = constantSlots();
    std::vector<uint8_t> bytes;
    std::vector<std::pair<size_t, size_t>> starts; // entry, offset
    for (size_t e = 0; e < fastEntries_.size(); ++e) {
        FastEntry& fe = fastEntries_[e];
        if (!fe.usable) continue;
        const size_t at = bytes.size();
        if (assembleNativeEntry(fast_.data() + fe.begin, fast_.data() + fe.end, vals_.data(), constant, bytes))
            starts.push_back({e, at});
        for (int32_t i = fe.begin; i < fe.end; ++i) {
            const Fast& f = fast_[i];
            for (Mode m : {f.ma, f.mb, f.mc, f.mc2, f.ma2}) fe.readsArg1 = fe.readsArg1 || m == Mode::Arg1;
        }
    }
    nativeCode_ = NativeCode::load(bytes);
    if (nativeCode_)
        for (const auto& [e, at] : starts) fastEntries_[e].native = nativeCode_->at(at);
}

// A product of arguments and memory that only feeds the first factor of a
// later product is computed there: k*x*x becomes one instruction, and so
// does r*x*(1-x), whose r*x waits for 1-x. (Trees share no nodes, so each
// result feeds exactly one instruction; an instruction after the removed
// product that read the accumulator would be that user.)
void Program::foldFactors(FastEntry& fe)
{
    std::vector<uint8_t> gone(fe.end - fe.begin, 0);
    const auto foldable = [&](int32_t i) {
        const Fast& product = fast_[i];
        return !gone[i - fe.begin] && product.op == Op::Mul && !product.aProduct && product.ma != Mode::Acc &&
               product.mb != Mode::Acc;
    };
    for (int32_t j = fe.begin + 1; j < fe.end; ++j) {
        Fast& user = fast_[j];
        const bool multiplies = user.op == Op::Mul || user.op == Op::MulAdd || user.op == Op::MulSub ||
                                user.op == Op::SubMul;
        if (!multiplies || user.aProduct)
            continue;
        int32_t from = -1;
        if (user.ma == Mode::Acc && user.mb != Mode::Acc) {
            if (foldable(j - 1))
                from = j - 1;
        } else if (user.ma == Mode::Mem) {
            for (int32_t i = fe.begin; i < j; ++i)
                if (fast_[i].dst == user.a && foldable(i)) {
                    from = i;
                    break;
                }
        }
        if (from < 0)
            continue;
        const Fast& product = fast_[from];
        user.aProduct = true;
        user.a = product.a;
        user.ma = product.ma;
        user.a2 = product.b;
        user.ma2 = product.mb;
        gone[from - fe.begin] = 1;
    }
    int32_t out = fe.begin;
    for (int32_t i = fe.begin; i < fe.end; ++i)
        if (!gone[i - fe.begin]) fast_[out++] = fast_[i];
    fast_.resize(out);
    fe.end = out;
}

// A sum or difference of arguments and memory that only feeds the addend of a
// fused product is computed where it is used: the straight line has no side
// effects, and the result no longer goes through memory.
void Program::foldAddends(FastEntry& fe)
{
    std::vector<uint8_t> gone(fe.end - fe.begin, 0);
    for (int32_t j = fe.begin; j < fe.end; ++j) {
        Fast& user = fast_[j];
        const bool fused = user.op == Op::MulAdd || user.op == Op::MulSub || user.op == Op::SubMul;
        if (!fused || user.mc != Mode::Mem) continue;
        for (int32_t i = fe.begin; i < j; ++i) {
            const Fast& sum = fast_[i];
            if (gone[i - fe.begin] || sum.dst != user.c || (sum.op != Op::Add && sum.op != Op::Sub) ||
                sum.ma == Mode::Acc || sum.mb == Mode::Acc)
                continue;
            user.cOp = sum.op;
            user.c = sum.a;
            user.mc = sum.ma;
            user.c2 = sum.b;
            user.mc2 = sum.mb;
            gone[i - fe.begin] = 1;
            break;
        }
    }
    int32_t out = fe.begin;
    for (int32_t i = fe.begin; i < fe.end; ++i)
        if (!gone[i - fe.begin]) fast_[out++] = fast_[i];
    fast_.resize(out);
    fe.end = out;
}

} // namespace qx
