#include "mandel_test_support.h"
#include "tools/mandel/mj_kernel.h"
#include "tools/mandel/mj_print.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qx;
using qx::test::kDemCode;
using qx::test::kSetCode;
using qx::test::testColours;

namespace {

MJParams withMode(bool julia, DisplayMode mode, Real threshold)
{
    MJParams p = defaultParams(julia);
    p.mode = mode;
    p.threshold = threshold;
    return p;
}

} // namespace

TEST(MandelBands, CountsCycleThroughTheTable)
{
    const MJKernel k(defaultParams(true), testColours(), 0.01L);
    EXPECT_EQ(k.colourOfEscape({kEscaped, 0, {}}), (PixelColour{0x100000u, 0}));
    EXPECT_EQ(k.colourOfEscape({kEscaped, 1, {}}), (PixelColour{0x100001u, 1}));
    EXPECT_EQ(k.colourOfEscape({kEscaped, 79, {}}), (PixelColour{0x10004Fu, 79}));
    // A whole cycle further is entry L (the closing entry), never entry 0.
    EXPECT_EQ(k.colourOfEscape({kEscaped, 80, {}}), (PixelColour{0x100000u, 80}));
    EXPECT_EQ(k.colourOfEscape({kEscaped, 160, {}}).code, 80);
    EXPECT_EQ(k.colourOfEscape({kEscaped, 83, {}}), (PixelColour{0x100003u, 3}));
    EXPECT_EQ(k.colourOfEscape({kNotEscaped, 400, {}}), (PixelColour{0, kSetCode}));
}

TEST(MandelBlend, FractionalCountBlendsNeighbouringEntries)
{
    EXPECT_EQ(blendColour(0x000000, 0x0A1428, 0.5L), 0x050A14u);
    EXPECT_EQ(blendColour(0x0000FF, 0x000000, 0.5L), 0x00007Fu); // 127.5 truncates
    EXPECT_EQ(blendColour(0x102030, 0x102030, 0.9L), 0x102030u);

    MJColours colours = testColours();
    colours.table[2] = 0x000000;
    colours.table[3] = 0x0000C8;
    const MJKernel k(withMode(false, DisplayMode::Blend, 256), colours, 0.01L);
    // A = ln(2 ln 256), B = 1/ln 2; |z|^2 = 256^1.5 = 4096 gives mu = 1 - log2(1.5).
    const Real mu = 1 - std::log2(1.5L);
    const PixelColour pc = k.colourOfEscape({kEscaped, 3, {64, 0}});
    EXPECT_EQ(pc.code, 3);
    EXPECT_EQ(pc.rgb, static_cast<uint32_t>(200 * mu));
    // |z|^2 = 256^2: mu = 0, the entry before.
    EXPECT_EQ(k.colourOfEscape({kEscaped, 3, {256, 0}}).rgb, 0u);
}

TEST(MandelBlend, FractionOutsideTheUnitIntervalIsHeld)
{
    MJColours colours = testColours();
    colours.table[2] = 0x000010;
    colours.table[3] = 0x0000F0;
    const MJKernel k(withMode(false, DisplayMode::Blend, 256), colours, 0.01L);
    // |z|^2 beyond 256^2 would give a negative fraction and a channel below 0.
    EXPECT_EQ(k.colourOfEscape({kEscaped, 3, {1e6L, 0}}).rgb, 0x000010u);
}

TEST(MandelBinary, TwoColoursBySignOfImaginaryPart)
{
    const MJKernel k(withMode(false, DisplayMode::Binary, 100), testColours(), 0.01L);
    EXPECT_EQ(k.colourOfEscape({kEscaped, 5, {3, 2}}), (PixelColour{0xAA0000u, 80}));
    EXPECT_EQ(k.colourOfEscape({kEscaped, 5, {3, -2}}), (PixelColour{0xAA0001u, 81}));
    EXPECT_EQ(k.colourOfEscape({kEscaped, 5, {-3, 0}}).code, 80);
    EXPECT_EQ(k.colourOfEscape({kNotEscaped, 400, {3, -2}}).code, kSetCode);
}

TEST(MandelBinary, SectorsOfTheArgumentFromMinusPi)
{
    MJParams p = withMode(false, DisplayMode::Binary, 100);
    p.binaryCount = 4;
    const MJKernel k(p, testColours(), 0.01L);
    EXPECT_EQ(k.colourOfEscape({kEscaped, 1, {-1, -0.1L}}).code, 80); // just above -pi
    EXPECT_EQ(k.colourOfEscape({kEscaped, 1, {1, -1}}).code, 81);     // -pi/4
    EXPECT_EQ(k.colourOfEscape({kEscaped, 1, {1, 1}}).code, 82);      // pi/4
    EXPECT_EQ(k.colourOfEscape({kEscaped, 1, {-1, 0.1L}}).code, 83);
    // Argument exactly pi would be sector k: it belongs to the last one.
    EXPECT_EQ(k.colourOfEscape({kEscaped, 1, {-1, 0}}), (PixelColour{0xAA0003u, 83}));
}

TEST(MandelBinary, SectorCountHeldToTheTenBinaryColours)
{
    MJParams p = withMode(false, DisplayMode::Binary, 100);
    p.binaryCount = 25;
    const MJKernel k(p, testColours(), 0.01L);
    EXPECT_EQ(k.colourOfEscape({kEscaped, 1, {-1, -0.001L}}).code, 80);
    EXPECT_EQ(k.colourOfEscape({kEscaped, 1, {-1, 0}}), (PixelColour{0xAA0009u, 89}));
    p.binaryCount = 0;
    const MJKernel one(p, testColours(), 0.01L);
    EXPECT_EQ(one.colourOfEscape({kEscaped, 1, {-1, 0}}).code, 80);
}

