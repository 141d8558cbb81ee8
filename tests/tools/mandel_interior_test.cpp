#include "mandel_test_support.h"
#include "tools/mandel/mj_escape.h"
#include "tools/mandel/mj_interior.h"
#include "tools/mandel/mj_kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace qx;
using qx::test::testColours;

namespace {

// The largest |z|^2 of the first `steps` points of the critical orbit.
Real largestNorm(Real cr, Real ci, int steps)
{
    Real zr = 0, zi = 0, top = 0;
    for (int n = 0; n < steps; ++n) {
        const Real r2 = zr * zr, i2 = zi * zi;
        top = std::max(top, r2 + i2);
        const Real t = zr * zi;
        zi = t + t + ci;
        zr = r2 - i2 + cr;
    }
    return top;
}

} // namespace

TEST(MandelInterior, RecognisesCardioidAndBulbPoints)
{
    EXPECT_TRUE(criticalOrbitStaysBounded(0, 0, 4));
    EXPECT_TRUE(criticalOrbitStaysBounded(-0.5L, 0, 4));
    EXPECT_TRUE(criticalOrbitStaysBounded(-1, 0, 4));
    EXPECT_TRUE(criticalOrbitStaysBounded(-1.1L, 0.05L, 4));
    EXPECT_TRUE(criticalOrbitStaysBounded(0, 0, 1e-16L)); // the orbit is 0 for ever
    // Near the boundary the proof gives up (these are in the set, or not).
    EXPECT_FALSE(criticalOrbitStaysBounded(0.25L, 0, 4));
    EXPECT_FALSE(criticalOrbitStaysBounded(-0.75L, 0, 4));
    EXPECT_FALSE(criticalOrbitStaysBounded(-1.2L, 0, 4));
    EXPECT_FALSE(criticalOrbitStaysBounded(0.3L, 0, 4));
    EXPECT_FALSE(criticalOrbitStaysBounded(-0.12L, 0.75L, 4)); // period-3 bulb
    // The bound must fit under the threshold: 0, -0.5 passes 0.1 at once.
    EXPECT_FALSE(criticalOrbitStaysBounded(-0.5L, 0, 0.1L));
}

TEST(MandelInterior, RecognisedOrbitsNeverPassTheThreshold)
{
    int recognised = 0;
    for (Real cr = -1.3L; cr <= 0.3L; cr += 0.0123L)
        for (Real ci = 0; ci <= 0.7L; ci += 0.0117L)
            for (Real threshold : {4.0L, 1.0L, 0.5L})
                if (criticalOrbitStaysBounded(cr, ci, threshold)) {
                    ++recognised;
                    ASSERT_LE(largestNorm(cr, ci, 20000), threshold) << cr << " " << ci;
                }
    EXPECT_GT(recognised, 3000);
}

TEST(MandelInterior, ShortcutChangesNoPixel)
{
    const int W = 160, H = 120;
    const Real pitch = 2.8L / (W - 1);
    MJParams p = defaultParams(false);
    for (DisplayMode mode : {DisplayMode::Bands, DisplayMode::Binary}) {
        p.mode = mode;
        p.threshold = mode == DisplayMode::Binary ? 100 : 4;
        MJKernel fast(p, testColours(), pitch), slow(p, testColours(), pitch);
        slow.setInteriorShortcut(false);
        std::vector<PixelColour> a(W), b(W), c(W);
        int skipped = 0, inside = 0;
        for (int r = 0; r < H; ++r) {
            const Real y = (H - 1) * pitch / 2 - r * pitch;
            fast.colourRow(-2.15L, pitch, y, W, a.data());
            fast.colourRowSingle(-2.15L, pitch, y, W, b.data());
            slow.colourRow(-2.15L, pitch, y, W, c.data());
            for (int i = 0; i < W; ++i) {
                ASSERT_EQ(a[i], c[i]) << i << "," << r;
                ASSERT_EQ(b[i], c[i]) << i << "," << r;
                inside += c[i].code == qx::test::kSetCode;
                skipped += criticalOrbitStaysBounded(-2.15L + i * pitch, y, p.threshold);
            }
        }
        // Most of the set's area is recognised without iterating.
        EXPECT_GT(skipped, inside / 2);
    }
}

