// quorvex-batch with documents: render DOCUMENT, --save and info, run as a program.
#include "base/file_io.h"
#include "tools/mandel/tmanwin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace qx {
namespace {

std::string temp(const std::string& name) { return "/tmp/qx_docbatch_" + std::to_string(::getpid()) + name; }

// Exit status; standard output and error both go to `out`.
int runBatch(const std::string& args, std::string* out = nullptr)
{
    const std::string cmd = std::string(QX_BATCH_EXE) + " " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    std::string text;
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, p)) text.append(buf, n);
    const int status = pclose(p);
    if (out) *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<uint8_t> bytesOf(const std::string& path)
{
    std::vector<uint8_t> b;
    readWholeFile(path, b);
    return b;
}

TEST(BatchDocuments, SavedDocumentRendersTheSamePictureAndReportsItsParameters)
{
    const std::string jul = temp("a.jul"), a = temp("a.bmp"), b = temp("b.bmp");
    ASSERT_EQ(runBatch("render --tool julia --c -0.12256,0.74486 --degree 3 --reps 300 --size 64x48 -o " + a +
                       " --save " + jul), 0);
    std::string info;
    ASSERT_EQ(runBatch("info " + jul, &info), 0);
    EXPECT_NE(info.find("kind: julia (961)"), std::string::npos) << info;
    EXPECT_NE(info.find("version: 13"), std::string::npos);
    EXPECT_NE(info.find("c: -0.12256,0.74486"), std::string::npos);
    EXPECT_NE(info.find("degree: 3"), std::string::npos);
    EXPECT_NE(info.find("maximum reps: 300"), std::string::npos);
    ASSERT_EQ(runBatch("render " + jul + " --size 64x48 -o " + b), 0);
    EXPECT_EQ(bytesOf(a), bytesOf(b));
    ASSERT_EQ(runBatch("render " + jul + " --size 64x48 --reps 20 -o " + b), 0);
    EXPECT_NE(bytesOf(a), bytesOf(b)); // the option overrides the document
    for (const auto& f : {jul, a, b}) std::remove(f.c_str());
}

TEST(BatchDocuments, UnreadableDocumentsGiveTheirErrorAndStatusOne)
{
    TManWin w;
    const std::string man = temp("m.man"), cut = temp("cut.man"), png = temp("x.png");
    ASSERT_EQ(w.writeDocument(man), 0);
    auto bytes = bytesOf(man);
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(writeFileAtomically(cut, bytes));
    std::string out;
    EXPECT_EQ(runBatch("info " + cut, &out), 1);
    EXPECT_EQ(out, "error 6: inconsistent data\n");
    EXPECT_EQ(runBatch("render " + cut + " -o " + png, &out), 1);
    EXPECT_EQ(out, "error 6: inconsistent data\n");
    EXPECT_EQ(runBatch("info /nonexistent/x.man", &out), 1);
    EXPECT_EQ(out, "error 11: cannot open file\n");
    EXPECT_EQ(runBatch("render " + man + " -o " + png + " --save " + temp("wrong.jul")), 2);
    EXPECT_EQ(runBatch("render " + man + " --tool julia -o " + png), 2);
    for (const auto& f : {man, cut, png}) std::remove(f.c_str());
}

TEST(BatchDocuments, ToolsComeFromTheRegistry)
{
    std::string out;
    // A damaged document of a tool is refused with its reader's code.
    const std::string dyc = temp("fern.ifc"), png = temp("plane.png");
    ASSERT_TRUE(writeFileAtomically(dyc, std::vector<uint8_t>(64, 7)));
    EXPECT_EQ(runBatch("render " + dyc + " -o " + png, &out), 1);
    EXPECT_NE(out.find("error "), std::string::npos) << out;
    EXPECT_EQ(runBatch("info " + dyc, &out), 1);
    // A file of no tool at all is refused as foreign.
    const std::string txt = temp("notes.txt");
    ASSERT_TRUE(writeFileAtomically(txt, std::vector<uint8_t>{'n', 'o', 't', 'e', 's'}));
    EXPECT_EQ(runBatch("info " + txt, &out), 1);
    EXPECT_EQ(out, "error 8: incompatible versions!\n");
    // Help and an unknown --tool list the registered tools.
    EXPECT_EQ(runBatch("render --tool fractal -o " + png, &out), 2);
    EXPECT_NE(out.find("unknown tool 'fractal'; the tools are mandel, julia, ppc, ppr, lya, dyc, dyr, web, ifc, ifr, bif, srf, dim"), std::string::npos) << out;
    EXPECT_EQ(runBatch("render --help", &out), 0);
    EXPECT_NE(out.find("mandel: Mandelbrot window"), std::string::npos) << out;
    EXPECT_NE(out.find("julia: Julia window"), std::string::npos);
    EXPECT_NE(out.find("Options of julia:"), std::string::npos);
    // An option of another tool names the tool it was given for.
    EXPECT_EQ(runBatch("render --tool mandel --c 0,1 -o " + png, &out), 2);
    EXPECT_NE(out.find("--c does not apply to --tool mandel"), std::string::npos) << out;
    for (const auto& f : {dyc, png, txt}) std::remove(f.c_str());
}

