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
#include "expr/program_native.h"

#include <array>
#include <atomic>
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
    // Evaluates entry e with the bound slots at a0 (and a1) and returns its
    // value in `out`: the same success, value, states and flags as evaluate()
    // after setting the slots. For speed, an entry that runs in registers
    // leaves the variable table and result() as they were.
    __attribute__((always_inline)) bool evaluateBound(size_t e, Complex a0, Complex a1, Complex& out)
    {
        return complex_ ? evaluateBoundIn<true>(e, a0, a1, out) : evaluateBoundIn<false>(e, a0, a1, out);
    }
    // The same for a program known to be in complex (Cx) or real mode, which
    // keeps the caller's loop small.
    template <bool Cx>
    __attribute__((always_inline)) bool evaluateBoundIn(size_t e, Complex a0, Complex a1, Complex& out)
    {
        const FastEntry& f = fastEntries_[e];
        if (f.usable && complex_ == Cx) {
            if constexpr (Cx) {
                if (f.native) {
                    if (f.readsArg1) { frame_.a1r = a1.re; frame_.a1i = a1.im; }
                    Real re = a0.re, im = a0.im;
                    if (!callNative(f.native, vals_.data(), &frame_, re, im)) return false;
                    out.re = re;
                    out.im = im;
                    return true;
                }
            }
            bool replay = false;
            const bool ok = fastRun<Cx>(f, a0.re, a0.im, a1.re, a1.im, out.re, out.im, replay);
            if (!replay) return ok;
        }
        if (bound_[0] >= 0) vals_[bound_[0]] = a0;
        if (bound_[1] >= 0) vals_[bound_[1]] = a1;
        if (!evaluate(e)) return false;
        out = result(e);
        return true;
    }
    __attribute__((always_inline)) bool evaluateBound(size_t e, Complex a0, Complex& out)
    {
        return evaluateBound(e, a0, a0, out);
    }

    bool complexMode() const { return complex_; }
    // Whether straight-line entries of complex programs run as machine code
    // (on by default where supported; the results are the same either way).
    void useNativeCode(bool on);
    bool runsNativeCode(size_t e = 0) const { return e < fastEntries_.size() && fastEntries_[e].native; }

    // Iterating a complex map until the point comes within one of a few
    // discs, as root-finding basins do, entirely in machine code. prepare
    // builds the loop for entry e of a program bound to z (false where it
    // cannot); copies share it. orbitToDiscs then runs it from `start`:
    //   for (count = 0; count < maxReps; ++count) {
    //       the first disc (x, y, r2) with (w.re-x)^2 + (w.im-y)^2 < r2 ends it;
    //       every 4096 steps a set `stop` ends it (interrupted);
    //       bound = w; w = the map at w, or 0 where it fails (and a set `stop` ends it)
    //   }
    // with the same steps and results as that loop through evaluateBound.
    struct DiscOrbit {
        int disc = -1; // the disc reached, -1 for none
        int32_t count = 0;
        Complex w, bound;
        bool interrupted = false;
    };
    bool prepareDiscOrbit(size_t e, int discCount);
    bool hasDiscOrbit() const { return orbitFn_ != nullptr; }
    DiscOrbit orbitToDiscs(Complex start, const std::array<Real, 3>* discs, int32_t maxReps, const std::atomic<bool>* stop);
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

    // The straight-line form of an entry made only of arithmetic (no
    // functions, states, loops or choices): each result stays in a register
    // for the next instruction, operands come from that register, from the
    // bound arguments or from memory. It makes no calls, so that the compiler
    // keeps its values in floating-point registers; what it cannot do (a real
    // factor above B) it hands back to evaluate().
    enum class Mode : uint8_t { Acc, Arg0, Arg1, Mem };
    struct Fast {
        Op op = Op::Add;
        Mode ma = Mode::Mem, mb = Mode::Mem, mc = Mode::Mem;
        bool store = false; // a later instruction reads the result from memory
        int16_t fn = 0;
        int32_t a = 0, b = -1, c = -1, n = 0, dst = 0;
        // The addend of MulAdd, MulSub and SubMul may itself be a sum or
        // difference of two operands (Add or Sub; Copy when plain).
        Op cOp = Op::Copy;
        Mode mc2 = Mode::Mem;
        int32_t c2 = -1;
        // Operand a may be a checked product of two operands (k*x in k*x*x).
        bool aProduct = false;
        Mode ma2 = Mode::Mem;
        int32_t a2 = -1;
    };
    struct FastEntry {
        bool usable = false;
        int32_t begin = 0, end = 0, root = 0;
        NativeFn native = nullptr;             // its machine code, if any
        bool readsArg1 = false;
    };

private:
    friend class ProgramBuilder;

    void buildFastCode();
    void buildNativeCode();
    std::vector<uint8_t> constantSlots() const;
    void foldAddends(FastEntry& fe);
    void foldFactors(FastEntry& fe);
    template <bool Cx>
    __attribute__((always_inline)) bool fastRun(const FastEntry& f, Real a0r, Real a0i, Real a1r,
                                                 Real a1i, Real& outR, Real& outI, bool& replay);

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
    bool nativeWanted_ = true;
    std::shared_ptr<NativeCode> nativeCode_; // shared by copies: the code only reads its arguments
    std::shared_ptr<NativeCode> orbitCode_;
    NativeFn orbitFn_ = nullptr;
    NativeFrame frame_;                      // per copy
};

