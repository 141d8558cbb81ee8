#pragma once
// Plain-text help of the complex dynamic plane, one text per menu.
#include <span>

namespace qx {

struct DycHelp {
    const char* menu;
    const char* text;
};

std::span<const DycHelp> dycHelp();

} // namespace qx
