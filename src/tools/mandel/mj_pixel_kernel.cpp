#include "tools/mandel/mj_pixel_kernel.h"

namespace qx {

MJPixelKernel::MJPixelKernel(MJKernel kernel, const SweepGeometry& geometry)
    : kernel_(std::move(kernel)), geometry_(geometry)
{
}

std::unique_ptr<PixelKernel> MJPixelKernel::clone() const
{
    auto copy = std::make_unique<MJPixelKernel>(kernel_, geometry_);
    return copy;
}

// The sweep's own pixel positions, computed the same way bit for bit.
bool MJPixelKernel::onGrid(Real x, Real y, int col, int row) const
{
    return col >= 0 && col < geometry_.width &&
           x == geometry_.x0 + Real(col) * geometry_.pitchX &&
           y == geometry_.y0 - Real(row) * geometry_.pitchY;
}

PixelValue MJPixelKernel::colourAt(Real x, Real y, int col, int row)
{
    PixelColour pc;
    if (!scattered_ && onGrid(x, y, col, row)) {
        if (row != cachedRow_) {
            kernel_.setStopFlag(stop_);
            // A stopped row leaves its unfinished pixels marked stopped.
            rowColours_.assign(static_cast<size_t>(geometry_.width), PixelColour{0, kPixelStopped});
            kernel_.colourRow(geometry_.x0, geometry_.pitchX, y, geometry_.width, rowColours_.data());
            cachedRow_ = row;
        }
        pc = rowColours_[static_cast<size_t>(col)];
        if (pc.code == kPixelStopped)
            cachedRow_ = -1; // the row is asked again from the start next time
    } else {
        kernel_.setStopFlag(stop_);
        pc = kernel_.colourAt(x, y);
    }
    return {pc.rgb, pc.code};
}

// A whole grid row through the paired row loop (its columns are the
// sweep's, computed the same way bit for bit).
void MJPixelKernel::colourRow(const Real* xs, Real y, int row, int count, PixelValue* out)
{
    if (count != geometry_.width || !onGrid(xs[0], y, 0, row) || !onGrid(xs[count - 1], y, count - 1, row)) {
        PixelKernel::colourRow(xs, y, row, count, out);
        return;
    }
    kernel_.setStopFlag(stop_);
    rowColours_.assign(static_cast<size_t>(count), PixelColour{0, kPixelStopped});
    kernel_.colourRow(geometry_.x0, geometry_.pitchX, y, count, rowColours_.data());
    cachedRow_ = -1; // the row cache of colourAt is not filled
    for (int c = 0; c < count; ++c)
        out[c] = {rowColours_[static_cast<size_t>(c)].rgb, rowColours_[static_cast<size_t>(c)].code};
}

void MJPixelKernel::colourPoints(const SweepPoint* points, int count, PixelValue* out)
{
    const size_t n = static_cast<size_t>(count);
    xs_.resize(n);
    ys_.resize(n);
    pointColours_.assign(n, PixelColour{0, kPixelStopped});
    for (size_t i = 0; i < n; ++i) {
        xs_[i] = points[i].x;
        ys_[i] = points[i].y;
    }
    kernel_.setStopFlag(stop_);
    kernel_.colourPoints(xs_.data(), ys_.data(), count, pointColours_.data());
    for (size_t i = 0; i < n; ++i)
        out[i] = {pointColours_[i].rgb, pointColours_[i].code};
}

} // namespace qx
