// String-rewriting curves: the data rules, the directions, the turtle, the
// rewriting and its limit, the presets, the random curve, box counting, the
// window's generations and its documents.
#include "model/common_header.h"
#include "model/fake_host.h"
#include "tools/curves/box_count.h"
#include "tools/curves/tsrfwin.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qx;

namespace {

int segmentsOf(const std::string& s, const RewritingData& d, int* status = nullptr)
{
    DirectionTable t;
    t.build(d);
    int n = 0;
    const int e = walkCurve(s, t, nullptr, [&n](WorldPoint, WorldPoint) { ++n; });
    if (status)
        *status = e;
    return n;
}

} // namespace

TEST(CurveData, RulesDirectionsAndTheTurtle)
{
    RewritingData d;
    d.initial = "flfx";
    ASSERT_EQ(checkCurveData(d), 0);
    EXPECT_EQ(d.initial, "FLFX"); // upper case
    d.initial = "FQF";
    EXPECT_EQ(checkCurveData(d), 1);
    d.initial = "F";
    d.n = 2;
    EXPECT_EQ(checkCurveData(d), 6); // sectors 3..360
    d.n = 6;
    d.direction = -8;
    ASSERT_EQ(checkCurveData(d), 0);
    EXPECT_EQ(d.direction, 4); // -8 + 6 + 6 = 4
    d.lengths[2] = 0;
    EXPECT_EQ(checkCurveData(d), 6);

    // Degree mode: N = 360 / gcd(360, turn).
    d = RewritingData{};
    d.mode = 1;
    d.n = 72;
    EXPECT_EQ(directionCount(d), 5);
    d.n = 7;
    EXPECT_EQ(directionCount(d), 360);

    // Four right angles close a unit square; an unmatched ')' stops the walk.
    d = RewritingData{};
    d.n = 4;
    DirectionTable t;
    t.build(d);
    std::vector<WorldPoint> ends;
    WorldRect box{};
    ASSERT_EQ(walkCurve("FLFLFLF", t, nullptr, [&](WorldPoint, WorldPoint b) { ends.push_back(b); }, &box), 0);
    ASSERT_EQ(ends.size(), 4u);
    EXPECT_NEAR(static_cast<double>(ends[3].x), 0, 1e-15);
    EXPECT_NEAR(static_cast<double>(ends[3].y), 0, 1e-15);
    EXPECT_NEAR(static_cast<double>(box.right), 1, 1e-15);
    EXPECT_NEAR(static_cast<double>(box.up), 1, 1e-15);
    int status = 0;
    EXPECT_EQ(segmentsOf("F(LF)F)FFF", d, &status), 3); // stops at the second ')'
    EXPECT_EQ(status, 3);
    EXPECT_EQ(segmentsOf("FUFDF", d), 2); // the pen is up for the middle step
}

TEST(CurveData, RewritingPresetsAndTheLimit)
{
    RewritingData d;
    ASSERT_TRUE(presetData(582, d)); // Sierpinski: L and R vanish in every rewriting
    std::string once;
    ASSERT_EQ(rewrite("LRE", d, nullptr, once), 0);
    EXPECT_EQ(once, "ERFRE");
    EXPECT_NEAR(static_cast<double>(d.lengths[1]), std::sqrt(2.0), 1e-15);
    // Every preset is valid, balanced, and grows by its replacements.
    for (const CurvePreset& p : curvePresets()) {
        ASSERT_TRUE(presetData(p.command, d)) << p.name;
        EXPECT_EQ(checkCurveData(d), 0) << p.name;
        std::string s = d.initial, next;
        for (int g = 0; g < 2; ++g) {
            ASSERT_EQ(rewrite(s, d, nullptr, next), 0) << p.name;
            EXPECT_EQ(static_cast<long long>(next.size()), nextLength(s, d, nullptr)) << p.name;
            s = next;
        }
        int status = -1;
        segmentsOf(s, d, &status);
        EXPECT_EQ(status, 0) << p.name;
    }
    // A generation past the limit is refused before anything is allocated.
    d.reset();
    d.replacement['E'] = std::string(32, 'E');
    const std::string big(kMaxCurveString / 16, 'E');
    std::string out = "kept";
    EXPECT_EQ(rewrite(big, d, nullptr, out), 4);
    EXPECT_EQ(out, "kept");
    std::atomic<bool> stop{true};
    EXPECT_EQ(rewrite(std::string(10000, 'F'), d, &stop, out), 27);
}

