#include "tools/oned/tbifwin.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "expr/evaluator.h"
#include "expr/program.h"
#include "model/common_header.h"
#include "model/document_tail.h"
#include "model/drawing_job.h"
#include "model/frame_settings.h"
#include "tools/oned/oned_help.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <random>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kSlotR = 18;
constexpr int kCmdMapping = 539, kCmdLeftToRight = 561, kCmdRightToLeft = 562, kCmdOverlay = 563;
constexpr int kCmdHelpFirst = 790;
constexpr int kModeZoom = 121;
constexpr Real kEscape = 10000;

// nearest(): the nearest integer, a half going toward zero, saturated.
long nearest(Real v)
{
    if (!(v < 2147483647.0L))
        return 2147483647L;
    if (!(v > -2147483647.0L))
        return -2147483647L;
    long n = static_cast<long>(v); // toward zero; the remainder is exact
    const Real frac = v - static_cast<Real>(n);
    if (frac > 0.5L)
        ++n;
    else if (frac < -0.5L)
        --n;
    return n;
}

// A count after a zoom by the factor F of the vertical extent.
int32_t rescaledCount(Real factor, int32_t count)
{
    const Real k = -3 * std::log10(factor);
    return static_cast<int32_t>(std::max<long>(100, nearest(k * count)));
}

struct BifSetup {
    View view;
    int32_t plotted = 100, skipped = 100, density = 1;
    Real seed = 0.5L;
};

// The diagram's points, column by column; `column` gets each column's
// points (world coordinates) and the columns done. Returns 0, or 81 when
// `stop` was raised between columns.
int diagramPoints(Program& f, const BifSetup& s, const std::atomic<bool>* stop, const TBif0Win::DiagramColumn& column)
{
    const View& v = s.view;
    const long long n = static_cast<long long>(s.density) * v.pixWidth;
    const Real dr = (v.xMax - v.xMin) / static_cast<Real>(std::max<long long>(n, 1));
    const Real tolerance = 0.6L * v.dy;
    const auto step = [&f](Real x) {
        Complex out;
        return f.evaluateBound(0, {x, 0}, {}, out) ? out.re : Real(0); // a failure yields 0
    };
    std::vector<WorldPoint> points;
    for (long long i = 0; i <= n; ++i) {
        const Real r = i == n ? v.xMax : v.xMin + static_cast<Real>(i) * dr;
        f.setVariable(kSlotR, {r, 0});
        Real x = s.seed;
        bool bounded = true;
        for (int32_t k = 0; k < s.skipped && bounded; ++k) {
            x = step(x);
            bounded = x >= -kEscape && x <= kEscape;
        }
        int32_t count = s.plotted;
        if (bounded) {
            const Real x1 = x, x2 = step(x1), x3 = step(x2);
            x = x2;
            if (std::fabs(x2 - x3) < tolerance)
                count = 1; // a fixed point: one point suffices
            else if (std::fabs(x1 - x3) < tolerance)
                count = 2; // a 2-cycle
        }
        points.clear();
        for (int32_t k = 0; k < count && bounded; ++k) {
            const long py = nearest(v.invDy * (v.yMax - x));
            if (py >= 0 && py < v.pixHeight)
                points.push_back({r, x});
            x = step(x);
            bounded = x >= -kEscape && x <= kEscape;
        }
        column(points, i + 1, n + 1);
        if (stop && stop->load(std::memory_order_relaxed))
            return 81;
    }
    return 0;
}

class DiagramJob final : public DrawingJob {
public:
    DiagramJob(Program f, BifSetup s, int colour) : f_(std::move(f)), s_(s), colour_(colour) {}
    int run(DrawingOutput& out, const std::atomic<bool>& stop) override
    {
        f_.flags().stop = &stop;
        return diagramPoints(f_, s_, &stop, [&](std::vector<WorldPoint>& points, long long done, long long total) {
            out.add({points, colour_, {}});
            out.setProgress(done, total);
        });
    }

private:
    Program f_;
    BifSetup s_;
    int colour_;
};

} // namespace

// ---- TBif0Win

TBif0Win::TBif0Win()
{
    watch_ = true;
    mouseMode_ = kModeZoom;
}

std::vector<CommandSpec> TBif0Win::mouseModes() const
{
    return {{kModeZoom, "&Zoom:  LB drag  RB recenter", "", CommandKind::Radio, kMenuBtns, ""}};
}

void TBif0Win::mouseDown(MouseButton button, PixelPoint p)
{
    if (button == MouseButton::Left && mouseMode_ == kModeZoom && !busy()) {
        beginDragZoom(p);
        return;
    }
    TVorlSWin::mouseDown(button, p);
}

