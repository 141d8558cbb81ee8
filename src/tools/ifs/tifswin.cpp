#include "tools/ifs/tifswin.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "model/common_header.h"
#include "model/document_tail.h"
#include "model/drawing_job.h"
#include "model/frame_settings.h"

#include <algorithm>
#include <cmath>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kCmdInventory = 598, kCmdRandom = 581;
constexpr int kCmdMany = 91, kCmdClear = 362, kCmdHowMany = 567, kCmdSequence = 548;
constexpr int kModeOrbiter = 121;
constexpr size_t kPointsPerBatch = 4096;

} // namespace

// What the chaos game hands back: where the orbit is and how many points were made.
struct IfsJobResult {
    Complex orbit{};
    long long steps = 0;
    std::mt19937 rng;
};

namespace {

// The chaos game on a worker: `count` steps from `start`, the points inside
// the view handed over with their colours.
class ChaosJob final : public DrawingJob {
public:
    ChaosJob(IfsStepper s, Complex start, long long count, View view, std::shared_ptr<IfsJobResult> result)
        : s_(std::move(s)), w_(start), count_(count), view_(view), result_(std::move(result))
    {
    }
    int run(DrawingOutput& out, const std::atomic<bool>& stop) override
    {
        s_.setStop(&stop);
        DotBatch batch;
        std::mt19937& rng = result_->rng;
        long long k = 0;
        int status = 0;
        for (; k < count_; ++k) {
            if ((k & 1023) == 0 && stop.load(std::memory_order_relaxed)) {
                status = 81;
                break;
            }
            int colour = 1;
            if (!s_.step(w_, rng, colour))
                continue;
            if (w_.re >= view_.xMin && w_.re <= view_.xMax && w_.im >= view_.yMin && w_.im <= view_.yMax) {
                batch.points.push_back({w_.re, w_.im});
                batch.colours.push_back(static_cast<int16_t>(colour));
            }
            if (batch.points.size() >= kPointsPerBatch) {
                out.add(std::move(batch));
                batch = {};
                out.setProgress(k + 1, count_);
            }
        }
        if (!batch.points.empty())
            out.add(std::move(batch));
        result_->orbit = w_;
        result_->steps = k;
        return status;
    }

private:
    IfsStepper s_;
    Complex w_;
    long long count_;
    View view_;
    std::shared_ptr<IfsJobResult> result_;
};

} // namespace

TIfsWin::TIfsWin()
{
    watch_ = true;
    mouseMode_ = kModeOrbiter;
}

TIfsWin::~TIfsWin()
{
    interruptRendering();
    finishRendering();
}

void TIfsWin::copyDrawingSettings(const TKVAWing& from)
{
    TVorl1Win::copyDrawingSettings(from);
    if (const auto* w = dynamic_cast<const TIfsWin*>(&from)) {
        maps_ = w->maps_;
        sequence_ = w->sequence_;
        batch_ = w->batch_;
        rebuildAll();
    }
}

std::vector<CommandSpec> TIfsWin::mouseModes() const
{
    return {{kModeOrbiter, "&Orbiter", "", K::Radio, kMenuBtns, ""}};
}

// ---- Maps.

int TIfsWin::setMap(int i, IfsMap m)
{
    if (i < 0 || i > mapCount() || i >= kMaxIfsMaps || m.weight < 1 || m.weight > kMaxIfsWeight)
        return ErrOutOfBounds;
    std::array<TreePtr, 2> trees;
    if (const int e = compileMap(m, trees))
        return e;
    if (busy())
        interruptRendering();
    finishRendering();
    if (i == mapCount()) {
        maps_.push_back(std::move(m));
        trees_.push_back(std::move(trees));
    } else {
        maps_[static_cast<size_t>(i)] = std::move(m);
        trees_[static_cast<size_t>(i)] = std::move(trees);
    }
    mapsChanged();
    return 0;
}

