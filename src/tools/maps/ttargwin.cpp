#include "tools/maps/ttargwin.h"

#include "model/orbit_points.h"

#include "base/messages.h"
#include "model/colour_presets.h"
#include "tools/maps/target_form.h"
#include "model/special_colours.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

namespace qx {

namespace {

// Sweeps a pixel by its orbit to the first target.
class TargetPixelKernel final : public PixelKernel {
public:
    explicit TargetPixelKernel(TargetEngine engine) : engine_(std::move(engine)) {}
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<TargetPixelKernel>(*this); }
    PixelValue colourAt(Real x, Real y, int col, int row) override
    {
        if (stop_ != stopGiven_) { // the sweep's flag also ends the map's long loops
            engine_.setStop(stop_);
            stopGiven_ = stop_;
        }
        const OrbitEnd end = engine_.pixelOrbit(x, y, stop_);
        if (end.interrupted)
            return {0, kPixelInterrupted};
        return engine_.colour(end, col, row);
    }

private:
    TargetEngine engine_;
    const std::atomic<bool>* stopGiven_ = nullptr;
};

std::string digits14(Real v)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.14Lg", v);
    return buf;
}

// "x+yi" with 14 significant digits in each part.
std::string complexText(Complex w)
{
    const std::string im = digits14(std::fabs(w.im));
    return digits14(w.re) + (w.im < 0 ? "-" : "+") + im + "i";
}

constexpr size_t kUndoDepth = 20;

} // namespace

TTargWin::TTargWin() = default;

void TTargWin::copyDrawingSettings(const TKVAWing& from)
{
    TFMJWin::copyDrawingSettings(from);
    if (const auto* t = dynamic_cast<const TTargWin*>(&from)) {
        std::vector<TargetRecord> records = t->records_;
        setTargets(std::move(records));
        trapColours_ = t->trapColours_;
        sectorColours_ = t->sectorColours_;
        expectedTargets_ = t->expectedTargets_;
    }
}

// ---- The inventory.

namespace {

bool treeUses(const ExprNode* n, int slot)
{
    if (!n)
        return false;
    if (n->code == code::VarFirst + slot)
        return true;
    return treeUses(n->left.get(), slot) || treeUses(n->middle.get(), slot) || treeUses(n->right.get(), slot);
}

} // namespace

bool TTargWin::usesParameter(const TargetTrees& t) const
{
    if (!parameterPlane())
        return false;
    const int first = realTool() ? 1 : 3, last = realTool() ? 2 : 3; // A and B, or C
    for (const TreePtr& tree : t.trees)
        for (int slot = first; slot <= last; ++slot)
            if (treeUses(tree.get(), slot))
                return true;
    return false;
}

int TTargWin::setTargets(std::vector<TargetRecord> records)
{
    if (records.size() > static_cast<size_t>(kMaxTargets))
        return 17;
    std::vector<TargetTrees> trees(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        if (const int e = compileTarget(cx_, records[i], realTool(), trees[i]))
            return e;
        records[i].flag = usesParameter(trees[i]) ? 1 : 0; // set for the texts that mention the parameter
    }
    records_ = std::move(records);
    trees_ = std::move(trees);
    trapColours_.resize(records_.size(), {makeRgb(128, 0, 0), makeRgb(255, 0, 0)});
    while (sectorColours_.size() < records_.size()) {
        std::vector<Rgb> colours;
        for (int k = 0; k < 10; ++k)
            colours.push_back(makeRgb(static_cast<int>(targetRandom_() % 256), static_cast<int>(targetRandom_() % 256),
                                      static_cast<int>(targetRandom_() % 256)));
        sectorColours_.push_back(colours);
    }
    if (current_ >= targetCount())
        current_ = std::max(targetCount() - 1, 0);
    targetsChanged();
    return 0;
}

