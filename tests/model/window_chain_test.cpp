#include "base/file_io.h"
#include "model/fake_host.h"
#include "model/tfmjwin.h"
#include "registry/launch_table.h"
#include "registry/tool_registry.h"
#include "support/plane_test_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <atomic>
#include <memory>
#include <thread>

using namespace qx;

namespace {

// Counts renders; colours each pixel from a settable base colour. When
// `gate` is given, the first pixel waits until it opens (to interrupt a
// render deterministically).
struct KernelLog {
    std::atomic<int> kernels{0};
    std::atomic<bool>* gate = nullptr;
    std::atomic<bool> entered{false}; // a worker is waiting at the gate
};

class TestKernel : public PixelKernel {
public:
    TestKernel(Rgb base, KernelLog* log) : base_(base), log_(log) {}
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<TestKernel>(*this); }
    PixelValue colourAt(Real, Real, int col, int row) override
    {
        if (log_->gate && row == 0 && col == 0)
            for (log_->entered = true; !log_->gate->load();)
                std::this_thread::yield();
        return {base_ + static_cast<Rgb>(col), row};
    }

private:
    Rgb base_;
    KernelLog* log_;
};

class TestWin : public TFMJWin {
public:
    TestWin()
    {
        defaultHalfWidth_ = 2;
        view_.setViewByCenter(0, 0, 2);
        setDocumentName("noname1.tst");
        threads_ = 1;
    }
    std::unique_ptr<PixelKernel> makeKernel() const override
    {
        ++log.kernels;
        return std::make_unique<TestKernel>(base, &log);
    }
    std::vector<CommandSpec> mouseModes() const override
    {
        return {{120, "Mode a", "", CommandKind::Radio, kMenuBtns, ""},
                {121, "Mode b", "", CommandKind::Radio, kMenuBtns, ""},
                {122, "Mode c", "", CommandKind::Radio, kMenuBtns, ""}};
    }
    Rgb base = 0x100000;
    mutable KernelLog log;
};

struct Fixture {
    FakeHost host;
    TestWin win;
    Fixture(int w = 21, int h = 11)
    {
        win.attach(host);
        win.resize(w, h);
        win.setUp();
    }
    void render() { paintAndFinish(win); }
    // Starts a render whose worker waits inside the first pixel until `gate` opens.
    void startHeld(std::atomic<bool>& gate)
    {
        win.log.gate = &gate;
        win.paint();
        while (!win.log.entered)
            std::this_thread::yield();
    }
};

} // namespace

TEST(PaintPath, FirstPaintRendersInTheBackgroundThenComposes)
{
    Fixture f;
    EXPECT_FALSE(f.win.figureValid());
    f.win.paint();
    EXPECT_TRUE(f.win.busy());
    EXPECT_EQ(f.host.backgroundStarts, 1);
    EXPECT_EQ(f.host.currentTitle, "press Q to quit");
    f.win.paint(); // re-entrant paints only show what is there
    EXPECT_EQ(f.win.log.kernels.load(), 1);
    while (f.win.tick())
        std::this_thread::yield();
    EXPECT_FALSE(f.win.busy());
    EXPECT_TRUE(f.win.figureValid());
    EXPECT_TRUE(f.win.compositeValid());
    EXPECT_EQ(f.host.currentTitle, "noname1.tst");
    EXPECT_EQ(f.win.picture().at(20, 10), 0x100000u + 20);
    EXPECT_TRUE(f.win.picture() == f.win.figureImage()); // no overlays on
    EXPECT_EQ(f.win.rowCodes()[static_cast<size_t>(10 * 21)], 10);
    EXPECT_GE(f.host.repaints, 1);
}

TEST(PaintPath, RefreshAndOverlayChangesRecomposeWithoutRendering)
{
    Fixture f;
    f.render();
    ASSERT_EQ(f.win.log.kernels.load(), 1);
    ASSERT_EQ(f.win.setSpecialColour(SlotAxis, 1), 0);
    EXPECT_FALSE(f.win.compositeValid());
    EXPECT_TRUE(f.win.figureValid());
    ASSERT_TRUE(f.win.handleCommand(CmdAxes));
    EXPECT_TRUE(f.win.isChecked(CmdAxes));
    f.win.paint();
    EXPECT_EQ(f.win.log.kernels.load(), 1); // no new render
    EXPECT_TRUE(f.win.compositeValid());
    EXPECT_EQ(f.win.picture().at(0, 5), 0xFFFFFFu); // x axis in palette 1 over the figure
    EXPECT_EQ(f.win.figureImage().at(0, 5), 0x100000u);
    ASSERT_TRUE(f.win.handleCommand(CmdRefresh));
    EXPECT_EQ(f.win.log.kernels.load(), 1);
    EXPECT_TRUE(f.win.compositeValid());
    ASSERT_TRUE(f.win.handleCommand(CmdAxes));
    f.win.paint();
    EXPECT_TRUE(f.win.picture() == f.win.figureImage());
    ASSERT_TRUE(f.win.handleCommand(CmdDraw));
    EXPECT_FALSE(f.win.figureValid());
    f.render();
    EXPECT_EQ(f.win.log.kernels.load(), 2);
}

