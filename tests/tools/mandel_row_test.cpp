#include "mandel_test_support.h"
#include "tools/mandel/mj_escape.h"
#include "tools/mandel/mj_kernel.h"
#include "tools/mandel/mj_pixel_kernel.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qx;
using qx::test::differingPixels;
using qx::test::testColours;

TEST(MandelPairedRow, WholeMandelbrotPictureEqualsSinglePixels)
{
    EXPECT_EQ(differingPixels(defaultParams(false), -0.75L, 0, 1.4L, 96, 72), 0);
    // Odd width: the last lane drains alone.
    EXPECT_EQ(differingPixels(defaultParams(false), -0.75L, 0, 1.4L, 37, 21), 0);
    // A deep view where neighbours escape at very different counts.
    MJParams deep = defaultParams(false);
    deep.maxReps = 1000;
    EXPECT_EQ(differingPixels(deep, -0.743643887L, 0.131825904L, 0.0001L, 64, 48), 0);
}

TEST(MandelPairedRow, JuliaBlendAndBinaryEqualSinglePixels)
{
    MJParams p = defaultParams(true);
    p.c = {-0.1225611668766535961L, 0.7448617666197442366L};
    EXPECT_EQ(differingPixels(p, 0, 0, 2.1L, 80, 60), 0);
    p.mode = DisplayMode::Blend;
    p.threshold = 256;
    EXPECT_EQ(differingPixels(p, 0, 0, 2.1L, 80, 60), 0);
    p.mode = DisplayMode::Binary;
    p.threshold = 100;
    p.binaryCount = 3;
    EXPECT_EQ(differingPixels(p, 0.2L, 0.1L, 1.5L, 80, 60), 0);
}

TEST(MandelPairedRow, ShortRowsAndTinyCeilings)
{
    MJParams p = defaultParams(false);
    EXPECT_EQ(differingPixels(p, -0.75L, 0, 1.4L, 2, 9), 0);
    p.maxReps = 2;
    EXPECT_EQ(differingPixels(p, -0.75L, 0, 1.4L, 33, 9), 0);
    // One pixel: the row is that pixel's colour.
    const MJKernel k(defaultParams(false), testColours(), 0.1L);
    PixelColour one;
    k.colourRow(1, 0.1L, 0, 1, &one);
    EXPECT_EQ(one.code, 3);
}

TEST(MandelPairedRow, HigherDegreeAndDemRowsMatchColourAt)
{
    // Degrees 3..10 are paired too, Mandelbrot and Julia, with cycles caught
    // in either lane (views full of interior at a high ceiling).
    for (int degree : {3, 4, 5, 7, 10}) {
        MJParams p = defaultParams(false);
        p.degree = degree;
        p.maxReps = 3000;
        EXPECT_EQ(differingPixels(p, 0, 0, 1.5L, 40, 30), 0) << degree;
        EXPECT_EQ(differingPixels(p, 0.05L, 0.1L, 0.3L, 31, 20), 0) << degree;
        MJParams j = defaultParams(true);
        j.degree = degree;
        j.c = {0.1L, 0.2L};
        j.mode = DisplayMode::Binary;
        j.binaryCount = 3;
        EXPECT_EQ(differingPixels(j, 0, 0, 1.2L, 40, 30), 0) << degree;
    }
    MJParams p = defaultParams(false);
    p.mode = DisplayMode::Dem;
    EXPECT_EQ(differingPixels(p, -0.75L, 0, 1.4L, 40, 30), 0);
    // And the row really is colourAt at x0 + i * pitch.
    const MJKernel k(p, testColours(), 0.05L);
    std::vector<PixelColour> row(5);
    k.colourRow(-2, 0.75L, 0.25L, 5, row.data());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(row[i], k.colourAt(-2 + i * 0.75L, 0.25L)) << i;
}

// Orbits caught cycling (their exact state repeats) end early in the paired
// row; the pictures stay those of the full loop, on views full of interior:
// bulbs off the main cardioid at high ceilings, the rabbit's interior, and
// the boundary of a deep view where cycles are long and slow to settle.
TEST(MandelPairedRow, CycleDetectionKeepsEveryPixel)
{
    MJParams p = defaultParams(false);
    p.maxReps = 20000;
    EXPECT_EQ(differingPixels(p, -0.1225L, 0.7449L, 0.02L, 48, 36), 0);  // the period-3 bulb
    EXPECT_EQ(differingPixels(p, -1.31L, 0, 0.08L, 48, 36), 0);          // the period-4 bulb
    p.maxReps = 5000;
    EXPECT_EQ(differingPixels(p, -0.743643887L, 0.131825904L, 0.00005L, 48, 36), 0);
    MJParams j = defaultParams(true);
    j.c = {-0.1225611668766535961L, 0.7448617666197442366L};
    j.maxReps = 10000;
    EXPECT_EQ(differingPixels(j, 0, 0, 0.6L, 48, 36), 0); // the rabbit's body
    j.mode = DisplayMode::Blend;
    j.threshold = 256;
    EXPECT_EQ(differingPixels(j, 0, 0, 0.6L, 48, 36), 0);
}

