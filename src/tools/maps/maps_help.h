#pragma once
// Plain-text help of the map tools, one text per menu.
#include "model/tkvawing.h"

#include <span>

namespace qx {

using MapsHelp = HelpPage;

std::span<const MapsHelp> dycHelp();
std::span<const MapsHelp> dyrHelp();
std::span<const MapsHelp> parHelp();

} // namespace qx
