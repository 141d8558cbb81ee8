#include "tools/oned/lyapunov.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace qx {

namespace {

const Real kInvLn2 = 1 / std::log(2.0L);

Real lnOf(Real r) { return r >= 0 ? std::log(r) : -5000; }

int channelMix(int p, int q, Real t) { return std::clamp(static_cast<int>(p + (q - p) * t), 0, 255); }

Rgb mix(Rgb p, Rgb q, Real t)
{
    return makeRgb(channelMix(redOf(p), redOf(q), t), channelMix(greenOf(p), greenOf(q), t),
                   channelMix(blueOf(p), blueOf(q), t));
}

} // namespace

bool parsePeriodString(const std::string& text, std::vector<uint8_t>& out)
{
    std::vector<uint8_t> s;
    for (char ch : text) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (c == ' ' || c == ',')
            continue;
        if (c != 'A' && c != 'B')
            return false;
        s.push_back(c == 'A' ? 0 : 1);
    }
    if (s.empty() || s.size() > 256)
        return false;
    out = std::move(s);
    return true;
}

std::string periodStringText(const std::vector<uint8_t>& s)
{
    std::string t;
    for (uint8_t v : s)
        t += v ? 'B' : 'A';
    return t;
}

int32_t wholePeriods(int32_t count, size_t length)
{
    const auto l = static_cast<int32_t>(std::max<size_t>(length, 1));
    return count / l * l;
}

bool lyapunovExponent(const LyapunovParams& p, Real a, Real b, Real lnA, Real lnB, Real& exponent)
{
    const size_t L = p.string.size();
    if (L == 0)
        return false;
    const int32_t T = wholePeriods(p.transients, L), N = wholePeriods(p.calculations, L);
    if (N <= 0)
        return false; // nothing to average
    Real x = p.x0;
    for (int32_t i = 0; i < T; ++i) {
        const Real r = p.string[static_cast<size_t>(i) % L] ? b : a;
        x = r * x * (1 - x);
    }
    // The sum of ln r + ln |1 - 2x| over N steps: the ln r part by counting the
    // letters (N is whole periods), the ln d part as one logarithm of the
    // product of the d, its binary exponent kept apart so that it neither
    // overflows nor underflows; a d of 0 counts as ln 0 = -5000.
    long long countB = 0;
    for (uint8_t v : p.string)
        countB += v;
    countB *= N / static_cast<int32_t>(L);
    Real sum = (N - countB) * lnA + countB * lnB;
    Real product = 1;
    long long binaryExponent = 0;
    for (int32_t i = 0; i < N; ++i) {
        const Real r = p.string[static_cast<size_t>(i) % L] ? b : a;
        const Real d = std::fabs(1 - 2 * x);
        if (d > 0) {
            product *= d;
            if ((i & 15) == 15) {
                int e = 0;
                product = std::frexp(product, &e);
                binaryExponent += e;
            }
        } else {
            sum -= 5000; // ln 0 read as -5000: the pass goes on
        }
        x = r * x * (1 - x);
    }
    sum += std::log(product) + static_cast<Real>(binaryExponent) * std::log(2.0L);
    exponent = sum / N * kInvLn2;
    return std::isfinite(exponent);
}

void automaticExtremes(LyapunovParams& p, Real h)
{
    Real low = 0, high = 0;
    if (lyapunovExponent(p, h, h, lnOf(h), lnOf(h), low))
        p.stable = std::min<Real>(0, 0.8L * low / std::log(2.0L));
    else
        p.stable = -1;
    const Real top = 4 - h;
    if (lyapunovExponent(p, top, top, lnOf(top), lnOf(top), high))
        p.unstable = std::max<Real>(0, 0.8L * high / std::log(2.0L));
    else
        p.unstable = 1;
}

Rgb lyapunovColour(const LyapunovParams& p, const LyapunovColours& c, bool computed, Real e)
{
    if (!computed)
        return c.unstable;
    if (e == 0)
        return c.threshold;
    if (e < 0) {
        const Real t = p.stable < 0 ? std::min<Real>(1, e / p.stable) : 1;
        return mix(c.stable, c.threshold, t);
    }
    const Real t = p.unstable > 0 ? std::min<Real>(1, e / p.unstable) : 1;
    return mix(c.threshold, c.unstable, t);
}

PixelValue LyapunovKernel::colourAt(Real x, Real y, int, int)
{
    const Real a = std::min<Real>(x, 4), b = std::clamp<Real>(y, 0, 4);
    if (a < 0 || y < 0)
        return {c_.unstable, 0};
    Real e = 0;
    const bool ok = lyapunovExponent(p_, a, b, lnOf(a), lnOf(b), e);
    if (ok && range_)
        range_->add(e);
    return {lyapunovColour(p_, c_, ok, e), 0};
}

} // namespace qx
