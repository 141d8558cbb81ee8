#include "mandel_test_support.h"
#include "tools/mandel/mj_escape.h"
#include "tools/mandel/mj_interior.h"
#include "tools/mandel/mj_kernel.h"

#include <gtest/gtest.h>

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
