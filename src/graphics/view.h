#pragma once
// The view of a graphics window: which world rectangle is shown in which
// pixel rectangle, and the exact mapping between the two. World y grows
// upward, pixel rows grow downward; column 0 shows xMin and column W-1 xMax,
// row 0 shows yMax and row H-1 yMin.
#include "base/numeric.h"

#include <cstdint>

namespace qx {

struct WorldPoint {
    Real x = 0;
    Real y = 0;
    friend bool operator==(const WorldPoint&, const WorldPoint&) = default;
};

struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0; // inclusive edges
};

struct WorldRect {
    Real left = 0, right = 0, down = 0, up = 0;
};

struct View {
    int32_t pixWidth = 400;
    int32_t pixHeight = 400;
    int16_t originX = 0;
    int16_t originY = 0;
    Real xMin = -5, xMax = 5, yMin = -5, yMax = 5;
    Real centerX = 0, centerY = 0;
    Real halfWidth = 5, halfHeight = 5;
    Real aspect = 1; // vertical over horizontal world scale, kept when set by centre
    bool byCorners = false;
    Real dx = 0, dy = 0, invDx = 0, invDy = 0;
    bool innerFrameOn = false;
    WorldRect innerFrame;
    int16_t places = 5;

    // Derive the dependent fields after a change of centre, corners or size.
    // By corners: aspect, centre and half sizes follow from the corners; by
    // centre: the corners follow from centre, halfWidth and aspect. A size of
    // one pixel is treated as two so the pitch stays finite.
    void recomputeView();
    // Set and recompute. Both return false and change nothing when the
    // rectangle is empty, inverted or not finite.
    bool setViewByCenter(Real cx, Real cy, Real width);
    bool setViewByCorners(Real left, Real right, Real down, Real up);
    // New drawing-area size (at least 1x1); keeps the centre and half-width.
    void setPixelSize(int32_t w, int32_t h);

    Real xToPixelF(Real x) const { return (x - xMin) * invDx + originX; }
    Real yToPixelF(Real y) const { return (yMax - y) * invDy + originY; }
    // Rounded pixel: W+1 (H+1) right of (below) the area, -1 left of (above)
    // it or for NaN, whatever the origin; else roundHalfDown(c) + origin.
    int32_t xToPixel(Real x) const;
    int32_t yToPixel(Real y) const;
    bool xToPixelClamped(Real x, int32_t& out) const;
    bool yToPixelClamped(Real y, int32_t& out) const;
    // Both at once; true when the unshifted column and row lie in 0..W, 0..H.
    bool mapPoint(Real x, Real y, PixelPoint& out) const;
    Real pixelToX(Real col) const { return (col - originX) * dx + xMin; }
    Real pixelToY(Real row) const { return yMax - (row - originY) * dy; }
    WorldPoint pixelToWorld(PixelPoint p) const { return {pixelToX(p.x), pixelToY(p.y)}; }
    // Against the inner frame when it is on, else against the view.
    bool inView(Real x, Real y) const;
    PixelRect rectToPixels(const WorldRect& r) const;
    WorldRect pixelsToRect(const PixelRect& r) const;
};

// Clip an axis-parallel segment to the inner frame (when it is on). Returns
// false when the segment lies wholly outside; other segments pass unchanged.
bool clipToInnerFrame(const View& view, WorldPoint& a, WorldPoint& b);

} // namespace qx