TEST(CurveData, RandomCurve)
{
    double v = 0.1;
    const auto uniform = [&v] { return v = std::fmod(v * 7.31 + 0.17, 1.0); };
    const std::vector<WorldPoint> p = randomCurve(uniform);
    ASSERT_EQ(p.size(), 4097u);
    EXPECT_EQ(p[0].x, 0);
    EXPECT_EQ(p[0].y, 0);
    EXPECT_TRUE(p[4096].x >= 0 && p[4096].x < 1 && p[4096].y >= 0 && p[4096].y < 1);
    for (const WorldPoint& q : p)
        EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y));
    EXPECT_NE(p[2048].x, (p[0].x + p[4096].x) / 2); // displaced
}

namespace {

// Counts what a list of segments hits in the unit square.
class SegmentCounter final : public BoxCounter {
public:
    explicit SegmentCounter(std::vector<std::pair<WorldPoint, WorldPoint>> s) : s_(std::move(s)) {}
    long long totalBoxes(int k) const override { return (1LL << k) * (1LL << k); }
    std::string boxSize(int k) const override { return "width/" + std::to_string(1 << k); }
    long long hits(int k, BoxGrid& grid, const std::atomic<bool>*) override
    {
        grid.reset(1 << k, 0, 0, 1);
        for (const auto& [a, b] : s_)
            grid.markSegment(a, b);
        return grid.hits();
    }

private:
    std::vector<std::pair<WorldPoint, WorldPoint>> s_;
};

} // namespace

TEST(BoxCounting, LinesSquaresAndTheReport)
{
    // A diagonal: about N boxes of N x N (each box it passes and the
    // neighbours it touches at the corners), dimension near 1.
    SegmentCounter line({{{0.001L, 0.0013L}, {0.999L, 0.9987L}}});
    const BoxCountReport r = countBoxes(line, nullptr);
    EXPECT_EQ(r.lastStep, 10);
    EXPECT_NEAR(static_cast<double>(r.dimension), 1.0, 0.05);
    EXPECT_EQ(r.text.substr(0, 30), "box size  number    hits      ");
    EXPECT_NE(r.text.find("width/1024"), std::string::npos);
    EXPECT_EQ(r.text.find("dimension"), r.text.find("width/8 ") + 33); // from the fourth grid on
    // A filled square: 1024 horizontal lines fill every box; dimension near 2.
    std::vector<std::pair<WorldPoint, WorldPoint>> rows;
    for (int i = 0; i < 1024; ++i) {
        const Real y = (i + 0.5L) / 1024;
        rows.push_back({{0.0001L, y}, {0.9999L, y}});
    }
    SegmentCounter square(rows);
    EXPECT_NEAR(static_cast<double>(countBoxes(square, nullptr).dimension), 2.0, 0.01);
    // Nothing inside: the first step aborts.
    SegmentCounter outside({{{2, 2}, {3, 3}}});
    const BoxCountReport none = countBoxes(outside, nullptr);
    EXPECT_TRUE(none.aborted);
    EXPECT_EQ(none.lastStep, -1);
    EXPECT_NE(none.text.find("calculation aborted"), std::string::npos);
}

namespace {

struct SrfFixture : ::testing::Test {
    FakeHost host;
    TSRFWin win;
    void SetUp() override
    {
        win.setWriteSettings(false);
        win.attach(host);
        win.resize(300, 240);
        paintAndFinish(win);
    }
    void nextGeneration()
    {
        ASSERT_TRUE(win.next());
        win.finishSideJob();
        paintAndFinish(win);
    }
};

} // namespace

TEST_F(SrfFixture, GenerationsTitlesAndTheBoxCount)
{
    EXPECT_EQ(win.currentString(), "FLLFLLF"); // the von Koch island
    nextGeneration();
    EXPECT_EQ(win.generation(), 1);
    EXPECT_EQ(win.currentString().size(), 3u * 8 + 4); // each F becomes 8 characters, the L stay
    host.currentTitle.clear();
    win.restoreTitle();
    EXPECT_EQ(host.currentTitle, "generation 1 [] characters : " + std::to_string(win.currentString().size()));
    // The picture is framed with equal scales: the island fills 1/1.2 of the
    // width or of the height, whichever is tighter.
    const WorldRect b = win.boundingBox();
    const View& v = win.view();
    const Real fill = std::max((b.right - b.left) / (v.xMax - v.xMin), (b.up - b.down) / (v.yMax - v.yMin));
    EXPECT_NEAR(static_cast<double>(fill), 1 / 1.2, 1e-9);
    EXPECT_NEAR(static_cast<double>((b.left + b.right) / 2), static_cast<double>(v.centerX), 1e-12);
    win.generationZero();
    EXPECT_EQ(win.generation(), 0);
    EXPECT_EQ(win.currentString(), "FLLFLLF");

    // Box counting of the island at generation 4: a dimension near log 4 / log 3.
    for (int g = 0; g < 4; ++g)
        nextGeneration();
    ASSERT_TRUE(win.startBoxCount());
    win.finishSideJob();
    EXPECT_EQ(win.lastReport().lastStep, 10);
    EXPECT_NEAR(static_cast<double>(win.lastReport().dimension), std::log(4.0) / std::log(3.0), 0.15);
    ASSERT_FALSE(host.textWindows.empty());
    EXPECT_EQ(host.textWindows.back().first, "dimension.txt");

    win.randomCurve();
    host.currentTitle.clear();
    win.restoreTitle();
    EXPECT_EQ(host.currentTitle, "random polygonal curve");
    EXPECT_FALSE(win.next()); // no strings to rewrite
}

