// Iterated function systems: map texts from geometry and triangles, the
// weighted selection, sequences, random systems, the chaos game in the
// window (Many, Clear, hidden maps) and both documents.
#include "model/common_header.h"
#include "model/fake_host.h"
#include "tools/ifs/tifswin.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qx;

TEST(IfsMaps, TextsFromGeometryAndTriangles)
{
    EXPECT_EQ(rotaryDilationText("0", {}, "0.5", "0.0", 0), "(0.5)z");
    EXPECT_EQ(rotaryDilationText("2", {2, 0}, "0.5", "pi/3", 1.047L), "2+(0.5)(z-(2))cis(pi/3)");
    EXPECT_EQ(rotaryDilationText("i", {0, 1}, "0.3", "1e-20", 1e-20L), "i+(0.3)(z-(i))");

    const Triangle p{{{0, 0}, {6, 4}, {-2, 6}}}, q{{{0, 0}, {3, 2}, {-1, 3}}};
    const Affine a = affineFromTriangles(p, q);
    for (size_t k = 0; k < 3; ++k) {
        const WorldPoint r = a.apply(p[k]);
        EXPECT_NEAR(static_cast<double>(r.x), static_cast<double>(q[k].x), 1e-15);
        EXPECT_NEAR(static_cast<double>(r.y), static_cast<double>(q[k].y), 1e-15);
    }
    // Collinear reference vertices: the cross product is taken as 1e-16, the map stays finite.
    const Affine d = affineFromTriangles({{{0, 0}, {1, 1}, {2, 2}}}, q);
    EXPECT_TRUE(std::isfinite(d.a) && std::isfinite(d.d) && std::isfinite(d.e));
    EXPECT_EQ(linearText(0.5L, -0.25L, 1), "0.5*x - 0.25*y + 1");
    EXPECT_EQ(linearText(-2, 0, -3), "-2*x + 0*y - 3");
}

namespace {

// Maps as the tools compile them, in a complex environment.
struct Compiled {
    ExprContext cx{true};
    std::vector<IfsMap> maps;
    std::vector<TreePtr> trees;
    explicit Compiled(std::vector<std::string> texts)
    {
        for (const std::string& t : texts) {
            IfsMap m;
            m.text = t;
            maps.push_back(m);
            trees.emplace_back();
            EXPECT_EQ(CompileExpression(cx, t, trees.back()), 0) << t;
        }
    }
    IfsStepper stepper(std::vector<int16_t> sequence = {}) const
    {
        std::vector<std::array<const ExprNode*, 2>> t;
        for (const TreePtr& p : trees)
            t.push_back({p.get(), nullptr});
        return IfsStepper(cx.env, true, maps, t, std::move(sequence));
    }
};

} // namespace

TEST(IfsMaps, SelectionTableSequencesAndHiddenMaps)
{
    Compiled c({"z+1", "2z", "z+100", "z*i"});
    c.maps[0].weight = 100;
    c.maps[2].visible = false;
    const std::vector<int16_t> table = selectionTable(c.maps);
    ASSERT_EQ(table.size(), 102u); // 100 + 1 + 1: map 0 is chosen with probability 100/102
    EXPECT_EQ(std::count(table.begin(), table.end(), 0), 100);
    EXPECT_EQ(std::count(table.begin(), table.end(), 2), 0); // hidden
    // The sequence 0, 3, 1: ((z + 1) i) 2 in one step.
    IfsStepper s = c.stepper({0, 3, 1});
    std::mt19937 rng(1);
    Complex w{1, 0};
    int colour = 0;
    ASSERT_TRUE(s.step(w, rng, colour));
    EXPECT_EQ(w.re, 0);
    EXPECT_EQ(w.im, 4);
    // A hidden map in the sequence stops the step there.
    IfsStepper stopped = c.stepper({0, 2, 1});
    w = {1, 0};
    EXPECT_TRUE(stopped.step(w, rng, colour));
    EXPECT_EQ(w.re, 2);
    // Every map hidden: nothing applies, the point stays.
    for (IfsMap& m : c.maps)
        m.visible = false;
    IfsStepper none = c.stepper();
    w = {5, 5};
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(none.step(w, rng, colour));
    EXPECT_EQ(w.re, 5);
}

namespace {

template <typename Win>
struct IfsFixture : ::testing::Test {
    FakeHost host;
    Win win;
    void SetUp() override
    {
        win.setWriteSettings(false);
        win.setRandomSeed(7);
        win.attach(host);
        win.resize(200, 160);
        ASSERT_EQ(win.setBatch("5000"), 0);
        win.draw();
        paintAndFinish(win);
    }
    int litPixels() const
    {
        int n = 0;
        const Image& im = win.figureImage();
        for (int y = 0; y < im.height; ++y)
            for (int x = 0; x < im.width; ++x)
                n += im.at(x, y) != im.at(0, 0);
        return n;
    }
};

using ComplexIfs = IfsFixture<TIfcWin>;
using RealIfs = IfsFixture<TIfrWin>;

} // namespace

