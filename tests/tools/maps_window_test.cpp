// The complex dynamic plane as a window: the examples as tabled, the
// Mapping and solve commands, the n-th roots generator, and the fast form of
// every preset's map agreeing with the tree evaluator.
#include "expr/evaluator.h"
#include "model/fake_host.h"
#include "tools/maps/tdycwin.h"
#include "model/common_header.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <chrono>
#include <complex>

using namespace qx;

namespace {

TDycWin::RandomIndex fixed(uint32_t pick)
{
    return [pick](uint32_t count) { return pick % count; };
}

struct DycFixture : ::testing::Test {
    FakeHost host;
    TDycWin win{TDycWin::Empty{}};
    void SetUp() override
    {
        win.attach(host);
        win.resize(64, 48);
    }
};

} // namespace

TEST_F(DycFixture, ExamplesAsTabled)
{
    struct Row {
        int k;
        const char* mapping;
        Real centre, width;
        int expected, targets;
        int16_t code0;
    };
    const Row rows[] = {
        {0, "czz(z-4)/(1-4z)", 1.875L, 6, 3, 2, 3},
        {1, "zzz-0.48z+0.706260+0.502896i", -0.12L, 1.6L, 3, 1, 103},
        {2, "(c+zz)/(1-zz)", 0, 2.75L, 2, 2, 0},
        {3, "zzzz+zzz+z", -0.48L, 1.5L, 4, 2, 0},
        {4, "1.5z-0.5zzz", 0, 3, 3, 3, 100},
        {5, "(z-1)(z-1)(1-kz)", 3.05L, 5.6L, 3, 3, 100},
        {6, "(kzz+nz+k)/(mzz+jz+m)", 0, 3, 2, 2, 0},
        {7, "(zz+k)*(zz+k)+m", 0, 1.2L, 4, 5, 102},
        {8, "(660pow(6,z)-120z)/(11-726pow(5,z)-121pow(10,z))-(1/11)z", 0, 5.3L, 11, 10, 0},
        {9, "zzz(z-a)/(1-az)", 1.6666666666666667L, 4.5L, 4, 2, 103},
    };
    for (const Row& r : rows) {
        ASSERT_TRUE(win.applyExample(r.k)) << r.k;
        EXPECT_EQ(win.mappingText(), r.mapping) << r.k;
        EXPECT_EQ(win.view().centerX, r.centre) << r.k;
        EXPECT_EQ(win.view().halfWidth, r.width) << r.k;
        EXPECT_EQ(win.defaultHalfWidth(), r.width) << r.k;
        EXPECT_EQ(win.expectedTargets(), r.expected) << r.k;
        ASSERT_EQ(win.targetCount(), r.targets) << r.k;
        EXPECT_EQ(win.target(0).code, r.code0) << r.k;
    }
    EXPECT_FALSE(win.applyExample(10));
    // Alien invasion: reps 800, line colours 14 steps, infinity 19.
    win.setMaxReps(400);
    win.applyExample(7);
    EXPECT_EQ(win.maxReps(), 800);
    EXPECT_EQ(win.sequence(0).steps, 14);
    EXPECT_EQ(win.sequence(0).anchors, (std::vector<Rgb>{makeRgb(156, 0, 0), makeRgb(255, 0, 0)}));
    EXPECT_EQ(win.sequence(4).steps, 19);
    EXPECT_EQ(win.target(4).texts[0], "256");
    // Herman ring: c on the unit circle at t = 0.6151732, two-anchor colours.
    win.applyExample(0);
    const Complex c = win.variable(kSlotC);
    EXPECT_NEAR(static_cast<double>(std::atan2(c.im, c.re) + 2 * kPi), 2 * M_PI * 0.6151732, 1e-15);
    EXPECT_EQ(win.sequence(0).anchors, (std::vector<Rgb>{makeRgb(127, 64, 0), makeRgb(255, 128, 0)}));
    EXPECT_EQ(win.sequence(0).steps, 16);
    // Icosahedral: both anchors of target 9 are (180, 0, 0), two steps.
    win.applyExample(8);
    EXPECT_EQ(win.sequence(9).anchors, (std::vector<Rgb>{makeRgb(180, 0, 0), makeRgb(180, 0, 0)}));
    EXPECT_EQ(win.target(6).texts[0], "2.95629520146761*cis(0.4pi)");
}

