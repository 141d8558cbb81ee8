#include "graphics/axes.h"
#include "graphics/grid_settings.h"
#include "graphics/recording_canvas.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace qx;

namespace {

constexpr Real kPi = std::numbers::pi_v<long double>;

AxisScale decimals(int places)
{
    AxisScale a;
    a.places = places;
    return a;
}

AxisScale piScale()
{
    AxisScale a;
    a.piMultiples = true;
    return a;
}

View squareView(Real hw)
{
    View v;
    v.pixWidth = 101;
    v.pixHeight = 101;
    v.setViewByCenter(0, 0, hw);
    return v;
}

} // namespace

TEST(AxisScaleLabel, DecimalPlacesAndSuffix)
{
    EXPECT_EQ(axisScaleLabel(1.25L, decimals(1), 112, 176), "1.2");
    EXPECT_EQ(axisScaleLabel(-0.5L, decimals(2), 112, 176), "-0.50");
    EXPECT_EQ(axisScaleLabel(2.5L, decimals(0), 112, 176), "2");   // halves toward zero
    EXPECT_EQ(axisScaleLabel(-3.5L, decimals(10), 112, 176), "-3\xB0"); // places 10: 0 decimals + degree sign
    EXPECT_EQ(axisScaleLabel(90, decimals(12), 112, 176), "90.00\xB0");
    EXPECT_EQ(formatReal(3.14159L, 4, 2), "3.14");
    EXPECT_EQ(formatReal(2, 8, 3), "   2.000");
}

TEST(AxisScaleLabel, MultiplesOfPi)
{
    EXPECT_EQ(axisScaleLabel(kPi, piScale(), 112, 176), "p");
    EXPECT_EQ(axisScaleLabel(-kPi, piScale(), 112, 176), "-p");
    EXPECT_EQ(axisScaleLabel(2 * kPi, piScale(), 112, 176), "2p");
    EXPECT_EQ(axisScaleLabel(kPi / 2, piScale(), 112, 176), "p/2");
    EXPECT_EQ(axisScaleLabel(-3 * kPi / 4, piScale(), 112, 176), "-3p/4");
    EXPECT_EQ(axisScaleLabel(2 * kPi / 6, piScale(), 112, 176), "p/3"); // reduced
    EXPECT_EQ(axisScaleLabel(kPi / 2, piScale(), 960, 176, true), "\\pi/2");
    EXPECT_EQ(axisScaleLabel(0, piScale(), 112, 176), "0");
    // 1 is 0.31831 pi: the first d with d * 0.31831 within 0.005 of a whole number is 22.
    EXPECT_EQ(axisScaleLabel(1, piScale(), 112, 176), "7p/22");
}

TEST(TickValues, MultiplesOfTheIntervalInRange)
{
    const auto t = tickValues(-1.1L, 2.05L, 0.5L);
    ASSERT_EQ(t.size(), 7u);
    EXPECT_EQ(t.front(), -1);
    EXPECT_EQ(t[2], 0);
    EXPECT_EQ(t.back(), 2);
    EXPECT_TRUE(tickValues(0.1L, 0.2L, 1).empty());
    EXPECT_TRUE(tickValues(0, 1, 0).empty());
    EXPECT_TRUE(tickValues(0, 1, -1).empty());
    // A far too fine interval is thinned to at most kMaxTicks ticks, keeping 0.
    const auto fine = tickValues(-1, 1, 1e-6L);
    EXPECT_LE(fine.size(), static_cast<size_t>(kMaxTicks));
    EXPECT_GE(fine.size(), static_cast<size_t>(kMaxTicks) / 2);
    EXPECT_NE(std::find(fine.begin(), fine.end(), Real(0)), fine.end());
}

TEST(AxesDrawing, NothingWhenOff)
{
    const View v = squareView(2);
    const Palette p = defaultPalette();
    RecordingCanvas c(v, p);
    drawAxesAndGrid(c, GridSettings{}, AxesPens{});
    EXPECT_TRUE(c.log.empty());
}

