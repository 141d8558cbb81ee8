// Orbits of TVorlWin: the seed list and its overlays, the orbiter, the
// mouse-held image modes, the coordinate table and the marker dialog.
#include "model/tvorlwin.h"

#include "base/real_text.h"
#include "model/special_colours.h"

#include <array>
#include <cmath>

namespace qx {

namespace {

using K = CommandKind;
constexpr const char* kMenuOrbits = "&Orbits";
constexpr int kOrbiterIdleMs = 15000;

constexpr std::array<CommandSpec, 8> kOrbitCommands{{
    {CmdSeedList, "Seed &list ...", "", K::Plain, kMenuOrbits, ""},
    {CmdOverlay, "&Overlay", "", K::Toggle, kMenuOrbits, ""},
    {CmdSeedPoint, "&Seed point ...", "", K::Plain, kMenuOrbits, "", true},
    {CmdEraseMarks, "&Erase marks", "", K::Toggle, kMenuOrbits, ""},
    {CmdMarkerAttributes, "&Marker attributes ...", "", K::Plain, kMenuOrbits, ""},
    {CmdTableCoordinates, "&Table coordinates", "", K::Plain, kMenuOrbits, "", true},
    {CmdAscending, "&Ascending", "", K::Toggle, kMenuOrbits, ""},
    {CmdIimLimits, "&IIM limits ...", "", K::Plain, kMenuMisc, ""},
}};

bool finite(Complex z) { return std::isfinite(z.re) && std::isfinite(z.im); }

} // namespace

std::span<const CommandSpec> TVorlWin::orbitCommandTable()
{
    return kOrbitCommands;
}

bool TVorlWin::orbitToggleState(int id, bool& on) const
{
    switch (id) {
    case CmdOverlay: on = overlayOrbits_; return true;
    case CmdEraseMarks: on = orbit_.eraseMarks; return true;
    case CmdAscending: on = orbit_.ascending; return true;
    default: return false;
    }
}

bool TVorlWin::handleOrbitCommand(int id)
{
    switch (id) {
    case CmdSeedList: seedListCommand(); return true;
    case CmdOverlay: setOverlayOrbits(!overlayOrbits_); break;
    case CmdEraseMarks: orbit_.eraseMarks = !orbit_.eraseMarks; break;
    case CmdAscending:
        orbit_.ascending = !orbit_.ascending;
        if (tableShown_ && !lastOrbit_.empty()) // a shown table is rebuilt in its new order
            tableCommand();
        break;
    case CmdSeedPoint: seedPointCommand(); return true;
    case CmdTableCoordinates: tableCommand(); return true;
    case CmdMarkerAttributes: markerAttributesCommand(); return true;
    case CmdIimLimits: iimLimitsCommand(); return true;
    default: return false;
    }
    host().menuChecksChanged();
    return true;
}

// ---- Seed list and overlays.

void TVorlWin::setSeedListText(const std::string& text)
{
    setSeeds(parseSeedList(text.substr(0, kMaxSeedListText), seedReader()));
}

void TVorlWin::setSeeds(std::vector<Seed> seeds)
{
    seeds_ = std::move(seeds);
    overlayFresh_ = true;
    overlaysChanged();
}

void TVorlWin::setOverlayOrbits(bool on)
{
    overlayOrbits_ = on;
    overlayFresh_ = true;
    overlaysChanged();
}

int TVorlWin::setIimLimits(const std::string& screen, const std::string& output)
{
    return parseIimLimits(screen, output, orbit_);
}

std::vector<Complex> TVorlWin::orbitFrom(Complex start)
{
    std::vector<Complex> orbit;
    orbit.reserve(static_cast<size_t>(orbitLength_) + 1);
    Complex z = start;
    for (int32_t k = 0; k <= orbitLength_ && finite(z); ++k) {
        orbit.push_back(z);
        z = map(z);
    }
    return orbit;
}

void TVorlWin::drawOrbitOverlays(Canvas& canvas)
{
    if (!overlayOrbits_)
        return;
    const int colour = special_.get(SlotCriticalOrbit);
    std::vector<WorldPoint> dots;
    reps_ = 0;
    for (const Seed& seed : seeds_) {
        const std::vector<Complex> orbit = orbitFrom(seed.value);
        reps_ += static_cast<int32_t>(orbit.size());
        dots.clear();
        for (const Complex& z : orbit)
            if (view_.inView(z.re, z.im))
                dots.push_back({z.re, z.im});
        canvas.drawDotList(dots, colour, std::nullopt, 1);
        if (overlayFresh_)
            lastOrbit_ = orbit;
    }
    overlayFresh_ = false;
}

void TVorlWin::seedListCommand()
{
    std::string text = seedListText(seeds_);
    if (host().inputText("seed list", text))
        setSeedListText(text);
}

// ---- The orbiter.

void TVorlWin::startOrbiter(Complex start)
{
    orbiterActive_ = true;
    orbiterPoint_ = start;
    lastOrbit_ = {start};
    transient_.clear();
    transient_.push_back({{start.re, start.im}, markAttr_.colour});
    setStatusTitle(10);
    host().setIdleTimer(kOrbiterIdleMs);
    overlaysChanged();
}

void TVorlWin::advanceOrbiter()
{
    if (!orbiterActive_)
        return;
    orbiterPoint_ = map(orbiterPoint_);
    lastOrbit_.push_back(orbiterPoint_);
    if (orbit_.eraseMarks)
        transient_.clear();
    transient_.push_back({{orbiterPoint_.re, orbiterPoint_.im}, markAttr_.colour});
    host().setIdleTimer(kOrbiterIdleMs);
    overlaysChanged();
}

void TVorlWin::endOrbiter()
{
    if (!orbiterActive_)
        return;
    orbiterActive_ = false;
    transient_.clear();
    host().setIdleTimer(0);
    compositeValid_ = false;
    refresh(); // the overlays again, without the markers
}

void TVorlWin::idleTimeout()
{
    endOrbiter();
}

bool TVorlWin::orbiterKey(int key)
{
    if (key == ' ')
        advanceOrbiter();
    else if (key == 'Q')
        endOrbiter();
    else
        return false;
    return true;
}

int TVorlWin::seedPoint(const std::string& text)
{
    Complex z;
    if (text.size() > 255 || evaluateConstant(text, z))
        return 1;
    mouseMode_ = CmdMouseFirst + 1;
    startOrbiter(z);
    return 0;
}

void TVorlWin::seedPointCommand()
{
    std::string text = formatReal(orbiterPoint_.re, 1, 6) + (orbiterPoint_.im < 0 ? " - " : " + ") +
                       formatReal(std::fabs(orbiterPoint_.im), 1, 6) + "i";
    if (!host().inputText("seed point: z =", text))
        return;
    if (const int e = seedPoint(text))
        host().showError(e);
    host().menuChecksChanged();
}

// ---- Mouse-held modes.

void TVorlWin::showHeldMarkers(int mode, PixelPoint p)
{
    heldMode_ = mode;
    const WorldPoint w = view_.pixelToWorld(p);
    transient_.assign(1, {w, markAttr_.colour});
    if (mode == CmdMouseLast) {
        const Complex z = map({w.x, w.y});
        transient_.push_back({{z.re, z.im}, markAttr_.colour});
    } else {
        for (const Complex& z : preimagesOf({w.x, w.y}))
            transient_.push_back({{z.re, z.im}, special_.get(SlotAncestor)});
    }
    overlaysChanged();
}

void TVorlWin::mouseMove(PixelPoint p)
{
    if (heldMode_)
        showHeldMarkers(heldMode_, p);
}

void TVorlWin::mouseUp(MouseButton, PixelPoint)
{
    if (!heldMode_)
        return;
    heldMode_ = 0;
    transient_.clear();
    overlaysChanged();
}

void TVorlWin::drawTransientMarks(Canvas& canvas) const
{
    const int size = markAttr_.big ? 2 * markAttr_.size : markAttr_.size;
    for (const TransientMark& m : transient_)
        canvas.drawMark(m.p, markAttr_.kind, size, m.colour);
}

// ---- Table and dialogs.

void TVorlWin::tableCommand()
{
    if (lastOrbit_.empty()) {
        host().showError(10); // nothing to show
        return;
    }
    tableShown_ = host().showTextWindow("orbit coordinates", coordinateTable());
    if (!tableShown_)
        host().showError(10);
}

void TVorlWin::markerAttributesCommand()
{
    if (host().showModelessDialog("MARKATT"))
        return;
    std::vector<std::string> values = markAttributeTexts(markAttr_);
    if (!host().inputMany("marker attributes", markAttributePrompts(), values))
        return;
    if (const int e = applyMarkAttributeTexts(values))
        host().showError(e);
}

void TVorlWin::iimLimitsCommand()
{
    std::vector<std::string> values{std::to_string(orbit_.iimScreenLimit), std::to_string(orbit_.iimOutputLimit)};
    if (!host().inputMany("IIM limits", {"screen (0: no limit)", "export and print"}, values))
        return;
    if (const int e = setIimLimits(values.at(0), values.at(1)))
        host().showError(e % 1000);
}

} // namespace qx