TEST(PaintPath, OverlaysGoThroughTheHostCanvas)
{
    Fixture f;
    f.host.recordCanvas = true;
    f.render();
    EXPECT_EQ(f.host.canvasesCreated, 1); // the composite's: a sweep draws no primitives
    EXPECT_TRUE(f.host.canvasLog.empty());
    f.win.handleCommand(CmdAxes);
    f.win.paint();
    EXPECT_EQ(f.host.canvasLog.front(), "comment x axis begin");
    EXPECT_EQ(f.host.canvasLog[1], "segment (-2,0) (2,0) pen(0,1,0)");
}

TEST(Interruption, QStopsWithinARowAndKeepsThePicture)
{
    Fixture f(8, 50);
    f.render();
    ASSERT_EQ(f.win.figureImage().at(7, 49), 0x100000u + 7);
    std::atomic<bool> gate{false};
    f.win.log.gate = &gate;
    f.win.base = 0x200000;
    f.win.handleCommand(CmdDraw);
    f.win.paint();
    ASSERT_TRUE(f.win.busy());
    while (!f.win.log.entered)
        std::this_thread::yield();
    EXPECT_TRUE(f.win.keyDown('Q'));
    gate = true;
    EXPECT_EQ(f.win.finishRendering(), kSweepInterrupted);
    EXPECT_TRUE(f.win.figureValid()); // a partial figure is still the figure
    EXPECT_EQ(f.win.figureImage().at(7, 0), 0x200000u + 7);
    EXPECT_EQ(f.win.figureImage().at(7, 1), 0x100000u + 7); // the old picture stays below
    EXPECT_EQ(f.win.picture().at(7, 49), 0x100000u + 7);
    EXPECT_FALSE(f.win.documentChanged());
    // "Draw" renders from the top again.
    f.win.log.gate = nullptr;
    f.win.handleCommand(CmdDraw);
    f.render();
    EXPECT_EQ(f.win.figureImage().at(7, 49), 0x200000u + 7);
}

TEST(Interruption, HostPollAndRightClickInterrupt)
{
    Fixture f(8, 50);
    std::atomic<bool> gate{false};
    f.win.log.gate = &gate;
    f.win.paint();
    f.host.interruptKeys = {81};
    EXPECT_TRUE(f.win.tick()); // the poll raises the flag; the worker still waits
    gate = true;
    while (f.win.tick())
        std::this_thread::yield();
    EXPECT_TRUE(f.win.figureValid());
    EXPECT_EQ(f.win.figureImage().at(0, 49), 0u); // cleared to the background at the first draw
    // Right-click during a render interrupts instead of zooming.
    gate = false;
    f.win.handleCommand(CmdDraw);
    f.win.paint();
    const Real hw = f.win.view().halfWidth;
    f.win.mouseDown(MouseButton::Right, {1, 1});
    gate = true;
    EXPECT_EQ(f.win.finishRendering(), kSweepInterrupted);
    EXPECT_EQ(f.win.view().halfWidth, hw);
    EXPECT_TRUE(f.host.children.empty());
}

TEST(ZoomInPlace, MaximumRepsGrowByFourThirds)
{
    Fixture f;
    f.win.handleCommand(CmdNewZoomWindow);
    EXPECT_FALSE(f.win.newZoomWindow());
    ASSERT_EQ(f.win.maxReps(), 100);
    f.win.mouseDown(MouseButton::Right, {15, 5});
    EXPECT_EQ(f.win.maxReps(), 133);
    EXPECT_EQ(f.win.view().centerX, 1); // column 15 of 21 over [-2, 2]
    EXPECT_EQ(f.win.view().halfWidth, 0.2L);
    EXPECT_FALSE(f.win.figureValid());
    f.win.zoomAt({10, 5}, 0.1L);
    EXPECT_EQ(f.win.maxReps(), 177);
    f.win.zoomAt({10, 5}, 0.1L);
    EXPECT_EQ(f.win.maxReps(), 236);
    f.win.setMaxReps(2000000000);
    f.win.zoomAt({10, 5}, 0.1L);
    EXPECT_EQ(f.win.maxReps(), 2147483647);
}