int TTargWin::setTarget(int i, const TargetRecord& r)
{
    if (i < 0 || i >= targetCount())
        return 17;
    TargetTrees t;
    if (const int e = compileTarget(cx_, r, realTool(), t))
        return e;
    rememberForUndo();
    records_[static_cast<size_t>(i)] = r;
    records_[static_cast<size_t>(i)].flag = usesParameter(t) ? 1 : 0;
    trees_[static_cast<size_t>(i)] = std::move(t);
    targetsChanged();
    return 0;
}

void TTargWin::rememberForUndo()
{
    undo_.push_back(records_);
    if (undo_.size() > kUndoDepth)
        undo_.erase(undo_.begin());
}

bool TTargWin::newTargetCommand()
{
    if (targetCount() >= kMaxTargets)
        return false;
    rememberForUndo();
    std::vector<TargetRecord> records = records_;
    records.push_back(newTarget());
    setTargets(std::move(records));
    current_ = targetCount() - 1;
    return true;
}

bool TTargWin::deleteTargetCommand()
{
    if (records_.empty())
        return false;
    rememberForUndo();
    std::vector<TargetRecord> records = records_;
    records.erase(records.begin() + current_);
    trapColours_.erase(trapColours_.begin() + current_);
    sectorColours_.erase(sectorColours_.begin() + current_);
    setTargets(std::move(records));
    return true;
}

void TTargWin::nextTarget()
{
    if (!records_.empty())
        current_ = (current_ + 1) % targetCount();
}

bool TTargWin::undoTargets()
{
    if (undo_.empty())
        return false;
    std::vector<TargetRecord> records = std::move(undo_.back());
    undo_.pop_back();
    setTargets(std::move(records));
    return true;
}

bool TTargWin::addPointTarget(Complex w, bool randomColour)
{
    if (targetCount() >= kMaxTargets)
        return false;
    TargetRecord r = realTool() ? pointTarget(digits14(w.re), "0.01") : pointTarget(complexText(w), "0.01");
    if (realTool())
        r.texts[1] = digits14(w.im);
    else
        r.texts[1] = "0";
    std::vector<TargetRecord> records = records_;
    records.push_back(r);
    if (setTargets(std::move(records)) != 0)
        return false;
    auto& added = records_.back();
    added.values[0] = w.re;
    added.values[1] = w.im;
    if (randomColour) {
        const auto channel = [this] { return static_cast<int>(targetRandom_() % 56 + 200); };
        const int red = channel(), green = channel(), blue = channel();
        twoAnchorColour(targetCount() - 1, red, green, blue, 16);
    }
    return true;
}

namespace {

// The search of "find": random starts in [-5, 5]^2, the map applied `reps`
// times; an orbit whose last step moved less than 1e-13 (taxicab) stopped
// at a fixed point, kept unless within 1e-5 of a known one. Ends after
// `wanted` new points, `attempts` starts, or when `stop` is raised (81).
int searchFixedPoints(TargetEngine& engine, int32_t reps, int wanted, std::vector<Complex> known, std::mt19937 random,
                      int attempts, const std::atomic<bool>* stop, std::vector<Complex>& found,
                      const std::function<void(long long, long long)>& progress = {})
{
    const auto unit = [&random] { return Real(2 * (random() % 1000000u) + 1) * 5e-7L; };
    long long steps = 0;
    for (int tries = 0; static_cast<int>(found.size()) < wanted && tries < attempts; ++tries) {
        if (progress)
            progress(tries, attempts);
        Complex w{-5 + 10 * unit(), -5 + 10 * unit()};
        Complex p = w;
        for (int32_t k = 0; k < reps; ++k) {
            if ((++steps & 4095) == 0 && stop && stop->load(std::memory_order_relaxed))
                return 81;
            p = w;
            w = engine.map(w);
        }
        if (!(std::fabs(w.re - p.re) + std::fabs(w.im - p.im) < 1e-13L))
            continue; // not converged to a fixed point
        const auto near = [&w](const Complex& q) { return std::fabs(q.re - w.re) + std::fabs(q.im - w.im) < 1e-5L; };
        if (std::any_of(known.begin(), known.end(), near) || std::any_of(found.begin(), found.end(), near))
            continue;
        found.push_back(w);
    }
    return 0;
}

class FindJob final : public DrawingJob {
public:
    FindJob(TargetEngine engine, int32_t reps, int wanted, std::vector<Complex> known, uint32_t seed,
            std::shared_ptr<std::vector<Complex>> found)
        : engine_(std::move(engine)), reps_(reps), wanted_(wanted), known_(std::move(known)), seed_(seed),
          found_(std::move(found))
    {
    }
    int run(DrawingOutput& out, const std::atomic<bool>& stop) override
    {
        engine_.setStop(&stop);
        return searchFixedPoints(engine_, reps_, wanted_, known_, std::mt19937(seed_), TTargWin::kFindAttempts, &stop, *found_,
                                 [&out](long long done, long long total) { out.setProgress(done, total); });
    }

private:
    TargetEngine engine_;
    int32_t reps_;
    int wanted_;
    std::vector<Complex> known_;
    uint32_t seed_;
    std::shared_ptr<std::vector<Complex>> found_;
};

} // namespace

