#pragma once
// Plain-text help of the IFS tools, one text per menu.
#include "model/tkvawing.h"

#include <span>

namespace qx {

std::span<const HelpPage> ifcHelp();
std::span<const HelpPage> ifrHelp();

} // namespace qx