TEST(Magnification, ZeroAtTheDefaultViewOneAfterATenfoldZoom)
{
    Fixture f;
    EXPECT_EQ(f.win.magnificationText(), "0.0000");
    f.win.handleCommand(CmdNewZoomWindow);
    f.win.zoomAt({10, 5}, 0.1L);
    EXPECT_EQ(f.win.magnificationText(), "1.0000");
    ASSERT_TRUE(f.win.handleCommand(CmdMagnification));
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].first, "1.0000");
    EXPECT_EQ(f.host.messages[0].second, "current magnification");
    f.win.zoomOut();
    EXPECT_EQ(f.win.magnificationText(), "0.9586"); // log10(10 / 1.1)
}

TEST(ZoomWindows, EveryLevelHandsItsDrawingSettingsToTheChild)
{
    // The test tool copies nothing itself: what the child has, the chain gave it.
    FakeHost host;
    test::PlaneTestWin parent;
    parent.attach(host);
    parent.resize(21, 11);
    parent.palette()[3] = 0x123456;                            // TKVAWing
    GridSettings g = parent.grid();
    g.axesOn = true;
    ASSERT_EQ(parent.applyGridSettings(g, gridTexts(g)), 0);  // TGridWin
    parent.setVariable(kSlotA, {0.5L, 0});                     // TFuncWin
    parent.setMaxReps(777);                                    // TVorlWin
    parent.paletteChange();                                    // TVorlTWin
    parent.setAntiAlias(true);                                 // TVorlSWin
    parent.openZoomWindow({0, 0});
    ASSERT_EQ(host.children.size(), 1u);
    auto& child = dynamic_cast<test::PlaneTestWin&>(*host.children[0]);
    EXPECT_EQ(child.palette()[3], 0x123456u);
    EXPECT_TRUE(child.grid().axesOn);
    EXPECT_EQ(child.variable(kSlotA), (Complex{0.5L, 0}));
    Complex a;
    EXPECT_EQ(child.evaluateConstant("2a", a), 0); // defined in the child too
    EXPECT_EQ(child.maxReps(), 777);
    ASSERT_NE(parent.sequence(0).anchors, test::PlaneTestWin().sequence(0).anchors);
    EXPECT_EQ(child.sequence(0).anchors, parent.sequence(0).anchors);
    EXPECT_TRUE(child.antiAlias());
    EXPECT_TRUE(child.labels().empty()); // labels and marks belong to the parent's picture
}

TEST(ZoomWindows, ChildOfTheSameKindAndRectangleInTheParent)
{
    FakeHost host;
    auto model = std::make_unique<test::PlaneTestWin>();
    ASSERT_TRUE(model);
    model->attach(host);
    model->resize(21, 11);
    model->setInitialPosition(100, 40);
    paintAndFinish(*model);
    model->mouseDown(MouseButton::Right, {15, 5});
    ASSERT_EQ(host.children.size(), 1u);
    EXPECT_EQ(host.childPlacements[0], (WindowPlacement{130, 120, 50, 50, false}));
    TVorlWin& child = *host.children[0];
    EXPECT_EQ(child.view().centerX, 1);
    EXPECT_EQ(child.view().halfWidth, 0.2L);
    EXPECT_FALSE(child.readSettings()); // "Use defaults" is on
    EXPECT_EQ(model->view().halfWidth, 2); // the parent keeps its view ...
    ASSERT_EQ(model->zoomRectangles().size(), 1u); // ... and marks the zoomed part
    EXPECT_EQ(model->zoomRectangles()[0].left, 0.8L);
    EXPECT_FALSE(model->compositeValid());
    EXPECT_TRUE(model->figureValid());
    child.resize(21, 11);
    paintAndFinish(child);
    EXPECT_TRUE(child.figureValid());
    model->handleCommand(CmdZoomRectangle);
    model->handleCommand(CmdUseDefaults);
    model->mouseDown(MouseButton::Right, {5, 5});
    ASSERT_EQ(host.children.size(), 2u);
    EXPECT_TRUE(host.children[1]->readSettings());
    EXPECT_EQ(model->zoomRectangles().size(), 1u);
}