int TIfsWin::deleteMap(int i)
{
    if (i < 0 || i >= mapCount())
        return ErrOutOfBounds;
    if (busy())
        interruptRendering();
    finishRendering();
    maps_.erase(maps_.begin() + i);
    trees_.erase(trees_.begin() + i);
    editing_ = std::min(editing_, mapCount());
    mapsChanged();
    return 0;
}

void TIfsWin::setMapVisible(int i, bool on)
{
    if (i < 0 || i >= mapCount())
        return;
    maps_[static_cast<size_t>(i)].visible = on;
    orbiterState_.reset();
    // Only the points start again: the selection leaves the hidden map out.
    plotted_ = 0;
    if (attached())
        draw();
}

int TIfsWin::rebuildAll()
{
    int first = 0;
    trees_.clear();
    trees_.resize(maps_.size());
    for (size_t i = 0; i < maps_.size(); ++i)
        if (const int e = compileMap(maps_[i], trees_[i]); e && !first)
            first = e;
    return first;
}

void TIfsWin::startPreset()
{
    if (busy())
        interruptRendering();
    finishRendering();
    const int16_t colour = maps_.empty() ? 10 : maps_.front().colour;
    maps_.clear();
    trees_.clear();
    sequence_.clear();
    IfsMap m;
    m.colour = colour;
    maps_.assign(1, m); // callers resize to their map count
}

void TIfsWin::installMaps(std::vector<IfsMap> maps)
{
    if (busy())
        interruptRendering();
    finishRendering();
    sequence_.clear();
    std::vector<std::array<TreePtr, 2>> trees(maps.size());
    for (size_t i = 0; i < maps.size(); ++i)
        compileMap(maps[i], trees[i]);
    maps_ = std::move(maps);
    trees_ = std::move(trees);
    mapsChanged();
}

void TIfsWin::randomCommand()
{
    std::string text = std::to_string(3 + rng_() % 5);
    if (!host().inputText("how many functions?", text))
        return;
    int32_t n = 0;
    if (!parseIntText(text, n)) {
        host().showError(ErrCannotUnderstand);
        return;
    }
    if (const int e = randomMaps(n))
        host().showError(e);
}

void TIfsWin::mapsChanged()
{
    orbiterState_.reset();
    fitView();
    if (attached())
        draw();
}

IfsStepper TIfsWin::stepper() const
{
    std::vector<std::array<const ExprNode*, 2>> trees;
    for (const auto& t : trees_)
        trees.push_back({t[0].get(), t[1].get()});
    return IfsStepper(cx_.env, complexTool(), maps_, trees, sequence_);
}

void TIfsWin::fitView()
{
    for (IfsMap& m : maps_)
        m.visible = true;
    IfsStepper s = stepper();
    Complex w{};
    WorldRect box{0, 0, 0, 0};
    int colour = 1;
    std::mt19937 rng(rng_());
    const long long steps = 200LL * std::max(mapCount(), 1);
    for (long long k = 0; k < steps; ++k) {
        s.step(w, rng, colour);
        box.left = std::min(box.left, w.re);
        box.right = std::max(box.right, w.re);
        box.down = std::min(box.down, w.im);
        box.up = std::max(box.up, w.im);
    }
    const Real cx = (box.left + box.right) / 2, cy = (box.down + box.up) / 2;
    const Real hw = 0.01L + 0.6L * (box.right - box.left), hh = 0.01L + 0.6L * (box.up - box.down);
    if (std::isfinite(cx) && std::isfinite(cy) && std::isfinite(hw) && std::isfinite(hh))
        view_.setViewByCorners(cx - hw, cx + hw, cy - hh, cy + hh);
    recomputeView();
    defaultHalfWidth_ = view_.halfWidth;
    orbit_ = w;
    plotted_ = 0;
}

void TIfsWin::setRandomSeed(uint32_t seed)
{
    rng_.seed(seed);
}

