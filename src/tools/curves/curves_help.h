#pragma once
// Plain-text help of the curve tools, one text per menu.
#include "model/tkvawing.h"

#include <span>

namespace qx {

std::span<const HelpPage> srfHelp();
std::span<const HelpPage> bmpHelp();

} // namespace qx