TEST(Toggles, DefaultsChecksAndMouseModes)
{
    Fixture f;
    EXPECT_TRUE(f.win.isChecked(CmdWatch)); // on from the escape-time layer
    EXPECT_TRUE(f.win.isChecked(CmdNewZoomWindow));
    EXPECT_TRUE(f.win.isChecked(CmdZoomRectangle));
    EXPECT_TRUE(f.win.isChecked(CmdUseDefaults));
    EXPECT_FALSE(f.win.isChecked(CmdAxes));
    for (int id : std::initializer_list<int>{CmdWatch, CmdNewZoomWindow, CmdZoomRectangle, CmdUseDefaults, CmdCompressPixels}) {
        const bool before = f.win.isChecked(id);
        ASSERT_TRUE(f.win.handleCommand(id));
        EXPECT_NE(f.win.isChecked(id), before) << id;
    }
    EXPECT_EQ(f.host.checkRefreshes, 5);
    EXPECT_TRUE(f.win.isChecked(120));
    ASSERT_TRUE(f.win.handleCommand(122));
    EXPECT_EQ(f.win.mouseMode(), 122);
    int checked = 0;
    for (int id = 120; id <= 125; ++id)
        checked += f.win.isChecked(id);
    EXPECT_EQ(checked, 1);
    EXPECT_FALSE(f.win.handleCommand(124)); // not a mode of this tool
    EXPECT_EQ(f.win.mouseMode(), 122);
    EXPECT_FALSE(f.win.handleCommand(9999));
}

// A tool that redefines a command of its base and adds one of its own: the
// redefinition takes over the action and the text but keeps the menu place.
class RedefiningWin : public TestWin {
public:
    int draws = 0;
    bool own = false;

protected:
    void declareCommands(CommandSet& set) override
    {
        TestWin::declareCommands(set);
        set.add({CmdDraw, "&Paint", "F5", CommandKind::Plain, kMenuMisc, ""}, [this] { ++draws; });
        set.add({4242, "&Own", "", CommandKind::Toggle, kMenuMisc, ""}, [this] { own = !own; }, [this] { return own; });
    }
};

TEST(Commands, ALevelRedefinesABaseCommandInPlace)
{
    FakeHost host;
    RedefiningWin win;
    win.attach(host);
    const MenuBar bar = win.menuBar();
    const std::vector<int> ids = bar.commandIds();
    const auto at = [&ids](int id) { return std::find(ids.begin(), ids.end(), id) - ids.begin(); };
    EXPECT_LT(at(CmdDraw), at(CmdRefresh)); // still first in the View menu
    EXPECT_EQ(std::count(ids.begin(), ids.end(), CmdDraw), 1);
    EXPECT_EQ(bar.find(CmdDraw)->text, "&Paint");
    EXPECT_EQ(bar.find(CmdDraw)->accelerator, "F5");
    ASSERT_TRUE(win.handleCommand(CmdDraw));
    EXPECT_EQ(win.draws, 1);
    EXPECT_FALSE(win.busy()); // the base's draw did not run
    EXPECT_EQ(host.checkRefreshes, 0);
    ASSERT_TRUE(win.handleCommand(4242));
    EXPECT_TRUE(win.isChecked(4242));
    EXPECT_EQ(host.checkRefreshes, 1);
    EXPECT_FALSE(win.isChecked(CmdDraw)); // a plain command is never checked
}

TEST(InputCommands, OrbitLengthAndMaximumPeriod)
{
    Fixture f;
    f.host.textAnswers = {"0", "-5", "abc", "250"};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(f.win.handleCommand(CmdOrbitLength));
    EXPECT_EQ(f.win.orbitLength(), 250);
    ASSERT_EQ(f.host.errors.size(), 3u);
    EXPECT_EQ(f.host.errors[0].first, 1);
    EXPECT_EQ(f.host.errors[2].first, 1);
    EXPECT_EQ(f.host.prompts[0], "length of orbit");
    f.host.errors.clear();
    f.host.textAnswers = {"1", "10001", "x", "10000"};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(f.win.handleCommand(CmdMaxPeriod));
    EXPECT_EQ(f.win.maxPeriod(), 10000);
    ASSERT_EQ(f.host.errors.size(), 3u);
    EXPECT_EQ(f.host.errors[0].first, 17);
    EXPECT_EQ(f.host.errors[1].first, 17);
    EXPECT_EQ(f.host.errors[2].first, 1);
    EXPECT_EQ(f.host.prompts.back(), "maximum period");
    // Cancel keeps the values and says nothing.
    f.host.errors.clear();
    ASSERT_TRUE(f.win.handleCommand(CmdMaxPeriod));
    ASSERT_TRUE(f.win.handleCommand(CmdOrbitLength));
    EXPECT_TRUE(f.host.errors.empty());
    EXPECT_EQ(f.win.orbitLength(), 250);
}

