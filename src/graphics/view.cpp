#include "graphics/view.h"

#include <algorithm>
#include <cmath>

namespace qx {

namespace {

bool finite(Real v) { return std::isfinite(v); }

// Rounded pixel of an unshifted real coordinate c on an axis of n pixels.
int32_t toPixel(Real c, int32_t n, int16_t origin, bool& inside)
{
    inside = false;
    if (c > n)
        return n + 1;
    if (!(c >= 0)) // also NaN
        return -1;
    inside = true;
    return roundHalfDown(c) + origin;
}

} // namespace

void View::recomputeView()
{
    const Real w = std::max<int32_t>(pixWidth, 1);
    const Real h = std::max<int32_t>(pixHeight, 1);
    if (byCorners) {
        aspect = w * (yMax - yMin) / ((xMax - xMin) * h);
        centerX = (xMin + xMax) / 2;
        centerY = (yMin + yMax) / 2;
        halfWidth = (xMax - xMin) / 2;
        halfHeight = (yMax - yMin) / 2;
    } else {
        halfHeight = h * aspect * halfWidth / w;
        xMin = centerX - halfWidth;
        xMax = centerX + halfWidth;
        yMin = centerY - halfHeight;
        yMax = centerY + halfHeight;
    }
    dx = 2 * halfWidth / std::max<Real>(w - 1, 1);
    dy = 2 * halfHeight / std::max<Real>(h - 1, 1);
    invDx = 1 / dx;
    invDy = 1 / dy;
}

bool View::setViewByCenter(Real cx, Real cy, Real width)
{
    if (!finite(cx) || !finite(cy) || !finite(width) || !(width > 0))
        return false;
    byCorners = false;
    centerX = cx;
    centerY = cy;
    halfWidth = width;
    recomputeView();
    return true;
}

bool View::setViewByCorners(Real left, Real right, Real down, Real up)
{
    if (!finite(left) || !finite(right) || !finite(down) || !finite(up) || !(right > left) || !(up > down))
        return false;
    byCorners = true;
    xMin = left;
    xMax = right;
    yMin = down;
    yMax = up;
    recomputeView();
    return true;
}

void View::setPixelSize(int32_t w, int32_t h)
{
    pixWidth = std::max(w, 1);
    pixHeight = std::max(h, 1);
    recomputeView();
}

int32_t View::xToPixel(Real x) const
{
    bool inside;
    return toPixel((x - xMin) * invDx, pixWidth, originX, inside);
}

int32_t View::yToPixel(Real y) const
{
    bool inside;
    return toPixel((yMax - y) * invDy, pixHeight, originY, inside);
}

bool View::xToPixelClamped(Real x, int32_t& out) const
{
    bool inside;
    out = toPixel((x - xMin) * invDx, pixWidth, originX, inside);
    return inside;
}

bool View::yToPixelClamped(Real y, int32_t& out) const
{
    bool inside;
    out = toPixel((yMax - y) * invDy, pixHeight, originY, inside);
    return inside;
}

bool View::mapPoint(Real x, Real y, PixelPoint& out) const
{
    const bool inX = xToPixelClamped(x, out.x);
    const bool inY = yToPixelClamped(y, out.y);
    return inX && inY;
}

bool View::inView(Real x, Real y) const
{
    if (innerFrameOn)
        return innerFrame.left <= x && x <= innerFrame.right && innerFrame.down <= y && y <= innerFrame.up;
    return xMin <= x && x <= xMax && yMin <= y && y <= yMax;
}

PixelRect View::rectToPixels(const WorldRect& r) const
{
    auto clampX = [&](Real x) {
        const Real c = std::clamp<Real>((x - xMin) * invDx, 0, pixWidth - 1);
        return roundHalfDown(c) + originX;
    };
    auto clampY = [&](Real y) {
        const Real c = std::clamp<Real>((yMax - y) * invDy, 0, pixHeight - 1);
        return roundHalfDown(c) + originY;
    };
    return {clampX(std::min(r.left, r.right)), clampY(std::max(r.up, r.down)), clampX(std::max(r.left, r.right)),
            clampY(std::min(r.up, r.down))};
}

WorldRect View::pixelsToRect(const PixelRect& r) const
{
    return {pixelToX(r.left), pixelToX(r.right), pixelToY(r.bottom), pixelToY(r.top)};
}

namespace {

// Pull the ends of [a, b] into [lo, hi]; false when the whole range is outside.
bool clipRange(Real& a, Real& b, Real lo, Real hi)
{
    if (std::max(a, b) < lo || std::min(a, b) > hi)
        return false;
    a = std::clamp(a, lo, hi);
    b = std::clamp(b, lo, hi);
    return true;
}

} // namespace

bool clipToInnerFrame(const View& view, WorldPoint& a, WorldPoint& b)
{
    if (!view.innerFrameOn)
        return true;
    const WorldRect& f = view.innerFrame;
    if (a.y == b.y) {
        if (a.y < f.down || a.y > f.up)
            return false;
        return clipRange(a.x, b.x, f.left, f.right);
    }
    if (a.x == b.x) {
        if (a.x < f.left || a.x > f.right)
            return false;
        return clipRange(a.y, b.y, f.down, f.up);
    }
    return true;
}

} // namespace qx
