#include "mandel_test_support.h"
#include "tools/mandel/mj_escape.h"
#include "tools/mandel/mj_kernel.h"

#include <gtest/gtest.h>

using namespace qx;
using qx::test::kSetCode;
using qx::test::testColours;

TEST(MandelEscape, DefaultsColourTheTextbookPoints)
{
    const MJParams p = defaultParams(false);
    const MJKernel k(p, testColours(), 0.01L);
    // c = 0 stays at 0 for ever: the set colour.
    EXPECT_EQ(k.colourAt(0, 0), (PixelColour{0, kSetCode}));
    // c = 1: orbit 0, 1, 2, 5; |5|^2 > 4 is seen after three steps.
    const EscapeResult e = k.escapeAt(1, 0);
    EXPECT_EQ(e.status, kEscaped);
    EXPECT_EQ(e.n, 3);
    EXPECT_EQ(e.z, (Complex{5, 0}));
    EXPECT_EQ(k.colourAt(1, 0), (PixelColour{0x100003u, 3}));
    // c = -2 is in the set (orbit 0, -2, 2, 2, ...), on the threshold but never above.
    EXPECT_EQ(k.colourAt(-2, 0).code, kSetCode);
}

TEST(MandelEscape, StartOutsideEscapesBeforeAnyStep)
{
    const EscapeResult e = escape({3, 0}, {0, 0}, 2, 4, 400);
    EXPECT_EQ(e.status, kEscaped);
    EXPECT_EQ(e.n, 0);
    EXPECT_EQ(e.z, (Complex{3, 0}));
    // A Julia pixel that starts outside takes entry 0 of the table.
    MJParams p = defaultParams(true);
    const MJKernel k(p, testColours(), 0.01L);
    EXPECT_EQ(k.colourAt(3, 0), (PixelColour{0x100000u, 0}));
}

TEST(MandelEscape, CeilingEndsWithoutEscapeAndKeepsLastPoint)
{
    // z -> z^2 with z0 = 2: 4, 16, 256 after three steps; the ceiling stops first.
    const EscapeResult e = escape({2, 0}, {0, 0}, 2, 1e9L, 3);
    EXPECT_EQ(e.status, kNotEscaped);
    EXPECT_EQ(e.n, 3);
    EXPECT_EQ(e.z, (Complex{256, 0}));
    // The ceiling wins over a point that is out exactly when the count runs out.
    EXPECT_EQ(escape({2, 0}, {0, 0}, 2, 1000, 3).status, kNotEscaped);
    EXPECT_EQ(escape({2, 0}, {0, 0}, 2, 1000, 4).n, 3);
    EXPECT_EQ(escape({2, 0}, {0, 0}, 2, 100, 3).n, 2);
}

TEST(MandelEscape, HigherDegreesMultiplyDMinusOneTimes)
{
    // (1+i)^2 = 2i, (1+i)^3 = -2+2i, (1+i)^10 = 32i.
    EXPECT_EQ(mapPower({1, 1}, {0, 0}, 2), (Complex{0, 2}));
    EXPECT_EQ(mapPower({1, 1}, {0.5L, 0}, 3), (Complex{-1.5L, 2}));
    EXPECT_EQ(mapPower({1, 1}, {0, -1}, 10), (Complex{0, 31}));
    // Degree 3 Mandelbrot: c = 1 gives 0, 1, 2, 9.
    const EscapeResult e = escape({0, 0}, {1, 0}, 3, 4, 400);
    EXPECT_EQ(e.n, 3);
    EXPECT_EQ(e.z, (Complex{9, 0}));
}

TEST(MandelEscape, QuadraticShortcutMatchesGeneralMap)
{
    // The written-out degree-2 loop and the general product agree bit for bit.
    const Complex c{-0.74543L, 0.11301L};
    Complex z{0.1L, -0.2L};
    for (int i = 0; i < 50; ++i) {
        const EscapeResult fast = escapeQuadraticFrom(z, c, 0, 1e300L, 1);
        const Complex general = mapPower(z, c, 2);
        ASSERT_EQ(fast.z, general) << "step " << i;
        z = general;
    }
}

TEST(MandelEscape, MirrorPixelsGetTheSameCount)
{
    const MJKernel k(defaultParams(false), testColours(), 0.01L);
    for (Real y : {0.1L, 0.35L, 0.6L, 0.9L})
        for (Real x : {-1.8L, -1.2L, -0.5L, 0.2L, 0.4L})
            EXPECT_EQ(k.colourAt(x, y), k.colourAt(x, -y)) << x << " " << y;
}
