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


} // namespace

void TVorlWin::declareOrbitCommands(CommandSet& set)
{
    const auto& k = kOrbitCommands;
    OrbitSettings& o = orbits_.settings;
    set.add(k[0], [this] { seedListCommand(); });
    set.add(k[1], [this] { setOverlayOrbits(!orbits_.overlayOn); }, [this] { return orbits_.overlayOn; });
    set.add(k[2], [this] { seedPointCommand(); });
    set.add(k[3], [&o] { o.eraseMarks = !o.eraseMarks; }, [&o] { return o.eraseMarks; });
    set.add(k[4], [this] { markerAttributesCommand(); });
    set.add(k[5], [this] { tableCommand(); });
    set.add(k[6], [this, &o] {
        o.ascending = !o.ascending;
        if (orbits_.tableShown && !orbits_.lastOrbit.empty()) // a shown table is rebuilt in its new order
            tableCommand();
    }, [&o] { return o.ascending; });
    set.add(k[7], [this] { iimLimitsCommand(); });
}

// ---- Seed list and overlays.

void TVorlWin::setSeedListText(const std::string& text)
{
    setSeeds(parseSeedList(text.substr(0, kMaxSeedListText), seedReader()));
}

void TVorlWin::setSeeds(std::vector<Seed> seeds)
{
    orbits_.seeds = std::move(seeds);
    orbits_.overlayFresh = true;
    orbitPointsChanged();
    overlaysChanged();
}

void TVorlWin::setOverlayOrbits(bool on)
{
    orbits_.overlayOn = on;
    orbits_.overlayFresh = true;
    orbitPointsChanged();
    overlaysChanged();
}

int TVorlWin::setIimLimits(const std::string& screen, const std::string& output)
{
    return parseIimLimits(screen, output, orbits_.settings);
}

namespace {

std::vector<Complex> seedValues(const std::vector<Seed>& seeds)
{
    std::vector<Complex> values;
    for (const Seed& s : seeds)
        values.push_back(s.value);
    return values;
}

// The overlay's points computed off the user-interface thread; the window
// takes them from `result` once the job has ended.
class OrbitJob final : public DrawingJob {
public:
    OrbitJob(std::vector<Complex> seeds, int32_t length, const View& view, OrbitMap map,
             std::shared_ptr<OrbitPoints> result)
        : seeds_(std::move(seeds)), length_(length), view_(view), map_(std::move(map)), result_(std::move(result))
    {
    }
    int run(DrawingOutput& out, const std::atomic<bool>& stop) override
    {
        return computeOrbitPoints(seeds_, length_, view_, map_, stop, *result_,
                                  [&out](long long done, long long total) { out.setProgress(done, total); });
    }

private:
    std::vector<Complex> seeds_;
    int32_t length_;
    View view_;
    OrbitMap map_;
    std::shared_ptr<OrbitPoints> result_;
};

} // namespace

std::vector<Complex> TVorlWin::orbitFrom(Complex start)
{
    const std::atomic<bool> never{false};
    OrbitPoints p;
    computeOrbitPoints({start}, orbitLength_, view_, orbitMap(), never, p);
    return std::move(p.lastOrbit);
}

void TVorlWin::orbitPointsChanged()
{
    ++orbits_.generation;
    orbits_.points.reset();
    if (overlayJob_)
        job_.interrupt(); // its points are out of date; compose() starts the next job
}

void TVorlWin::startOrbitJob()
{
    if (busy_ || !attached() || !orbits_.overlayOn || orbits_.seeds.empty() || orbits_.points)
        return;
    auto result = std::make_shared<OrbitPoints>();
    job_.start(std::make_unique<OrbitJob>(seedValues(orbits_.seeds), orbitLength_, view_, orbitMap(), result));
    overlayJob_ = true;
    busy_ = true;
    orbitJobResult_ = std::move(result);
    orbitJobGeneration_ = orbits_.generation;
    host().backgroundWorkStarted();
}

void TVorlWin::useOrbitPoints(const OrbitPoints& p)
{
    reps_ = static_cast<int32_t>(std::min<long long>(p.reps, INT32_MAX));
    if (orbits_.overlayFresh && !p.dots.empty())
        orbits_.lastOrbit = p.lastOrbit;
    orbits_.overlayFresh = false;
}

void TVorlWin::drawOrbitOverlays(Canvas& canvas, bool screen)
{
    if (!orbits_.overlayOn)
        return;
    OrbitPoints fresh;
    const OrbitPoints* p = orbits_.points.get();
    if (!p) {
        if (screen)
            return; // the job brings them
        const std::atomic<bool> never{false};
        const std::atomic<bool>* stop = exportStopFlag(); // Q in a background export
        computeOrbitPoints(seedValues(orbits_.seeds), orbitLength_, view_, orbitMap(), stop ? *stop : never, fresh);
        useOrbitPoints(fresh);
        p = &fresh;
    }
    const int colour = special_.get(SlotCriticalOrbit);
    for (const auto& dots : p->dots)
        canvas.drawDotList(dots, colour, std::nullopt, 1);
}

