// The x87 code generator of the fast form. Each straight-line instruction
// becomes the same loads, products, sums, quotients and checks that fastRun
// performs, on the x87 register stack:
//
//   - the first argument arrives in st0/st1 and usually stays at the bottom;
//   - between instructions the stack holds the accumulator above it, real
//     part on top (or the accumulator goes to the frame where an instruction
//     needs every register);
//   - an instruction pushes its operands (from memory, the constant pool or
//     copies of stack entries), leaves its result above the old accumulator
//     and then drops everything beneath the result;
//   - a failed check jumps to a stub for its stack depth: the function
//     returns 0 with two entries on the stack, the orbit loop sets the point
//     to 0 and goes on.
//
// The generated functions' calling convention is described with NativeFn.
#include "expr/program_native.h"

#include "expr/arith.h"
#include "expr/program.h"

#include <cstddef>
#include <cstring>
#include <cmath>
#include <limits>
#include <initializer_list>
#include <map>
#include <tuple>

#if defined(__x86_64__) && defined(__linux__)
#include <sys/mman.h>
#define QX_NATIVE 1
#else
#define QX_NATIVE 0
#endif

namespace qx {

namespace {

// The double nearest to `bound` on the side `up` (above) or below it, never equal.
double doubleBeside(Real bound, bool up)
{
    double d = bound > static_cast<Real>(std::numeric_limits<double>::max())
                   ? std::numeric_limits<double>::max()
                   : static_cast<double>(bound);
    while (up ? static_cast<Real>(d) <= bound : static_cast<Real>(d) > bound)
        d = std::nextafter(d, up ? std::numeric_limits<double>::infinity() : 0.0);
    return d;
}

} // namespace

NativeFrame::NativeFrame()
    : huge(kHuge), big(kBig), tiny(kTiny), hugeBelow(doubleBeside(kHuge, false)),
      bigBelow(doubleBeside(kBig, false)), tinyAbove(doubleBeside(kTiny, true))
{
}

bool nativeCodeSupported() { return QX_NATIVE && sizeof(Real) == 16 && sizeof(Complex) == 32; }

bool nativeCodeAvailable()
{
    static const bool available = nativeCodeSupported() && NativeCode::load({0xC3}) != nullptr; // ret
    return available;
}

NativeCode::~NativeCode()
{
#if QX_NATIVE
    munmap(base_, size_);
#endif
}

std::shared_ptr<NativeCode> NativeCode::load(const std::vector<uint8_t>& bytes)
{
#if QX_NATIVE
    if (bytes.empty() || !nativeCodeSupported()) return nullptr;
    const size_t size = bytes.size();
    void* base = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    std::memcpy(base, bytes.data(), size);
    if (mprotect(base, size, PROT_READ | PROT_EXEC) != 0) {
        munmap(base, size);
        return nullptr;
    }
    return std::shared_ptr<NativeCode>(new NativeCode(base, size));
#else
    (void)bytes;
    return nullptr;
#endif
}

NativeFn NativeCode::at(size_t offset) const
{
    return static_cast<const uint8_t*>(base_) + offset;
}

namespace {

using Fast = Program::Fast;
using Mode = Program::Mode;
using Op = Program::Op;

constexpr int kRsi = 6, kRdi = 7; // ModR/M register numbers
constexpr int kStackLimit = 8;

// Jump conditions after FUCOMIP (which sets CF, ZF and PF like an unsigned compare).
constexpr uint8_t kJb = 0x82, kJae = 0x83, kJbe = 0x86, kJp = 0x8A;

// Where an operand's two parts are: in memory at base+disp, on the x87
// stack (counted from the bottom, so that pushes do not move them), or a
// constant of the program (also in memory, for parts that are no double).
struct Val {
    enum Kind { Memory, Stack, Constant } kind = Memory;
    int base = kRdi;
    int32_t re = 0, im = 0; // displacements, or stack indices from the bottom
    Real valueRe = 0, valueIm = 0;
};

class Assembler {
public:
    explicit Assembler(std::vector<uint8_t>& out) : b_(out) {}

