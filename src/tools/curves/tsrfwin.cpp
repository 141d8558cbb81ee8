#include "tools/curves/tsrfwin.h"

#include "base/messages.h"
#include "model/common_header.h"
#include "model/document_tail.h"
#include "model/drawing_job.h"
#include "tools/curves/curves_help.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kCmdStrings = 51, kCmdNext = 518, kCmdSummary = 577, kCmdRandom = 581, kCmdCornersRandom = 596,
              kCmdGenerationZero = 597;
constexpr int kCmdHelpFirst = 810;
constexpr size_t kSegmentsPerBatch = 2048;
constexpr int kMaxGeneration = 1000;

// The curve of a string on a worker: its segments, two points each, in batches.
class CurveJob final : public DrawingJob {
public:
    CurveJob(std::shared_ptr<const std::string> s, DirectionTable t, int colour)
        : s_(std::move(s)), t_(std::move(t)), colour_(colour)
    {
    }
    int run(DrawingOutput& out, const std::atomic<bool>& stop) override
    {
        DotBatch batch{{}, colour_, {}};
        size_t done = 0;
        const int status = walkCurve(*s_, t_, &stop, [&](WorldPoint a, WorldPoint b) {
            batch.points.push_back(a);
            batch.points.push_back(b);
            if (batch.points.size() >= 2 * kSegmentsPerBatch) {
                out.add(std::move(batch));
                batch = {{}, colour_, {}};
                out.setProgress(static_cast<long long>(done += kSegmentsPerBatch), 0);
            }
        });
        if (!batch.points.empty())
            out.add(std::move(batch));
        return status;
    }

private:
    std::shared_ptr<const std::string> s_;
    DirectionTable t_;
    int colour_;
};

// Next on a worker: the new string, its table turned by the rotation and its box.
struct NextResult {
    std::string s;
    DirectionTable table;
    WorldRect box{};
};

class NextJob final : public DrawingJob {
public:
    NextJob(std::shared_ptr<const std::string> s, RewritingData d, DirectionTable t, std::shared_ptr<NextResult> out)
        : s_(std::move(s)), d_(std::move(d)), out_(std::move(out))
    {
        out_->table = std::move(t);
    }
    int run(DrawingOutput&, const std::atomic<bool>& stop) override
    {
        if (const int e = rewrite(*s_, d_, &stop, out_->s))
            return e;
        out_->table.rotate(d_.rotation);
        const int e = walkCurve(out_->s, out_->table, &stop, nullptr, &out_->box);
        return e == 81 ? 27 : 0; // an unmatched ')' shows when it is drawn
    }

private:
    std::shared_ptr<const std::string> s_;
    RewritingData d_;
    std::shared_ptr<NextResult> out_;
};

// Box counting of a curve: the counting square about the view's centre.
class CurveCounter final : public BoxCounter {
public:
    CurveCounter(std::shared_ptr<const std::string> s, DirectionTable t, std::vector<WorldPoint> random, Real left,
                 Real bottom, Real side)
        : s_(std::move(s)), t_(std::move(t)), random_(std::move(random)), left_(left), bottom_(bottom), side_(side)
    {
    }
    long long totalBoxes(int k) const override { return (1LL << k) * (1LL << k); }
    std::string boxSize(int k) const override { return "width/" + std::to_string(1 << k); }
    long long hits(int k, BoxGrid& grid, const std::atomic<bool>* stop) override
    {
        grid.reset(1 << k, left_, bottom_, side_);
        if (!random_.empty()) {
            for (size_t i = 0; i + 1 < random_.size(); ++i)
                grid.markSegment(random_[i], random_[i + 1]);
            return grid.hits();
        }
        const int e = walkCurve(*s_, t_, stop, [&grid](WorldPoint a, WorldPoint b) { grid.markSegment(a, b); });
        return e ? -1 : grid.hits();
    }

private:
    std::shared_ptr<const std::string> s_;
    DirectionTable t_;
    std::vector<WorldPoint> random_;
    Real left_, bottom_, side_;
};

} // namespace

TSRFWin::TSRFWin()
{
    watch_ = true;
    applyPreset(kVonKochPreset);
}

TSRFWin::~TSRFWin()
{
    interruptRendering();
    finishSideJob();
    finishRendering();
}

bool TSRFWin::applyPreset(int command)
{
    RewritingData d;
    if (!presetData(command, d))
        return false;
    data_ = d;
    startFresh();
    return true;
}

