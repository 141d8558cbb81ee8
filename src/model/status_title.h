#pragma once
// The texts that temporarily replace a window title while it works.
#include <optional>
#include <string>

namespace qx {

// Status title of `kind` 1..14 with its numbers a and b; empty for any other kind.
std::string statusTitle(int kind, int a = 0, int b = 0);

// Progress after `row` of `rows`: p = floor(row * 100 / rows) and
// q = floor((row - 1) * 100 / rows). When p > 0 and p != q the title
// changes to "progress: p%" (returns p). At row >= rows the normal title
// comes back (returns -1). Otherwise nothing changes (nullopt).
std::optional<int> progressStep(int row, int rows);
std::string progressTitle(int percent);

} // namespace qx
