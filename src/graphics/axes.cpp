#include "graphics/axes.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <numeric>

namespace qx {

std::string formatReal(Real v, int width, int precision)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, "%*.*Lf", width, precision, v);
    return buf;
}

namespace {

constexpr Real kPi = std::numbers::pi_v<long double>;

// Nearest fraction n/d (d <= 100) of |v| / pi, reduced, signed as v.
std::string piLabel(Real v, int piChar, bool tex)
{
    const Real a = std::fabs(v) / kPi;
    int32_t n = 0, d = 1;
    for (d = 1; d <= 100; ++d) {
        n = roundHalfDown(d * a);
        if (std::fabs(d * a - n) < 0.5L / 100)
            break;
    }
    if (d > 100)
        d = 100;
    if (n == 0)
        return "0"; // zero times pi is written as a plain 0
    const int32_t g = std::gcd(n, d);
    n /= g;
    d /= g;
    if (v < 0)
        n = -n;
    std::string s = n == 1 ? "" : n == -1 ? "-" : std::to_string(n);
    s += tex ? std::string("\\pi") : std::string(1, static_cast<char>(piChar));
    if (d > 1)
        s += "/" + std::to_string(d);
    return s;
}

} // namespace

std::string axisScaleLabel(Real v, const AxisScale& axis, int piChar, int suffixChar, bool tex)
{
    const int p = axis.places % 10;
    std::string s;
    if (axis.piMultiples)
        s = piLabel(v, piChar, tex);
    else if (p == 0)
        s = std::to_string(roundHalfDown(v));
    else
        s = formatReal(v, p + 2, p);
    if (axis.places >= 10)
        s += static_cast<char>(suffixChar);
    return s;
}

std::vector<Real> tickValues(Real lo, Real hi, Real interval)
{
    std::vector<Real> out;
    if (!(interval > 0) || !(hi >= lo) || !std::isfinite(lo) || !std::isfinite(hi))
        return out;
    const Real first = std::ceil(lo / interval), last = std::floor(hi / interval);
    if (!(last >= first))
        return out;
    const Real count = last - first + 1;
    const Real step = count > kMaxTicks ? std::ceil(count / kMaxTicks) : 1;
    // Start on a multiple of the step so thinned ticks keep including 0.
    for (Real k = std::ceil(first / step) * step; k <= last; k += step)
        out.push_back(k * interval);
    return out;
}