TEST(AxesDrawing, AxesTicksLabelsAndCommentsInOrder)
{
    const View v = squareView(2);
    const Palette p = defaultPalette();
    RecordingCanvas c(v, p);
    GridSettings s;
    s.axesOn = true;
    AxesPens pens{Pen{5, 1, 0}, Pen{7, 1, 0}};
    drawAxesAndGrid(c, s, pens);
    ASSERT_GE(c.log.size(), 4u);
    EXPECT_EQ(c.log[0], "comment x axis begin");
    EXPECT_EQ(c.log[1], "segment (-2,0) (2,0) pen(5,1,0)");
    EXPECT_EQ(c.log[2], "comment x axis end");
    EXPECT_EQ(c.log[3], "comment x-ticks begin");
    // Five ticks on each axis (-2..2), labels at all but the crossing 0.
    EXPECT_EQ(c.count("segment"), 2u + 10u);
    const auto texts = c.linesStartingWith("text");
    ASSERT_EQ(texts.size(), 8u + 2u);
    EXPECT_EQ(texts[0].substr(0, 21), "text (-2,0) \"-2.0\" co");
    EXPECT_EQ(texts[8].substr(0, 15), "text (2,0) \"x\" ");
    EXPECT_EQ(texts[9].substr(0, 15), "text (0,2) \"y\" ");
    EXPECT_EQ(c.count("comment y-ticks end"), 1u);
}

// Remembers the style of every text, beside the recording.
struct StyleCanvas : RecordingCanvas {
    using RecordingCanvas::RecordingCanvas;
    std::vector<std::pair<std::string, TextStyle>> texts;
    void drawText(WorldPoint a, const std::string& text, const TextStyle& style) override
    {
        texts.emplace_back(text, style);
        RecordingCanvas::drawText(a, text, style);
    }
};

TEST(AxesDrawing, ScaleLabelsNameTheirSignCodes)
{
    // The screen and the text formats show real pi and degree signs only if
    // they know which bytes are the codes; the letters "x" and "y" have none.
    const View v = squareView(4);
    const Palette p = defaultPalette();
    StyleCanvas c(v, p);
    GridSettings s;
    s.axesOn = true;
    s.x = piScale();
    s.x.tickInterval = kPi / 2;
    s.y = decimals(11); // one decimal and the degree suffix
    drawAxesAndGrid(c, s, AxesPens{Pen{5, 1, 0}, Pen{7, 1, 0}});
    bool sawPi = false, sawDegree = false;
    for (const auto& [text, style] : c.texts) {
        if (text == "x" || text == "y") {
            EXPECT_EQ(style.piCode, 0);
            continue;
        }
        EXPECT_EQ(style.piCode, 112) << text;
        EXPECT_EQ(style.degreeCode, 176) << text;
        sawPi = sawPi || text.find('p') != std::string::npos;
        sawDegree = sawDegree || text.find('\xB0') != std::string::npos;
    }
    EXPECT_TRUE(sawPi);
    EXPECT_TRUE(sawDegree);
}

// Arrowheads at the right and top ends, two ticks long, in the axis colour;
// PiCTeX writes its own arrow instead of a filled triangle.
TEST(AxesDrawing, ArrowheadsAtThePositiveEnds)
{
    const View v = squareView(2);
    const Palette p = defaultPalette();
    RecordingCanvas c(v, p);
    GridSettings s;
    s.axesOn = true;
    s.arrows = true;
    s.tickLength = 5; // a tick: 5% of 101 pixels of 0.04 world units, 0.202
    drawAxesAndGrid(c, s, AxesPens{Pen{5, 1, 0}, Pen{7, 1, 0}});
    const auto heads = c.linesStartingWith("polygon");
    ASSERT_EQ(heads.size(), 2u);
    // Two ticks long (0.404) and a third as wide on each side.
    EXPECT_EQ(heads[0].substr(0, 51), "polygon 3 (2,0) (1.596,-0.134667) (1.596,0.134667) ") << heads[0];
    EXPECT_NE(heads[0].find("fill 5 hatch 0"), std::string::npos) << heads[0];
    EXPECT_EQ(heads[1].substr(0, 17), "polygon 3 (0,2) (") << heads[1];
    s.axesKind = AxesKind::XOnly;
    RecordingCanvas x(v, p);
    drawAxesAndGrid(x, s, AxesPens{});
    EXPECT_EQ(x.linesStartingWith("polygon").size(), 1u);
}

