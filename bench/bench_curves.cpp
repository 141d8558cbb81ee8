// The chaos game and box counting against hand-written loops, same run.
//
// Chaos game: 10^7 points of the Barnsley fern (the real IFS tool's preset:
// four affine maps from triangles, weights 1, 30, 5, 5) at 1024 x 768 through
// the window's drawing job, the maps going through the fast expression form,
// against a long double loop of the same affine coefficients with the same
// selection table and random numbers, plotting into a buffer. x_ref is the
// best time over the loop's best (wall clock).
//
// Box counting: a 1024 x 1024 bitmap (a Sierpinski triangle of pixels)
// counted at the eleven box sizes, against one pass over its pixels
// comparing each with the background (x_ref), in milliseconds.
#include "model/fake_host.h"
#include "tools/curves/tbmpwin.h"
#include "tools/ifs/tifswin.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

using qx::Real;
using bench::Clock;

constexpr int kW = 1024, kH = 768;
constexpr long long kPoints = 10'000'000;

struct FernWindow {
    qx::FakeHost host;
    qx::TIfrWin win{false};
    FernWindow()
    {
        win.setWriteSettings(false);
        win.attach(host);
        win.resize(kW, kH);
        win.setRandomSeed(1);
        win.applyPreset(557);
        win.setBatch(std::to_string(kPoints));
    }
};

// The hand loop: the fern's affine maps written out as coefficients.
__attribute__((noinline)) long long handFern(const std::vector<qx::Affine>& maps, const std::vector<int16_t>& table,
                                             const qx::View& v)
{
    static std::vector<uint32_t> image(static_cast<size_t>(kW) * kH);
    std::mt19937 rng(1);
    long double x = 0, y = 0;
    long long plotted = 0;
    for (long long k = 0; k < kPoints; ++k) {
        const qx::Affine& m = maps[static_cast<size_t>(table[(rng() >> 1) % table.size()])];
        const long double nx = m.a * x + m.b * y + m.e, ny = m.c * x + m.d * y + m.f;
        x = nx;
        y = ny;
        if (x >= v.xMin && x <= v.xMax && y >= v.yMin && y <= v.yMax) {
            const auto px = static_cast<size_t>((x - v.xMin) * v.invDx), py = static_cast<size_t>((v.yMax - y) * v.invDy);
            image[py * kW + px] = 0xFFFFFF;
            ++plotted;
        }
    }
    return plotted;
}

long long fernReference()
{
    static FernWindow w;
    static const std::vector<qx::Affine> maps = [] {
        std::vector<qx::Affine> m;
        for (const qx::IfsMap& map : w.win.maps())
            m.push_back(qx::affineFromTriangles(w.win.reference(), map.image));
        return m;
    }();
    static const std::vector<int16_t> table = qx::selectionTable(w.win.maps());
    return handFern(maps, table, w.win.view());
}

void BM_FernHandLoop(benchmark::State& state)
{
    bench::runPictures(state, Clock::Wall, [] { return fernReference(); },
                       [] { benchmark::DoNotOptimize(fernReference()); });
}

void BM_FernWindowJob(benchmark::State& state)
{
    FernWindow w;
    bench::runPictures(state, Clock::Wall, [] { return fernReference(); }, [&] {
        w.win.draw();
        qx::paintAndFinish(w.win);
    });
}

// ---- Box counting.

qx::Image sierpinski()
{
    qx::Image p(1024, 1024, 0xFFFFFF);
    for (int r = 0; r < 1024; ++r)
        for (int c = 0; c < 1024; ++c)
            if ((c & r) == 0)
                p.set(c, r, 0);
    return p;
}

__attribute__((noinline)) long long onePass()
{
    static const qx::Image p = sierpinski();
    const qx::Rgb background = p.at(3, 3);
    long long n = 0;
    for (int r = 0; r < p.height; ++r)
        for (int c = 0; c < p.width; ++c)
            n += p.at(c, r) != background;
    return n;
}

void BM_BoxCount1024(benchmark::State& state)
{
    qx::FakeHost host;
    qx::TBMPWin win;
    win.setWriteSettings(false);
    win.attach(host);
    win.setBitmap(sierpinski(), "sierpinski");
    bench::runPictures(state, Clock::Wall, [] { return onePass(); }, [&] {
        win.startBoxCount();
        win.finishSideJob();
    });
}

} // namespace

BENCHMARK(BM_FernHandLoop)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_FernWindowJob)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_BoxCount1024)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

BENCHMARK_MAIN();