namespace {

struct AxisFrame {
    const View& v;
    const GridSettings& s;
    bool xAxis() const { return s.axesOn && s.axesKind != AxesKind::YOnly && v.yMin <= 0 && 0 <= v.yMax; }
    bool yAxis() const { return s.axesOn && s.axesKind != AxesKind::XOnly && v.xMin <= 0 && 0 <= v.xMax; }
    // Half a tick, in world units along x and along y.
    Real tickX() const { return s.tickLength / 100 * v.pixWidth * v.dx / 2; }
    Real tickY() const { return s.tickLength / 100 * v.pixWidth * v.dy / 2; }
};

// The y range of the vertical grid line at x (quadrants I/IV right of 0, II/III left).
bool verticalExtent(const AxisFrame& f, Real x, Real& lo, Real& hi)
{
    const auto& q = f.s.quadrants;
    const bool up = (x >= 0 && q[0]) || (x <= 0 && q[1]);
    const bool down = (x >= 0 && q[3]) || (x <= 0 && q[2]);
    lo = down ? f.v.yMin : std::max<Real>(0, f.v.yMin);
    hi = up ? f.v.yMax : std::min<Real>(0, f.v.yMax);
    return (up || down) && lo < hi;
}

bool horizontalExtent(const AxisFrame& f, Real y, Real& lo, Real& hi)
{
    const auto& q = f.s.quadrants;
    const bool right = (y >= 0 && q[0]) || (y <= 0 && q[3]);
    const bool left = (y >= 0 && q[1]) || (y <= 0 && q[2]);
    lo = left ? f.v.xMin : std::max<Real>(0, f.v.xMin);
    hi = right ? f.v.xMax : std::min<Real>(0, f.v.xMax);
    return (left || right) && lo < hi;
}

void drawGrid(Canvas& c, const AxisFrame& f, const Pen& pen)
{
    Real lo, hi;
    for (Real x : tickValues(f.v.xMin, f.v.xMax, f.s.x.tickInterval))
        if (verticalExtent(f, x, lo, hi))
            c.drawSegment({x, lo}, {x, hi}, pen);
    for (Real y : tickValues(f.v.yMin, f.v.yMax, f.s.y.tickInterval))
        if (horizontalExtent(f, y, lo, hi))
            c.drawSegment({lo, y}, {hi, y}, pen);
}

TextStyle labelStyle(const Pen& pen, int offsetX, int offsetY)
{
    TextStyle t;
    t.colour = pen.colour;
    t.size = 8;
    t.offsetX = offsetX;
    t.offsetY = offsetY;
    return t;
}

// A scale label: its pi and degree codes are the grid's.
TextStyle scaleStyle(const Pen& pen, const GridSettings& s, int offsetX, int offsetY)
{
    TextStyle t = labelStyle(pen, offsetX, offsetY);
    t.piCode = s.x.piMultiples || s.y.piMultiples ? s.piChar : 0;
    t.degreeCode = s.suffixChar;
    return t;
}

// Ticks and labels along one axis; `alongX` picks the axis.
void drawTicks(Canvas& c, const AxisFrame& f, const Pen& pen, bool alongX)
{
    const AxisScale& a = alongX ? f.s.x : f.s.y;
    const bool otherAxis = alongX ? f.yAxis() : f.xAxis();
    const Real lo = alongX ? f.v.xMin : f.v.yMin, hi = alongX ? f.v.xMax : f.v.yMax;
    const std::vector<Real> ticks = tickValues(lo, hi, a.tickInterval);
    c.comment(alongX ? "x-ticks begin" : "y-ticks begin");
    for (Real t : ticks) {
        if (f.s.ticks) {
            if (alongX)
                c.drawSegment({t, -f.tickY()}, {t, f.tickY()}, pen);
            else
                c.drawSegment({-f.tickX(), t}, {f.tickX(), t}, pen);
        }
        const long k = std::lround(t / a.tickInterval);
        if (!f.s.scale || k % a.frequency != 0 || (t == 0 && otherAxis))
            continue;
        const std::string text = axisScaleLabel(t, a, f.s.piChar, f.s.suffixChar);
        if (alongX)
            c.drawText({t, 0}, text, scaleStyle(pen, f.s, 0, 4));
        else
            c.drawText({0, t}, text, scaleStyle(pen, f.s, -4, 0));
    }
    c.comment(alongX ? "x-ticks end" : "y-ticks end");
}

void drawAxis(Canvas& c, const AxisFrame& f, const Pen& pen, bool alongX)
{
    c.comment(alongX ? "x axis begin" : "y axis begin");
    if (alongX)
        c.drawSegment({f.v.xMin, 0}, {f.v.xMax, 0}, pen);
    else
        c.drawSegment({0, f.v.yMin}, {0, f.v.yMax}, pen);
    c.comment(alongX ? "x axis end" : "y axis end");
    drawTicks(c, f, pen, alongX);
}

} // namespace

void drawAxesAndGrid(Canvas& canvas, const GridSettings& s, const AxesPens& pens)
{
    const AxisFrame f{canvas.view(), s};
    if (s.gridOn()) {
        Pen grid = pens.grid;
        if (s.dotted)
            grid.style = PenDot;
        drawGrid(canvas, f, grid);
    }
    if (f.xAxis())
        drawAxis(canvas, f, pens.axis, true);
    if (f.yAxis())
        drawAxis(canvas, f, pens.axis, false);
    if (s.arrows) {
        // Heads as long as two ticks, at the right and top ends.
        const Real length = 4 * f.tickX();
        if (f.xAxis())
            canvas.drawArrowHead({f.v.xMin, 0}, {f.v.xMax, 0}, length, pens.axis.colour);
        if (f.yAxis())
            canvas.drawArrowHead({0, f.v.yMin}, {0, f.v.yMax}, length, pens.axis.colour);
    }
    if (s.letters && f.xAxis())
        canvas.drawText({f.v.xMax, 0}, "x", labelStyle(pens.axis, -10, -14));
    if (s.letters && f.yAxis())
        canvas.drawText({0, f.v.yMax}, "y", labelStyle(pens.axis, 6, 2));
}

} // namespace qx