// Appends the machine code of one straight-line entry to `out`; false (and
// `out` unchanged) when an instruction has no translation. `values` are the
// program's values; slots marked in `constant` never change and may be built
// into the code.
bool assembleNativeEntry(const Program::Fast* begin, const Program::Fast* end, const Complex* values,
                         const std::vector<uint8_t>& constant, std::vector<uint8_t>& out);
// The same for the disc orbit loop around one entry.
bool assembleNativeOrbit(const Program::Fast* begin, const Program::Fast* end, const Complex* values,
                         const std::vector<uint8_t>& constant, int discs, std::vector<uint8_t>& out);

// The straight-line evaluation, inline so that it runs in the caller's loop
// with the accumulator and the arguments in floating-point registers. Values
// move as separate parts (whole structures of extended reals are copied
// through memory), and entries of up to four instructions are unrolled, since
// a loop makes the compiler keep the accumulator in memory.
#define QX_FETCH(mode, slot, r, i)                                                      \
    do {                                                                                \
        switch (mode) {                                                                 \
        case Mode::Acc: r = accR; i = accI; break;                                      \
        case Mode::Arg0: r = a0r; i = a0i; break;                                       \
        case Mode::Arg1: r = a1r; i = a1i; break;                                       \
        default: r = v[slot].re; i = Cx ? v[slot].im : 0; break;                        \
        }                                                                               \
    } while (0)

