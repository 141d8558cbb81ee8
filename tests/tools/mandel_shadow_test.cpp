#include "mandel_test_support.h"
#include "tools/mandel/mj_escape.h"
#include "tools/mandel/mj_shadow.h"
#include "tools/mandel/mj_shadow_lanes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

using namespace qx;
using qx::test::differingPixels;

namespace {

// An orbit in extended reals: its state after n steps and its parameter.
struct Orbit {
    Real zr, zi, cr, ci;
    int32_t n;
};

std::vector<ShadowStart> startsOf(const std::vector<Orbit>& orbits)
{
    std::vector<ShadowStart> starts;
    for (const Orbit& o : orbits)
        starts.push_back(shadowStart(o.zr, o.zi, o.cr, o.ci, o.n));
    return starts;
}

// The extended loop's answer in the shadow's terms.
int32_t extendedVerdict(const Orbit& s, Real threshold, int32_t maxReps)
{
    const EscapeResult e = escapeQuadraticFrom({s.zr, s.zi}, {s.cr, s.ci}, s.n, threshold, maxReps);
    return e.status == kEscaped ? e.n : kShadowBounded;
}

struct Tally {
    int decided = 0, undecided = 0;
    std::vector<int32_t> verdict;
};

// Checks every decided verdict against the extended loop.
Tally compare(const std::vector<Orbit>& orbits, std::vector<int32_t> verdict, Real threshold, int32_t maxReps)
{
    Tally t;
    for (size_t i = 0; i < orbits.size(); ++i) {
        if (verdict[i] == kShadowUndecided) {
            ++t.undecided;
            continue;
        }
        ++t.decided;
        const Orbit& o = orbits[i];
        const int32_t want = extendedVerdict(o, threshold, maxReps);
        EXPECT_EQ(verdict[i], want) << "start " << double(o.zr) << "," << double(o.zi) << " c " << double(o.cr)
                                    << "," << double(o.ci) << " n " << o.n;
    }
    t.verdict = std::move(verdict);
    return t;
}

// Decides the starts with the shadow and checks them.
Tally check(const std::vector<Orbit>& starts, Real threshold, int32_t maxReps)
{
    std::vector<int32_t> verdict(starts.size(), 12345);
    ShadowTally tally;
    shadowDecide(startsOf(starts).data(), static_cast<int>(starts.size()), threshold, maxReps, verdict.data(), tally);
    return compare(starts, std::move(verdict), threshold, maxReps);
}

// Parameters of a cols x rows grid from (x0, y0), as Mandelbrot starts (z = 0).
std::vector<Orbit> parameterGrid(Real x0, Real y0, Real pitch, int cols, int rows)
{
    std::vector<Orbit> s;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            s.push_back({0, 0, x0 + c * pitch, y0 + r * pitch, 0});
    return s;
}

} // namespace

// Whatever the shadow decides is what the extended loop does, on views
// where the two arithmetics part ways near the boundary, and it decides most
// orbits of views that doubles can resolve.
TEST(MandelShadow, DecidedOrbitsMatchTheExtendedLoop)
{
    // The whole set, coarse: nearly everything decided.
    Tally t = check(parameterGrid(-2.1L, -1.2L, 0.0237L, 120, 100), 4, 400);
    EXPECT_GT(t.decided, 11900);
    // Seahorse valley at two depths, with long orbits that doubles cannot
    // follow to the end: some must stay undecided.
    t = check(parameterGrid(-0.74366L, 0.13182L, 4e-7L, 60, 60), 4, 2000);
    EXPECT_GT(t.decided, 2000);
    EXPECT_GT(t.undecided, 0);
    t = check(parameterGrid(-0.7436438870371L, 0.1318259043L, 1e-11L, 40, 40), 4, 3000);
    EXPECT_GT(t.undecided, 0);
    // Other thresholds: small, large, not a double.
    for (Real threshold : {0.5L, 100.0L, 1e6L, 4.000000000000000001L}) {
        t = check(parameterGrid(-1.9L, -0.3L, 0.0131L, 60, 50), threshold, 300);
        EXPECT_GT(t.decided, 2400) << double(threshold);
    }
    // Julia sets: the start carries the pixel, rounded to a double.
    std::vector<Orbit> julia;
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 60; ++c)
            julia.push_back({-1.5L + c * 0.0501L, -1.2L + r * 0.0489L, -0.1225611668766535961L,
                             0.7448617666197442366L, 0});
    t = check(julia, 4, 3000);
    EXPECT_GT(t.decided, 2500);
    // Near the parabolic points where the cardioid meets the period-2 bulb
    // and at the cusp, orbits outside linger for thousands of steps near a
    // cycle that no longer attracts: a probe must not take them for settled.
    std::vector<Orbit> slow = parameterGrid(-0.76L, 0.0005L, 0.0004L, 50, 25);
    for (const Orbit& s : parameterGrid(0.2502L, -0.005L, 0.0002L, 40, 50))
        slow.push_back(s);
    t = check(slow, 4, 20000);
    EXPECT_GT(t.decided, 3000);
    // Orbits handed over in the middle: the extended state after 5 steps.
    std::vector<Orbit> middle = parameterGrid(-0.8L, 0.05L, 0.0031L, 50, 40);
    for (Orbit& s : middle) {
        for (; s.n < 5 && s.zr * s.zr + s.zi * s.zi <= 4; ++s.n)
            quadraticStep(s.zr, s.zi, s.zr * s.zr, s.zi * s.zi, s.cr, s.ci);
    }
    t = check(middle, 4, 1000);
    EXPECT_GT(t.decided, 1500);
}