TEST_F(DycFixture, FastFormAgreesWithTheTreeOnEveryExample)
{
    for (int k = 0; k < TDycWin::kExamples; ++k) {
        ASSERT_TRUE(win.applyExample(k));
        win.prepareTargets();
        TargetEngine engine = win.makeEngine();
        ExprContext cx = win.exprContext();
        CompiledMapping m;
        ASSERT_EQ(compileMapping(cx, win.mappingText(), true, m), 0);
        for (int i = 0; i < 40; ++i) {
            const Complex z{-2 + 0.1L * i, 1.3L - 0.07L * i};
            Complex tree;
            if (!EvaluateAtComplex(cx.env, *m.map, kSlotZ, z, tree))
                tree = {0, 0};
            const Complex fast = engine.map(z);
            EXPECT_EQ(fast.re, tree.re) << k << " at " << i;
            EXPECT_EQ(fast.im, tree.im) << k << " at " << i;
        }
    }
}

TEST_F(DycFixture, MappingCommandRules)
{
    win.applyExample(1);
    const std::string before = win.mappingText();
    EXPECT_EQ(win.setMapping("zz+"), 6); // a compiler error keeps the old map
    EXPECT_EQ(win.mappingText(), before);
    EXPECT_EQ(win.setMapping("Newton(zz-1)"), 6); // no '='
    EXPECT_EQ(win.mappingText(), before);
    ASSERT_EQ(win.setMapping("Newton( zzz - 2z + 2 = 0 )"), 0);
    EXPECT_EQ(win.mappingText(), "Newton(zzz-2z+2=0)");
    EXPECT_EQ(win.methodText(RootMethod::Newton), "zzz-2z+2");
    const std::string longText = "z+" + std::string(29, '1') + "+" + std::string(29, '2'); // 62 characters
    ASSERT_EQ(win.setMapping(longText), 0);
    EXPECT_EQ(win.mappingTitle(), longText.substr(0, 50) + " ...");
    EXPECT_EQ(host.title(), longText.substr(0, 50) + " ...");
    // The solve dialog remembers p and writes the call with " = 0)".
    ASSERT_EQ(win.solve(RootMethod::Halley, "zz - 1"), 0);
    EXPECT_EQ(win.mappingText(), "Halley(zz-1 = 0)");
    EXPECT_EQ(win.methodText(RootMethod::Halley), "zz-1");
    EXPECT_NE(win.solve(RootMethod::Householder, "zz+"), 0);
    EXPECT_EQ(win.mappingText(), "Halley(zz-1 = 0)");
}

TEST_F(DycFixture, NewtonsTwoCycleReachesNoRoot)
{
    ASSERT_EQ(win.setMapping("Newton(zzz-2z+2=0)"), 0);
    win.setRootMethod(RootMethod::Newton);
    // The three roots of zzz - 2z + 2 as targets.
    win.setTargets({pointTarget("-1.76929235423863", "0.01"), pointTarget("0.884646177119316+0.589742805022206i", "0.01"),
                    pointTarget("0.884646177119316-0.589742805022206i", "0.01")});
    EXPECT_EQ(win.pointReport({0.01L, 0}), "no target at rep " + std::to_string(win.maxReps()) + " : period = 2");
    EXPECT_EQ(win.pointReport({-2, 0}).rfind("target 0 at rep ", 0), 0u);
}

TEST_F(DycFixture, NthRootsGenerator)
{
    win.setRootMethod(RootMethod::Newton);
    ASSERT_EQ(win.nthRoots(3, "8"), 0);
    EXPECT_EQ(win.mappingText(), "2z/3+(8)/(3zz)");
    ASSERT_EQ(win.targetCount(), 3);
    EXPECT_EQ(win.target(0).texts[0], "2.00000000+0.00000000i");
    EXPECT_EQ(win.target(0).texts[2], "0.01");
    EXPECT_EQ(win.expectedTargets(), 3);
    EXPECT_NEAR(static_cast<double>(win.view().halfWidth), 2 * 1.44, 1e-15);
    EXPECT_EQ(win.sequence(1).anchors, (std::vector<Rgb>{makeRgb(0, 127, 0), makeRgb(0, 255, 0)}));
    // Each root's basin: a point next to a root reaches it.
    EXPECT_EQ(win.pointReport({2.1L, 0}).rfind("target 0 at rep", 0), 0u);
    // Refusals change nothing.
    EXPECT_EQ(win.nthRoots(3, "0.00001"), 106);
    EXPECT_EQ(win.nthRoots(8, "1"), 17);
    EXPECT_NE(win.nthRoots(3, "1/0"), 0);
    EXPECT_EQ(win.mappingText(), "2z/3+(8)/(3zz)");
    EXPECT_EQ(win.targetCount(), 3);
}

