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
        {"txt", "TXT", 9001, "&Text ...", "Text files (*.TXT)|*.txt", ".txt", true, makeTextPage, PageList::Text},
        {"pix", "PIX", 9002, "&Pixels ...", "Pixel files (*.PIX)|*.pix", ".pix", false, makeTextPage},
        {"tex", "TEX", 9003, "&TeX ...", "TeX files (*.TEX)|*.tex", ".tex", true, makeTextPage, PageList::TeX},
    });
    return formats;
}

// A tool with a vector picture: one segment and the page number per page.
struct VectorWin : test::PlaneTestWin {
    bool canExport(const ExportFormat& f) const override { return f.vector; }
    bool drawExportPage(Canvas& c, int page) override
    {
        c.drawSegment({0, 0}, {1, Real(page)}, Pen{});
        c.drawText({0, 0}, "p" + std::to_string(page) + " t=" + std::to_string(double(variable(20).re)),
                   TextStyle{});
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
    ASSERT_EQ(win.setVariableBounds(20, 1, 2), 0); // T runs from 1 to 2 over the pages
    host.fileAnswers = {(dir / "fig.txt").string()};
    host.manyAnswers = {{"3", "t"}};
    exportAndFinish(win, 9001);
    ASSERT_FALSE(host.prompts.empty());
    EXPECT_EQ(host.prompts.back(), "TXT"); // the settings dialog of the format
    EXPECT_EQ(host.fieldPrompts.back(), (std::vector<std::string>{"pages", "parameters"}));
    ASSERT_TRUE(host.errors.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, "TXT file saved: fig");
    for (int page = 0; page < 3; ++page) {
        const fs::path file = dir / ("fig" + std::to_string(page) + ".txt");
        ASSERT_TRUE(fs::exists(file)) << file;
        EXPECT_EQ(readText(file), "page " + std::to_string(page) + " of fig" + std::to_string(page) +
                                      ".txt\nsegment 0,0 1," + std::to_string(page) + "\ntext p" +
                                      std::to_string(page) + " t=" + std::to_string(1 + page * 0.5) + "\n");
    }
    EXPECT_FALSE(fs::exists(dir / "fig3.txt"));
    EXPECT_EQ(readText(dir / "figANIM.txt"), "fig0\r\nfig1\r\nfig2\r\n");
}

TEST_F(ExportPath, DirectivesAndTheTeXList)
{
    const auto yes = [](const std::string&) { return true; };
    const ExportFormat& tex = *testFormats().byName("tex");
    EXPECT_EQ(win.exportPages(tex, (dir / "a.tex").string(), "2", yes, "#"), 2); // could not find
    EXPECT_EQ(win.exportPages(tex, (dir / "a.tex").string(), "2", yes, "\\spin"), 2);
    EXPECT_FALSE(fs::exists(dir / "a0.tex"));
    EXPECT_EQ(win.exportPages(tex, (dir / "a.tex").string(), "1", yes, "#"), 0); // one page needs none
    std::string letters;
    EXPECT_EQ(pageDirectiveKind("\\zoom", letters), 4);
    EXPECT_EQ(pageDirectiveKind("\\Reps", letters), 2);
    EXPECT_EQ(pageDirectiveKind("\\PROM", letters), 3);
    EXPECT_EQ(pageDirectiveKind("c, a", letters), 1);
    EXPECT_EQ(letters, "CA");
    EXPECT_EQ(pageDirectiveKind("xyz", letters), 0); // X, Y, Z are the map's own variables
    ASSERT_EQ(win.exportPages(tex, (dir / "fig.tex").string(), "3", yes, "\\ZOOM"), 0);
    EXPECT_EQ(readText(dir / "figANIM.tex"), "\\begin{animateinline}[poster=first,controls]{1}\r\n"
                                             "\\input{fig0}\r\n\\newframe\r\n"
                                             "\\input{fig1}\r\n\\newframe\r\n"
                                             "\\input{fig2}\r\n"
                                             "\\end{animateinline}\r\n");
    // Ten pages are numbered 00 to 09.
    EXPECT_EQ(pageListText(PageList::Text, "/x/w", 10).substr(0, 8), "w00\r\nw01");
}

// The settings dialogs of the built-in formats: SVG asks for the header size
// too, PiCTeX for its kind, box and width; every entry is checked before
// anything changes, and the dialog shows the last pages and parameter again.
TEST_F(ExportPath, SettingsDialogsCheckEveryEntryFirst)
{
    FakeHost h;
    VectorWin w;
    w.attach(h);
    w.resize(41, 31);
    h.fileAnswers = {(dir / "s.svg").string(), (dir / "s.svg").string()};
    h.manyAnswers = {{"5", "300", "1", ""}, {"200", "100", "2", "\\spin"}};
    exportAndFinish(w, 375);
    exportAndFinish(w, 375);
    EXPECT_EQ(h.prompts.back(), "SVG settings");
    EXPECT_EQ(h.fieldPrompts.back(), (std::vector<std::string>{"width", "height", "pages", "parameters"}));
    ASSERT_EQ(h.errors.size(), 2u);
    EXPECT_EQ(h.errors[0].first, 17); // a side below 10
    EXPECT_EQ(h.errors[1].first, 2);  // could not find
    EXPECT_EQ(w.svgWidth(), 0);       // neither run changed the size
    EXPECT_FALSE(fs::exists(dir / "s.svg"));
    EXPECT_FALSE(fs::exists(dir / "s0.svg"));

    h.fileAnswers = {(dir / "p.tex").string(), (dir / "p.tex").string()};
    h.manyAnswers = {{"6.5", "300", "TeX insertable", "1", "1", ""}, {"6.5", "3", "TeX insertable", "1.5", "2", "t"}};
    exportAndFinish(w, 376);
    EXPECT_EQ(h.errors.back().first, 17); // box numbers run to 255
    EXPECT_EQ(w.texBox(), 0);
    exportAndFinish(w, 376);
    EXPECT_EQ(h.prompts.back(), "PiCTeX setup");
    EXPECT_EQ(w.texKind(), 3);
    EXPECT_EQ(w.texBox(), 3);
    EXPECT_EQ(static_cast<double>(w.texWidthCm()), 6.5);
    EXPECT_EQ(static_cast<double>(w.texWhitespace()), 1.5);
    EXPECT_TRUE(fs::exists(dir / "p0.tex") && fs::exists(dir / "p1.tex") && fs::exists(dir / "pANIM.tex"));
    // The next PiCTeX dialog starts from these entries; cancelling it does nothing.
    h.fileAnswers = {(dir / "p.tex").string()};
    exportAndFinish(w, 376);
    EXPECT_EQ(h.fieldValues.back(), (std::vector<std::string>{"6.50", "3", "TeX insertable", "1.50", "2", "t"}));
    EXPECT_EQ(h.errors.size(), 3u);
}

TEST_F(ExportPath, QBetweenPagesAndPictureKindsEndTheRun)
{
    const ExportFormat& txt = *testFormats().byName("txt");
    host.interruptKeys = {81}; // Q after the first page
    EXPECT_EQ(win.exportPages(txt, (dir / "q.txt").string(), "4", [](const std::string&) { return true; }, "a"), 12);
    EXPECT_FALSE(fs::exists(dir / "qANIM.txt")); // no list after a stopped run
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
