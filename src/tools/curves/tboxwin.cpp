#include "tools/curves/tboxwin.h"

#include "base/messages.h"
#include "model/command_table.h"
#include "model/special_colours.h"

#include <cstdio>

namespace qx {

namespace {

constexpr int kCmdBoxCount = 595, kCmdGridFirst = 700;

// The counting job: the report, computed on a worker.
class BoxCountJob final : public DrawingJob {
public:
    BoxCountJob(std::unique_ptr<BoxCounter> counter, std::shared_ptr<BoxCountReport> out)
        : counter_(std::move(counter)), out_(std::move(out))
    {
    }
    int run(DrawingOutput& out, const std::atomic<bool>& stop) override
    {
        *out_ = countBoxes(*counter_, &stop, [&out](int k) { out.setProgress(k, kBoxSteps); });
        return stop.load() ? 81 : 0;
    }

private:
    std::unique_ptr<BoxCounter> counter_;
    std::shared_ptr<BoxCountReport> out_;
};

} // namespace

bool TBoxWin::startBoxCount()
{
    auto counter = makeBoxCounter();
    if (!counter || sideJobRunning())
        return false;
    auto result = std::make_shared<BoxCountReport>();
    return startSideJob(std::make_unique<BoxCountJob>(std::move(counter), result), [this, result](int) {
        report_ = *result;
        if (report_.lastStep >= 4 && attached())
            host().showTextWindow("dimension.txt", report_.text);
    });
}

std::string TBoxWin::reportWithEstimate() const
{
    std::string t = report_.text;
    if (report_.lastStep >= 3) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "estimate: %.5Lg\n", report_.dimension);
        t += buf;
    }
    return t;
}

void TBoxWin::setGridOverlay(int perSide)
{
    gridOverlay_ = perSide;
    overlaysChanged();
}

void TBoxWin::declareCommands(CommandSet& set)
{
    TVorl1Win::declareCommands(set);
    set.add({kCmdBoxCount, "&Box count", "Ctrl+B", CommandKind::Plain, kMenuMisc, "", true}, [this] {
        if (!startBoxCount())
            host().showError(ErrNothingToDo);
    });
    static constexpr const char* kGridTexts[] = {"&Off", "&512x512", "&256x256", "&128x128", "&64x64",
                                                 "&32x32", "&16x16", "&8x8", "&4x4"};
    for (int i = 0; i < 9; ++i) {
        const int perSide = i == 0 ? kBoxGridSide : 1024 >> i;
        set.add({kCmdGridFirst + i, kGridTexts[i], "", CommandKind::Radio, kMenuMisc, "&Grid overlay"},
                [this, perSide] { setGridOverlay(perSide); }, [this, perSide] { return gridOverlay_ == perSide; });
    }
}

void TBoxWin::drawToolOverlays(Canvas& canvas)
{
    Real left = 0, bottom = 0, side = 0;
    if (gridOverlay_ >= kBoxGridSide || !countingSquare(left, bottom, side) || !(side > 0))
        return;
    const Pen pen{special_.get(SlotGridline), 1, PenSolid};
    const Real w = side / gridOverlay_;
    for (int i = 0; i <= gridOverlay_; ++i) {
        const Real t = static_cast<Real>(i) * w;
        canvas.drawSegment({left + t, bottom}, {left + t, bottom + side}, pen);
        canvas.drawSegment({left, bottom + t}, {left + side, bottom + t}, pen);
    }
}

} // namespace qx
