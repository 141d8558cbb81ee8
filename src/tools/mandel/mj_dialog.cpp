#include "tools/mandel/mj_dialog.h"

#include "base/messages.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qx {

bool parseReal(const std::string& text, Real& value)
{
    const char* s = text.c_str();
    while (std::isspace(static_cast<unsigned char>(*s)))
        ++s;
    if (!*s)
        return false;
    char* end = nullptr;
    const Real v = std::strtold(s, &end);
    if (end == s)
        return false;
    while (std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    if (*end || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

MJParamTexts paramTexts(const MJParams& p)
{
    char buf[96];
    MJParamTexts t;
    std::snprintf(buf, sizeof buf, "%.2Lf", p.threshold);
    t.threshold = buf;
    t.maxReps = std::to_string(p.maxReps) + (p.antiAlias ? "@1" : "");
    std::snprintf(buf, sizeof buf, "%.7Lf", p.demThickness);
    t.thickness = buf;
    t.mode = p.mode;
    return t;
}

namespace {

// Maximum reps: "N" or "N@k"; anti-aliasing is on when k > 0.
int readMaxReps(const std::string& text, int32_t& reps, bool& antiAlias)
{
    const auto at = text.find('@');
    Real number = 0, flag = 0;
    if (!parseReal(text.substr(0, at), number))
        return ErrCannotUnderstand;
    if (at != std::string::npos && !parseReal(text.substr(at + 1), flag))
        return ErrCannotUnderstand;
    if (number < 2 || number > 2147483647.0L)
        return ErrOutOfBounds;
    reps = roundHalfDown(number);
    antiAlias = static_cast<int64_t>(flag) > 0;
    return ErrOk;
}

int readMode(DisplayMode mode, bool julia)
{
    const int m = static_cast<int>(mode);
    if (m < 0 || m > 4 || (mode == DisplayMode::Iim && !julia))
        return ErrOutOfBounds;
    return ErrOk;
}

} // namespace

int applyParamTexts(const MJParamTexts& texts, MJParams& p)
{
    Real thickness = 0, threshold = 0;
    if (!parseReal(texts.thickness, thickness))
        return kThicknessField + ErrCannotUnderstand;
    if (thickness < 0)
        return kThicknessField + ErrOutOfBounds;
    int32_t reps = 0;
    bool antiAlias = false;
    if (const int e = readMaxReps(texts.maxReps, reps, antiAlias))
        return kMaxRepsField + e;
    if (!parseReal(texts.threshold, threshold))
        return ErrCannotUnderstand;
    if (threshold < 1e-16L)
        return ErrPositiveValue;
    if (const int e = readMode(texts.mode, p.julia))
        return e;
    if (texts.mode == DisplayMode::Binary && threshold < 100)
        threshold = 100;
    if (texts.mode == DisplayMode::Blend && threshold < 256)
        threshold = 256;
    p.demThickness = thickness;
    p.maxReps = reps;
    p.antiAlias = antiAlias;
    p.threshold = threshold;
    p.mode = texts.mode;
    p.demScale = demScaleFor(thickness);
    return ErrOk;
}

int applyDegreeText(const std::string& text, MJMapParams& p)
{
    Real v = 0;
    if (!parseReal(text, v))
        return ErrCannotUnderstand;
    if (v != std::trunc(v) || v < kMinDegree || v > kMaxDegree)
        return ErrOutOfBounds;
    p.degree = static_cast<int>(v);
    return ErrOk;
}

} // namespace qx