TEST(DycStartUp, RandomChoiceAndMethod)
{
    TDycWin rabbits(fixed(0));
    EXPECT_EQ(rabbits.mappingText(), "zzz-0.48z+0.706260+0.502896i");
    TDycWin roots(fixed(5)); // 5 mod 4 = 1: Halley; 5 mod 6 = 5: cube roots of 8
    EXPECT_EQ(roots.rootMethod(), RootMethod::Halley);
    EXPECT_EQ(roots.mappingText(), nthRootsMapText(3, "8", RootMethod::Halley));
    EXPECT_EQ(roots.targetCount(), 3);
}

TEST_F(DycFixture, PreimagesSolveTheMapInsideTheView)
{
    ASSERT_EQ(win.setMapping("zzz"), 0);
    win.setView(0, 0, 2);
    std::vector<Complex> pre = win.preimagesOf({1, 0});
    ASSERT_EQ(pre.size(), 3u); // the three cube roots of 1
    for (const Complex& w : pre) {
        const std::complex<long double> c(w.re, w.im);
        EXPECT_NEAR(static_cast<double>(std::abs(c * c * c - 1.0L)), 0, 1e-12);
    }
    win.setView(5, 5, 0.5); // none of them in this view
    EXPECT_TRUE(win.preimagesOf({1, 0}).empty());
    // A map that cannot be differentiated has no preimage search.
    ASSERT_EQ(win.setMapping("floor(z)"), 0);
    win.setView(0, 0, 2);
    EXPECT_TRUE(win.preimagesOf({1, 0}).empty());
}

// A map whose every step is a loop of two billion: Q still ends the
// render at once (the flag reaches the evaluator's loop), and the picture
// keeps what was finished.
TEST_F(DycFixture, QStopsAnIterHeavyMap)
{
    win.applyExample(1);
    ASSERT_EQ(win.setMapping("iter(2000000000,zz+0.1)"), 0);
    win.paint();
    ASSERT_TRUE(win.busy());
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const auto t0 = std::chrono::steady_clock::now();
    win.interruptRendering();
    EXPECT_EQ(win.finishRendering(), 81);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(seconds, 5.0) << "the stop flag did not reach the map's loop";
    EXPECT_FALSE(win.busy());
}

TEST_F(DycFixture, ConstantManagerStoresWhatTheToolAllows)
{
    ASSERT_EQ(win.saveConstants(11, "0.5+2i", 11, "", false), 0); // K as one complex value
    EXPECT_EQ(win.variable(11), (Complex{0.5L, 2}));
    EXPECT_EQ(win.constantText(11), "0.50000000000000+2.00000000000000i");
    ASSERT_EQ(win.saveConstants(1, "pi", 2, "k", true), 0); // A and B as real parts
    EXPECT_EQ(win.variable(1).re, kPi);
    EXPECT_EQ(win.variable(2), (Complex{0.5L, 0}));
    EXPECT_EQ(win.saveConstants(9, "1", 9, "", false), 1);  // I is the imaginary unit here
    EXPECT_EQ(win.saveConstants(4, "1", 4, "2", true), 1);  // the same letter twice
    EXPECT_NE(win.saveConstants(4, "1/0", 4, "", false), 0); // does not evaluate
    EXPECT_NE(win.saveConstants(4, "junk", 4, "", false), 0); // undefined letters
    EXPECT_EQ(win.variable(4), (Complex{0, 0}));
}

