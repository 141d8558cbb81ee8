#include "tools/oned/twebwin.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "expr/evaluator.h"
#include "expr/program.h"
#include "graphics/export/export_format.h"
#include "model/common_header.h"
#include "model/document_tail.h"
#include "model/drawing_job.h"
#include "model/frame_settings.h"
#include "tools/oned/cycle_table.h"
#include "tools/oned/oned_help.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <thread>
#include <unordered_set>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kSlotR = 18;
constexpr int kCmdMany = 91, kCmdClear = 362, kCmdOne = 518, kCmdMapping = 539, kCmdQuadratic = 565,
              kCmdLogistic = 566, kCmdHowMany = 567, kCmdCycleFirst = 712, kCmdBeeps = 722, kCmdReset = 723;
constexpr int kModeCoords = 120;
constexpr int kCmdHelpFirst = 800;
constexpr int kLetters = 23; // A .. W may hold the seed
// The web keeps at most this many steps, so a replay stays short.
constexpr int32_t kMaxWebSteps = 1000000;
// Arrowheads: the stroke length in pixels; a segment shorter than four of
// them (|dx| + |dy|) gets none.
constexpr int kArrowSize = 6;
// Beeps: the vertical pixel position maps onto this range (top = highest).
constexpr int kToneLow = 220, kToneHigh = 1760;

// Seeds from the random engine: defaults and the cycle generator.
std::mt19937& randomEngine()
{
    static thread_local std::mt19937 engine{std::random_device{}()};
    return engine;
}

// The steps of the web on a worker: each step hands over (x, f(x)) and
// waits for the delay unless the trace is off; a failed or infinite value
// ends the steps, since the orbit cannot go on.
class StepJob final : public DrawingJob {
public:
    StepJob(Program f, Real x, int32_t steps, bool pause, std::shared_ptr<StepControl> control)
        : f_(std::move(f)), x_(x), steps_(steps), pause_(pause), control_(std::move(control))
    {
    }
    int run(DrawingOutput& out, const std::atomic<bool>& stop) override
    {
        f_.flags().stop = &stop;
        for (int32_t k = 0; k < steps_; ++k) {
            if (stop.load(std::memory_order_relaxed))
                return 81;
            Complex y;
            if (!f_.evaluateBound(0, {x_, 0}, {}, y) || !std::isfinite(y.re))
                return 0;
            out.add({{{x_, y.re}}, 0, {}});
            out.setProgress(k + 1, steps_);
            x_ = y.re;
            if (pause_ && k + 1 < steps_ && !wait(stop))
                return 81;
        }
        return 0;
    }

private:
    // The delay, in slices so that Q is seen at once; P holds it until the next key.
    bool wait(const std::atomic<bool>& stop) const
    {
        using namespace std::chrono;
        const auto until = steady_clock::now() + milliseconds(control_->delayMs.load());
        while (steady_clock::now() < until || control_->paused.load()) {
            if (stop.load(std::memory_order_relaxed))
                return false;
            std::this_thread::sleep_for(milliseconds(2));
        }
        return true;
    }

    Program f_;
    Real x_;
    int32_t steps_;
    bool pause_;
    std::shared_ptr<StepControl> control_;
};

} // namespace

TWebWin::TWebWin(bool randomDefault)
{
    mouseMode_ = kModeCoords;
    watch_ = true;
    const bool logistic = randomDefault && std::uniform_real_distribution<double>(0, 1)(randomEngine()) <= 0.22;
    applyDefault(logistic ? Logistic : Quadratic);
}

TWebWin::~TWebWin()
{
    interruptRendering();
    finishRendering();
}

void TWebWin::copyDrawingSettings(const TKVAWing& from)
{
    TVorl1Win::copyDrawingSettings(from);
    if (const auto* w = dynamic_cast<const TWebWin*>(&from)) {
        family_ = w->family_;
        mapping_ = w->mapping_;
        map_ = CopyTree(w->map_.get());
        seed_ = w->seed_;
        seedParam_ = w->seedParam_;
        trace_ = w->trace_;
        initialSegment_ = w->initialSegment_;
        arrows_ = w->arrows_;
        showCoordinate_ = w->showCoordinate_;
        howMany_ = w->howMany_;
        control_->delayMs.store(w->delay());
        beeps_ = w->beeps_;
        toneMs_ = w->toneMs_;
    }
}