// An orbit settled close to an attracting cycle is proven bounded from the
// settled point's next p points, for cycles of several periods, and the
// proven orbits really never pass the threshold. Orbits that have not
// settled, a wrong period, repelling cycles and escaping orbits are not.
TEST(MandelInterior, SettledOrbitsAreProvenAndNothingElse)
{
    struct Case {
        Real cr, ci;
        int period; // of the attracting cycle, 0: none
    };
    const Case cases[] = {
        {0.2L, 0.5L, 1},   {-0.9L, 0.1L, 2},    {-0.1225L, 0.7449L, 3}, {-1.3107L, 0.0L, 4},
        {0.3L, 0.5L, 4},   {0.38L, 0.33L, 5},   {-1.755L, 0, 3},
        {0.26L, 0, 0},     {-0.75L, 0.05L, 0},  {-0.75L, 0.12L, 0},     {0.3L, 0.6L, 0},
    };
    for (const Case& k : cases) {
        Real zr = 0, zi = 0, top = 0;
        const auto step = [&] {
            const Real r2 = zr * zr, i2 = zi * zi;
            top = std::max(top, r2 + i2);
            const Real t = zr * zi;
            zi = t + t + k.ci;
            zr = r2 - i2 + k.cr;
        };
        std::vector<Real> xr(65), xi(65);
        const auto record = [&] {
            const Real sr = zr, si = zi;
            for (int j = 0; j <= 64; ++j) {
                xr[j] = zr;
                xi[j] = zi;
                step();
            }
            zr = sr, zi = si;
        };
        bool proven = false;
        for (int settle = 0; settle < 4000 && !proven; settle += 50) {
            record();
            for (int p = 1; p <= 16 && !proven; ++p)
                proven = orbitCycleProvesBounded(xr.data(), xi.data(), p, k.cr, k.ci, 4);
            for (int j = 0; j < 50; ++j)
                step();
        }
        EXPECT_EQ(proven, k.period > 0) << k.cr << " " << k.ci;
        if (proven) {
            for (int j = 0; j < 20000; ++j)
                step();
            EXPECT_LE(top, 4) << k.cr;
            // The wrong period, or a threshold under the cycle, proves nothing.
            record();
            const int wrong = k.period == 1 ? 0 : k.period - 1;
            EXPECT_FALSE(wrong > 0 && orbitCycleProvesBounded(xr.data(), xi.data(), wrong, k.cr, k.ci, 4));
            EXPECT_FALSE(orbitCycleProvesBounded(xr.data(), xi.data(), k.period, k.cr, k.ci, 1e-3L));
        }
    }
    // The first steps from 0 have not settled.
    const Real zr0[] = {0, 0.2L}, zi0[] = {0, 0.5L};
    EXPECT_FALSE(orbitCycleProvesBounded(zr0, zi0, 1, 0.2L, 0.5L, 4));
}

// Pixels proven through settled cycles keep the plain loop's colours where
// the proof is hardest: along the boundaries of the cardioid, the period-2
// and period-3 bulbs at high ceilings, and Julia sets of parameters in such
// components.
TEST(MandelInterior, ProvenCyclesChangeNoPixelNearTheBoundaries)
{
    struct Case {
        bool julia;
        Real c_re, c_im, x0, y0, width;
        int reps;
    };
    const Case cases[] = {
        {false, 0, 0, 0.2L, 0.45L, 0.15L, 20000},     // the cardioid's edge at the top
        {false, 0, 0, -0.8L, 0.08L, 0.12L, 20000},    // where cardioid and bulb meet
        {false, 0, 0, -1.3L, 0.02L, 0.15L, 20000},    // the bulb's far edge
        {true, 0.2L, 0.45L, -1.5L, -1.1L, 3.0L, 5000}, // Julia of c near the cardioid's edge
        {true, -1.1L, 0.1L, -1.7L, -0.9L, 3.4L, 5000}, // Julia of c in the period-2 bulb
        {false, 0, 0, -0.2L, 0.62L, 0.2L, 20000},     // the period-3 bulb and its edge
        {true, -0.1225611668766535961L, 0.7448617666197442366L, -1.2L, -0.9L, 2.4L, 5000}, // the rabbit
    };
    const int W = 64, H = 48;
    for (const Case& k : cases) {
        MJParams p = defaultParams(k.julia);
        p.c = {k.c_re, k.c_im};
        p.maxReps = k.reps;
        const Real pitch = k.width / (W - 1);
        MJKernel fast(p, testColours(), pitch), slow(p, testColours(), pitch);
        slow.setInteriorShortcut(false);
        std::vector<PixelColour> a(W), c(W);
        int inside = 0;
        for (int r = 0; r < H; ++r) {
            const Real y = k.y0 + r * pitch;
            fast.colourRow(k.x0, pitch, y, W, a.data());
            slow.colourRow(k.x0, pitch, y, W, c.data());
            for (int i = 0; i < W; ++i) {
                ASSERT_EQ(a[i], c[i]) << k.x0 << " " << i << "," << r;
                inside += c[i].code == qx::test::kSetCode;
            }
        }
        EXPECT_GT(inside, W * H / 10) << k.x0;
        EXPECT_LT(inside, W * H * 95 / 100) << k.x0;
    }
}