    bool ok() const { return ok_; }
    void setDepth(int d) { depth_ = d; }

    struct Mark {
        size_t bytes, fails, pool;
        int depth;
    };
    Mark mark() const { return {b_.size(), fails_.size(), pool_.size(), depth_}; }
    void rewind(const Mark& m)
    {
        b_.resize(m.bytes);
        fails_.resize(m.fails);
        pool_.resize(m.pool);
        depth_ = m.depth;
        ok_ = true;
    }
    int depth() const { return depth_; }

    // ---- x87 instructions, tracking the stack depth
    void fldMem(int base, int32_t disp) { memOp(0xDB, 5, base, disp); grow(1); }
    void fstpMem(int base, int32_t disp) { memOp(0xDB, 7, base, disp); grow(-1); }
    void fldSt(int i) { bytes(0xD9, 0xC0 + i); grow(1); }
    void fstpSt(int i) { bytes(0xDD, 0xD8 + i); grow(-1); }
    void fxch1() { bytes(0xD9, 0xC9); }
    void fldDouble(int base, int32_t disp) { memOp(0xDD, 0, base, disp); grow(1); }
    void fmulSt(int i) { bytes(0xD8, 0xC8 + i); }              // st0 *= st(i)
    void fucomi1() { bytes(0xDB, 0xE9); }                      // compare st0 with st1
    void fabs() { bytes(0xD9, 0xE1); }
    void fldz() { bytes(0xD9, 0xEE); grow(1); }
    void faddp(int i = 1) { bytes(0xDE, 0xC0 + i); grow(-1); }  // st(i) += st0, pop
    void fmulp() { bytes(0xDE, 0xC9); grow(-1); }              // st1 *= st0, pop
    void fsubp(int i = 1) { bytes(0xDE, 0xE8 + i); grow(-1); }  // st(i) = st(i) - st0, pop
    void fsubrp(int i = 1) { bytes(0xDE, 0xE0 + i); grow(-1); } // st(i) = st0 - st(i), pop
    void fdivBy(int i) { bytes(0xD8, 0xF0 + i); }              // st0 = st0 / st(i)
    void fsubSelf() { bytes(0xD8, 0xE0); }                     // st0 = st0 - st0
    void fucomip1() { bytes(0xDF, 0xE9); grow(-1); }           // compare st0 with st1, pop

    // A conditional jump to the failure stub for the current depth.
    void failIf(uint8_t cc)
    {
        bytes(0x0F, cc);
        fails_.push_back({b_.size(), depth_});
        imm32(0);
    }
    // A conditional forward jump; bind() sets its target to the current position.
    size_t jumpIf(uint8_t cc)
    {
        bytes(0x0F, cc);
        const size_t at = b_.size();
        imm32(0);
        return at;
    }
    void bind(size_t at) { patch(at, b_.size()); }

    // Pushes one part of an operand.
    void push(const Val& v, bool im)
    {
        switch (v.kind) {
        case Val::Memory: fldMem(v.base, im ? v.im : v.re); break;
        case Val::Stack: fldSt(depth_ - 1 - (im ? v.im : v.re)); break;
        case Val::Constant: pushConstant(im ? v.valueIm : v.valueRe, v.base, im ? v.im : v.re); break;
        }
    }
    // 0 and 1 have instructions of their own, a double comes from the code's
    // constant pool (a fast load), anything else from its slot.
    void pushConstant(Real v, int base, int32_t disp)
    {
        if (v == 0 && !std::signbit(v)) {
            fldz();
        } else if (v == 1) {
            bytes(0xD9, 0xE8); // fld1
            grow(1);
        } else if (const double d = static_cast<double>(v); static_cast<Real>(d) == v) {
            bytes(0xDD, 0x05); // fld m64 [rip + disp32]
            pool_.push_back({b_.size(), d});
            imm32(0);
            grow(1);
        } else {
            fldMem(base, disp);
        }
    }
    // The doubles that the code loads, after it.
    void emitPool()
    {
        while (b_.size() % 8) b_.push_back(0xCC);
        std::vector<std::pair<double, size_t>> placed;
        for (const PoolRef& r : pool_) {
            size_t at = 0;
            bool found = false;
            for (const auto& [d, pos] : placed)
                if (std::memcmp(&d, &r.value, sizeof d) == 0) { at = pos; found = true; }
            if (!found) {
                at = b_.size();
                placed.push_back({r.value, at});
                uint8_t raw[8];
                std::memcpy(raw, &r.value, 8);
                b_.insert(b_.end(), raw, raw + 8);
            }
            patch(r.at, at);
        }
    }
    void refuse() { ok_ = false; }
    // The value whose real part is on top and imaginary part beneath it.
    Val top() const { return {Val::Stack, 0, depth_ - 1, depth_ - 2}; }

