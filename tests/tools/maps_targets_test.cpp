// The target inventory: records as stored, the per-pixel orbit to the first
// target, the colouring patterns; and the mapping texts with their
// root-finding transforms and the n-th roots texts.
#include "expr/evaluator.h"
#include "tools/maps/mapping.h"
#include "tools/maps/targets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

using namespace qx;

namespace {

// A complex map with targets, compiled and prepared as a window does.
struct Inventory {
    ExprContext cx{true};
    TreePtr map;
    std::vector<TargetRecord> records;
    std::vector<TargetTrees> trees;
    std::vector<TargetColours> colours;

    explicit Inventory(const std::string& mapText)
    {
        CompiledMapping m;
        EXPECT_EQ(compileMapping(cx, mapText, true, m), 0) << mapText;
        map = std::move(m.map);
    }
    void add(TargetRecord r, int steps = 4)
    {
        TargetTrees t;
        ASSERT_EQ(compileTarget(cx, r, false, t), 0);
        prepareTarget(cx, r, t, false);
        records.push_back(r);
        trees.push_back(std::move(t));
        ColourSequence s;
        s.steps = steps;
        s.anchors = {0x000010, 0x000020};
        TargetColours c;
        c.table = buildTable(s);
        c.anchors = {s.anchors[0], s.anchors[1]};
        c.sectors = {0x0000A0, 0x0000B0, 0x0000C0, 0x0000D0};
        colours.push_back(c);
    }
    TargetEngine engine(int32_t reps = 100)
    {
        TargetEngine::Setup s;
        s.map = map.get();
        s.records = records;
        for (const auto& t : trees)
            s.trees.push_back(&t);
        s.colours = colours;
        s.maxReps = reps;
        s.noTargetIndex = 7;
        s.noTargetColour = 0x123456;
        return TargetEngine(cx.env, s);
    }
};

Complex evalAt(ExprContext& cx, ExprNode& tree, Complex z)
{
    Complex out;
    EXPECT_TRUE(EvaluateAtComplex(cx.env, tree, kSlotZ, z, out));
    return out;
}

} // namespace

TEST(TargetRecords, RoundTripAndRefusals)
{
    TargetRecord r = infinityTarget("100", 3);
    r.flag = 1;
    r.texts[3] = std::string(255, 'x');
    r.values = {1.5L, -2, 0.01L, 1e-4L, 3, 4};
    r.sectors = true;
    r.sectorCount = 6;
    ByteWriter w;
    encodeTarget(w, r);
    ASSERT_EQ(w.data().size(), kTargetRecordBytes);
    ByteReader rd(w.data());
    TargetRecord back;
    ASSERT_TRUE(decodeTarget(rd, back));
    EXPECT_EQ(back, r);
    ByteWriter again;
    encodeTarget(again, back);
    EXPECT_EQ(again.data(), w.data());
    for (size_t n = 0; n < kTargetRecordBytes; n += 97) { // every truncation is refused
        ByteReader cut(w.data().data(), n);
        EXPECT_FALSE(decodeTarget(cut, back)) << n;
    }
    std::vector<uint8_t> bad = w.data();
    std::fill(bad.begin() + 3, bad.begin() + 3 + 256, 'y'); // text A without its NUL
    ByteReader noNul(bad);
    EXPECT_FALSE(decodeTarget(noNul, back));
    bad = w.data();
    bad[0] = 4; // no kind 4
    ByteReader badKind(bad);
    EXPECT_FALSE(decodeTarget(badKind, back));
    EXPECT_EQ(infinityTarget("100", 0).code, 3);
    EXPECT_EQ(pointTarget("1", "0.01", PatternBlend).code, 100);
    EXPECT_EQ(lineTarget("x+2", "0.8", PatternBlend).code, 102);
}

