#include "model/orbit_settings.h"

#include "base/real_text.h"

#include <cstdio>

namespace qx {

std::string orbitTableText(const std::vector<Complex>& orbit, bool ascending, size_t maxLines)
{
    const size_t n = std::min(orbit.size(), maxLines);
    std::string s;
    char buf[160];
    for (size_t i = 0; i < n; ++i) {
        const size_t k = ascending ? i : orbit.size() - 1 - i;
        std::snprintf(buf, sizeof buf, "%zu  %.15Lf  %.15Lf\n", k, orbit[k].re, orbit[k].im);
        s += buf;
    }
    return s;
}

namespace {

int readLimit(const std::string& text, int32_t& out)
{
    int32_t n = 0;
    if (!parseIntText(text, n))
        return 1;
    if (n < 0)
        return 17;
    out = n;
    return 0;
}

} // namespace

int parseIimLimits(const std::string& screen, const std::string& output, OrbitSettings& settings)
{
    int32_t s = 0, o = 0;
    if (const int e = readLimit(screen, s))
        return e;
    if (const int e = readLimit(output, o))
        return 1000 + e;
    settings.iimScreenLimit = s;
    settings.iimOutputLimit = o;
    return 0;
}

} // namespace qx