TEST(BatchDocuments, ComplexDynamicPlaneRendersSavesAndDescribes)
{
    std::string out;
    const std::string png = temp("dyc.png"), doc = temp("roots.dyc");
    // A mapping the compiler refuses: the message, exit 1, nothing written.
    EXPECT_EQ(runBatch("render --tool dyc --map \"zz+\" -o " + png, &out), 1);
    EXPECT_EQ(out, "error 6: inconsistent data (--map 'zz+')\n");
    EXPECT_NE(::access(png.c_str(), F_OK), 0);
    EXPECT_EQ(runBatch("render --tool dyc --roots 3 --w 0 -o " + png, &out), 1);
    EXPECT_NE(out.find("error 106"), std::string::npos) << out;
    EXPECT_EQ(runBatch("render --tool dyc --example 12 -o " + png, &out), 2);
    // The n-th roots generator with a method, saved and described.
    ASSERT_EQ(runBatch("render --tool dyc --roots 4 --w 16 --method schroder --size 40x30 --save " + doc + " -o " + png,
                       &out),
              0)
        << out;
    ASSERT_EQ(runBatch("info " + doc, &out), 0) << out;
    EXPECT_NE(out.find("mapping: 4(16)z/(pow(4,z)+3(16))"), std::string::npos) << out;
    EXPECT_NE(out.find("targets: 4"), std::string::npos) << out;
    EXPECT_NE(out.find("target 3: point -0.00000000-2.00000000i, 0.01 (bands)"), std::string::npos) << out;
    // The example's view, then the view options.
    ASSERT_EQ(runBatch("render --tool dyc --example 0 --width 0.5 --size 40x30 --save " + doc + " -o " + png, &out), 0);
    ASSERT_EQ(runBatch("info " + doc, &out), 0);
    EXPECT_NE(out.find("width: 0.5\n"), std::string::npos) << out;
    EXPECT_NE(out.find("centre: 1.875,0"), std::string::npos) << out;
    for (const auto& f : {png, doc}) std::remove(f.c_str());
}

TEST(BatchDocuments, RealAndParameterPlanes)
{
    std::string out;
    const std::string png = temp("plane.png"), doc = temp("family.ppr");
    // Examples by name, the real tools' "f;g", and refusals.
    EXPECT_EQ(runBatch("render --tool ppr --example \"burning ship\" --size 40x30 --save " + doc + " -o " + png, &out), 0)
        << out;
    ASSERT_EQ(runBatch("info " + doc, &out), 0);
    EXPECT_NE(out.find("mapping: xx-yy-a , 2abs(xy)-b"), std::string::npos) << out;
    EXPECT_NE(out.find("kind: ppr"), std::string::npos) << out;
    EXPECT_EQ(runBatch("render --tool dyr --map \"y+1-1.4xx;0.3x\" --size 40x30 -o " + png, &out), 0) << out;
    EXPECT_EQ(runBatch("render --tool dyr --map \"Newton(3-x-yy=0);4+y-xx\" --size 40x30 -o " + png, &out), 1);
    EXPECT_EQ(out, "error 6: inconsistent data (--f 'Newton(3-x-yy=0)', --g '4+y-xx')\n");
    EXPECT_EQ(runBatch("render --tool ppc --map \"Halley(zz-1=0)\" --size 40x30 -o " + png, &out), 1);
    EXPECT_EQ(runBatch("render --tool ppc --example Mandelbrot -o " + png, &out), 2);
    // The Julia child a click would open, rendered instead of the plane.
    EXPECT_EQ(runBatch("render --tool ppc --example \"Double Mandelbrot\" --julia-child 0.3,0.2 --size 40x30 -o " +
                           png,
                       &out),
              0)
        << out;
    EXPECT_EQ(runBatch("render --tool ppc --julia-child junk -o " + png, &out), 2);
    for (const auto& f : {png, doc}) std::remove(f.c_str());
}

TEST(BatchDocuments, DimensionOfPicturesAndCurves)
{
    std::string out;
    // A picture the program wrote itself (PNG): a report and its estimate.
    const std::string png = temp("ifs.png");
    ASSERT_EQ(runBatch("render --tool ifr --example gasket --random-seed 1 --size 300x300 -o " + png), 0);
    ASSERT_EQ(runBatch("dimension " + png, &out), 0) << out;
    EXPECT_EQ(out.rfind("box size  number    hits", 0), 0u) << out;
    EXPECT_NE(out.find("\nestimate: 1."), std::string::npos) << out;
    // A curve of the string-rewriting tool.
    ASSERT_EQ(runBatch("dimension --tool srf --example dragon --generation 8", &out), 0) << out;
    EXPECT_NE(out.find("width/1024"), std::string::npos) << out;
    EXPECT_NE(out.find("estimate: "), std::string::npos) << out;
    // A missing picture: its error, exit 1.
    EXPECT_EQ(runBatch("dimension /nonexistent/x.png", &out), 1);
    EXPECT_NE(out.find("cannot open file"), std::string::npos) << out;
    std::remove(png.c_str());
}

} // namespace
} // namespace qx