void TBif0Win::zoomToRectangle(const WorldRect& r)
{
    const Real height = view_.yMax - view_.yMin;
    const int32_t plotted = plotted_, skipped = skipped_;
    rescaleCounts(height > 0 ? (r.up - r.down) / height : 1);
    if (!changeView([&](View& v) { return v.setViewByCorners(r.left, r.right, r.down, r.up); })) {
        plotted_ = plotted;
        skipped_ = skipped;
    }
}

Slide TBif0Win::captureSlide() const
{
    return Slide{plotted_, view_.centerX, view_.centerY, view_.halfWidth, {seed_, 0},
                 {static_cast<Real>(skipped_), static_cast<Real>(density_), view_.halfHeight}};
}

Slide TBif0Win::zoomSlide(Slide s, Real ratio) const
{
    s.halfWidth *= ratio;
    if (s.extra.size() == 3) {
        s.maxReps = rescaledCount(ratio, s.maxReps);
        s.extra[0] = rescaledCount(ratio, static_cast<int32_t>(s.extra[0]));
        s.extra[2] *= ratio;
    }
    return s;
}

bool TBif0Win::applySlide(const Slide& s)
{
    if (s.extra.size() != 3 || s.maxReps < 1 || !(s.extra[0] >= 1 && s.extra[0] <= 2147483647.0L) ||
        !(s.extra[1] >= 1 && s.extra[1] <= 32767) || !std::isfinite(s.c.re))
        return false;
    const Real hw = s.halfWidth, hh = s.extra[2];
    if (!changeView([&](View& v) {
            return v.setViewByCorners(s.centerX - hw, s.centerX + hw, s.centerY - hh, s.centerY + hh);
        }))
        return false;
    plotted_ = s.maxReps;
    skipped_ = static_cast<int32_t>(s.extra[0]);
    density_ = static_cast<int16_t>(s.extra[1]);
    seed_ = s.c.re;
    return true;
}

void TBif0Win::copyDrawingSettings(const TKVAWing& from)
{
    TVorlSWin::copyDrawingSettings(from);
    if (const auto* b = dynamic_cast<const TBif0Win*>(&from)) {
        mapping_ = b->mapping_;
        overlay_ = b->overlay_;
        map_ = CopyTree(b->map_.get());
        overlayTree_ = CopyTree(b->overlayTree_.get());
        overlayOn_ = b->overlayOn_;
        plotted_ = b->plotted_;
        skipped_ = b->skipped_;
        density_ = b->density_;
        seed_ = b->seed_;
    }
}

int TBif0Win::setMapping(const std::string& text)
{
    if (text == mapping_ && map_)
        return 0;
    TreePtr tree;
    if (const int e = CompileExpression(cx_, text, tree))
        return e;
    mapping_ = text;
    map_ = std::move(tree);
    if (attached())
        draw();
    return 0;
}

int TBif0Win::setOverlay(const std::string& text, bool on)
{
    const bool changed = text != overlay_;
    overlay_ = text;
    overlayOn_ = false;
    if (on) {
        TreePtr tree;
        if (const int e = CompileExpression(cx_, text, tree)) {
            overlaysChanged();
            return e;
        }
        overlayTree_ = std::move(tree);
        overlayOn_ = true;
    }
    if (changed && attached())
        draw();
    else
        overlaysChanged();
    return 0;
}

void TBif0Win::seedRandomly(Real low, Real high)
{
    std::mt19937 engine{std::random_device{}()};
    seed_ = low + (high - low) * std::uniform_real_distribution<double>(0, 1)(engine);
}

void TBif0Win::applyDefault(int k)
{
    mapping_.clear();
    if (k == 0) {
        setMapping("rx(1-x)");
        setOverlay("1-1/r", true);
        view_.setViewByCorners(1, 4, 0, 1);
        seedRandomly(0, 1);
    } else {
        setMapping("xx+r");
        setOverlay("0.5(1-sqr(1-4r))", true);
        view_.setViewByCorners(-2, 0.25L, -2, 2);
        seedRandomly(-0.5L, 0.5L);
    }
    recomputeView();
    defaultHalfWidth_ = view_.halfWidth;
    plotted_ = skipped_ = 100;
    if (attached())
        draw();
}

TBif0Win::Texts TBif0Win::texts() const
{
    char seed[64];
    std::snprintf(seed, sizeof seed, "%19.17Lf", seed_);
    return {std::to_string(plotted_), std::to_string(skipped_), std::to_string(density_), trimmedText(seed)};
}