TEST_F(ComplexIfs, ChaosGameManyClearAndHiddenMaps)
{
    EXPECT_EQ(win.mapCount(), 3); // the Gasket
    EXPECT_EQ(win.plotted(), 5000);
    const int first = litPixels();
    EXPECT_GT(first, 300);
    win.many();
    paintAndFinish(win);
    EXPECT_EQ(win.plotted(), 10000); // on from where the orbit was, nothing erased
    EXPECT_GE(litPixels(), first);
    win.clearPoints();
    paintAndFinish(win);
    EXPECT_EQ(win.plotted(), 0);
    EXPECT_EQ(litPixels(), 0);
    for (int i = 0; i < win.mapCount(); ++i)
        win.setMapVisible(i, false);
    win.many();
    paintAndFinish(win);
    EXPECT_EQ(litPixels(), 0); // no map is ever applied

    EXPECT_EQ(win.setBatch("0"), ErrPositiveValue);
    EXPECT_EQ(win.setSequence("05"), ErrInconsistentData); // there is no map 5
    EXPECT_EQ(win.setSequence("021"), 0);
    EXPECT_EQ(win.sequence().size(), 3u);
}

TEST_F(ComplexIfs, EditingRandomSystemsAndDocuments)
{
    // A geometric map about 0 without a turn compiles as (0.5)z.
    IfsMap m;
    m.geometric = true;
    m.fixedText = "0";
    m.dilationText = "0.5";
    m.angleText = "0";
    ASSERT_EQ(win.setMap(0, m), 0);
    EXPECT_EQ(win.maps()[0].text, "(0.5)z");
    m.fixedText = "1+";
    EXPECT_NE(win.setMap(0, m), 0);
    m.fixedText = "0";
    m.weight = 101;
    EXPECT_EQ(win.setMap(0, m), ErrOutOfBounds);
    EXPECT_EQ(win.maps()[0].weight, 1); // nothing changed

    EXPECT_EQ(win.randomMaps(0), ErrPositiveValue);
    EXPECT_EQ(win.randomMaps(31), ErrOutOfBounds);
    EXPECT_EQ(win.mapCount(), 3);
    ASSERT_EQ(win.randomMaps(5), 0);
    EXPECT_EQ(win.maps()[1].fixedText, "cis(2pi/5)");
    EXPECT_EQ(win.maps()[0].fixedText, "cis(0pi/5)");

    ASSERT_TRUE(win.applyPreset(564)); // Cantor: uses the constants K and T
    ASSERT_EQ(win.setSequence("10"), 0);
    ByteWriter w;
    win.writeBody(w);
    TIfcWin other(false);
    other.setWriteSettings(false);
    other.resize(200, 160);
    ByteReader r(w.data());
    CommonHeader h;
    ASSERT_EQ(other.readBody(r, h), 0);
    EXPECT_EQ(other.mapCount(), 2);
    EXPECT_EQ(other.maps()[1].fixedText, "i-1");
    EXPECT_EQ(other.variable('K' - '@').re, 0.64L);
    EXPECT_EQ(other.sequence(), win.sequence());
    ByteWriter again;
    other.writeBody(again);
    EXPECT_EQ(again.data(), w.data());
    for (size_t n = 0; n < w.data().size(); n += 211) {
        ByteReader cut(w.data().data(), n);
        TIfcWin third(false);
        EXPECT_NE(third.readBody(cut, h), 0) << n;
        EXPECT_EQ(third.mapCount(), 0);
    }
}

TEST_F(RealIfs, TrianglesTextsAndTheReference)
{
    EXPECT_EQ(win.mapCount(), 4); // the Fern
    EXPECT_GT(litPixels(), 300);
    // A map by its texts gets the image of the reference triangle.
    ASSERT_TRUE(win.applyPreset(554)); // Gasket: reference (0,0) (6,4) (-2,6)
    IfsMap m;
    m.newX = "x/2";
    m.newY = "y/2+1";
    ASSERT_EQ(win.setMap(3, m), 0);
    EXPECT_EQ(win.maps()[3].image[1].x, 3);
    EXPECT_EQ(win.maps()[3].image[1].y, 3);
    // A new reference triangle redefines the triangle maps, not the text map.
    const std::string before = win.maps()[0].newX;
    win.setReference({{{0, 0}, {1, 0}, {0, 1}}});
    EXPECT_NE(win.maps()[0].newX, before);
    EXPECT_EQ(win.maps()[3].newX, "x/2");
    // Random with one map: Q2 = (1, 0).
    ASSERT_EQ(win.randomMaps(1), 0);
    ASSERT_EQ(win.mapCount(), 1);
    EXPECT_EQ(win.maps()[0].image[1].x, 1);
    EXPECT_EQ(win.maps()[0].image[1].y, 0);

    ASSERT_TRUE(win.applyPreset(557));
    ByteWriter w;
    win.writeBody(w);
    TIfrWin other(false);
    other.setWriteSettings(false);
    other.resize(200, 160);
    ByteReader r(w.data());
    CommonHeader h;
    ASSERT_EQ(other.readBody(r, h), 0);
    EXPECT_EQ(other.mapCount(), 4);
    EXPECT_EQ(other.maps()[1].weight, 30);
    EXPECT_EQ(other.reference()[2].y, 10.00473L);
    ByteWriter again;
    other.writeBody(again);
    EXPECT_EQ(again.data(), w.data());
    for (size_t n = 0; n < w.data().size(); n += 173) {
        ByteReader cut(w.data().data(), n);
        TIfrWin third(false);
        EXPECT_NE(third.readBody(cut, h), 0) << n;
    }
}

