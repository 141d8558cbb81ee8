#include "model/colour_tables.h"

#include <algorithm>

namespace qx {

const std::array<std::array<uint8_t, 8>, 8> kDitherMatrix{{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {16, 48, 24, 56, 18, 50, 26, 58},
    {4, 36, 12, 44, 6, 38, 14, 46},
    {20, 52, 28, 60, 22, 54, 30, 62},
    {1, 33, 9, 41, 3, 35, 11, 43},
    {17, 49, 25, 57, 19, 51, 27, 59},
    {5, 37, 13, 45, 7, 39, 15, 47},
    {21, 53, 29, 61, 23, 55, 31, 63},
}};

namespace {

int channel(int p, int q, double t) { return static_cast<int>(p + (q - p) * t); } // truncates toward zero

} // namespace

Rgb blend(Rgb p, Rgb q, double t)
{
    return makeRgb(channel(redOf(p), redOf(q), t), channel(greenOf(p), greenOf(q), t),
                   channel(blueOf(p), blueOf(q), t));
}

int checkSequence(const ColourSequence& s)
{
    const auto count = [](size_t n) { return n >= 2 && n <= static_cast<size_t>(kMaxAnchors); };
    if (s.steps < 1 || s.steps > kMaxSteps || s.graySteps < 1 || s.graySteps > kMaxSteps)
        return 17;
    if (!count(s.anchors.size()) || !count(s.grayAnchors.size()))
        return 17;
    for (int g : s.grayAnchors)
        if (g < 0 || g > 255)
            return 17;
    return 0;
}

std::vector<Rgb> buildColourTable(const std::vector<Rgb>& a, int steps)
{
    if (a.empty() || steps < 1)
        return {};
    const size_t n = a.size();
    std::vector<Rgb> table;
    table.reserve(n * steps + 1);
    for (size_t k = 0; k < n; ++k)
        for (int j = 0; j < steps; ++j)
            table.push_back(blend(a[k], a[(k + 1) % n], static_cast<double>(j) / steps));
    table.push_back(a[0]);
    return table;
}

std::vector<int> buildGrayTable(const std::vector<int>& a, int steps)
{
    if (a.empty() || steps < 1)
        return {};
    const size_t n = a.size();
    std::vector<int> table;
    table.reserve(n * steps + 1);
    for (size_t k = 0; k < n; ++k)
        for (int j = 0; j < steps; ++j)
            table.push_back(channel(a[k], a[(k + 1) % n], static_cast<double>(j) / steps));
    table.push_back(a[0]);
    return table;
}

ColourTable buildTable(const ColourSequence& s)
{
    ColourTable t;
    if (checkSequence(s) != 0)
        return t;
    t.colours = buildColourTable(s.anchors, s.steps);
    t.grays = buildGrayTable(s.grayAnchors, s.graySteps);
    t.binary = s.binary;
    return t;
}

bool ditherWhite(int gray, int col, int row)
{
    const int g = std::clamp(gray, 0, 255);
    const int level = (255 - g) / 8;
    return kDitherMatrix[static_cast<size_t>(row & 7)][static_cast<size_t>(col & 7)] >= level;
}

} // namespace qx
