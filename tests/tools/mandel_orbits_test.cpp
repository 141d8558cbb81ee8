#include "graphics/raster_canvas.h"
#include "model/fake_host.h"
#include "model/orbit_points.h"
#include "tools/mandel/mj_commands.h"
#include "tools/mandel/mj_escape.h"
#include "tools/mandel/mj_iim.h"
#include "tools/mandel/tjulwin.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qx;

namespace {

Complex power(Complex z, int d)
{
    Complex w{1, 0};
    for (int i = 0; i < d; ++i)
        w = mul(w, z);
    return w;
}

void expectNear(Complex a, Complex b, Real tol = 1e-15L)
{
    EXPECT_NEAR(static_cast<double>(a.re), static_cast<double>(b.re), static_cast<double>(tol));
    EXPECT_NEAR(static_cast<double>(a.im), static_cast<double>(b.im), static_cast<double>(tol));
}

// A Julia window of c = -1 on a fake host, 201 x 201 pixels over [-2, 2]^2.
struct OrbitFixture : ::testing::Test {
    FakeHost host;
    TJulWin win{[](uint32_t) { return 0u; }};
    void SetUp() override
    {
        win.attach(host);
        win.resize(201, 201);
        win.setParameter({-1, 0});
        win.setView(0, 0, 2);
    }
    WorldPoint world(PixelPoint p) const { return win.view().pixelToWorld(p); }
};

} // namespace

TEST(Preimages, EveryPreimageMapsBackAndTheyTurnByOmega)
{
    const Complex c{-0.12L, 0.74L}, z{0.3L, -0.4L};
    for (int d : {2, 3, 5}) {
        const auto pre = preimages(z, c, d);
        ASSERT_EQ(pre.size(), static_cast<size_t>(d));
        for (const Complex& p : pre) {
            const Complex back = power(p, d);
            expectNear({back.re + c.re, back.im + c.im}, z, 1e-15L);
        }
        // The first is the principal root: its argument is arg(z - c) / d.
        EXPECT_NEAR(static_cast<double>(std::atan2(pre[0].im, pre[0].re)),
                    static_cast<double>(std::atan2(z.im - c.im, z.re - c.re) / d), 1e-15);
    }
    EXPECT_EQ(preimages(c, c, 2), (std::vector<Complex>{{0, 0}, {0, 0}})); // z - c = 0
}

TEST(Preimages, AnchorIsTheRepellingFixedPointForDegreeTwo)
{
    for (const Complex c : {Complex{-1, 0}, Complex{-0.12L, 0.74L}, Complex{0.25L, 0}}) {
        const Complex a = iimAnchor(c, 2);
        expectNear(mapPower(a, c, 2), a, 1e-15L);
    }
    expectNear(iimAnchor({-1, 0}, 2), {(1 + std::sqrt(5.0L)) / 2, 0});
    EXPECT_EQ(iimCeilingAfterInterrupt(5000), 5000);
    EXPECT_EQ(iimCeilingAfterInterrupt(12), 1000);
}

TEST(Preimages, EachStepPlotsAllPreimagesAndContinuesFromOne)
{
    InverseIteration a({-1, 0}, 3, 7), b({-1, 0}, 3, 7);
    std::vector<Complex> plotted;
    for (int i = 0; i < 50; ++i) {
        const Complex before = a.current();
        plotted.clear();
        const Complex next = a.step([&](Complex z) { plotted.push_back(z); });
        ASSERT_EQ(plotted.size(), 3u);
        EXPECT_NE(std::find(plotted.begin(), plotted.end(), next), plotted.end());
        EXPECT_EQ(plotted, preimages(before, {-1, 0}, 3));
        EXPECT_EQ(b.step([](Complex) {}), next); // the same seed takes the same branches
    }
    EXPECT_EQ(a.steps(), 50);
}