TEST(TargetOrbits, LowestIndexWinsAndCountsColourAsTabled)
{
    Inventory inv("z/3");
    inv.add(pointTarget("0", "0.3"));   // 0
    inv.add(pointTarget("0.4", "0.2")); // 1, overlapping 0 on [0.2, 0.3)
    TargetEngine e = inv.engine();
    // 0.75 -> 0.25: at count 1 inside both; the lower index takes it.
    OrbitEnd end = e.orbit({0.75L, 0});
    EXPECT_EQ(end.target, 0);
    EXPECT_EQ(end.count, 1);
    // 0.55 is inside target 1 only at once: count 0 gives entry 0.
    end = e.orbit({0.55L, 0});
    ASSERT_EQ(end.target, 1);
    EXPECT_EQ(end.count, 0);
    PixelValue v = e.colour(end, 0, 0);
    EXPECT_EQ(v.colour, inv.colours[1].table.colours[0]);
    EXPECT_EQ(v.code, 1 << 24);
    // L = 2 anchors x 4 steps = 8: a count of 8 uses the closing entry 8 and records 0.
    end = e.orbit({0.29L * 6561, 0});
    ASSERT_EQ(end.target, 0);
    EXPECT_EQ(end.count, 8);
    v = e.colour(end, 0, 0);
    EXPECT_EQ(v.colour, inv.colours[0].table.colours[8]);
    EXPECT_EQ(v.code, 0);
    // Nothing reached within the reps: the no-target colour and its code.
    Inventory far("z+1");
    far.add(pointTarget("-5", "0.1"));
    TargetEngine f = far.engine(50);
    end = f.orbit({0, 0});
    EXPECT_EQ(end.target, kNoTarget);
    EXPECT_EQ(end.count, 50);
    v = f.colour(end, 0, 0);
    EXPECT_EQ(v.colour, 0x123456u);
    EXPECT_EQ(v.code, specialColourCode(7));
}

TEST(TargetOrbits, BlendPreparationAndSectors)
{
    Inventory inv("zz");
    inv.add(pointTarget("0", "1", PatternBlend)); // radius clamps to 0.5
    inv.add(infinityTarget("2", 0));
    EXPECT_EQ(inv.records[0].values[2], 0.5L);
    EXPECT_EQ(inv.records[0].values[3], 0.25L);
    TargetRecord blend = infinityTarget("1", 0); // ln T = 0 and degree 0
    blend.code = 103;
    blend.texts[2] = "0";
    TargetTrees t;
    ASSERT_EQ(compileTarget(inv.cx, blend, false, t), 0);
    prepareTarget(inv.cx, blend, t, false);
    // As if d = 2 and ln T = ln 4.
    EXPECT_NEAR(static_cast<double>(blend.values[0]), std::log(2.0) + std::log(std::log(4.0)), 1e-15);
    EXPECT_NEAR(static_cast<double>(blend.values[1]), 1 / std::log(2.0), 1e-15);

    // Sectors: a final point on the reference direction has theta = pi and
    // falls into sector count / 2.
    EXPECT_NEAR(static_cast<double>(sectorArg(-1, 0)), M_PI, 1e-18);
    EXPECT_NEAR(static_cast<double>(sectorArg(-1, -1e-30L)), -M_PI, 1e-18);
    EXPECT_NEAR(static_cast<double>(sectorArg(0, -2)), -M_PI / 2, 1e-18);
    Inventory sec("z");
    TargetRecord s = pointTarget("0", "2");
    s.sectors = true;
    s.sectorCount = 4;
    s.texts[3] = "i"; // reference direction i
    sec.add(s);
    TargetEngine e = sec.engine();
    OrbitEnd end = e.orbit({0, 1}); // on the reference direction
    ASSERT_EQ(end.target, 0);
    PixelValue v = e.colour(end, 0, 0);
    EXPECT_EQ(v.code, sec.colours[0].table.length() + 2);
    EXPECT_EQ(v.colour, sec.colours[0].sectors[2]);
}

TEST(TargetOrbits, AFailingMapSendsTheOrbitToZero)
{
    Inventory inv("1/(z-1)");
    inv.add(pointTarget("0", "0.01"));
    TargetEngine e = inv.engine();
    const OrbitEnd end = e.orbit({1, 0}); // 1/0 fails: the orbit goes on from 0
    EXPECT_EQ(end.target, 0);
    EXPECT_EQ(end.count, 1);
}

TEST(TargetOrbits, RegionLineAndInfinityReadTheLastMappedPoint)
{
    Inventory inv("2z");
    inv.add(lineTarget("x-10", "0.5"));       // near the line x = 10
    inv.add(infinityTarget("10000", 0));
    TargetEngine e = inv.engine();
    // 1.25, 2.5, 5, 10, 20: the line tests the point passed to the map last,
    // so it matches when w = 20 (the bound point is 10), at count 4.
    const OrbitEnd end = e.orbit({1.25L, 0});
    EXPECT_EQ(end.target, 0);
    EXPECT_EQ(end.count, 4);
    EXPECT_EQ(end.w, (Complex{20, 0}));
}

