#pragma once
// Plain-text help of the one-dimensional tools, one text per menu.
#include <span>

namespace qx {

struct OnedHelp {
    const char* menu;
    const char* text;
};

std::span<const OnedHelp> lyaHelp();

} // namespace qx