// ---- Drawing.

void TIfsWin::many()
{
    if (busy())
        return;
    target_ = plotted_ + batch_;
    continuing_ = figureValid();
    cleared_ = false;
    if (attached())
        draw();
}

void TIfsWin::clearPoints()
{
    if (busy())
        interruptRendering();
    finishRendering();
    plotted_ = target_ = 0;
    continuing_ = false;
    cleared_ = true;
    if (attached())
        draw();
}

int TIfsWin::setBatch(const std::string& text)
{
    int32_t n = 0;
    if (!parseIntText(text, n))
        return ErrCannotUnderstand;
    if (n < 1)
        return ErrPositiveValue;
    batch_ = n;
    return 0;
}

int TIfsWin::setSequence(const std::string& digits)
{
    std::vector<int16_t> s;
    for (char c : trimmedText(digits)) {
        if (c < '0' || c > '9' || c - '0' >= mapCount() || s.size() >= kMaxSequence)
            return ErrInconsistentData;
        s.push_back(static_cast<int16_t>(c - '0'));
    }
    sequence_ = std::move(s);
    orbiterState_.reset();
    return 0;
}

int TIfsWin::drawFigure(Canvas& figure)
{
    if (!std::exchange(continuing_, false)) {
        // A full recomputation: erased, then a batch of points (none after Clear).
        figure.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, Pen{0, 1, PenSolid});
        plotted_ = 0;
        target_ = std::exchange(cleared_, false) ? 0 : batch_;
    }
    if (plotted_ >= target_ || maps_.empty())
        return 0;
    jobResult_ = std::make_shared<IfsJobResult>();
    jobResult_->rng.seed(rng_());
    return startDrawingJob(std::make_unique<ChaosJob>(stepper(), orbit_, target_ - plotted_, view_, jobResult_));
}

void TIfsWin::renderFinished(int)
{
    if (!jobResult_)
        return;
    orbit_ = jobResult_->orbit;
    plotted_ += jobResult_->steps;
    target_ = plotted_; // Q ends the drawing where it is
    jobResult_.reset();
}

bool TIfsWin::drawExportPage(Canvas& canvas, int)
{
    canvas.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, Pen{0, 1, PenSolid});
    IfsStepper s = stepper();
    s.setStop(exportStopFlag());
    std::mt19937 rng(1);
    Complex w = orbit_;
    std::vector<WorldPoint> points;
    std::vector<int16_t> colours;
    const long long count = std::max<long long>(plotted_, batch_);
    for (long long k = 0; k < count; ++k) {
        int colour = 1;
        if (!s.step(w, rng, colour))
            continue;
        if (w.re >= view_.xMin && w.re <= view_.xMax && w.im >= view_.yMin && w.im <= view_.yMax) {
            points.push_back({w.re, w.im});
            colours.push_back(static_cast<int16_t>(colour));
        }
    }
    drawJobBatch(canvas, DotBatch{std::move(points), 1, std::move(colours)});
    drawOverlays(canvas);
    return true;
}

struct IfsOrbiterState {
    IfsStepper s;
    std::mt19937 rng;
};

OrbitMap TIfsWin::orbitMap() const
{
    // One random step (or the sequence) per call; the random numbers go on
    // from call to call while the maps stay as they are.
    if (!orbiterState_)
        orbiterState_ = std::make_shared<IfsOrbiterState>(IfsOrbiterState{stepper(), std::mt19937(rng_())});
    return [state = orbiterState_](Complex z) {
        int colour = 1;
        state->s.step(z, state->rng, colour);
        return z;
    };
}

void TIfsWin::mouseDown(MouseButton button, PixelPoint p)
{
    if (button == MouseButton::Left && mouseMode_ == kModeOrbiter && !busy()) {
        const WorldPoint w = view_.pixelToWorld(p);
        startOrbiter({w.x, w.y});
        return;
    }
    TVorl1Win::mouseDown(button, p);
}

