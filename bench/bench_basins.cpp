// The Newton basins of z^3 - 2z + 2 at 1024 x 768 (centre 0, half-width 2,
// 400 repetitions, the three roots as point targets of radius 0.01) through
// the complex dynamic plane's real sweep, against a hand-written long double
// Newton loop with the same target test over the same pixels. x_ref is the
// best time per picture over the hand loop's best, measured in the same run
// (thread processor clock for one thread, wall clock for the sweeps, which
// also report their speed-up over one thread).
#include "expr/arith.h"
#include "model/fake_host.h"
#include "tools/maps/tdycwin.h"
#include "tools/maps/tparwin.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <complex>
#include <ctime>
#include <thread>
#include <vector>

namespace {

using qx::Real;

constexpr int kW = 1024, kH = 768, kReps = 400;
constexpr Real kHalfWidth = 2;
constexpr Real kPitch = 2 * kHalfWidth / (kW - 1);
constexpr Real kX0 = -kHalfWidth;
constexpr Real kY0 = (kH - 1) * kPitch / 2;
const std::complex<long double> kRoots[3] = {{-1.76929235423863L, 0},
                                             {0.884646177119316L, 0.589742805022206L},
                                             {0.884646177119316L, -0.589742805022206L}};
constexpr Real kR2 = 0.01L * 0.01L;

// The hand loops over the picture, the lowest-index root first; step(zr, zi)
// makes one Newton step in place and returns false when it fails.
template <typename Step>
__attribute__((always_inline)) inline int64_t newtonPicture(Step step)
{
    int64_t total = 0;
    for (int r = 0; r < kH; ++r) {
        const long double y = kY0 - r * kPitch;
        for (int c = 0; c < kW; ++c) {
            long double zr = kX0 + c * kPitch, zi = y;
            int n = 0, found = 3;
            for (; n < kReps; ++n) {
                for (int t = 0; t < 3; ++t) {
                    const long double dx = zr - kRoots[t].real(), dy = zi - kRoots[t].imag();
                    if (dx * dx + dy * dy < kR2) {
                        found = t;
                        break;
                    }
                }
                if (found < 3 || !step(zr, zi))
                    break;
            }
            total += n + 1000 * found;
        }
    }
    return total;
}

// Newton's step written out: z - (z^3 - 2z + 2) / (3z^2 - 2).
__attribute__((noinline)) int64_t referencePicture()
{
    return newtonPicture([](long double& zr, long double& zi) {
        const long double z2r = zr * zr - zi * zi, z2i = 2 * zr * zi;
        const long double pr = z2r * zr - z2i * zi - 2 * zr + 2, pi = z2r * zi + z2i * zr - 2 * zi;
        const long double dr = 3 * z2r - 2, di = 3 * z2i;
        const long double den = dr * dr + di * di;
        zr -= (pr * dr + pi * di) / den;
        zi -= (pi * dr - pr * di) / den;
        return true;
    });
}

// The map as the window builds it, z - (z*z*z - 2*z + 2) / (z*z + z*(z+z) - 2),
// each operation through the expression language's checked arithmetic
// (mulParts, divParts) but written out, with no interpreter: what the fast
// expression form could reach at best. x_ref is against the loop above.
__attribute__((noinline)) int64_t checkedPicture()
{
    return newtonPicture([](long double& zr, long double& zi) {
        Real ar, ai, br, bi, tr, ti, ur, ui, qr, qi;
        bool ok = qx::mulParts(zr, zi, zr, zi, ar, ai) && qx::mulParts(ar, ai, zr, zi, br, bi) &&
                  qx::mulParts(2, 0, zr, zi, tr, ti);
        const Real nr = br - tr + 2, ni = bi - ti;
        ok = ok && qx::mulParts(zr, zi, zr, zi, ar, ai) && qx::mulParts(zr, zi, zr + zr, zi + zi, ur, ui);
        const Real dr = ar + ur - 2, di = ai + ui;
        ok = ok && qx::divParts(nr, ni, dr, di, qr, qi);
        if (!ok || !std::isfinite(zr - qr) || !std::isfinite(zi - qi))
            return false;
        zr -= qr;
        zi -= qi;
        return true;
    });
}

using bench::Clock;

template <typename Body>
double runPictures(benchmark::State& state, Clock clock, Body body)
{
    return bench::runPictures(state, clock, [] { return referencePicture(); }, body);
}

// A complex dynamic plane set up as the hand loop.
struct Window {
    qx::FakeHost host;
    qx::TDycWin win{qx::TDycWin::Empty{}};
    Window()
    {
        win.attach(host);
        win.resize(kW, kH);
        win.setMapping("Newton(zzz-2z+2=0)");
        win.setTargets({qx::pointTarget("-1.76929235423863", "0.01"),
                        qx::pointTarget("0.884646177119316+0.589742805022206i", "0.01"),
                        qx::pointTarget("0.884646177119316-0.589742805022206i", "0.01")});
        win.setView(0, 0, kHalfWidth);
        win.setMaxReps(kReps);
        win.prepareTargets();
    }
};

void BM_HandNewtonLoop(benchmark::State& state)
{
    runPictures(state, Clock::Thread, [] { benchmark::DoNotOptimize(referencePicture()); });
}

void BM_CheckedNewtonLoop(benchmark::State& state)
{
    runPictures(state, Clock::Thread, [] { benchmark::DoNotOptimize(checkedPicture()); });
}

// The window's kernel on the calling thread, pixel by pixel; with argument 1
// it has an interrupt flag to look at, as in every sweep (the checks' cost).
void BM_KernelOneThread(benchmark::State& state)
{
    static const std::atomic<bool> never{false};
    Window w;
    const auto kernel = w.win.makeKernel();
    if (state.range(0))
        kernel->setStopFlag(&never);
    const qx::SweepGeometry g = w.win.sweepGeometry();
    runPictures(state, Clock::Thread, [&] {
        int64_t total = 0;
        for (int r = 0; r < kH; ++r)
            for (int c = 0; c < kW; ++c)
                total += kernel->colourAt(g.x0 + c * g.pitchX, g.y0 - r * g.pitchY, c, r).code;
        benchmark::DoNotOptimize(total);
    });
}

// The real threaded sweep (argument: threads, 0 = one per core).
void BM_WindowSweep(benchmark::State& state)
{
    Window w;
    bench::sweepWindow(state, [] { return referencePicture(); }, w.win, static_cast<int>(state.range(0)));
}

// The Cubic 2-cycle family: its parameter plane (the seed and the 2-cycle
// target worked out again for every pixel) against the dynamic plane of one
// member (c = 0.5 + 0.5i), each at 1024 x 768 on one thread. Reports the
// time per pixel in nanoseconds.
template <typename Win>
void familyPicture(benchmark::State& state, Win& win)
{
    qx::FakeHost host;
    win.attach(host);
    win.resize(kW, kH);
    win.prepareTargets();
    const double t = bench::sweepWindow(state, [] { return referencePicture(); }, win, 1);
    state.counters["ns_per_pixel"] = t * 1e9 / (kW * kH);
}

void BM_CubicTwoCycleParameterPlane(benchmark::State& state)
{
    qx::TPpcWin win{qx::TPpcWin::Empty{}};
    win.applyExample(3);
    familyPicture(state, win);
}

void BM_CubicTwoCycleDynamicPlane(benchmark::State& state)
{
    qx::TDycWin win{qx::TDycWin::Empty{}};
    win.setVariable(qx::kSlotC, {0.5L, 0.5L});
    win.setMapping("zzz-(cc+2+1/(cc))(z/3)+(2ccc/27)+(5c/9)-4/(9c)+2/(27ccc)");
    win.setTargets({qx::infinityTarget("100", 3), qx::pointTarget("(c/3)+1/(3c)", "0.000001")});
    win.setView(0, 0, 2);
    familyPicture(state, win);
}

} // namespace

BENCHMARK(BM_CubicTwoCycleParameterPlane)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_CubicTwoCycleDynamicPlane)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_HandNewtonLoop)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CheckedNewtonLoop)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KernelOneThread)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WindowSweep)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
