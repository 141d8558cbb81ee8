#pragma once
// What the picture benchmarks share: the clocks, the best of three runs of a
// reference picture, and x_ref (a body's best time over the reference's).
#include "model/tfmjwin.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>
#include <vector>

namespace bench {

enum class Clock { Thread, Wall };

inline double now(Clock clock)
{
    if (clock == Clock::Wall)
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

// The best of three runs of `reference` on a clock, measured once per program.
template <typename Reference>
double referenceSeconds(Clock clock, Reference reference)
{
    static double best[2] = {0, 0};
    double& b = best[static_cast<int>(clock)];
    if (b == 0) {
        b = 1e30;
        for (int i = 0; i < 3; ++i) {
            const double t0 = now(clock);
            benchmark::DoNotOptimize(reference());
            b = std::min(b, now(clock) - t0);
        }
    }
    return b;
}

// Runs `body` once per iteration; reports its best time over the
// reference's (x_ref) and returns that best time in seconds.
template <typename Reference, typename Body>
double runPictures(benchmark::State& state, Clock clock, Reference reference, Body body)
{
    const double ref = referenceSeconds(clock, reference);
    double best = 1e30;
    for (auto _ : state) {
        const double t0 = now(clock);
        body();
        best = std::min(best, now(clock) - t0);
    }
    state.counters["x_ref"] = best / ref;
    state.counters["ref_ms"] = ref * 1e3;
    return best;
}

// Times a threaded sweep of `kernel` over `geometry` (argument 0 of the
// benchmark: threads, 0 = one per core) and reports the speed-up over the
// one-thread run of the same benchmark; returns the best time.
template <typename Reference, typename Sweep>
double sweepPictures(benchmark::State& state, Reference reference, Sweep sweep, int threads)
{
    static double oneThread = 0;
    const double t = runPictures(state, Clock::Wall, reference, sweep);
    state.counters["threads"] = threads ? threads : std::thread::hardware_concurrency();
    if (threads == 1)
        oneThread = t;
    else if (oneThread > 0)
        state.counters["speedup"] = oneThread / t;
    return t;
}

// The window's own kernel through the real sweep over every row (no
// symmetry), on `threads` workers (0: one per core); returns the best time.
template <typename Reference>
double sweepWindow(benchmark::State& state, Reference reference, const qx::TFMJWin& win, int threads)
{
    const auto kernel = win.makeKernel();
    const qx::SweepGeometry g = win.sweepGeometry();
    qx::SweepOptions options;
    options.threads = threads;
    qx::Image image(g.width, g.height);
    std::vector<int32_t> codes;
    return sweepPictures(state, reference, [&] { qx::runSweep(image, &codes, g, options, *kernel); }, threads);
}

} // namespace bench
