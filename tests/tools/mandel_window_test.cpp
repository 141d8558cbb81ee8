#include "model/fake_host.h"
#include "model/special_colours.h"
#include "registry/tool_registry.h"
#include "tools/mandel/mj_commands.h"
#include "tools/mandel/mj_help.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

using namespace qx;

namespace {

// The window's picture computed the plain way: every pixel on its own with a
// textbook loop, coloured by the bands rule through the window's table.
struct Expected {
    Image image;
    std::vector<int32_t> codes;
};

// Bands colour of one point by the textbook loop (set colour palette 0).
Rgb plainColour(const TMJ0Win& w, const ColourTable& table, long double x, long double y)
{
    const MJParams p = w.params();
    long double zr = 0, zi = 0;
    int n = 0;
    for (; n < p.maxReps && zr * zr + zi * zi <= p.threshold; ++n) {
        const long double t = zr * zr - zi * zi + x;
        zi = 2 * zr * zi + y;
        zr = t;
    }
    if (n == p.maxReps)
        return w.palette()[0];
    const int L = table.length();
    return table.colours[static_cast<size_t>(n == 0 ? 0 : (n % L == 0 ? L : n % L))];
}

Expected straightforwardPicture(const TMJ0Win& w)
{
    const View& v = w.view();
    const int W = v.pixWidth, H = v.pixHeight;
    const long double pitch = 2 * v.halfWidth / (W - 1);
    const long double top = v.centerY + (H - 1) * pitch / 2; // rows centred like columns
    const ColourTable table = w.colourTable(0);
    const int L = table.length();
    const MJParams p = w.params();
    Expected e{Image(W, H), std::vector<int32_t>(static_cast<size_t>(W) * H)};
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) {
            const long double x = v.xMin + c * pitch, y = top - r * pitch;
            long double zr = p.julia ? x : 0, zi = p.julia ? y : 0;
            const long double cr = p.julia ? p.c.re : x, ci = p.julia ? p.c.im : y;
            int n = 0;
            for (; n < p.maxReps && zr * zr + zi * zi <= p.threshold; ++n) {
                const long double t = zr * zr - zi * zi + cr;
                zi = 2 * zr * zi + ci;
                zr = t;
            }
            int32_t code = 0 - (1 << 24); // set colour, palette 0
            Rgb rgb = w.palette()[0];
            if (n < p.maxReps) {
                code = n == 0 ? 0 : (n % L == 0 ? L : n % L);
                rgb = table.colours[static_cast<size_t>(code)];
            }
            e.image.set(c, r, rgb);
            e.codes[static_cast<size_t>(r) * W + c] = code;
        }
    return e;
}

int differingPixels(const Image& a, const Image& b)
{
    int n = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        n += a.pixels[i] != b.pixels[i];
    return n;
}

} // namespace

TEST(MandelWindow, DefaultPictureThroughTheSweepMatchesAPlainComputation)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(120, 90);
    for (int threads : {1, 2}) {
        win.setSweepThreads(threads);
        win.draw();
        paintAndFinish(win);
        ASSERT_TRUE(win.figureValid());
        const Expected e = straightforwardPicture(win);
        EXPECT_EQ(differingPixels(win.figureImage(), e.image), 0) << threads << " threads";
        EXPECT_EQ(win.rowCodes(), e.codes) << threads << " threads";
    }
    // The picture has all three kinds of pixel: set, first-step escapes, bands.
    const auto& codes = win.rowCodes();
    EXPECT_NE(std::count(codes.begin(), codes.end(), 0 - (1 << 24)), 0);
    EXPECT_NE(std::count(codes.begin(), codes.end(), 1), 0);
    EXPECT_NE(std::count(codes.begin(), codes.end(), 3), 0);
}

TEST(MandelWindow, AntiAliasedPictureAveragesFiveSamples)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(90, 61);
    ASSERT_EQ(win.applySettings({"4", "400@1", "0.6", DisplayMode::Bands}), 0);
    paintAndFinish(win);
    const View& v = win.view();
    const long double pitch = 2 * v.halfWidth / (v.pixWidth - 1);
    const long double top = v.centerY + (v.pixHeight - 1) * pitch / 2;
    const long double d = win.sampleOffset();
    EXPECT_NEAR(d, 0.42L * pitch, 1e-18L);
    const ColourTable table = win.colourTable(0);
    int differ = 0, blended = 0;
    for (int r = 0; r < v.pixHeight; ++r)
        for (int c = 0; c < v.pixWidth; ++c) {
            const long double x = v.xMin + c * pitch, y = top - r * pitch;
            const Rgb centre = plainColour(win, table, x, y);
            const Rgb expected = antiAliasAverage(
                centre, plainColour(win, table, x + d, y + d), plainColour(win, table, x + d, y - d),
                plainColour(win, table, x - d, y + d), plainColour(win, table, x - d, y - d));
            differ += win.figureImage().at(c, r) != expected;
            blended += expected != centre;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(blended, 100);
}

