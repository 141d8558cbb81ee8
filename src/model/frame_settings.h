#pragma once
// The main frame's settings file qx.ini and window placements.
#include "base/window_placement.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qx {


inline constexpr size_t kPlacementBytes = 17;
inline constexpr size_t kFrameSettingsBytes = 19;

struct FrameSettings {
    WindowPlacement placement;
    bool openLast = false;
    bool useDefaults = true;
};

// Exactly 19 bytes: the placement (x, y, width, height as int32, maximized byte),
// then openLast and useDefaults as one byte each.
std::vector<uint8_t> encodeFrameSettings(const FrameSettings& s);
// Fills `s` only from a complete, well-formed record (flag bytes 0 or 1);
// false leaves `s` untouched.
bool decodeFrameSettings(const std::vector<uint8_t>& bytes, FrameSettings& s);

bool readFrameSettings(const std::string& path, FrameSettings& s);
bool writeFrameSettings(const std::string& path, const FrameSettings& s);

// True when the placement lies wholly on a screen of the given size with at
// least 120 x 72 pixels.
bool placementFits(const WindowPlacement& p, int screenWidth, int screenHeight);
// A placement that fits, else the small fallback near the top-left corner
// (x = r1 mod 30, y = r0 mod 30, 120 x 72) built from two random integers.
WindowPlacement validatedPlacement(const WindowPlacement& p, int screenWidth, int screenHeight,
                                   unsigned r0, unsigned r1);
// The frame's first placement: x = 100 + r1 mod 200, y = 20 + r0 mod 40, 200 x 120.
WindowPlacement defaultFramePlacement(unsigned r0, unsigned r1);

void writePlacement(class ByteWriter& w, const WindowPlacement& p);
bool readPlacement(class ByteReader& r, WindowPlacement& p);

} // namespace qx