TEST(DocumentChanged, OnlyFinishedSweepsOfAMovedViewAfterTheFirst)
{
    Fixture f;
    f.win.handleCommand(CmdNewZoomWindow);
    f.win.zoomAt({10, 5}, 0.1L); // before the first sweep
    f.render();
    EXPECT_FALSE(f.win.documentChanged()); // the very first sweep never marks it
    f.win.handleCommand(CmdLastWindow);
    f.render();
    EXPECT_FALSE(f.win.documentChanged()); // the default half-width
    f.win.zoomAt({10, 5}, 0.1L);
    f.render();
    EXPECT_TRUE(f.win.documentChanged());
}

TEST(ViewCommands, DialogTextsApplyAndErrors)
{
    Fixture f;
    f.render();
    f.host.manyAnswers = {{"1", "2", "0.5"}};
    ASSERT_TRUE(f.win.handleCommand(CmdView));
    EXPECT_EQ(f.win.view().centerX, 1);
    EXPECT_EQ(f.win.view().halfWidth, 0.5L);
    EXPECT_FALSE(f.win.figureValid());
    f.host.manyAnswers = {{"1", "2", "-1"}};
    ASSERT_TRUE(f.win.handleCommand(CmdView));
    ASSERT_EQ(f.host.errors.size(), 1u);
    EXPECT_EQ(f.host.errors[0].first, 2014);
    EXPECT_EQ(f.win.view().halfWidth, 0.5L);
    EXPECT_EQ(f.win.applyViewByCenter({"x", "0", "1"}), 1);
    EXPECT_EQ(f.win.applyViewByCenter({"0", "y", "1"}), 1001);
    EXPECT_EQ(f.win.applyViewByCorners({"0", "1", "3", "2"}), 1017);
    EXPECT_EQ(f.win.applyViewByCorners({"1", "1", "0", "1"}), 17);
    EXPECT_EQ(f.win.applyViewByCorners({"0", "q", "0", "1"}), 1);
    EXPECT_EQ(f.win.applyViewByCorners({"-1", "3", "0", "1"}), 0);
    EXPECT_TRUE(f.win.viewDialogByCorners());
    EXPECT_EQ(f.win.currentViewCornerTexts().right, "3");
    ASSERT_TRUE(f.win.handleCommand(CmdLastWindow));
    EXPECT_FALSE(f.win.viewDialogByCorners());
    EXPECT_EQ(f.win.view().halfWidth, 0.5L);
    EXPECT_EQ(f.win.currentViewCenterTexts().vert, "2");
    f.host.textAnswers = {"0.5", "2"};
    f.win.handleCommand(CmdZoomFactor);
    EXPECT_EQ(f.host.errors.back().first, 17);
    f.win.handleCommand(CmdZoomFactor);
    EXPECT_EQ(f.win.zoomStep(), 2);
    f.win.handleCommand(CmdZoomIn);
    EXPECT_EQ(f.win.view().halfWidth, 0.25L);
    f.host.manyAnswers = {{"0.5", "-1"}};
    f.win.handleCommand(CmdShift);
    EXPECT_EQ(f.win.view().centerX, 1.5L);
    EXPECT_EQ(f.win.view().centerY, 1);
    for (int i = 0; i < 10; ++i)
        f.win.lastWindow();
    f.host.errors.clear();
    f.win.handleCommand(CmdLastWindow);
    ASSERT_EQ(f.host.errors.size(), 1u);
    EXPECT_EQ(f.host.errors[0].first, 9);
}

TEST(ViewCommands, ResizeReallocatesAndRendersAgain)
{
    Fixture f;
    f.render();
    const int repaints = f.host.repaints;
    f.win.resize(21, 11);
    EXPECT_TRUE(f.win.figureValid()); // same size: nothing to do
    f.win.resize(30, 7);
    EXPECT_FALSE(f.win.figureValid());
    EXPECT_EQ(f.win.picture().width, 30);
    EXPECT_EQ(f.win.view().pixHeight, 7);
    EXPECT_GT(f.host.repaints, repaints);
    f.render();
    EXPECT_EQ(f.win.picture().at(29, 6), 0x100000u + 29);
}