// ---- The function and the defaults.

int TWebWin::setMapping(const std::string& text)
{
    if (text == mapping_ && map_)
        return 0;
    TreePtr tree;
    if (const int e = CompileExpression(cx_, text, tree))
        return e;
    mapping_ = text;
    map_ = std::move(tree);
    restartAtSeed();
    target_ = 0;
    if (attached())
        draw();
    return 0;
}

void TWebWin::applyDefault(int family)
{
    family_ = family == Logistic ? Logistic : Quadratic;
    mapping_.clear();
    if (family_ == Logistic) {
        setMapping("rx(1-x)");
        setView(0.5L, 0.45L, 0.8L);
        setVariable(kSlotR, {3.9L, 0});
        setVariableBounds(kSlotR, 0, 4);
        seed_ = 0.1L + 0.35L * std::uniform_real_distribution<double>(0, 1)(randomEngine());
    } else {
        setMapping("xx+r");
        setView(0, 0, 2.3L);
        setVariable(kSlotR, {-1.41L, 0});
        setVariableBounds(kSlotR, -2, 0.25L);
        seed_ = 0;
    }
    defaultHalfWidth_ = view_.halfWidth;
    if (seedParam_ > 0)
        setVariable(seedParam_, {seed_, 0});
    restartAtSeed();
    target_ = 0;
    if (attached()) {
        host().parameterBarChanged();
        draw();
    }
}

bool TWebWin::generateCycle(int n, int pick)
{
    const std::span<const Real> table = superattractingParameters(n);
    if (table.empty() || pick >= static_cast<int>(table.size()))
        return false;
    const size_t index = pick >= 0 ? static_cast<size_t>(pick) : randomEngine()() % table.size();
    const Real c = table[index];
    if (busy())
        interruptRendering();
    const int keepFamily = family_;
    seedParam_ = 0;
    applyDefault(keepFamily);
    seed_ = keepFamily == Logistic ? 0.5L : 0; // the critical point
    setVariable(kSlotR, {keepFamily == Logistic ? 1 + std::sqrt(1 - 4 * c) : c, 0});
    restartAtSeed();
    target_ = n;
    if (attached()) {
        host().parameterBarChanged();
        draw();
    }
    return true;
}

// ---- Stepping.

Real TWebWin::seedValue() const
{
    return seedParam_ > 0 ? variable(seedParam_).re : seed_;
}

void TWebWin::restartAtSeed()
{
    clearedAt_.reset();
    count_ = 0;
    current_ = seedValue();
}

void TWebWin::requestSteps(int32_t target)
{
    target_ = std::min(target, kMaxWebSteps);
    if (target_ > count_ && attached())
        draw();
}

void TWebWin::stepOne()
{
    requestSteps(count_ + 1);
}

void TWebWin::stepMany()
{
    requestSteps(count_ + howMany_);
}

void TWebWin::clearWeb()
{
    if (busy())
        interruptRendering();
    finishRendering();
    clearedAt_ = current_;
    count_ = target_ = 0;
    if (attached())
        draw();
}

void TWebWin::resetWeb()
{
    if (busy())
        interruptRendering();
    finishRendering();
    restartAtSeed();
    target_ = 0;
    if (attached())
        draw();
}

int TWebWin::setHowMany(const std::string& text)
{
    int32_t n = 0;
    if (!parseIntText(text, n))
        return ErrCannotUnderstand;
    if (n < 1 || n > kMaxHowMany)
        return ErrOutOfBounds;
    howMany_ = n;
    return 0;
}

std::vector<Real> TWebWin::orbit() const
{
    std::vector<Real> xs;
    Real x = clearedAt_ ? *clearedAt_ : seedValue();
    xs.push_back(x);
    for (int32_t i = 0; i < count_; ++i) {
        Real y = 0;
        if (!evaluate(x, y) || !std::isfinite(y))
            break;
        xs.push_back(y);
        x = y;
    }
    return xs;
}