int TBif0Win::applyTexts(const Texts& t)
{
    int32_t plotted = 0, skipped = 0, density = 0;
    if (!parseIntText(t.plotted, plotted) || !parseIntText(t.skipped, skipped) || !parseIntText(t.density, density) ||
        plotted < 1 || skipped < 1 || density < 1 || density > 32767)
        return ErrCannotUnderstand;
    Real seed = 0;
    if (const int e = evaluateRealConstant(t.seed, seed))
        return e;
    plotted_ = plotted;
    skipped_ = skipped;
    density_ = static_cast<int16_t>(density);
    seed_ = seed;
    return 0;
}

void TBif0Win::rescaleCounts(Real factor)
{
    if (!(factor > 0))
        return;
    plotted_ = rescaledCount(factor, plotted_);
    skipped_ = rescaledCount(factor, skipped_);
}

int TBif0Win::drawFigure(Canvas& figure)
{
    if (!map_)
        return 3;
    // The points fall on a clean background.
    figure.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, Pen{0, 1, PenSolid});
    Program f = Program::compile(cx_.env, {map_.get()});
    f.bindSlots(kSlotX);
    return startDrawingJob(std::make_unique<DiagramJob>(
        std::move(f), BifSetup{view_, plotted_, skipped_, density_, seed_}, special_.get(SlotCriticalOrbit)));
}

void TBif0Win::drawToolOverlays(Canvas& canvas)
{
    if (!overlayOn_ || !overlayTree_)
        return;
    ExprContext cx = cx_;
    const Pen pen{static_cast<int16_t>(special_.get(SlotTracing)), 1, PenSolid};
    bool havePrevious = false;
    WorldPoint previous{};
    for (Real r = view_.xMin; r < view_.xMax; r += view_.dx) {
        Real x = 0;
        const bool ok = EvaluateAtReal(cx.env, *overlayTree_, kSlotR, r, x) && x >= view_.yMin && x <= view_.yMax;
        if (!ok) {
            havePrevious = false; // the pen is lifted
            continue;
        }
        const WorldPoint p{r, x};
        if (havePrevious)
            canvas.drawSegment(previous, p, pen);
        previous = p;
        havePrevious = true;
    }
}

int TBif0Win::diagramPass(const std::atomic<bool>* stop, const DiagramColumn& column) const
{
    if (!map_)
        return 3;
    Program f = Program::compile(cx_.env, {map_.get()});
    f.bindSlots(kSlotX);
    f.flags().stop = stop;
    return diagramPoints(f, BifSetup{view_, plotted_, skipped_, density_, seed_}, stop, column);
}

bool TBif0Win::drawExportPage(Canvas& canvas, int)
{
    canvas.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, Pen{0, 1, PenSolid});
    const int colour = special_.get(SlotCriticalOrbit);
    diagramPass(exportStopFlag(), [&](std::vector<WorldPoint>& points, long long, long long) {
        canvas.drawDotList(points, colour, std::nullopt, 1);
    });
    drawOverlays(canvas);
    return true;
}

// ---- TBifWin

TBifWin::TBifWin(bool randomDefault)
{
    if (randomDefault) {
        std::mt19937 engine{std::random_device{}()};
        applyDefault(static_cast<int>(engine() % 2));
    }
}

ToolFiles TBifWin::toolFiles() const
{
    return {kBifKind, ".bif", "Bifurcation files (*.BIF)|*.bif", "bif"};
}

std::unique_ptr<TVorlWin> TBifWin::makeZoomChild() const
{
    return std::make_unique<TBifWin>(false);
}

void TBifWin::openZoomWindow(WorldPoint centre)
{
    // The child takes the counts rescaled for its closer view.
    const int32_t plotted = plotted_, skipped = skipped_;
    rescaleCounts(1 / zoomFactor_);
    TBif0Win::openZoomWindow(centre);
    plotted_ = plotted;
    skipped_ = skipped;
}

void TBifWin::settingsCommand()
{
    if (host().showModelessDialog("BPARAM"))
        return;
    Texts t = texts();
    std::vector<std::string> v{t.plotted, t.skipped, t.density, t.seed};
    if (!host().inputMany("bifurcation parameters", {"plotted pts", "skipped pts", "plot density", "seed x-value"}, v))
        return;
    if (const int e = applyTexts({v[0], v[1], v[2], v[3]})) {
        host().showError(e);
        return;
    }
    draw();
}