TEST_F(OrbitFixture, SeedListCommandKeepsThePiecesBeforeABadOne)
{
    host.textAnswers = {"0.1; 0.2+0.3i; junk; 1"};
    paintAndFinish(win);
    ASSERT_TRUE(win.handleCommand(CmdSeedList));
    EXPECT_EQ(host.prompts.back(), "seed list");
    ASSERT_EQ(win.seeds().size(), 2u);
    EXPECT_EQ(win.seeds()[1].value, (Complex{0.2L, 0.3L}));
    EXPECT_TRUE(win.figureValid()); // overlays only: no new render
    EXPECT_FALSE(win.compositeValid());
    host.textAnswers.clear(); // cancel keeps the list
    win.handleCommand(CmdSeedList);
    EXPECT_EQ(win.seeds().size(), 2u);
}

TEST_F(OrbitFixture, OverlayPlotsEachSeedOrbitInsideTheView)
{
    win.setSeedListText("0.5; 2");
    win.setOrbitLength("4");
    win.setOverlayOrbits(true);
    RecordingCanvas canvas(win.view(), win.palette());
    win.drawOrbitOverlays(canvas);
    const auto dots = canvas.linesStartingWith("dots");
    ASSERT_EQ(dots.size(), 2u);
    // z -> z^2 - 1 from 0.5: 0.5, -0.75, -0.4375, -0.80859375, -0.3461761474609375.
    EXPECT_EQ(dots[0], "dots 5 (0.5,0) (-0.75,0) (-0.4375,0) (-0.808594,0) (-0.346176,0) fill 1 outline none size 1");
    // From 2 (on the border) only the start is inside; the orbit goes on outside: 3, 8, 63.
    EXPECT_EQ(dots[1], "dots 1 (2,0) fill 1 outline none size 1");
    EXPECT_EQ(win.lastOrbit().size(), 5u);
    EXPECT_EQ(win.lastOrbit()[3], (Complex{63, 0}));
}

TEST_F(OrbitFixture, OverlayOffDrawsNothingAndRunawayOrbitsStop)
{
    RecordingCanvas canvas(win.view(), win.palette());
    win.drawOrbitOverlays(canvas);
    EXPECT_EQ(canvas.count("dots"), 0u);
    win.setOrbitLength("1000");
    const auto orbit = win.orbitFrom({3, 0});
    EXPECT_LT(orbit.size(), 20u); // overflows to infinity within a few steps
    EXPECT_TRUE(std::isfinite(orbit.back().re));
}

TEST_F(OrbitFixture, SeedsMayNameTheParameterC)
{
    // c = -1: the seed C starts at -1, whose orbit is -1, 0, -1, 0, ...
    win.setSeedListText("C; C/2; 2C+i");
    ASSERT_EQ(win.seeds().size(), 3u);
    EXPECT_EQ(win.seeds()[0].value, (Complex{-1, 0}));
    EXPECT_EQ(win.seeds()[1].value, (Complex{-0.5L, 0}));
    EXPECT_EQ(win.seeds()[2].value, (Complex{-2, 1}));
    win.setOrbitLength("6");
    const auto orbit = win.orbitFrom(win.seeds()[0].value);
    ASSERT_GE(orbit.size(), 5u);
    for (size_t k = 0; k < orbit.size(); ++k)
        EXPECT_EQ(orbit[k], (Complex{k % 2 ? 0.0L : -1.0L, 0})) << k;
    // The variable follows the parameter; letters the window does not define stay refused.
    win.setParameter({0.25L, 0.5L});
    EXPECT_EQ(win.variable(kSlotC), (Complex{0.25L, 0.5L}));
    win.setSeedListText("c; junk");
    ASSERT_EQ(win.seeds().size(), 1u);
    EXPECT_EQ(win.seeds()[0].value, (Complex{0.25L, 0.5L}));
    EXPECT_EQ(win.seedPoint("a+1"), 1);
    EXPECT_EQ(win.seedPoint("c+1"), 0);
}

