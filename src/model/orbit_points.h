#pragma once
// The points of the orbit overlay: each seed's orbit under the window's map,
// the points that fall inside the view in drawing order, and the last seed's
// orbit for the coordinate table. The window computes them off the
// user-interface thread and keeps them until the seeds, the orbit length or
// the figure change.
#include "base/numeric.h"
#include "graphics/view.h"

#include <atomic>
#include <functional>
#include <cmath>
#include <new>
#include <vector>

namespace qx {

// A snapshot of a window's map that a worker may call on its own.
using OrbitMap = std::function<Complex(Complex)>;

struct OrbitPoints {
    std::vector<std::vector<WorldPoint>> dots; // per seed: its points inside the view, in order
    std::vector<Complex> lastOrbit;            // the last seed's orbit, from the seed on
    long long reps = 0;                        // points computed
};

// Memory stays bounded whatever the orbit length: past kMaxOrbitDots stored
// points a point is kept only when its pixel has none yet (the screen picture
// is the same), and the table keeps the first kMaxTableOrbit points.
inline constexpr size_t kMaxOrbitDots = size_t(1) << 20;
inline constexpr size_t kMaxTableOrbit = size_t(1) << 20;

// Each seed's orbit: points k = 0 .. length while finite, point k + 1 =
// map(point k). Returns 0, or 81 when `stop` was raised (looked at every few
// thousand points; what was computed stays in `out`). `progress` (may be
// empty) gets points done and the total.
int computeOrbitPoints(const std::vector<Complex>& seeds, int32_t length, const View& view, const OrbitMap& map,
                       const std::atomic<bool>& stop, OrbitPoints& out,
                       const std::function<void(long long, long long)>& progress = {});

// The period of the orbit from `start` under `map` (which sets `ok` false
// when it cannot go on), as the "Show period" report finds it: q_0 = start,
// q_(i+1) = map(q_i) up to q_P; the first i from P - 1 down to 0 whose
// taxicab distance to q_P is below `tolerance` gives P - i. -1 when none
// does or the orbit stops ("large"), -3 when the orbit cannot be stored.
template <class Map>
int32_t orbitPeriod(Map&& map, Complex start, int32_t P, Real tolerance)
{
    if (P < 1)
        return -1;
    std::vector<Complex> q;
    try {
        q.resize(static_cast<size_t>(P) + 1);
    } catch (const std::bad_alloc&) {
        return -3;
    }
    q[0] = start;
    for (int32_t i = 0; i < P; ++i) {
        bool ok = true;
        q[static_cast<size_t>(i) + 1] = map(q[static_cast<size_t>(i)], ok);
        if (!ok)
            return -1;
    }
    const Complex last = q[static_cast<size_t>(P)];
    for (int32_t i = P - 1; i >= 0; --i)
        if (std::fabs(q[static_cast<size_t>(i)].re - last.re) + std::fabs(q[static_cast<size_t>(i)].im - last.im) < tolerance)
            return P - i;
    return -1;
}

} // namespace qx