TEST_F(DycFixture, InventoryEditingAndFind)
{
    win.applyExample(4); // fixed points 1 and -1, and infinity
    ASSERT_TRUE(win.newTargetCommand());
    EXPECT_EQ(win.targetCount(), 4);
    EXPECT_EQ(win.currentTarget(), 3);
    ASSERT_TRUE(win.deleteTargetCommand());
    EXPECT_EQ(win.targetCount(), 3);
    ASSERT_TRUE(win.undoTargets()); // back to four
    EXPECT_EQ(win.targetCount(), 4);
    ASSERT_TRUE(win.undoTargets()); // and to three
    EXPECT_EQ(win.targetCount(), 3);
    EXPECT_FALSE(win.undoTargets());
    EXPECT_EQ(win.setTarget(0, pointTarget("zz+", "0.01")), 6); // refused, nothing changes
    EXPECT_EQ(win.target(0).texts[0], "1");
    // Find on an empty inventory: 1.5z - 0.5z^3 attracts 1 and -1, and the
    // orbits that overflow go on from 0, a fixed point too.
    win.setTargets({});
    win.setMaxReps(100);
    const int added = win.findTargets(3, true);
    EXPECT_EQ(added, 3);
    ASSERT_EQ(win.targetCount(), 3);
    std::vector<Real> xs{win.target(0).values[0], win.target(1).values[0], win.target(2).values[0]};
    std::sort(xs.begin(), xs.end());
    EXPECT_NEAR(static_cast<double>(xs[0]), -1, 1e-12);
    EXPECT_NEAR(static_cast<double>(xs[1]), 0, 1e-12);
    EXPECT_NEAR(static_cast<double>(xs[2]), 1, 1e-12);
    for (int i = 0; i < 3; ++i) { // random light colours: channels 200..255
        const Rgb a = win.sequence(i).anchors[1];
        EXPECT_GE(redOf(a), 200);
        EXPECT_GE(greenOf(a), 200);
    }
    EXPECT_EQ(win.findTargets(3, false), 0); // not above the count: nothing
}

// The window's find runs as a side job: the window stays busy until it
// ends, Q stops it, and what it found before stays.
TEST_F(DycFixture, FindRunsInTheBackgroundAndStopsOnQ)
{
    win.applyExample(4);
    win.setTargets({});
    win.setMaxReps(100);
    ASSERT_EQ(win.findTargetsCommand(3, false), 3);
    EXPECT_TRUE(win.busy());
    EXPECT_EQ(host.titles.back(), "press Q to quit");
    win.finishSideJob();
    EXPECT_FALSE(win.busy());
    EXPECT_EQ(win.targetCount(), 3);
    // A search that cannot succeed (no fixed point converges in 2e9 steps)
    // is stopped at once by Q, leaving the inventory as it was.
    win.setMaxReps(2000000000);
    ASSERT_EQ(win.findTargetsCommand(5, false), 2);
    win.interruptRendering();
    win.finishSideJob();
    EXPECT_FALSE(win.busy());
    EXPECT_EQ(win.targetCount(), 3);
}

TEST_F(DycFixture, DocumentRoundTripAndRefusals)
{
    win.applyExample(7);
    win.setSeedListText("0.1; 0.2i");
    // A user function that the mapping calls travels with the document.
    FunctionLibrary lib;
    lib.functions = {{"SQ", "UU", 1}};
    win.setLibrary(lib);
    ASSERT_EQ(win.setMapping("sq(zz+k)+m"), 0);
    ByteWriter w;
    writeCommonHeader(w, win.captureDocument().header);
    const size_t headerBytes = w.data().size();
    FracDocument d = win.captureDocument();
    encodeFracBody(w, d);
    const std::vector<uint8_t> bytes = w.data();
    ByteReader r(bytes);
    CommonHeader h;
    ASSERT_EQ(readCommonHeader(r, kDycKind, h), 0);
    FracDocument back;
    ASSERT_EQ(decodeFracBody(r, h, back), 0);
    TDycWin other{TDycWin::Empty{}};
    other.attach(host);
    ASSERT_EQ(other.applyDocument(back), 0);
    EXPECT_EQ(other.mappingText(), win.mappingText());
    EXPECT_EQ(other.targetCount(), 5);
    EXPECT_EQ(other.maxReps(), 800);
    EXPECT_EQ(other.variable(11), win.variable(11));
    EXPECT_EQ(other.sequence(4), win.sequence(4));
    EXPECT_EQ(other.seeds().size(), 2u);
    ASSERT_EQ(other.library().functions.size(), 1u);
    EXPECT_EQ(other.mappingText(), "sq(zz+k)+m");
    ByteWriter again;
    writeCommonHeader(again, other.captureDocument().header);
    encodeFracBody(again, other.captureDocument());
    EXPECT_EQ(std::vector<uint8_t>(again.data().begin() + static_cast<long>(headerBytes), again.data().end()),
              std::vector<uint8_t>(bytes.begin() + static_cast<long>(headerBytes), bytes.end()));
    // Every truncation of the body is refused.
    for (size_t n = headerBytes; n < bytes.size(); n += 211) {
        ByteReader cut(bytes.data(), n);
        CommonHeader hh;
        ASSERT_EQ(readCommonHeader(cut, kDycKind, hh), 0);
        FracDocument x;
        EXPECT_NE(decodeFracBody(cut, hh, x), 0) << n;
    }
}