TEST(MandelWindow, JuliaPointSymmetryGivesTheFullComputation)
{
    FakeHost host;
    TJulWin win([](uint32_t) { return 0u; });
    win.attach(host);
    win.resize(81, 61);
    ASSERT_TRUE(win.applyExample(673)); // rabbit
    EXPECT_EQ(win.sweepSymmetry(), 2);
    paintAndFinish(win);
    const Expected e = straightforwardPicture(win);
    EXPECT_EQ(differingPixels(win.figureImage(), e.image), 0);
    EXPECT_EQ(win.rowCodes(), e.codes);
}

TEST(MandelWindow, FreshWindowsStartWithTheirDefaults)
{
    TManWin m;
    EXPECT_EQ(m.view().centerX, -0.75L);
    EXPECT_EQ(m.view().halfWidth, 1.4L);
    EXPECT_EQ(m.defaultHalfWidth(), 1.4L);
    EXPECT_EQ(m.mouseMode(), 122);
    EXPECT_EQ(m.maxReps(), 400);
    EXPECT_EQ(m.specialColours().get(SlotDem), 52);
    EXPECT_EQ(m.specialColours().get(SlotFixedPoint), 5);
    EXPECT_EQ(m.sweepSymmetry(), 1);
    TJulWin j([](uint32_t) { return 250000u; });
    EXPECT_EQ(j.view().centerX, 0);
    EXPECT_EQ(j.view().halfWidth, 2.1L);
    EXPECT_EQ(j.mouseMode(), 121);
    EXPECT_NEAR(j.parameter().re, 0.25L, 1e-5L);
    EXPECT_NEAR(j.parameter().im, 0.5L, 1e-5L);
    EXPECT_EQ(j.sweepSymmetry(), 2);
    // The launch table's first two rows are these windows.
    EXPECT_NE(dynamic_cast<TManWin*>(createToolModel(0).get()), nullptr);
    EXPECT_NE(dynamic_cast<TJulWin*>(createToolModel(1).get()), nullptr);
}

TEST(MandelWindow, DegreeCommandRefusesElevenAndKeepsThePicture)
{
    FakeHost host;
    TJulWin win([](uint32_t) { return 0u; });
    win.attach(host);
    host.textAnswers = {"11"};
    EXPECT_TRUE(win.handleCommand(CmdDegree));
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, 17);
    EXPECT_EQ(win.degree(), 2);
    EXPECT_EQ(host.prompts.back(), "enter degree");
    host.textAnswers = {"3"};
    const int repaints = host.repaints;
    win.handleCommand(CmdDegree);
    EXPECT_EQ(win.degree(), 3);
    EXPECT_EQ(host.repaints, repaints); // no redraw
    EXPECT_EQ(win.sweepSymmetry(), 0);  // odd degree: no point symmetry
}

TEST(MandelWindow, SettingsFallbackAppliesTheDialogRules)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    host.manyAnswers = {{"4", "500@1", "0.6", "3"}};
    win.handleCommand(CmdSettings);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(win.params().threshold, 256);
    EXPECT_EQ(win.params().mode, DisplayMode::Blend);
    EXPECT_EQ(win.maxReps(), 500);
    EXPECT_TRUE(win.antiAlias());
    EXPECT_TRUE(win.documentChanged());
    host.manyAnswers = {{"4", "1@1", "0.6", "0"}};
    win.handleCommand(CmdSettings);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, 1017);
    EXPECT_EQ(win.maxReps(), 500);
    host.manyAnswers = {{"4", "400", "0.6", "2"}}; // no IIM in a Mandelbrot window
    win.handleCommand(CmdSettings);
    EXPECT_EQ(host.errors.back().first, 17);
    EXPECT_EQ(win.params().mode, DisplayMode::Blend);
}

