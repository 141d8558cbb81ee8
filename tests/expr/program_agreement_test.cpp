// The flat program against the tree walk: same success or failure, same value
// to the last bit, same states and discontinuity flags, evaluation after
// evaluation.
#include "expr_test_util.h"
#include "random_expressions.h"

#include "expr/differentiate.h"
#include "expr/program.h"
#include "expr/tree_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <array>
#include <atomic>
#include <limits>
#include <span>

using namespace qx;
using qx::test::Calc;

namespace {

bool sameBits(Real a, Real b) { return std::memcmp(&a, &b, 10) == 0; }

struct Agreement {
    int compared = 0, succeeded = 0;
};

// Evaluates tree and program at the same points and checks that they agree.
void compare(ExprContext& cx, ExprNode& tree, std::mt19937& rng, const std::string& what, Agreement& tally)
{
    Program p = Program::compile(cx.env, {&tree});
    Program bound = p; // the same program through the register path
    bound.bindSlots(cx.env.complexMode ? kSlotZ : kSlotX, cx.env.complexMode ? -1 : kSlotY);
    ASSERT_EQ(p.states(), collectStates(tree)) << what;
    std::uniform_real_distribution<double> coord(-3, 3);
    for (int k = 0; k < 6; ++k) {
        const Complex z{coord(rng), coord(rng)};
        const Real x = coord(rng), y = coord(rng), c = coord(rng);
        for (auto* vars : {cx.env.vars.data(), p.variables()}) {
            vars[kSlotZ] = z;
            vars[kSlotX] = {x, 0};
            vars[kSlotY] = {y, 0};
            vars[3] = {c, 0};
        }
        cx.env.flags.raised = false;
        p.flags().raised = false;
        bound.variables()[kSlotZ] = z;
        bound.variables()[3] = {c, 0};
        bound.flags().raised = false;
        const bool okTree = EvaluateTree(cx.env, tree);
        const bool okProgram = p.evaluate();
        Complex fromBound;
        const bool okBound = cx.env.complexMode ? bound.evaluateBound(0, z, fromBound)
                                                : bound.evaluateBound(0, {x, 0}, {y, 0}, fromBound);
        ASSERT_EQ(okTree, okBound) << what << " at point " << k << " (bound)";
        ASSERT_EQ(bound.states(), collectStates(tree)) << what << " (bound)";
        ASSERT_EQ(cx.env.flags.raised, bound.flags().raised) << what << " (bound)";
        if (okBound) {
            ASSERT_TRUE(sameBits(fromBound.re, tree.value.re)) << what << " (bound)";
            if (cx.env.complexMode) {
                ASSERT_TRUE(sameBits(fromBound.im, tree.value.im)) << what << " (bound)";
            }
        }
        ++tally.compared;
        ASSERT_EQ(okTree, okProgram) << what << " at point " << k;
        ASSERT_EQ(cx.env.flags.raised, p.flags().raised) << what << " at point " << k;
        ASSERT_EQ(p.states(), collectStates(tree)) << what << " at point " << k;
        for (int s = 0; s < kVariableCount; ++s)
            ASSERT_TRUE(sameBits(cx.env.vars[s].re, p.variables()[s].re)) << what << " slot " << s;
        if (!okTree) continue;
        ++tally.succeeded;
        const Complex a = tree.value, b = p.result();
        ASSERT_TRUE(sameBits(a.re, b.re)) << what << ": " << double(a.re) << " vs " << double(b.re);
        if (cx.env.complexMode) {
            ASSERT_TRUE(sameBits(a.im, b.im)) << what;
        }
    }
}

void agreeOnRandomTexts(bool complexMode, unsigned seed, int count, Agreement& tally)
{
    test::RandomExpressions gen(seed);
    std::mt19937 rng(seed);
    int compiled = 0;
    for (int n = 0; n < count; ++n) {
        Calc c(complexMode);
        c.cx.env.flags.random.seed(seed + n);
        const std::string text = gen.make(4);
        TreePtr t = c.tree(text);
        if (!t) continue;
        ++compiled;
        compare(c.cx, *t, rng, text, tally);
        if (::testing::Test::HasFatalFailure()) return;
        if (n % 3 == 0) {
            TreePtr d = DifferentiateTree(c.cx, *t, complexMode ? 'Z' : 'X');
            if (d) compare(c.cx, *d, rng, "d/dx " + text, tally);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
    EXPECT_GT(compiled, count / 2);
    std::printf("%d texts compiled, %d evaluations compared, %d succeeded\n", compiled, tally.compared,
                tally.succeeded);
}

} // namespace

TEST(ProgramAgreement, RandomRealExpressions)
{
    Agreement tally;
    agreeOnRandomTexts(false, 1234, 3000, tally);
    EXPECT_GT(tally.succeeded, tally.compared / 5);
    EXPECT_LT(tally.succeeded, tally.compared); // failures were compared as well
}

TEST(ProgramAgreement, RandomComplexExpressions)
{
    Agreement tally;
    agreeOnRandomTexts(true, 98765, 3000, tally);
    EXPECT_GT(tally.succeeded, tally.compared / 5);
    EXPECT_LT(tally.succeeded, tally.compared);
}

// Maps users type every day, which random texts rarely form: several
// multiplications and subtractions in one complex expression, rational maps,
// Newton maps and the real pairs of plane maps. Each must agree bit for bit,
// compiled as typed and as its derivative.
TEST(ProgramAgreement, EverydayMaps)
{
    const char* complexMaps[] = {
        "z*z-(c+1)", "(z+1)*(z-1)-c", "zz+c", "zzz-2z+2", "z-(zzz-2z+2)/(3zz-2)", "(zz+1)/(zz-1)",
        "(zzz+c)/(2zz)", "z^4-z+c", "zz*z*z+c*z", "(z-1)(z+1)(z-i)", "c*z*(1-z)", "z-(z^5-1)/(5z^4)",
        "(2zzz+1)/(3zz)", "exp(z)+c", "z*z*z*z*z-c*z*z+1"};
    const char* realMaps[] = {"y+1-1.4xx", "0.3x", "xx-yy+c", "2xy+c", "x-(xxx-2x+2)/(3xx-2)", "c*x*(1-x)",
                              "(xx+1)/(xx-1)", "y-sin(x)", "x*x*x-y*y*x+c"};
    std::mt19937 rng(4242);
    Agreement tally;
    for (bool complexMode : {true, false}) {
        for (const char* text : complexMode ? std::span<const char* const>(complexMaps)
                                            : std::span<const char* const>(realMaps)) {
            Calc c(complexMode);
            TreePtr t = c.tree(text);
            ASSERT_TRUE(t) << text;
            compare(c.cx, *t, rng, text, tally);
            if (::testing::Test::HasFatalFailure()) return;
            TreePtr d = DifferentiateTree(c.cx, *t, complexMode ? 'Z' : 'X');
            ASSERT_TRUE(d) << "d/dx " << text;
            compare(c.cx, *d, rng, std::string("d/dx ") + text, tally);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
    EXPECT_GT(tally.succeeded, tally.compared * 9 / 10); // everyday maps evaluate almost everywhere
}

TEST(ProgramAgreement, FunctionsOfTheRegisterResult)
{
    // Each function here takes the previous instruction's result, which the
    // register path also writes its own result to.
    std::mt19937 rng(11);
    Agreement tally;
    for (bool complexMode : {false, true}) {
        for (const char* text : {"exp(z*z+1)", "cis(z+1)", "ln(z+2)", "erf(z+0.5)", "gamma(z+3)",
                                 "sqrt(z-1)", "arctan(z+0.5)", "exp(x+1)", "sinh(x*y)", "pow(3,x+y)",
                                 "root(3,x-y)", "(x+1)^(y*0.5)", "1/(x+y)"}) {
            Calc c(complexMode);
            c.cx.simplify = false;
            TreePtr t = c.tree(text);
            ASSERT_TRUE(t) << text;
            compare(c.cx, *t, rng, text, tally);
        }
    }
    EXPECT_GT(tally.succeeded, tally.compared / 2);
}

TEST(ProgramAgreement, RegisterPathHandsRareProductsToTheFullRules)
{
    // Real factors above B leave the register path; the full product rules
    // then give 100 through logarithms, or a failure.
    Calc c;
    c.cx.simplify = false;
    TreePtr t = c.tree("x*y+0");
    Program p = Program::compile(c.cx.env, {t.get()});
    p.bindSlots(kSlotX, kSlotY);
    Complex out;
    ASSERT_TRUE(p.evaluateBound(0, {1e-17L, 0}, {1e19L, 0}, out));
    EXPECT_NEAR(double(out.re), 100, 1e-12);
    EXPECT_FALSE(p.evaluateBound(0, {1e19L, 0}, {1e19L, 0}, out));
    ASSERT_TRUE(p.evaluateBound(0, {2, 0}, {3, 0}, out));
    EXPECT_EQ(out.re, 6);
    TreePtr q = c.tree("x^-2+x^5");
    Program r = Program::compile(c.cx.env, {q.get()});
    r.bindSlots(kSlotX);
    ASSERT_TRUE(r.evaluateBound(0, {-2, 0}, out));
    EXPECT_EQ(out.re, 0.25L - 32);
    EXPECT_FALSE(r.evaluateBound(0, {0, 0}, out)); // 1/0
}

TEST(ProgramAgreement, NodesOnlyToolsBuild)
{
    // Fallback, registers and the periodic extension come from tools, not texts.
    Calc c;
    c.cx.simplify = false;
    TreePtr fb = makeNode(code::Fallback, c.tree("ln(x)"), c.tree("x*x"));
    TreePtr reg = makeNode(code::Add, makeNode(code::RegisterFirst + 2), c.tree("x"));
    TreePtr per = makeNode(code::Periodic, makeConst(-1.0L), c.tree("x*x+int(x)"));
    per->middle = makeConst(2.0L);
    c.cx.env.registers[2] = {7, 0};
    std::mt19937 rng(5);
    Agreement tally;
    for (ExprNode* t : {fb.get(), reg.get(), per.get()}) compare(c.cx, *t, rng, "tool tree", tally);
    EXPECT_EQ(tally.succeeded, tally.compared);
    c.set('X', 2.5L);
    ASSERT_TRUE(EvaluateTree(c.cx.env, *per));
    EXPECT_EQ(per->value.re, 0.25L); // x shifted into [-1, 1)
    EXPECT_EQ(c.cx.env.vars[kSlotX].re, 2.5L);
    c.set('X', -4.0L);
    ASSERT_TRUE(EvaluateTree(c.cx.env, *fb));
    EXPECT_EQ(fb->value.re, 16);
}

TEST(ProgramAgreement, ClonesKeepTheirOwnStateAndVariables)
{
    Calc c;
    TreePtr t = c.tree("int(x)+a");
    c.set('A', 10.0L);
    Program p = Program::compile(c.cx.env, {t.get()});
    Program q = p;
    p.setVariable(kSlotX, {1.5L, 0});
    q.setVariable(kSlotX, {-3.5L, 0});
    ASSERT_TRUE(p.evaluate());
    ASSERT_TRUE(q.evaluate());
    EXPECT_EQ(p.result().re, 11);
    EXPECT_EQ(q.result().re, 7);
    EXPECT_EQ(p.states(), std::vector<int32_t>{1});
    EXPECT_EQ(q.states(), std::vector<int32_t>{-3});
}

TEST(ProgramAgreement, SeveralEntriesShareOneTable)
{
    Calc c;
    TreePtr fx = c.tree("y+1-1.4xx");
    TreePtr fy = c.tree("0.3x");
    Program p = Program::compile(c.cx.env, {fx.get(), fy.get()});
    EXPECT_EQ(p.entryCount(), 2u);
    Real x = 0, y = 0;
    for (int k = 0; k < 10; ++k) {
        p.setVariable(kSlotX, {x, 0});
        p.setVariable(kSlotY, {y, 0});
        ASSERT_TRUE(p.evaluate(0));
        ASSERT_TRUE(p.evaluate(1));
        const Real nx = y + 1 - 1.4L * x * x, ny = 0.3L * x;
        EXPECT_EQ(p.result(0).re, nx);
        EXPECT_EQ(p.result(1).re, ny);
        Program bound = p; // one folded instruction per entry on the register path
        bound.bindSlots(kSlotX, kSlotY);
        Complex bx, by;
        ASSERT_TRUE(bound.evaluateBound(0, {x, 0}, {y, 0}, bx));
        ASSERT_TRUE(bound.evaluateBound(1, {x, 0}, {y, 0}, by));
        EXPECT_EQ(bx.re, nx);
        EXPECT_EQ(by.re, ny);
        x = nx;
        y = ny;
    }
}

namespace {

// A complex tree's program bound to z (machine code where it can be made)
// and a copy of it that interprets.
std::pair<Program, Program> machineAndInterpreter(Calc& calc, const ExprNode& tree)
{
    Program machine = Program::compile(calc.cx.env, {&tree});
    machine.bindSlots(kSlotZ);
    Program interpreted = machine;
    interpreted.useNativeCode(false);
    return {machine, interpreted};
}

// Random complex arithmetic (what runs as machine code) over z, c and
// constants from 1e-9 to 1e9, sums, products, squares and quotients.
std::string arithmetic(std::mt19937& rng, int depth)
{
    static const char* const leaves[] = {"z", "z", "c", "2", "0.5", "i", "3", "1e-9", "1e9", "(1+i)"};
    const auto pick = [&](unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(rng); };
    if (depth <= 0 || pick(4) == 0) return leaves[pick(10)];
    static const char* const ops[] = {"+", "-", "*", "/", "*", "-"};
    if (pick(6) == 0) {
        const std::string a = arithmetic(rng, depth - 1);
        return "(" + a + ")*(" + a + ")";
    }
    return "(" + arithmetic(rng, depth - 1) + ops[pick(6)] + arithmetic(rng, depth - 1) + ")";
}

} // namespace

// The machine code of complex straight-line entries against the interpreted
// fast form, at ordinary points and at the edges of the checked arithmetic:
// zero and -0, values around the 1e-16 flush and below, around B and e^5000,
// beyond them, infinities and NaN. Both must fail alike and agree to the bit.
TEST(ProgramAgreement, MachineCodeAgreesWithTheInterpreter)
{
    if (!nativeCodeAvailable()) GTEST_SKIP() << "no machine code on this platform or system";
    const Real inf = std::numeric_limits<Real>::infinity(), nan = std::numeric_limits<Real>::quiet_NaN();
    const Real edges[] = {0, -0.0L, 1e-8L, 1.0000001e-8L, 9.9999e-9L, 1e-16L, 1.0000000001e-16L, 1e-17L,
                          1e-2200L, 0.5L, -1.5L, 3, 1.3e9L, 1739274941520501047.375L, 1.7e18L, 2e18L,
                          1e1085L, 1e2171L, 2.9676283840236670688847e+2171L, 3e2171L, 1e3000L, inf, -inf, nan};
    std::mt19937 rng(2718);
    std::uniform_int_distribution<size_t> edge(0, std::size(edges) - 1);
    std::uniform_real_distribution<double> coord(-3, 3);
    int native = 0, evaluations = 0, succeeded = 0;
    for (int n = 0; n < 400; ++n) {
        Calc calc(true);
        calc.cx.simplify = n % 2 == 0;
        const std::string text = n == 0 ? "z-(zzz-2z+2)/(zz+z(z+z)-2)" : arithmetic(rng, 4);
        TreePtr t = calc.tree(text);
        ASSERT_TRUE(t) << text;
        auto [machine, interpreted] = machineAndInterpreter(calc, *t);
        ASSERT_FALSE(interpreted.runsNativeCode());
        if (n == 0) {
            ASSERT_TRUE(machine.runsNativeCode()) << "the Newton step of the basins benchmark";
        }
        if (!machine.runsNativeCode()) continue;
        ++native;
        for (int k = 0; k < 40; ++k) {
            Complex z{coord(rng), coord(rng)}, c{coord(rng), coord(rng)};
            if (k % 2) z = {edges[edge(rng)] * (k % 4 == 1 ? 1 : -1), k % 3 ? edges[edge(rng)] : Real(coord(rng))};
            if (k % 5 == 0) c = {edges[edge(rng)], edges[edge(rng)]};
            machine.setVariable(3, c);
            interpreted.setVariable(3, c);
            Complex a{7, 7}, b{7, 7};
            const bool okA = machine.evaluateBound(0, z, a), okB = interpreted.evaluateBound(0, z, b);
            ++evaluations;
            ASSERT_EQ(okA, okB) << text << " at z = " << double(z.re) << "," << double(z.im);
            if (!okA) continue;
            ++succeeded;
            ASSERT_TRUE(sameBits(a.re, b.re) && sameBits(a.im, b.im))
                << text << " at z = " << double(z.re) << "," << double(z.im) << ": " << double(a.re) << ","
                << double(a.im) << " against " << double(b.re) << "," << double(b.im);
        }
    }
    std::printf("%d of 400 texts as machine code, %d evaluations, %d succeeded\n", native, evaluations, succeeded);
    EXPECT_GT(native, 300);
    EXPECT_GT(succeeded, evaluations / 3);
    EXPECT_LT(succeeded, evaluations);
}

namespace {

// The disc orbit loop as documented, through the interpreted fast form.
Program::DiscOrbit discOrbitByHand(Program& p, Complex w, const std::vector<std::array<Real, 3>>& discs,
                                   int32_t maxReps, const std::atomic<bool>* stop)
{
    Program::DiscOrbit o;
    o.bound = w;
    for (int32_t count = 0; count < maxReps; ++count) {
        for (size_t i = 0; i < discs.size(); ++i) {
            const Real dx = w.re - discs[i][0], dy = w.im - discs[i][1];
            if (dx * dx + dy * dy < discs[i][2]) {
                o.disc = static_cast<int>(i);
                o.count = count;
                o.w = w;
                return o;
            }
        }
        if ((count & 4095) == 4095 && stop && stop->load()) {
            o.interrupted = true;
            return o;
        }
        o.bound = w;
        Complex f;
        if (p.evaluateBound(0, w, f)) {
            w = f;
        } else {
            w = {0, 0};
            if (stop && stop->load()) {
                o.interrupted = true;
                return o;
            }
        }
    }
    o.count = maxReps;
    o.w = w;
    return o;
}

} // namespace

// The whole orbit loop in machine code against the same loop written out:
// Newton maps whose orbits reach a root, cycle without reaching one or hit
// the map's failures (0 is a pole), with 0 to 3 discs, a zero and a huge
// count limit, and a set interrupt flag.
TEST(ProgramAgreement, DiscOrbitsInMachineCode)
{
    if (!nativeCodeAvailable()) GTEST_SKIP() << "no machine code on this platform or system";
    const std::vector<std::array<Real, 3>> roots = {{-1.76929235423863L, 0, 1e-4L},
                                                    {0.884646177119316L, 0.589742805022206L, 1e-4L},
                                                    {0.884646177119316L, -0.589742805022206L, 1e-4L}};
    std::mt19937 rng(77);
    std::uniform_real_distribution<double> coord(-2, 2);
    int reached = 0, none = 0, compared = 0;
    for (const char* text : {"z-(zzz-2z+2)/(zz+z(z+z)-2)", "z-(zz*z-2z+2)/(3zz-2)", "(zz+1)/(2z)", "1/(zz)+c",
                             "z*z*z*z-c*z*z+1"}) {
        Calc calc(true);
        calc.set('C', Complex{0.3L, -0.1L});
        TreePtr t = calc.tree(text);
        ASSERT_TRUE(t) << text;
        auto [machine, interpreted] = machineAndInterpreter(calc, *t);
        for (size_t discs = 0; discs <= roots.size(); ++discs) {
            ASSERT_TRUE(machine.prepareDiscOrbit(0, static_cast<int>(discs))) << text;
            const std::vector<std::array<Real, 3>> some(roots.begin(), roots.begin() + static_cast<long>(discs));
            for (int k = 0; k < 60; ++k) {
                Complex start{coord(rng), coord(rng)};
                if (k == 0) start = {0, 0}; // a pole of most of these maps
                const int32_t reps = k == 1 ? 0 : k % 7 == 0 ? 5 : 400;
                const auto a = machine.orbitToDiscs(start, some.data(), reps, nullptr);
                const auto b = discOrbitByHand(interpreted, start, some, reps, nullptr);
                ++compared;
                ASSERT_EQ(a.disc, b.disc) << text << " from " << double(start.re) << "," << double(start.im);
                ASSERT_EQ(a.count, b.count) << text;
                ASSERT_TRUE(sameBits(a.w.re, b.w.re) && sameBits(a.w.im, b.w.im)) << text;
                ASSERT_TRUE(sameBits(a.bound.re, b.bound.re) && sameBits(a.bound.im, b.bound.im)) << text;
                (a.disc >= 0 ? reached : none)++;
            }
        }
    }
    EXPECT_GT(reached, compared / 8);
    EXPECT_GT(none, compared / 10);
    // A set flag ends an orbit that reaches nothing after 4096 steps; a clear one does not.
    Calc calc(true);
    TreePtr t = calc.tree("zz");
    Program p = Program::compile(calc.cx.env, {t.get()});
    p.bindSlots(kSlotZ);
    ASSERT_TRUE(p.prepareDiscOrbit(0, 1));
    std::atomic<bool> flag{true};
    const std::array<Real, 3> far{5, 5, 1};
    const auto stopped = p.orbitToDiscs({0.5L, 0.5L}, &far, 1000000, &flag);
    EXPECT_TRUE(stopped.interrupted);
    flag = false;
    const auto finished = p.orbitToDiscs({0.5L, 0.5L}, &far, 10000, &flag);
    EXPECT_FALSE(finished.interrupted);
    EXPECT_EQ(finished.count, 10000);
    EXPECT_EQ(finished.disc, -1);
}
