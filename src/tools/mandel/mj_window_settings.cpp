// Settings files of the Mandelbrot and Julia windows: the common header and
// the tool's slots (int array 2: mouse mode, display mode, new zoom window;
// real array 2: right-button zoom factor).
#include "tools/mandel/tmj0win.h"

#include "base/file_io.h"
#include "model/special_colours.h"

#include <cmath>

namespace qx {

namespace {

constexpr size_t kToolInts = 1;   // int array 2
constexpr size_t kToolReals = 1;  // real array 2
constexpr size_t kSlotMouse = 0, kSlotMode = 1, kSlotNewZoom = 18, kSlotZoomFactor = 0;
constexpr int32_t kBaseCount = 10; // int array 1, entry 1

// Display modes a settings file may restore: bands, DEM, and IIM in a
// Julia window; anything else starts in bands.
DisplayMode settingsMode(int32_t v, bool julia)
{
    if (v < 0 || v > 2 || (v == 2 && !julia))
        return DisplayMode::Bands;
    return static_cast<DisplayMode>(v);
}

} // namespace

SettingsFile TMJ0Win::captureSettings() const
{
    SettingsFile s;
    s.header = fileState_.header;
    s.header.kind = windowKind();
    for (int i = 0; i < 15; ++i)
        s.header.specialSlots[static_cast<size_t>(i)] = special_.get(i);
    s.header.palette = palette_;
    s.group1 = settingsGroup1_;
    s.group2 = settingsGroup2_;
    s.group1.ints[0][1] = kBaseCount;
    auto& ints = s.group1.ints[kToolInts];
    ints[kSlotMouse] = mouseMode_;
    ints[kSlotMode] = static_cast<int32_t>(params_.mode);
    ints[kSlotNewZoom] = newZoomWindow_ ? 1 : 0;
    s.group1.reals[kToolReals][kSlotZoomFactor] = zoomFactor_;
    s.lastDocument = lastDocument_;
    return s;
}

void TMJ0Win::applySettingsFile(const SettingsFile& s)
{
    fileState_.header = s.header;
    settingsGroup1_ = s.group1;
    settingsGroup2_ = s.group2;
    lastDocument_ = s.lastDocument;
    if (s.header.paletteTaken)
        palette_ = s.header.palette;
    for (int i = kFirstSpecialSlot; i <= kLastSpecialSlot; ++i) {
        const int16_t v = s.header.specialSlots[static_cast<size_t>(i)];
        if (v >= 0 && v < kPaletteSize)
            special_.set(i, v);
    }
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

int TMJ0Win::readSettingsFrom(const std::string& path)
{
    SettingsFile s = captureSettings();
    const int e = qx::readSettingsFile(path, windowKind(), s);
    // A file cut short is read as far as it goes; another kind is ignored.
    if (e == 0 || e == kErrBadIni)
        applySettingsFile(s);
    return e;
}

bool TMJ0Win::writeSettingsTo(const std::string& path) const
{
    return qx::writeSettingsFile(path, captureSettings());
}

void TMJ0Win::readSettingsFile()
{
    if (readSettings_)
        readSettingsFrom(settingsPath(settingsFileName()));
}

void TMJ0Win::writeSettingsFile() const
{
    if (writeSettings_)
        writeSettingsTo(settingsPath(settingsFileName()));
}

bool TMJ0Win::openInitialDocument(const std::string& handedOver)
{
    if (!handedOver.empty() && readDocument(handedOver) == 0)
        return true;
    return reopenLast_ && !lastDocument_.empty() && readDocument(lastDocument_) == 0;
}

void TMJ0Win::loadStartupFiles(bool reopenLast, const std::string& document)
{
    readSettingsFile();
    reopenLast_ = reopenLast;
    openInitialDocument(document);
}

bool TMJ0Win::storedPlacement(WindowPlacement& p) const
{
    p = fileState_.header.placement;
    return p.width > 0 && p.height > 0;
}

void TMJ0Win::saveSettingsOnClose(const WindowPlacement& placement)
{
    fileState_.header.placement = placement;
    writeSettingsFile();
}

} // namespace qx