TEST(ProgressTitles, PercentagesThenTheNormalTitle)
{
    Fixture f;
    f.host.titles.clear();
    f.win.showProgress(0, 3);
    f.win.showProgress(1, 3);
    EXPECT_EQ(f.host.currentTitle, "progress: 33%");
    f.win.showProgress(2, 3);
    EXPECT_EQ(f.host.currentTitle, "progress: 66%");
    f.win.showProgress(3, 3);
    EXPECT_EQ(f.host.currentTitle, "noname1.tst");
    EXPECT_EQ(f.host.titles.size(), 3u);
    f.win.setStatusTitle(6, 4);
    EXPECT_EQ(f.host.currentTitle, "preparing slides -- please wait4; press Q to quit");
    f.win.setStatusTitle(99);
    EXPECT_EQ(f.host.currentTitle, "preparing slides -- please wait4; press Q to quit");
    // While printing, the render reports progress and ends on the normal title.
    Fixture g(4, 300);
    g.win.setProgressReports(true);
    g.render();
    EXPECT_EQ(g.host.currentTitle, "noname1.tst");
}

TEST(Menus, ChainTablesBecomeOneMenuTree)
{
    auto model = createToolModel(0);
    const MenuBar bar = model->menuBar();
    ASSERT_GE(bar.menus().size(), 5u);
    EXPECT_EQ(bar.menus()[0].title, "&File");
    EXPECT_EQ(bar.menus()[3].title, "&View");
    // Every menu command is handled by the chain.
    FakeHost host;
    model->attach(host);
    model->resize(9, 9);
    for (int id : bar.commandIds())
        EXPECT_TRUE(model->handleCommand(id)) << id;
    model->finishRendering();
}

TEST(ToolRegistry, RegisteredRowsMakeTheirWindowsAndOthersNone)
{
    for (int row = 0; row < 13; ++row) // every row of the launch table has its tool
        EXPECT_NE(createToolModel(row), nullptr) << row;
    EXPECT_EQ(createToolModel(13), nullptr);
    EXPECT_EQ(createToolModel(-1), nullptr);
}

namespace {

// A tool that draws its figure with primitives, at once.
class VectorWin : public TFMJWin {
public:
    int status = 0;
    int drawFigure(Canvas& c) override
    {
        c.drawSegment({view_.xMin, 0}, {view_.xMax, 0}, Pen{1, 1, 0});
        return status;
    }
};

} // namespace

TEST(PaintPath, VectorFiguresDrawAtOnceThroughTheHostCanvas)
{
    FakeHost host;
    VectorWin win;
    win.attach(host);
    win.resize(11, 11);
    win.paint();
    EXPECT_FALSE(win.busy());
    EXPECT_EQ(host.backgroundStarts, 0);
    EXPECT_TRUE(win.figureValid());
    EXPECT_TRUE(win.compositeValid());
    EXPECT_EQ(win.figureImage().at(3, 5), 0xFFFFFFu);
    EXPECT_EQ(win.figureImage().at(3, 4), 0u);
    EXPECT_EQ(host.canvasesCreated, 2);
    EXPECT_FALSE(win.tick());
    // A failing render reports its code once and leaves a valid (empty) figure.
    win.status = 3;
    win.handleCommand(CmdDraw);
    win.paint();
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, 3);
    EXPECT_TRUE(win.figureValid());
}

TEST(PaintPath, PaintBeforeAnyResizeUsesTheViewSize)
{
    FakeHost host;
    TestWin win;
    win.attach(host);
    paintAndFinish(win);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(win.picture().width, win.view().pixWidth);
    EXPECT_EQ(win.picture().height, win.view().pixHeight);
    EXPECT_TRUE(win.figureValid());
}