TEST_F(OrbitFixture, OrbiterAdvancesWithSpaceAndEndsWithQ)
{
    ASSERT_EQ(win.mouseMode(), CmdJuliaSet);
    win.mouseDown(MouseButton::Left, {150, 100}); // x = 1, y = 0
    ASSERT_TRUE(win.orbiterActive());
    EXPECT_EQ(host.currentTitle, "spacebar to advance, Q to quit");
    EXPECT_EQ(host.idleTimerMs, 15000);
    ASSERT_EQ(win.transientMarks().size(), 1u);
    EXPECT_EQ(win.transientMarks()[0].p.x, 1);
    EXPECT_TRUE(win.keyDown(' ')); // 1 -> 0
    ASSERT_EQ(win.transientMarks().size(), 1u); // erase marks is on
    EXPECT_EQ(win.transientMarks()[0].p.x, 0);
    win.handleCommand(CmdEraseMarks);
    EXPECT_FALSE(win.isChecked(CmdEraseMarks));
    win.keyDown(' '); // 0 -> -1
    EXPECT_EQ(win.transientMarks().size(), 2u);
    EXPECT_EQ(win.lastOrbit(), (std::vector<Complex>{{1, 0}, {0, 0}, {-1, 0}}));
    EXPECT_TRUE(win.keyDown('Q'));
    EXPECT_FALSE(win.orbiterActive());
    EXPECT_TRUE(win.transientMarks().empty());
    EXPECT_EQ(host.idleTimerMs, 0);
    EXPECT_FALSE(win.keyDown(' ')); // no orbiter: the key is not used
}

TEST_F(OrbitFixture, OrbiterEndsAfterItsIdleTimeAndRemovesTheMarkers)
{
    paintAndFinish(win);
    win.mouseDown(MouseButton::Left, {100, 100});
    ASSERT_TRUE(win.orbiterActive());
    RecordingCanvas during(win.view(), win.palette());
    win.drawOverlays(during);
    EXPECT_EQ(during.count("mark"), 1u);
    win.idleTimeout(); // the host's 15 seconds without a key
    EXPECT_FALSE(win.orbiterActive());
    RecordingCanvas after(win.view(), win.palette());
    win.drawOverlays(after);
    EXPECT_EQ(after.count("mark"), 0u);
    EXPECT_TRUE(win.compositeValid()); // refreshed at once
}

TEST_F(OrbitFixture, SeedPointStartsTheOrbiterOrShowsTheError)
{
    win.handleCommand(CmdShowPeriod);
    host.textAnswers = {"not a point"};
    win.handleCommand(CmdSeedPoint);
    EXPECT_FALSE(win.orbiterActive());
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, 1);
    EXPECT_EQ(win.mouseMode(), CmdShowPeriod);
    host.textAnswers = {"0.5 - 0.25i"};
    win.handleCommand(CmdSeedPoint);
    ASSERT_TRUE(win.orbiterActive());
    EXPECT_EQ(win.mouseMode(), CmdJuliaSet);
    EXPECT_EQ(win.lastOrbit(), (std::vector<Complex>{{0.5L, -0.25L}}));
}

TEST_F(OrbitFixture, HeldModesMarkPreimagesOrImageUntilRelease)
{
    win.handleCommand(CmdInverseImages);
    win.mouseDown(MouseButton::Left, {150, 100}); // z = 1: preimages +-sqrt(2)
    ASSERT_EQ(win.transientMarks().size(), 3u);
    EXPECT_NEAR(static_cast<double>(win.transientMarks()[1].p.x), std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(win.transientMarks()[2].p.x), -std::sqrt(2.0), 1e-15);
    win.mouseMove({100, 100}); // z = 0: preimages +-1
    ASSERT_EQ(win.transientMarks().size(), 3u);
    EXPECT_NEAR(static_cast<double>(win.transientMarks()[1].p.x), 1, 1e-15);
    win.mouseUp(MouseButton::Left, {100, 100});
    EXPECT_TRUE(win.transientMarks().empty());
    win.mouseMove({120, 100}); // moves without the button change nothing
    EXPECT_TRUE(win.transientMarks().empty());

    win.handleCommand(CmdImage);
    win.mouseDown(MouseButton::Left, {50, 100}); // z = -1 -> 0
    ASSERT_EQ(win.transientMarks().size(), 2u);
    EXPECT_EQ(win.transientMarks()[1].p.x, 0);
    win.mouseUp(MouseButton::Left, {50, 100});
    EXPECT_TRUE(win.transientMarks().empty());
}