// Orbits at the edges of what doubles hold are decided only where that is
// sound, and a raised stop flag leaves nothing decided.
TEST(MandelShadow, EdgesOfTheDoubleRange)
{
    const std::vector<Orbit> edges = {
        {3, 0, 0, 0, 0},                  // outside at once: escapes at step 0
        {0.1L, 0.1L, 0.2L, 0, 7},         // handed over at step 7
        {0, 0, -1, 0, 400},               // already at the ceiling
        {1e60L, 0, 0, 0, 0},              // too large for the shadow
        {0, 0, 1e60L, 1, 0},
        {1e-320L, 0, 1e-4000L, 0, 0},     // below the doubles' range: stays at 0
        {1e-200L, 1e-200L, -2, 1e-300L, 0}, // the tip of the set, tiny start
        {0, 0, 0.25L + 1e-10L, 0, 0},     // beyond the cusp: escapes very late
        {0, 0, -2, 0, 0},                 // lands on the threshold itself: no margin
    };
    const Tally t = check(edges, 4, 400);
    EXPECT_GE(t.decided, 5);
    const std::vector<int32_t>& verdict = t.verdict;
    EXPECT_EQ(verdict[0], 0);
    EXPECT_EQ(verdict[3], kShadowUndecided);
    EXPECT_EQ(verdict[4], kShadowUndecided);
    EXPECT_EQ(verdict[5], kShadowBounded);
    EXPECT_EQ(verdict[8], kShadowUndecided);
    // A threshold the shadow does not take, and a stopped decision.
    EXPECT_FALSE(shadowApplies(1e200L, 0));
    EXPECT_FALSE(shadowApplies(4, 1e60L));
    EXPECT_TRUE(shadowApplies(4, 2));
    std::atomic<bool> stop{true};
    const std::vector<Orbit> slow = parameterGrid(-0.12L, 0.74L, 1e-4L, 10, 10);
    std::vector<int32_t> stopped(slow.size(), 0);
    ShadowTally fresh;
    shadowDecide(startsOf(slow).data(), int(slow.size()), 4, 100000, stopped.data(), fresh, &stop);
    for (int32_t v : stopped)
        EXPECT_TRUE(v == kShadowStopped || v >= 0 || v == kShadowBounded) << v;
    EXPECT_GT(std::count(stopped.begin(), stopped.end(), kShadowStopped), 50);
}