TEST(MandelWindow, ModelWithoutHostTakesSettings)
{
    TJulWin win([](uint32_t) { return 0u; });
    EXPECT_EQ(win.applySettings({"4", "300", "0.6", DisplayMode::Iim}), 0);
    EXPECT_EQ(win.params().mode, DisplayMode::Iim);
    EXPECT_TRUE(win.applyExample(676));
    EXPECT_EQ(win.parameter(), (Complex{-0.75L, 0}));
    EXPECT_FALSE(win.figureValid());
}

TEST(MandelWindow, ExamplesSetParameterAndRepsButNotTheView)
{
    FakeHost host;
    TJulWin win([](uint32_t) { return 0u; });
    win.attach(host);
    win.setView(0.3L, 0.2L, 0.5L);
    EXPECT_TRUE(win.handleCommand(675));
    EXPECT_EQ(win.parameter(), (Complex{-0.3905408702184L, -0.5867879073469687290L}));
    EXPECT_EQ(win.maxReps(), 100);
    EXPECT_TRUE(win.handleCommand(672));
    EXPECT_EQ(win.parameter(), (Complex{-1.401155189092050390L, 0}));
    EXPECT_EQ(win.maxReps(), 500);
    EXPECT_FALSE(win.figureValid());
    EXPECT_EQ(win.view().centerX, 0.3L);
    EXPECT_EQ(win.view().halfWidth, 0.5L);
}

TEST(MandelWindow, IndifferentCycleOpensOneJuliaChild)
{
    FakeHost host;
    auto win = std::make_unique<TManWin>();
    win->attach(host);
    host.manyAnswers = {{"2/5"}};
    EXPECT_TRUE(win->handleCommand(CmdOneCycle));
    ASSERT_EQ(host.children.size(), 1u);
    TJulWin* child = win->juliaChild();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child, host.children[0].get());
    EXPECT_EQ(child->documentName(), "i1c_4000.jul");
    EXPECT_EQ(child->parameter(), cardioidPoint(0.4L));
    EXPECT_EQ(child->parentWindow(), win.get());
    EXPECT_FALSE(child->readSettings()); // "Use defaults" for children is on
    // A second choice reuses the child; a plain open names it jchild + counter.
    host.manyAnswers = {{"0.25"}};
    win->handleCommand(CmdTwoCycle);
    EXPECT_EQ(host.children.size(), 1u);
    EXPECT_EQ(child->documentName(), "i2c_2500.jul");
    EXPECT_EQ(win->openJuliaChild({-1, 0}), 0);
    EXPECT_EQ(child->documentName(), "jchild3.jul");
    // A text that does not evaluate: error 1, child untouched.
    host.manyAnswers = {{"1/0"}};
    win->handleCommand(CmdOneCycle);
    EXPECT_EQ(host.errors.back().first, 1);
    EXPECT_EQ(child->parameter(), (Complex{-1, 0}));
    // Closing the child clears the parent's link, and the other way round.
    host.children.clear();
    EXPECT_EQ(win->juliaChild(), nullptr);
    win->openJuliaChild({0, 0});
    ASSERT_EQ(host.children.size(), 1u);
    auto* again = static_cast<TJulWin*>(host.children[0].get());
    win.reset();
    EXPECT_EQ(again->parentWindow(), nullptr);
}

TEST(MandelWindow, ShowPeriodPutsTheReportInTheTitle)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(281, 201); // pixel pitch 0.01: pixel (215, 100) is c = 0
    ASSERT_TRUE(win.handleCommand(CmdShowPeriod));
    win.mouseDown(MouseButton::Left, {215, 100});
    EXPECT_EQ(host.currentTitle, "0.0000000 + 0.0000000i : period = 1");
    win.mouseDown(MouseButton::Left, {265, 100});
    EXPECT_EQ(host.currentTitle, "0.5000000 + 0.0000000i : infinity at rep = 5");
    win.mouseDown(MouseButton::Left, {115, 100});
    EXPECT_EQ(host.currentTitle, "-1.0000000 + 0.0000000i : period = 2");
    win.setDocumentName("noname1.man");
    win.mouseUp(MouseButton::Left, {115, 100}); // the report lasts while the button is held
    EXPECT_EQ(host.currentTitle, "noname1.man");
}

