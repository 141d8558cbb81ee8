#pragma once
// Plain-text help of the map tools, one text per menu.
#include <span>

namespace qx {

struct MapsHelp {
    const char* menu;
    const char* text;
};

std::span<const MapsHelp> dycHelp();
std::span<const MapsHelp> dyrHelp();
std::span<const MapsHelp> parHelp();

} // namespace qx
