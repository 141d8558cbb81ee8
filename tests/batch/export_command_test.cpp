// The export command of quorvex-batch, run as a program, with Ghostscript
// reading what it writes.
#include "support/ghostscript.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string tempFile(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("qx_export_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

// Exit status; standard error goes to `err`.
int runBatch(const std::string& args, std::string* err = nullptr)
{
    const std::string errFile = tempFile("stderr.txt");
    const std::string cmd = std::string(QX_BATCH_EXE) + " " + args + " > /dev/null 2> " + errFile;
    const int status = std::system(cmd.c_str());
    std::ifstream in(errFile);
    if (err)
        *err = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(errFile.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int countOf(const std::string& s, const std::string& what)
{
    int n = 0;
    for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + what.size()))
        ++n;
    return n;
}

bool ghostscriptReads(const std::string& eps)
{
    const std::string cmd = "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=nullpage " + eps + " > /dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

} // namespace

TEST(BatchExport, InverseIterationWithOrbitOverlays)
{
    const std::string out = tempFile("rabbit.eps");
    std::string err;
    ASSERT_EQ(runBatch("export --format eps --tool julia --c -0.1225611668766536+0.7448617666197442i --mode iim "
                       "--width 1.6 --size 641x481 --seeds '0.1; 0.3i' --orbit-length 20 -o " + out, &err),
              0)
        << err;
    EXPECT_NE(err.find("EPS file saved"), std::string::npos);
    const std::string eps = fileText(out);
    EXPECT_EQ(eps.rfind("%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 480 360\r\n", 0), 0u);
    EXPECT_EQ(countOf(eps, "% begin circle fill\r\n"), 2000 + 2 * 21); // IIM output limit and two orbits
    EXPECT_TRUE(ghostscriptReads(out));
    std::remove(out.c_str());
}

TEST(BatchExport, DefaultsOfTheWindowsGiveBackgroundOnly)
{
    const std::string out = tempFile("mandel.eps");
    ASSERT_EQ(runBatch("export --format eps --tool mandel --size 200x100 -o " + out), 0);
    const std::string eps = fileText(out);
    EXPECT_NE(eps.find("%%BoundingBox: 0 0 150 75\r\n"), std::string::npos); // 199 * 0.75 = 149.25 rounds up
    EXPECT_EQ(countOf(eps, "newpath\r\n"), 1); // the background rectangle
    EXPECT_EQ(countOf(eps, " arc\r\n"), 0);
    EXPECT_TRUE(ghostscriptReads(out));
    std::remove(out.c_str());
}

