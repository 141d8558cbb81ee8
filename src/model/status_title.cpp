#include "model/status_title.h"

#include "base/numeric.h"

#include <cmath>

namespace qx {

namespace {

constexpr const char* kQuit = "press Q to quit";
constexpr const char* kSlide = "slide ";

} // namespace

std::string statusTitle(int kind, int a, int b)
{
    const std::string sa = std::to_string(a), sb = std::to_string(b);
    switch (kind) {
    case 1: return kQuit;
    case 2: return "busy --- please wait";
    case 3: return "Q=quit S=slower F=faster";
    case 4: return "Q=quit P=pause F=finish";
    case 5: return "Q=quit P=pause F=faster S=slower";
    case 6: return "preparing slides -- please wait" + sa + "; " + kQuit;
    case 7: return kSlide + sa + "; " + "press any key";
    case 8: return "press any key";
    case 9: return "S=stop, F=finish, N=next";
    case 10: return "spacebar to advance, Q to quit";
    case 11: return "preparing slide " + (a >= 0 ? sa : "") + (a >= 0 && b > 1 ? "/" + sb : "");
    case 12: return std::string(kSlide) + " " + sa + "/" + sb;
    case 13: return "Q=quit F=fast S=slow P=pause C=cycle";
    case 14: return kSlide + sa + "; " + "[=previous   ]=next";
    default: return {};
    }
}

std::optional<int> progressStep(int row, int rows)
{
    if (rows <= 0)
        return std::nullopt;
    // The last row always restores the title, even when its percentage
    // equals the previous one's (more than 200 rows).
    if (row >= rows)
        return -1;
    // The previous row's percentage is floored like this row's: rounding it
    // instead would hide every change for some row counts (300 rows: never).
    const int p = static_cast<int>(std::floor(static_cast<Real>(row) * 100 / rows));
    const int q = static_cast<int>(std::floor(static_cast<Real>(row - 1) * 100 / rows));
    if (p <= 0 || p == q)
        return std::nullopt;
    return p;
}

std::string progressTitle(int percent)
{
    return "progress: " + std::to_string(percent) + "%";
}

} // namespace qx