    void returnWith(int value)
    {
        b_.push_back(0xB8); // mov eax, imm32
        imm32(value);
        b_.push_back(0xC3);
    }
    // Raw bytes, for the few integer instructions of the orbit loop.
    void raw(std::initializer_list<int> code)
    {
        for (int c : code) b_.push_back(static_cast<uint8_t>(c));
    }
    void rawImm32(int32_t v) { imm32(v); }
    size_t here() const { return b_.size(); }
    // An unconditional jump (E9) to `target`, or to be bound later (returns the patch place).
    size_t jump() { b_.push_back(0xE9); const size_t at = b_.size(); imm32(0); return at; }
    void jumpBack(size_t target) { patch(jump(), target); }
    // The stubs of a failed map inside the orbit loop: empty the stack, set
    // the point to 0 and go on at `target`.
    void emitLoopFailStubs(size_t target)
    {
        emitStubs([&](int depth) {
            for (int k = 0; k < depth; ++k) bytes(0xDD, 0xD8); // fstp st0
            bytes(0xD9, 0xEE);
            bytes(0xD9, 0xEE);
            patch(jump(), target);
        });
    }
    // The stubs that leave two entries on the stack at a failure and return 0.
    void emitFailStubs()
    {
        emitStubs([&](int depth) {
            for (int k = 2; k < depth; ++k) bytes(0xDD, 0xD8); // fstp st0
            for (int k = depth; k < 2; ++k) bytes(0xD9, 0xEE); // fldz
            returnWith(0);
        });
    }

private:
    // One stub per stack depth at a failure, written by `body`, for every failure site so far.
    template <class Body>
    void emitStubs(Body body)
    {
        std::map<int, size_t> stubs;
        for (const auto& f : fails_) {
            auto it = stubs.find(f.depth);
            if (it == stubs.end()) {
                it = stubs.emplace(f.depth, b_.size()).first;
                body(f.depth);
            }
            patch(f.at, it->second);
        }
        fails_.clear();
    }

    void bytes(int a, int b)
    {
        b_.push_back(static_cast<uint8_t>(a));
        b_.push_back(static_cast<uint8_t>(b));
    }
    void imm32(int32_t v)
    {
        for (int k = 0; k < 4; ++k) b_.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k)));
    }
    // A memory operand with a 32-bit displacement: FLD m80 (DB /5), FSTP m80
    // (DB /7), FLD m64 (DD /0).
    void memOp(int opcode, int reg, int base, int32_t disp)
    {
        bytes(opcode, 0x80 | (reg << 3) | base);
        imm32(disp);
    }
    void patch(size_t at, size_t target)
    {
        const int32_t rel = static_cast<int32_t>(target) - static_cast<int32_t>(at + 4);
        std::memcpy(&b_[at], &rel, 4);
    }
    void grow(int d)
    {
        depth_ += d;
        if (depth_ > kStackLimit || depth_ < 0) ok_ = false;
    }

    struct FailSite {
        size_t at;
        int depth;
    };
    std::vector<uint8_t>& b_;
    std::vector<FailSite> fails_;
    struct PoolRef {
        size_t at;
        double value;
    };
    std::vector<PoolRef> pool_;
    int depth_ = 0;
    bool ok_ = true;
};

