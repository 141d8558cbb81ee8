#pragma once
// View commands that act on a View value: zoom about the centre, recentre
// and zoom, shift, and the "last window" history.
#include "graphics/view.h"

#include <cstddef>
#include <vector>

namespace qx {

// Scale the shown rectangle about its centre: factor > 1 zooms out. Keeps
// the view kind and the aspect. Refuses (false, no change) a factor <= 0.
bool scaleView(View& view, Real factor);
// Recentre on `p` and divide the half sizes by `factor` (right-button zoom).
bool zoomViewAt(View& view, WorldPoint p, Real factor);
// Move the shown rectangle by (sx, sy) world units.
bool shiftView(View& view, Real sx, Real sy);

// Previous views for "Last window": push before each change, pop to go back.
class ViewHistory {
public:
    static constexpr std::size_t kDepth = 32;
    void push(const View& v);
    // The last pushed view with the current pixel size, or false when empty.
    bool pop(View& current);
    std::size_t size() const { return views_.size(); }
    void clear() { views_.clear(); }

private:
    std::vector<View> views_;
};

} // namespace qx