TEST(Mappings, NewtonsTwoCycleAndKeywordRules)
{
    ExprContext cx(true);
    CompiledMapping m;
    ASSERT_EQ(compileMapping(cx, "Newton(zzz - 2z + 2 = 0)", true, m), 0);
    EXPECT_EQ(m.method, 0);
    EXPECT_EQ(m.argument, "zzz-2z+2");
    for (const Complex z : {Complex{0.3L, 0.2L}, Complex{-1.7L, 0.4L}, Complex{2, -1}}) {
        const Complex got = evalAt(cx, *m.map, z);
        const std::complex<long double> c(z.re, z.im);
        const std::complex<long double> want = c - (c * c * c - 2.0L * c + 2.0L) / (3.0L * c * c - 2.0L);
        EXPECT_NEAR(static_cast<double>(got.re), static_cast<double>(want.real()), 1e-15);
        EXPECT_NEAR(static_cast<double>(got.im), static_cast<double>(want.imag()), 1e-15);
    }
    // The critical orbit 0 -> 1 -> 0 is a 2-cycle that reaches no root.
    EXPECT_EQ(evalAt(cx, *m.map, {0, 0}), (Complex{1, 0}));
    EXPECT_EQ(evalAt(cx, *m.map, {1, 0}), (Complex{0, 0}));

    CompiledMapping kept;
    EXPECT_EQ(compileMapping(cx, "Newton(zz-1", true, kept), 6); // no '='
    EXPECT_EQ(compileMapping(cx, "Halley(zz-1=0)", false, kept), 6); // not a dynamic plane
    EXPECT_EQ(kept.map, nullptr);
    ASSERT_EQ(compileMapping(cx, "House(zz-4=0)+Newton(zzz-8=0)", true, kept), 0); // Newton first
    EXPECT_EQ(kept.method, 0);
    EXPECT_EQ(kept.argument, "zzz-8");
    EXPECT_NE(compileMapping(cx, "Newton(zz+=0)", true, kept), 0); // p does not compile
    EXPECT_EQ(kept.argument, "zzz-8");
}

TEST(Mappings, RootTextsAndTransformsAgree)
{
    EXPECT_EQ(nthRootsMapText(3, "8", RootMethod::Newton), "2z/3+(8)/(3zz)");
    EXPECT_EQ(nthRootsMapText(2, "1", RootMethod::Halley), "1z/3+8(1)z/(9zz+3(1))");
    EXPECT_NE(nthRootsMapText(5, "w", RootMethod::Newton).find("pow(4,z)"), std::string::npos);
    EXPECT_NE(nthRootsMapText(5, "w", RootMethod::Halley).find("pow(5,z)"), std::string::npos);
    EXPECT_NE(nthRootsMapText(5, "w", RootMethod::Schroder).find("pow(5,z)"), std::string::npos);
    EXPECT_NE(nthRootsMapText(4, "w", RootMethod::Newton).find("zzz"), std::string::npos);
    EXPECT_EQ(nthRootsMapText(4, "w", RootMethod::Newton).find("pow"), std::string::npos);
    EXPECT_NE(nthRootsMapText(4, "w", RootMethod::Schroder).find("pow(4,z)"), std::string::npos);
    // Each generator text is the transform of z^n - w.
    ExprContext cx(true);
    const std::array<const char*, 4> keyword{"Newton", "Halley", "Schroder", "House"};
    for (int n : {2, 3, 5}) {
        for (int m = 0; m < 4; ++m) {
            CompiledMapping text, transform;
            ASSERT_EQ(compileMapping(cx, nthRootsMapText(n, "3+4i", static_cast<RootMethod>(m)), true, text), 0);
            std::string p = "pow(" + std::to_string(n) + ",z)-(3+4i)";
            ASSERT_EQ(compileMapping(cx, std::string(keyword[static_cast<size_t>(m)]) + "(" + p + "=0)", true, transform), 0);
            for (const Complex z : {Complex{0.7L, 0.3L}, Complex{-1.2L, 0.9L}}) {
                const Complex a = evalAt(cx, *text.map, z), b = evalAt(cx, *transform.map, z);
                EXPECT_NEAR(static_cast<double>(a.re), static_cast<double>(b.re), 1e-12) << n << " " << m;
                EXPECT_NEAR(static_cast<double>(a.im), static_cast<double>(b.im), 1e-12) << n << " " << m;
            }
        }
    }
}