constexpr int32_t frameOffset(size_t offset) { return static_cast<int32_t>(offset); }

// An exact bound (80-bit, slow to load) with a double on its safe side (fast
// to load) that decides the common case.
struct Bound {
    size_t exact, quick;
    Real value;
};
constexpr Bound kHugeBound{offsetof(NativeFrame, huge), offsetof(NativeFrame, hugeBelow), kHuge};
constexpr Bound kBigBound{offsetof(NativeFrame, big), offsetof(NativeFrame, bigBelow), kBig};
constexpr Bound kTinyBound{offsetof(NativeFrame, tiny), offsetof(NativeFrame, tinyAbove), kTiny};

class EntryCompiler {
public:
    // The first argument arrives on the stack. `pinArg0`: it stays at the
    // bottom (no loads, but two registers fewer); otherwise it goes to the frame.
    EntryCompiler(std::vector<uint8_t>& out, bool pinArg0, const Complex* values, const std::vector<uint8_t>& constant)
        : a_(out), pinned_(pinArg0 ? 2 : 0), values_(values), constant_(constant)
    {
        a_.setDepth(2);
        if (!pinArg0) {
            a_.fstpMem(kRsi, frameOffset(offsetof(NativeFrame, a0r)));
            a_.fstpMem(kRsi, frameOffset(offsetof(NativeFrame, a0i)));
        }
    }

    bool compile(const Fast* begin, const Fast* end)
    {
        if (!map(begin, end)) return false;
        a_.returnWith(1); // the value stays in st0 and st1
        a_.emitFailStubs();
        a_.emitPool();
        return a_.ok();
    }

    // The orbit loop (see NativeOrbitFn) around the map, with `discs` disc
    // tests unrolled. Its steps and tests are those of the C++ loop it
    // replaces, in the same order.
    bool compileOrbit(const Fast* begin, const Fast* end, int discs)
    {
        if (pinned_ != 2) return false;
        a_.raw({0x31, 0xC9});                                         // xor ecx, ecx: the count
        a_.raw({0x48, 0x8B, 0x96});                                   // mov rdx, [rsi + discs]
        a_.rawImm32(frameOffset(offsetof(NativeFrame, discs)));
        const size_t top = a_.here();
        a_.raw({0x3B, 0x8E});                                         // cmp ecx, [rsi + maxReps]
        a_.rawImm32(frameOffset(offsetof(NativeFrame, maxReps)));
        const size_t none = a_.jumpIf(0x8D);                          // jge: no target
        std::vector<size_t> hits;
        for (int i = 0; i < discs; ++i) {                             // stack: [wr, wi]
            const int32_t at = i * static_cast<int32_t>(3 * sizeof(Real));
            a_.fldSt(0);
            a_.fldMem(2, at);                                         // rdx: the disc's centre x
            a_.fsubp();                                              // dx = wr - x
            a_.fmulSt(0);
            a_.fldSt(2);
            a_.fldMem(2, at + static_cast<int32_t>(sizeof(Real)));
            a_.fsubp();                                              // dy = wi - y
            a_.fmulSt(0);
            a_.faddp();
            a_.fldMem(2, at + static_cast<int32_t>(2 * sizeof(Real)));
            a_.fucomip1();                                            // r2 against dx*dx + dy*dy
            a_.fstpSt(0);
            hits.push_back(a_.jumpIf(0x87));                          // ja: inside
        }
        // Every 4096 steps: the interrupt flag.
        a_.raw({0x89, 0xC8, 0x25, 0xFF, 0x0F, 0x00, 0x00, 0x3D, 0xFF, 0x0F, 0x00, 0x00}); // eax = ecx & 4095; cmp 4095
        const size_t noCheck = a_.jumpIf(0x85);                       // jne
        const size_t interruptedAt = stopTest();
        a_.bind(noCheck);
        // The bound: the point passed to the map.
        a_.fldSt(1);
        a_.fstpMem(kRsi, frameOffset(offsetof(NativeFrame, boundI)));
        a_.fldSt(0);
        a_.fstpMem(kRsi, frameOffset(offsetof(NativeFrame, boundR)));
        if (!map(begin, end)) return false;
        const size_t next = a_.here();
        a_.raw({0x83, 0xC1, 0x01});                                   // add ecx, 1
        a_.jumpBack(top);
        // A failed map: the point is 0, and the flag may have ended a long evaluation.
        const size_t failed = a_.here();
        const size_t interruptedAfterFailure = stopTest();
        a_.jumpBack(next);
        a_.emitLoopFailStubs(failed);
        // Exits: eax = the disc, -1 for none, -2 when interrupted; the count to the frame.
        const size_t exit = a_.here();
        a_.raw({0x89, 0x8E});                                         // mov [rsi + count], ecx
        a_.rawImm32(frameOffset(offsetof(NativeFrame, count)));
        a_.raw({0xC3});
        const auto exitWith = [&](int32_t code) {
            a_.raw({0xB8});
            a_.rawImm32(code);
            a_.jumpBack(exit);
        };
        a_.bind(none);
        exitWith(-1);
        a_.bind(interruptedAt);
        a_.bind(interruptedAfterFailure);
        exitWith(-2);
        for (int i = 0; i < discs; ++i) {
            a_.bind(hits[static_cast<size_t>(i)]);
            exitWith(i);
        }
        a_.emitPool();
        return a_.ok();
    }

private:
    // The map's instructions, leaving its value alone on the stack (over the
    // pinned argument, which it replaces); a value that is not finite fails.
    bool map(const Fast* begin, const Fast* end)
    {
        for (const Fast* f = begin; f != end && a_.ok(); ++f)
            if (!instruction(*f)) return false;
        if (a_.depth() != pinned_ + 2) return false;
        dropBeneath(pinned_);
        // isfinite() of both parts: x - x is 0 for finite x and NaN otherwise.
        for (int part = 0; part < 2; ++part) {
            a_.fldSt(part);
            a_.fsubSelf();
            a_.fldz();
            a_.fucomip1();
            a_.fstpSt(0);
            a_.failIf(kJp);
        }
        return true;
    }

