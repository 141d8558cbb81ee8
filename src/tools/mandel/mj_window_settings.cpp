// Settings files of the Mandelbrot and Julia windows: the common header and
// the tool's slots (int array 2: mouse mode, display mode, new zoom window;
// real array 2: right-button zoom factor).
#include "tools/mandel/tmj0win.h"


#include <cmath>

namespace qx {

namespace {

constexpr size_t kToolInts = 1;   // int array 2
constexpr size_t kToolReals = 1;  // real array 2
constexpr size_t kSlotMouse = 0, kSlotMode = 1, kSlotNewZoom = 18, kSlotZoomFactor = 0;

// Display modes a settings file may restore: bands, DEM, and IIM in a
// Julia window; anything else starts in bands.
DisplayMode settingsMode(int32_t v, bool julia)
{
    if (v < 0 || v > 2 || (v == 2 && !julia))
        return DisplayMode::Bands;
    return static_cast<DisplayMode>(v);
}

} // namespace

void TMJ0Win::captureToolSettings(SettingsFile& s) const
{
    auto& ints = s.group1.ints[kToolInts];
    ints[kSlotMouse] = mouseMode_;
    ints[kSlotMode] = static_cast<int32_t>(params_.mode);
    ints[kSlotNewZoom] = newZoomWindow_ ? 1 : 0;
    s.group1.reals[kToolReals][kSlotZoomFactor] = zoomFactor_;
}

void TMJ0Win::applyToolSettings(const SettingsFile& s)
{
    const auto& ints = s.group1.ints[kToolInts];
    for (const CommandSpec& m : mouseModes())
        if (m.id == ints[kSlotMouse])
            mouseMode_ = m.id;
    params_.mode = settingsMode(ints[kSlotMode], params_.julia);
    newZoomWindow_ = ints[kSlotNewZoom] != 0;
    const Real f = s.group1.reals[kToolReals][kSlotZoomFactor];
    if (std::isfinite(f) && f > 0)
        zoomFactor_ = f;
}

} // namespace qx
