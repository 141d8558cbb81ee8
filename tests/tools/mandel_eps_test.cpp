// Inverse iteration on the screen and in EPS files, and the EPS command of
// the Mandelbrot and Julia windows, checked with Ghostscript as the reader.
#include "model/fake_host.h"
#include "base/file_io.h"
#include "tools/mandel/mj_commands.h"
#include "tools/mandel/tjulwin.h"
#include "support/ghostscript.h"

#include <gtest/gtest.h>

#include <thread>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace qx;
using qx::test::Ppm;
using qx::test::ghostscript;

namespace {

int countOf(const std::string& s, const std::string& what)
{
    int n = 0;
    for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + what.size()))
        ++n;
    return n;
}

// Total points of the "dots N ..." lines of a recording.
size_t dotCount(const std::vector<std::string>& log)
{
    size_t n = 0;
    for (const auto& line : log)
        if (line.rfind("dots ", 0) == 0)
            n += std::stoul(line.substr(5));
    return n;
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A rabbit Julia window drawn by inverse iteration, 641 x 481 pixels.
struct IimFixture : ::testing::Test {
    FakeHost host;
    TJulWin win{[](uint32_t) { return 0u; }};
    std::filesystem::path dir;

    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() / ("qx_iim_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        win.attach(host);
        win.resize(641, 481);
        win.setParameter({-0.1225611668766535961L, 0.7448617666197442366L});
        win.setView(0, 0, 1.6L);
        MJParamTexts t = paramTexts(win.params());
        t.mode = DisplayMode::Iim;
        ASSERT_EQ(win.applySettings(t), 0);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    int exportTo(const std::string& file)
    {
        return win.exportEps(file, "1", [](const std::string&) { return true; });
    }
};

} // namespace

TEST_F(IimFixture, DefaultLimitStopsAfterAThousandSteps)
{
    host.recordCanvas = true;
    paintAndFinish(win);
    EXPECT_TRUE(win.figureValid());
    EXPECT_EQ(host.backgroundStarts, 1); // a drawing job off the user-interface thread
    // Two preimages a step, all inside the view: the rabbit lies within |z| < 1.6.
    EXPECT_EQ(dotCount(host.canvasLog), 2000u);
    ASSERT_GE(host.canvasLog.size(), 2u);
    EXPECT_EQ(host.canvasLog[0].rfind("rect (-1.6,1.20062) (1.6,-1.20062) fill 0", 0), 0u); // a clean background first
    EXPECT_NE(host.canvasLog[1].find("fill 3 outline none size 1"), std::string::npos); // the IIM colour
}

TEST_F(IimFixture, QStopsAtOnceAndSetsTheNewCeiling)
{
    ASSERT_EQ(win.setIimLimits("0", "1000"), 0); // no screen limit: only Q ends it
    host.recordCanvas = true;
    host.interruptKeys = {0, 'Q'}; // the timer's second poll
    paintAndFinish(win);
    EXPECT_TRUE(win.figureValid()); // what was drawn stays
    const int32_t ceiling = win.orbitSettings().iimScreenLimit;
    EXPECT_GE(ceiling, 1000);
    EXPECT_EQ(ceiling % 200, 0); // the job stops between its batches
    // Every point the job made reached the figure: two preimages a step, for
    // the steps reached (the ceiling, unless the stop came before 1000 steps).
    const size_t dots = dotCount(host.canvasLog);
    EXPECT_EQ(dots % 400, 0u);
    if (ceiling > 1000)
        EXPECT_EQ(dots, 2u * static_cast<size_t>(ceiling));
    else
        EXPECT_LE(dots, 2000u);
    EXPECT_TRUE(host.errors.empty()); // an interruption is no error
    host.canvasLog.clear();
    win.draw();
    paintAndFinish(win);
    EXPECT_EQ(dotCount(host.canvasLog), 2u * static_cast<size_t>(ceiling)); // the next drawing stops at the ceiling
}

TEST_F(IimFixture, ExportWritesBackgroundPointsOrbitsAndLabels)
{
    win.setSeedListText("0.1; 0.3i");
    win.setOrbitLength("20");
    win.setOverlayOrbits(true);
    TextLabel label{{-1.5L, 1.2L}, "rabbit (c) \\ IIM", {}};
    label.style.face = "Helvetica";
    label.style.angleTenths = 450;
    ASSERT_EQ(win.addLabel(label), 0);
    const std::string file = path("rabbit.eps");
    ASSERT_EQ(exportTo(path("rabbit.EPS")), 0); // the extension is replaced by .eps
    const std::string eps = fileText(file);
    ASSERT_FALSE(eps.empty());
    EXPECT_EQ(eps.rfind("%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 480 360\r\n", 0), 0u);
    EXPECT_NE(eps.find("%%Title: (rabbit.eps)\r\n"), std::string::npos);
    // The background: the whole page, a plain rectangle in colour 0 (black).
    EXPECT_NE(eps.find("newpath\r\n480.000 360.000 moveto\r\n0.000 360.000 lineto\r\n0.000 0.000 lineto\r\n"
                       "480.000 0.000 lineto\r\n480.000 360.000 lineto\r\ngsave\r\n0.000 0.000 0.000 setrgbcolor\r\n"
                       "fill\r\ngrestore\r\n"),
              std::string::npos);
    // 2000 points of the output limit plus the orbit points inside the view (21 each).
    EXPECT_EQ(countOf(eps, "% begin circle fill\r\n"), 2000 + 21 + 21);
    EXPECT_EQ(countOf(eps, " 0 360 arc\r\n"), 2042);
    EXPECT_NE(eps.find("45 rotate\r\n"), std::string::npos);
    EXPECT_NE(eps.find("(rabbit \\(c\\) \\\\ IIM) show\r\n-45 rotate\r\n"), std::string::npos);
    EXPECT_EQ(eps.substr(eps.size() - 7), "%%EOF\r\n");
    EXPECT_EQ(ghostscript(file, 72).w, 480) << "Ghostscript refused the file";
}

TEST_F(IimFixture, GhostscriptLightsThePixelsTheScreenLights)
{
    win.setSeedListText("0.1; 0.3i; -0.5+0.2i");
    win.setOrbitLength("100");
    win.setOverlayOrbits(true);
    paintAndFinish(win);
    const Image& screen = win.picture();
    const std::string file = path("same.eps");
    ASSERT_EQ(exportTo(file), 0);
    const Ppm page = ghostscript(file, 96); // 96 dpi: one page pixel per screen pixel
    ASSERT_EQ(page.w, 640) << "Ghostscript refused the file";
    ASSERT_EQ(page.h, 480);
    const Rgb background = win.palette()[0];
    auto screenLit = [&](int x, int y) { // stored pixels carry an opaque alpha byte
        return (screen.pixels[static_cast<size_t>(y) * 641 + x] & 0xFFFFFFu) != (background & 0xFFFFFFu);
    };
    // Each lit pixel has a lit pixel of the other picture at most one pixel
    // away: a dot on the page is a disc of one pixel's diameter, which may
    // touch the neighbours of the screen's pixel.
    auto near = [](int x, int y, int w, int h, auto lit) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (x + dx >= 0 && y + dy >= 0 && x + dx < w && y + dy < h && lit(x + dx, y + dy))
                    return true;
        return false;
    };
    int screenCount = 0, missingOnPage = 0, pageCount = 0, missingOnScreen = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            if (screenLit(x, y)) {
                ++screenCount;
                missingOnPage += !near(x, y, 640, 480, [&](int a, int b) { return page.lit(a, b); });
            }
            if (page.lit(x, y)) {
                ++pageCount;
                missingOnScreen += !near(x, y, 641, 481, screenLit);
            }
        }
    EXPECT_GT(screenCount, 1000); // 2300 points, many sharing a pixel
    EXPECT_EQ(missingOnPage, 0);
    EXPECT_EQ(missingOnScreen, 0);
    EXPECT_GE(pageCount, screenCount); // discs cover a pixel or more
    EXPECT_LE(pageCount, 4 * screenCount);
}