TEST(MandelWindow, ZoomChildInheritsTheDrawingSettings)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(281, 201);
    ASSERT_EQ(win.applySettings({"4", "700@1", "1.5", DisplayMode::Binary}), 0);
    ASSERT_EQ(win.applyDegree("4"), 0);
    win.mouseDown(MouseButton::Right, {115, 100});
    ASSERT_EQ(host.children.size(), 1u);
    auto* zoom = dynamic_cast<TManWin*>(host.children[0].get());
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->degree(), 4);
    EXPECT_EQ(zoom->maxReps(), 700);
    EXPECT_TRUE(zoom->antiAlias());
    EXPECT_EQ(zoom->params().mode, DisplayMode::Binary);
    EXPECT_EQ(zoom->params().threshold, 100);
    EXPECT_EQ(zoom->params().demScale, 0.25L);
    EXPECT_NEAR(zoom->view().centerX, -1, 1e-15L);
    EXPECT_NEAR(zoom->view().halfWidth, 0.14L, 1e-15L);
    EXPECT_FALSE(zoom->isJulia());
}

TEST(MandelWindow, MouseOpensJuliaChildAndPromenade)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(281, 201);
    win.handleCommand(CmdJuliaSet);
    win.mouseDown(MouseButton::Left, {115, 100}); // c = -1
    ASSERT_NE(win.juliaChild(), nullptr);
    EXPECT_EQ(win.juliaChild()->documentName(), "jchild1.jul");
    EXPECT_NEAR(win.juliaChild()->parameter().re, -1, 1e-15L);
    win.mouseDown(MouseButton::Left, {215, 100});
    EXPECT_EQ(win.juliaChild()->documentName(), "jchild2.jul");
    EXPECT_EQ(host.children.size(), 1u);
    EXPECT_FALSE(win.compositeValid()); // the marker of c moves
    win.handleCommand(CmdPromenade);
    win.mouseDown(MouseButton::Left, {115, 100});
    ASSERT_EQ(host.children.size(), 2u);
    auto* pop = dynamic_cast<TPromWin*>(host.children[1].get());
    ASSERT_NE(pop, nullptr);
    EXPECT_NEAR(pop->parameter().re, -1, 1e-15L);
    EXPECT_EQ(pop->makeZoomChild(), nullptr);
}

TEST(MandelWindow, DemRenderKeepsTheUsersThreshold)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(64, 48);
    ASSERT_EQ(win.applySettings({"4", "400", "0.6", DisplayMode::Dem}), 0);
    paintAndFinish(win);
    EXPECT_EQ(win.params().threshold, 4);
    const auto& codes = win.rowCodes();
    const int32_t set = 0 - (1 << 24), dem = 52 - (1 << 24);
    EXPECT_NE(std::count(codes.begin(), codes.end(), set), 0);
    EXPECT_NE(std::count(codes.begin(), codes.end(), dem), 0);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), set) + std::count(codes.begin(), codes.end(), dem),
              static_cast<long>(codes.size()));
}

TEST(MandelWindow, JuliaSlidesKeepTheirParameter)
{
    FakeHost host;
    TJulWin win([](uint32_t) { return 0u; });
    win.attach(host);
    win.resize(32, 24);
    win.setParameter({-1, 0});
    win.addSlide();
    win.setParameter({0.25L, 0.5L});
    win.addSlide();
    ASSERT_EQ(win.slides()[0].c, (Complex{-1, 0}));
    ASSERT_EQ(win.makeSlides(), 0);
    EXPECT_EQ(win.parameter(), (Complex{-1, 0}));
    EXPECT_EQ(win.variable(kSlotC), (Complex{-1, 0})); // and the variable C with it
    paintAndFinish(win);
    EXPECT_EQ(win.parameter(), (Complex{0.25L, 0.5L}));
    paintAndFinish(win);
    EXPECT_FALSE(win.showingSlides());
}

