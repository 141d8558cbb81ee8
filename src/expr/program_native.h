#pragma once
// Machine code for the straight-line entries of a complex-mode Program, so
// that the hottest maps (Newton steps of polynomials, rational maps) run
// without the interpreter's dispatch. Only x86-64 with its 80-bit x87 unit is
// targeted: the code performs exactly the operations of Program::fastRun in
// the same order and precision, so results, zero flushes and failures are
// identical bit for bit. Elsewhere, or where the system refuses executable
// memory, nothing is built and the interpreter runs as before.
#include "base/numeric.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qx {

// What the generated code reads and writes besides the value array: the
// bound arguments, the result and the checked arithmetic's bounds. One per
// Program copy, so that worker threads never share it.
struct NativeFrame {
    Real a0r = 0, a0i = 0, a1r = 0, a1i = 0;
    Real spillR = 0, spillI = 0; // the accumulator, where registers run short
    // The orbit loop's inputs and outputs.
    const void* discs = nullptr; // centre x, centre y, radius squared per disc
    const void* stop = nullptr;  // the interrupt flag (a bool), or null
    int32_t maxReps = 0;
    int32_t count = 0;
    Real boundR = 0, boundI = 0; // the point last passed to the map
    Real huge, big, tiny; // e^5000, B and 1e-16, set by the constructor
    // Doubles on the safe side of those bounds, which decide most checks
    // with a fast load: at most e^5000, at most B, above 1e-16.
    double hugeBelow, bigBelow, tinyAbove;
    NativeFrame();
};

// A generated function. Its convention is its own, so that values stay in
// registers: the value array in rdi, the frame in rsi, the first argument's
// real and imaginary parts in st0 and st1 (the second argument in the frame);
// it returns eax = 1 with the value's parts in st0 and st1, or eax = 0 (and
// two meaningless entries) when the evaluation fails. It changes no other
// register, and uses only the stack slot of its return address.
using NativeFn = const void*;

// Calls `fn` as above (also an orbit loop, which uses rcx and rdx as well);
// returns its eax.
__attribute__((always_inline)) inline int callNative(NativeFn fn, Complex* values, NativeFrame* frame, Real& re,
                                                     Real& im)
{
#if defined(__x86_64__) && defined(__linux__)
    int ok;
    // The red zone below the stack pointer may hold the caller's data: step over it.
    asm volatile("sub $128, %%rsp\n\tcall *%[fn]\n\tadd $128, %%rsp"
                 : "+t"(re), "+u"(im), "=a"(ok)
                 : [fn] "r"(fn), "D"(values), "S"(frame)
                 : "memory", "cc", "rcx", "rdx", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
    return ok;
#else
    (void)fn, (void)values, (void)frame, (void)re, (void)im;
    return 0;
#endif
}

// One block of executable memory holding the code of several entries.
class NativeCode {
public:
    NativeCode(const NativeCode&) = delete;
    NativeCode& operator=(const NativeCode&) = delete;
    ~NativeCode();

    // Copies the assembled functions into executable memory; null when the
    // system does not allow it.
    static std::shared_ptr<NativeCode> load(const std::vector<uint8_t>& bytes);
    // The function that starts `offset` bytes into the block.
    NativeFn at(size_t offset) const;

private:
    NativeCode(void* base, size_t size) : base_(base), size_(size) {}
    void* base_;
    size_t size_;
};

// True where native code can be generated at all (x86-64).
bool nativeCodeSupported();
// True where, besides, the system lets this process run it (tried once).
bool nativeCodeAvailable();

} // namespace qx
