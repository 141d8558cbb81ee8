#include "base/numeric.h"

#include <cmath>

namespace qx {

int32_t roundHalfDown(Real v)
{
    const bool negative = v < 0;
    const Real a = negative ? -v : v;
    if (!(a <= 2147483647.0L)) // also catches NaN
        return negative ? -2147483647 : 2147483647;
    // Truncation and the remainder are exact for |v| below 2^31.
    int64_t i = static_cast<int64_t>(a);
    const Real frac = a - static_cast<Real>(i);
    if (frac > 0.5L)
        ++i;
    if (i > 2147483647)
        i = 2147483647;
    return static_cast<int32_t>(negative ? -i : i);
}

} // namespace qx
