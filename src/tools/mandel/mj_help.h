#pragma once
// Plain-text help of the Mandelbrot and Julia windows, one text per menu,
// named like the menus' help resources (MANFILEH, JULEDITH, ...).
#include <span>
#include <string_view>

namespace qx {

// The help text of a resource name, or an empty view for an unknown name.
std::string_view mjHelpText(std::string_view resource);

// The help resources of a window's menus, in menu order.
std::span<const char* const> mjHelpResources(bool julia);

} // namespace qx