bool TWebWin::evaluate(Real x, Real& y) const
{
    if (!map_)
        return false;
    ExprContext cx = cx_;
    return EvaluateAtReal(cx.env, *map_, kSlotX, x, y);
}

// ---- WPARAM.

TWebWin::Settings TWebWin::settings() const
{
    char seed[64];
    std::snprintf(seed, sizeof seed, "%19.17Lf", seed_);
    Settings s;
    s.tied = seedParam_ > 0;
    s.letter = seedParam_ > 0 ? seedParam_ : 1;
    s.seed = trimmedText(seed);
    s.trace = trace_;
    s.initialSegment = initialSegment_;
    s.arrows = arrows_;
    s.showCoordinate = showCoordinate_;
    return s;
}

int TWebWin::applySettings(const Settings& s)
{
    if (s.letter < 1 || s.letter > kLetters || s.trace < TraceTotal || s.trace > TraceOff)
        return ErrInconsistentData;
    Real seed = seed_;
    if (!s.tied) {
        if (const int e = evaluateRealConstant(s.seed, seed))
            return e;
        if (seed < view_.xMin || seed > view_.xMax)
            return ErrOutOfBounds;
    }
    const int32_t param = s.tied ? s.letter : 0;
    const bool seedChanged = param != seedParam_ || seed != seed_;
    seedParam_ = param;
    seed_ = seed;
    trace_ = s.trace;
    initialSegment_ = s.initialSegment;
    arrows_ = s.arrows;
    showCoordinate_ = s.showCoordinate;
    if (seedChanged)
        restartAtSeed();
    if (attached()) {
        host().parameterBarChanged();
        draw();
    }
    return 0;
}

// ---- The parameter bar: the letter holding the seed, else r.

std::optional<TVorlWin::ParameterBar> TWebWin::parameterBar() const
{
    const int slot = seedParam_ > 0 ? seedParam_ : kSlotR;
    return ParameterBar{slot, variableMinimum(slot), variableMaximum(slot), variable(slot).re};
}

void TWebWin::parameterBarMoved(Real value)
{
    const int slot = parameterBar()->slot;
    if (!(value >= variableMinimum(slot) && value <= variableMaximum(slot)))
        return;
    setVariable(slot, {value, 0});
    // The web is drawn again to the steps it has, from its start.
    target_ = std::max(target_, count_);
    if (slot == seedParam_ && !clearedAt_)
        current_ = value;
    draw();
}

// ---- Drawing.

void TWebWin::drawBase(Canvas& canvas) const
{
    canvas.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, Pen{0, 1, PenSolid});
    // The diagonal y = x where it crosses the view (the view's corners lie on
    // it only when both ranges agree).
    const Real low = std::max(view_.xMin, view_.yMin), high = std::min(view_.xMax, view_.yMax);
    if (low < high)
        canvas.drawSegment({low, low}, {high, high}, Pen{special_.get(SlotFixedPoint), 1, PenSolid});
    if (!map_)
        return;
    const Pen pen{special_.get(SlotTracing), 1, PenSolid};
    ExprContext cx = cx_;
    std::vector<WorldPoint> run;
    const auto flush = [&] {
        if (run.size() > 1)
            canvas.drawPolyline(run, pen);
        run.clear();
    };
    for (int32_t i = 0; i <= view_.pixWidth; ++i) {
        const Real x = view_.xMin + static_cast<Real>(i) * view_.dx;
        Real y = 0;
        if (EvaluateAtReal(cx.env, *map_, kSlotX, x, y) && y >= view_.yMin && y <= view_.yMax)
            run.push_back({x, y});
        else
            flush(); // the pen is lifted
    }
    flush();
}

