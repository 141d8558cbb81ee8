// Lyapunov diagrams: the period string rules, whole periods, exponents of
// known maps, the colour rule, the settings and the documents.
#include "model/common_header.h"
#include "model/fake_host.h"
#include "tools/oned/tlyawin.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qx;

TEST(LyapunovRules, StringsPeriodsAndExponents)
{
    std::vector<uint8_t> s;
    ASSERT_TRUE(parsePeriodString("a, b a", s));
    EXPECT_EQ(periodStringText(s), "ABA");
    const std::vector<uint8_t> kept = s;
    EXPECT_FALSE(parsePeriodString("ABC", s));
    EXPECT_FALSE(parsePeriodString(" , ", s));
    EXPECT_EQ(s, kept);
    EXPECT_EQ(wholePeriods(300, 2), 300);
    EXPECT_EQ(wholePeriods(2000, 2), 2000);
    EXPECT_EQ(wholePeriods(2000, 3), 1998); // "AAB"
    LyapunovParams p;
    p.string = {0};
    Real e = 0;
    const auto at = [&p, &e](Real r) { return lyapunovExponent(p, r, r, std::log(r), std::log(r), e); };
    ASSERT_TRUE(at(3.2L));
    EXPECT_LT(e, 0); // an attracting 2-cycle
    ASSERT_TRUE(at(3.9L));
    EXPECT_GT(e, 0); // chaos
    ASSERT_TRUE(at(4)); // from 0.5 the orbit lands on the fixed point 0, where the slope is 4
    EXPECT_NEAR(static_cast<double>(e), 2.0, 1e-12);
    p.string.assign(300, 0);
    p.calculations = 200; // a string longer than the calculations: nothing to average
    EXPECT_FALSE(at(3.5L));
}

TEST(LyapunovRules, ColoursShadeBetweenTheExtremes)
{
    LyapunovParams p;
    p.stable = -2;
    p.unstable = 1;
    const LyapunovColours c{makeRgb(255, 255, 0), makeRgb(0, 0, 255), makeRgb(0, 0, 0)};
    EXPECT_EQ(lyapunovColour(p, c, true, 0), c.threshold);
    EXPECT_EQ(lyapunovColour(p, c, true, -1), makeRgb(127, 127, 0)); // half way from stable to threshold
    EXPECT_EQ(lyapunovColour(p, c, true, -9), c.threshold);          // beyond the extreme: all the way
    EXPECT_EQ(lyapunovColour(p, c, true, 0.5L), makeRgb(0, 0, 127));
    EXPECT_EQ(lyapunovColour(p, c, false, 0), c.unstable);            // cannot be computed
}

TEST(LyapunovWindow, SettingsPassAndDocuments)
{
    FakeHost host;
    TLyaWin win;
    win.attach(host);
    win.resize(24, 24);
    TLya0Win::Texts t = win.texts();
    EXPECT_EQ(t.string, "AB");
    EXPECT_EQ(t.stable, ""); // worked out at the first pass
    EXPECT_EQ(win.applyTexts({"abc", "", "", "300", "2000"}), 1);
    EXPECT_EQ(win.applyTexts({"ab", "", "", "-1", "2000"}), 6);
    EXPECT_EQ(win.applyTexts({"ab", "", "", "300", "0"}), 6);
    EXPECT_EQ(win.applyTexts({"ab", "0.5", "1", "300", "2000"}), 6); // stable above 0
    EXPECT_EQ(win.applyTexts({"ab", "-1", "-0.5", "300", "2000"}), 6); // unstable below 0
    ASSERT_EQ(win.applyTexts({"aab", "", "", "100", "400"}), 0);
    paintAndFinish(win);
    EXPECT_LE(win.params().stable, 0); // the pass worked the extremes out
    EXPECT_GE(win.params().unstable, 0);
    EXPECT_LT(win.smallestExponent(), win.largestExponent());
    EXPECT_EQ(win.pointReport(-1, 2), "-1.00000000, 2.00000000 [...]");
    // Documents: write, read into a fresh window, write again: the same bytes.
    ByteWriter w;
    win.writeBody(w);
    TLyaWin other;
    other.attach(host);
    ByteReader r(w.data());
    CommonHeader h;
    ASSERT_EQ(other.readBody(r, h), 0);
    EXPECT_EQ(other.texts().string, "AAB");
    EXPECT_EQ(other.params().calculations, 400);
    ByteWriter again;
    other.writeBody(again);
    EXPECT_EQ(again.data(), w.data());
    for (size_t n = 0; n < w.data().size(); n += 53) {
        ByteReader cut(w.data().data(), n);
        TLyaWin third;
        EXPECT_NE(third.readBody(cut, h), 0) << n;
    }
}
