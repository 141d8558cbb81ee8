#include "tools/mandel/mj_params.h"

#include <cmath>

namespace qx {

MJParams defaultParams(bool julia)
{
    MJParams p;
    p.julia = julia;
    return p;
}

MJViewDefaults viewDefaults(bool julia)
{
    if (julia)
        return {0, 0, 2.1L, 121};
    return {-0.75L, 0, 1.4L, 122};
}

int symmetryFor(const MJParams& p, Real centreX, Real centreY)
{
    constexpr Real kZero = 1e-16L;
    if (p.mode == DisplayMode::Binary || std::fabs(centreY) > kZero)
        return 0;
    if (!p.julia)
        return 1;
    return (std::fabs(centreX) <= kZero && p.degree % 2 == 0) ? 2 : 0;
}

Real renderThreshold(const MJParams& p)
{
    return p.mode == DisplayMode::Dem ? kDemThreshold : p.threshold;
}

Real demScaleFor(Real thickness)
{
    return thickness >= 1 ? 0.25L : 0.49L;
}

} // namespace qx
