#include "graphics/pen.h"

namespace qx {

DashPattern dashPattern(int style)
{
    switch (style) {
    case PenDash:       return {{6, 0, 0}, {3, 0, 0}, 1};
    case PenDot:        return {{1, 0, 0}, {2, 0, 0}, 1};
    case PenDashDot:    return {{6, 1, 0}, {3, 3, 0}, 2};
    case PenDashDotDot: return {{6, 1, 1}, {3, 3, 3}, 3};
    default:            return {{0, 0, 0}, {0, 0, 0}, 0};
    }
}

} // namespace qx
