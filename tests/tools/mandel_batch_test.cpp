// The render command of quorvex-batch, run as a program.
#include "model/fake_host.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include "support/run_batch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

using namespace qx;

namespace {

std::string tempFile(const std::string& name) { return "/tmp/qx_render_" + name; }

using test::runBatch;

bool exists(const std::string& path) { return std::ifstream(path).good(); }

// Pixels (0x00BBGGRR, top row first) of a 24-bit bottom-up BMP.
Image readBmp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (b.size() < 54)
        return {};
    const int w = b[18] | (b[19] << 8), h = b[22] | (b[23] << 8);
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t(3);
    Image img(w, h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            const uint8_t* p = b.data() + 54 + (h - 1 - r) * stride + 3 * c;
            img.set(c, r, makeRgb(p[2], p[1], p[0]));
        }
    return img;
}

// The picture a window model shows at a size, after the host's paint.
Image windowPicture(TMJ0Win& win, int w, int h)
{
    FakeHost host;
    win.attach(host);
    win.resize(w, h);
    paintAndFinish(win);
    return win.picture();
}

} // namespace

TEST(BatchRender, DefaultMandelbrotIsTheWindowsPicture)
{
    const std::string path = tempFile("mandel.bmp");
    std::remove(path.c_str());
    ASSERT_EQ(runBatch("render --tool mandel --size 96x64 --threads 2 -o " + path), 0);
    TManWin win;
    EXPECT_EQ(readBmp(path), windowPicture(win, 96, 64));
    std::remove(path.c_str());
}

// --guess: the inexact preview mode, asked for by name only. It agrees with
// the exact picture on nearly every pixel of the default view, gives the
// same picture on any number of threads, and export never takes it.
TEST(BatchRender, GuessingIsAnOptInPreviewCloseToTheExactPicture)
{
    const std::string exact = tempFile("exact.bmp"), guess1 = tempFile("guess1.bmp"), guess2 = tempFile("guess2.bmp");
    ASSERT_EQ(runBatch("render --tool mandel --size 320x240 --threads 1 -o " + exact), 0);
    ASSERT_EQ(runBatch("render --tool mandel --size 320x240 --threads 1 --guess -o " + guess1), 0);
    ASSERT_EQ(runBatch("render --tool mandel --size 320x240 --threads 2 --guess -o " + guess2), 0);
    const Image a = readBmp(exact), b = readBmp(guess1);
    ASSERT_EQ(a.pixels.size(), b.pixels.size());
    size_t differ = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        differ += a.pixels[i] != b.pixels[i];
    EXPECT_LT(differ, a.pixels.size() / 200);
    EXPECT_EQ(readBmp(guess2), b);
    EXPECT_EQ(runBatch("export --tool mandel --format eps --guess -o " + tempFile("g.eps")), 2);
    std::string help;
    ASSERT_EQ(runBatch("render --help", &help), 0);
    EXPECT_NE(help.find("--guess"), std::string::npos);
    EXPECT_NE(help.find("INEXACT"), std::string::npos);
    for (const std::string& f : {exact, guess1, guess2})
        std::remove(f.c_str());
}

TEST(BatchRender, JuliaOptionsReachTheWindow)
{
    const std::string path = tempFile("julia.bmp");
    ASSERT_EQ(runBatch("render --tool julia --c -0.75,0 --size 80x60 --centre 0.1,0.2 --width 1.5 "
                       "--degree 3 --reps 150 --mode binary -o " + path),
              0);
    TJulWin win([](uint32_t) { return 0u; });
    win.setParameter({-0.75L, 0});
    win.setView(0.1L, 0.2L, 1.5L);
    ASSERT_EQ(win.applyDegree("3"), 0);
    FakeHost host;
    win.attach(host);
    ASSERT_EQ(win.applySettings({"4", "150", "0.6", DisplayMode::Binary}), 0);
    EXPECT_EQ(win.params().threshold, 100);
    EXPECT_EQ(readBmp(path), windowPicture(win, 80, 60));
    std::remove(path.c_str());
}

TEST(BatchRender, PngOutputIsReadable)
{
    const std::string path = tempFile("small.png");
    ASSERT_EQ(runBatch("render --tool mandel --size 40x30 --mode dem -o " + path), 0);
    std::ifstream in(path, std::ios::binary);
    char sig[8] = {};
    in.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");
    std::remove(path.c_str());
}

TEST(BatchRender, BadOptionsAreRefusedWithoutOutput)
{
    const std::string path = tempFile("refused.png");
    std::remove(path.c_str());
    for (const char* bad : {"--tool mandel --degree 11", "--tool mandel --mode iim", "--tool fractal",
                            "--tool mandel --reps 1@1", "--tool mandel --threshold 0",
                            "--tool mandel --c 0,1", "--tool julia --c nonsense", "--tool mandel --size 10", "--tool mandel --size 20000x20000", "--tool mandel --size 1x10",
                            "--tool mandel --width -1", "--tool mandel --threads 0", "--tool mandel --bogus 1",
                            "--tool mandel --mode"}) {
        EXPECT_EQ(runBatch(std::string("render ") + bad + " -o " + path), 2) << bad;
        EXPECT_FALSE(exists(path)) << bad;
    }
    EXPECT_EQ(runBatch("render --tool mandel /nonexistent-dir/some.man -o " + path), 1); // unreadable document
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(runBatch("render --tool mandel"), 2);
    EXPECT_EQ(runBatch("render --tool mandel -o " + tempFile("x.gif")), 2);
    EXPECT_EQ(runBatch("render --tool mandel --size 8x8 -o /nonexistent-dir/x.png"), 1);
}

TEST(BatchRender, HelpNamesEveryOption)
{
    std::string text;
    ASSERT_EQ(runBatch("render --help", &text), 0);
    for (const char* opt : {"--tool", "--size", "--centre", "--width", "--c", "--degree", "--reps",
                            "--threshold", "--mode", "--threads", "-o", "Examples"})
        EXPECT_NE(text.find(opt), std::string::npos) << opt;
    ASSERT_EQ(runBatch("--help", &text), 0);
    EXPECT_NE(text.find("render"), std::string::npos);
}

TEST(BatchRender, StopSignalsAndTheTimeLimitLeaveNoFile)
{
    // Points at the cusp of the cardioid creep towards the parabolic point
    // for two billion steps each (exact cycles would end early; these orbits
    // do not settle): the render takes far longer than the test unless
    // something stops it.
    const std::string path = tempFile("stopped.png");
    const std::string slow = std::string(QX_BATCH_EXE) +
                             " render --tool mandel --size 160x120 --reps 2000000000 --centre 0.25,0 "
                             "--width 1e-12 -o " + path;
    std::remove(path.c_str());
    int status = std::system(("timeout --preserve-status -s INT 1 " + slow + " 2>/dev/null").c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 130);
    EXPECT_FALSE(exists(path));
    status = std::system(("timeout --preserve-status -s TERM 1 " + slow + " 2>/dev/null").c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 143);
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(runBatch("render --tool mandel --size 160x120 --reps 2000000000 --centre 0.25,0 --width 1e-12 "
                       "--time-limit 0.3 -o " + path),
              3);
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(runBatch("render --tool mandel --time-limit 0 -o " + path), 2); // a limit must be positive
}
