#pragma once
// Position and size of a window on the screen, as stored in settings files.
#include <cstdint>

namespace qx {

struct WindowPlacement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool maximized = false;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// The default zoom-window and pop-up placement of a window whose own initial
// position is (x, y): 30 right, 80 down, both sides x / 2.
constexpr WindowPlacement childPlacement(int32_t x, int32_t y)
{
    return {x + 30, y + 80, x / 2, x / 2, false};
}

} // namespace qx