void TWebWin::drawArrow(Canvas& canvas, WorldPoint a, WorldPoint b, const Pen& pen) const
{
    const Real px = (b.x - a.x) * view_.invDx, py = (a.y - b.y) * view_.invDy; // pixels, y down
    if (std::fabs(px) + std::fabs(py) < 4 * kArrowSize)
        return;
    const WorldPoint mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
    // The unit direction of travel in pixels, and its normal.
    const Real ux = px > 0 ? 1 : px < 0 ? -1 : 0, uy = std::fabs(px) > 0 ? 0 : (py > 0 ? 1 : -1);
    const Real dirX = std::fabs(px) > 0 ? ux : 0, dirY = std::fabs(px) > 0 ? 0 : uy;
    for (const int side : {-1, 1}) {
        const Real ex = (-dirX + side * dirY) * kArrowSize, ey = (-dirY + side * dirX) * kArrowSize;
        canvas.drawSegment(mid, {mid.x + ex * view_.dx, mid.y - ey * view_.dy}, pen);
    }
}

void TWebWin::drawStep(Canvas& canvas, Real x, Real y, bool first) const
{
    const Pen pen{special_.get(SlotIim), 1, PenSolid};
    const WorldPoint from{x, first && initialSegment_ ? 0 : x}, top{x, y}, to{y, y};
    canvas.drawSegment(from, top, pen);
    canvas.drawSegment(top, to, pen);
    if (arrows_) {
        drawArrow(canvas, from, top, pen);
        drawArrow(canvas, top, to, pen);
    }
}

void TWebWin::drawWeb(Canvas& canvas) const
{
    const std::vector<Real> xs = orbit();
    if (trace_ == TraceOff || xs.size() < 2)
        return;
    const size_t first = trace_ == TracePartial ? xs.size() - 2 : 0;
    // A long web returns to the same pixels again and again: each step is drawn once.
    std::unordered_set<uint64_t> drawn;
    for (size_t i = first; i + 1 < xs.size(); ++i) {
        const auto px = [&](Real v) {
            return static_cast<uint64_t>(static_cast<uint32_t>(view_.xToPixel(v)));
        };
        if (i > 0 && !drawn.insert(px(xs[i]) << 32 | px(xs[i + 1])).second)
            continue;
        drawStep(canvas, xs[i], xs[i + 1], i == 0);
    }
}

int TWebWin::drawFigure(Canvas& figure)
{
    if (!map_)
        return 3;
    drawBase(figure);
    drawWeb(figure);
    const std::vector<Real> xs = orbit();
    count_ = static_cast<int32_t>(xs.size()) - 1; // a web that cannot go on ends where it stopped
    current_ = xs.back();
    if (target_ <= count_) {
        target_ = count_;
        return 0;
    }
    Program f = Program::compile(cx_.env, {map_.get()});
    f.bindSlots(kSlotX);
    jobFirst_ = count_;
    control_->paused.store(false);
    return startDrawingJob(
        std::make_unique<StepJob>(std::move(f), current_, target_ - count_, trace_ != TraceOff, control_));
}

void TWebWin::drawJobBatch(Canvas& figure, const DotBatch& batch)
{
    for (size_t i = 0; i < batch.points.size(); ++i) {
        const WorldPoint p = batch.points[i];
        const bool last = i + 1 == batch.points.size();
        if (trace_ == TracePartial && last) {
            drawBase(figure); // only the latest step shows
            drawStep(figure, p.x, p.y, count_ == 0);
        } else if (trace_ == TraceTotal) {
            drawStep(figure, p.x, p.y, count_ == 0);
        }
        ++count_;
        current_ = p.y;
    }
    if (beeps_ && !batch.points.empty() && attached()) {
        Real y = 0;
        if (evaluate(current_, y) && std::isfinite(y)) {
            const Real row = std::clamp<Real>((view_.yMax - y) * view_.invDy, 0, view_.pixHeight);
            const Real share = 1 - row / std::max<int32_t>(view_.pixHeight, 1);
            host().playTone(static_cast<int>(kToneLow + share * (kToneHigh - kToneLow)), toneMs_);
        }
    }
    if (showCoordinate_)
        overlaysChanged();
}

void TWebWin::renderFinished(int)
{
    // Stopped with Q, or the orbit could not go on: the web ends where it is.
    target_ = count_;
    control_->paused.store(false);
}

