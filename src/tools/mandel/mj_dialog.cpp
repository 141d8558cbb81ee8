#include "tools/mandel/mj_dialog.h"

#include "core/messages.h"

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

bool parseRealOrFraction(const std::string& text, Real& value)
{
    const auto slash = text.find('/');
    if (slash == std::string::npos)
        return parseReal(text, value);
    Real num = 0, den = 0;
    if (!parseReal(text.substr(0, slash), num) || !parseReal(text.substr(slash + 1), den) || den == 0)
        return false;
    value = num / den;
    return true;
}

namespace {

// The coefficient of i: "" and "+" mean 1, "-" means -1.
bool parseImaginary(std::string text, Real& value)
{
    if (text.empty() || text == "+" || text == "-") {
        value = text == "-" ? -1 : 1;
        return true;
    }
    return parseReal(text, value);
}

// Where the imaginary term of "re+imi" starts: the last sign that is not
// the first character and not part of an exponent; npos when none.
size_t imaginaryStart(const std::string& s)
{
    for (size_t k = s.size(); k-- > 1;)
        if ((s[k] == '+' || s[k] == '-') && s[k - 1] != 'e' && s[k - 1] != 'E')
            return k;
    return std::string::npos;
}

} // namespace

bool parseComplexText(const std::string& text, Complex& value)
{
    std::string s;
    for (char ch : text)
        if (!std::isspace(static_cast<unsigned char>(ch)))
            s += ch;
    Real re = 0, im = 0;
    if (const auto comma = s.find(','); comma != std::string::npos) {
        if (!parseReal(s.substr(0, comma), re) || !parseReal(s.substr(comma + 1), im))
            return false;
    } else if (!s.empty() && (s.back() == 'i' || s.back() == 'I')) {
        s.pop_back();
        const size_t k = imaginaryStart(s);
        if (k != std::string::npos && !parseReal(s.substr(0, k), re))
            return false;
        if (!parseImaginary(k == std::string::npos ? s : s.substr(k), im))
            return false;
    } else if (!parseReal(s, re)) {
        return false;
    }
    value = {re, im};
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

int applyDegreeText(const std::string& text, MJParams& p)
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
