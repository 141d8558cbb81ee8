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

// Orbits that enter a proving disc never pass the threshold: starts on the
// edge of the disc around each cycle point, for parameters all over both
// components, up to their boundaries, under several thresholds.
TEST(MandelInterior, OrbitsFromTheEdgeOfADiscStayBounded)
{
    int discs = 0, periodTwo = 0;
    for (Real cr = -1.26L; cr <= 0.3L; cr += 0.0231L)
        for (Real ci = 0; ci <= 0.68L; ci += 0.0197L)
            for (Real threshold : {4.0L, 1.0L}) {
                const InteriorDisc d = interiorDisc(cr, ci, threshold);
                if (!d.period)
                    continue;
                ++discs;
                periodTwo += d.period == 2;
                ASSERT_GT(d.radius2, 0);
                const Real radius = std::sqrt(d.radius2) * (1 - 1e-12L);
                for (int k = 0; k < 8; ++k) {
                    const Real angle = k * 0.785398163397448L;
                    const bool aroundB = d.period == 2 && (k & 1);
                    Real zr = (aroundB ? d.br : d.ar) + radius * std::cos(angle);
                    Real zi = (aroundB ? d.bi : d.ai) + radius * std::sin(angle);
                    ASSERT_TRUE(d.holds(zr, zi));
                    for (int n = 0; n < 1500; ++n) {
                        const Real r2 = zr * zr, i2 = zi * zi;
                        ASSERT_LE(r2 + i2, threshold) << cr << " " << ci << " step " << n;
                        const Real t = zr * zi;
                        zi = t + t + ci;
                        zr = r2 - i2 + cr;
                    }
                }
            }
    EXPECT_GT(discs, 700);
    EXPECT_GT(periodTwo, 70);
    // No disc outside the components, at the cusp, or across the threshold.
    EXPECT_EQ(interiorDisc(0.25L, 0, 4).period, 0);
    EXPECT_EQ(interiorDisc(0.3L, 0, 4).period, 0);
    EXPECT_EQ(interiorDisc(-0.75L, 0.001L, 4).period, 0);
    EXPECT_EQ(interiorDisc(-0.12L, 0.75L, 4).period, 0); // period-3 bulb
    EXPECT_EQ(interiorDisc(-0.5L, 0, 0.1L).period, 0);
    EXPECT_EQ(interiorDisc(0.24L, 0, 4).period, 1);
    EXPECT_EQ(interiorDisc(-1.2L, 0.01L, 4).period, 2);
}

// Pixels proven through the discs keep the plain loop's colours where the
// proof is hardest: along the boundaries of the cardioid and the period-2
// bulb at high ceilings, and Julia sets of parameters in either component.
TEST(MandelInterior, DiscsChangeNoPixelNearTheBoundaries)
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