// ---- Inventory.

std::vector<std::string> TIfsWin::inventoryLines() const
{
    std::vector<std::string> lines;
    for (size_t i = 0; i < maps_.size(); ++i)
        lines.push_back(std::to_string(i) + ": " + mapLine(maps_[i]) + (maps_[i].visible ? "" : " (hidden)"));
    return lines;
}

void TIfsWin::settingsCommand()
{
    if (!host().showModelessDialog("IFSINVEN"))
        host().showTextWindow("ifs inventory", inventoryText());
}

IfsMap TIfsWin::editedMap() const
{
    return editing_ < mapCount() ? maps_[static_cast<size_t>(editing_)] : IfsMap{};
}

bool TIfsWin::openMapEditor()
{
    return attached() && host().showModelessDialog(mapDialog());
}

bool TIfsWin::showInventoryText()
{
    return attached() && host().showTextWindow("ifs inventory", inventoryText());
}

std::string TIfsWin::inventoryText() const
{
    std::string t;
    for (const std::string& l : inventoryLines())
        t += l + "\n";
    return t;
}

void TIfsWin::declareCommands(CommandSet& set)
{
    TVorl1Win::declareCommands(set);
    declareDocumentCommands(set);
    bool first = true;
    for (const PresetEntry& p : presetEntries()) {
        const int id = p.command;
        set.add({id, p.menu, "", K::Plain, kMenuFile, "&New", first}, [this, id] { applyPreset(id); });
        first = false;
    }
    set.add({kCmdRandom, "&Random ...", "", K::Plain, kMenuFile, "&New"}, [this] { randomCommand(); });
    set.add({kCmdInventory, "&Inventory ...", "Ctrl+I", K::Plain, kMenuEdit, "", true}, [this] { settingsCommand(); });
    set.add({kCmdMany, "&Many", "Ctrl+M", K::Plain, kMenuView, "", true}, [this] { many(); });
    set.add({kCmdHowMany, "How ma&ny ...", "", K::Plain, kMenuView, ""}, [this] {
        std::string text = std::to_string(batch_);
        if (host().inputText("how many iterations?", text))
            if (const int e = setBatch(text))
                host().showError(e);
    });
    set.add({kCmdClear, "&Clear", "Ctrl+C", K::Plain, kMenuView, ""}, [this] { clearPoints(); });
    set.add({kCmdSequence, "Define se&quence ...", "", K::Plain, kMenuBtns, "", true}, [this] {
        std::string text;
        for (int16_t i : sequence_)
            text += static_cast<char>('0' + i);
        if (host().inputText("sequence", text))
            if (const int e = setSequence(text))
                host().showError(e);
    });
    declareOrbitCommands(set);
}

// ---- The shared parts of the documents.

void TIfsWin::encodeHead(ByteWriter& w) const
{
    std::array<int16_t, 20> ints{};
    ints[0] = view_.places;
    ints[2] = static_cast<int16_t>(mapCount() - 1);
    ints[3] = static_cast<int16_t>(mouseMode_);
    ints[8] = 400;
    ints[9] = 100;
    const std::array<uint8_t, 10> flags{1, 0, 0, 0, 1, 1, 1, 1, 1, 1};
    std::array<Real, 20> reals{};
    reals[0] = view_.centerX;
    reals[1] = view_.centerY;
    reals[2] = view_.halfWidth;
    reals[3] = batch_;
    reals[4] = view_.halfHeight;
    writeHeadBlocks(w, ints, flags, reals);
}