TEST(AxesDrawing, XOnlyAndAxisOutOfView)
{
    View v;
    v.pixWidth = 101;
    v.pixHeight = 101;
    v.setViewByCenter(0, 10, 2); // y from 8 to 12: the x axis is not in view
    const Palette p = defaultPalette();
    RecordingCanvas c(v, p);
    GridSettings s;
    s.axesOn = true;
    s.letters = false;
    drawAxesAndGrid(c, s, AxesPens{});
    EXPECT_EQ(c.count("comment x axis"), 0u);
    EXPECT_EQ(c.count("comment y axis begin"), 1u);
    s.axesKind = AxesKind::XOnly;
    RecordingCanvas d(v, p);
    drawAxesAndGrid(d, s, AxesPens{});
    EXPECT_TRUE(d.log.empty());
}

TEST(GridDrawing, QuadrantsAndDottedPen)
{
    const View v = squareView(2);
    const Palette p = defaultPalette();
    GridSettings s;
    s.quadrants = {true, false, false, false}; // quadrant I only
    s.dotted = true;
    RecordingCanvas c(v, p);
    drawAxesAndGrid(c, s, AxesPens{Pen{5, 1, 0}, Pen{7, 1, 0}});
    const auto segs = c.linesStartingWith("segment");
    // Vertical lines at x = 0, 1, 2 from y 0 up, horizontal at y = 0, 1, 2 from x 0 right.
    ASSERT_EQ(segs.size(), 6u);
    EXPECT_EQ(segs[0], "segment (0,0) (0,2) pen(7,1,2)");
    EXPECT_EQ(segs[2], "segment (2,0) (2,2) pen(7,1,2)");
    EXPECT_EQ(segs[3], "segment (0,0) (2,0) pen(7,1,2)");
    // All four quadrants: whole lines, one per tick value.
    s.quadrants = {true, true, true, true};
    s.dotted = false;
    RecordingCanvas d(v, p);
    drawAxesAndGrid(d, s, AxesPens{Pen{5, 1, 0}, Pen{7, 1, 0}});
    const auto all = d.linesStartingWith("segment");
    ASSERT_EQ(all.size(), 10u);
    EXPECT_EQ(all[0], "segment (-2,-2) (-2,2) pen(7,1,0)");
    // Quadrants II and III: the left half plane.
    s.quadrants = {false, true, true, false};
    RecordingCanvas e(v, p);
    drawAxesAndGrid(e, s, AxesPens{});
    EXPECT_EQ(e.count("segment"), 3u + 5u);
    EXPECT_EQ(e.linesStartingWith("segment")[3], "segment (-2,-2) (0,-2) pen(1,1,0)");
}

TEST(GridSettingsValidation, TextsRoundTripAndErrorsName)
{
    GridSettings s;
    s.x.tickInterval = 0.25L;
    s.y.places = 12;
    const GridTexts t = gridTexts(s);
    EXPECT_EQ(t.xInterval, "0.25");
    EXPECT_EQ(t.yPlaces, "12");
    GridSettings out;
    ASSERT_EQ(applyGridTexts(t, out), 0);
    EXPECT_EQ(out.x.tickInterval, 0.25L);
    EXPECT_EQ(out.y.places, 12);

    GridSettings keep;
    GridTexts bad = t;
    bad.tickLength = "abc";
    EXPECT_EQ(applyGridTexts(bad, keep), 1);
    bad = t;
    bad.tickLength = "0";
    EXPECT_EQ(applyGridTexts(bad, keep), 14);
    bad = t;
    bad.tickLength = "60";
    EXPECT_EQ(applyGridTexts(bad, keep), 17);
    bad = t;
    bad.xInterval = "-1";
    EXPECT_EQ(applyGridTexts(bad, keep), 1014);
    bad = t;
    bad.xFrequency = "0";
    EXPECT_EQ(applyGridTexts(bad, keep), 1017);
    bad = t;
    bad.yPlaces = "1.5";
    EXPECT_EQ(applyGridTexts(bad, keep), 2001);
    bad = t;
    bad.yPlaces = "20";
    EXPECT_EQ(applyGridTexts(bad, keep), 2017);
    EXPECT_EQ(keep, GridSettings{}); // unchanged by every refusal
}
