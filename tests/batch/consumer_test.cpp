// What quorvex-batch exports, read by the programs that consume it: SVG pages
// rendered by rsvg-convert and metafiles converted by emf2svg-conv light the
// pixels the screen picture lights (within one pixel); a metafile of a pixel
// picture holds exactly that picture; every tool's metafile converts.
#include "graphics/png_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace qx;

namespace {

std::string tempFile(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("qx_consumer_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

int run(const std::string& cmd)
{
    const int status = std::system((cmd + " > /dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runBatch(const std::string& args) { return run(std::string(QX_BATCH_EXE) + " " + args); }

bool have(const char* program) { return run(std::string(program) + " --version") == 0; }

Image readPng(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Image img;
    EXPECT_EQ(decodePng(bytes, img), 0) << path;
    return img;
}

// The page as its consumers draw it: SVG through rsvg-convert, EMF through
// emf2svg-conv and then rsvg-convert. Empty when a step fails.
Image consumed(const std::string& file)
{
    std::string svg = file;
    if (file.ends_with(".emf")) {
        svg = file + ".svg";
        if (run("emf2svg-conv -i " + file + " -o " + svg) != 0) {
            ADD_FAILURE() << "emf2svg-conv refused " << file;
            return {};
        }
    }
    const std::string png = file + ".png";
    if (run("rsvg-convert -b black -o " + png + " " + svg) != 0) {
        ADD_FAILURE() << "rsvg-convert refused " << svg;
        return {};
    }
    Image img = readPng(png);
    std::remove(png.c_str());
    if (svg != file)
        std::remove(svg.c_str());
    return img;
}

// Lit: clearly apart from the black background (smoothed edges are faint).
bool lit(const Image& img, int x, int y)
{
    const Rgb c = img.at(x, y);
    return std::max({c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}) > 60;
}

bool litNear(const Image& img, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.contains(x + dx, y + dy) && lit(img, x + dx, y + dy))
                return true;
    return false;
}

// Pixels lit in one picture with no lit pixel of the other within one pixel.
struct Mismatch {
    int screenLit = 0, missingOnPage = 0, missingOnScreen = 0;
};

Mismatch compareLit(const Image& screen, const Image& page)
{
    Mismatch m;
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x) {
            if (lit(screen, x, y)) {
                ++m.screenLit;
                m.missingOnPage += !litNear(page, x, y);
            }
            if (lit(page, x, y))
                m.missingOnScreen += !litNear(screen, x, y);
        }
    return m;
}

} // namespace

TEST(ExportConsumers, SvgAndMetafilePagesLightWhatTheScreenLights)
{
    if (!have("rsvg-convert") || !have("emf2svg-conv"))
        GTEST_SKIP() << "rsvg-convert or emf2svg-conv is not installed";
    // Vector pictures without text (fonts differ from reader to reader).
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"dragon", "--tool srf --example dragon --generation 10"},
        {"cobweb", "--tool web --example logistic --seed 0.2 --steps 40"},
        {"bifurcation", "--tool bif --default 0 --plotted 20 --seed 0.3"},
    };
    for (const auto& [name, args] : cases) {
        const std::string common = " " + args + " --size 240x180 -o ";
        const std::string png = tempFile(name + ".png"), svg = tempFile(name + ".svg"), emf = tempFile(name + ".emf");
        ASSERT_EQ(runBatch("render" + common + png), 0) << name;
        ASSERT_EQ(runBatch("export --format svg" + common + svg), 0) << name;
        ASSERT_EQ(runBatch("export --format emf" + common + emf), 0) << name;
        const Image screen = readPng(png);
        for (const std::string& file : {svg, emf}) {
            const Image page = consumed(file);
            ASSERT_EQ(page.width, screen.width) << file;
            ASSERT_EQ(page.height, screen.height) << file;
            const Mismatch m = compareLit(screen, page);
            EXPECT_GT(m.screenLit, 200) << file;
            EXPECT_EQ(m.missingOnPage, 0) << file;
            EXPECT_EQ(m.missingOnScreen, 0) << file;
        }
        for (const std::string& f : {png, svg, emf})
            std::remove(f.c_str());
    }
}

TEST(ExportConsumers, AMetafileOfPixelsHoldsThePictureExactly)
{
    if (!have("rsvg-convert") || !have("emf2svg-conv"))
        GTEST_SKIP() << "rsvg-convert or emf2svg-conv is not installed";
    for (const std::string args :
         {"--tool mandel", "--tool julia --c -0.12,0.75", "--tool ppr --example 0", "--tool dyc --example 1", "--tool lya"}) {
        const std::string png = tempFile("pixels.png"), emf = tempFile("pixels.emf");
        ASSERT_EQ(runBatch("render " + args + " --size 160x120 -o " + png), 0) << args;
        ASSERT_EQ(runBatch("export --format emf " + args + " --size 160x120 -o " + emf), 0) << args;
        const Image page = consumed(emf), screen = readPng(png);
        ASSERT_EQ(page.width, screen.width) << args;
        ASSERT_EQ(page.height, screen.height) << args;
        int differing = 0;
        for (int y = 0; y < screen.height; ++y)
            for (int x = 0; x < screen.width; ++x)
                differing += page.at(x, y) != screen.at(x, y);
        EXPECT_EQ(differing, 0) << args;
        std::remove(png.c_str());
        std::remove(emf.c_str());
    }
}

// Every registered tool writes a metafile its reader converts; the dimension
// window measures a bitmap the bifurcation tool wrote first. Five pages are
// numbered 0 to 4 and listed without their extension.
TEST(ExportConsumers, EveryToolWritesMetafilesAndPages)
{
    if (!have("emf2svg-conv"))
        GTEST_SKIP() << "emf2svg-conv is not installed";
    const std::string bmp = tempFile("picture.bmp");
    ASSERT_EQ(runBatch("export --format bmp --tool bif --size 120x90 -o " + bmp), 0);
    for (const std::string tool :
         {"mandel", "julia", "ppc", "ppr", "lya", "dyc", "dyr", "web", "ifc", "ifr", "bif", "srf", "dim"}) {
        const std::string emf = tempFile(tool + ".emf"), svg = emf + ".svg";
        const std::string input = tool == "dim" ? " --image " + bmp : "";
        ASSERT_EQ(runBatch("export --format emf --tool " + tool + input + " --size 120x90 -o " + emf), 0) << tool;
        EXPECT_EQ(run("emf2svg-conv -i " + emf + " -o " + svg), 0) << tool;
        EXPECT_GT(std::filesystem::file_size(svg), 200u) << tool;
        std::remove(emf.c_str());
        std::remove(svg.c_str());
    }
    std::remove(bmp.c_str());

    const std::string base = tempFile("frames");
    ASSERT_EQ(runBatch("export --format emf --tool web --example mandelbrot --map \"xx+a\" --size 120x90 --pages 5 "
                       "--directive A -o " + base + ".emf"),
              0);
    std::ifstream list(base + "ANIM.txt", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(list), std::istreambuf_iterator<char>()};
    const std::string name = base.substr(base.find_last_of('/') + 1);
    EXPECT_EQ(text, name + "0\r\n" + name + "1\r\n" + name + "2\r\n" + name + "3\r\n" + name + "4\r\n");
    for (int page = 0; page < 5; ++page) {
        const std::string f = base + std::to_string(page) + ".emf";
        EXPECT_EQ(run("emf2svg-conv -i " + f + " -o " + f + ".svg"), 0) << f;
        std::remove(f.c_str());
        std::remove((f + ".svg").c_str());
    }
    std::remove((base + "ANIM.txt").c_str());
}

// Three PiCTeX pages of a web, one step more each, and their ANIM.tex: LaTeX
// with PiCTeX and the animate package makes one animated figure of them.
TEST(ExportConsumers, LatexAnimatesThePictexPages)
{
    if (run("kpsewhich animate.sty") != 0 || !have("pdflatex"))
        GTEST_SKIP() << "LaTeX or the animate package is not installed";
    const auto dir = std::filesystem::temp_directory_path() / ("qx_anim_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ASSERT_EQ(runBatch("export --format tex --tool web --example logistic --seed 0.2 --steps 5 --pages 3 "
                       "--directive \"\\reps\" -o " + (dir / "web.tex").string()),
              0);
    std::ifstream list(dir / "webANIM.tex");
    const std::string anim{std::istreambuf_iterator<char>(list), std::istreambuf_iterator<char>()};
    EXPECT_NE(anim.find("\\input{web2}"), std::string::npos) << anim;
    std::ofstream(dir / "doc.tex") << "\\documentclass{article}\n\\usepackage{pictex}\n\\usepackage{animate}\n"
                                      "\\begin{document}\n\\input{webANIM.tex}\n\\end{document}\n";
    EXPECT_EQ(run("cd " + dir.string() + " && pdflatex -interaction=nonstopmode doc.tex"), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "doc.pdf"));
    std::filesystem::remove_all(dir);
}