namespace {

// Pixels of a cols x rows grid from (x0, y0) whose colourAt differs from the
// colour of the full escape loop, written out here without any shortcut;
// `inside` counts the points the full loop never lets escape.
int differingFromPlainLoop(const MJParams& p, Real x0, Real y0, Real pitch, int cols, int rows, int& inside)
{
    const MJKernel k(p, testColours(), pitch);
    int differ = 0;
    inside = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const Complex cc{x0 + c * pitch, y0 + r * pitch};
            Complex z{0, 0};
            EscapeResult plain{kNotEscaped, p.maxReps, {}};
            for (int32_t n = 0; n < p.maxReps; ++n) {
                if (norm2(z) > p.threshold) {
                    plain = {kEscaped, n, z};
                    break;
                }
                z = mapPower(z, cc, p.degree);
            }
            inside += plain.status == kNotEscaped;
            differ += k.colourOfEscape(plain) == k.colourAt(cc.re, cc.im) ? 0 : 1;
        }
    return differ;
}

} // namespace

// Every degree's escape loop ends orbits whose exact state repeats: each
// pixel keeps the colour of the full loop, on views that are mostly
// interior (for degree 2 the period-3 bulb, beyond the cardioid shortcut).
TEST(MandelCycles, EveryDegreeKeepsThePlainLoopsColours)
{
    for (int degree : {2, 3, 4}) {
        MJParams p = defaultParams(false);
        p.degree = degree;
        p.maxReps = degree == 2 ? 20000 : 4000;
        int inside = 0;
        const int differ = degree == 2 ? differingFromPlainLoop(p, -0.14L, 0.73L, 0.001L, 40, 30, inside)
                                       : differingFromPlainLoop(p, -0.6L, -0.45L, 0.03L, 40, 30, inside);
        EXPECT_GT(inside, 300) << degree;
        EXPECT_EQ(differ, 0) << degree;
    }
}

// Points in any order (as a guessing sweep asks for them), paired, each
// equal to colourAt: inside and outside points, repeats, a lone last point.
TEST(MandelPairedRow, ScatteredPointsEqualColourAt)
{
    MJParams p = defaultParams(false);
    p.maxReps = 3000;
    const MJKernel k(p, testColours(), 0.001L);
    std::vector<Real> xs, ys;
    uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return Real(seed >> 8) / Real(1u << 24);
    };
    for (int i = 0; i < 301; ++i) {
        xs.push_back(-2.1L + 2.7L * next());
        ys.push_back(-1.2L + 2.4L * next());
    }
    xs.push_back(xs[7]);
    ys.push_back(ys[7]);
    std::vector<PixelColour> out(xs.size());
    k.colourPoints(xs.data(), ys.data(), static_cast<int>(xs.size()), out.data());
    int inside = 0;
    for (size_t i = 0; i < xs.size(); ++i) {
        EXPECT_EQ(out[i], k.colourAt(xs[i], ys[i])) << i;
        inside += out[i].code == test::kSetCode;
    }
    EXPECT_GT(inside, 30);
}

// The sweep's adapter: a grid row goes through the paired row loop, a row
// of other x (not the grid's) pixel by pixel, and every answer equals
// colourAt of the same point (scattered points: ScatteredPointsEqualColourAt).
TEST(MandelPairedRow, SweepAdapterRowsAndPointsEqualColourAt)
{
    MJParams p = defaultParams(false);
    p.maxReps = 500;
    const int W = 41;
    const SweepGeometry g{W, 30, -2.1L, 1.1L, 2.8L / (W - 1), 2.8L / (W - 1)};
    MJPixelKernel k(MJKernel(p, testColours(), g.pitchX), g);
    const MJKernel& plain = k.kernel();
    std::vector<Real> grid(W), shifted(W);
    for (int c = 0; c < W; ++c) {
        grid[c] = g.x0 + c * g.pitchX;
        shifted[c] = grid[c] + g.pitchX / 3;
    }
    std::vector<PixelValue> row(W);
    for (int r : {0, 11, 29}) {
        const Real y = g.y0 - r * g.pitchY;
        for (const std::vector<Real>* xs : {&grid, &shifted}) {
            k.colourRow(xs->data(), y, r, W, row.data());
            for (int c = 0; c < W; ++c) {
                const PixelColour want = plain.colourAt((*xs)[c], y);
                EXPECT_EQ(row[c].colour, want.rgb) << r << "," << c;
                EXPECT_EQ(row[c].code, want.code) << r << "," << c;
            }
        }
    }
}