template <bool Cx>
__attribute__((always_inline)) inline bool Program::fastRun(const FastEntry& fe, Real a0r, Real a0i,
                                                            Real a1r, Real a1i, Real& outR, Real& outI,
                                                            bool& replay)
{
    Complex* const v = vals_.data();
    Real accR = 0, accI = 0;
    // Real products of a factor above B take the rare route of mulReal, a
    // call: leave such evaluations to evaluate() instead (it is pure here).
    const auto mulFast = [&replay](Real a, Real b, Real& r) __attribute__((always_inline)) {
        if (std::fabs(a) <= kBig && std::fabs(b) <= kBig) {
            r = a * b;
            return true;
        }
        replay = true;
        return false;
    };
    // u^n by successive squaring, as powIntReal.
    const auto powFast = [&](int32_t n, Real u, Real& r) __attribute__((always_inline)) {
        r = 1;
        if (n < 0 && !divReal(1, u, u)) return false;
        uint32_t e = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
        while (e) {
            if ((e & 1) && !mulFast(r, u, r)) return false;
            e >>= 1;
            if (e && !mulFast(u, u, u)) return false;
        }
        return true;
    };
    const auto step = [&](const Fast& f) __attribute__((always_inline)) -> bool {
#define QX_SEL(m, slot, part, acc, arg0, arg1)                                            \
    ((m) == Mode::Acc ? (acc) : (m) == Mode::Arg0 ? (arg0) : (m) == Mode::Arg1 ? (arg1) : v[slot].part)
        // Unary operations repeat their operand as b.
        Real ar = QX_SEL(f.ma, f.a, re, accR, a0r, a1r);
        const Real br = QX_SEL(f.mb, f.b, re, accR, a0r, a1r);
        Real ai = Cx ? QX_SEL(f.ma, f.a, im, accI, a0i, a1i) : 0;
        if (f.aProduct) {
            const Real pr = QX_SEL(f.ma2, f.a2, re, accR, a0r, a1r);
            const Real pi = Cx ? QX_SEL(f.ma2, f.a2, im, accI, a0i, a1i) : 0;
            bool ok;
            if constexpr (Cx) ok = mulParts(ar, ai, pr, pi, ar, ai);
            else ok = mulFast(ar, pr, ar);
            if (!ok) return false;
        }
        const Real bi = Cx ? QX_SEL(f.mb, f.b, im, accI, a0i, a1i) : 0;
        bool ok = true;
        switch (f.op) {
        case Op::Add: accR = ar + br; if (Cx) accI = ai + bi; break;
        case Op::Sub: accR = ar - br; if (Cx) accI = ai - bi; break;
        case Op::Mul:
            if constexpr (Cx) ok = mulParts(ar, ai, br, bi, accR, accI);
            else ok = mulFast(ar, br, accR);
            break;
        case Op::MulAdd: case Op::MulSub: case Op::SubMul: {
            Real tr = 0, ti = 0;
            if constexpr (Cx) ok = mulParts(ar, ai, br, bi, tr, ti);
            else ok = mulFast(ar, br, tr);
            Real kr = QX_SEL(f.mc, f.c, re, accR, a0r, a1r);
            Real ki = Cx ? QX_SEL(f.mc, f.c, im, accI, a0i, a1i) : 0;
            if (f.cOp != Op::Copy) {
                const Real qr = QX_SEL(f.mc2, f.c2, re, accR, a0r, a1r);
                const Real qi = Cx ? QX_SEL(f.mc2, f.c2, im, accI, a0i, a1i) : 0;
                if (f.cOp == Op::Add) { kr = kr + qr; ki = ki + qi; }
                else { kr = kr - qr; ki = ki - qi; }
            }
            if (f.op == Op::MulAdd) { accR = tr + kr; if (Cx) accI = ti + ki; }
            else if (f.op == Op::MulSub) { accR = tr - kr; if (Cx) accI = ti - ki; }
            else { accR = kr - tr; if (Cx) accI = ki - ti; }
            break;
        }
        case Op::Square:
            if constexpr (Cx) ok = mulParts(ar, ai, ar, ai, accR, accI);
            else ok = mulFast(ar, ar, accR);
            break;
        case Op::Div:
            if constexpr (Cx) ok = divParts(ar, ai, br, bi, accR, accI);
            else ok = divReal(ar, br, accR);
            break;
        case Op::PowInt:
            if constexpr (Cx) {
                Complex r;
                ok = powIntComplex(f.n, {ar, ai}, r);
                accR = r.re;
                accI = r.im;
            } else {
                ok = powFast(f.n, ar, accR);
            }
            break;
        case Op::LoadRe: accR = ar; accI = 0; break;
        case Op::LoadIm: accR = ai; accI = 0; break;
        default: accR = ar; accI = ai; break; // Copy
        }
        // Everything here is free of side effects: a failure needs no replay.
        if (ok && f.store) {
            v[f.dst].re = accR;
            if (Cx) v[f.dst].im = accI;
        }
        return ok;
    };
    // One instruction over arguments and memory: the commonest maps (zz+c).
    const auto single = [&](const Fast& f) __attribute__((always_inline)) -> bool {
        if (f.ma == Mode::Acc || f.mb == Mode::Acc || f.mc == Mode::Acc || f.mc2 == Mode::Acc ||
            f.ma2 == Mode::Acc)
            return step(f);
#define QX_PART(m, slot, part, arg0, arg1) ((m) == Mode::Arg0 ? (arg0) : (m) == Mode::Arg1 ? (arg1) : v[slot].part)
        Real ar = QX_PART(f.ma, f.a, re, a0r, a1r);
        const Real br = QX_PART(f.mb, f.b, re, a0r, a1r);
        Real ai = Cx ? QX_PART(f.ma, f.a, im, a0i, a1i) : 0;
        if (f.aProduct) {
            const Real pr = QX_PART(f.ma2, f.a2, re, a0r, a1r);
            const Real pi = Cx ? QX_PART(f.ma2, f.a2, im, a0i, a1i) : 0;
            bool ok;
            if constexpr (Cx) ok = mulParts(ar, ai, pr, pi, ar, ai);
            else ok = mulFast(ar, pr, ar);
            if (!ok) return false;
        }
        const Real bi = Cx ? QX_PART(f.mb, f.b, im, a0i, a1i) : 0;
        switch (f.op) {
        case Op::MulAdd: case Op::MulSub: case Op::SubMul: {
            Real tr = 0, ti = 0;
            bool ok;
            if constexpr (Cx) ok = mulParts(ar, ai, br, bi, tr, ti);
            else ok = mulFast(ar, br, tr);
            Real kr = f.mc == Mode::Mem ? v[f.c].re : f.mc == Mode::Arg0 ? a0r : a1r;
            Real ki = !Cx ? 0 : f.mc == Mode::Mem ? v[f.c].im : f.mc == Mode::Arg0 ? a0i : a1i;
            if (f.cOp != Op::Copy) {
                const Real qr = QX_PART(f.mc2, f.c2, re, a0r, a1r);
                const Real qi = Cx ? QX_PART(f.mc2, f.c2, im, a0i, a1i) : 0;
                if (f.cOp == Op::Add) { kr = kr + qr; ki = ki + qi; }
                else { kr = kr - qr; ki = ki - qi; }
            }
            if (f.op == Op::MulAdd) { accR = tr + kr; accI = ti + ki; }
            else if (f.op == Op::MulSub) { accR = tr - kr; accI = ti - ki; }
            else { accR = kr - tr; accI = ki - ti; }
            return ok;
        }
        case Op::Mul:
            if constexpr (Cx) return mulParts(ar, ai, br, bi, accR, accI);
            else return mulFast(ar, br, accR);
        default:
            return step(f);
        }
#undef QX_PART
    };
    const Fast* f = fast_.data() + fe.begin;
    switch (fe.end - fe.begin) {
    case 1: if (!single(f[0])) return false; break;
    default:
        for (const Fast* end = fast_.data() + fe.end; f != end; ++f)
            if (!step(*f)) return false;
        break;
    }
    if (!std::isfinite(accR) || (Cx && !std::isfinite(accI))) return false;
    outR = accR;
    outI = Cx ? accI : 0;
    return true;
}

#undef QX_FETCH
#undef QX_SEL

} // namespace qx
