#include "graphics/raster_canvas.h"

#include "graphics/pixel_font.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qx {

namespace {

int outCode(Real x, Real y, Real lo, Real hiX, Real hiY)
{
    return (x < lo ? 1 : 0) | (x > hiX ? 2 : 0) | (y < lo ? 4 : 0) | (y > hiY ? 8 : 0);
}

// Cohen-Sutherland clip of (x0,y0)-(x1,y1) to [lo, hiX] x [lo, hiY]; false
// when nothing is left. A clipped end is put exactly on the border and only
// the other coordinate is interpolated, so ends far outside lose no precision.
bool clipLine(Real& x0, Real& y0, Real& x1, Real& y1, Real lo, Real hiX, Real hiY)
{
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return false;
    int c0 = outCode(x0, y0, lo, hiX, hiY), c1 = outCode(x1, y1, lo, hiX, hiY);
    for (int guard = 0; c0 | c1; ++guard) {
        if ((c0 & c1) || guard == 8) // rounding can make a corner bounce; give up then
            return false;
        const int c = c0 ? c0 : c1;
        Real x, y;
        if (c & 1) { x = lo; y = y0 + (y1 - y0) * ((lo - x0) / (x1 - x0)); }
        else if (c & 2) { x = hiX; y = y0 + (y1 - y0) * ((hiX - x0) / (x1 - x0)); }
        else if (c & 4) { y = lo; x = x0 + (x1 - x0) * ((lo - y0) / (y1 - y0)); }
        else { y = hiY; x = x0 + (x1 - x0) * ((hiY - y0) / (y1 - y0)); }
        if (c == c0) { x0 = x; y0 = y; c0 = outCode(x, y, lo, hiX, hiY); }
        else { x1 = x; y1 = y; c1 = outCode(x, y, lo, hiX, hiY); }
    }
    return true;
}

// Walks a dash pattern one pixel at a time.
class Dasher {
public:
    explicit Dasher(int style) : pattern_(dashPattern(style)) {}
    bool next()
    {
        if (pattern_.count == 0)
            return true;
        const int on = pattern_.on[part_], off = pattern_.off[part_];
        const bool draw = pos_ < on;
        if (++pos_ >= on + off) {
            pos_ = 0;
            part_ = (part_ + 1) % pattern_.count;
        }
        return draw;
    }

private:
    DashPattern pattern_;
    int part_ = 0;
    int pos_ = 0;
};

bool hatchHit(int hatch, long x, long y)
{
    switch (hatch) {
    case 1: return y % 6 == 0;
    case 2: return x % 6 == 0;
    case 3: return (x + y) % 6 == 0;
    case 4: return (x - y + 6000000) % 6 == 0;
    case 5: return y % 6 == 0 || x % 6 == 0;
    case 6: return (x + y) % 6 == 0 || (x - y + 6000000) % 6 == 0;
    default: return true;
    }
}

} // namespace

void RasterCanvas::plot(long x, long y, Rgb c, int width)
{
    const int w = std::max(width, 1);
    const long from = -(w - 1) / 2;
    for (long dy = from; dy < from + w; ++dy)
        for (long dx = from; dx < from + w; ++dx)
            if (image_.contains(static_cast<int>(x + dx), static_cast<int>(y + dy)))
                image_.set(static_cast<int>(x + dx), static_cast<int>(y + dy), c);
}

void RasterCanvas::line(Real x0, Real y0, Real x1, Real y1, const Pen& pen)
{
    const Real margin = pen.width + 1;
    if (!clipLine(x0, y0, x1, y1, -margin, image_.width + margin, image_.height + margin))
        return;
    long ax = roundHalfDown(x0), ay = roundHalfDown(y0);
    const long bx = roundHalfDown(x1), by = roundHalfDown(y1);
    const long ddx = std::labs(bx - ax), ddy = -std::labs(by - ay);
    const long sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    long err = ddx + ddy;
    Dasher dash(penStyle(pen));
    const Rgb c = colour(pen.colour);
    for (;;) { // Bresenham
        if (dash.next())
            plot(ax, ay, c, pen.width);
        if (ax == bx && ay == by)
            break;
        const long e2 = 2 * err;
        if (e2 >= ddy) { err += ddy; ax += sx; }
        if (e2 <= ddx) { err += ddx; ay += sy; }
    }
}

void RasterCanvas::drawSegment(WorldPoint a, WorldPoint b, const Pen& pen)
{
    if (!clipToInnerFrame(view(), a, b))
        return;
    const View& v = view();
    line(v.xToPixelF(a.x), v.yToPixelF(a.y), v.xToPixelF(b.x), v.yToPixelF(b.y), pen);
}

void RasterCanvas::drawPolyline(std::span<const WorldPoint> ps, const Pen& pen)
{
    for (size_t i = 1; i < ps.size(); ++i)
        drawSegment(ps[i - 1], ps[i], pen);
}