    // Jumps (returning the patch place) when the interrupt flag is set.
    size_t stopTest()
    {
        a_.raw({0x48, 0x8B, 0x86});                                   // mov rax, [rsi + stop]
        a_.rawImm32(frameOffset(offsetof(NativeFrame, stop)));
        a_.raw({0x48, 0x85, 0xC0});                                   // test rax, rax
        const size_t noFlag = a_.jumpIf(0x84);                        // jz
        a_.raw({0x80, 0x38, 0x00});                                   // cmp byte [rax], 0
        const size_t set = a_.jumpIf(0x85);                           // jne
        a_.bind(noFlag);
        return set;
    }

    Val operand(Mode m, int32_t slot) const
    {
        switch (m) {
        case Mode::Acc:
            if (spilled_)
                return {Val::Memory, kRsi, frameOffset(offsetof(NativeFrame, spillR)),
                        frameOffset(offsetof(NativeFrame, spillI))};
            return {Val::Stack, 0, pinned_ + 1, pinned_}; // above the pinned argument
        case Mode::Arg0:
            if (pinned_) return {Val::Stack, 0, 1, 0};
            return {Val::Memory, kRsi, frameOffset(offsetof(NativeFrame, a0r)), frameOffset(offsetof(NativeFrame, a0i))};
        case Mode::Arg1:
            return {Val::Memory, kRsi, frameOffset(offsetof(NativeFrame, a1r)), frameOffset(offsetof(NativeFrame, a1i))};
        default: {
            const int32_t at = slot * static_cast<int32_t>(sizeof(Complex));
            const int32_t atIm = at + static_cast<int32_t>(offsetof(Complex, im));
            if (static_cast<size_t>(slot) < constant_.size() && constant_[static_cast<size_t>(slot)])
                return {Val::Constant, kRdi, at, atIm, values_[slot].re, values_[slot].im};
            return {Val::Memory, kRdi, at, atIm};
        }
        }
    }

