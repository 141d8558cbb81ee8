// Web diagrams: the defaults and the cycle generator, stepping (One, Many,
// Clear, Reset), the trace modes on the figure, the tied seed and the
// parameter bar, the settings rules and the documents.
#include "model/common_header.h"
#include "model/fake_host.h"
#include "tools/oned/cycle_table.h"
#include "tools/oned/twebwin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace qx;

namespace {

constexpr int kSlotR = 18;

struct WebFixture : ::testing::Test {
    FakeHost host;
    TWebWin win{false}; // the quadratic default: xx+r, r = -1.41, seed 0
    void SetUp() override
    {
        win.attach(host);
        win.resize(400, 400);
        win.setDelay(0);
        paintAndFinish(win);
    }
    void steps(int32_t n)
    {
        win.requestSteps(n);
        paintAndFinish(win);
    }
    Rgb webColour() const { return paletteColour(win.palette(), win.specialColours().get(SlotIim)); }
    bool lit(Real x, Real y) const
    {
        const View& v = win.view();
        const int px = static_cast<int>(std::lround(v.xToPixelF(x))), py = static_cast<int>(std::lround(v.yToPixelF(y)));
        return (win.figureImage().at(px, py) & 0xFFFFFFu) == (webColour() & 0xFFFFFFu);
    }
};

// 0 has exact period n under z^2 + c.
bool exactPeriod(Real c, int n)
{
    Real z = 0;
    for (int k = 1; k <= n; ++k) {
        z = z * z + c;
        if (k < n && std::fabs(z) < 1e-6L)
            return false;
    }
    return std::fabs(z) < 1e-12L;
}

} // namespace

TEST(CycleTable, EveryEntryHasExactPeriodAndTheListsAreComplete)
{
    // The number of real c with 0 of exact period n (the real centres of
    // z^2 + c) is (1/2n) sum over odd d | n of mu(d) 2^(n/d): 1, 1, 2, 3, 5,
    // 9, 16, 28, 51 for n = 2 .. 10, 93 for n = 11, of which the table keeps 79.
    const int expected[] = {1, 1, 2, 3, 5, 9, 16, 28, 51, 79};
    for (int n = 2; n <= 11; ++n) {
        const auto table = superattractingParameters(n);
        ASSERT_EQ(static_cast<int>(table.size()), expected[n - 2]) << n;
        std::set<long long> distinct;
        for (Real c : table) {
            EXPECT_TRUE(c >= -2 && c <= 0.25L) << n << " " << static_cast<double>(c);
            EXPECT_TRUE(exactPeriod(c, n)) << n << " " << static_cast<double>(c);
            distinct.insert(std::llround(c * 1e12L));
        }
        EXPECT_EQ(distinct.size(), table.size()) << n;
    }
    EXPECT_TRUE(superattractingParameters(1).empty());
    EXPECT_TRUE(superattractingParameters(12).empty());
    EXPECT_NEAR(static_cast<double>(superattractingParameters(3)[0]), -1.754877666246693, 1e-15);
}

TEST_F(WebFixture, DefaultsAndTheCycleGenerator)
{
    EXPECT_EQ(win.mappingText(), "xx+r");
    EXPECT_EQ(win.variable(kSlotR).re, -1.41L);
    EXPECT_EQ(win.variableMinimum(kSlotR), -2);
    EXPECT_EQ(win.seedValue(), 0);
    win.applyDefault(TWebWin::Logistic);
    EXPECT_EQ(win.mappingText(), "rx(1-x)");
    EXPECT_EQ(win.variable(kSlotR).re, 3.9L);
    EXPECT_TRUE(win.seedValue() >= 0.1L && win.seedValue() <= 0.45L);
    EXPECT_EQ(win.view().centerX, 0.5L);
    // The diagonal is y = x: its pixels at x = 0.2 and x = 0.7 are lit (the
    // view is not square, so the corners do not lie on it).
    win.resize(400, 300);
    paintAndFinish(win);
    const Rgb diagonal = paletteColour(win.palette(), win.specialColours().get(SlotFixedPoint));
    for (Real x : {0.2L, 0.7L}) {
        const View& v = win.view();
        const int cx = static_cast<int>(std::lround(v.xToPixelF(x))), cy = static_cast<int>(std::lround(v.yToPixelF(x)));
        bool near = false; // the line's pixel, give or take one
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                near = near || win.figureImage().at(cx + dx, cy + dy) == (diagonal & 0xFFFFFFu);
        EXPECT_TRUE(near) << static_cast<double>(x);
    }

    // The logistic 2-cycle: c = -1 gives r = 1 + sqrt(5); the critical point 0.5 returns after two steps.
    ASSERT_TRUE(win.generateCycle(2));
    EXPECT_NEAR(static_cast<double>(win.variable(kSlotR).re), 1 + std::sqrt(5.0), 1e-15);
    EXPECT_EQ(win.seedValue(), 0.5L);
    paintAndFinish(win);
    EXPECT_EQ(win.iterations(), 2);
    const std::vector<Real> xs = win.orbit();
    ASSERT_EQ(xs.size(), 3u);
    EXPECT_NEAR(static_cast<double>(xs[2]), 0.5, 1e-15);
    EXPECT_GT(std::fabs(xs[1] - 0.5L), 0.1L);

    // A quadratic cycle of period 7 (table entry 3): 0 comes back after 7 steps.
    win.applyDefault(TWebWin::Quadratic);
    ASSERT_TRUE(win.generateCycle(7, 3));
    EXPECT_EQ(win.variable(kSlotR).re, superattractingParameters(7)[3]);
    paintAndFinish(win);
    EXPECT_NEAR(static_cast<double>(win.currentX()), 0, 1e-12);
    EXPECT_FALSE(win.generateCycle(12));
    EXPECT_FALSE(win.generateCycle(2, 1)); // the period-2 list has one entry
}

