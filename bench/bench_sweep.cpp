// The pixel sweep: cost per pixel over a bare loop, and speed-up with threads.
//
// BM_ReferenceLoop      the same pixels written by a plain loop on one thread
//                       (no kernel call, no threads): the floor.
// BM_SweepTrivial/N     the sweep with a trivial colour function on N threads;
//                       its time per pixel minus the reference is the sweep's
//                       overhead per pixel.
// BM_SweepEscape/N      the sweep with a 200-step escape-time colour function,
//                       where the work per pixel dominates: the speed-up
//                       from 1 to N threads.
#include "model/pixel_sweep.h"

#include <benchmark/benchmark.h>

#include <thread>

using namespace qx;

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

class TrivialKernel : public PixelKernel {
public:
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<TrivialKernel>(); }
    PixelValue colourAt(Real, Real, int col, int row) override
    {
        return {static_cast<Rgb>(col ^ row), col};
    }
};

class EscapeKernel : public PixelKernel {
public:
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<EscapeKernel>(); }
    PixelValue colourAt(Real x, Real y, int, int) override
    {
        Real zr = 0, zi = 0;
        int n = 0;
        while (n < 200 && zr * zr + zi * zi <= 4) {
            const Real t = zr * zr - zi * zi + x;
            zi = 2 * zr * zi + y;
            zr = t;
            ++n;
        }
        return {static_cast<Rgb>(n * 0x010203), n};
    }
};

SweepGeometry geometry()
{
    const Real pitch = 3.0L / (kWidth - 1);
    return {kWidth, kHeight, -2.0L, pitch * (kHeight - 1) / 2, pitch, pitch};
}

void reportPixels(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// The same positions, colours and codes written by one plain loop: no
// threads, no kernel call, nothing shared.
void BM_ReferenceLoop(benchmark::State& state)
{
    Image image(kWidth, kHeight);
    std::vector<int32_t> codes(static_cast<size_t>(kWidth) * kHeight);
    const SweepGeometry g = geometry();
    std::vector<Real> xs(kWidth);
    for (auto _ : state) {
        for (int c = 0; c < kWidth; ++c)
            xs[static_cast<size_t>(c)] = g.x0 + c * g.pitchX;
        for (int r = 0; r < kHeight; ++r) {
            const Real y = g.y0 - r * g.pitchY;
            benchmark::DoNotOptimize(y);
            Rgb* row = image.row(r);
            int32_t* code = codes.data() + static_cast<size_t>(r) * kWidth;
            for (int c = 0; c < kWidth; ++c) {
                benchmark::DoNotOptimize(xs[static_cast<size_t>(c)]);
                row[c] = static_cast<Rgb>(c ^ r) | kOpaque;
                code[c] = c;
            }
        }
        benchmark::ClobberMemory();
    }
    reportPixels(state);
}

template <class Kernel> void sweepBench(benchmark::State& state)
{
    Image image(kWidth, kHeight);
    std::vector<int32_t> codes;
    SweepOptions options;
    options.threads = static_cast<int>(state.range(0));
    const Kernel kernel;
    for (auto _ : state)
        if (runSweep(image, &codes, geometry(), options, kernel) != 0)
            state.SkipWithError("sweep failed");
    reportPixels(state);
}

void BM_SweepTrivial(benchmark::State& state) { sweepBench<TrivialKernel>(state); }
void BM_SweepEscape(benchmark::State& state) { sweepBench<EscapeKernel>(state); }

void threadCounts(benchmark::internal::Benchmark* b)
{
    const int cores = std::max(1u, std::thread::hardware_concurrency());
    for (int n = 1; n <= cores; n *= 2)
        b->Arg(n);
    if ((cores & (cores - 1)) != 0)
        b->Arg(cores);
}

} // namespace

BENCHMARK(BM_ReferenceLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SweepTrivial)->Apply(threadCounts)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SweepEscape)->Apply(threadCounts)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