TEST(Overlays, GridDialogLabelsAndMarks)
{
    Fixture f;
    f.host.recordCanvas = true;
    f.render();
    f.host.manyAnswers = {{"2", "0.5", "1", "2", "1", "1", "1"}, {"2", "-1", "1", "2", "1", "1", "1"}};
    ASSERT_TRUE(f.win.handleCommand(CmdGrid));
    EXPECT_EQ(f.win.grid().x.tickInterval, 0.5L);
    EXPECT_EQ(f.win.grid().x.places, 2);
    EXPECT_FALSE(f.win.compositeValid());
    ASSERT_TRUE(f.win.handleCommand(CmdGrid));
    ASSERT_EQ(f.host.errors.size(), 1u);
    EXPECT_EQ(f.host.errors[0].first, 1014);
    EXPECT_EQ(f.win.grid().x.tickInterval, 0.5L); // unchanged

    EXPECT_EQ(f.win.addLabel({{1, 1}, "", TextStyle{}}), 24);
    EXPECT_EQ(f.win.addLabel({{1, 1}, "fixed point", TextStyle{}}), 0);
    EXPECT_EQ(f.win.setMarkAttributes({MarkKind::Box, true, 0, 4}), 17);
    EXPECT_EQ(f.win.setMarkAttributes({MarkKind::Box, true, 3, 4}), 0);
    f.win.addMark({-1, 0.5L});
    f.host.canvasLog.clear();
    f.win.paint();
    ASSERT_EQ(f.host.canvasLog.size(), 2u); // axes and grid are off
    EXPECT_EQ(f.host.canvasLog[0], "mark box (-1,0.5) size 6 colour 4");
    EXPECT_EQ(f.host.canvasLog[1], "text (1,1) \"fixed point\" colour 1 offset 0,0");
    f.win.clearMarks();
    f.win.clearLabels();
    f.host.canvasLog.clear();
    f.win.paint();
    EXPECT_TRUE(f.host.canvasLog.empty());
}

TEST(ColourLayers, SequencesSampleOffsetAndSlides)
{
    Fixture f;
    EXPECT_EQ(f.win.sequenceCount(), 31);
    ColourSequence bad;
    bad.steps = 0;
    EXPECT_EQ(f.win.setSequence(1, bad), 17);
    ColourSequence two;
    two.anchors = {0x0000FF, 0xFF0000};
    two.steps = 2;
    EXPECT_EQ(f.win.setSequence(32, two), 17); // no gaps
    EXPECT_EQ(f.win.setSequence(31, two), 17); // 31 slots at most
    EXPECT_EQ(f.win.setSequence(1, two), 0);
    EXPECT_EQ(f.win.sequenceCount(), 31);
    EXPECT_EQ(f.win.colourTable(1).length(), 4);
    EXPECT_EQ(f.win.colourTable(7).length(), 80);
    EXPECT_EQ(f.win.colourTable(31).length(), 0);
    // Anti-aliasing samples 0.42 of the current pixel pitch away.
    EXPECT_EQ(f.win.sampleOffset(), 0.42L * 4 / 20);
    f.win.handleCommand(CmdNewZoomWindow);
    f.win.zoomAt({10, 5}, 0.1L);
    EXPECT_EQ(f.win.sampleOffset(), 0.42L * 0.4L / 20);
    f.win.addSlide();
    f.win.addSlide();
    ASSERT_EQ(f.win.slides().size(), 2u);
    EXPECT_EQ(f.win.slides()[0].maxReps, 133);
    EXPECT_EQ(f.win.slides()[0].halfWidth, 0.2L);
    f.win.removeLastSlide();
    EXPECT_EQ(f.win.slides().size(), 1u);
    f.win.clearSlides();
    f.win.removeLastSlide();
    EXPECT_TRUE(f.win.slides().empty());
}