void TWebWin::drawToolOverlays(Canvas& canvas)
{
    if (!showCoordinate_)
        return;
    char text[64];
    std::snprintf(text, sizeof text, "x = %.*Lf", std::clamp<int>(view_.places, 1, 18), current_);
    TextStyle style;
    style.colour = special_.get(SlotIim);
    style.offsetX = 6;
    style.offsetY = -6;
    canvas.drawText({current_, current_}, text, style);
}

bool TWebWin::drawExportPage(Canvas& canvas, int)
{
    drawBase(canvas);
    drawWeb(canvas);
    drawOverlays(canvas);
    return true;
}

int TWebWin::pageDirective(const std::string& text, std::string& letters) const
{
    if (pageDirectiveKind(text, letters) == 2)
        return 2;
    return TVorl1Win::pageDirective(text, letters);
}

void TWebWin::animatePage(int page, int pages, int kind, const std::string& letters)
{
    if (kind != 2) {
        TVorl1Win::animatePage(page, pages, kind, letters);
        return;
    }
    if (page > 0 && count_ < kMaxWebSteps) // the page draws the stored web, one step longer
        target_ = ++count_;
}

// ---- Keys and the mouse.

bool TWebWin::keyDown(int key)
{
    if (busy() && !exporting()) {
        if (control_->paused.exchange(false))
            return true; // P holds until the next key
        if (key == 'S') {
            if (beeps_)
                ++toneMs_;
            else
                control_->delayMs.fetch_add(15);
            return true;
        }
        if (key == 'F') {
            if (beeps_) {
                if (toneMs_ > 10)
                    --toneMs_;
            } else if (control_->delayMs.load() > 15) {
                control_->delayMs.fetch_sub(15);
            }
            return true;
        }
        if (key == 'P') {
            control_->paused.store(true);
            return true;
        }
    }
    return TVorl1Win::keyDown(key);
}

std::vector<CommandSpec> TWebWin::mouseModes() const
{
    return {{kModeCoords, "&Coords LB   Recenter RB", "", K::Radio, kMenuBtns, ""}};
}

void TWebWin::mouseDown(MouseButton button, PixelPoint p)
{
    const WorldPoint w = view_.pixelToWorld(p);
    if (button == MouseButton::Left && mouseMode_ == kModeCoords) {
        char text[120];
        std::snprintf(text, sizeof text, "x = %.*Lf   y = %.*Lf", std::clamp<int>(view_.places, 1, 18), w.x,
                      std::clamp<int>(view_.places, 1, 18), w.y);
        host().setTitle(text);
        return;
    }
    if (button == MouseButton::Right && mouseMode_ == kModeCoords) {
        if (busy()) {
            interruptRendering();
            return;
        }
        const Real half = view_.halfWidth;
        changeView([&](View& v) { return v.setViewByCenter(w.x, w.y, half); }); // recentred, the width kept
        return;
    }
    TVorl1Win::mouseDown(button, p);
}

// ---- Commands.

void TWebWin::settingsCommand()
{
    if (host().showModelessDialog("WPARAM"))
        return;
    Settings s = settings();
    std::vector<std::string> v{s.seed, s.tied ? std::string(1, static_cast<char>('A' + s.letter - 1)) : "",
                               std::to_string(s.trace)};
    if (!host().inputMany("web parameters", {"constant seed", "parameter (A .. W, empty: constant)", "trace (0 total, 1 partial, 2 off)"}, v))
        return;
    s.seed = v[0];
    s.tied = !v[1].empty();
    if (s.tied)
        s.letter = std::toupper(static_cast<unsigned char>(v[1][0])) - 'A' + 1;
    int32_t trace = -1;
    s.trace = parseIntText(v[2], trace) ? trace : -1;
    if (const int e = applySettings(s))
        host().showError(e);
}

int TWebWin::cycleCommand(int n)
{
    return generateCycle(n) ? 0 : ErrNothingToDo;
}