TEST_F(WebFixture, OneManyClearAndReset)
{
    win.stepOne();
    paintAndFinish(win);
    EXPECT_EQ(win.iterations(), 1);
    EXPECT_EQ(win.currentX(), -1.41L);
    EXPECT_EQ(win.setHowMany("0"), ErrOutOfBounds);
    EXPECT_EQ(win.setHowMany("x"), ErrCannotUnderstand);
    EXPECT_EQ(win.setHowMany("32768"), ErrOutOfBounds);
    EXPECT_EQ(win.howMany(), 300);
    ASSERT_EQ(win.setHowMany("9"), 0);
    win.stepMany();
    paintAndFinish(win);
    EXPECT_EQ(win.iterations(), 10);
    const Real x = win.currentX();
    EXPECT_EQ(win.orbit().back(), x);

    // Clear keeps the current x: the next step goes on from it.
    win.clearWeb();
    paintAndFinish(win);
    EXPECT_EQ(win.iterations(), 0);
    EXPECT_EQ(win.currentX(), x);
    win.stepOne();
    paintAndFinish(win);
    EXPECT_EQ(win.orbit().front(), x);
    EXPECT_EQ(win.currentX(), x * x - 1.41L);
    // Reset goes back to the seed.
    win.resetWeb();
    paintAndFinish(win);
    EXPECT_EQ(win.currentX(), 0);
    EXPECT_EQ(win.iterations(), 0);

    // A map whose orbit leaves the reals ends the web where it can go no further.
    ASSERT_EQ(win.setMapping("sqr(x-1)"), 0);
    steps(5);
    EXPECT_EQ(win.iterations(), 0); // sqr(-1) has no real value
    EXPECT_NE(win.setMapping("x+("), 0);
    EXPECT_EQ(win.mappingText(), "sqr(x-1)");
}