// The AVX2 loops compute exactly what the baseline loops do.
TEST(MandelShadow, VectorLoopsAgree)
{
    if (!shadowAvx2Available())
        GTEST_SKIP() << "no AVX2 here";
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> coord(-2, 2), err(0, 1e-12);
    for (int round = 0; round < 200; ++round) {
        ShadowBlock a;
        for (int l = 0; l < kShadowLanes; ++l) {
            a.x[l] = coord(rng) / 2, a.y[l] = coord(rng) / 2, a.e[l] = err(rng);
            a.cr[l] = coord(rng) / 2, a.ci[l] = coord(rng) / 2;
            a.q[l] = std::abs(a.cr[l]) + std::abs(a.ci[l]) + kShadowTiny;
        }
        ShadowBlock b = a, c = a, d = a;
        uint32_t fa = 0, fb = 0;
        EXPECT_EQ(shadowAdvanceBase(a, 50, 4, &fa), shadowAdvanceAvx2(b, 50, 4, &fb));
        EXPECT_EQ(fa, fb);
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
        int32_t atC[kShadowLanes], atD[kShadowLanes];
        uint32_t sureC = 0, sureD = 0;
        EXPECT_EQ(shadowOpenBase(c, 8, 0xFF, 4, 4, atC, &sureC), shadowOpenAvx2(d, 8, 0xFF, 4, 4, atD, &sureD));
        EXPECT_EQ(sureC, sureD);
        EXPECT_EQ(std::memcmp(atC, atD, sizeof atC), 0);
        // Deviations from a reference orbit of random points.
        double zr[64], zi[64], size[64], floor[64];
        for (int k = 0; k < 64; ++k) {
            zr[k] = coord(rng) / 2, zi[k] = coord(rng) / 2;
            size[k] = std::hypot(zr[k], zi[k]) * 1.01;
            floor[k] = 1e-18;
        }
        PerturbBlock p{}, q{};
        for (int l = 0; l < kShadowLanes; ++l) {
            p.deltaR[l] = err(rng), p.deltaI[l] = err(rng);
            p.dq[l] = 1e-28;
        }
        q = p;
        const PerturbReference ref{zr, zi, size, floor};
        bool stoppedP = false, stoppedQ = false;
        EXPECT_EQ(perturbBase(p, ref, 64, 0xFF, 4, 4, atC, &sureC, nullptr, &stoppedP),
                  perturbAvx2(q, ref, 64, 0xFF, 4, 4, atD, &sureD, nullptr, &stoppedQ));
        EXPECT_EQ(sureC, sureD);
        EXPECT_EQ(std::memcmp(atC, atD, sizeof atC), 0);
    }
}

// Whole pictures through the shadow equal the plain loop's, beyond the
// views the row tests cover: deeper than doubles resolve (the shadow is
// skipped), deep enough that it gives up, odd thresholds, and with the
// shadow off.
TEST(MandelShadow, PicturesEqualThePlainLoop)
{
    MJParams p = defaultParams(false);
    p.maxReps = 600;
    EXPECT_EQ(differingPixels(p, -0.743643887037151L, 0.131825904205330L, 3e-15L, 40, 30), 0);
    EXPECT_EQ(differingPixels(p, -0.743643887037151L, 0.131825904205330L, 3e-15L, 40, 30, false), 0);
    // Deeper than doubles resolve, long orbits: followed as deviations from a reference.
    MJParams deep = defaultParams(false);
    deep.maxReps = 3000;
    EXPECT_EQ(differingPixels(deep, -0.743643887037151L, 0.131825904205330L, 1e-12L, 48, 32), 0);
    // Deep enough that most orbits stay undecided: the shadow gives up and samples.
    EXPECT_EQ(differingPixels(p, -0.743643887037151L, 0.131825904205330L, 1e-11L, 60, 30), 0);
    p.threshold = 0.7L;
    EXPECT_EQ(differingPixels(p, -0.6L, 0.2L, 0.9L, 60, 40), 0);
    p.threshold = 1e6L;
    EXPECT_EQ(differingPixels(p, -1.25L, 0.05L, 0.3L, 60, 40), 0);
    MJParams j = defaultParams(true);
    j.c = {-0.8L, 0.156L};
    j.maxReps = 2000;
    EXPECT_EQ(differingPixels(j, 0, 0, 1.6L, 60, 40), 0);
}

namespace {

// Decides a grid's parameters as deviations from the reference (refR,
// refI) and checks them.
Tally checkPerturbed(const std::vector<Orbit>& grid, Real refR, Real refI, int32_t maxReps)
{
    std::vector<Real> cr, ci;
    for (const Orbit& o : grid) {
        cr.push_back(o.cr);
        ci.push_back(o.ci);
    }
    std::vector<int32_t> verdict(grid.size(), 12345);
    PerturbScratch scratch;
    shadowPerturb(refR, refI, cr.data(), ci.data(), int(grid.size()), 4, maxReps, verdict.data(), scratch);
    return compare(grid, std::move(verdict), 4, maxReps);
}

} // namespace

// Deep views, beyond what doubles resolve, followed as deviations from one
// reference orbit: whatever is decided is the extended loop's result, and
// most of a view is decided while the reference lives.
TEST(MandelShadow, PerturbedOrbitsMatchTheExtendedLoop)
{
    const Real cx = -0.743643887037151L, cy = 0.131825904205330L;
    for (Real pitch : {5e-14L, 2e-15L, 1e-17L}) {
        const Tally t = checkPerturbed(parameterGrid(cx - 20 * pitch, cy - 20 * pitch, pitch, 40, 40), cx, cy, 3000);
        EXPECT_GT(t.decided, 1000) << double(pitch);
    }
}