TEST(MandelDem, FarPointsTakeTheDemColourNearPointsTheSetColour)
{
    MJParams p = withMode(false, DisplayMode::Dem, 4);
    const Real pixel = 2.8L / 1023;
    const MJKernel k(p, testColours(), pixel);
    EXPECT_NEAR(k.demBand(), 0.49L * pixel * 0.6L * 0.4L, 1e-18L);
    EXPECT_EQ(k.colourAt(0, 0).code, kSetCode);   // inside
    EXPECT_EQ(k.colourAt(1, 1).code, kDemCode);   // far outside
    EXPECT_EQ(k.colourAt(0.2501L, 0).code, kSetCode); // a hair outside the cusp
    // The estimate of c = 2 follows the orbit from c: 2, 6, 38, 1446 (the first
    // with |z|^2 > 1e5); its derivative with respect to c is 1, 5, 61, 4637.
    const Real lnr2 = std::log(1446.0L * 1446.0L);
    EXPECT_NEAR(k.distanceAt(2, 0), 0.3535L * 0.49L * lnr2 * 1446 / 4637, 1e-15L);
}

TEST(MandelDem, DerivativeOverflowAndNoEscapeGiveTheSetColour)
{
    MJParams p = withMode(false, DisplayMode::Dem, 4);
    const MJKernel k(p, testColours(), 1e-30L);
    // Just left of -2 the orbit sits near 2 long enough for z' to pass e^42.
    EXPECT_EQ(k.escapeAt(-2.000000000000000001L, 0).status, kEscaped);
    EXPECT_EQ(k.distanceAt(-2.000000000000000001L, 0), 0);
    EXPECT_EQ(k.colourAt(-2.000000000000000001L, 0).code, kSetCode);
    // A render iterates with threshold 100000, whatever the user's is:
    // 0, 2, 6, 38 stay below it, 1446 is beyond.
    EXPECT_EQ(k.escapeAt(2, 0).n, 4);
}

TEST(MandelDem, ZeroThicknessKeepsTheSet)
{
    MJParams p = withMode(true, DisplayMode::Dem, 4);
    p.demThickness = 0;
    const MJKernel k(p, testColours(), 0.01L);
    EXPECT_EQ(k.demBand(), 0);
    EXPECT_EQ(k.colourAt(0.1L, 0).code, kSetCode); // c = 0: |z| < 1 never escapes
    EXPECT_EQ(k.colourAt(1.5L, 0).code, kDemCode);
}

TEST(MandelDem, JuliaEstimateIncludesThePotentialFactor)
{
    MJParams p = withMode(true, DisplayMode::Dem, 4);
    const MJKernel k(p, testColours(), 0.01L);
    // c = 0, z0 = 20: 20, 400 (> 1e5 as |z|^2 = 160000): n = 1, z' = 2 * 20.
    const Real lnr2 = std::log(160000.0L);
    const Real expected = 0.3535L * 0.49L * lnr2 * 400 / 40 * std::exp(-0.5L * lnr2 / 2);
    EXPECT_NEAR(k.distanceAt(20, 0), expected, 1e-15L);
}

TEST(MandelPrinting, BlackAndWhiteFromRowCodes)
{
    ColourTable table;
    table.colours.assign(81, 0x123456);           // L = 80
    table.grays = {0, 255, 128, 255, 40, 0};      // gray length 5
    // Set and DEM colours: black, or white on request, with their own codes.
    EXPECT_EQ(blackAndWhitePixel(kSetCode, DisplayMode::Bands, table, 0, 0, false),
              (PixelColour{kBlack, kCodeBlack}));
    EXPECT_EQ(blackAndWhitePixel(kDemCode, DisplayMode::Dem, table, 3, 3, true),
              (PixelColour{kWhite, kCodeWhite}));
    // Entry 6 prints gray 6 mod 5 = 1: 255 is white at every position.
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(blackAndWhitePixel(6, DisplayMode::Bands, table, c, 5, false), (PixelColour{kWhite, 6}));
    // Entry 5 prints gray 0: level 31 is white only where the matrix holds >= 31.
    EXPECT_EQ(blackAndWhitePixel(5, DisplayMode::Blend, table, 1, 0, false).rgb, kWhite); // M[0][1] = 32
    EXPECT_EQ(blackAndWhitePixel(5, DisplayMode::Blend, table, 0, 0, false).rgb, kBlack); // M[0][0] = 0
    // Binary colour 1 (code 81) has shade 0; colour 0 (code 80) shade 255.
    EXPECT_EQ(blackAndWhitePixel(80, DisplayMode::Binary, table, 0, 0, false), (PixelColour{kWhite, 80}));
    EXPECT_EQ(blackAndWhitePixel(81, DisplayMode::Binary, table, 0, 0, false), (PixelColour{kBlack, 81}));
    EXPECT_EQ(blackAndWhitePixel(81, DisplayMode::Binary, table, 7, 7, false).rgb, kWhite); // M[7][7] = 31
    // The same code 80 in bands mode is table entry L: gray 80 mod 5 = 0.
    EXPECT_EQ(blackAndWhitePixel(80, DisplayMode::Bands, table, 0, 0, false).rgb, kBlack);
}