TEST_F(SrfFixture, SummaryAndTheStringsRules)
{
    ASSERT_TRUE(win.applyPreset(574)); // Dragon
    const std::string s = win.summary();
    EXPECT_EQ(s.substr(0, s.find('\n', s.find("sectors"))), "initial: E\n0 direction\n8 sectors");
    EXPECT_NE(s.find("E ==> LERRF (length 1)\n"), std::string::npos);
    EXPECT_NE(s.find("L ==> L\n"), std::string::npos);
    RewritingData d = win.data();
    d.replacement['F'] = "F?";
    EXPECT_EQ(win.applyData(d), 1);
    EXPECT_EQ(win.data().replacement['F'], "ELLFR"); // nothing changed
}

TEST_F(SrfFixture, DocumentsKeepTheGenerationAndTheRotation)
{
    ASSERT_TRUE(win.applyPreset(576)); // Gosper: turned every generation
    for (int g = 0; g < 3; ++g)
        nextGeneration();
    ByteWriter w;
    win.writeBody(w);
    TSRFWin other;
    other.setWriteSettings(false);
    other.resize(300, 240); // the view's height follows the window's
    ByteReader r(w.data());
    CommonHeader h;
    ASSERT_EQ(other.readBody(r, h), 0);
    EXPECT_EQ(other.generation(), 3);
    EXPECT_EQ(other.currentString(), win.currentString());
    EXPECT_NEAR(static_cast<double>(other.data().rotation), -std::atan(0.2 * std::sqrt(3.0)), 1e-15);
    EXPECT_EQ(other.boundingBox().left, win.boundingBox().left); // the same turned vectors
    EXPECT_EQ(other.boundingBox().up, win.boundingBox().up);
    ByteWriter again;
    other.writeBody(again);
    ASSERT_EQ(again.data().size(), w.data().size());
    for (size_t i = 0; i < w.data().size(); ++i)
        ASSERT_EQ(again.data()[i], w.data()[i]) << i;
    for (size_t n = 0; n < w.data().size(); n += 97) {
        ByteReader cut(w.data().data(), n);
        TSRFWin third;
        third.setWriteSettings(false);
        EXPECT_NE(third.readBody(cut, h), 0) << n;
        EXPECT_EQ(third.generation(), 0);
    }
}

// ---- The dimension tool.

#include "graphics/export/bmp_writer.h"
#include "tools/curves/tbmpwin.h"

#include <cstdio>
#include <filesystem>

namespace {

// A picture `w` x `h` on white, with the pixels `ink` says black.
template <typename Ink>
Image picture(int w, int h, Ink ink)
{
    Image p(w, h, 0xFFFFFF);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            if (ink(c, r))
                p.set(c, r, 0);
    return p;
}

} // namespace

