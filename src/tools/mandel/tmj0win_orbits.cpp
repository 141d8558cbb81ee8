// Inverse iteration, preimages and the vector export of the Mandelbrot and
// Julia windows.
#include "tools/mandel/tmj0win.h"

#include "model/special_colours.h"
#include "tools/mandel/mj_iim.h"

#include <utility>

namespace qx {

namespace {

constexpr int32_t kPlotBatch = 200;   // steps between two dot lists
constexpr int32_t kPollSteps = 5000;  // steps between two interrupt polls

// The inverse-image method on the screen: points in batches of kPlotBatch
// steps to the window, up to `limit` steps (0: none); the steps taken go to
// `steps` when it ends.
class InverseJob final : public DrawingJob {
public:
    InverseJob(Complex c, int degree, const View& view, int colour, int32_t limit, std::atomic<int32_t>& steps)
        : iim_(c, degree), view_(view), colour_(colour), limit_(limit), steps_(steps)
    {
    }
    int run(DrawingOutput& out, const std::atomic<bool>& stop) override
    {
        DotBatch batch{{}, colour_, {}};
        const auto plot = [&](Complex z) {
            if (view_.inView(z.re, z.im))
                batch.points.push_back({z.re, z.im});
        };
        int status = 0;
        while (limit_ <= 0 || iim_.steps() < limit_) {
            iim_.step(plot);
            if (iim_.steps() % kPlotBatch != 0)
                continue;
            out.add(std::exchange(batch, DotBatch{{}, colour_, {}}));
            out.setProgress(iim_.steps(), limit_ > 0 ? limit_ : 0);
            if (stop.load(std::memory_order_relaxed)) {
                status = kSweepInterrupted;
                break;
            }
        }
        out.add(std::move(batch));
        steps_.store(iim_.steps());
        return status;
    }

private:
    InverseIteration iim_;
    View view_;
    int colour_;
    int32_t limit_;
    std::atomic<int32_t>& steps_;
};

} // namespace

int TMJ0Win::drawInverse(Canvas& figure)
{
    // The points fall on a clean background, not on the previous picture.
    figure.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, Pen{0, 1, PenSolid});
    return startDrawingJob(std::make_unique<InverseJob>(params_.c, params_.degree, view_, special_.get(SlotIim),
                                                        orbits_.settings.iimScreenLimit, inverseSteps_));
}

void TMJ0Win::renderFinished(int status)
{
    TFMJWin::renderFinished(status);
    if (params_.mode != DisplayMode::Iim)
        return;
    reps_ = inverseSteps_.load();
    if (status == kSweepInterrupted) // the next redraw stops where the user was content
        orbits_.settings.iimScreenLimit = iimCeilingAfterInterrupt(reps_);
}

int TMJ0Win::runInverse(Canvas& canvas, int32_t limit)
{
    InverseIteration iim(params_.c, params_.degree);
    const int colour = special_.get(SlotIim);
    std::vector<WorldPoint> batch;
    const auto plot = [&](Complex z) {
        if (view_.inView(z.re, z.im))
            batch.push_back({z.re, z.im});
    };
    int status = 0;
    while (limit <= 0 || iim.steps() < limit) {
        iim.step(plot);
        if (iim.steps() % kPlotBatch == 0) {
            canvas.drawDotList(batch, colour, std::nullopt, 1);
            batch.clear();
        }
        if (iim.steps() % kPollSteps == 0 && exportStopped()) {
            status = kSweepInterrupted;
            break;
        }
    }
    canvas.drawDotList(batch, colour, std::nullopt, 1);
    reps_ = iim.steps();
    return status;
}

std::vector<Complex> TMJ0Win::preimagesOf(Complex z)
{
    return preimages(z, params_.c, params_.degree);
}

bool TMJ0Win::drawExportPage(Canvas& canvas, int page)
{
    if (canvas.takesPictures() && params_.mode != DisplayMode::Iim)
        return TFMJWin::drawExportPage(canvas, page); // the swept picture
    const Pen border{0, 1, PenSolid};
    canvas.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, border);
    // An export stopped with Q keeps the points drawn so far, as the screen does.
    if (params_.mode == DisplayMode::Iim && orbits_.settings.iimOutputLimit > 0)
        runInverse(canvas, orbits_.settings.iimOutputLimit);
    drawOverlays(canvas);
    return true;
}

} // namespace qx
