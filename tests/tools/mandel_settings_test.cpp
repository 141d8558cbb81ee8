#include "base/messages.h"
#include "tools/mandel/mj_dialog.h"
#include "tools/mandel/mj_params.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {

MJParamTexts texts(const char* threshold, const char* reps, const char* thickness,
                   DisplayMode mode)
{
    return {threshold, reps, thickness, mode};
}

// Whole-record comparison for "nothing changed".
void expectSame(const MJParams& a, const MJParams& b)
{
    EXPECT_EQ(a.threshold, b.threshold);
    EXPECT_EQ(a.maxReps, b.maxReps);
    EXPECT_EQ(a.antiAlias, b.antiAlias);
    EXPECT_EQ(a.mode, b.mode);
    EXPECT_EQ(a.demThickness, b.demThickness);
    EXPECT_EQ(a.demScale, b.demScale);
    EXPECT_EQ(a.degree, b.degree);
}

} // namespace

TEST(MandelDefaults, WindowsStartWhereTheyShould)
{
    const MJParams m = defaultParams(false), j = defaultParams(true);
    EXPECT_FALSE(m.julia);
    EXPECT_TRUE(j.julia);
    EXPECT_EQ(m.degree, 2);
    EXPECT_EQ(m.threshold, 4);
    EXPECT_EQ(m.maxReps, 400);
    EXPECT_EQ(m.mode, DisplayMode::Bands);
    EXPECT_EQ(m.demThickness, 0.6L);
    EXPECT_EQ(m.demScale, 0.49L);
    EXPECT_EQ(m.binaryCount, 2);
    EXPECT_EQ(m.maxPeriod, 30000);
    const MJViewDefaults mv = viewDefaults(false), jv = viewDefaults(true);
    EXPECT_EQ(mv.centreX, -0.75L);
    EXPECT_EQ(mv.centreY, 0);
    EXPECT_EQ(mv.halfWidth, 1.4L);
    EXPECT_EQ(mv.mouseMode, 122);
    EXPECT_EQ(jv.centreX, 0);
    EXPECT_EQ(jv.halfWidth, 2.1L);
    EXPECT_EQ(jv.mouseMode, 121);
}

TEST(MandelSymmetry, MirrorForMandelbrotPointForEvenJulia)
{
    MJParams m = defaultParams(false), j = defaultParams(true);
    EXPECT_EQ(symmetryFor(m, -0.75L, 0), 1);
    EXPECT_EQ(symmetryFor(m, -0.75L, 1e-16L), 1);
    EXPECT_EQ(symmetryFor(m, -0.75L, 2e-16L), 0);
    EXPECT_EQ(symmetryFor(j, 0, 0), 2);
    EXPECT_EQ(symmetryFor(j, 0.5L, 0), 0); // off-centre: not point-symmetric about the view
    j.degree = 3;
    EXPECT_EQ(symmetryFor(j, 0, 0), 0);     // (-z)^3 + c != z^3 + c
    j.degree = 4;
    EXPECT_EQ(symmetryFor(j, 0, 0), 2);
    m.mode = DisplayMode::Binary;
    EXPECT_EQ(symmetryFor(m, -0.75L, 0), 0); // the sign of Im z flips under mirroring
}

TEST(MandelSettingsDialog, ModesRaiseTheThreshold)
{
    MJParams p = defaultParams(false);
    ASSERT_EQ(applyParamTexts(texts("4", "400", "0.6", DisplayMode::Blend), p), 0);
    EXPECT_EQ(p.threshold, 256);
    EXPECT_EQ(p.mode, DisplayMode::Blend);
    ASSERT_EQ(applyParamTexts(texts("4", "400", "0.6", DisplayMode::Binary), p), 0);
    EXPECT_EQ(p.threshold, 100);
    ASSERT_EQ(applyParamTexts(texts("4", "400", "0.6", DisplayMode::Bands), p), 0);
    EXPECT_EQ(p.threshold, 4);
    ASSERT_EQ(applyParamTexts(texts("1000", "400", "0.6", DisplayMode::Blend), p), 0);
    EXPECT_EQ(p.threshold, 1000); // already above: kept
    ASSERT_EQ(applyParamTexts(texts("4", "400", "0.6", DisplayMode::Dem), p), 0);
    EXPECT_EQ(p.threshold, 4);    // the distance render raises it only while drawing
    EXPECT_EQ(renderThreshold(p), 100000);
}

