#include "model/view_dialogs.h"

#include "base/real_text.h"

#include <cstdio>

namespace qx {

namespace {

std::string text(Real v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15Lg", v);
    return buf;
}

} // namespace

ViewCenterTexts viewCenterTexts(const View& v)
{
    return {text(v.centerX), text(v.centerY), text(v.halfWidth)};
}

ViewCornerTexts viewCornerTexts(const View& v)
{
    return {text(v.xMin), text(v.xMax), text(v.yMin), text(v.yMax)};
}

int parseViewByCenter(const ViewCenterTexts& t, Real& cx, Real& cy, Real& width)
{
    Real x, y, w;
    if (!parseRealText(t.hori, x))
        return 1;
    if (!parseRealText(t.vert, y))
        return 1001;
    if (!parseRealText(t.width, w))
        return 2001;
    if (!(w > 1e-16L))
        return 2014;
    cx = x;
    cy = y;
    width = w;
    return 0;
}

int parseViewByCorners(const ViewCornerTexts& t, WorldRect& out)
{
    WorldRect r;
    if (!parseRealText(t.left, r.left) || !parseRealText(t.right, r.right))
        return 1;
    if (!parseRealText(t.down, r.down) || !parseRealText(t.up, r.up))
        return 1001;
    if (!(r.right - r.left > 1e-16L))
        return 17;
    if (!(r.up - r.down > 1e-16L))
        return 1017;
    out = r;
    return 0;
}

} // namespace qx
