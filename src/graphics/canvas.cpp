#include "graphics/canvas.h"

#include <cmath>

namespace qx {

void Canvas::drawCircle(WorldPoint centre, Real radius, std::optional<int> fill, const Pen& outline)
{
    constexpr int kSides = 72;
    std::vector<WorldPoint> points;
    points.reserve(kSides);
    // Round on the page: the radius in y is scaled as the view's pixels are.
    const Real ratio = view_.dx > 0 && view_.dy > 0 ? view_.dy / view_.dx : 1;
    for (int k = 0; k < kSides; ++k) {
        const Real t = 2 * 3.14159265358979323846L * k / kSides;
        points.push_back({centre.x + radius * std::cos(t), centre.y + radius * std::sin(t) * ratio});
    }
    fillPolygon(points, fill, outline, 0);
}

} // namespace qx
