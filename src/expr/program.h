#pragma once
// The fast form of compiled trees: a flat array of instructions over one
// array of values (the variable table, the registers, the constants and one
// slot per computed node). It gives exactly the results, failures, states and
// discontinuity flags of EvaluateTree on the same trees, allocates nothing
// while it evaluates, and is a plain value: copying it gives a worker thread
// its own variable table, states and flags.
//
//   Program p = Program::compile(cx.env, {tree});   // once per edit
//   Program mine = p;                                // once per worker
//   mine.setVariable(kSlotZ, z); if (mine.evaluate()) use(mine.result());
//
// Inner loops bind the one or two variables they change at every step and
// pass their values in registers, which avoids a round trip through memory:
//
//   p.bindSlots(kSlotZ);  ...  if (p.evaluateBound(0, z, z)) ...
#include "expr/arith.h"
#include "expr/env.h"
#include "expr/functions.h"
#include "expr/node.h"

#include <cmath>
#include <initializer_list>
#include <type_traits>
#include <vector>

namespace qx {

class Program {
public:
    Program() = default;

    // Compiles the trees into one program with one entry each, sharing one
    // variable table that starts as a copy of env's. The trees are not changed;
    // their states (aux, branch) become the program's initial states.
    static Program compile(const EvalEnv& env, const std::vector<const ExprNode*>& trees);
    static Program compile(const EvalEnv& env, std::initializer_list<const ExprNode*> trees)
    {
        return compile(env, std::vector<const ExprNode*>(trees));
    }

    // Evaluates entry `e` (the e-th tree). False on failure, as EvaluateTree.
    bool evaluate(size_t e = 0)
    {
        return complex_ ? run<true>(entries_[e]) : run<false>(entries_[e]);
    }
    // The value of entry `e` after a successful evaluation (imaginary part 0 in real mode).
    Complex result(size_t e = 0) const
    {
        const Complex& v = vals_[entries_[e].root];
        return complex_ ? v : Complex{v.re, 0};
    }

    // Chooses the slots whose values evaluateBound takes as arguments (-1: none).
    void bindSlots(int slot0, int slot1 = -1);
    // Sets the bound slots to a0 (and a1), evaluates entry e and returns its
    // value in `out`: the same result, states and flags as evaluate().
    __attribute__((always_inline)) bool evaluateBound(size_t e, const Complex& a0, const Complex& a1,
                                                      Complex& out)
    {
        if (bound_[0] >= 0) { vals_[bound_[0]].re = a0.re; vals_[bound_[0]].im = a0.im; }
        if (bound_[1] >= 0) { vals_[bound_[1]].re = a1.re; vals_[bound_[1]].im = a1.im; }
        const FastEntry& f = fastEntries_[e];
        if (!f.usable) {
            if (!evaluate(e)) return false;
            out = result(e);
            return true;
        }
        return complex_ ? fastRun<true>(f, a0, a1, out) : fastRun<false>(f, a0, a1, out);
    }
    bool evaluateBound(size_t e, const Complex& a0, Complex& out) { return evaluateBound(e, a0, a0, out); }

    bool complexMode() const { return complex_; }
    size_t entryCount() const { return entries_.size(); }
    size_t instructionCount() const { return code_.size(); }

    // The variable table (27 slots, '@' and A..Z) and the five value registers.
    Complex* variables() { return vals_.data(); }
    const Complex* variables() const { return vals_.data(); }
    void setVariable(int slot, Complex v) { vals_[slot] = v; }
    Complex* registers() { return vals_.data() + kVariableCount; }

    EvalFlags& flags() { return flags_; }
    // States of the step functions and branches, in the order of collectStates.
    std::vector<int32_t> states() const { return {states_.begin(), states_.begin() + stateCount_}; }

    enum class Op : uint8_t {
        Add, Sub, Mul, Div, MulAdd, MulSub, SubMul, Square, PowInt, Func1, Func2, LoadRe, LoadIm,
        Copy, Ifpos, Join, Fallback, Select, Iter, IterDerivative, SumProd, Periodic, Skip
    };
    struct Range {
        int32_t begin = 0, end = 0, root = 0;
    };
    struct Instr {
        Op op = Op::Add;
        int16_t fn = 0;        // node code for Func1, Func2, Select, SumProd
        int32_t dst = 0;
        int32_t a = -1, b = -1, c = -1; // operand slots
        int32_t n = 0;         // integer exponent, iteration count or variable slot
        int32_t state = 0;     // index into the states (a scratch entry when stateless)
        Range body, body2;     // repeated parts: ITER, SUM/PROD, periodic; 199 uses both
    };