int TIfsWin::decodeHead(ByteReader& r, const CommonHeader& h, DocumentParts& d) const
{
    std::array<int16_t, 20> ints{};
    std::array<uint8_t, 10> flags{};
    std::array<Real, 20> reals{};
    if (const int e = readToolHead(r, h, ints, flags, reals))
        return e;
    d.lastIndex = ints[2];
    if (d.lastIndex < -1 || d.lastIndex >= kMaxIfsMaps || !(reals[3] >= 1 && reals[3] <= 2147483647.0L) ||
        !std::isfinite(reals[0]) || !std::isfinite(reals[1]) || !(reals[2] > 0) || !std::isfinite(reals[2]) ||
        !(reals[4] > 0) || !std::isfinite(reals[4]))
        return kErrInconsistent;
    d.centreX = reals[0];
    d.centreY = reals[1];
    d.halfWidth = reals[2];
    d.halfHeight = reals[4];
    d.batch = static_cast<int32_t>(reals[3]);
    return 0;
}

void TIfsWin::encodeVariables(ByteWriter& w) const
{
    for (int i = 0; i < kVariableCount; ++i) {
        w.real(variable(i).re);
        w.real(variable(i).im);
    }
    for (int i = 0; i < kVariableCount; ++i)
        w.real(variableMinimum(i));
    for (int i = 0; i < kVariableCount; ++i)
        w.real(variableMaximum(i));
}

int TIfsWin::decodeVariables(ByteReader& r, DocumentParts& d) const
{
    for (Complex& v : d.vars)
        if (!r.real(v.re) || !r.real(v.im))
            return kErrInconsistent;
    for (auto& b : d.bounds)
        if (!r.real(b.first))
            return kErrInconsistent;
    for (auto& b : d.bounds)
        if (!r.real(b.second) || !(b.first <= b.second))
            return kErrInconsistent;
    return 0;
}

void TIfsWin::encodeTail(ByteWriter& w) const
{
    writePlacement(w, zoomPlacement_);
    writePlacement(w, popupPlacement_);
    DocumentTail tail;
    tail.overlays = overlayState();
    writeDocumentTail(w, tail);
}

int TIfsWin::decodeTail(ByteReader& r, DocumentParts& d) const
{
    if (!readPlacement(r, d.zoom) || !readPlacement(r, d.popup))
        return kErrInconsistent;
    return readWholeTail(r, d.tail);
}

int TIfsWin::applyDocument(std::vector<IfsMap> maps, std::vector<int16_t> sequence, const DocumentParts& d)
{
    for (const IfsMap& m : maps)
        if (m.weight < 1 || m.weight > kMaxIfsWeight)
            return kErrInconsistent;
    for (int16_t i : sequence)
        if (i < 0 || i >= static_cast<int>(maps.size()))
            return kErrInconsistent;
    // The maps compile with the document's variables (its letters count as
    // defined), or nothing changes.
    const ExprContext saved = cx_;
    const uint32_t savedMask = definedMask();
    for (int i = 0; i < kVariableCount; ++i)
        setVariable(i, d.vars[static_cast<size_t>(i)]);
    std::vector<std::array<TreePtr, 2>> trees(maps.size());
    for (size_t i = 0; i < maps.size(); ++i)
        if (compileMap(maps[i], trees[i]) != 0) {
            cx_ = saved;
            setDefinedMask(savedMask);
            return kErrInconsistent;
        }
    if (busy())
        interruptRendering();
    finishRendering();
    for (int i = 0; i < kVariableCount; ++i)
        setVariableBounds(i, d.bounds[static_cast<size_t>(i)].first, d.bounds[static_cast<size_t>(i)].second);
    maps_ = std::move(maps);
    trees_ = std::move(trees);
    sequence_ = std::move(sequence);
    batch_ = d.batch;
    view_.setViewByCorners(d.centreX - d.halfWidth, d.centreX + d.halfWidth, d.centreY - d.halfHeight,
                           d.centreY + d.halfHeight);
    recomputeView();
    zoomPlacement_ = d.zoom;
    popupPlacement_ = d.popup;
    if (d.tail.overlays)
        applyOverlayState(*d.tail.overlays);
    orbit_ = {};
    plotted_ = target_ = 0;
    return 0;
}

} // namespace qx
