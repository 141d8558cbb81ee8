#include "tools/mandel/mj_period.h"

#include "model/orbit_points.h"

#include "tools/mandel/mj_escape.h"

#include <cmath>
#include <cstdio>
#include <new>
#include <vector>

namespace qx {

int32_t orbitPeriod(const MJParams& p, Complex start, Complex c, Real tolerance)
{
    return orbitPeriod([&](Complex z, bool&) { return mapPower(z, c, p.degree); }, start, p.maxPeriod, tolerance);
}

// Parts that print as zero print without a sign.
std::string formatComplex(Complex z, int decimals)
{
    const Real half = 0.5L * std::pow(10.0L, -decimals);
    if (std::fabs(z.re) < half)
        z.re = 0;
    if (std::fabs(z.im) < half)
        z.im = 0;
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.*Lf %c %.*Lfi", decimals, z.re, z.im < 0 ? '-' : '+',
                  decimals, std::fabs(z.im));
    return buf;
}

std::string periodReport(const MJParams& p, Complex point, Real tolerance)
{
    const Complex c = p.julia ? p.c : point;
    const Complex z0 = p.julia ? point : Complex{};
    const EscapeResult e = escape(z0, c, p.degree, p.threshold, p.maxReps);
    std::string text = formatComplex(point, 7) + " : ";
    if (e.status == kEscaped)
        return text + "infinity at rep = " + std::to_string(e.n);
    const int32_t period = orbitPeriod(p, point, c, tolerance);
    return text + "period = " + (period > 0 ? std::to_string(period) : std::string("large"));
}

} // namespace qx