int TSRFWin::applyData(RewritingData d)
{
    if (const int e = checkCurveData(d))
        return e;
    data_ = std::move(d);
    startFresh();
    return 0;
}

void TSRFWin::startFresh()
{
    if (busy())
        interruptRendering();
    finishSideJob();
    table_.build(data_);
    random_ = false;
    randomPoints_.clear();
    generationZero();
}

void TSRFWin::generationZero()
{
    current_ = std::make_shared<const std::string>(data_.initial);
    generation_ = 0;
    random_ = false;
    table_.build(data_);
    walkCurve(*current_, table_, nullptr, nullptr, &box_);
    fitView();
    if (attached())
        draw();
}

bool TSRFWin::next()
{
    if (random_ || sideJobRunning())
        return false;
    auto result = std::make_shared<NextResult>();
    const int generation = generation_ + 1;
    return startSideJob(std::make_unique<NextJob>(current_, data_, table_, result), [this, result, generation](int e) {
        if (e != 0) {
            showMessageFor(e == 81 ? 27 : e);
            return;
        }
        current_ = std::make_shared<const std::string>(std::move(result->s));
        table_ = std::move(result->table);
        box_ = result->box;
        generation_ = generation;
        highest_ = std::max(highest_, generation_);
        fitView();
        if (attached())
            draw();
    });
}

void TSRFWin::showMessageFor(int code)
{
    if (!attached() || code == 27)
        return; // stopped with Q: nothing changed
    if (code == ErrNoMoreRoom) {
        const long long n = nextLength(*current_, data_, nullptr);
        host().showMessage("generation " + std::to_string(generation_ + 1) + " would have " + std::to_string(n) +
                               " characters; at most " + std::to_string(kMaxCurveString) +
                               " are kept. The picture stays at generation " + std::to_string(generation_) + ".",
                           messageText(ErrNoMoreRoom));
        return;
    }
    host().showError(code);
}

void TSRFWin::randomCurve()
{
    if (busy())
        interruptRendering();
    finishSideJob();
    std::uniform_real_distribution<double> u(0, 1);
    randomPoints_ = qx::randomCurve([&] { return u(engine_); });
    random_ = true;
    data_.colour = 10;
    box_ = {0, 0, 0, 0};
    for (const WorldPoint& p : randomPoints_) {
        box_.left = std::min(box_.left, p.x);
        box_.right = std::max(box_.right, p.x);
        box_.down = std::min(box_.down, p.y);
        box_.up = std::max(box_.up, p.y);
    }
    fitView();
    if (attached())
        draw();
}

void TSRFWin::randomCorners()
{
    std::uniform_real_distribution<double> u(0, 1);
    cornerA_ = 0.513L + 0.011L * u(engine_);
    cornerB_ = 0.514L + 0.011L * u(engine_);
}

void TSRFWin::fitView()
{
    const Real w = std::max<Real>(box_.right - box_.left, 1e-16L) == 1e-16L ? 1 : box_.right - box_.left;
    const Real h = box_.up - box_.down < 1e-16L ? 1 : box_.up - box_.down;
    // Equal scales on both axes, so the curve is not distorted: the half-width
    // is 0.6 of the box's width, or more when the box is taller than the window.
    const Real aspect = static_cast<Real>(view_.pixWidth) / std::max(view_.pixHeight, 1);
    const Real half = 0.6L * std::max(w, h * aspect);
    setView((box_.left + box_.right) / 2, (box_.down + box_.up) / 2, half);
    defaultHalfWidth_ = half;
}

std::string TSRFWin::normalTitle() const
{
    if (random_)
        return "random polygonal curve";
    return "generation " + std::to_string(generation_) + " [" + documentName() + "] characters : " +
           std::to_string(current_->size());
}

// ---- Drawing.

int TSRFWin::drawFigure(Canvas& figure)
{
    figure.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, Pen{0, 1, PenSolid});
    walkStatus_ = 0;
    if (random_) {
        figure.drawPolyline(randomPoints_, Pen{static_cast<int16_t>(data_.colour), 1, PenSolid});
        return 0;
    }
    return startDrawingJob(std::make_unique<CurveJob>(current_, table_, data_.colour));
}

void TSRFWin::drawJobBatch(Canvas& figure, const DotBatch& batch)
{
    const Pen pen{static_cast<int16_t>(batch.colour), 1, PenSolid};
    for (size_t i = 0; i + 1 < batch.points.size(); i += 2)
        figure.drawSegment(batch.points[i], batch.points[i + 1], pen);
}