TEST(SlideList, CommandsMakeTheShowAndSaveIt)
{
    Fixture f;
    const MenuBar bar = f.win.menuBar();
    for (int id : {CmdAddSlide, CmdRemoveSlide, CmdSlideCount, CmdClearSlides, CmdMakeSlides, CmdSaveShow})
        ASSERT_NE(bar.find(id), nullptr) << id;
    EXPECT_EQ(bar.find(CmdAddSlide)->accelerator, "F9");
    f.win.handleCommand(CmdMakeSlides);
    ASSERT_EQ(f.host.errors.size(), 1u);
    EXPECT_EQ(f.host.errors[0].first, 10); // nothing to show yet
    f.win.setMaxReps(50);
    f.win.handleCommand(CmdAddSlide);
    ASSERT_TRUE(f.win.setView(1, 0.5L, 0.25L));
    f.win.setMaxReps(60);
    f.win.handleCommand(CmdAddSlide);
    f.win.handleCommand(CmdSlideCount);
    ASSERT_FALSE(f.host.messages.empty());
    EXPECT_EQ(f.host.messages.back().first, "2 slides in the list");
    // The show draws slide 0, then slide 1, each once the previous is on the screen.
    f.win.handleCommand(CmdMakeSlides);
    EXPECT_TRUE(f.win.showingSlides());
    EXPECT_EQ(f.win.view().halfWidth, 2); // slide 0 is the window's first view
    EXPECT_EQ(f.win.maxReps(), 50);
    f.render();
    EXPECT_EQ(f.win.view().centerX, 1); // slide 1 under way
    EXPECT_EQ(f.win.maxReps(), 60);
    f.render();
    EXPECT_FALSE(f.win.showingSlides());
    EXPECT_EQ(f.win.log.kernels.load(), 2);
    // Q during a slide ends the show (the worker is held inside the first slide).
    std::atomic<bool> gate{false};
    f.win.handleCommand(CmdMakeSlides);
    f.startHeld(gate);
    EXPECT_TRUE(f.win.keyDown('Q'));
    gate = true;
    while (f.win.tick())
        std::this_thread::yield();
    EXPECT_FALSE(f.win.showingSlides());
    f.win.log.gate = nullptr;
    // The show file holds the placement and both slides.
    f.host.placement = WindowPlacement{10, 20, 300, 200, false};
    const std::string path = ::testing::TempDir() + "/qx_show.sli";
    f.host.fileAnswers = {path};
    f.win.handleCommand(CmdSaveShow);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(path, bytes));
    WindowPlacement p;
    std::vector<Slide> slides;
    ASSERT_EQ(decodeSlideShow(bytes, p, slides), 0);
    EXPECT_EQ(p, (WindowPlacement{10, 20, 300, 200, false}));
    EXPECT_EQ(slides, f.win.slides());
    EXPECT_EQ(bytes[0] | (bytes[1] << 8), 2088);
    bytes.pop_back(); // a show cut short is refused
    EXPECT_EQ(decodeSlideShow(bytes, p, slides), 6);
    std::remove(path.c_str());
}

TEST(PaintPath, AModelWithoutAHostDoesNothing)
{
    TestWin win;
    win.resize(5, 5);
    win.paint();
    win.draw();
    win.refresh();
    win.zoomIn(); // a view change redraws: still nothing to draw on
    EXPECT_FALSE(win.busy());
    EXPECT_FALSE(win.figureValid());
    EXPECT_FALSE(win.tick());
    EXPECT_EQ(win.log.kernels.load(), 0);
}

TEST(Interruption, DrawDuringARenderStartsOverFromTheTop)
{
    // "Draw" invalidates the figure: the render under way is superseded and
    // the next paint renders the whole figure again, with what changed since.
    Fixture f(8, 40);
    std::atomic<bool> gate{false};
    f.startHeld(gate);
    f.win.base = 0x300000;
    EXPECT_TRUE(f.win.handleCommand(CmdDraw));
    EXPECT_TRUE(f.win.busy()); // returned at once, the worker still holds row 0
    gate = true;
    while (f.win.tick())
        std::this_thread::yield();
    EXPECT_FALSE(f.win.figureValid()); // the superseded render is not the figure
    f.win.log.gate = nullptr;
    f.render();
    EXPECT_EQ(f.win.log.kernels.load(), 2);
    ASSERT_TRUE(f.win.figureValid());
    for (int row : {0, 20, 39}) // every row is of the second render
        EXPECT_EQ(f.win.figureImage().at(7, row), 0x300000u + 7) << row;
}

TEST(Interruption, DrawViewChangeAndResizeDuringARenderNeverWait)
{
    // The worker is held inside row 0: any call that waited for it would hang.
    Fixture f(8, 40);
    std::atomic<bool> gate{false};
    f.startHeld(gate);
    f.win.handleCommand(CmdDraw);
    f.win.handleCommand(CmdZoomIn);
    f.win.resize(6, 30);
    EXPECT_TRUE(f.win.busy());
    EXPECT_EQ(f.win.view().pixWidth, 6);
    EXPECT_EQ(f.win.picture().width, 8); // the images wait for the workers
    f.win.paint();                       // no second render meanwhile
    EXPECT_EQ(f.win.log.kernels.load(), 1);
    gate = true;
    while (f.win.tick())
        std::this_thread::yield();
    EXPECT_FALSE(f.win.figureValid()); // superseded: not the figure
    EXPECT_EQ(f.win.picture().width, 6);
    EXPECT_EQ(f.win.picture().height, 30);
    f.win.log.gate = nullptr;
    f.render();
    EXPECT_EQ(f.win.log.kernels.load(), 2);
    EXPECT_TRUE(f.win.figureValid());
    EXPECT_EQ(f.win.figureImage().at(5, 29), 0x100000u + 5);
    EXPECT_TRUE(f.win.documentChanged()); // the zoomed view, after the (superseded) first sweep
}
