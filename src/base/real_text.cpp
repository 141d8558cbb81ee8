#include "base/real_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace qx {

std::string trimmedText(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

bool parseRealText(const std::string& text, Real& out)
{
    const std::string t = trimmedText(text);
    if (t.empty())
        return false;
    if (t == "pi" || t == "PI" || t == "-pi" || t == "-PI") {
        out = (t[0] == '-' ? -1 : 1) * std::numbers::pi_v<long double>;
        return true;
    }
    // strtold also reads hex, inf and nan: accept plain decimals only.
    for (char c : t)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
            return false;
    char* end = nullptr;
    const Real v = std::strtold(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool parseIntText(const std::string& text, int32_t& out)
{
    Real v;
    if (!parseRealText(text, v) || v != std::trunc(v) || v < -2147483648.0L || v > 2147483647.0L)
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

} // namespace qx