void TSRFWin::renderSettled(int status)
{
    walkStatus_ = status;
    if (status == 3 && attached())
        host().showError(3); // an unmatched ')': the picture is incomplete
}

bool TSRFWin::drawExportPage(Canvas& canvas, int)
{
    canvas.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, Pen{0, 1, PenSolid});
    const Pen pen{static_cast<int16_t>(data_.colour), 1, PenSolid};
    if (random_) {
        canvas.drawPolyline(randomPoints_, pen);
    } else {
        // Runs of joined segments become one path each.
        std::vector<WorldPoint> path;
        const auto flush = [&] {
            if (path.size() > 1)
                canvas.drawPolyline(path, pen);
            path.clear();
        };
        walkCurve(*current_, table_, exportStopFlag(), [&](WorldPoint a, WorldPoint b) {
            if (path.empty() || path.back().x != a.x || path.back().y != a.y) {
                flush();
                path.push_back(a);
            }
            path.push_back(b);
        });
        flush();
    }
    drawOverlays(canvas);
    return true;
}

// ---- Box counting.

bool TSRFWin::countingSquare(Real& left, Real& bottom, Real& side) const
{
    side = std::max(box_.right - box_.left, box_.up - box_.down);
    if (!(side > 0))
        return false;
    left = view_.centerX - cornerA_ * side;
    bottom = view_.centerY - cornerA_ * side;
    side *= cornerA_ + cornerB_;
    return true;
}

std::unique_ptr<BoxCounter> TSRFWin::makeBoxCounter() const
{
    Real left = 0, bottom = 0, side = 0;
    if (!countingSquare(left, bottom, side))
        return nullptr;
    return std::make_unique<CurveCounter>(current_, table_, random_ ? randomPoints_ : std::vector<WorldPoint>{},
                                          left, bottom, side);
}

// ---- Texts and commands.

std::string TSRFWin::summary() const
{
    std::string t = "initial: " + data_.initial + "\n";
    t += std::to_string(data_.direction) + " direction\n";
    t += std::to_string(data_.n) + " sectors\n";
    for (char c : kRewritable) {
        t += std::string(1, c) + " ==> " + data_.replacement[static_cast<size_t>(c)];
        if (c >= 'E' && c <= 'K') {
            char buf[64];
            std::snprintf(buf, sizeof buf, " (length %.15Lg)", data_.lengths[static_cast<size_t>(c - 'E')]);
            t += buf;
        }
        t += "\n";
    }
    return t;
}

ToolFiles TSRFWin::toolFiles() const
{
    return {kSrfKind, ".srf", "String-rewriting files (*.SRF)|*.srf", "srf"};
}

void TSRFWin::settingsCommand()
{
    if (!host().showModelessDialog("SRFEDIT"))
        host().showError(ErrNothingToDo);
}

void TSRFWin::declareCommands(CommandSet& set)
{
    TBoxWin::declareCommands(set);
    declareDocumentCommands(set);
    bool first = true;
    for (const CurvePreset& p : curvePresets()) {
        if (!*p.menu)
            continue;
        const int id = p.command;
        set.add({id, p.menu, "", K::Plain, kMenuEdit, "&Library", first}, [this, id] { applyPreset(id); });
        first = false;
    }
    set.add({kCmdRandom, "&Random", "", K::Plain, kMenuEdit, "&Library"}, [this] { randomCurve(); });
    set.add({kCmdStrings, "&Strings ...", "", K::Plain, kMenuEdit, "", true}, [this] { settingsCommand(); });
    set.add({kCmdSummary, "&Text summary", "", K::Plain, kMenuEdit, ""},
            [this] { host().showTextWindow("strings.txt", summary()); });
    set.add({kCmdNext, "&Next", "Ctrl+N", K::Plain, kMenuView, "", true}, [this] {
        if (!next())
            host().showError(ErrNothingToDo);
    });
    set.add({kCmdGenerationZero, "&Generation 0", "Ctrl+0", K::Plain, kMenuView, ""}, [this] { generationZero(); });
    set.add({kCmdCornersRandom, "&Corners random", "", K::Plain, kMenuMisc, ""}, [this] { randomCorners(); });
    declareHelp(set, kCmdHelpFirst, srfHelp());
}

// ---- Documents.

