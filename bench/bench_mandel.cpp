// Mandelbrot kernel against the plainest long double loop over the same
// picture: the default view (centre (-0.75, 0), half-width 1.4) at 1024 x 768,
// threshold 4, 400 repetitions. Every benchmark reports x_ref, its best time
// per picture over the reference's best, measured in the same run: on the
// calling thread's processor clock for the one-thread kernels (so other
// work on the machine does not count), on the wall clock for the threaded
// sweeps.
#include "model/fake_host.h"
#include "tools/mandel/mj_kernel.h"
#include "tools/mandel/tmanwin.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <cstdint>
#include <ctime>
#include <vector>

namespace {

using qx::Real;

constexpr int kW = 1024, kH = 768;
constexpr Real kCentreX = -0.75L, kHalfWidth = 1.4L;
constexpr Real kPitch = 2 * kHalfWidth / (kW - 1);
constexpr Real kX0 = kCentreX - kHalfWidth;
constexpr Real kY0 = (kH - 1) * kPitch / 2;

// The reference: one pixel after another, nothing clever.
__attribute__((noinline)) int64_t referencePicture()
{
    int64_t total = 0;
    for (int r = 0; r < kH; ++r) {
        const long double ci = kY0 - r * kPitch;
        for (int c = 0; c < kW; ++c) {
            const long double cr = kX0 + c * kPitch;
            long double zr = 0, zi = 0;
            int n = 0;
            while (n < 400) {
                const long double zr2 = zr * zr, zi2 = zi * zi;
                if (zr2 + zi2 > 4)
                    break;
                zi = 2 * zr * zi + ci;
                zr = zr2 - zi2 + cr;
                ++n;
            }
            total += n;
        }
    }
    return total;
}

using bench::Clock;

qx::MJColours benchColours()
{
    qx::MJColours c;
    for (uint32_t i = 0; i <= 80; ++i)
        c.table.push_back(i % 80);
    return c;
}


template <typename Body>
double runPictures(benchmark::State& state, Clock clock, Body body)
{
    return bench::runPictures(state, clock, [] { return referencePicture(); }, body);
}

void BM_Reference(benchmark::State& state)
{
    runPictures(state, Clock::Thread, [] { benchmark::DoNotOptimize(referencePicture()); });
}

void kernelPicture(bool paired, bool shortcut, const std::atomic<bool>* stop = nullptr)
{
    qx::MJKernel kernel(qx::defaultParams(false), benchColours(), kPitch);
    kernel.setInteriorShortcut(shortcut);
    kernel.setStopFlag(stop);
    std::vector<qx::PixelColour> row(kW);
    for (int r = 0; r < kH; ++r) {
        const Real y = kY0 - r * kPitch;
        if (paired)
            kernel.colourRow(kX0, kPitch, y, kW, row.data());
        else
            kernel.colourRowSingle(kX0, kPitch, y, kW, row.data());
        benchmark::DoNotOptimize(row.data());
    }
}

// One pixel after another, every pixel iterated: the kernel's own overhead.
void BM_KernelSingle(benchmark::State& state)
{
    runPictures(state, Clock::Thread, [] { kernelPicture(false, false); });
}

// Two pixels at a time, every pixel iterated.
void BM_KernelPaired(benchmark::State& state)
{
    runPictures(state, Clock::Thread, [] { kernelPicture(true, false); });
}

// Two at a time, with the provable cardioid and bulb interior coloured
// without iterating (the window's setting).
void BM_KernelPairedShortcut(benchmark::State& state)
{
    runPictures(state, Clock::Thread, [] { kernelPicture(true, true); });
}

// The same with an interrupt flag to look at (as every sweep has): the cost
// of the checks is this time over the one above.
void BM_KernelPairedShortcutWithStopFlag(benchmark::State& state)
{
    static const std::atomic<bool> never{false};
    runPictures(state, Clock::Thread, [] { kernelPicture(true, true, &never); });
}

// A default Mandelbrot window of the benchmark's size, ready to render.
struct Window {
    qx::FakeHost host;
    qx::TManWin win;
    Window()
    {
        win.attach(host);
        win.resize(kW, kH);
    }
};

// The window's kernel through the real threaded sweep over every row (no
// symmetry), so the pixels are the reference's. Reports the speed-up over
// one thread in the runs with more.
void BM_WindowSweepWhole(benchmark::State& state)
{
    Window w;
    bench::sweepWindow(state, [] { return referencePicture(); }, w.win, static_cast<int>(state.range(0)));
}

// The same at 2048 x 1536, where two threads should be nearly twice as fast
// as one (x_ref is against the 1024 x 768 reference, for scale only).
void BM_WindowSweepLarge(benchmark::State& state)
{
    Window w;
    w.win.resize(2 * kW, 2 * kH);
    bench::sweepWindow(state, [] { return referencePicture(); }, w.win, static_cast<int>(state.range(0)));
}

// What a user waits for: "Draw" in the window, which also mirrors the lower
// half of this view instead of computing it.
void BM_WindowRender(benchmark::State& state)
{
    Window w;
    w.win.setSweepThreads(static_cast<int>(state.range(0)));
    runPictures(state, Clock::Wall, [&] {
        w.win.draw();
        w.win.paint();
        w.win.finishRendering();
    });
}

} // namespace

BENCHMARK(BM_Reference)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KernelSingle)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KernelPaired)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KernelPairedShortcut)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KernelPairedShortcutWithStopFlag)->Unit(benchmark::kMillisecond)->Iterations(3);
// Argument: worker threads, 0 = one per core.
BENCHMARK(BM_WindowSweepWhole)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_WindowSweepLarge)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_WindowRender)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