void TWebWin::declareCommands(CommandSet& set)
{
    TVorl1Win::declareCommands(set);
    declareDocumentCommands(set);
    set.add({kCmdMapping, "&Mapping ...", "", K::Plain, kMenuEdit, "", true}, [this] {
        std::string text = mapping_;
        if (host().inputText("f(x) =", text))
            if (const int e = setMapping(text.substr(0, 255)))
                host().showError(e);
    });
    set.add({kCmdQuadratic, "M&andelbrot default xx+r", "", K::Plain, kMenuEdit, ""}, [this] { applyDefault(Quadratic); });
    set.add({kCmdLogistic, "&Logistic default rx(1-x)", "", K::Plain, kMenuEdit, ""}, [this] { applyDefault(Logistic); });
    static constexpr const char* kCycleTexts[] = {"&2-cycle", "&3-cycle", "&4-cycle", "&5-cycle", "&6-cycle",
                                                  "&7-cycle", "&8-cycle", "&9-cycle", "1&0-cycle", "1&1-cycle"};
    for (int n = 2; n <= 11; ++n)
        set.add({kCmdCycleFirst + n - 2, kCycleTexts[n - 2], "", K::Plain, kMenuEdit, "&Cycles", n == 2},
                [this, n] { cycleCommand(n); });
    set.add({kCmdOne, "&One", "Ctrl+1", K::Plain, kMenuView, "", true}, [this] { stepOne(); });
    set.add({kCmdMany, "&Many", "", K::Plain, kMenuView, ""}, [this] { stepMany(); });
    set.add({kCmdHowMany, "How ma&ny ...", "", K::Plain, kMenuView, ""}, [this] {
        std::string text = std::to_string(howMany_);
        if (host().inputText("steps", text))
            if (const int e = setHowMany(text))
                host().showError(e);
    });
    set.add({kCmdClear, "&Clear", "Ctrl+C", K::Plain, kMenuView, ""}, [this] { clearWeb(); });
    set.add({kCmdReset, "&Reset", "", K::Plain, kMenuView, ""}, [this] { resetWeb(); });
    set.add({kCmdBeeps, "&Beeps", "", K::Toggle, kMenuMisc, "", true}, [this] { beeps_ = !beeps_; },
            [this] { return beeps_; });
    declareHelp(set, kCmdHelpFirst, webHelp());
}

// ---- Documents: the blocks in order, then the shared tail.

ToolFiles TWebWin::toolFiles() const
{
    return {kWebKind, ".web", "Web files (*.WEB)|*.web", "web"};
}

void TWebWin::encodeDocumentBody(ByteWriter& w) const
{
    std::array<int16_t, 20> ints{};
    ints[0] = view_.places;
    ints[1] = static_cast<int16_t>(std::min<int32_t>(howMany_, 32767));
    ints[2] = static_cast<int16_t>(trace_);
    ints[9] = static_cast<int16_t>(seedParam_);
    std::array<uint8_t, 10> flags{static_cast<uint8_t>(showCoordinate_), static_cast<uint8_t>(arrows_), 0,
                                  static_cast<uint8_t>(initialSegment_), 0, 1, 1, 1, 1, 1};
    std::array<Real, 20> reals{};
    reals[0] = view_.centerX;
    reals[1] = view_.centerY;
    reals[2] = view_.halfWidth;
    reals[3] = seed_;
    reals[4] = delay();
    reals[5] = view_.aspect;
    reals[6] = view_.aspect;
    reals[7] = static_cast<Real>(family_);
    reals[8] = target_;
    reals[9] = howMany_;
    writeHeadBlocks(w, ints, flags, reals);
    writeVariableTable(w);
    w.fixedText(mapping_, 256);
    writePlacement(w, zoomPlacement_);
    writePlacement(w, popupPlacement_);
    DocumentTail tail;
    tail.overlays = overlayState();
    writeDocumentTail(w, tail);
}