namespace {

PixelPoint pixelOf(const View& v, WorldPoint w)
{
    return {static_cast<int32_t>(std::lround(v.xToPixelF(w.x))), static_cast<int32_t>(std::lround(v.yToPixelF(w.y)))};
}

} // namespace

TEST_F(RealIfs, CollageMovesTrianglesAndTheMapsFollow)
{
    win.startCollage(); // the Fern: four triangle maps
    EXPECT_TRUE(win.inCollage());
    EXPECT_EQ(win.activeTriangle(), 0);
    host.currentTitle.clear();
    win.restoreTitle();
    EXPECT_EQ(host.currentTitle, "edit collage triangle");
    for (int expected : {1, 2, 3, -1, 0}) {
        win.nextTriangle();
        EXPECT_EQ(win.activeTriangle(), expected);
    }
    win.nextTriangle(); // map 1
    const std::string map0 = win.maps()[0].newX, map1 = win.maps()[1].newX, map2 = win.maps()[2].newX;
    // Drag vertex 3 of map 1's image triangle with the mouse: only map 1 changes.
    const WorldPoint v3 = win.maps()[1].image[2];
    win.mouseDown(MouseButton::Left, pixelOf(win.view(), v3));
    win.mouseMove(pixelOf(win.view(), {v3.x - 1, v3.y - 1}));
    win.mouseUp(MouseButton::Left, pixelOf(win.view(), {v3.x - 1, v3.y - 1}));
    EXPECT_NE(win.maps()[1].newX, map1);
    EXPECT_EQ(win.maps()[0].newX, map0);
    EXPECT_EQ(win.maps()[2].newX, map2);
    EXPECT_EQ(win.plotted(), 0);
    // The reference triangle: every triangle map follows.
    while (win.activeTriangle() != -1)
        win.nextTriangle();
    EXPECT_EQ(win.vertexNear({50, 50}, 5), -1); // nothing near
    win.moveVertex(1, {2.5L, 3.5L});
    EXPECT_NE(win.maps()[2].newX, map2);
    EXPECT_EQ(win.setIconSize(51), ErrOutOfBounds);
    EXPECT_EQ(win.setIconSize(0), ErrOutOfBounds);
    ASSERT_EQ(win.setIconSize(6), 0);
    EXPECT_EQ(win.setCollageColour(2, 61), ErrOutOfBounds);
    // Discard: everything as before the collage.
    win.endCollage(false);
    EXPECT_FALSE(win.inCollage());
    EXPECT_EQ(win.maps()[1].newX, map1);
    EXPECT_EQ(win.reference()[1].x, 2.466754L);
    // Keep: the change stays.
    win.startCollage();
    win.moveVertex(0, {0.1L, 0.1L});
    win.endCollage(true);
    EXPECT_EQ(win.maps()[0].image[0].x, 0.1L);
    // Without triangle maps the reference stays active.
    ASSERT_TRUE(win.applyPreset(574));
    win.startCollage();
    EXPECT_EQ(win.activeTriangle(), -1);
    win.nextTriangle();
    EXPECT_EQ(win.activeTriangle(), -1);
    win.endCollage(true);
}

TEST_F(ComplexIfs, DraggingAFixedPointRebuildsItsMap)
{
    ASSERT_TRUE(win.handleCommand(125)); // Drag fixed points
    const Complex p = win.maps()[0].fixedPoint; // 2
    const View& v = win.view();
    win.mouseDown(MouseButton::Left, pixelOf(v, {p.re, p.im}));
    EXPECT_EQ(win.draggedMap(), 0);
    const WorldPoint to{p.re - 0.5L, p.im + 0.25L};
    win.mouseMove(pixelOf(v, to));
    win.mouseUp(MouseButton::Left, pixelOf(v, to));
    EXPECT_EQ(win.draggedMap(), -1);
    const WorldPoint at = v.pixelToWorld(pixelOf(v, to));
    EXPECT_NEAR(static_cast<double>(win.maps()[0].fixedPoint.re), static_cast<double>(at.x), 1e-12);
    EXPECT_NE(win.maps()[0].fixedText, "2");
    EXPECT_NE(win.maps()[0].text.find(win.maps()[0].fixedText), std::string::npos);
    // A click far from every fixed point picks nothing.
    win.mouseDown(MouseButton::Left, {2, 2});
    EXPECT_EQ(win.draggedMap(), -1);
}
