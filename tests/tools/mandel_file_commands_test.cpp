// Open, Save, Save As, the colour commands and the colour editor rules, and
// the settings slots of the Mandelbrot and Julia windows.
#include "model/colour_presets.h"
#include "model/fake_host.h"
#include "tools/mandel/mj_commands.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qx {
namespace {

namespace fs = std::filesystem;

// FakeHost with scripted file dialogs and a record of dialogs asked for.
class FileHost : public FakeHost {
public:
    std::deque<std::string> files;
    std::vector<std::string> dialogs;
    std::string openFileName(const std::string&, const std::string&) override { return next(); }
    std::string saveFileName(const std::string&, const std::string&) override { return next(); }
    bool showModelessDialog(const std::string& name) override
    {
        dialogs.push_back(name);
        return true;
    }

private:
    std::string next()
    {
        if (files.empty()) return {};
        std::string f = files.front();
        files.pop_front();
        return f;
    }
};

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("qx_cmd_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        win.attach(host);
        win.setDocumentName("noname1.man");
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const char* n) const { return (dir_ / n).string(); }
    fs::path dir_;
    FileHost host;
    TManWin win;
};

TEST_F(FileCommands, SaveWithoutAFileNameAsksForOneThenSavesInPlace)
{
    host.files = {path("a.man")};
    win.handleCommand(CmdSave);
    EXPECT_EQ(win.documentName(), path("a.man"));
    EXPECT_TRUE(fs::exists(path("a.man")));
    EXPECT_EQ(win.lastDocument(), path("a.man"));
    win.setMaxReps(555);
    win.handleCommand(CmdSave); // no dialog this time
    EXPECT_TRUE(host.files.empty());
    TManWin other;
    ASSERT_EQ(other.readDocument(path("a.man")), 0);
    EXPECT_EQ(other.maxReps(), 555);
}

TEST_F(FileCommands, SeedsAndOrbitOverlaysTravelWithTheDocument)
{
    TJulWin jul;
    jul.attach(host);
    jul.setSeedListText("0.1; 0.2+0.3i; cis(0)/2");
    jul.setOverlayOrbits(true);
    ASSERT_EQ(jul.writeDocument(path("s.jul")), 0);
    TJulWin other;
    ASSERT_EQ(other.readDocument(path("s.jul")), 0);
    ASSERT_EQ(other.seeds().size(), 3u);
    EXPECT_EQ(other.seeds()[1].text, "0.2+0.3i");
    EXPECT_EQ(other.seeds()[1].value, (Complex{0.2L, 0.3L}));
    EXPECT_EQ(other.seeds()[2].value, (Complex{0.5L, 0}));
    EXPECT_TRUE(other.overlayOrbits());
    jul.setSeedListText(""); // an empty list stays empty
    ASSERT_EQ(jul.writeDocument(path("e.jul")), 0);
    ASSERT_EQ(other.readDocument(path("e.jul")), 0);
    EXPECT_TRUE(other.seeds().empty());
}

TEST_F(FileCommands, OpenOffersToSaveAChangedDocumentAndShowsRefusals)
{
    TJulWin jul;
    ASSERT_EQ(jul.writeDocument(path("j.jul")), 0);
    win.setDocumentChanged(true);
    host.yesNoAnswers = {false};
    host.files = {path("j.jul")};
    const auto before = encodeMJDocument(win.captureDocument());
    win.handleCommand(CmdOpen);
    ASSERT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(host.prompts[0], "save changes to noname1.man");
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, 8);
    EXPECT_EQ(win.documentName(), "noname1.man");
    EXPECT_EQ(encodeMJDocument(win.captureDocument()), before);
}

TEST_F(FileCommands, OpenTakesTheDocumentAndItsName)
{
    TManWin other;
    ASSERT_TRUE(other.setView(0.25L, 0.5L, 0.125L));
    other.setMaxReps(999);
    ASSERT_EQ(other.writeDocument(path("o.man")), 0);
    host.files = {path("o.man")};
    win.handleCommand(CmdOpen);
    EXPECT_TRUE(host.prompts.empty()); // nothing changed, nothing asked
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(win.documentName(), path("o.man"));
    EXPECT_EQ(host.currentTitle, path("o.man"));
    EXPECT_EQ(win.view().centerX, 0.25L);
    EXPECT_EQ(win.maxReps(), 999);
    EXPECT_FALSE(win.documentChanged());
    win.setDocumentChanged(true);
    host.yesNoAnswers = {true}; // save first: goes to the document's own file
    host.files = {path("o.man")};
    win.setMaxReps(321);
    win.handleCommand(CmdOpen);
    EXPECT_EQ(win.maxReps(), 321); // the saved document was opened again
}