TEST(MandelWindow, IndifferentCycleDialogAndReopenAfterTheChildClosed)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(64, 48);
    host.manyAnswers = {{"1/3"}};
    win.handleCommand(CmdOneCycle);
    ASSERT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(host.prompts[0], "coordinate cardioid"); // the dialog's title ...
    EXPECT_EQ(host.fieldPrompts[0], std::vector<std::string>{"between 0 and 1"}); // ... and its prompt
    ASSERT_EQ(host.children.size(), 1u);
    auto* child = dynamic_cast<TJulWin*>(host.children[0].get());
    ASSERT_TRUE(child);
    const Complex c = child->parameter();
    const std::string name = child->documentName();
    host.children.clear(); // the user closes the Julia child
    EXPECT_EQ(win.juliaChild(), nullptr);
    win.handleCommand(CmdReopen);
    EXPECT_TRUE(host.errors.empty()); // not "nothing to do"
    ASSERT_EQ(host.children.size(), 1u);
    child = dynamic_cast<TJulWin*>(host.children[0].get());
    ASSERT_TRUE(child);
    EXPECT_EQ(child->parameter(), c);
    EXPECT_EQ(child->documentName(), name);
    EXPECT_EQ(win.juliaChild(), child);
    TManWin fresh; // never had a child
    fresh.attach(host);
    fresh.handleCommand(CmdReopen);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, ErrNothingToDo);
}

TEST(MandelWindow, PromenadePopUpIsSmallAndFollowsTheHeldButton)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(201, 161);
    ASSERT_EQ(win.mouseMode(), CmdPromenade);
    win.mouseDown(MouseButton::Left, {50, 80});
    ASSERT_EQ(host.children.size(), 1u);
    auto* pop = dynamic_cast<TPromWin*>(host.children[0].get());
    ASSERT_TRUE(pop);
    EXPECT_EQ(win.promenade(), pop);
    EXPECT_EQ(pop->documentName(), "prom1.jul"); // a Julia window's title, not the parent's
    EXPECT_EQ(host.childPlacements[0].width, kPromenadeSide); // small
    EXPECT_EQ(host.childPlacements[0].height, kPromenadeSide);
    const auto at = [&](PixelPoint p) {
        const WorldPoint w = win.view().pixelToWorld(p);
        return Complex{w.x, w.y};
    };
    EXPECT_EQ(pop->parameter(), at({50, 80}));
    win.mouseMove({120, 60}); // dragging with the button held
    EXPECT_EQ(pop->parameter(), at({120, 60}));
    EXPECT_FALSE(pop->figureValid()); // drawn again for the new c
    win.mouseUp(MouseButton::Left, {120, 60});
    win.mouseMove({10, 10}); // released: the pop-up stays
    EXPECT_EQ(pop->parameter(), at({120, 60}));
    win.mouseDown(MouseButton::Left, {30, 30}); // the same pop-up takes the next click
    EXPECT_EQ(host.children.size(), 1u);
    EXPECT_EQ(pop->parameter(), at({30, 30}));
    win.mouseUp(MouseButton::Left, {30, 30});
    host.children.clear(); // the user closes it
    EXPECT_EQ(win.promenade(), nullptr);
    win.mouseDown(MouseButton::Left, {30, 30});
    ASSERT_EQ(host.children.size(), 1u);
    EXPECT_EQ(host.children[0]->documentName(), "prom2.jul");
}

namespace {

// A menu text as the help names it: no mnemonic, no " ...", and the
// maximum period's item without its number.
std::string plainText(std::string t)
{
    t.erase(std::remove(t.begin(), t.end(), '&'), t.end());
    if (t.rfind("Maximum =", 0) == 0)
        return "Maximum =";
    if (t.size() > 4 && t.compare(t.size() - 4, 4, " ...") == 0)
        t.resize(t.size() - 4);
    return t;
}

void collectTexts(const std::vector<MenuEntry>& entries, std::vector<std::string>& out)
{
    for (const MenuEntry& e : entries) {
        if (e.type == MenuEntry::Type::Separator)
            continue;
        out.push_back(plainText(e.text));
        collectTexts(e.children, out);
    }
}

} // namespace

TEST(MandelWindow, EveryMenuHelpDescribesItsMenuAsItIs)
{
    TManWin m;
    TJulWin j([](uint32_t) { return 0u; });
    for (TMJWin* w : {static_cast<TMJWin*>(&m), static_cast<TMJWin*>(&j)}) {
        const MenuBar bar = w->menuBar();
        const Menu* help = nullptr;
        for (const Menu& menu : bar.menus())
            if (menu.title == kMenuHelp)
                help = &menu;
        ASSERT_TRUE(help);
        const auto resources = mjHelpResources(w->isJulia());
        ASSERT_EQ(help->entries.size(), resources.size());
        for (size_t i = 0; i < resources.size(); ++i) {
            const std::string title = help->entries[i].text; // "&File": the menu it explains
            const std::string text(mjHelpText(resources[i]));
            const Menu* menu = nullptr;
            for (const Menu& candidate : bar.menus())
                if (candidate.title == title)
                    menu = &candidate;
            ASSERT_TRUE(menu) << title;
            std::vector<std::string> items;
            collectTexts(menu->entries, items);
            for (const std::string& item : items)
                EXPECT_NE(text.find(item), std::string::npos) << resources[i] << " does not name " << item;
            // Nothing is promised that no menu has.
            for (const char* absent : {"Image size", "Bitmap to clipboard", "Magnify"})
                EXPECT_EQ(text.find(absent), std::string::npos) << resources[i] << " promises " << absent;
        }
    }
}

