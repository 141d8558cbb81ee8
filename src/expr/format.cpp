#include "expr/format.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace qx {

std::string FormatReal(Real v, int width, int decimals)
{
    const int n = std::snprintf(nullptr, 0, "%*.*Lf", width, decimals, v);
    if (n <= 0) return {};
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::snprintf(buf.data(), buf.size(), "%*.*Lf", width, decimals, v);
    return std::string(buf.data(), static_cast<size_t>(n));
}

std::string FormatComplexText(const Complex& w, int decimals)
{
    const int width = decimals + 2;
    return FormatReal(w.re, width, decimals) + (w.im < 0 ? "-" : "+") +
           FormatReal(std::fabs(w.im), width, decimals) + "i";
}

std::string FormatPointText(Real x, Real y, bool brackets, int decimals, bool complexMode)
{
    const int width = decimals + 2;
    std::string text = FormatReal(x, width, decimals);
    if (complexMode)
        text += (y >= 0 ? " + " : " - ") + FormatReal(std::fabs(y), width, decimals) + "i";
    else
        text += std::string(brackets ? " , " : " ") + (y < 0 ? "-" : "") +
                FormatReal(std::fabs(y), width, decimals);
    return brackets ? "(" + text + ")" : text;
}

} // namespace qx
