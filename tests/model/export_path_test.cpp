// The one export path: a format is a row of the table and a page canvas; the
// window's menu, its export command and the page loop serve it without any
// tool knowing it. Shown with a small text format that exists only here.
#include "model/fake_host.h"
#include "support/plane_test_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace qx;

namespace {

namespace fs = std::filesystem;

// Each primitive as one line of text.
class TextPage : public PageCanvas {
public:
    TextPage(const View& v, const Palette& p, int page, std::string title)
        : PageCanvas(v, p), text_("page " + std::to_string(page) + " of " + title + "\n")
    {
    }
    std::string pageFile() const override { return text_; }
    void drawSegment(WorldPoint a, WorldPoint b, const Pen&) override { line("segment", a, b); }
    void drawPolyline(std::span<const WorldPoint>, const Pen&) override { text_ += "polyline\n"; }
    void fillPolygon(std::span<const WorldPoint>, std::optional<int>, const Pen&, int) override {}
    void drawRect(WorldPoint, WorldPoint, std::optional<int>, const Pen&, int, int) override {}
    void drawMark(WorldPoint, MarkKind, int, int) override {}
    void drawText(WorldPoint, const std::string& t, const TextStyle&) override { text_ += "text " + t + "\n"; }
    void drawDotList(std::span<const WorldPoint>, std::optional<int>, std::optional<int>, int) override {}
    void comment(const std::string&) override {}

private:
    void line(const char* what, WorldPoint a, WorldPoint b)
    {
        std::ostringstream s;
        s << what << " " << double(a.x) << "," << double(a.y) << " " << double(b.x) << "," << double(b.y) << "\n";
        text_ += s.str();
    }
    std::string text_;
};

std::unique_ptr<PageCanvas> makeTextPage(const View& v, const Palette& p, const ExportRun&, int page,
                                         const std::string& title)
{
    return std::make_unique<TextPage>(v, p, page, title);
}

const ExportFormats& testFormats()
{
    static const ExportFormats formats({
        {"txt", "TXT", 9001, "&Text ...", "Text files (*.TXT)|*.txt", ".txt", true, makeTextPage},
        {"pix", "PIX", 9002, "&Pixels ...", "Pixel files (*.PIX)|*.pix", ".pix", false, makeTextPage},
    });
    return formats;
}

// A tool with a vector picture: one segment and the page number per page.
struct VectorWin : test::PlaneTestWin {
    bool canExport(const ExportFormat& f) const override { return f.vector; }
    bool drawExportPage(Canvas& c, int page) override
    {
        c.drawSegment({0, 0}, {1, Real(page)}, Pen{});
        c.drawText({0, 0}, "p" + std::to_string(page), TextStyle{});
        return true;
    }
};

std::string readText(const fs::path& p)
{
    std::ifstream in(p);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ExportPath : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("qx_export_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        win.setExportFormats(testFormats());
        win.attach(host);
        win.resize(41, 31);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
    FakeHost host;
    VectorWin win;
};

} // namespace

TEST_F(ExportPath, AFormatRowGivesAMenuItemAndItsPages)
{
    const MenuBar bar = win.menuBar();
    const MenuEntry* item = bar.find(9001);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, "&Text ...");
    EXPECT_NE(bar.find(9002), nullptr);
    EXPECT_EQ(bar.find(372), nullptr); // only the formats of the window's table
    host.fileAnswers = {(dir / "fig.txt").string()};
    host.textAnswers = {"3"};
    EXPECT_TRUE(win.handleCommand(9001));
    EXPECT_EQ(host.prompts.back(), "TXT: pages");
    ASSERT_TRUE(host.errors.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, "TXT file saved: fig");
    for (int page = 0; page < 3; ++page) {
        const fs::path file = dir / ("fig" + std::to_string(page) + ".txt");
        ASSERT_TRUE(fs::exists(file)) << file;
        EXPECT_EQ(readText(file), "page " + std::to_string(page) + " of fig" + std::to_string(page) +
                                      ".txt\nsegment 0,0 1," + std::to_string(page) + "\ntext p" +
                                      std::to_string(page) + "\n");
    }
    EXPECT_FALSE(fs::exists(dir / "fig3.txt"));
}

TEST_F(ExportPath, QBetweenPagesAndPictureKindsEndTheRun)
{
    const ExportFormat& txt = *testFormats().byName("txt");
    host.interruptKeys = {81}; // Q after the first page
    EXPECT_EQ(win.exportPages(txt, (dir / "q.txt").string(), "4", [](const std::string&) { return true; }), 12);
    EXPECT_TRUE(fs::exists(dir / "q0.txt"));
    EXPECT_FALSE(fs::exists(dir / "q1.txt"));
    // The window has no pixel picture for a pixel format.
    EXPECT_EQ(win.exportPages(*testFormats().byName("pix"), (dir / "p.pix").string(), "1",
                              [](const std::string&) { return true; }),
              10);
    // The overwrite question is asked once, and a refusal writes nothing.
    int asked = 0;
    EXPECT_EQ(win.exportPages(txt, (dir / "q.txt").string(), "1", [&](const std::string&) { return ++asked, false; }),
              0); // one page: "q.txt" is new
    EXPECT_EQ(win.exportPages(txt, (dir / "q.txt").string(), "1", [&](const std::string&) { return ++asked, false; }),
              12);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(win.exportPages(txt, (dir / "q.txt").string(), "0", [](const std::string&) { return true; }), 6);
}