// Guess is a checked Misc item, off at start: it re-renders the picture
// with guessing (close to the exact one) and back without it.
TEST(MandelWindow, GuessTogglesAnInexactPreview)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(200, 150);
    paintAndFinish(win);
    const Image exact = win.picture();
    EXPECT_FALSE(win.isChecked(CmdGuess));
    win.handleCommand(CmdGuess);
    EXPECT_TRUE(win.isChecked(CmdGuess));
    EXPECT_FALSE(win.figureValid());
    paintAndFinish(win);
    size_t differ = 0;
    for (size_t i = 0; i < exact.pixels.size(); ++i)
        differ += win.picture().pixels[i] != exact.pixels[i];
    EXPECT_LT(differ, exact.pixels.size() / 200);
    win.handleCommand(CmdGuess);
    paintAndFinish(win);
    EXPECT_EQ(win.picture(), exact);
}

TEST(MandelWindow, SpecialColoursAndClose)
{
    FakeHost host;
    TManWin win;
    win.attach(host);
    win.resize(40, 30);
    paintAndFinish(win);
    host.choiceAnswers = {SlotNoTarget - kFirstSpecialSlot};
    host.textAnswers = {"5"};
    win.handleCommand(CmdSpecialColours);
    EXPECT_EQ(host.prompts.back(), "no target: palette index (0..60)");
    EXPECT_EQ(win.specialColours().get(SlotNoTarget), 5);
    EXPECT_FALSE(win.figureValid()); // the set colour is part of the figure: drawn again
    EXPECT_TRUE(win.documentChanged());
    paintAndFinish(win);
    host.choiceAnswers = {SlotAxis - kFirstSpecialSlot};
    host.textAnswers = {"61"};
    win.handleCommand(CmdSpecialColours);
    ASSERT_FALSE(host.errors.empty());
    EXPECT_EQ(host.errors.back().first, 17);
    EXPECT_EQ(win.specialColours().get(SlotAxis), 0);
    host.choiceAnswers = {SlotAxis - kFirstSpecialSlot};
    host.textAnswers = {"9"};
    win.handleCommand(CmdSpecialColours);
    EXPECT_EQ(win.specialColours().get(SlotAxis), 9);
    EXPECT_TRUE(win.figureValid()); // an overlay colour only recomposes
    win.handleCommand(CmdClose);
    EXPECT_EQ(host.closeRequests, 1);
}

TEST(MandelWindow, AnInterruptStopsInsideAPixelOfAHugeRender)
{
    // Near the cusp of a main component orbits creep towards the parabolic
    // point instead of settling into an exact cycle, which would end them
    // early: with two billion steps a pixel only a stop inside the pixel
    // lets these renders end.
    for (const char* mode : {"bands", "dem", "degree3"}) {
        FakeHost host;
        TManWin win;
        win.attach(host);
        win.resize(48, 36);
        // The cusps: 1/4, and 2 / sqrt(27) for degree 3.
        const bool cubic = std::string(mode) == "degree3";
        ASSERT_TRUE(cubic ? win.setView(0.38490017945975050967L, 0, 1e-12L) : win.setView(0.25L, 0, 1e-12L));
        MJParamTexts t = paramTexts(win.params());
        t.maxReps = "2000000000";
        t.mode = std::string(mode) == "dem" ? DisplayMode::Dem : DisplayMode::Bands;
        ASSERT_EQ(win.applySettings(t), 0);
        if (std::string(mode) == "degree3") {
            ASSERT_EQ(win.applyDegree("3"), 0);
        }
        win.paint();
        ASSERT_TRUE(win.busy());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        win.interruptRendering();
        EXPECT_EQ(win.finishRendering(), kSweepInterrupted) << mode;
        EXPECT_TRUE(win.figureValid()) << mode; // what was finished stays
        EXPECT_FALSE(win.busy());
    }
}
