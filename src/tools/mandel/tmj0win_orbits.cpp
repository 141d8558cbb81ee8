// Inverse iteration, preimages and the vector export of the Mandelbrot and
// Julia windows.
#include "tools/mandel/tmj0win.h"

#include "model/special_colours.h"
#include "tools/mandel/mj_iim.h"

namespace qx {

namespace {

constexpr int32_t kPlotBatch = 200;   // steps between two dot lists
constexpr int32_t kPollSteps = 5000;  // steps between two interrupt polls

} // namespace

int TMJ0Win::drawInverse(Canvas& figure)
{
    // The points fall on a clean background, not on the previous picture.
    figure.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, Pen{0, 1, PenSolid});
    const int status = runInverse(figure, orbits_.settings.iimScreenLimit);
    if (status == kSweepInterrupted)
        orbits_.settings.iimScreenLimit = iimCeilingAfterInterrupt(reps_);
    return status;
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
        if (iim.steps() % kPollSteps == 0 && attached() && host().pollInterrupt() == kSweepInterrupted) {
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

bool TMJ0Win::drawExportPage(Canvas& canvas, int)
{
    const Pen border{0, 1, PenSolid};
    canvas.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, 0, border);
    // An export stopped with Q keeps the points drawn so far, as the screen does.
    if (params_.mode == DisplayMode::Iim && orbits_.settings.iimOutputLimit > 0)
        runInverse(canvas, orbits_.settings.iimOutputLimit);
    drawOverlays(canvas);
    return true;
}

} // namespace qx
