#pragma once
// The seed list of orbit overlays: up to ten start points, each kept with
// the text it was typed as.
#include "base/numeric.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace qx {

struct Seed {
    Complex value;
    std::string text;
};

inline constexpr size_t kMaxSeeds = 10;
inline constexpr size_t kMaxSeedText = 100;      // characters of one seed's text
inline constexpr size_t kMaxSeedListText = 1111; // characters of the whole list as edited

// Reads one seed text as the window does (TFuncWin::evaluateConstant): true
// and the value, or false.
using SeedReader = std::function<bool(const std::string& text, Complex& value)>;

// The rule of the seed-list dialog: split at ';', take the pieces in order
// while each (trimmed) is at least `minLength` characters, at most
// kMaxSeedText long and reads; the first that fails ends the list; at most
// kMaxSeeds seeds are kept.
std::vector<Seed> parseSeedList(const std::string& text, const SeedReader& read, size_t minLength = 1);
// The texts joined with "; ", as the dialog offers them.
std::string seedListText(const std::vector<Seed>& seeds);
// The list of a fresh complex window: the seed 0 written "0 + 0i".
std::vector<Seed> defaultSeeds();

} // namespace qx