int TWebWin::decodeDocumentBody(ByteReader& r, const CommonHeader& h)
{
    std::array<int16_t, 20> ints{};
    std::array<uint8_t, 10> flags{};
    std::array<Real, 20> reals{};
    if (const int e = readToolHead(r, h, ints, flags, reals))
        return e;
    VariableTable vars;
    if (!readVariableValues(r, vars) || (h.version > 7 && !readVariableBounds(r, vars)))
        return kErrInconsistent;
    std::string mapping;
    WindowPlacement zoom, popup;
    if (!r.fixedText(256, mapping) || !readPlacement(r, zoom) || !readPlacement(r, popup))
        return kErrInconsistent;
    DocumentTail tail;
    if (const int e = readWholeTail(r, tail))
        return e;
    const bool newCounts = h.version >= 10;
    const Real target = newCounts ? reals[8] : ints[8];
    const Real howMany = newCounts ? reals[9] : ints[1];
    const int32_t seedParam = h.version > 7 ? ints[9] : 0;
    if (ints[2] < TraceTotal || ints[2] > TraceOff || seedParam < 0 || seedParam > kLetters ||
        !(target >= 0 && target <= kMaxWebSteps) || !(howMany >= 1 && howMany <= kMaxHowMany) ||
        !std::isfinite(reals[3]) || !(reals[4] >= 0 && reals[4] <= 60000))
        return kErrInconsistent;
    const ExprContext saved = cx_;
    for (int i = 0; i < kVariableCount; ++i)
        cx_.env.vars[static_cast<size_t>(i)] = vars.values[static_cast<size_t>(i)];
    TreePtr f;
    const bool ok = CompileExpression(cx_, mapping, f) == 0;
    cx_ = saved;
    if (!ok || !std::isfinite(reals[0]) || !std::isfinite(reals[1]) || !(reals[2] > 0) || !std::isfinite(reals[2]))
        return kErrInconsistent;
    if (!setView(reals[0], reals[1], reals[2]))
        return kErrInconsistent;
    applyVariableTable(vars, h.version > 7);
    view_.places = std::clamp<int16_t>(ints[0], 0, 18);
    howMany_ = static_cast<int32_t>(howMany);
    trace_ = ints[2];
    seedParam_ = seedParam;
    showCoordinate_ = flags[0] != 0;
    arrows_ = flags[1] != 0;
    initialSegment_ = flags[3] != 0;
    seed_ = reals[3];
    control_->delayMs.store(static_cast<int>(reals[4]));
    family_ = reals[7] == 1 ? Quadratic : Logistic;
    mapping_ = mapping;
    map_ = std::move(f);
    zoomPlacement_ = zoom;
    popupPlacement_ = popup;
    if (tail.overlays)
        applyOverlayState(*tail.overlays);
    restartAtSeed();
    target_ = static_cast<int32_t>(target); // the drawing replays to the stored count
    if (attached())
        host().parameterBarChanged();
    return 0;
}

// Settings file: mouse mode, how many, the seed parameter and the seed.
namespace {
constexpr size_t kToolInts = 1, kToolReals = 1;
constexpr size_t kSlotMouse = 0, kSlotHowMany = 1, kSlotSeedParam = 2, kSlotTrace = 3, kSlotSeed = 0;
} // namespace

void TWebWin::captureToolSettings(SettingsFile& s) const
{
    auto& ints = s.group1.ints[kToolInts];
    ints[kSlotMouse] = mouseMode_;
    ints[kSlotHowMany] = howMany_;
    ints[kSlotSeedParam] = seedParam_;
    ints[kSlotTrace] = trace_;
    s.group1.reals[kToolReals][kSlotSeed] = seed_;
}

void TWebWin::applyToolSettings(const SettingsFile& s)
{
    const auto& ints = s.group1.ints[kToolInts];
    if (ints[kSlotMouse] == kModeCoords)
        mouseMode_ = kModeCoords;
    if (ints[kSlotHowMany] >= 1 && ints[kSlotHowMany] <= kMaxHowMany)
        howMany_ = ints[kSlotHowMany];
    if (ints[kSlotSeedParam] >= 0 && ints[kSlotSeedParam] <= kLetters)
        seedParam_ = ints[kSlotSeedParam];
    if (ints[kSlotTrace] >= TraceTotal && ints[kSlotTrace] <= TraceOff)
        trace_ = ints[kSlotTrace];
    const Real seed = s.group1.reals[kToolReals][kSlotSeed];
    if (std::isfinite(seed))
        seed_ = seed;
    restartAtSeed();
}

} // namespace qx
