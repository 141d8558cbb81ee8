#include "graphics/grid_settings.h"

#include "base/real_text.h"
#include "graphics/axes.h"

namespace qx {

namespace {

std::string realText(Real v)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.10Lg", v);
    return buf;
}

// Reads one axis's interval, places and frequency; 0 or a plain code.
int readAxis(const std::string& interval, const std::string& places, const std::string& frequency, AxisScale& out)
{
    AxisScale a = out;
    int32_t p = 0, f = 0;
    if (!parseRealText(interval, a.tickInterval) || !parseIntText(places, p) || !parseIntText(frequency, f))
        return 1;
    if (!(a.tickInterval > 1e-16L))
        return 14;
    if (p < 0 || p > 19 || f < 1 || f > 1000)
        return 17;
    a.places = p;
    a.frequency = f;
    out = a;
    return 0;
}

} // namespace

GridTexts gridTexts(const GridSettings& s)
{
    return {realText(s.tickLength), realText(s.x.tickInterval), realText(s.y.tickInterval),
            std::to_string(s.x.places), std::to_string(s.y.places), std::to_string(s.x.frequency),
            std::to_string(s.y.frequency)};
}

int applyGridTexts(const GridTexts& t, GridSettings& out)
{
    GridSettings s = out;
    if (!parseRealText(t.tickLength, s.tickLength))
        return 1;
    if (!(s.tickLength > 0))
        return 14;
    if (s.tickLength > 50)
        return 17;
    if (const int e = readAxis(t.xInterval, t.xPlaces, t.xFrequency, s.x))
        return 1000 + e;
    if (const int e = readAxis(t.yInterval, t.yPlaces, t.yFrequency, s.y))
        return 2000 + e;
    out = s;
    return 0;
}

} // namespace qx