TEST_F(OrbitFixture, TableCoordinatesInBothOrders)
{
    win.handleCommand(CmdTableCoordinates); // no orbit yet
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, 10);
    win.mouseDown(MouseButton::Left, {150, 100});
    win.keyDown(' ');
    win.handleCommand(CmdAscending); // no table shown yet: only the order changes
    win.handleCommand(CmdAscending);
    EXPECT_TRUE(host.textWindows.empty());
    win.handleCommand(CmdTableCoordinates);
    ASSERT_EQ(host.textWindows.size(), 1u);
    EXPECT_EQ(host.textWindows[0].second, "0  1.000000000000000  0.000000000000000\n"
                                          "1  0.000000000000000  0.000000000000000\n");
    win.handleCommand(CmdAscending); // rebuilds the shown table
    EXPECT_FALSE(win.isChecked(CmdAscending));
    ASSERT_EQ(host.textWindows.size(), 2u);
    EXPECT_EQ(host.textWindows[1].second.substr(0, 3), "1  ");
}

TEST_F(OrbitFixture, MarkerAttributesFromTheDialogFields)
{
    host.manyAnswers = {{"1", "0", "7", "5"}, {"1", "0", "101", "5"}, {"x", "0", "7", "5"}};
    win.handleCommand(CmdMarkerAttributes);
    EXPECT_EQ(win.markAttributes().kind, MarkKind::Box);
    EXPECT_EQ(win.markAttributes().size, 7);
    EXPECT_EQ(win.markAttributes().colour, 5);
    win.handleCommand(CmdMarkerAttributes);
    win.handleCommand(CmdMarkerAttributes);
    ASSERT_EQ(host.errors.size(), 2u);
    EXPECT_EQ(host.errors[0].first, 2017); // size field out of range
    EXPECT_EQ(host.errors[1].first, 1);
    EXPECT_EQ(win.markAttributes().size, 7); // unchanged
    win.mouseDown(MouseButton::Left, {100, 100});
    RecordingCanvas canvas(win.view(), win.palette());
    win.drawTransientMarks(canvas);
    EXPECT_EQ(canvas.linesStartingWith("mark")[0].substr(0, 9), "mark box ");
}

TEST_F(OrbitFixture, LabelsFromTheTextDialog)
{
    host.manyAnswers = {{"f(z) = z\\2", "0.5", "-1", "45", "14", "3", "1"}, {"", "0", "0", "0", "12", "1", "0"},
                        {"a", "0", "0", "400", "12", "1", "0"}};
    win.handleCommand(CmdText);
    ASSERT_EQ(win.labels().size(), 1u);
    const TextLabel& l = win.labels()[0];
    EXPECT_EQ(l.anchor.x, 0.5L);
    EXPECT_EQ(l.anchor.y, -1);
    EXPECT_EQ(l.style.angleTenths, 450);
    EXPECT_EQ(l.style.size, 14);
    EXPECT_EQ(l.style.colour, 3);
    EXPECT_TRUE(l.style.opaque);
    win.handleCommand(CmdText);
    win.handleCommand(CmdText);
    ASSERT_EQ(host.errors.size(), 2u);
    EXPECT_EQ(host.errors[0].first, 24);
    EXPECT_EQ(host.errors[1].first, 3017); // angle beyond 360 degrees
    EXPECT_EQ(win.labels().size(), 1u);
    win.handleCommand(CmdClearText);
    EXPECT_TRUE(win.labels().empty());
}

TEST_F(OrbitFixture, JuliaExampleEmptiesTheSeedList)
{
    win.setOverlayOrbits(true);
    ASSERT_TRUE(win.applyExample(673));
    EXPECT_TRUE(win.seeds().empty());
    EXPECT_FALSE(win.isChecked(CmdOverlay));
}