TEST(MandelSettingsDialog, AntiAliasingSuffix)
{
    MJParams p = defaultParams(false);
    ASSERT_EQ(applyParamTexts(texts("4", "400@1", "0.6", DisplayMode::Bands), p), 0);
    EXPECT_TRUE(p.antiAlias);
    EXPECT_EQ(p.maxReps, 400);
    ASSERT_EQ(applyParamTexts(texts("4", "400@0", "0.6", DisplayMode::Bands), p), 0);
    EXPECT_FALSE(p.antiAlias);
    ASSERT_EQ(applyParamTexts(texts("4", "250@7", "0.6", DisplayMode::Bands), p), 0);
    EXPECT_TRUE(p.antiAlias);
    EXPECT_EQ(p.maxReps, 250);
    ASSERT_EQ(applyParamTexts(texts("4", "400", "0.6", DisplayMode::Bands), p), 0);
    EXPECT_FALSE(p.antiAlias);
    // Exact halves round toward zero.
    ASSERT_EQ(applyParamTexts(texts("4", "400.5", "0.6", DisplayMode::Bands), p), 0);
    EXPECT_EQ(p.maxReps, 400);
    ASSERT_EQ(applyParamTexts(texts("4", "2147483647", "0.6", DisplayMode::Bands), p), 0);
    EXPECT_EQ(p.maxReps, 2147483647);
}

TEST(MandelSettingsDialog, BadFieldsAreRefusedAndChangeNothing)
{
    const MJParams before = defaultParams(false);
    struct Case {
        MJParamTexts t;
        int code;
    };
    const Case cases[] = {
        {texts("4", "1@1", "0.6", DisplayMode::Bands), 1017},
        {texts("4", "1", "0.6", DisplayMode::Blend), 1017},
        {texts("4", "2147483648", "0.6", DisplayMode::Bands), 1017},
        {texts("4", "many", "0.6", DisplayMode::Bands), 1001},
        {texts("4", "400@", "0.6", DisplayMode::Bands), 1001},
        {texts("4", "400", "-0.1", DisplayMode::Bands), 2017},
        {texts("4", "400", "", DisplayMode::Bands), 2001},
        {texts("0", "400", "0.6", DisplayMode::Blend), 14},
        {texts("-5", "400", "0.6", DisplayMode::Bands), 14},
        {texts("4x", "400", "0.6", DisplayMode::Bands), 1},
        {texts("4", "400", "0.6", DisplayMode::Iim), 17}, // no IIM button in Mandelbrot windows
        {texts("4", "400", "0.6", static_cast<DisplayMode>(5)), 17},
    };
    for (const Case& c : cases) {
        MJParams p = before;
        EXPECT_EQ(applyParamTexts(c.t, p), c.code) << c.t.threshold << " " << c.t.maxReps;
        expectSame(p, before);
    }
    EXPECT_EQ(messageText(1017), "out of bounds");
    EXPECT_EQ(messageText(14), "positive value?");
}

TEST(MandelSettingsDialog, ThicknessChoosesTheDemScale)
{
    MJParams p = defaultParams(true);
    ASSERT_EQ(applyParamTexts(texts("4", "400", "1", DisplayMode::Dem), p), 0);
    EXPECT_EQ(p.demScale, 0.25L);
    EXPECT_EQ(p.demThickness, 1);
    ASSERT_EQ(applyParamTexts(texts("4", "400", "0.999", DisplayMode::Iim), p), 0);
    EXPECT_EQ(p.demScale, 0.49L);
    EXPECT_EQ(p.mode, DisplayMode::Iim);
}

TEST(MandelSettingsDialog, ShownTexts)
{
    MJParams p = defaultParams(false);
    MJParamTexts t = paramTexts(p);
    EXPECT_EQ(t.threshold, "4.00");
    EXPECT_EQ(t.maxReps, "400");
    EXPECT_EQ(t.thickness, "0.6000000");
    p.antiAlias = true;
    p.threshold = 256.125L;
    EXPECT_EQ(paramTexts(p).maxReps, "400@1");
    EXPECT_EQ(paramTexts(p).threshold, "256.12");
    // What is shown is accepted back unchanged.
    MJParams q = defaultParams(false);
    ASSERT_EQ(applyParamTexts(paramTexts(p), q), 0);
    EXPECT_TRUE(q.antiAlias);
    EXPECT_EQ(q.maxReps, 400);
}

TEST(MandelDegree, TwoToTenAccepted)
{
    MJParams p = defaultParams(false);
    EXPECT_EQ(applyDegreeText("11", p), 17);
    EXPECT_EQ(p.degree, 2);
    EXPECT_EQ(applyDegreeText("1", p), 17);
    EXPECT_EQ(applyDegreeText("2.5", p), 17);
    EXPECT_EQ(applyDegreeText("three", p), 1);
    EXPECT_EQ(p.degree, 2);
    EXPECT_EQ(applyDegreeText(" 10 ", p), 0);
    EXPECT_EQ(p.degree, 10);
    EXPECT_EQ(applyDegreeText("3", p), 0);
    EXPECT_EQ(p.degree, 3);
}

