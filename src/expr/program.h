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
#include "expr/env.h"
#include "expr/node.h"

#include <initializer_list>
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

private:
    friend class ProgramBuilder;

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
};

} // namespace qx