TEST_F(WebFixture, TraceModesOnTheFigure)
{
    win.applyDefault(TWebWin::Logistic);
    TWebWin::Settings s = win.settings();
    s.seed = "0.1";
    ASSERT_EQ(win.applySettings(s), 0);
    steps(4);
    const std::vector<Real> xs = win.orbit();
    ASSERT_EQ(xs.size(), 5u);
    // Total: every step stays. The middle of step i's vertical is at (x_i, (x_i + x_i+1) / 2).
    for (size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(lit(xs[i], (xs[i] + xs[i + 1]) / 2)) << i;

    s.trace = TWebWin::TracePartial;
    ASSERT_EQ(win.applySettings(s), 0);
    steps(4);
    EXPECT_FALSE(lit(xs[0], (xs[0] + xs[1]) / 2));
    EXPECT_FALSE(lit(xs[1], (xs[1] + xs[2]) / 2));
    EXPECT_TRUE(lit(xs[3], (xs[3] + xs[4]) / 2));     // the latest vertical ...
    EXPECT_TRUE(lit((xs[3] + xs[4]) / 2, xs[4]));     // ... and horizontal
    // Stepping on in partial mode replaces the step shown.
    steps(5);
    EXPECT_FALSE(lit(xs[3], (xs[3] + xs[4]) / 2));

    s.trace = TWebWin::TraceOff;
    ASSERT_EQ(win.applySettings(s), 0);
    win.resetWeb();
    steps(4);
    EXPECT_EQ(win.iterations(), 4); // computed, not drawn
    EXPECT_FALSE(lit(xs[3], (xs[3] + xs[4]) / 2));
}

TEST_F(WebFixture, SettingsTiedSeedAndTheParameterBar)
{
    TWebWin::Settings s = win.settings();
    EXPECT_FALSE(s.tied);
    s.seed = "5"; // outside the view's horizontal range [-2.3, 2.3]
    EXPECT_EQ(win.applySettings(s), ErrOutOfBounds);
    s.seed = "junk";
    EXPECT_NE(win.applySettings(s), 0);
    s.seed = "0.25";
    s.letter = 24;
    EXPECT_EQ(win.applySettings(s), ErrInconsistentData);
    EXPECT_EQ(win.seedValue(), 0); // nothing changed

    // The seed tied to A: the bar moves A, and with it the whole web.
    win.setVariable(kSlotA, {0.2L, 0});
    ASSERT_EQ(win.setVariableBounds(kSlotA, -1, 1), 0);
    s.letter = 1;
    s.tied = true;
    ASSERT_EQ(win.applySettings(s), 0);
    EXPECT_EQ(win.seedValue(), 0.2L);
    steps(3);
    ASSERT_EQ(win.parameterBar()->slot, kSlotA);
    win.parameterBarMoved(0.5L);
    paintAndFinish(win);
    EXPECT_EQ(win.orbit().front(), 0.5L);
    EXPECT_EQ(win.iterations(), 3);
    EXPECT_EQ(win.currentX(), win.orbit().back());
    win.parameterBarMoved(3); // beyond the bound: ignored
    EXPECT_EQ(win.variable(kSlotA).re, 0.5L);

    // Untied, the bar moves r.
    s.tied = false;
    ASSERT_EQ(win.applySettings(s), 0);
    EXPECT_EQ(win.parameterBar()->slot, kSlotR);
    EXPECT_EQ(win.parameterBar()->low, -2);
    EXPECT_GT(host.barChanges, 0);
}

TEST_F(WebFixture, KeysWhileSteppingAndBeeps)
{
    win.setDelay(30);
    win.requestSteps(200);
    win.paint();
    ASSERT_TRUE(win.busy());
    EXPECT_TRUE(win.keyDown('S'));
    EXPECT_EQ(win.delay(), 45);
    EXPECT_TRUE(win.keyDown('F'));
    EXPECT_TRUE(win.keyDown('F'));
    EXPECT_EQ(win.delay(), 15);
    EXPECT_TRUE(win.keyDown('F')); // not below 15
    EXPECT_EQ(win.delay(), 15);
    EXPECT_TRUE(win.keyDown('P'));
    EXPECT_TRUE(win.keyDown('X')); // any key ends the pause
    host.interruptKeys.push_back('Q');
    paintAndFinish(win);
    EXPECT_LT(win.iterations(), 200);
    EXPECT_EQ(win.targetCount(), win.iterations()); // Q ends the steps where they are

    win.setDelay(0);
    win.setBeeps(true);
    win.resetWeb();
    steps(3);
    ASSERT_FALSE(host.tones.empty());
    for (const auto& [hz, ms] : host.tones) {
        EXPECT_TRUE(hz >= 220 && hz <= 1760) << hz;
        EXPECT_EQ(ms, win.toneDuration());
    }
}

TEST_F(WebFixture, DocumentsRoundTripAndReplay)
{
    win.applyDefault(TWebWin::Logistic);
    TWebWin::Settings s = win.settings();
    s.seed = "0.3";
    s.arrows = true;
    s.trace = TWebWin::TracePartial;
    ASSERT_EQ(win.applySettings(s), 0);
    ASSERT_EQ(win.setHowMany("17"), 0);
    steps(12);
    ByteWriter w;
    win.writeBody(w);
    TWebWin other(false);
    other.attach(host);
    other.resize(400, 400);
    ByteReader r(w.data());
    CommonHeader h;
    ASSERT_EQ(other.readBody(r, h), 0);
    EXPECT_EQ(other.mappingText(), "rx(1-x)");
    EXPECT_EQ(other.seedValue(), 0.3L);
    EXPECT_EQ(other.howMany(), 17);
    EXPECT_EQ(other.traceMode(), TWebWin::TracePartial);
    EXPECT_EQ(other.variable(kSlotR).re, 3.9L);
    paintAndFinish(other);
    EXPECT_EQ(other.iterations(), 12); // replayed to the stored count
    EXPECT_EQ(other.currentX(), win.currentX());
    ByteWriter again;
    other.writeBody(again);
    ASSERT_EQ(again.data().size(), w.data().size());
    for (size_t i = 0; i < w.data().size(); ++i)
        ASSERT_EQ(again.data()[i], w.data()[i]) << i;
    for (size_t n = 0; n < w.data().size(); n += 53) {
        ByteReader cut(w.data().data(), n);
        TWebWin third(false);
        EXPECT_NE(third.readBody(cut, h), 0) << n;
        EXPECT_EQ(third.mappingText(), "xx+r");
    }
}