TEST(BatchExport, BadInputIsRefusedAndWritesNothing)
{
    const std::string out = tempFile("never.eps");
    std::string err;
    EXPECT_EQ(runBatch("export --tool julia -o " + out, &err), 2);
    EXPECT_NE(err.find("--format eps|bmp|svg|tex|emf is required"), std::string::npos) << err;
    EXPECT_EQ(runBatch("export --format pdf --tool julia -o " + out), 2);
    EXPECT_EQ(runBatch("export --format eps --tool julia -o " + tempFile("never.png"), &err), 2);
    EXPECT_NE(err.find("must end in .eps"), std::string::npos);
    EXPECT_EQ(runBatch("export --format eps --tool julia --seeds junk -o " + out, &err), 2);
    EXPECT_NE(err.find("cannot understand --seeds"), std::string::npos);
    EXPECT_EQ(runBatch("export --format eps --tool mandel --seeds 0.1 -o " + out), 2);
    EXPECT_EQ(runBatch("export --format eps --tool julia --orbit-length 0 -o " + out), 2);
    EXPECT_EQ(runBatch("export --format eps --tool julia --size 1x100 -o " + out), 2);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(BatchExport, ExportsASavedDocument)
{
    const std::string out = tempFile("doc.eps"), doc = tempFile("doc.jul"), png = tempFile("doc.png");
    std::string err;
    EXPECT_EQ(runBatch("export --format eps missing.jul -o " + out, &err), 1);
    EXPECT_NE(err.find("error 11: cannot open file"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(out));

    ASSERT_EQ(runBatch("render --tool julia --c -1 --size 64x48 -o " + png + " --save " + doc, &err), 0) << err;
    ASSERT_EQ(runBatch("export --format eps " + doc + " --mode iim --size 161x121 -o " + out, &err), 0) << err;
    std::ifstream in(out, std::ios::binary);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "%!PS-Adobe-3.0 EPSF-3.0\r");
    std::string second;
    std::getline(in, second);
    EXPECT_EQ(second, "%%BoundingBox: 0 0 120 90\r");
    // A document of the other kind is refused when --tool names one.
    EXPECT_EQ(runBatch("export --format eps " + doc + " --tool mandel -o " + out, &err), 2);
}

TEST(BatchExport, FailedWriteIsReported)
{
    std::string err;
    EXPECT_EQ(runBatch("export --format eps --tool julia -o /nonexistent-dir/x.eps", &err), 1);
    EXPECT_NE(err.find("cannot save file"), std::string::npos);
}

// The vector pictures of the one-dimensional tools, as Ghostscript shows them:
// a cobweb (graph, diagonal and web) and a bifurcation diagram (dots).
TEST(BatchExport, CobwebAndBifurcationDiagramsReadByGhostscript)
{
    for (const std::string& args : {std::string("--tool web --example logistic --seed 0.15 --steps 30 --arrows"),
                                     std::string("--tool bif --default 0 --seed 0.3 --plotted 50")}) {
        const std::string out = tempFile("oned.eps");
        std::string err;
        ASSERT_EQ(runBatch("export --format eps " + args + " --size 321x241 -o " + out, &err), 0) << err;
        const qx::test::Ppm page = qx::test::ghostscript(out, 72);
        ASSERT_GT(page.w, 200) << args;
        int lit = 0;
        for (int y = 0; y < page.h; ++y)
            for (int x = 0; x < page.w; ++x)
                lit += page.lit(x, y);
        EXPECT_GT(lit, 500) << args; // lines or dots over much of the page
        EXPECT_LT(lit, page.w * page.h / 2) << args;
        std::remove(out.c_str());
    }
}

// --plain leaves the figure alone: a bifurcation diagram without its overlay
// curve has fewer lit pixels; a switch takes no value, so the next word is
// the next option.
TEST(BatchExport, PlainLeavesTheFigureAlone)
{
    const std::string full = tempFile("full.eps"), plain = tempFile("plain.eps");
    const std::string common = " --tool bif --default 0 --seed 0.3 --plotted 20 --size 201x151 -o ";
    ASSERT_EQ(runBatch("export --format eps" + common + full), 0);
    ASSERT_EQ(runBatch("export --format eps --plain" + common + plain), 0);
    EXPECT_LT(fileText(plain).size(), fileText(full).size());
    EXPECT_EQ(runBatch("export --format eps --plain on" + common + plain), 1); // "on" is read as a document
    for (const auto& f : {full, plain})
        std::remove(f.c_str());
}

// Bitmap pages: the picture as the window shows it (the Mandelbrot set is the
// same bitmap as `render` writes), and a run of pages animating a letter,
// each page its own picture, listed in ANIM.txt and read by ImageMagick.
TEST(BatchExport, SvgSizeAndItsBounds)
{
    const std::string out = tempFile("sized.svg");
    ASSERT_EQ(runBatch("export --format svg --tool bif --default 0 --plotted 10 --size 200x100 --svg-size 400x300 -o " +
                       out),
              0);
    EXPECT_NE(fileText(out).find("width=\"400\" height=\"300\""), std::string::npos);
    std::remove(out.c_str());
    EXPECT_EQ(runBatch("export --format svg --tool bif --svg-size 5x300 -o " + out), 2); // each side at least 10
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(BatchExport, BitmapPagesOfPictures)
{
    const std::string page = tempFile("mandel.bmp"), rendered = tempFile("rendered.bmp");
    ASSERT_EQ(runBatch("export --format bmp --tool mandel --size 160x120 -o " + page), 0);
    ASSERT_EQ(runBatch("render --tool mandel --size 160x120 -o " + rendered), 0);
    EXPECT_EQ(fileText(page), fileText(rendered));
    const std::string base = tempFile("anim");
    std::string err;
    ASSERT_EQ(runBatch("export --format bmp --tool web --example mandelbrot --map \"xx+a\" --size 120x90 --pages 3 "
                       "--directive A -o " +
                           base + ".bmp",
                       &err),
              0)
        << err;
    const std::string name = base.substr(base.find_last_of('/') + 1);
    EXPECT_EQ(fileText(base + "ANIM.txt"), name + "0\r\n" + name + "1\r\n" + name + "2\r\n");
    EXPECT_TRUE(fileText(base + "0.bmp") != fileText(base + "1.bmp")); // a = -10, then 0: the graph comes into view
    const std::string cmd = "identify " + base + "1.bmp > /dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    for (const std::string& f : {page, rendered, base + "0.bmp", base + "1.bmp", base + "2.bmp", base + "ANIM.txt"})
        std::remove(f.c_str());
}

// The directives each tool knows: \ZOOM pages of a sweeping window zoom by
// the zoom-slide ratio (0.5), \PROM pages of the Mandelbrot window walk the
// slide path (page 0 at 0.5 - 0.25 = 0.25), \REPS pages of a web draw one step
// more each; a directive the tool does not know is refused with "could not find".
TEST(BatchExport, EachToolAnimatesItsOwnDirectives)
{
    const std::string base = tempFile("dir"), view = tempFile("view.bmp");
    ASSERT_EQ(runBatch("export --format bmp --tool mandel --size 80x60 --pages 3 --directive \"\\zoom\" -o " + base +
                       ".bmp"),
              0);
    ASSERT_EQ(runBatch("render --tool mandel --size 80x60 --width 0.35 -o " + view), 0);
    EXPECT_EQ(fileText(base + "2.bmp"), fileText(view)); // 1.4 * 0.5 * 0.5
    ASSERT_EQ(runBatch("export --format bmp --tool mandel --size 80x60 --pages 4 --directive \"\\Prom\" -o " + base +
                       ".bmp"),
              0);
    ASSERT_EQ(runBatch("render --tool mandel --size 80x60 --centre 0.25,0 -o " + view), 0);
    EXPECT_EQ(fileText(base + "0.bmp"), fileText(view));
    EXPECT_NE(fileText(base + "1.bmp"), fileText(base + "0.bmp"));
    ASSERT_EQ(runBatch("export --format svg --tool web --example logistic --seed 0.2 --steps 5 --pages 3 "
                       "--directive \"\\REPS\" -o " + base + ".svg"),
              0);
    EXPECT_EQ(countOf(fileText(base + "1.svg"), "<line") - countOf(fileText(base + "0.svg"), "<line"), 2);
    EXPECT_EQ(countOf(fileText(base + "2.svg"), "<line") - countOf(fileText(base + "1.svg"), "<line"), 2);
    std::string err;
    EXPECT_EQ(runBatch("export --format bmp --tool julia --size 80x60 --pages 2 --directive \"\\prom\" -o " + base +
                           "x.bmp",
                       &err),
              1);
    EXPECT_NE(err.find("could not find"), std::string::npos) << err;
    EXPECT_EQ(runBatch("export --format svg --tool srf --pages 2 --directive \"\\zoom\" -o " + base + "x.svg"), 1);
    EXPECT_FALSE(std::filesystem::exists(base + "x0.bmp"));
    for (const std::string& f : {base + "0.bmp", base + "1.bmp", base + "2.bmp", base + "3.bmp", base + "ANIM.txt",
                                 base + "0.svg", base + "1.svg", base + "2.svg", view})
        std::remove(f.c_str());
}