    // Loads a memory operand onto the stack when `room` more entries fit
    // above it, so that its parts are read from registers afterwards.
    Val keep(const Val& v, int room)
    {
        if (v.kind != Val::Memory || a_.depth() + 2 + room > kStackLimit) return v;
        a_.push(v, true);
        a_.push(v, false);
        return a_.top();
    }

    // |re| + |im| of v on top of the stack.
    void taxicab(const Val& v)
    {
        a_.push(v, false);
        a_.fabs();
        a_.push(v, true);
        a_.fabs();
        a_.faddp();
    }
    // Whether the bound check of v was made before in this evaluation: values
    // in memory and the pinned argument do not change while it runs.
    bool checkedBefore(const Val& v, const Bound& b)
    {
        const bool spill = v.kind == Val::Memory && v.base == kRsi &&
                           v.re == frameOffset(offsetof(NativeFrame, spillR));
        const bool stable = (v.kind == Val::Memory && !spill) || (v.kind == Val::Stack && v.re < pinned_);
        if (!stable) return false;
        const auto key = std::make_tuple(static_cast<int>(v.kind), v.base, v.re, b.exact);
        for (const auto& k : checked_)
            if (k == key) return true;
        checked_.push_back(key);
        return false;
    }
    // Fails unless |re| + |im| of v is at most the bound.
    void requireTaxicabAtMost(const Val& v, const Bound& b)
    {
        if (v.kind == Val::Constant) { // decided now: a constant that fails leaves the entry to the interpreter
            if (!(std::fabs(v.valueRe) + std::fabs(v.valueIm) <= b.value)) a_.refuse();
            return;
        }
        if (checkedBefore(v, b)) return;
        taxicab(v);
        requireAtMost(b);
    }

    // With m on top: fails unless m <= the bound (NaN fails); pops m unless `keepM`.
    void requireAtMost(const Bound& b, bool keepM = false)
    {
        a_.fldDouble(kRsi, frameOffset(b.quick));
        a_.fucomip1();
        const size_t pass = a_.jumpIf(kJae); // m <= the double below the bound
        a_.fldMem(kRsi, frameOffset(b.exact));
        a_.fucomip1();
        a_.failIf(kJb);
        a_.bind(pass);
        if (!keepM) a_.fstpSt(0);
    }
    // Fails unless |re| + |im| of v is at least the bound (NaN fails).
    void requireAtLeast(const Val& v, const Bound& b)
    {
        if (v.kind == Val::Constant) {
            if (!(std::fabs(v.valueRe) + std::fabs(v.valueIm) >= b.value)) a_.refuse();
            return;
        }
        if (checkedBefore(v, b)) return;
        a_.fldDouble(kRsi, frameOffset(b.quick));
        taxicab(v); // [m, quick]
        a_.fucomi1();
        const size_t pass = a_.jumpIf(kJae); // m >= the double above the bound
        a_.fstpSt(1);                        // [m]
        a_.fldMem(kRsi, frameOffset(b.exact));
        a_.fxch1(); // [m, exact]
        a_.fucomi1();
        a_.failIf(kJb);
        a_.bind(pass);
        a_.fstpSt(0);
        a_.fstpSt(0);
    }
    // With [re, im] on top: fails unless |re| + |im| <= `limit`, and sets both
    // to 0 when it is below (`orEqual`: at most) 1e-16.
    void checkResult(const Bound& limit, bool orEqual)
    {
        a_.fldSt(0);
        a_.fabs();
        a_.fldSt(2);
        a_.fabs();
        a_.faddp(); // [m, re, im]
        requireAtMost(limit, true);
        a_.fldDouble(kRsi, frameOffset(kTinyBound.quick));
        a_.fucomip1();
        const size_t large = a_.jumpIf(kJbe); // the double above 1e-16 <= m
        a_.fldMem(kRsi, frameOffset(kTinyBound.exact));
        a_.fucomip1();
        const size_t keep = a_.jumpIf(orEqual ? kJb : kJbe);
        for (int k = 0; k < 3; ++k) a_.fstpSt(0);
        for (int k = 0; k < 3; ++k) a_.fldz(); // [0, 0, 0]: m's place, then the parts
        a_.bind(large);
        a_.bind(keep);
        a_.fstpSt(0);
    }
    // Drops the `n` entries beneath the complex value on top (n even).
    void dropBeneath(int n)
    {
        if (n == 0) return;
        a_.fstpSt(n);
        a_.fstpSt(n);
        for (int k = 0; k < n - 2; ++k) a_.fstpSt(0);
    }