// Whole runs of parameters (or Julia starting points) proven at once: every
// member of a proven family really stays below the threshold, and families
// that reach outside the set, straddle its edge or escape are not proven.
TEST(MandelInterior, FamiliesAreProvenOnlyWhereEveryMemberStays)
{
    struct Family {
        Real cr, ci, spread;
        bool proven; // expected
    };
    const Family families[] = {
        {-0.1L, 0.1L, 0.01L, true},        // deep in the cardioid
        {-1.0L, 0.02L, 0.005L, true},      // the period-2 bulb
        {-0.1225L, 0.7449L, 0.002L, true}, // the period-3 bulb
        {0.245L, 0, 0.01L, false},         // reaches past the cusp at 1/4, where orbits escape
        {0.2499L, 0, 0.0002L, false},      // the same just below the cusp, escaping after ~300 steps
        {-0.75L, 0.05L, 0.04L, false},     // straddles the neck between cardioid and bulb
        {0.5L, 0.5L, 0.001L, false},       // outside
        {-0.1L, 0.1L, 0.6L, false},        // reaches from the cardioid far outside
    };
    for (const Family& f : families) {
        EXPECT_EQ(familyProvesBounded(0, 0, 0, f.cr, f.ci, f.spread, 4, 256), f.proven) << f.cr << " " << f.ci;
        Real top = 0; // members across the run, its ends included
        for (int k = -4; k <= 4; ++k)
            top = std::max(top, largestNorm(f.cr + f.spread * k / 4, f.ci, 20000));
        if (f.proven)
            EXPECT_LE(top, 4) << f.cr;
        else
            EXPECT_GT(top, 4) << f.cr << ": a member escapes";
    }
    // Julia sets: starting points around z0 for one c (the rabbit's interior).
    const Real rr = -0.1225611668766535961L, ri = 0.7448617666197442366L;
    EXPECT_TRUE(familyProvesBounded(0, 0, 0.02L, rr, ri, 0, 4, 256));
    EXPECT_FALSE(familyProvesBounded(1.5L, 0, 0.02L, rr, ri, 0, 4, 256)); // escapes
    EXPECT_FALSE(familyProvesBounded(0, 0, 0.6L, rr, ri, 0, 4, 256));     // reaches the Julia set
}

// Runs proven as a disc spare the rows below them their own proofs; a disc
// reaching across the set's edge would colour the outside. Rows climb out
// of the filled Julia set of z^2 (the unit disc) through its top, one
// kernel for all of them.
TEST(MandelInterior, ProvenDiscsStopAtTheEdge)
{
    MJParams p = defaultParams(true);
    p.c = {0, 0};
    p.maxReps = 3000;
    const Real pitch = 0.004L, x0 = -0.062L;
    const int W = 32;
    MJKernel k(p, testColours(), pitch);
    std::vector<PixelColour> row(W), single(W);
    int inside = 0, outside = 0;
    for (int r = 0; r < 60; ++r) {
        const Real y = 0.85L + r * pitch;
        k.colourRow(x0, pitch, y, W, row.data());
        k.colourRowSingle(x0, pitch, y, W, single.data());
        for (int i = 0; i < W; ++i) {
            ASSERT_EQ(row[i], single[i]) << "row " << r << " pixel " << i;
            ++(single[i].code == test::kSetCode ? inside : outside);
        }
    }
    EXPECT_GT(inside, 500) << outside;
    EXPECT_GT(outside, 500) << inside;
}
