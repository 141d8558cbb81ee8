#pragma once
// Plain-text help of the one-dimensional tools, one text per menu.
#include "model/tkvawing.h"

#include <span>

namespace qx {

using OnedHelp = HelpPage;

std::span<const OnedHelp> lyaHelp();
std::span<const OnedHelp> bifHelp();
std::span<const OnedHelp> webHelp();

} // namespace qx