TEST(DimensionWindow, CountsLinesAndAreasOfPictures)
{
    FakeHost host;
    TBMPWin win;
    win.setWriteSettings(false);
    win.attach(host);
    win.resize(300, 300);
    // An empty picture (all pixels as (3, 3)) aborts at the first step.
    win.setBitmap(Image(256, 256, 0xFFFFFF), "empty");
    ASSERT_TRUE(win.startBoxCount());
    win.finishSideJob();
    EXPECT_TRUE(win.lastReport().aborted);
    EXPECT_TRUE(host.textWindows.empty()); // too short a report to show

    // A filled square (all but the background pixel (3, 3)): boxes of 1024 .. 1
    // pixels, every one hit but one, dimension 2.
    win.setBitmap(picture(1024, 1024, [](int c, int r) { return c != 3 || r != 3; }), "square");
    ASSERT_TRUE(win.startBoxCount());
    win.finishSideJob();
    EXPECT_EQ(win.lastReport().lastStep, 10);
    EXPECT_NEAR(static_cast<double>(win.lastReport().dimension), 2.0, 0.001);
    // A disc smaller than the grids: a little less.
    win.setBitmap(picture(600, 500, [](int c, int r) { return (c - 300) * (c - 300) + (r - 250) * (r - 250) < 200 * 200; }),
                  "disc");
    ASSERT_TRUE(win.startBoxCount());
    win.finishSideJob();
    EXPECT_EQ(win.lastReport().lastStep, 10);
    EXPECT_GT(win.lastReport().dimension, 1.8L);
    EXPECT_LT(win.lastReport().dimension, 2.0L);
    EXPECT_NE(win.lastReport().text.find("\n1024      1         1"), std::string::npos) << win.lastReport().text;
    ASSERT_FALSE(host.textWindows.empty());
    EXPECT_EQ(host.textWindows.back().first, "dimension.txt");
    // A diagonal line one pixel wide (off the background pixel): near 1.
    win.setBitmap(picture(700, 700, [](int c, int r) { return c == r + 10; }), "line");
    ASSERT_TRUE(win.startBoxCount());
    win.finishSideJob();
    EXPECT_NEAR(static_cast<double>(win.lastReport().dimension), 1.0, 0.15); // the coarse grids see less of it

    // A bitmap file, read through the host; the title names it and its size.
    const std::string path = (std::filesystem::temp_directory_path() / "qx_dim_test.bmp").string();
    const Image p = picture(40, 30, [](int c, int) { return c == 20; });
    ASSERT_EQ(writeBmp(path, {p.width, p.height, p.pixels.data()}), 0);
    ASSERT_EQ(win.loadFile(path), 0);
    EXPECT_EQ(win.bitmap().width, 40);
    host.currentTitle.clear();
    win.restoreTitle();
    EXPECT_EQ(host.currentTitle, "qx_dim_test.bmp [40x30]");
    EXPECT_EQ(win.setBackgroundColour(61), ErrOutOfBounds);
    EXPECT_EQ(win.setGridlineColour(-1), ErrOutOfBounds);
    ASSERT_EQ(win.setBackgroundColour(0), 0);
    EXPECT_EQ(win.loadFile(path + ".missing"), 11);
    EXPECT_EQ(win.bitmap().width, 40); // nothing changed
    std::remove(path.c_str());
    paintAndFinish(win);
    EXPECT_EQ(win.figureImage().at(20, 5), 0u); // the picture at its pixels
    EXPECT_EQ(win.figureImage().at(21, 5), 0xFFFFFFu);
}

// Known dimensions as truths, each with the tolerance the finite grids allow:
// the fit runs over 4 .. 1024 boxes per side, so a curve whose segments are
// longer than the finest boxes looks a little straighter there.
TEST(KnownDimensions, KochDragonAndSierpinski)
{
    FakeHost host;
    TSRFWin srf;
    srf.setWriteSettings(false);
    srf.attach(host);
    srf.resize(300, 300);
    const auto countAt = [&](int preset, int generation) {
        EXPECT_TRUE(srf.applyPreset(preset));
        for (int g = 0; g < generation; ++g) {
            EXPECT_TRUE(srf.next());
            srf.finishSideJob();
        }
        EXPECT_TRUE(srf.startBoxCount());
        srf.finishSideJob();
        return static_cast<double>(srf.lastReport().dimension);
    };
    // The von Koch island at generation 7: segments 1/2187 of the side, near
    // the finest boxes; log 4 / log 3 = 1.2619 within 0.03.
    EXPECT_NEAR(countAt(kVonKochPreset, 7), std::log(4.0) / std::log(3.0), 0.03);
    // The dragon fills a region as the generations go on: towards 2.
    const double d16 = countAt(574, 16), d18 = countAt(574, 18);
    EXPECT_GT(d18, d16);
    EXPECT_GT(d18, 1.7);
    EXPECT_LT(d18, 2.0);

    // A Sierpinski triangle of pixels (ink where col & row == 0): at boxes of
    // 2^(10-k) pixels exactly 3^k are hit, so the fit gives log 3 / log 2.
    TBMPWin bmp;
    bmp.setWriteSettings(false);
    bmp.attach(host);
    bmp.setBitmap(picture(1024, 1024, [](int c, int r) { return (c & r) == 0; }), "sierpinski");
    ASSERT_TRUE(bmp.startBoxCount());
    bmp.finishSideJob();
    EXPECT_NEAR(static_cast<double>(bmp.lastReport().dimension), std::log(3.0) / std::log(2.0), 1e-9);
}