TEST_F(FileCommands, DocumentsCarryTheLiveWindowPlacement)
{
    host.placement = WindowPlacement{40, 60, 700, 500, false};
    host.files = {path("p.man")};
    win.handleCommand(CmdSaveAs);
    ASSERT_TRUE(host.errors.empty());
    // Opening it in another window reads the placement and places the window.
    FileHost other;
    TManWin b;
    b.attach(other);
    other.files = {path("p.man")};
    b.handleCommand(CmdOpen);
    EXPECT_EQ(b.fileHeader().placement, (WindowPlacement{40, 60, 700, 500, false}));
    ASSERT_EQ(other.placedAt.size(), 1u);
    EXPECT_EQ(other.placedAt[0], (WindowPlacement{40, 60, 700, 500, false}));
    WindowPlacement stored;
    EXPECT_TRUE(b.storedPlacement(stored));
    // A maximized window is stored as such; the window moved since the last save.
    host.placement = WindowPlacement{0, 0, 1024, 700, true};
    win.handleCommand(CmdSave);
    other.files = {path("p.man")};
    b.handleCommand(CmdOpen);
    EXPECT_TRUE(other.placedAt.back().maximized);
    EXPECT_EQ(other.placedAt.back().width, 1024);
}

TEST_F(FileCommands, SavingAZoomWindowNeverTouchesTheParentsFile)
{
    host.files = {path("parent.man")};
    win.handleCommand(CmdSaveAs);
    ASSERT_EQ(win.documentName(), path("parent.man"));
    const auto parentBytes = [&] {
        std::ifstream in(path("parent.man"), std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    };
    const auto before = parentBytes();
    win.resize(40, 30);
    win.openZoomWindow({-0.5L, 0.25L});
    ASSERT_EQ(host.children.size(), 1u);
    TVorlWin& child = *host.children[0];
    EXPECT_EQ(child.documentName(), "noname1.man"); // a new, untitled document
    EXPECT_TRUE(child.isZoomChild());
    EXPECT_EQ(child.settingsFileName(), "mandelz.ini");
    EXPECT_EQ(win.settingsFileName(), "mandel.ini");
    // Save in the child asks for a name; cancelling writes nothing anywhere.
    FileHost childHost;
    child.attach(childHost);
    child.setDocumentChanged(true);
    child.handleCommand(CmdSave);
    EXPECT_EQ(parentBytes(), before);
    childHost.files = {path("zoom.man")};
    child.handleCommand(CmdSave);
    EXPECT_EQ(child.documentName(), path("zoom.man"));
    EXPECT_EQ(parentBytes(), before);
    EXPECT_TRUE(fs::exists(path("zoom.man")));
    // A second zoom window gets the next name.
    win.openZoomWindow({0, 0});
    EXPECT_EQ(host.children[1]->documentName(), "noname2.man");
}

TEST_F(FileCommands, DrawingAnOpenedDocumentLeavesItUnchanged)
{
    TManWin other;
    ASSERT_TRUE(other.setView(0.25L, 0.5L, 0.125L));
    ASSERT_EQ(other.writeDocument(path("o.man")), 0);
    win.resize(24, 18);
    paintAndFinish(win); // the window's own first picture
    ASSERT_EQ(win.readDocument(path("o.man")), 0);
    paintAndFinish(win);
    EXPECT_TRUE(win.figureValid());
    EXPECT_FALSE(win.documentChanged());
    win.zoomIn();
    win.draw();
    paintAndFinish(win);
    EXPECT_TRUE(win.documentChanged()); // a moved view is a change again
}

TEST_F(FileCommands, PaletteChangeCyclesAndAncientPaletteHasNoInterpolation)
{
    EXPECT_EQ(win.sequence(0).anchors, (std::vector<Rgb>{0x000080, 0x0080FF, 0x00FFFF, 0x005080}));
    EXPECT_EQ(win.sequence(0).binary[0], defaultPalette()[58]);
    EXPECT_EQ(win.sequence(0).binary[1], defaultPalette()[59]);
    win.handleCommand(CmdPaletteChange);
    EXPECT_EQ(win.sequence(0).anchors[0], 0x008000u);
    EXPECT_TRUE(win.documentChanged());
    win.handleCommand(CmdAncientPalette);
    EXPECT_EQ(win.colourTable(0).length(), 109);
}

TEST_F(FileCommands, ColourEditorKeepsOrDiscards)
{
    win.handleCommand(CmdSequence);
    ASSERT_EQ(host.dialogs, (std::vector<std::string>{"COLORTRACK"}));
    ColourEdit e = win.colourEdit();
    EXPECT_EQ(e.title, "color path");
    EXPECT_EQ(e.count, 4);
    EXPECT_EQ(e.interpolations, 19);
    EXPECT_EQ(e.anchors[4], 0x000080u); // cyclic fill
    ASSERT_EQ(setEditCount(e, 2), 0);
    ASSERT_EQ(setEditInterpolations(e, 0), 0);
    Rgb c = 0;
    ASSERT_EQ(parseRgbTexts("255", " 0", "16", c), 0);
    ASSERT_EQ(setEditAnchor(e, 1, c), 0);
    EXPECT_EQ(e.anchors[3], 0x1000FFu);
    // Discarding is not calling keep: the window still has preset 0.
    EXPECT_EQ(win.colourTable(0).length(), 80);
    win.keepColourEdit(e);
    EXPECT_EQ(win.colourTable(0).colours, (std::vector<Rgb>{0x000080, 0x1000FF, 0x000080}));
}

TEST_F(FileCommands, ColourEditorBinaryAndGrayModes)
{
    win.handleCommand(CmdBinaryColours);
    ColourEdit b = win.colourEdit();
    EXPECT_EQ(b.mode, ColourEditMode::Binary);
    EXPECT_EQ(b.count, 2);
    EXPECT_EQ(setEditCount(b, 11), 17);
    ASSERT_EQ(setEditCount(b, 5), 0);
    ASSERT_EQ(setEditAnchor(b, 4, 0x00AA00), 0);
    win.keepColourEdit(b);
    EXPECT_EQ(win.params().binaryCount, 5);
    EXPECT_EQ(win.sequence(0).binary[4], 0x00AA00u);
    win.handleCommand(CmdGrays);
    ColourEdit g = win.colourEdit();
    EXPECT_EQ(g.anchors[0], 0x808080u);
    ASSERT_EQ(setEditAnchor(g, 0, 0x102030), 0);
    EXPECT_EQ(g.anchors[0], 0x303030u); // a gray is its red value
    win.keepColourEdit(g);
    EXPECT_EQ(win.sequence(0).grayAnchors, (std::vector<int>{0x30, 255}));
}

TEST(ColourEditorFields, TypedValuesAreWholeNumbersUpTo255)
{
    Rgb c = 7;
    EXPECT_EQ(parseRgbTexts("256", "0", "0", c), 17);
    EXPECT_EQ(parseRgbTexts("1.5", "0", "0", c), 1);
    EXPECT_EQ(parseRgbTexts("", "0", "0", c), 1);
    EXPECT_EQ(parseRgbTexts("-1", "0", "0", c), 1);
    EXPECT_EQ(c, 7u);
    ColourEdit e;
    EXPECT_EQ(setEditCount(e, 129), 17);
    EXPECT_EQ(setEditCount(e, 1), 17);
    EXPECT_EQ(setEditInterpolations(e, 64), 17);
    EXPECT_EQ(setEditAnchor(e, 4, 0), 17);
}

class SettingsSlots : public FileCommands {};

TEST_F(SettingsSlots, WindowSettingsRoundTripThroughTheFile)
{
    win.palette()[5] = 0x010203;
    win.handleCommand(CmdSave); // no file given: nothing saved
    host.files = {path("x.man")};
    win.handleCommand(CmdSaveAs);
    ASSERT_TRUE(win.writeSettingsTo(path("mandel.ini")));
    TManWin b;
    b.setReadSettings(true);
    ASSERT_EQ(b.readSettingsFrom(path("mandel.ini")), 0);
    EXPECT_EQ(b.palette()[5], 0x010203u);
    EXPECT_EQ(b.lastDocument(), path("x.man"));
    b.setReopenLast(true);
    EXPECT_TRUE(b.openInitialDocument(""));
    EXPECT_EQ(b.documentName(), path("x.man"));
    TJulWin j;
    EXPECT_EQ(j.readSettingsFrom(path("mandel.ini")), 8); // another tool's file
}

TEST_F(SettingsSlots, DisplayModeAboveTwoAndIimInAMandelbrotWindowReadAsBands)
{
    SettingsFile s = win.captureSettings();
    s.group1.ints[1][1] = 1;
    win.applySettingsFile(s);
    EXPECT_EQ(win.params().mode, DisplayMode::Dem);
    s.group1.ints[1][1] = 2;
    win.applySettingsFile(s);
    EXPECT_EQ(win.params().mode, DisplayMode::Bands);
    TJulWin j;
    SettingsFile js = j.captureSettings();
    js.group1.ints[1][1] = 2;
    j.applySettingsFile(js);
    EXPECT_EQ(j.params().mode, DisplayMode::Iim);
    js.group1.ints[1][1] = 4;
    j.applySettingsFile(js);
    EXPECT_EQ(j.params().mode, DisplayMode::Bands);
    js.group1.ints[1][18] = 0;
    js.group1.reals[1][0] = 4;
    j.applySettingsFile(js);
    EXPECT_FALSE(j.newZoomWindow());
    EXPECT_EQ(j.zoomFactor(), 4);
}

TEST_F(SettingsSlots, UseDefaultsSkipsReadingButStillWrites)
{
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    TManWin a;
    a.palette()[7] = 0x070707;
    a.writeSettingsFile();
    ASSERT_TRUE(fs::exists(dir_ / "quorvex" / "mandel.ini"));
    TManWin b;
    b.setReadSettings(false);
    b.readSettingsFile();
    EXPECT_EQ(b.palette()[7], defaultPalette()[7]);
    b.setReadSettings(true);
    b.readSettingsFile();
    EXPECT_EQ(b.palette()[7], 0x070707u);
    ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace qx