    // mulParts: pushes [re, im] of x * y.
    Val mul(Val x, Val y, bool square)
    {
        const int base = a_.depth();
        requireTaxicabAtMost(x, kHugeBound);
        if (!square) requireTaxicabAtMost(y, kHugeBound);
        x = keep(x, 3);
        y = square ? x : keep(y, 3);
        product(x, false, y, true); // im = ar*bi + ai*br
        product(x, true, y, false);
        a_.faddp();
        product(x, false, y, false); // re = ar*br - ai*bi
        product(x, true, y, true);
        a_.fsubp();
        dropBeneath(a_.depth() - 2 - base);
        checkResult(kHugeBound, false);
        return a_.top();
    }
    // divParts: pushes [re, im] of x / y.
    Val div(Val x, Val y)
    {
        const int base = a_.depth();
        requireTaxicabAtMost(x, kBigBound);
        requireAtLeast(y, kTinyBound);
        x = keep(x, 3);
        y = keep(y, 3);
        a_.push(y, false); // q = br*br + bi*bi
        a_.fmulSt(0);
        a_.push(y, true);
        a_.fmulSt(0);
        a_.faddp();
        product(x, true, y, false); // im = (ai*br - ar*bi) / q
        product(x, false, y, true);
        a_.fsubp();
        a_.fdivBy(1);
        product(x, false, y, false); // re = (ar*br + ai*bi) / q
        product(x, true, y, true);
        a_.faddp();
        a_.fdivBy(2);
        a_.fstpSt(2); // [im, re]
        a_.fxch1();
        dropBeneath(a_.depth() - 2 - base);
        checkResult(kBigBound, true);
        return a_.top();
    }
    // Pushes one part of x times one part of y, multiplying by a stack entry
    // where either is one (products are exact to swap).
    void product(const Val& x, bool xIm, const Val& y, bool yIm)
    {
        if (y.kind == Val::Stack) {
            a_.push(x, xIm);
            a_.fmulSt(stackIndex(y, yIm));
        } else if (x.kind == Val::Stack) {
            a_.push(y, yIm);
            a_.fmulSt(stackIndex(x, xIm));
        } else {
            a_.push(x, xIm);
            a_.push(y, yIm);
            a_.fmulp();
        }
    }
    int stackIndex(const Val& v, bool im) const { return a_.depth() - 1 - (im ? v.im : v.re); }
    // Pushes [re, im] of x + y or x - y.
    void addSub(const Val& x, const Val& y, bool subtract)
    {
        for (bool im : {true, false}) {
            a_.push(x, im);
            a_.push(y, im);
            if (subtract) a_.fsubp();
            else a_.faddp();
        }
    }

    // Compiles one instruction; where it does not fit in the registers with
    // the accumulator on the stack, the accumulator goes to memory first.
    bool instruction(const Fast& f)
    {
        const Assembler::Mark mark = a_.mark();
        const size_t checks = checked_.size();
        if (instruction(f, false)) return true;
        if (mark.depth != pinned_ + 2) return false; // no accumulator to move

        a_.rewind(mark);
        checked_.resize(checks);
        a_.fstpMem(kRsi, frameOffset(offsetof(NativeFrame, spillR)));
        a_.fstpMem(kRsi, frameOffset(offsetof(NativeFrame, spillI)));
        return instruction(f, true);
    }