TEST_F(IimFixture, PageCountAndOverwriteRefusals)
{
    const std::string file = path("keep.eps");
    ASSERT_TRUE(writeFileAtomically(file, "old"));
    for (const auto& [text, code] : {std::pair{"0", 6}, {"1000000", 17}, {"two", 1}})
        EXPECT_EQ(win.exportEps(file, text, [](const std::string&) { return true; }), code) << text;
    int asked = 0;
    EXPECT_EQ(win.exportEps(file, "1", [&](const std::string& q) { ++asked; EXPECT_EQ(q, "overwrite existing file?"); return false; }), 12);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(fileText(file), "old");
    EXPECT_EQ(win.exportEps(path("no/such/dir/x.eps"), "1", nullptr), 12);
}

TEST_F(IimFixture, PagesShareOneFrameAndGhostscriptReadsEach)
{
    const auto yes = [](const std::string&) { return true; };
    EXPECT_EQ(win.exportEps(path("anim.eps"), "2", yes), 2); // several pages need a directive
    ASSERT_EQ(win.exportEps(path("anim.eps"), "2", yes, "\\zoom"), 0);
    EXPECT_FALSE(std::filesystem::exists(path("anim.eps")));
    EXPECT_FALSE(std::filesystem::exists(path("animANIM.txt"))); // EPS writes no list
    const std::string a = fileText(path("anim0.eps")), b = fileText(path("anim1.eps"));
    EXPECT_NE(a.find("%%Title: (anim0.eps)"), std::string::npos);
    EXPECT_NE(b.find("%%Title: (anim1.eps)"), std::string::npos);
    for (const std::string& page : {path("anim0.eps"), path("anim1.eps")}) {
        const test::Ppm p = test::ghostscript(page, 72);
        ASSERT_GT(p.w, 0) << page;
        int lit = 0;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x)
                lit += p.lit(x, y);
        EXPECT_GT(lit, 100) << page; // the points land on the page, not off the frame
    }
}

