#pragma once
// The Mandelbrot/Julia kernel as the sweep's PixelKernel. The sweep asks
// for one pixel at a time; on the first grid pixel of a row the adapter
// colours the whole row with the paired loop and then answers from that
// row. A point off the grid (an anti-aliasing sample) is coloured on its
// own, as is every pixel of a guessing sweep (which asks for scattered
// pixels), so the answer never depends on the order of the calls.
#include <cstddef> // before the core headers, which use size_t

#include "model/pixel_sweep.h"
#include "tools/mandel/mj_kernel.h"

#include <memory>
#include <vector>

namespace qx {

class MJPixelKernel final : public PixelKernel {
public:
    MJPixelKernel(MJKernel kernel, const SweepGeometry& geometry);

    std::unique_ptr<PixelKernel> clone() const override;
    PixelValue colourAt(Real x, Real y, int col, int row) override;
    void colourPoints(const SweepPoint* points, int count, PixelValue* out) override;
    void colourRow(const Real* xs, Real y, int row, int count, PixelValue* out) override;

    const MJKernel& kernel() const { return kernel_; }

private:
    bool onGrid(Real x, Real y, int col, int row) const;

    MJKernel kernel_;
    SweepGeometry geometry_;
    std::vector<PixelColour> rowColours_;
    int cachedRow_ = -1;
    std::vector<Real> xs_, ys_; // colourPoints' scratch
    std::vector<PixelColour> pointColours_;
};

} // namespace qx