std::vector<Complex> TTargWin::knownCentres() const
{
    std::vector<Complex> known;
    for (const TargetRecord& r : records_)
        if (r.kind() == TargetKind::Point)
            known.push_back({r.values[0], r.values[1]});
    return known;
}

void TTargWin::addFoundTargets(const std::vector<Complex>& found, bool randomColour)
{
    for (const Complex& w : found)
        addPointTarget(w, randomColour);
    prepareTargets();
}

int TTargWin::findTargets(int n, bool randomColour, const std::atomic<bool>* stop, int attempts)
{
    n = std::min(n, kMaxTargets);
    if (!hasMap() || n <= targetCount())
        return 0;
    prepareTargets();
    TargetEngine engine = makeEngine();
    std::vector<Complex> found;
    searchFixedPoints(engine, maxReps_, n - targetCount(), knownCentres(), std::mt19937(targetRandom_()), attempts,
                      stop, found);
    addFoundTargets(found, randomColour);
    return static_cast<int>(found.size());
}

TargetFormState TTargWin::currentTargetForm() const
{
    return records_.empty() ? TargetFormState{} : targetFormState(records_[static_cast<size_t>(current_)]);
}

TargetFieldLayout TTargWin::targetLayout(const TargetFormState& s) const
{
    return targetFieldLayout(s, realTool());
}

int TTargWin::applyTargetForm(const TargetFormState& s)
{
    if (records_.empty())
        return ErrNothingToDo;
    TargetRecord r = records_[static_cast<size_t>(current_)];
    if (const int e = targetFromForm(s, realTool(), r))
        return e;
    return setTarget(current_, r);
}

int TTargWin::findTargetsCommand(int n, bool randomColour)
{
    n = std::min(n, kMaxTargets);
    if (n <= targetCount() || !hasMap())
        return 0; // not above the current number: nothing happens
    prepareTargets();
    auto found = std::make_shared<std::vector<Complex>>();
    auto job = std::make_unique<FindJob>(makeEngine(), maxReps_, n - targetCount(), knownCentres(),
                                         static_cast<uint32_t>(targetRandom_()), found);
    if (!startSideJob(std::move(job), [this, found, randomColour](int) {
            addFoundTargets(*found, randomColour); // what was found before Q stays
            if (attached())
                draw();
        }))
        return 0;
    if (attached())
        setStatusTitle(1); // press Q to quit
    return n - targetCount();
}

// ---- Colours.

void TTargWin::twoAnchorColour(int i, int r, int g, int b, int k)
{
    setTargetAnchors(i, k, {makeRgb(r / 2, g / 2, b / 2), makeRgb(r, g, b)});
}