void TVorlWin::seedListCommand()
{
    std::string text = seedListText(orbits_.seeds);
    if (host().inputText("seed list", text))
        setSeedListText(text);
}

// ---- The orbiter.

void TVorlWin::startOrbiter(Complex start)
{
    orbits_.orbiterActive = true;
    orbits_.orbiterPoint = start;
    orbits_.lastOrbit = {start};
    orbits_.transient.clear();
    orbits_.transient.push_back({{start.re, start.im}, markAttr_.colour});
    setStatusTitle(10);
    host().setIdleTimer(kOrbiterIdleMs);
    overlaysChanged();
}

void TVorlWin::advanceOrbiter()
{
    if (!orbits_.orbiterActive)
        return;
    orbits_.orbiterPoint = map(orbits_.orbiterPoint);
    orbits_.lastOrbit.push_back(orbits_.orbiterPoint);
    if (orbits_.settings.eraseMarks)
        orbits_.transient.clear();
    orbits_.transient.push_back({{orbits_.orbiterPoint.re, orbits_.orbiterPoint.im}, markAttr_.colour});
    host().setIdleTimer(kOrbiterIdleMs);
    overlaysChanged();
}

void TVorlWin::endOrbiter()
{
    if (!orbits_.orbiterActive)
        return;
    orbits_.orbiterActive = false;
    orbits_.transient.clear();
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
    std::string text = formatReal(orbits_.orbiterPoint.re, 1, 6) + (orbits_.orbiterPoint.im < 0 ? " - " : " + ") +
                       formatReal(std::fabs(orbits_.orbiterPoint.im), 1, 6) + "i";
    if (!host().inputText("seed point: z =", text))
        return;
    if (const int e = seedPoint(text))
        host().showError(e);
    host().menuChecksChanged();
}

// ---- Mouse-held modes.

void TVorlWin::showHeldMarkers(int mode, PixelPoint p)
{
    orbits_.heldMode = mode;
    const WorldPoint w = view_.pixelToWorld(p);
    orbits_.transient.assign(1, {w, markAttr_.colour});
    if (mode == CmdMouseLast) {
        const Complex z = map({w.x, w.y});
        orbits_.transient.push_back({{z.re, z.im}, markAttr_.colour});
    } else {
        for (const Complex& z : preimagesOf({w.x, w.y}))
            orbits_.transient.push_back({{z.re, z.im}, special_.get(SlotAncestor)});
    }
    overlaysChanged();
}

void TVorlWin::mouseMove(PixelPoint p)
{
    if (dragZoom_) {
        dragZoom_->second = p;
        overlaysChanged();
    }
    if (orbits_.heldMode)
        showHeldMarkers(orbits_.heldMode, p);
}

void TVorlWin::beginDragZoom(PixelPoint p)
{
    dragZoom_ = std::make_pair(p, p);
}

void TVorlWin::zoomToRectangle(const WorldRect& r)
{
    changeView([&](View& v) { return v.setViewByCorners(r.left, r.right, r.down, r.up); });
}

void TVorlWin::mouseUp(MouseButton button, PixelPoint p)
{
    if (dragZoom_ && button == MouseButton::Left) {
        const auto [a, unused] = *dragZoom_;
        dragZoom_.reset();
        overlaysChanged();
        if (std::abs(p.x - a.x) >= 3 && std::abs(p.y - a.y) >= 3) {
            const WorldPoint u = view_.pixelToWorld(a), w = view_.pixelToWorld(p);
            zoomToRectangle({std::min(u.x, w.x), std::max(u.x, w.x), std::min(u.y, w.y), std::max(u.y, w.y)});
        }
        return;
    }
    if (!orbits_.heldMode)
        return;
    orbits_.heldMode = 0;
    orbits_.transient.clear();
    overlaysChanged();
}

void TVorlWin::drawTransientMarks(Canvas& canvas) const
{
    const int size = markAttr_.big ? 2 * markAttr_.size : markAttr_.size;
    for (const TransientMark& m : orbits_.transient)
        canvas.drawMark(m.p, markAttr_.kind, size, m.colour);
    if (dragZoom_)
        canvas.drawRect(view_.pixelToWorld(dragZoom_->first), view_.pixelToWorld(dragZoom_->second), std::nullopt,
                        Pen{special_.get(SlotZoomRectangle), 1, PenDash});
}

// ---- Table and dialogs.

void TVorlWin::tableCommand()
{
    if (orbits_.lastOrbit.empty()) {
        host().showError(10); // nothing to show
        return;
    }
    orbits_.tableShown = host().showTextWindow("orbit coordinates", coordinateTable());
    if (!orbits_.tableShown)
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
    std::vector<std::string> values{std::to_string(orbits_.settings.iimScreenLimit), std::to_string(orbits_.settings.iimOutputLimit)};
    if (!host().inputMany("IIM limits", {"screen (0: no limit)", "export and print"}, values))
        return;
    if (const int e = setIimLimits(values.at(0), values.at(1)))
        host().showError(e % 1000);
}

} // namespace qx
