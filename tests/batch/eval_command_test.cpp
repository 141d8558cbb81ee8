// quorvex-batch eval and diff, run as a user runs them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct BatchRun {
    std::string out;
    int status = -1;
};

// Runs quorvex-batch with the given arguments (already quoted for the shell).
BatchRun batch(const std::string& args)
{
    BatchRun r;
    FILE* p = popen((std::string(QX_BATCH_EXE) + " " + args + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) r.out += buf;
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

} // namespace

TEST(BatchEval, PrintsTheValueWithTheAskedDecimals)
{
    BatchRun r = batch("eval '1+2'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "3.000000000000000\n");
    r = batch("eval --decimals 3 'pi'");
    EXPECT_EQ(r.out, "3.142\n");
    r = batch("eval --decimals 0 '2.5'");
    EXPECT_EQ(r.out, " 2\n"); // FormatReal(v, N + 2, N) pads when N = 0
    r = batch("eval --set x=3 --set 'Y=x+1' 'x*y'");
    EXPECT_EQ(r.out, "12.000000000000000\n");
    r = batch("eval --set x=2 'iter(3,xx)'");
    EXPECT_EQ(r.out, "256.000000000000000\n");
}

TEST(BatchEval, ComplexModeAndItsVariables)
{
    BatchRun r = batch("eval --complex --decimals 2 'i*i'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "-1.00+0.00i\n");
    r = batch("eval --complex --decimals 1 --set 'z=3-4i' 'x+y'");
    EXPECT_EQ(r.out, "-1.0+0.0i\n");
    r = batch("eval --complex --decimals 3 --set 'z=1+i' --set c=0.25 'zz+c'");
    EXPECT_EQ(r.out, "0.250+2.000i\n");
}

TEST(BatchEval, ErrorsPrintTheirCodeAndMessage)
{
    BatchRun r = batch("eval 'ln(0)'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "error 1: cannot understand\n");
    r = batch("eval 'x)'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "error 108: unbalanced brackets\n");
    r = batch("eval 'max(1)'");
    EXPECT_EQ(r.out, "error 6: inconsistent data\n");
    r = batch("eval 'root(2,x,3)'");
    EXPECT_EQ(r.out, "error 101: too many arguments\n");
    r = batch("eval ''");
    EXPECT_EQ(r.out, "error 9: nothing to do\n");
    r = batch("eval 'iter(0,x)'");
    EXPECT_EQ(r.out, "error 17: out of bounds\n");
    r = batch("eval --set 'x=sqrt(-1)' 'x'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "error 1: cannot understand\n");
    r = batch("eval --set xy=1 'x'");
    EXPECT_EQ(r.status, 1);
    // A function name and an operand without brackets; without the blank the
    // letters are a product as before.
    r = batch("eval 'sin x'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "error 6: inconsistent data\n");
    r = batch("eval --decimals 1 --set s=2 --set i=3 --set n=4 --set x=5 'sinx'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "120.0\n");
    r = batch("eval '0^(-0.5)'");
    EXPECT_EQ(r.status, 1);
}

TEST(BatchEval, ErrorsGoToStandardErrorAndTextsMayComeFromFiles)
{
    // Standard output alone: values only.
    FILE* p = popen((std::string(QX_BATCH_EXE) + " eval 'sin x' 2>/dev/null").c_str(), "r");
    ASSERT_TRUE(p);
    char buf[256];
    std::string out;
    while (fgets(buf, sizeof buf, p)) out += buf;
    EXPECT_NE(pclose(p), 0);
    EXPECT_EQ(out, "");
    const std::string file = ::testing::TempDir() + "/qx_eval_text.txt";
    {
        FILE* f = fopen(file.c_str(), "w");
        ASSERT_TRUE(f);
        fputs("2*(3+4)\n", f);
        fclose(f);
    }
    BatchRun r = batch("eval --decimals 1 -f " + file);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "14.0\n");
    r = batch("diff -f - < " + file); // standard input
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0\n");
    r = batch("eval -f /nonexistent/text.txt");
    EXPECT_EQ(r.out, "error 11: cannot open file\n");
    r = batch("eval -f " + file + " '1+1'");
    EXPECT_EQ(r.out, "error 101: too many arguments\n");
    std::remove(file.c_str());
}

TEST(BatchDiff, PrintsTheSimplifiedDerivative)
{
    BatchRun r = batch("diff 'sin(x)'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "cos(x)\n");
    r = batch("diff --var y 'x*y+3y'");
    EXPECT_EQ(r.out, "x+3\n");
    r = batch("diff --complex 'zz+c'");
    EXPECT_EQ(r.out, "z+z\n");
    r = batch("diff 'x+'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "error 6: inconsistent data\n");
}