void TTargWin::setTargetAnchors(int i, int steps, const std::vector<Rgb>& anchors)
{
    if (i < 0 || i >= kMaxSequences)
        return;
    ColourSequence s = sequence(i);
    s.steps = steps;
    s.anchors = anchors;
    setSequence(i, s);
}

void TTargWin::builtInColourScheme(int i, int s, bool allowSeven)
{
    if (i < 0 || i >= kMaxSequences)
        return;
    ColourSequence seq = presetSequence(s, random_, allowSeven);
    seq.steps = 20;
    setSequence(i, seq);
    if (i < static_cast<int>(trapColours_.size()))
        trapColours_[static_cast<size_t>(i)] = {makeRgb(128, 0, 0), makeRgb(255, 0, 0)};
}

TargetColours TTargWin::targetColours(int i) const
{
    TargetColours c;
    c.table = colourTable(i);
    const ColourSequence& s = sequence(i);
    c.anchors = {s.anchors.at(0), s.anchors.size() > 1 ? s.anchors[1] : s.anchors[0]};
    if (i < static_cast<int>(trapColours_.size()))
        c.trap = trapColours_[static_cast<size_t>(i)];
    if (i < static_cast<int>(sectorColours_.size()))
        c.sectors = sectorColours_[static_cast<size_t>(i)];
    return c;
}

// ---- Drawing.

void TTargWin::targetsChanged()
{
    if (attached())
        draw();
}

void TTargWin::prepareTargets()
{
    for (size_t i = 0; i < records_.size(); ++i)
        prepareTarget(cx_, records_[i], trees_[i], realTool());
}

TargetEngine TTargWin::makeEngine() const
{
    TargetEngine::Setup s;
    s.realTool = realTool();
    s.map = iterationMap();
    s.map2 = iterationMap2();
    s.records = records_;
    for (const TargetTrees& t : trees_)
        s.trees.push_back(&t);
    for (int i = 0; i < targetCount(); ++i)
        s.colours.push_back(targetColours(i));
    s.maxReps = maxReps_;
    s.parameterPlane = parameterPlane();
    s.critical = criticalTree(0);
    s.critical2 = criticalTree(1);
    s.noTargetIndex = special_.get(SlotNoTarget);
    s.noTargetColour = paletteColour(palette_, s.noTargetIndex);
    s.grayPrint = blackAndWhite_; // pages for a black-and-white printer
    return TargetEngine(cx_.env, s);
}

bool TTargWin::hasMap() const
{
    return iterationMap() && (!realTool() || iterationMap2());
}

int TTargWin::sweep()
{
    if (!hasMap())
        return 3;
    prepareSweep();
    return TFMJWin::sweep();
}

std::unique_ptr<PixelKernel> TTargWin::makeKernel() const
{
    if (!hasMap())
        return nullptr;
    return std::make_unique<TargetPixelKernel>(makeEngine());
}

OrbitMap TTargWin::orbitMap() const
{
    if (!hasMap())
        return TFMJWin::orbitMap();
    auto engine = std::make_shared<TargetEngine>(makeEngine());
    return [engine](Complex z) { return engine->map(z); };
}

std::string TTargWin::pointReport(Complex start)
{
    if (!hasMap())
        return "no map";
    prepareTargets();
    TargetEngine engine = makeEngine();
    const OrbitEnd end = engine.pixelOrbit(start.re, start.im);
    if (end.target == kNoTarget) {
        // What the base reports then: the period of the orbit, or "large".
        bool ok = true;
        const Complex from = engine.orbitStart(start.re, start.im, ok);
        const int32_t period =
            ok ? orbitPeriod([&engine](Complex w, bool& good) { return engine.map(w, good); }, from, maxPeriod_, view_.dx)
               : -1;
        return "no target at rep " + std::to_string(end.count) + " : period = " +
               (period > 0 ? std::to_string(period) : std::string("large"));
    }
    return "target " + std::to_string(end.target) + " at rep " + std::to_string(end.count);
}


} // namespace qx