void TSRFWin::encodeDocumentBody(ByteWriter& w) const
{
    std::array<int16_t, 20> ints{};
    ints[0] = view_.places;
    ints[1] = data_.n;
    ints[2] = data_.direction;
    ints[3] = static_cast<int16_t>(mouseMode_);
    ints[4] = static_cast<int16_t>(generation_);
    ints[5] = static_cast<int16_t>(kMaxReplacement);
    ints[6] = static_cast<int16_t>(kRewritable.size());
    ints[7] = 7;
    ints[8] = data_.mode;
    ints[10] = static_cast<int16_t>(data_.colour);
    const std::array<uint8_t, 10> flags{static_cast<uint8_t>(watch_ ? 1 : 0), 0, 1, 1, 1, 1, 1, 1, 1, 1};
    std::array<Real, 10> reals{};
    reals[0] = view_.centerX;
    reals[1] = view_.centerY;
    reals[2] = view_.halfWidth;
    reals[3] = view_.halfHeight;
    reals[4] = data_.rotation;
    writeHeadBlocks(w, ints, flags, reals);
    w.fixedText(data_.initial, 256);
    for (char c : kRewritable) {
        w.i16(c);
        w.fixedText(data_.replacement[static_cast<size_t>(c)], kMaxReplacement + 1);
    }
    for (Real l : data_.lengths)
        w.real(l);
    DocumentTail tail;
    tail.overlays = overlayState();
    writeDocumentTail(w, tail);
}

int TSRFWin::decodeDocumentBody(ByteReader& r, const CommonHeader& h)
{
    std::array<int16_t, 20> ints{};
    std::array<uint8_t, 10> flags{};
    std::array<Real, 10> reals{};
    if (const int e = readToolHead(r, h, ints, flags, reals))
        return e;
    // The record count and size come from the header; our own are 13 of 33 bytes.
    if (ints[5] < 1 || ints[5] > 255 || ints[6] < 0 || ints[6] > 91 || ints[7] < 0 || ints[7] > 7)
        return kErrInconsistent;
    RewritingData d;
    if (!r.fixedText(256, d.initial))
        return kErrInconsistent;
    for (int i = 0; i < ints[6]; ++i) {
        int16_t code = 0;
        std::string text;
        if (!r.i16(code) || !r.fixedText(static_cast<size_t>(ints[5]) + 1, text) || code < 0 || code > 90)
            return kErrInconsistent;
        d.replacement[static_cast<size_t>(code)] = text;
    }
    for (int i = 0; i < ints[7]; ++i)
        if (!r.real(d.lengths[static_cast<size_t>(i)]))
            return kErrInconsistent;
    DocumentTail tail;
    if (const int e = readWholeTail(r, tail))
        return e;
    d.n = ints[1];
    d.direction = ints[2];
    d.mode = ints[8];
    d.rotation = reals[4];
    d.colour = ints[10] > 0 && ints[10] <= 60 ? ints[10] : 24;
    if (ints[4] < 0 || ints[4] > kMaxGeneration || !std::isfinite(d.rotation) || !std::isfinite(reals[0]) ||
        !std::isfinite(reals[1]) || !(reals[2] > 0) || !std::isfinite(reals[2]))
        return kErrInconsistent;
    // The strings as the dialog takes them; then the stored generation again.
    if (checkCurveData(d) != 0)
        return kErrInconsistent;
    std::string s = d.initial;
    DirectionTable table;
    table.build(d);
    // The work is bounded too: long strings rewritten many times are refused.
    size_t work = 0;
    for (int g = 0; g < ints[4]; ++g) {
        std::string next;
        if (const int e = rewrite(s, d, nullptr, next))
            return e; // 4: the stored generation is beyond what is kept
        s = std::move(next);
        table.rotate(d.rotation);
        if ((work += s.size()) > 4 * kMaxCurveString)
            return ErrNoMoreRoom;
    }
    if (busy())
        interruptRendering();
    finishSideJob();
    data_ = d;
    table_ = table;
    current_ = std::make_shared<const std::string>(std::move(s));
    generation_ = highest_ = ints[4];
    random_ = false;
    walkCurve(*current_, table_, nullptr, nullptr, &box_);
    watch_ = flags[0] != 0;
    view_.places = std::clamp<int16_t>(ints[0], 0, 18);
    setView(reals[0], reals[1], reals[2]);
    if (tail.overlays)
        applyOverlayState(*tail.overlays);
    return 0;
}

} // namespace qx
