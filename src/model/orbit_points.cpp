#include "model/orbit_points.h"

#include <cmath>
#include <memory>

namespace qx {

namespace {

constexpr long long kStopCheck = 4096;

bool finite(Complex z) { return std::isfinite(z.re) && std::isfinite(z.im); }

// Pixels that already hold a dot, keyed as the raster canvas rounds them.
class PixelSet {
public:
    explicit PixelSet(const View& v) : view_(v), w_(v.pixWidth + 2), h_(v.pixHeight + 2), bits_(size_t(w_) * size_t(h_)) {}
    // True when the point's pixel had no dot yet (and marks it); points
    // outside the grid always count as new.
    bool insert(const WorldPoint& p)
    {
        const Real x = view_.xToPixelF(p.x) - view_.originX + 1, y = view_.yToPixelF(p.y) - view_.originY + 1;
        if (!(x >= 0 && y >= 0 && x < w_ && y < h_))
            return true;
        const size_t i = size_t(roundHalfDown(y)) * size_t(w_) + size_t(roundHalfDown(x));
        if (i >= bits_.size() || !bits_[i]) {
            if (i < bits_.size())
                bits_[i] = true;
            return true;
        }
        return false;
    }

private:
    const View& view_;
    long w_, h_;
    std::vector<bool> bits_;
};

} // namespace

int computeOrbitPoints(const std::vector<Complex>& seeds, int32_t length, const View& view, const OrbitMap& map,
                       const std::atomic<bool>& stop, OrbitPoints& out,
                       const std::function<void(long long, long long)>& progress)
{
    out = {};
    out.dots.resize(seeds.size());
    const long long total = static_cast<long long>(seeds.size()) * (static_cast<long long>(length) + 1);
    size_t stored = 0;
    std::unique_ptr<PixelSet> pixels; // made when the store is full
    long long sinceCheck = 0;
    for (size_t s = 0; s < seeds.size(); ++s) {
        const bool last = s + 1 == seeds.size();
        std::vector<WorldPoint>& dots = out.dots[s];
        Complex z = seeds[s];
        for (int32_t k = 0; k <= length && finite(z); ++k) {
            if (++sinceCheck == kStopCheck) {
                sinceCheck = 0;
                if (stop.load(std::memory_order_relaxed))
                    return 81;
                if (progress)
                    progress(out.reps, total);
            }
            ++out.reps;
            if (last && out.lastOrbit.size() < kMaxTableOrbit)
                out.lastOrbit.push_back(z);
            if (view.inView(z.re, z.im)) {
                const WorldPoint p{z.re, z.im};
                if (stored == kMaxOrbitDots && !pixels) {
                    pixels = std::make_unique<PixelSet>(view);
                    for (const auto& list : out.dots)
                        for (const WorldPoint& q : list)
                            pixels->insert(q);
                }
                if (!pixels || pixels->insert(p)) {
                    dots.push_back(p);
                    ++stored;
                }
            }
            z = map(z);
        }
    }
    return 0;
}

} // namespace qx
