// The real dynamic plane: the Newton system and its refusals, the presets
// with their Notebook, the Gingerbread man without targets, the ancestor
// search, and its documents.
#include "model/common_header.h"
#include "model/fake_host.h"
#include "tools/maps/tdyrwin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace qx;

namespace {

struct DyrFixture : ::testing::Test {
    FakeHost host;
    TDyrWin win{TDyrWin::Empty{}};
    void SetUp() override
    {
        win.attach(host);
        win.resize(80, 60);
    }
};

} // namespace

TEST_F(DyrFixture, MappingRulesAndTheNewtonSystem)
{
    ASSERT_EQ(win.setMappings("y+1-1.4xx", "0.3x"), 0);
    EXPECT_EQ(win.setMappings("Newton(3-x-yy=0)", "4+y-xx"), 6); // only one Newton text
    EXPECT_EQ(win.setMappings("Newton(3-x-yy)", "Newton(4+y-xx=0)"), 6); // no '='
    EXPECT_EQ(win.setMappings("xx+", "y"), 6);                          // does not compile
    EXPECT_EQ(win.mappingText(), "y+1-1.4xx");
    ASSERT_EQ(win.solveSystem("3-x-yy", "4+y-xx"), 0);
    EXPECT_EQ(win.mappingText(), "Newton(3-x-yy = 0)");
    EXPECT_EQ(win.secondMappingText(), "Newton(4+y-xx = 0)");
    // One Newton step for p = 3 - x - y^2, q = 4 + y - x^2 at (1, 1):
    // J = [[-1, -2], [-2, 1]], (p, q) = (1, 4): the step solves J d = -(p, q).
    const Complex next = win.map({1, 1});
    const Real det = -1 * 1 - (-2) * (-2); // -5
    const Real dx = (1 * 1 - (-2) * 4) / det, dy = (-1 * 4 - (-2) * 1) / det;
    EXPECT_NEAR(static_cast<double>(next.re), static_cast<double>(1 - dx), 1e-15);
    EXPECT_NEAR(static_cast<double>(next.im), static_cast<double>(1 - dy), 1e-15);
    EXPECT_EQ(win.newtonP(), "3-x-yy");
}

TEST_F(DyrFixture, HenonPresetAndItsNotebook)
{
    ASSERT_TRUE(win.applyExample(1));
    EXPECT_EQ(win.mappingText(), "y+1-1.4xx");
    EXPECT_EQ(win.secondMappingText(), "0.3x");
    ASSERT_EQ(win.targetCount(), 1);
    EXPECT_EQ(win.target(0).kind(), TargetKind::Region);
    EXPECT_EQ(win.target(0).texts[0], "xx-50-y");
    EXPECT_EQ(win.maxReps(), 30);
    EXPECT_EQ(win.orbitLength(), 5000);
    EXPECT_TRUE(win.overlayOrbits());
    ASSERT_EQ(win.seeds().size(), 1u);
    EXPECT_EQ(win.seeds()[0].value.re, 1.003010614010689L);
    EXPECT_EQ(win.notebook(), "(x,y) --> (y+1-1.4xx , 0.3x)\r\n\r\nfixed points\r\n\r\n"
                              "0.631354477089505 , 0.189406343126851\r\n"
                              "-1.131354477089505 , -0.339406343126851\r\n");
    EXPECT_EQ(host.textWindows.size(), 1u);
    // A point far below the parabola escapes into the region at once; one
    // on the attractor never does.
    EXPECT_EQ(win.pointReport({0, -60}), "target 0 at rep 0");
    EXPECT_EQ(win.pointReport({0.631354477089505L, 0.189406343126851L}), "no target at rep 30 : period = 163"); // a near return on the attractor
    ASSERT_TRUE(win.applyExample(4)); // Quadratic 3
    EXPECT_EQ(win.notebook().substr(0, 30), "(x,y) --> (-1.2+0.7xx+0.1y+0.4");
    EXPECT_EQ(win.view().halfWidth, 2.8L);
    EXPECT_FALSE(win.applyExample(8));
}

TEST_F(DyrFixture, GingerbreadManHasNoTargets)
{
    ASSERT_TRUE(win.applyExample(0));
    EXPECT_EQ(win.targetCount(), 0);
    EXPECT_EQ(win.orbitLength(), 20000);
    paintAndFinish(win);
    // Every pixel is the no-target colour except the overlay orbit's points.
    const Image& figure = win.figureImage();
    const Rgb first = figure.pixels[0];
    EXPECT_TRUE(std::all_of(figure.pixels.begin(), figure.pixels.end(), [&](Rgb p) { return p == first; }));
    EXPECT_NE(win.picture().pixels, figure.pixels); // the orbit shows over it
}

TEST_F(DyrFixture, AncestorSearchWalksTheLevelCurve)
{
    win.applyExample(1);
    win.seedAncestorSearch(7);
    // The Henon map sends (0.5, 0.2) to (0.85, 0.15).
    const Complex image = win.map({0.5L, 0.2L});
    EXPECT_NEAR(static_cast<double>(image.re), 0.85, 1e-15);
    const std::vector<Complex> pre = win.preimagesOf(image);
    ASSERT_FALSE(pre.empty());
    bool near = false;
    for (const Complex& p : pre)
        near |= std::fabs(p.re - 0.5L) + std::fabs(p.im - 0.2L) < 1e-12L;
    EXPECT_TRUE(near);
    // Each reported ancestor maps forward to the clicked point, for several
    // points of the attractor's region.
    for (const Complex z : {Complex{0.3L, 0.1L}, Complex{-0.6L, -0.2L}, Complex{1.1L, 0.05L}}) {
        for (const Complex& a : win.preimagesOf(z)) {
            const Complex back = win.map(a);
            EXPECT_LT(std::fabs(back.re - z.re) + std::fabs(back.im - z.im), 1e-6L * win.view().halfWidth * 2);
        }
    }
    // No preimage inside this view: nothing after the trials.
    win.setView(40, 40, 1);
    EXPECT_TRUE(win.preimagesOf(image).empty());
}

TEST_F(DyrFixture, DocumentsKeepBothTextsAndTheSystem)
{
    ASSERT_EQ(win.solveSystem("3-x-yy", "4+y-xx"), 0);
    win.setTargets({pointTarget("1", "0.01"), regionTarget("xx+yy-100")});
    const FracDocument d = win.captureDocument();
    ByteWriter w;
    writeCommonHeader(w, d.header);
    encodeFracBody(w, d);
    ByteReader r(w.data());
    CommonHeader h;
    ASSERT_EQ(readCommonHeader(r, kDyrKind, h), 0);
    FracDocument back;
    ASSERT_EQ(decodeFracBody(r, h, back), 0);
    TDyrWin other{TDyrWin::Empty{}};
    ASSERT_EQ(other.applyDocument(back), 0);
    EXPECT_EQ(other.secondMappingText(), "Newton(4+y-xx = 0)");
    EXPECT_EQ(other.newtonQ(), "4+y-xx");
    EXPECT_EQ(other.map({1, 1}), win.map({1, 1}));
    // A complex plane's document is refused by the real plane.
    FracDocument complexDoc = back;
    complexDoc.flags[FracFlagComplex] = 1;
    EXPECT_EQ(other.applyDocument(complexDoc), 6);
}