TEST_F(IimFixture, CommandReportsSavedOrFailed)
{
    host.fileAnswers = {path("cmd.eps"), path("missing/dir/cmd.eps")};
    host.manyAnswers = {{"1", ""}, {"1", ""}};
    exportAndFinish(win, CmdExportEps);
    EXPECT_EQ(host.fileFilters.at(0), "EPS files (*.EPS)|*.eps");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (std::pair<std::string, std::string>{"EPS file saved: cmd", "EPS"}));
    EXPECT_EQ(win.exportBaseName(), path("cmd"));
    EXPECT_TRUE(std::filesystem::exists(path("cmd.eps")));
    exportAndFinish(win, CmdExportEps);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, 12); // "cannot save file"
    exportAndFinish(win, CmdExportEps); // cancelled file dialog: nothing happens
    EXPECT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST(EpsExportRefusal, AWindowWithoutVectorPictureSaysSo)
{
    FakeHost host;
    TVorlWin plain;
    plain.attach(host);
    plain.resize(100, 80);
    const std::string file = (std::filesystem::temp_directory_path() / "qx_plain_never.eps").string();
    EXPECT_EQ(plain.exportEps(file, "1", nullptr), 10);
    EXPECT_FALSE(std::filesystem::exists(file));
}

namespace {

// A host whose interrupt poll delivers a resize, as a window system may
// while a long drawing lets it process events.
class ResizingHost : public FakeHost {
public:
    TVorlWin* model = nullptr;
    int polls = 0;
    int pollInterrupt() override
    {
        if (++polls == 1)
            model->resize(300, 200);
        return 0;
    }
};

} // namespace

TEST(IimResize, AResizeDuringTheDrawingStartsItAgainAtTheNewSize)
{
    ResizingHost host;
    TJulWin win{[](uint32_t) { return 0u; }};
    host.model = &win;
    win.attach(host);
    win.resize(160, 120);
    MJParamTexts t = paramTexts(win.params());
    t.mode = DisplayMode::Iim;
    ASSERT_EQ(win.applySettings(t), 0);
    ASSERT_EQ(win.setIimLimits("0", "1000"), 0); // runs until something stops it
    win.paint();
    while (win.tick()) // the first poll resizes: the drawing is superseded
        std::this_thread::yield();
    EXPECT_GE(host.polls, 1);
    EXPECT_EQ(win.view().pixWidth, 300);
    EXPECT_EQ(win.figureImage().width, 300);
    EXPECT_FALSE(win.figureValid()); // it starts again at the new size
    ASSERT_EQ(win.setIimLimits("3000", "1000"), 0);
    paintAndFinish(win);
    EXPECT_TRUE(win.figureValid());
    EXPECT_EQ(win.picture().width, 300);
}
