#pragma once
// Creates the model of a launch-table row (0..12, in launch-table order).
// Rows without a real tool yet get a generic dynamics model that sweeps a
// smooth placeholder picture.
#include "model/tvorlwin.h"

#include <memory>

namespace qx {

inline constexpr int kLaunchRows = 13;

// nullptr for a row outside 0..12.
std::unique_ptr<TVorlWin> createToolModel(int launchRow);

} // namespace qx
