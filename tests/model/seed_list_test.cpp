#include "model/orbit_settings.h"
#include "model/seed_list.h"
#include "model/tfuncwin.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {

// A complex window's expression state, as the Mandelbrot and Julia windows have it.
struct ComplexWindow : TFuncWin {
    ComplexWindow() { setComplexMode(true); }
};

const ComplexWindow& window()
{
    static const ComplexWindow w;
    return w;
}

bool evaluateSeedText(const std::string& text, Complex& z) { return window().evaluateConstant(text, z) == 0; }

Complex value(const std::string& text)
{
    Complex z{-99, -99};
    EXPECT_TRUE(evaluateSeedText(text, z)) << text;
    return z;
}

std::vector<Seed> parseSeedList(const std::string& text, size_t minLength = 1)
{
    return qx::parseSeedList(text, evaluateSeedText, minLength);
}

} // namespace

TEST(SeedText, ReadsComplexPairsAndRealForms)
{
    EXPECT_EQ(value("0 + 0i"), (Complex{0, 0}));
    EXPECT_EQ(value("0.2+0.3i"), (Complex{0.2L, 0.3L}));
    EXPECT_EQ(value(" -1.5 - 2i "), (Complex{-1.5L, -2}));
    EXPECT_EQ(value("2cis(0)-i^2"), (Complex{3, 0})); // any complex expression of constants
    EXPECT_EQ(value("2(1+i)"), (Complex{2, 2}));
    EXPECT_EQ(value("-i"), (Complex{0, -1}));
    EXPECT_EQ(value("3i"), (Complex{0, 3}));
    EXPECT_EQ(value("0.25,-0.5"), (Complex{0.25L, -0.5L}));
    EXPECT_EQ(value("2.5"), (Complex{2.5L, 0}));
    Complex z{7, 7};
    for (const char* bad : {"", "junk", "1+", "1,", ",2", "1+2j", "z", "(1+2", "1,2,3", "ln(0)"})
        EXPECT_FALSE(evaluateSeedText(bad, z)) << bad;
    EXPECT_EQ(z, (Complex{7, 7})); // a refused text leaves the value alone
}

TEST(SeedList, AnInvalidPieceEndsTheList)
{
    const auto seeds = parseSeedList("0.1; 0.2+0.3i; junk; 1");
    ASSERT_EQ(seeds.size(), 2u);
    EXPECT_EQ(seeds[0].value, (Complex{0.1L, 0}));
    EXPECT_EQ(seeds[0].text, "0.1");
    EXPECT_EQ(seeds[1].value, (Complex{0.2L, 0.3L}));
    EXPECT_EQ(seeds[1].text, "0.2+0.3i");
    EXPECT_EQ(seedListText(seeds), "0.1; 0.2+0.3i");
}

TEST(SeedList, ElevenSeedsKeepTheFirstTen)
{
    const auto seeds = parseSeedList("0;1;2;3;4;5;6;7;8;9;10");
    ASSERT_EQ(seeds.size(), 10u);
    EXPECT_EQ(seeds.back().value.re, 9);
    EXPECT_EQ(seeds.back().text, "9");
}

TEST(SeedList, ShortEmptyAndOverlongPiecesStopIt)
{
    EXPECT_EQ(parseSeedList("0.5;;1").size(), 1u);       // an empty piece ends it
    EXPECT_EQ(parseSeedList("0.5; 1;").size(), 2u);      // a trailing ';' adds nothing
    EXPECT_TRUE(parseSeedList("").empty());
    EXPECT_TRUE(parseSeedList("0; 1.5", 3).empty());    // real-pair windows need 3 characters
    EXPECT_EQ(parseSeedList("0,0; 1,5", 3).size(), 2u);
    const std::string longPiece = "0." + std::string(99, '1'); // 101 characters
    EXPECT_EQ(parseSeedList("1; " + longPiece + "; 2").size(), 1u);
}

TEST(SeedList, DefaultIsTheOrigin)
{
    const auto seeds = defaultSeeds();
    ASSERT_EQ(seeds.size(), 1u);
    EXPECT_EQ(seeds[0].text, "0 + 0i");
    EXPECT_EQ(seeds[0].value, (Complex{0, 0}));
}

TEST(CoordinateTable, LinesInEitherOrderAndCapped)
{
    const std::vector<Complex> orbit{{0.5L, 0}, {0.25L, -1}, {1.0625L, 2}};
    EXPECT_EQ(orbitTableText(orbit, true), "0  0.500000000000000  0.000000000000000\n"
                                           "1  0.250000000000000  -1.000000000000000\n"
                                           "2  1.062500000000000  2.000000000000000\n");
    EXPECT_EQ(orbitTableText(orbit, false, 2), "2  1.062500000000000  2.000000000000000\n"
                                               "1  0.250000000000000  -1.000000000000000\n");
    EXPECT_EQ(orbitTableText({}, true), "");
}

TEST(IimLimits, WholeNumbersFromZeroUp)
{
    OrbitSettings s;
    EXPECT_EQ(parseIimLimits("0", "5000", s), 0);
    EXPECT_EQ(s.iimScreenLimit, 0);
    EXPECT_EQ(s.iimOutputLimit, 5000);
    EXPECT_EQ(parseIimLimits("x", "10", s), 1);
    EXPECT_EQ(parseIimLimits("-1", "10", s), 17);
    EXPECT_EQ(parseIimLimits("10", "2.5", s), 1001);
    EXPECT_EQ(parseIimLimits("10", "-3", s), 1017);
    EXPECT_EQ(s.iimScreenLimit, 0); // refused entries change nothing
    EXPECT_EQ(s.iimOutputLimit, 5000);
}
