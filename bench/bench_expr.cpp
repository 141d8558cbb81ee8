// The expression evaluator against hand-written loops doing the same checked
// arithmetic in long double: Mandelbrot orbits of zz+c in complex mode and the
// Henon pair (y+1-1.4xx, 0.3x) in real mode. Prints the ratios at the end.
#include "expr/arith.h"
#include "expr/compiler.h"
#include "expr/program.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

using namespace qx;

namespace {

constexpr int kOrbitLength = 500;
constexpr int kGrid = 24;

// Parameters c on a grid over the Mandelbrot set's neighbourhood.
Complex gridPoint(int k)
{
    return {-2.0L + 2.5L * (k % kGrid) / kGrid, -1.25L + 2.5L * (k / kGrid) / kGrid};
}

void MandelbrotHand(benchmark::State& state)
{
    long steps = 0;
    for (auto _ : state) {
        for (int k = 0; k < kGrid * kGrid; ++k) {
            const Complex c = gridPoint(k);
            Complex z{0, 0};
            for (int n = 0; n < kOrbitLength; ++n, ++steps) {
                Complex t;
                if (!mulComplex(z, z, t)) break;
                z = {t.re + c.re, t.im + c.im};
                if (taxicab(z) > 4) break;
            }
            benchmark::DoNotOptimize(z);
        }
    }
    state.counters["steps/s"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
}

void MandelbrotProgram(benchmark::State& state)
{
    ExprContext cx(true);
    TreePtr tree;
    if (CompileExpression(cx, "zz+c", tree)) state.SkipWithError("compile");
    Program p = Program::compile(cx.env, {tree.get()});
    p.bindSlots(kSlotZ);
    long steps = 0;
    for (auto _ : state) {
        for (int k = 0; k < kGrid * kGrid; ++k) {
            p.setVariable(3, gridPoint(k));
            Complex z{0, 0};
            for (int n = 0; n < kOrbitLength; ++n, ++steps) {
                Complex next;
                if (!p.evaluateBoundIn<true>(0, z, z, next)) break;
                z = next;
                if (taxicab(z) > 4) break;
            }
            benchmark::DoNotOptimize(z);
        }
    }
    state.counters["steps/s"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
}

void HenonHand(benchmark::State& state)
{
    for (auto _ : state) {
        Real x = 0, y = 0;
        for (int n = 0; n < 100000; ++n) {
            Real a, b, d;
            if (!mulReal(1.4L, x, a) || !mulReal(a, x, b) || !mulReal(0.3L, x, d)) break;
            const Real nx = y + 1 - b;
            y = d;
            x = nx;
        }
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
    }
}

void HenonProgram(benchmark::State& state)
{
    ExprContext cx(false);
    TreePtr fx, fy;
    if (CompileExpression(cx, "y+1-1.4xx", fx) || CompileExpression(cx, "0.3x", fy))
        state.SkipWithError("compile");
    Program p = Program::compile(cx.env, {fx.get(), fy.get()});
    p.bindSlots(kSlotX, kSlotY);
    for (auto _ : state) {
        Real x = 0, y = 0;
        for (int n = 0; n < 100000; ++n) {
            Complex nx, ny;
            if (!p.evaluateBoundIn<false>(0, {x, 0}, {y, 0}, nx) ||
                !p.evaluateBoundIn<false>(1, {x, 0}, {y, 0}, ny))
                break;
            x = nx.re;
            y = ny.re;
        }
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
    }
}

// Keeps each benchmark's time per iteration so that ratios can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                times_[r.run_name.function_name] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void printRatio(const char* label, const char* program, const char* hand)
    {
        if (times_.count(program) && times_.count(hand))
            std::printf("%s: evaluator / hand-written (CPU time) = %.2f\n", label, times_[program] / times_[hand]);
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

BENCHMARK(MandelbrotHand)->Unit(benchmark::kMillisecond);
BENCHMARK(MandelbrotProgram)->Unit(benchmark::kMillisecond);
BENCHMARK(HenonHand)->Unit(benchmark::kMillisecond);
BENCHMARK(HenonProgram)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("zz+c along Mandelbrot orbits", "MandelbrotProgram", "MandelbrotHand");
    reporter.printRatio("Henon pair y+1-1.4xx, 0.3x", "HenonProgram", "HenonHand");
    benchmark::Shutdown();
    return 0;
}
