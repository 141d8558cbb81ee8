#pragma once
// Model side of the view dialogs: field texts to a view, with the error
// code of the first bad field (0 = accepted).
#include "graphics/view.h"

#include <string>

namespace qx {

// VIEWCEN: fields "hori", "vert", "width" (half-width).
struct ViewCenterTexts {
    std::string hori, vert, width;
};
// VIEWCOR: fields "left", "right", "down", "up".
struct ViewCornerTexts {
    std::string left, right, down, up;
};

ViewCenterTexts viewCenterTexts(const View& v);
ViewCornerTexts viewCornerTexts(const View& v);

// Codes: 1 (cannot understand) + 1000 * field for an unreadable field
// (hori 0, vert 1, width 2); 14 + 2000 for a width <= 1e-16.
int parseViewByCenter(const ViewCenterTexts& t, Real& cx, Real& cy, Real& width);
// Codes: unreadable left/right 1, down/up 1001; 17 when right - left
// <= 1e-16, 1017 when up - down <= 1e-16.
int parseViewByCorners(const ViewCornerTexts& t, WorldRect& out);

} // namespace qx