    // The straight-line form of an entry without states, loops or choices:
    // each result stays in a register for the next instruction, operands come
    // from that register, from the bound arguments or from memory.
    enum class Mode : uint8_t { Acc, Arg0, Arg1, Mem };
    struct Fast {
        Op op = Op::Add;
        Mode ma = Mode::Mem, mb = Mode::Mem, mc = Mode::Mem;
        bool store = false; // a later instruction reads the result from memory
        int16_t fn = 0;
        int32_t a = 0, b = 0, c = 0, n = 0, dst = 0;
    };
    struct FastEntry {
        bool usable = false;
        int32_t begin = 0, end = 0, root = 0;
    };

private:
    friend class ProgramBuilder;

    void buildFastCode();
    template <bool Cx>
    __attribute__((always_inline)) bool fastRun(const FastEntry& f, const Complex& a0,
                                                 const Complex& a1, Complex& out);
    template <bool Cx> bool fastCall(const Fast& f, Complex a, Complex b, Complex& out);

    template <bool Cx> bool run(const Range& r);
    template <bool Cx> bool runRange(int32_t begin, int32_t end, int32_t root);
    template <bool Cx> bool runSlow(int32_t begin, int32_t failedAt, int32_t end, int32_t root);
    template <bool Cx> bool exec(const Instr& in, bool okA, bool okB, bool okC);
    template <bool Cx> bool execLoop(const Instr& in);
    template <bool Cx> bool execChoice(const Instr& in, bool okA, bool okB, bool okC);
    Complex readVar(int slot) const;

    bool complex_ = false;
    std::vector<Instr> code_;
    std::vector<Complex> vals_;
    std::vector<uint8_t> failed_; // per slot, used only after a failure
    std::vector<int32_t> states_; // stateCount_ real states, then one scratch entry
    int32_t stateCount_ = 0;
    std::vector<Range> entries_;
    EvalFlags flags_;
    int bound_[2] = {-1, -1};
    std::vector<Fast> fast_;
    std::vector<FastEntry> fastEntries_;
};

// The straight-line evaluation, inline so that it runs in the caller's loop.
// Operands are addressed through pointers (to the accumulator, the arguments
// or the value array) and values move part by part: copying whole structures
// of extended reals goes through vector registers and stalls the next load.
template <bool Cx>
__attribute__((always_inline)) inline bool Program::fastRun(const FastEntry& fe, const Complex& a0,
                                                            const Complex& a1, Complex& out)
{
    Complex* const v = vals_.data();
    Complex acc{};
    for (const Fast* f = fast_.data() + fe.begin, *end = fast_.data() + fe.end; f != end; ++f) {
        const Complex* const p[4] = {&acc, &a0, &a1, nullptr};
        const Complex& a = f->ma == Mode::Mem ? v[f->a] : *p[int(f->ma)];
        const Complex& b = f->mb == Mode::Mem ? v[f->b] : *p[int(f->mb)];
        bool ok = true;
        switch (f->op) {
        case Op::Add: { const Real r = a.re + b.re; if (Cx) acc.im = a.im + b.im; acc.re = r; break; }
        case Op::Sub: { const Real r = a.re - b.re; if (Cx) acc.im = a.im - b.im; acc.re = r; break; }
        case Op::Mul:
            if constexpr (Cx) ok = mulParts(a.re, a.im, b.re, b.im, acc.re, acc.im);
            else ok = mulReal(a.re, b.re, acc.re);
            break;
        case Op::MulAdd: case Op::MulSub: case Op::SubMul: {
            Real tr, ti = 0;
            if constexpr (Cx) ok = mulParts(a.re, a.im, b.re, b.im, tr, ti);
            else ok = mulReal(a.re, b.re, tr);
            const Complex& k = f->mc == Mode::Mem ? v[f->c] : *p[int(f->mc)];
            if (f->op == Op::MulAdd) { acc.re = tr + k.re; if (Cx) acc.im = ti + k.im; }
            else if (f->op == Op::MulSub) { acc.re = tr - k.re; if (Cx) acc.im = ti - k.im; }
            else { acc.re = k.re - tr; if (Cx) acc.im = k.im - ti; }
            break;
        }
        case Op::Square:
            if constexpr (Cx) ok = mulParts(a.re, a.im, a.re, a.im, acc.re, acc.im);
            else ok = mulReal(a.re, a.re, acc.re);
            break;
        case Op::LoadRe: acc.re = a.re; acc.im = 0; break;
        case Op::LoadIm: acc.re = a.im; acc.im = 0; break;
        case Op::Copy: { const Real r = a.re, i = a.im; acc.re = r; acc.im = i; break; }
        default:
            ok = fastCall<Cx>(*f, a, b, acc);
            break;
        }
        // Everything here is free of side effects: a failure needs no replay.
        if (!ok) return false;
        if (f->store) {
            v[f->dst].re = acc.re;
            if (Cx) v[f->dst].im = acc.im;
        }
    }
    if (!std::isfinite(acc.re) || (Cx && !std::isfinite(acc.im))) return false;
    v[fe.root].re = out.re = acc.re;
    if (Cx) v[fe.root].im = acc.im;
    out.im = Cx ? acc.im : 0;
    return true;
}

} // namespace qx