void TBifWin::declareCommands(CommandSet& set)
{
    TBif0Win::declareCommands(set);
    declareDocumentCommands(set);
    set.add({kCmdMapping, "&Mapping ...", "Ctrl+M", K::Plain, kMenuEdit, "", true}, [this] {
        std::string text = mapping_;
        if (host().inputText("f(r,x) =", text))
            if (const int e = setMapping(text.substr(0, 255)))
                host().showError(e);
    });
    set.add({kCmdLeftToRight, "&Left-to-right default", "", K::Plain, kMenuEdit, ""}, [this] { applyDefault(0); });
    set.add({kCmdRightToLeft, "&Right-to-left default", "", K::Plain, kMenuEdit, ""}, [this] { applyDefault(1); });
    set.add({kCmdOverlay, "&Overlay function ...", "", K::Toggle, kMenuEdit, ""},
            [this] {
                std::string text = overlay_;
                if (!host().inputText("x(r) =", text))
                    return;
                if (const int e = setOverlay(text.substr(0, 255), true))
                    host().showError(e);
            },
            [this] { return overlayOn_; });
    declareHelp(set, kCmdHelpFirst, bifHelp());
}

// ---- Documents: the blocks in order, then the shared tail.

void TBifWin::encodeDocumentBody(ByteWriter& w) const
{
    std::array<int16_t, 20> ints{};
    ints[0] = 5;
    ints[2] = density_;
    std::array<uint8_t, 10> flags{static_cast<uint8_t>(overlayOn_ ? 1 : 0), 0, 0, 0, 0, 0, 0, 1, 1, 1};
    std::array<Real, 20> reals{};
    reals[0] = view_.centerX;
    reals[1] = view_.centerY;
    reals[2] = view_.halfWidth;
    reals[3] = skipped_;
    reals[4] = plotted_;
    reals[5] = view_.halfHeight;
    reals[8] = seed_;
    writeHeadBlocks(w, ints, flags, reals);
    writeVariableTable(w);
    w.fixedText(mapping_, 256);
    w.fixedText(overlay_, 256);
    writePlacement(w, zoomPlacement_);
    writePlacement(w, popupPlacement_);
    DocumentTail tail;
    tail.slideExtras = slideExtras();
    tail.slides = slides_;
    tail.overlays = overlayState();
    writeDocumentTail(w, tail);
}

int TBifWin::decodeDocumentBody(ByteReader& r, const CommonHeader& h)
{
    std::array<int16_t, 20> ints{};
    std::array<uint8_t, 10> flags{};
    std::array<Real, 20> reals{};
    if (const int e = readToolHead(r, h, ints, flags, reals))
        return e;
    VariableTable vars;
    if (!readVariableValues(r, vars) || !readVariableBounds(r, vars))
        return kErrInconsistent;
    std::string mapping, overlay;
    WindowPlacement zoom, popup;
    if (!r.fixedText(256, mapping) || !r.fixedText(256, overlay) || !readPlacement(r, zoom) || !readPlacement(r, popup))
        return kErrInconsistent;
    DocumentTail tail;
    tail.slideExtras = slideExtras();
    if (const int e = readWholeTail(r, tail))
        return e;
    if (ints[2] < 1 || !(reals[3] >= 1 && reals[3] <= 2147483647.0L) || !(reals[4] >= 1 && reals[4] <= 2147483647.0L) ||
        !std::isfinite(reals[8]) || !(reals[5] > 0) || !std::isfinite(reals[5]))
        return kErrInconsistent;
    const ExprContext saved = cx_;
    for (int i = 0; i < kVariableCount; ++i)
        cx_.env.vars[static_cast<size_t>(i)] = vars.values[static_cast<size_t>(i)];
    TreePtr f, o;
    const bool ok = CompileExpression(cx_, mapping, f) == 0;
    const bool overlayOk = CompileExpression(cx_, overlay, o) == 0;
    cx_ = saved;
    const Real cx = reals[0], cy = reals[1], hw = reals[2], hh = reals[5];
    if (!ok || !view_.setViewByCorners(cx - hw, cx + hw, cy - hh, cy + hh))
        return kErrInconsistent;
    recomputeView();
    applyVariableTable(vars, true);
    mapping_ = mapping;
    map_ = std::move(f);
    overlay_ = overlay;
    overlayTree_ = overlayOk ? std::move(o) : nullptr;
    overlayOn_ = flags[0] != 0 && overlayTree_;
    density_ = ints[2];
    skipped_ = static_cast<int32_t>(reals[3]);
    plotted_ = static_cast<int32_t>(reals[4]);
    seed_ = reals[8];
    zoomPlacement_ = zoom;
    popupPlacement_ = popup;
    slides_ = tail.slides;
    if (tail.overlays)
        applyOverlayState(*tail.overlays);
    return 0;
}

} // namespace qx