void RasterCanvas::fillPolygon(std::span<const WorldPoint> ps, std::optional<int> fill, const Pen& outline,
                               int hatch)
{
    if (ps.size() < 3)
        return;
    const View& v = view();
    std::vector<Real> xs(ps.size()), ys(ps.size());
    for (size_t i = 0; i < ps.size(); ++i) {
        xs[i] = v.xToPixelF(ps[i].x);
        ys[i] = v.yToPixelF(ps[i].y);
    }
    if (fill) { // even-odd scanlines through pixel centres
        const Rgb c = colour(*fill);
        std::vector<Real> cuts;
        for (int row = 0; row < image_.height; ++row) {
            cuts.clear();
            for (size_t i = 0, j = ps.size() - 1; i < ps.size(); j = i++)
                if ((ys[i] <= row) != (ys[j] <= row))
                    cuts.push_back(xs[j] + (row - ys[j]) * (xs[i] - xs[j]) / (ys[i] - ys[j]));
            std::sort(cuts.begin(), cuts.end());
            for (size_t k = 0; k + 1 < cuts.size(); k += 2) {
                const long from = std::max<long>(0, static_cast<long>(std::ceil(cuts[k])));
                const long to = std::min<long>(image_.width - 1, static_cast<long>(std::floor(cuts[k + 1])));
                if (hatch == 0 && from <= to) // solid: the span at once
                    std::fill(image_.row(row) + from, image_.row(row) + to + 1, c | kOpaque);
                else
                    for (long x = from; x <= to; ++x)
                        if (hatchHit(hatch, x, row))
                            image_.set(static_cast<int>(x), row, c);
            }
        }
    }
    for (size_t i = 0, j = ps.size() - 1; i < ps.size(); j = i++)
        line(xs[j], ys[j], xs[i], ys[i], outline);
}

void RasterCanvas::drawRect(WorldPoint a, WorldPoint b, std::optional<int> fill, const Pen& outline, int, int)
{
    const WorldPoint corners[4] = {a, {b.x, a.y}, b, {a.x, b.y}};
    fillPolygon(corners, fill, outline, 0);
}

void RasterCanvas::drawMark(WorldPoint p, MarkKind kind, int size, int colourIndex)
{
    const View& v = view();
    const Real x = v.xToPixelF(p.x), y = v.yToPixelF(p.y), s = size;
    const Pen pen{static_cast<int16_t>(colourIndex), 1, PenSolid};
    if (kind == MarkKind::Cross) {
        line(x - s, y, x + s, y, pen);
        line(x, y - s, x, y + s, pen);
        return;
    }
    line(x - s, y - s, x + s, y - s, pen);
    line(x + s, y - s, x + s, y + s, pen);
    line(x + s, y + s, x - s, y + s, pen);
    line(x - s, y + s, x - s, y - s, pen);
}

void RasterCanvas::drawText(WorldPoint anchor, const std::string& text, const TextStyle& style)
{
    const Real ax = view().xToPixelF(anchor.x), ay = view().yToPixelF(anchor.y);
    if (!std::isfinite(ax) || !std::isfinite(ay) || std::fabs(ax) > 1e6L || std::fabs(ay) > 1e6L)
        return;
    const long left = roundHalfDown(ax) + style.offsetX, top = roundHalfDown(ay) + style.offsetY;
    const Rgb c = colour(style.colour);
    long x = left;
    for (unsigned char ch : text) {
        const auto rows = glyphRows(ch);
        if (style.opaque)
            for (long dy = -1; dy <= kGlyphHeight; ++dy)
                for (long dx = -1; dx < kGlyphAdvance; ++dx)
                    plot(x + dx, top + dy, colour(0), 1);
        for (int r = 0; r < kGlyphHeight; ++r)
            for (int col = 0; col < kGlyphWidth; ++col)
                if (rows[static_cast<size_t>(r)] & (0x10 >> col))
                    plot(x + col, top + r, c, 1);
        x += kGlyphAdvance;
    }
}

void RasterCanvas::drawDotList(std::span<const WorldPoint> ps, std::optional<int> fill, std::optional<int> outline,
                               int size)
{
    const View& v = view();
    const int n = std::max(size, 1);
    for (const auto& p : ps) {
        const Real x = v.xToPixelF(p.x), y = v.yToPixelF(p.y);
        if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 1e9L || std::fabs(y) > 1e9L)
            continue;
        const long cx = roundHalfDown(x), cy = roundHalfDown(y);
        if (fill)
            plot(cx, cy, colour(*fill), n);
        if (outline && n > 2) {
            const Pen pen{static_cast<int16_t>(*outline), 1, PenSolid};
            const Real h = (n - 1) / 2.0L;
            line(cx - h, cy - h, cx + h, cy - h, pen);
            line(cx + h, cy - h, cx + h, cy + h, pen);
            line(cx + h, cy + h, cx - h, cy + h, pen);
            line(cx - h, cy + h, cx - h, cy - h, pen);
        } else if (outline && !fill) {
            plot(cx, cy, colour(*outline), n);
        }
    }
}

} // namespace qx