    bool instruction(const Fast& f, bool spilled)
    {
        spilled_ = spilled;
        const bool readsAcc = f.ma == Mode::Acc || f.mb == Mode::Acc ||
                              (f.aProduct && f.ma2 == Mode::Acc) ||
                              ((f.op == Op::MulAdd || f.op == Op::MulSub || f.op == Op::SubMul) &&
                               (f.mc == Mode::Acc || (f.cOp != Op::Copy && f.mc2 == Mode::Acc)));
        if (!readsAcc && !spilled) // the accumulator only ever feeds the next instruction
            while (a_.depth() > pinned_) a_.fstpSt(0);
        Val x = operand(f.ma, f.a);
        if (f.aProduct) x = mul(x, operand(f.ma2, f.a2), false);
        const Val y = operand(f.mb, f.b);
        switch (f.op) {
        case Op::Add: addSub(x, y, false); break;
        case Op::Sub: addSub(x, y, true); break;
        case Op::Mul: mul(x, y, false); break;
        case Op::Square: mul(x, x, true); break;
        case Op::Div: div(x, y); break;
        case Op::MulAdd: case Op::MulSub: case Op::SubMul: {
            if (f.cOp != Op::Copy && f.cOp != Op::Add && f.cOp != Op::Sub) return false;
            mul(x, y, false); // [tr, ti]
            const Val k = operand(f.mc, f.c), k2 = operand(f.mc2, f.c2);
            // The addend's imaginary part combines with ti (st2), its real part with tr (st1).
            for (bool im : {true, false}) {
                a_.push(k, im);
                if (f.cOp == Op::Add) { a_.push(k2, im); a_.faddp(); }
                else if (f.cOp == Op::Sub) { a_.push(k2, im); a_.fsubp(); }
                const int into = im ? 2 : 1;
                if (f.op == Op::MulAdd) a_.faddp(into);
                else if (f.op == Op::MulSub) a_.fsubp(into);
                else a_.fsubrp(into);
            }
            break;
        }
        case Op::LoadRe: case Op::LoadIm:
            a_.fldz();
            a_.push(x, f.op == Op::LoadIm);
            break;
        case Op::Copy:
            a_.push(x, true);
            a_.push(x, false);
            break;
        default: // PowInt and anything new stay with the interpreter
            return false;
        }
        if (f.store) {
            const Val dst = operand(Mode::Mem, f.dst);
            std::erase_if(checked_, [&](const auto& k) { return std::get<1>(k) == kRdi && std::get<2>(k) == dst.re; });
            a_.fldSt(0);
            a_.fstpMem(kRdi, dst.re);
            a_.fldSt(1);
            a_.fstpMem(kRdi, dst.im);
        }
        dropBeneath(a_.depth() - 2 - pinned_); // the old accumulator and a folded product
        return a_.ok();
    }

    Assembler a_;
    const int pinned_;
    bool spilled_ = false; // the accumulator of the current instruction is in the frame
    const Complex* values_;
    const std::vector<uint8_t>& constant_; // per slot: a constant of the program
    std::vector<std::tuple<int, int, int32_t, size_t>> checked_;
};

} // namespace

bool assembleNativeEntry(const Program::Fast* begin, const Program::Fast* end, const Complex* values,
                         const std::vector<uint8_t>& constant, std::vector<uint8_t>& out)
{
    if (!nativeCodeSupported()) return false;
    const size_t mark = out.size();
    for (bool pin : {true, false}) {
        EntryCompiler c(out, pin, values, constant);
        if (c.compile(begin, end)) return true;
        out.resize(mark);
    }
    return false;
}

bool assembleNativeOrbit(const Program::Fast* begin, const Program::Fast* end, const Complex* values,
                         const std::vector<uint8_t>& constant, int discs, std::vector<uint8_t>& out)
{
    if (!nativeCodeSupported() || discs < 0 || discs > 64) return false;
    const size_t mark = out.size();
    EntryCompiler c(out, true, values, constant);
    if (c.compileOrbit(begin, end, discs)) return true;
    out.resize(mark);
    return false;
}

} // namespace qx
