// The one-dimensional tools against hand-written loops, in the same run.
//
// Lyapunov: the default picture (string AB, 300 transients, 2000
// calculations, the square [0, 4]^2) at 1024 x 768 through the window's
// kernel and the real sweep, against a long double loop over the same
// pixels that sums the same exponent the same way (the logarithm of a
// product of |1 - 2x|, renormalised every 16 steps, plus the ln r counted by
// letters). x_ref is the best time over the loop's best (thread processor
// clock on one thread, wall clock for the sweeps, which also report their
// speed-up over one thread).
//
// Bifurcation: the default left-to-right pass (rx(1-x), r in [1, 4], x in
// [0, 1], 100 skipped and 100 plotted points, density 1) at 1024 x 768, the
// map evaluated through the fast expression form, against a hand loop with
// the same settling test and the same plotting into a buffer, once with the
// map written out (x_ref) and once with the map evaluated through the fast
// expression form (x_program: the pass's own cost over the evaluations it
// must make); and the whole window drawing it (job, figure, overlay,
// picture).
#include "expr/compiler.h"
#include "expr/program.h"
#include "model/fake_host.h"
#include "tools/oned/tbifwin.h"
#include "tools/oned/tlyawin.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

using qx::Real;
using bench::Clock;

constexpr int kW = 1024, kH = 768;

// ---- Lyapunov.

struct LyaWindow : qx::TLyaWin {
    using qx::TLya0Win::geometry;
};

// One pixel's exponent, written out for the string AB.
inline long double handExponent(long double a, long double b)
{
    long double x = 0.5L;
    for (int i = 0; i < 300; ++i)
        x = (i & 1 ? b : a) * x * (1 - x);
    long double product = 1;
    long long binaryExponent = 0;
    for (int i = 0; i < 2000; ++i) {
        const long double d = std::fabs(1 - 2 * x);
        product *= d > 0 ? d : 1;
        if ((i & 15) == 15) {
            int e = 0;
            product = std::frexp(product, &e);
            binaryExponent += e;
        }
        x = (i & 1 ? b : a) * x * (1 - x);
    }
    const long double sum = 1000 * std::log(a) + 1000 * std::log(b) + std::log(product) +
                            static_cast<long double>(binaryExponent) * std::log(2.0L);
    return sum / 2000 / std::log(2.0L);
}

__attribute__((noinline)) long double lyapunovReference()
{
    static const qx::SweepGeometry g = [] {
        LyaWindow w;
        w.resize(kW, kH);
        return w.geometry();
    }();
    long double total = 0;
    for (int r = 0; r < kH; ++r)
        for (int c = 0; c < kW; ++c) {
            const long double a = std::min<long double>(g.x0 + c * g.pitchX, 4);
            const long double b = std::clamp<long double>(g.y0 - r * g.pitchY, 0, 4);
            if (a > 0 && b > 0)
                total += handExponent(a, b);
        }
    return total;
}

void BM_LyapunovHandLoop(benchmark::State& state)
{
    bench::runPictures(state, Clock::Thread, [] { return lyapunovReference(); },
                       [] { benchmark::DoNotOptimize(lyapunovReference()); });
}

// The real sweep of the window's kernel (argument: threads, 0 = one per core).
void BM_LyapunovSweep(benchmark::State& state)
{
    qx::FakeHost host;
    LyaWindow w;
    w.attach(host);
    w.resize(kW, kH);
    const auto kernel = w.makeKernel();
    const qx::SweepGeometry g = w.geometry();
    qx::SweepOptions options;
    const int threads = static_cast<int>(state.range(0));
    options.threads = threads;
    qx::Image image(g.width, g.height);
    std::vector<int32_t> codes;
    bench::sweepPictures(state, [] { return lyapunovReference(); },
                         [&] { qx::runSweep(image, &codes, g, options, *kernel); }, threads);
}

// ---- Bifurcation.

long nearestPixel(long double v)
{
    return std::lround(v); // the window's rounding differs only at exact halves
}

