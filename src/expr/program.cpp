// Running a Program. The fast path runs the instructions in order until one
// fails; from there on the slow path keeps a failed mark per slot and applies
// the tree rules for failed children, so that states and flags come out as in
// the tree walk.
#include "expr/program.h"

#include "expr/functions.h"

#include <cmath>

namespace qx {

Complex Program::readVar(int slot) const
{
    if (complex_) {
        if (slot == kSlotX) return {vals_[kSlotZ].re, 0};
        if (slot == kSlotY) return {vals_[kSlotZ].im, 0};
    }
    return vals_[slot];
}

template <bool Cx>
bool Program::run(const Range& r)
{
    if (!runRange<Cx>(r.begin, r.end, r.root)) return false;
    const Complex& v = vals_[r.root];
    return std::isfinite(v.re) && (!Cx || std::isfinite(v.im));
}

// The evaluator's dispatch: one switch per instruction, the arithmetic of the
// hot operations inline. Kept in one piece so that the compiler keeps the
// value array and the instruction pointer in registers.
template <bool Cx>
bool Program::runRange(int32_t begin, int32_t end, int32_t root)
{
    Complex* const v = vals_.data();
    const Instr* const code = code_.data();
    for (int32_t pc = begin; pc < end; ++pc) {
        const Instr& in = code[pc];
        bool ok = true;
        switch (in.op) {
        case Op::Add:
            if constexpr (Cx) v[in.dst] = addC(v[in.a], v[in.b]);
            else v[in.dst].re = v[in.a].re + v[in.b].re;
            break;
        case Op::Sub:
            if constexpr (Cx) v[in.dst] = subC(v[in.a], v[in.b]);
            else v[in.dst].re = v[in.a].re - v[in.b].re;
            break;
        case Op::Mul:
            if constexpr (Cx) ok = mulComplex(v[in.a], v[in.b], v[in.dst]);
            else ok = mulReal(v[in.a].re, v[in.b].re, v[in.dst].re);
            break;
        case Op::MulAdd:
        case Op::MulSub:
        case Op::SubMul:
            if constexpr (Cx) {
                Complex t;
                ok = mulComplex(v[in.a], v[in.b], t);
                const Complex& k = v[in.c];
                v[in.dst] = in.op == Op::MulAdd ? addC(t, k) : in.op == Op::MulSub ? subC(t, k) : subC(k, t);
            } else {
                Real t;
                ok = mulReal(v[in.a].re, v[in.b].re, t);
                const Real k = v[in.c].re;
                v[in.dst].re = in.op == Op::MulAdd ? t + k : in.op == Op::MulSub ? t - k : k - t;
            }
            break;
        case Op::Skip:
            pc = in.body.end - 1;
            break;
        default:
            ok = exec<Cx>(in, true, true, true);
            break;
        }
        if (!ok) return runSlow<Cx>(begin, pc, end, root);
    }
    return true;
}

template <bool Cx>
bool Program::runSlow(int32_t begin, int32_t failedAt, int32_t end, int32_t root)
{
    for (int32_t pc = begin; pc < failedAt; ++pc) failed_[code_[pc].dst] = 0;
    failed_[code_[failedAt].dst] = 1;
    for (int32_t pc = failedAt + 1; pc < end; ++pc) {
        const Instr& in = code_[pc];
        if (in.op == Op::Skip) { pc = in.body.end - 1; continue; }
        const bool okA = in.a < 0 || !failed_[in.a];
        const bool okB = in.b < 0 || !failed_[in.b];
        const bool okC = in.c < 0 || !failed_[in.c];
        const bool choice = in.op == Op::Ifpos || in.op == Op::Join || in.op == Op::Fallback;
        const bool ok = (choice || (okA && okB && okC)) && exec<Cx>(in, okA, okB, okC);
        failed_[in.dst] = !ok;
    }
    return !failed_[root];
}

template <bool Cx>
bool Program::exec(const Instr& in, bool okA, bool okB, bool okC)
{
    Complex* const v = vals_.data();
    int32_t& state = states_[in.state];
    switch (in.op) {
    case Op::Add: case Op::Sub: case Op::Mul: case Op::MulAdd: case Op::MulSub: case Op::SubMul: {
        // Only reached on the slow path: run the one instruction through the fast one.
        return runRange<Cx>(static_cast<int32_t>(&in - code_.data()),
                            static_cast<int32_t>(&in - code_.data()) + 1, in.dst);
    }
    case Op::Div:
        if constexpr (Cx) return divComplex(v[in.a], v[in.b], v[in.dst]);
        else return divReal(v[in.a].re, v[in.b].re, v[in.dst].re);
    case Op::Square:
        if constexpr (Cx) return mulComplex(v[in.a], v[in.a], v[in.dst]);
        else return mulReal(v[in.a].re, v[in.a].re, v[in.dst].re);
    case Op::PowInt:
        if constexpr (Cx) return powIntComplex(in.n, v[in.a], v[in.dst]);
        else return powIntReal(in.n, v[in.a].re, v[in.dst].re);
    case Op::Func1:
        if constexpr (Cx) return unaryComplex(in.fn, v[in.a], v[in.dst], state, flags_);
        else return unaryReal(in.fn, v[in.a].re, v[in.dst].re, state, flags_);
    case Op::Func2:
        if constexpr (Cx) return binaryComplex(in.fn, v[in.a], v[in.b], v[in.dst], state, flags_);
        else return binaryReal(in.fn, v[in.a].re, v[in.b].re, v[in.dst].re, state, flags_);
    case Op::LoadRe: v[in.dst] = {v[kSlotZ].re, 0}; return true;
    case Op::LoadIm: v[in.dst] = {v[kSlotZ].im, 0}; return true;
    case Op::Copy: v[in.dst] = v[in.a]; return true;
    case Op::Ifpos: case Op::Join: case Op::Fallback: case Op::Select:
        return execChoice<Cx>(in, okA, okB, okC);
    default:
        return execLoop<Cx>(in);
    }
}

// IFPOS, JOIN, the fallback and the MAX/MIN derivative selections.
template <bool Cx>
bool Program::execChoice(const Instr& in, bool okA, bool okB, bool okC)
{
    Complex* const v = vals_.data();
    if (in.op == Op::Fallback) {
        if (!okC) return false;
        v[in.dst] = okA ? v[in.a] : v[in.c];
        return true;
    }
    if (!okB) return false;
    int32_t& state = states_[in.state];
    bool takeLeft;
    if (in.op == Op::Select) {
        takeLeft = selectDerivative(in.fn, v[in.b].re, state, flags_);
    } else {
        const Real t = v[in.b].re;
        takeLeft = in.op == Op::Ifpos ? t > 0 : t > readVar(in.n).re;
        const int32_t now = takeLeft ? 0 : 1;
        if (flags_.track && now != state) flags_.raised = true;
        state = now;
    }
    if (!(takeLeft ? okA : okC)) return false;
    v[in.dst] = v[takeLeft ? in.a : in.c];
    return true;
}

// ITER, its derivative, SUM, PROD and the periodic extension.
template <bool Cx>
bool Program::execLoop(const Instr& in)
{
    Complex* const v = vals_.data();
    Complex& x = v[iterationSlot(Cx)];
    const auto setX = [&x](const Complex& w) { x = Cx ? w : Complex{w.re, 0}; };
    const Complex saved = x;
    bool ok = true;
    switch (in.op) {
    case Op::Iter: {
        if (in.n < 1) { v[in.dst] = readVar(iterationSlot(Cx)); return true; }
        Complex last = v[in.a];
        for (int32_t k = 1; k < in.n && ok; ++k) {
            setX(last);
            ok = flags_.loopStep() && runRange<Cx>(in.body.begin, in.body.end, in.body.root);
            last = v[in.body.root];
        }
        x = saved;
        v[in.dst] = last;
        return ok;
    }
    case Op::IterDerivative: {
        if (in.n < 1) { v[in.dst] = {1, 0}; return true; }
        Complex product = v[in.a];
        for (int32_t k = 1; k < in.n && ok; ++k) {
            setX(v[in.c]);
            ok = flags_.loopStep() && runRange<Cx>(in.body.begin, in.body.end, in.body.root) &&
                 runRange<Cx>(in.body2.begin, in.body2.end, in.body2.root);
            if (ok && Cx) ok = mulComplex(product, v[in.a], product);
            else if (ok) ok = mulReal(product.re, v[in.a].re, product.re);
        }
        x = saved;
        v[in.dst] = product;
        return ok;
    }
    case Op::SumProd: {
        int32_t a, b;
        ok = integerTest(v[in.a], a) && integerTest(v[in.b], b) && a <= b;
        const bool product = in.fn == code::Prod;
        Complex acc{product ? Real(1) : Real(0), 0};
        for (int64_t k = a; ok && k <= b; ++k) {
            v[in.n] = {Real(k), 0};
            ok = flags_.loopStep() && runRange<Cx>(in.body.begin, in.body.end, in.body.root);
            if (!ok) break;
            const Complex& f = v[in.body.root];
            const Complex t = Cx ? f : Complex{f.re, 0};
            if (!product) acc = addC(acc, t);
            else ok = Cx ? mulComplex(acc, t, acc) : mulReal(acc.re, t.re, acc.re);
        }
        flags_.raised = false;
        v[in.dst] = acc;
        return ok;
    }
    case Op::Periodic: {
        Real shifted;
        if (!periodicShift(saved.re, v[in.a].re, v[in.b].re, shifted, states_[in.state], flags_))
            return false;
        x.re = shifted;
        ok = runRange<Cx>(in.body.begin, in.body.end, in.body.root);
        x = saved;
        if (ok) v[in.dst] = v[in.body.root];
        return ok;
    }
    default:
        return false;
    }
}

// The rarer straight-line operations, called out of line from fastRun.
template bool Program::run<true>(const Range&);
template bool Program::run<false>(const Range&);

} // namespace qx
