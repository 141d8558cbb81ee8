#include "base/numeric.h"

#include <cmath>

namespace qx {

int32_t roundHalfDown(Real v)
{
    const bool negative = v < 0;
    const Real a = negative ? -v : v;
    if (!(a <= 2147483647.0L)) // also catches NaN
        return negative ? -2147483647 : 2147483647;
    Real whole;
    const Real frac = std::modf(a, &whole);
    int64_t i = static_cast<int64_t>(whole);
    if (frac > 0.5L)
        ++i;
    if (i > 2147483647)
        i = 2147483647;
    return static_cast<int32_t>(negative ? -i : i);
}

} // namespace qx
