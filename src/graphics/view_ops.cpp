#include "graphics/view_ops.h"

#include <cmath>

namespace qx {

namespace {

bool usable(Real f) { return std::isfinite(f) && f > 0; }

// Set the shown rectangle to centre (cx, cy) and half sizes (hw, hh) in the
// view's own kind.
bool place(View& v, Real cx, Real cy, Real hw, Real hh)
{
    if (v.byCorners)
        return v.setViewByCorners(cx - hw, cx + hw, cy - hh, cy + hh);
    return v.setViewByCenter(cx, cy, hw);
}

} // namespace

bool scaleView(View& view, Real factor)
{
    if (!usable(factor))
        return false;
    return place(view, view.centerX, view.centerY, view.halfWidth * factor, view.halfHeight * factor);
}

bool zoomViewAt(View& view, WorldPoint p, Real factor)
{
    if (!usable(factor) || !std::isfinite(p.x) || !std::isfinite(p.y))
        return false;
    return place(view, p.x, p.y, view.halfWidth / factor, view.halfHeight / factor);
}

bool shiftView(View& view, Real sx, Real sy)
{
    if (!std::isfinite(sx) || !std::isfinite(sy))
        return false;
    return place(view, view.centerX + sx, view.centerY + sy, view.halfWidth, view.halfHeight);
}

void ViewHistory::push(const View& v)
{
    if (views_.size() == kDepth)
        views_.erase(views_.begin());
    views_.push_back(v);
}

bool ViewHistory::pop(View& current)
{
    if (views_.empty())
        return false;
    View v = views_.back();
    views_.pop_back();
    v.pixWidth = current.pixWidth;
    v.pixHeight = current.pixHeight;
    v.originX = current.originX;
    v.originY = current.originY;
    v.recomputeView();
    current = v;
    return true;
}

} // namespace qx
