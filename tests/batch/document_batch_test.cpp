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

} // namespace
} // namespace qx
