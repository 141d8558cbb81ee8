#pragma once
// Settings of orbits and of the inverse-image method, and the text of the
// coordinate table.
#include "base/numeric.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qx {

struct OrbitSettings {
    bool eraseMarks = true;        // each orbiter marker replaces the one before
    bool ascending = true;         // coordinate table from the start point on
    int32_t iimScreenLimit = 1000; // steps of an inverse-image picture on the screen (0: no limit)
    int32_t iimOutputLimit = 1000; // ... when exporting or printing
};

// Lines of the coordinate table at most (the size a text window holds well).
inline constexpr size_t kMaxTableLines = 20000;

// One line per orbit point, "k  x  y" with 15 decimals, from the start
// (ascending) or from the last point; at most maxLines lines, the first ones
// of that order. Lines end with '\n' (the text window saves CR LF).
std::string orbitTableText(const std::vector<Complex>& orbit, bool ascending, size_t maxLines = kMaxTableLines);

// "IIM limits ..." fields: two whole numbers >= 0. 0, or 1 (not a number) /
// 17 (negative), plus 1000 for the second field; nothing is written on error.
int parseIimLimits(const std::string& screen, const std::string& output, OrbitSettings& settings);

} // namespace qx
