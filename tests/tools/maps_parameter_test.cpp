// The parameter planes: presets as tabled, targets prepared again for every
// pixel when they mention the parameter, the critical orbit's fate, the
// refused root-finding keywords, and the Julia child.
#include "model/common_header.h"
#include "model/fake_host.h"
#include "model/special_colours.h"
#include "tools/maps/tdycwin.h"
#include "tools/maps/tdyrwin.h"
#include "tools/maps/tparwin.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {

struct PpcFixture : ::testing::Test {
    FakeHost host;
    TPpcWin win{TPpcWin::Empty{}};
    void SetUp() override
    {
        win.attach(host);
        win.resize(64, 48);
    }
};

} // namespace

TEST_F(PpcFixture, NewtonFamilyTargetsFollowTheParameter)
{
    ASSERT_TRUE(win.applyExample(0));
    EXPECT_EQ(win.mappingText(), "(2zzz+2-2cc)/(3zz-3-cc)");
    ASSERT_EQ(win.targetCount(), 3);
    EXPECT_EQ(win.target(0).flag, 0); // "2" does not mention c
    EXPECT_EQ(win.target(1).flag, 1); // "-1.0+c" does
    EXPECT_EQ(win.target(2).flag, 1);
    EXPECT_EQ(win.target(0).code, 100);
    // The map is Newton's for (z - 2)(z + 1 - c)(z + 1 + c): from the seed 0
    // the orbit reaches one of the three roots, wherever they stand.
    for (const Complex c : {Complex{0.8L, 0.9L}, Complex{-1.2L, 0.3L}, Complex{2.5L, -1}}) {
        const std::string report = win.pointReport(c);
        EXPECT_EQ(report.rfind("target ", 0), 0u) << report;
    }
    // Refused: the root-finding keywords are for dynamic planes only.
    EXPECT_EQ(win.setMapping("Newton(zzz-1=0)"), 6);
    EXPECT_EQ(win.mappingText(), "(2zzz+2-2cc)/(3zz-3-cc)");
}

TEST_F(PpcFixture, PresetsAsTabled)
{
    struct Row {
        int k;
        const char* critical;
        Real centre, width;
        int targets;
    };
    for (const Row& r : {Row{1, "-c/2", 1, 3.5L, 1}, Row{2, "-1-2c/3", -3, 3.25L, 2}, Row{3, "-(c/3)-1/(3c)", 0, 4, 2},
                         Row{4, "0.375/c", 0, 1.6L, 3}, Row{5, "0", 1.3L, 3, 2}, Row{6, "0", 1, 2.2L, 2},
                         Row{7, "0", -0.4L, 2.2L, 1}}) {
        ASSERT_TRUE(win.applyExample(r.k)) << r.k;
        EXPECT_EQ(win.criticalText(), r.critical) << r.k;
        EXPECT_EQ(win.view().centerX, r.centre) << r.k;
        EXPECT_EQ(win.view().halfWidth, r.width) << r.k;
        EXPECT_EQ(win.targetCount(), r.targets) << r.k;
    }
    // Cubic 2-cycle at c = 0 divides by zero: no target for that pixel.
    win.applyExample(3);
    EXPECT_EQ(win.target(1).flag, 1);
    EXPECT_EQ(win.pointReport({0, 0}).rfind("no target", 0), 0u);
    // Double Mandelbrot: c = 0 keeps the critical orbit at 0; c = 3 escapes.
    win.applyExample(1);
    EXPECT_EQ(win.pointReport({0, 0}).rfind("no target", 0), 0u);
    EXPECT_EQ(win.pointReport({1, 3}).rfind("target 0 at rep", 0), 0u);
}

TEST_F(PpcFixture, NewtonAtZeroRunsToTheCeilingAndZoomWindowsReopen)
{
    win.applyExample(0);
    // At c = 0 the roots -1 + c and -1 - c coincide: Newton's method halves
    // the distance to a double root at each step (17 steps to 0.00001 from
    // distance 1), where a simple root takes a handful.
    EXPECT_EQ(win.pointReport({0, 0}), "target 1 at rep 16");
    const std::string simple = win.pointReport({0.5L, 0.5L});
    ASSERT_EQ(simple.rfind("target ", 0), 0u) << simple;
    EXPECT_LT(std::stoi(simple.substr(simple.rfind(' ') + 1)), 10);
    win.setMaxReps(12); // with fewer repetitions the double root is never reached
    EXPECT_EQ(win.pointReport({0, 0}), "no target at rep 12 : period = large");
    EXPECT_FALSE(win.reopenZoomWindow()); // none yet
    win.openZoomWindow({0.5L, 0.5L});
    ASSERT_EQ(host.children.size(), 1u);
    ASSERT_TRUE(win.reopenZoomWindow());
    ASSERT_EQ(host.children.size(), 2u);
    EXPECT_EQ(host.children[1]->view().centerX, 0.5L);
    EXPECT_EQ(win.exampleIndex("double mandelbrot"), 1);
    EXPECT_EQ(win.exampleIndex("1 Double Mandelbrot"), 1);
    EXPECT_EQ(win.exampleIndex("7"), 7);
    EXPECT_EQ(win.exampleIndex("8"), -1);
}

