#pragma once
// What an evaluation reads and writes besides the tree: the variable table,
// the value registers, the discontinuity flag and the random source.
#include "base/numeric.h"
#include "expr/arith.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace qx {

inline constexpr int kVariableCount = 27; // '@', A..Z
inline constexpr int kRegisterCount = 5;
inline constexpr int kSlotX = 24, kSlotY = 25, kSlotZ = 26, kSlotE = 5, kSlotI = 9;

// A small uniform 31-bit generator (xorshift64*); a value, so clones copy it.
struct RandomSource {
    uint64_t s = 0x9E3779B97F4A7C15ull;
    void seed(uint64_t v) { s = v ? v : 0x9E3779B97F4A7C15ull; }
    uint32_t next31()
    {
        s ^= s >> 12;
        s ^= s << 25;
        s ^= s >> 27;
        return static_cast<uint32_t>((s * 0x2545F4914F6CDD1Dull) >> 33);
    }
    // Strictly between 0 and 1 on a grid of a million points.
    Real unit() { return Real(2 * (next31() % 1000000u) + 1) * 5e-7L; }
};

// Discontinuity tracking and randomness, shared by the tree and the program.
struct EvalFlags {
    bool track = true;  // raise the flag at all
    bool raised = false;
    RandomSource random;
    // Long ITER, SUM and PROD loops end (as a failed evaluation) when the
    // stop flag is raised (looked at every 4096 steps) or when the step
    // budget runs out (-1: no budget).
    const std::atomic<bool>* stop = nullptr;
    int64_t loopBudget = -1;
    uint32_t loopSteps = 0;

    // One step of a loop: false when the loop must end.
    bool loopStep()
    {
        if (loopBudget == 0)
            return false; // stays spent
        if (loopBudget > 0)
            --loopBudget;
        return (++loopSteps & 4095u) != 0 || !stop || !stop->load(std::memory_order_relaxed);
    }

    void step(int32_t& state, int32_t now)
    {
        if (track && state != now) raised = true;
        state = now;
    }
};

struct EvalEnv {
    bool complexMode = false;
    std::array<Complex, kVariableCount> vars{};
    std::array<Complex, kRegisterCount> registers{};
    EvalFlags flags;

    // Defaults of a new window: all zero except E = e and, in complex mode, I = i.
    explicit EvalEnv(bool complex = false) : complexMode(complex) { resetVariables(); }
    void resetVariables()
    {
        vars.fill(Complex{});
        vars[kSlotE] = {kE, 0};
        if (complexMode) vars[kSlotI] = {0, 1};
    }
};

// The slot a variable node reads. In complex mode X and Y read the parts of Z;
// in real mode a variable is the real part of its slot.
inline Complex readVariable(const EvalEnv& env, int slot)
{
    if (env.complexMode) {
        if (slot == kSlotX) return {env.vars[kSlotZ].re, 0};
        if (slot == kSlotY) return {env.vars[kSlotZ].im, 0};
        return env.vars[slot];
    }
    return {env.vars[slot].re, 0};
}

// The variable that ITER, its derivative and the periodic extension run over:
// x in real mode, z in complex mode.
inline int iterationSlot(bool complexMode) { return complexMode ? kSlotZ : kSlotX; }

} // namespace qx
