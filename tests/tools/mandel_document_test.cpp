// Mandelbrot and Julia documents: round trips, refusals that leave the
// window as it was, conversion of old versions, and safe saving.
#include "model/colour_presets.h"
#include "base/file_io.h"
#include "model/frame_settings.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/resource.h>

namespace qx {
namespace {

namespace fs = std::filesystem;

class DocumentFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("qx_doc_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    fs::path dir_;
};

// A Mandelbrot window with every stored field away from its default.
void customise(TManWin& w)
{
    MJParamTexts t = paramTexts(w.params());
    t.threshold = "9";
    t.maxReps = "777@1";
    t.thickness = "1.5";
    t.mode = DisplayMode::Dem;
    ASSERT_EQ(w.applySettings(t), 0);
    ASSERT_EQ(w.applyDegree("3"), 0);
    ASSERT_TRUE(w.setView(-0.75L, 0.125L, 0.0625L));
    w.paletteChange();
    w.addSlide();
}

std::vector<uint8_t> bytesOf(const std::string& p)
{
    std::vector<uint8_t> b;
    EXPECT_TRUE(readWholeFile(p, b));
    return b;
}

TEST_F(DocumentFiles, MandelbrotDocumentRoundTripsByteForByte)
{
    TManWin a;
    customise(a);
    ASSERT_EQ(a.writeDocument(path("a.man")), 0);
    EXPECT_EQ(a.documentName(), path("a.man"));
    EXPECT_FALSE(a.documentChanged());
    TManWin b;
    ASSERT_EQ(b.readDocument(path("a.man")), 0);
    EXPECT_EQ(b.view().centerX, -0.75L);
    EXPECT_EQ(b.view().centerY, 0.125L);
    EXPECT_EQ(b.view().halfWidth, 0.0625L);
    EXPECT_EQ(b.maxReps(), 777);
    EXPECT_TRUE(b.antiAlias());
    EXPECT_EQ(b.degree(), 3);
    EXPECT_EQ(b.params().threshold, 9);
    EXPECT_EQ(b.params().demThickness, 1.5L);
    EXPECT_EQ(b.params().mode, DisplayMode::Dem);
    EXPECT_EQ(b.sequence(0), a.sequence(0));
    ASSERT_EQ(b.slides().size(), 1u);
    EXPECT_EQ(b.slides()[0].halfWidth, 0.0625L);
    ASSERT_EQ(b.writeDocument(path("b.man")), 0);
    EXPECT_EQ(bytesOf(path("a.man")), bytesOf(path("b.man")));
}

TEST_F(DocumentFiles, JuliaDocumentKeepsItsParameterAndKind)
{
    TJulWin a;
    a.setParameter({-0.123L, 0.745L});
    ASSERT_EQ(a.writeDocument(path("a.jul")), 0);
    const auto bytes = bytesOf(path("a.jul"));
    EXPECT_EQ(bytes[0] | (bytes[1] << 8), 961);
    TJulWin b;
    ASSERT_EQ(b.readDocument(path("a.jul")), 0);
    EXPECT_EQ(b.parameter(), (Complex{-0.123L, 0.745L}));
    ASSERT_EQ(b.writeDocument(path("b.jul")), 0);
    EXPECT_EQ(bytesOf(path("b.jul")), bytes);
}

TEST_F(DocumentFiles, JuliaFileInAMandelbrotWindowIsRefused)
{
    TJulWin j;
    ASSERT_EQ(j.writeDocument(path("a.jul")), 0);
    TManWin m;
    customise(m);
    const MJDocument before = m.captureDocument();
    EXPECT_EQ(m.readDocument(path("a.jul")), 8);
    EXPECT_EQ(encodeMJDocument(m.captureDocument()), encodeMJDocument(before));
    EXPECT_EQ(m.documentName(), "");
}

TEST_F(DocumentFiles, VersionZeroAndNewerVersionsAreRefused)
{
    TManWin a;
    auto bytes = encodeMJDocument(a.captureDocument());
    for (int32_t v : {0, 14, -1}) {
        auto b = bytes;
        b[4] = static_cast<uint8_t>(v & 0xFF);
        b[5] = b[6] = b[7] = static_cast<uint8_t>(v < 0 ? 0xFF : 0);
        MJDocument d;
        EXPECT_EQ(decodeMJDocument(b, kMandelKind, d), 11) << v;
    }
    EXPECT_EQ(a.readDocument(path("missing.man")), 11);
}

TEST_F(DocumentFiles, EveryTruncationIsRefusedAndChangesNothing)
{
    TManWin a;
    customise(a);
    const auto bytes = encodeMJDocument(a.captureDocument());
    TManWin b;
    const auto before = encodeMJDocument(b.captureDocument());
    for (size_t n = 0; n < bytes.size(); n += (n < 1200 ? 1 : 7)) {
        MJDocument d = b.captureDocument();
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        const int e = decodeMJDocument(cut, kMandelKind, d);
        ASSERT_NE(e, 0) << n;
        ASSERT_EQ(encodeMJDocument(d), before) << n;
    }
}

TEST_F(DocumentFiles, ExtraBytesAndHugeCountsAreRefused)
{
    TManWin a;
    MJDocument plain = a.captureDocument();
    plain.overlays.reset(); // no further sections: the seed texts end the file
    auto bytes = encodeMJDocument(plain);
    MJDocument d;
    auto longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(decodeMJDocument(longer, kMandelKind, d), 6);
    // The slide count sits right after the colour tables: 10 seed texts before the end.
    const size_t slideCount = bytes.size() - kSeedTexts * kSeedTextBytes - 4;
    auto many = bytes;
    many[slideCount + 3] = 0x7F;
    EXPECT_EQ(decodeMJDocument(many, kMandelKind, d), 6);
    many = bytes;
    many[slideCount] = 1; // one slide announced, none stored
    EXPECT_EQ(decodeMJDocument(many, kMandelKind, d), 6);
    longer.resize(kMaxDocumentBytes + 1);
    ASSERT_TRUE(writeFileAtomically(path("big.man"), longer));
    EXPECT_EQ(a.readDocument(path("big.man")), 11);
}

TEST_F(DocumentFiles, GridLabelsAndMarksSurviveSaveAndOpen)
{
    TManWin a;
    GridSettings g = a.grid();
    g.axesOn = true;
    g.quadrants = {true, false, true, false};
    g.x.tickInterval = 0.25L;
    g.y.places = 3;
    g.dotted = true;
    g.letters = false;
    g.arrows = true; // shares the letters' byte
    ASSERT_EQ(a.applyGridSettings(g, gridTexts(g)), 0);
    ASSERT_EQ(a.addLabel({{0.5L, -0.25L}, "period 3", {}}), 0);
    a.addMark({-1, 0.5L});
    ASSERT_EQ(a.writeDocument(path("g.man")), 0);
    TManWin b;
    ASSERT_EQ(b.readDocument(path("g.man")), 0);
    EXPECT_EQ(b.grid(), g);
    ASSERT_EQ(b.labels().size(), 1u);
    EXPECT_EQ(b.labels()[0].text, "period 3");
    EXPECT_EQ(b.labels()[0].anchor.y, -0.25L);
    ASSERT_EQ(b.marks().size(), 1u);
    EXPECT_EQ(b.marks()[0].x, -1);
    // Write, read, write: the same bytes.
    ASSERT_EQ(b.writeDocument(path("g2.man")), 0);
    std::vector<uint8_t> first, second;
    ASSERT_TRUE(readWholeFile(path("g.man"), first));
    ASSERT_TRUE(readWholeFile(path("g2.man"), second));
    EXPECT_EQ(first, second);
    // A damaged section refuses the document and the window stays.
    auto bad = first;
    bad[bad.size() - 32] = 0xFF; // the mark size: kind, big, then size, colour, count, one mark
    ASSERT_TRUE(writeFileAtomically(path("bad.man"), bad));
    TManWin c;
    const auto before = encodeMJDocument(c.captureDocument());
    EXPECT_EQ(c.readDocument(path("bad.man")), 6);
    EXPECT_EQ(encodeMJDocument(c.captureDocument()), before);
    // Sections of other writers are skipped.
    auto foreign = first;
    const auto at = std::search(foreign.begin(), foreign.end(), std::begin("QXOV"), std::begin("QXOV") + 4);
    ASSERT_NE(at, foreign.end());
    std::fill(at, at + 4, 'Z');
    ASSERT_TRUE(writeFileAtomically(path("other.man"), foreign));
    EXPECT_EQ(c.readDocument(path("other.man")), 0);
    EXPECT_TRUE(c.labels().empty());
}

TEST_F(DocumentFiles, OutOfRangeValuesAreRefusedByTheWindow)
{
    TManWin a;
    MJDocument d = a.captureDocument();
    const auto before = encodeMJDocument(d);
    MJDocument bad = d;
    bad.ints[DocIntDegree] = 11;
    EXPECT_EQ(a.applyDocument(bad), 6);
    bad = d;
    bad.ints[DocIntMode] = static_cast<int16_t>(DisplayMode::Iim); // no IIM in a Mandelbrot window
    EXPECT_EQ(a.applyDocument(bad), 6);
    bad = d;
    bad.reals[DocRealHalfWidth] = -1;
    EXPECT_EQ(a.applyDocument(bad), 6);
    bad = d;
    bad.reals[DocRealMaxReps] = 0;
    EXPECT_EQ(a.applyDocument(bad), 6);
    bad = d;
    bad.header.specialSlots[8] = 61; // the window's header check refuses it
    ASSERT_TRUE(writeFileAtomically(path("slots.man"), encodeMJDocument(bad)));
    EXPECT_EQ(a.readDocument(path("slots.man")), 6);
    EXPECT_EQ(encodeMJDocument(a.captureDocument()), before);
}

TEST_F(DocumentFiles, RandomBytesGiveACodeAndTheWindowStays)
{
    std::mt19937 random(7);
    TManWin a;
    const auto before = encodeMJDocument(a.captureDocument());
    auto bytes = before;
    for (int trial = 0; trial < 200; ++trial) {
        auto b = bytes;
        for (int k = 0; k < 4; ++k)
            b[1102 + random() % (b.size() - 1102)] = static_cast<uint8_t>(random());
        ASSERT_TRUE(writeFileAtomically(path("r.man"), b));
        if (a.readDocument(path("r.man")) != 0)
            ASSERT_EQ(encodeMJDocument(a.captureDocument()), before);
        else
            ASSERT_EQ(a.applyDocument(MJDocument{a.captureDocument()}), 0);
        MJDocument fresh;
        ASSERT_EQ(decodeMJDocument(before, kMandelKind, fresh), 0);
        ASSERT_EQ(a.applyDocument(fresh), 0);
    }
}

// A version-9 file: maximum reps sits in int16 1, anti-aliasing is not read.
TEST_F(DocumentFiles, VersionNineTakesMaximumRepsFromTheIntegerItem)
{
    TManWin a;
    MJDocument d = a.captureDocument();
    d.ints[DocIntOldMaxReps] = 1234;
    d.ints[DocIntAntiAlias] = 1;
    d.reals[DocRealMaxReps] = 55;
    auto b = encodeMJDocument(d);
    b[4] = 9;
    MJDocument back;
    ASSERT_EQ(decodeMJDocument(b, kMandelKind, back), 0);
    EXPECT_EQ(back.reals[DocRealMaxReps], 1234);
    EXPECT_EQ(back.ints[DocIntAntiAlias], 0);
    ASSERT_EQ(a.applyDocument(back), 0);
    EXPECT_EQ(a.maxReps(), 1234);
    EXPECT_FALSE(a.antiAlias());
}

// Hand-built version 3: one formula, skipped records around the
// placements, old colour tables, modes shifted by two.
std::vector<uint8_t> versionThree(int16_t mode)
{
    ByteWriter w;
    CommonHeader h;
    h.kind = kMandelKind;
    h.version = 3;
    h.palette = defaultPalette();
    h.specialSlots[6] = 4;  // first binary colour: blue
    h.specialSlots[7] = 11; // second: cyan-ish 0xFFFF00
    writeCommonHeader(w, h);
    std::array<int16_t, 20> ints{15, 321, 2, 122, 100, 0, 0, 10, mode, 0, 0, 1, 0, 7, 1, 0, 0, 0, 0, 0};
    for (int16_t v : ints) w.i16(v);
    const uint8_t flags[10] = {0, 1, 0, 0, 1, 0, 1, 1, 1, 1};
    w.bytes(flags, 10);
    const Real reals[20] = {-0.5L, 0, 2, 0.6L, 4, 0, 0, 10, 5, 6, 0, 0, 1, 0, 1.1L, 1000, 99, 0, 0, 0};
    for (Real v : reals) w.real(v);
    for (int i = 0; i < 54; ++i) w.real(0);
    w.fixedText("0.5cis(t)", 256);
    const std::array<uint8_t, 34> junk{};
    w.bytes(junk.data(), 34);
    writePlacement(w, {1, 2, 3, 4, false});
    writePlacement(w, {5, 6, 7, 8, false});
    w.bytes(junk.data(), 34);
    for (int i = 0; i < 113; ++i) w.i16(static_cast<int16_t>(i % 61));
    for (int i = 0; i < 113; ++i) w.i16(7);
    w.i32(0); // empty slide list
    return w.take();
}

TEST_F(DocumentFiles, VersionThreeIsConverted)
{
    MJDocument d;
    ASSERT_EQ(decodeMJDocument(versionThree(3), kMandelKind, d), 0);
    EXPECT_EQ(d.ints[DocIntMode], 1);        // 3 - 2
    EXPECT_EQ(d.ints[DocIntBinaryCount], 2);
    EXPECT_EQ(d.ints[DocIntAntiAlias], 0);
    EXPECT_EQ(d.reals[DocRealMaxReps], 321);
    EXPECT_EQ(d.reals[DocRealDilation1], 0);
    EXPECT_EQ(d.reals[DocRealDilation2], 1);
    EXPECT_EQ(d.zoomFormula, "0.5cis(t)");
    EXPECT_EQ(d.secondFormula, "0.0;0.0");
    EXPECT_EQ(d.zoomPlacement, (WindowPlacement{1, 2, 3, 4, false}));
    EXPECT_EQ(d.popupPlacement, (WindowPlacement{5, 6, 7, 8, false}));
    ASSERT_EQ(d.sequences.size(), 1u);
    EXPECT_EQ(d.sequences[0].steps, 1);
    ASSERT_EQ(d.sequences[0].anchors.size(), 113u);
    EXPECT_EQ(d.sequences[0].anchors[4], 0x0000FFu);
    EXPECT_EQ(d.sequences[0].grayAnchors[0], 180);
    EXPECT_EQ(d.sequences[0].binary[0], 0x0000FFu);
    EXPECT_EQ(d.sequences[0].binary[1], 0xFFFF00u);
    EXPECT_EQ(d.header.version, 13);
    MJDocument low;
    ASSERT_EQ(decodeMJDocument(versionThree(1), kMandelKind, low), 0);
    EXPECT_EQ(low.ints[DocIntMode], 0);
    TManWin w;
    ASSERT_EQ(w.applyDocument(d), 0);
    EXPECT_EQ(w.maxReps(), 321);
    EXPECT_EQ(w.params().mode, DisplayMode::Dem);
    EXPECT_EQ(w.params().binaryCount, 2);
}

TEST_F(DocumentFiles, FailedSaveLeavesThePreviousDocument)
{
    TManWin a;
    ASSERT_EQ(a.writeDocument(path("keep.man")), 0);
    const auto old = bytesOf(path("keep.man"));
    customise(a);
    a.setDocumentChanged(true);
    // The write stops part-way: files may not grow beyond 2000 bytes.
    struct rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 2000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const int e = a.writeDocument(path("keep.man"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(e, 12); // "cannot save file"
    EXPECT_TRUE(a.documentChanged());
    EXPECT_EQ(bytesOf(path("keep.man")), old);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) (void)entry, ++files;
    EXPECT_EQ(files, 1); // no temporary file left behind
}

} // namespace
} // namespace qx