// The hand loop, with the map given as step(r, x).
template <typename Step>
__attribute__((always_inline)) inline int64_t bifurcationLoop(Step step)
{
    static std::vector<uint32_t> image(static_cast<size_t>(kW) * kH);
    std::fill(image.begin(), image.end(), 0);
    const long double xMin = 1, xMax = 4, yMin = 0, yMax = 1;
    const long double dy = (yMax - yMin) / (kH - 1), invDx = (kW - 1) / (xMax - xMin);
    const long long n = kW;
    const long double dr = (xMax - xMin) / n, tolerance = 0.6L * dy;
    int64_t plotted = 0;
    for (long long i = 0; i <= n; ++i) {
        const long double r = i == n ? xMax : xMin + i * dr;
        const long px = nearestPixel(invDx * (r - xMin));
        long double x = 0.3L;
        bool bounded = true;
        for (int k = 0; k < 100 && bounded; ++k) {
            x = step(r, x);
            bounded = x >= -10000 && x <= 10000;
        }
        int count = 100;
        if (bounded) {
            const long double x1 = x, x2 = step(r, x1), x3 = step(r, x2);
            x = x2;
            if (std::fabs(x2 - x3) < tolerance)
                count = 1;
            else if (std::fabs(x1 - x3) < tolerance)
                count = 2;
        }
        for (int k = 0; k < count && bounded; ++k) {
            const long py = nearestPixel((yMax - x) / dy);
            if (py >= 0 && py < kH && px >= 0 && px < kW) {
                image[static_cast<size_t>(py) * kW + static_cast<size_t>(px)] = 0xFFFFFF;
                ++plotted;
            }
            x = step(r, x);
            bounded = x >= -10000 && x <= 10000;
        }
    }
    return plotted;
}

__attribute__((noinline)) int64_t bifurcationReference()
{
    return bifurcationLoop([](long double r, long double x) { return r * x * (1 - x); });
}

constexpr int kSlotR = 'R' - 'A' + 1; // the variable table: @, A..Z

// The same loop with the map compiled as the window compiles it and
// evaluated through the fast expression form, as the pass does.
struct ProgramMap {
    qx::Program p;
    ProgramMap()
    {
        qx::ExprContext cx(false);
        qx::TreePtr tree;
        if (qx::CompileExpression(cx, "rx(1-x)", tree) == 0)
            p = qx::Program::compile(cx.env, {tree.get()});
        p.bindSlots(qx::kSlotX);
    }
};

__attribute__((noinline)) int64_t bifurcationProgramLoop(qx::Program& p)
{
    long double lastR = -1;
    return bifurcationLoop([&](long double r, long double x) {
        if (r != lastR) {
            p.setVariable(kSlotR, {r, 0});
            lastR = r;
        }
        qx::Complex out;
        return p.evaluateBound(0, {x, 0}, {}, out) ? out.re : 0.0L;
    });
}

void BM_BifurcationHandLoop(benchmark::State& state)
{
    bench::runPictures(state, Clock::Wall, [] { return bifurcationReference(); },
                       [] { benchmark::DoNotOptimize(bifurcationReference()); });
}

// The hand loop through the fast expression form.
void BM_BifurcationHandProgramLoop(benchmark::State& state)
{
    ProgramMap m;
    if (bifurcationProgramLoop(m.p) != bifurcationReference())
        state.SkipWithError("the program loop plots other points");
    bench::runPictures(state, Clock::Wall, [] { return bifurcationReference(); },
                       [&] { benchmark::DoNotOptimize(bifurcationProgramLoop(m.p)); });
}

struct BifWindow {
    qx::FakeHost host;
    qx::TBifWin win{false};
    BifWindow()
    {
        win.attach(host);
        win.resize(kW, kH);
        win.applyDefault(0);
        win.applyTexts({"100", "100", "1", "0.3"});
    }
};

// The pass alone (the map through the fast expression form), its points
// plotted into a buffer as the hand loop does.
void BM_BifurcationPass(benchmark::State& state)
{
    BifWindow w;
    static std::vector<uint32_t> image(static_cast<size_t>(kW) * kH);
    const qx::View& v = w.win.view();
    ProgramMap m;
    const double programLoop = bench::referenceSeconds(Clock::Wall, [&] { return bifurcationProgramLoop(m.p); });
    const double best = bench::runPictures(state, Clock::Wall, [] { return bifurcationReference(); }, [&] {
        std::fill(image.begin(), image.end(), 0);
        w.win.diagramPass(nullptr, [&](std::vector<qx::WorldPoint>& points, long long, long long) {
            for (const qx::WorldPoint& p : points) {
                const long px = nearestPixel(v.xToPixelF(p.x)), py = nearestPixel(v.yToPixelF(p.y));
                if (px >= 0 && px < kW && py >= 0 && py < kH)
                    image[static_cast<size_t>(py) * kW + static_cast<size_t>(px)] = 0xFFFFFF;
            }
        });
    });
    state.counters["x_program"] = best / programLoop;
}

// The whole window: its drawing job plotting on the figure, the overlay
// curve, and the picture composed.
void BM_BifurcationWindowPass(benchmark::State& state)
{
    BifWindow w;
    bench::runPictures(state, Clock::Wall, [] { return bifurcationReference(); }, [&] {
        w.win.draw();
        qx::paintAndFinish(w.win);
    });
}

} // namespace

BENCHMARK(BM_LyapunovHandLoop)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LyapunovSweep)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_BifurcationHandLoop)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_BifurcationHandProgramLoop)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_BifurcationPass)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_BifurcationWindowPass)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

BENCHMARK_MAIN();