// Every map tool's document: write, read, write gives the same bytes, and
// every cut of the body is refused.
TEST(MapDocuments, RoundTripsAndTruncationsOfEveryPlane)
{
    FakeHost host;
    TPpcWin ppc(TPpcWin::Empty{});
    TPprWin ppr(TPprWin::Empty{});
    TDyrWin dyr(TDyrWin::Empty{});
    ppc.applyExample(3);
    ppr.applyExample(1);
    dyr.applyExample(4);
    for (TFracWin* w : std::initializer_list<TFracWin*>{&ppc, &ppr, &dyr}) {
        w->attach(host);
        const int32_t kind = w->toolFiles().kind;
        const FracDocument d = w->captureDocument();
        ByteWriter out;
        writeCommonHeader(out, d.header);
        const size_t header = out.data().size();
        encodeFracBody(out, d);
        const std::vector<uint8_t> bytes = out.data();
        ByteReader r(bytes);
        CommonHeader h;
        ASSERT_EQ(readCommonHeader(r, kind, h), 0) << kind;
        FracDocument back;
        ASSERT_EQ(decodeFracBody(r, h, back), 0) << kind;
        ASSERT_EQ(w->applyDocument(back), 0) << kind;
        ByteWriter again;
        writeCommonHeader(again, w->captureDocument().header);
        encodeFracBody(again, w->captureDocument());
        EXPECT_EQ(std::vector<uint8_t>(again.data().begin() + static_cast<long>(header), again.data().end()),
                  std::vector<uint8_t>(bytes.begin() + static_cast<long>(header), bytes.end()))
            << kind;
        for (size_t n = header; n < bytes.size(); n += 97) {
            ByteReader cut(bytes.data(), n);
            CommonHeader hh;
            ASSERT_EQ(readCommonHeader(cut, kind, hh), 0);
            FracDocument x;
            EXPECT_NE(decodeFracBody(cut, hh, x), 0) << kind << " cut at " << n;
        }
    }
}

TEST_F(PpcFixture, AnExampleAsksToStopARunningDrawing)
{
    win.applyExample(1);
    ASSERT_EQ(win.setMapping("iter(2000000000,zz)+c"), 0);
    win.paint();
    ASSERT_TRUE(win.busy());
    host.yesNoAnswers = {false};
    EXPECT_FALSE(win.applyExample(7)); // declined: the drawing goes on, nothing changes
    EXPECT_TRUE(win.busy());
    EXPECT_EQ(win.mappingText(), "iter(2000000000,zz)+c");
    host.yesNoAnswers = {true};
    EXPECT_TRUE(win.applyExample(7));
    EXPECT_EQ(win.mappingText(), "conj(z)*conj(z)+c");
    win.interruptRendering();
    win.finishRendering();
}

TEST_F(PpcFixture, JuliaChildIsReusedAndRenamed)
{
    win.applyExample(1);
    ASSERT_EQ(win.openJuliaChild({0.25L, 0.5L}), 0);
    ASSERT_EQ(host.children.size(), 1u);
    auto* child = dynamic_cast<TDycWin*>(host.children[0].get());
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->documentName(), "jchild1.dyc");
    EXPECT_EQ(child->mappingText(), "zz+cz");
    EXPECT_EQ(child->variable(kSlotC), (Complex{0.25L, 0.5L}));
    EXPECT_EQ(child->targetCount(), 1);
    EXPECT_EQ(child->view().centerX, -0.125L); // the critical point -c/2
    EXPECT_EQ(child->view().centerY, -0.25L);
    EXPECT_EQ(child->view().halfWidth, win.defaultHalfWidth());
    ASSERT_EQ(win.openJuliaChild({-1, 0}), 0);
    EXPECT_EQ(host.children.size(), 1u); // the same window
    EXPECT_EQ(child->documentName(), "jchild2.dyc");
    EXPECT_EQ(child->variable(kSlotC), (Complex{-1, 0}));
    host.children.clear(); // the child closes: the parent forgets it
    EXPECT_EQ(win.juliaChild(), nullptr);
    EXPECT_FALSE(win.showJuliaChild());
}

TEST(PprPresets, BurningShipAndHenon)
{
    FakeHost host;
    TPprWin win{TPprWin::Empty{}};
    win.attach(host);
    ASSERT_TRUE(win.applyExample(0));
    EXPECT_EQ(win.mappingText(), "xx-yy-a");
    EXPECT_EQ(win.secondMappingText(), "2abs(xy)-b");
    EXPECT_EQ(win.maxReps(), 100);
    EXPECT_EQ(win.specialColours().get(SlotNoTarget), 0);
    EXPECT_EQ(win.promenadePath(), "t;0.0");
    EXPECT_EQ(win.pointReport({3, 3}).rfind("target 0 at rep", 0), 0u); // escapes
    EXPECT_EQ(win.pointReport({0.1L, 0}).rfind("no target", 0), 0u);    // stays bounded
    ASSERT_TRUE(win.applyExample(1));
    EXPECT_EQ(win.maxReps(), 200);
    EXPECT_EQ(win.specialColours().get(SlotNoTarget), 58);
    EXPECT_EQ(win.target(0).kind(), TargetKind::Region);
    EXPECT_EQ(win.target(0).flag, 1); // "-1000-sgn(ab)y" mentions a and b
    // Documents keep the critical point's two texts.
    const FracDocument d = win.captureDocument();
    TPprWin other{TPprWin::Empty{}};
    ASSERT_EQ(other.applyDocument(d), 0);
    EXPECT_EQ(other.criticalText(), win.criticalText());
    EXPECT_EQ(other.criticalYText(), win.criticalYText());
    EXPECT_EQ(other.promenadePath(), "cos(t);sin(t)");
    EXPECT_EQ(other.pointReport({1.4L, 0.3L}), win.pointReport({1.4L, 0.3L}));
}