// A long orbit overlay is computed off the user-interface thread: the paint
// path returns at once, Q keeps what was computed and does not start again,
// and a change of seeds drops the points of the job it overtakes.
TEST_F(OrbitFixture, OverlayPointsComeFromAJobThatQStops)
{
    win.setParameter({-1, 0});
    win.setSeedListText("0");
    paintAndFinish(win);
    const std::vector<Rgb> withoutOrbits = win.picture().pixels;
    win.setOrbitLength("2000000000"); // the cycle 0, -1 never leaves
    win.setOverlayOrbits(true);
    win.paint();
    ASSERT_TRUE(win.busy()); // the points are being computed
    win.interruptRendering();
    EXPECT_EQ(win.finishRendering(), 0);
    EXPECT_FALSE(win.busy());
    EXPECT_GT(win.reps(), 0);
    EXPECT_LT(win.reps(), 2000000000);
    win.refresh(); // recomposes from the kept points; nothing starts again
    EXPECT_FALSE(win.busy());
    EXPECT_NE(win.picture().pixels, withoutOrbits); // the cycle's two points are shown

    // New seeds while a job runs: its points are dropped and the new ones come.
    win.setSeedListText("0.5");
    win.paint();
    ASSERT_TRUE(win.busy());
    win.setOrbitLength("50");
    paintAndFinish(win);
    EXPECT_FALSE(win.busy());
    EXPECT_EQ(win.reps(), 51); // 0.5 under z^2 - 1 stays bounded
    EXPECT_EQ(win.lastOrbit().front(), (Complex{0.5L, 0}));
}

// Past the stored-point bound only points on new pixels are kept: the
// raster picture is that of every point, and memory stays bounded.
TEST(OrbitPoints, BoundedStoreDrawsTheSamePixels)
{
    View view;
    view.setPixelSize(300, 300);
    view.setViewByCenter(0, 0, 1.5L);
    const Complex c{-0.390540870218399L, -0.586787907346969L}; // Siegel disk: orbits fill curves
    const OrbitMap map = [c](Complex z) { return mapPower(z, c, 2); };
    const std::vector<Complex> seeds{{-0.2L, -0.3L}, {0.05L, -0.1L}};
    const int32_t length = 700000; // 1.4 million points, past the store's bound
    const std::atomic<bool> never{false};
    OrbitPoints p;
    ASSERT_EQ(computeOrbitPoints(seeds, length, view, map, never, p), 0);
    EXPECT_EQ(p.reps, 2LL * (length + 1));
    size_t stored = 0;
    for (const auto& d : p.dots)
        stored += d.size();
    EXPECT_GT(stored, kMaxOrbitDots);
    EXPECT_LT(stored, kMaxOrbitDots + 300u * 300u);
    EXPECT_EQ(p.lastOrbit.size(), static_cast<size_t>(length) + 1);
    // Every point plotted directly against the kept points.
    Image all, kept;
    all.resize(300, 300, 0);
    kept.resize(300, 300, 0);
    Palette palette = defaultPalette();
    RasterCanvas direct(all, view, palette), fromStore(kept, view, palette);
    for (const Complex& s : seeds) {
        std::vector<WorldPoint> dots;
        Complex z = s;
        for (int32_t k = 0; k <= length; ++k, z = map(z))
            if (view.inView(z.re, z.im))
                dots.push_back({z.re, z.im});
        direct.drawDotList(dots, 1, std::nullopt, 1);
    }
    for (const auto& d : p.dots)
        fromStore.drawDotList(d, 1, std::nullopt, 1);
    EXPECT_EQ(all.pixels, kept.pixels);
    // A raised stop flag ends the work early and keeps what was done.
    const std::atomic<bool> stop{true};
    OrbitPoints q;
    EXPECT_EQ(computeOrbitPoints(seeds, length, view, map, stop, q), 81);
    EXPECT_LT(q.reps, 10000);
}
