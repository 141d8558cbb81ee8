#include "tools/curves/box_count.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qx {

void BoxGrid::reset(int n, Real left, Real bottom, Real side)
{
    n_ = std::clamp(n, 1, kBoxGridSide);
    left_ = left;
    bottom_ = bottom;
    width_ = side > 0 ? side / n_ : 1;
    std::fill(flags_.begin(), flags_.begin() + static_cast<long>(n_) * n_, 0);
    hits_ = 0;
}

void BoxGrid::markBox(long col, long row)
{
    if (col < 0 || row < 0 || col >= n_ || row >= n_)
        return;
    uint8_t& f = flags_[static_cast<size_t>(row) * static_cast<size_t>(n_) + static_cast<size_t>(col)];
    if (!f) {
        f = 1;
        ++hits_;
    }
}

void BoxGrid::markPoint(Real x, Real y)
{
    const Real u = (x - left_) / width_, v = (y - bottom_) / width_;
    if (u < 0 || v < 0 || u > n_ || v > n_)
        return;
    markBox(std::min<long>(static_cast<long>(u), n_ - 1), std::min<long>(static_cast<long>(v), n_ - 1));
}

void BoxGrid::markSegment(WorldPoint a, WorldPoint b)
{
    markPoint(a.x, a.y);
    markPoint(b.x, b.y);
    const Real ua = (a.x - left_) / width_, va = (a.y - bottom_) / width_;
    const Real ub = (b.x - left_) / width_, vb = (b.y - bottom_) / width_;
    // Crossings of the vertical grid lines u = i: the boxes left and right of it.
    if (std::fabs(b.x - a.x) > 1e-16L) {
        const Real slope = (vb - va) / (ub - ua);
        // Grid lines within the segment and the square (bounds taken before
        // any conversion, so far-away segments cannot overflow).
        const Real lo = std::max<Real>(std::ceil(std::min(ua, ub)), 0), hi = std::min<Real>(std::floor(std::max(ua, ub)), n_);
        const long from = lo <= hi ? static_cast<long>(lo) : 1, to = lo <= hi ? static_cast<long>(hi) : 0;
        for (long i = from; i <= to; ++i) {
            const Real v = va + (static_cast<Real>(i) - ua) * slope;
            if (v < 0 || v > n_)
                continue;
            const long row = std::min<long>(static_cast<long>(v), n_ - 1);
            markBox(i - 1, row);
            markBox(i, row);
        }
    }
    // Crossings of the horizontal grid lines v = j: the boxes below and above.
    if (std::fabs(b.y - a.y) > 1e-16L) {
        const Real slope = (ub - ua) / (vb - va);
        // Grid lines within the segment and the square (bounds taken before
        // any conversion, so far-away segments cannot overflow).
        const Real lo = std::max<Real>(std::ceil(std::min(va, vb)), 0), hi = std::min<Real>(std::floor(std::max(va, vb)), n_);
        const long from = lo <= hi ? static_cast<long>(lo) : 1, to = lo <= hi ? static_cast<long>(hi) : 0;
        for (long j = from; j <= to; ++j) {
            const Real u = ua + (static_cast<Real>(j) - va) * slope;
            if (u < 0 || u > n_)
                continue;
            const long col = std::min<long>(static_cast<long>(u), n_ - 1);
            markBox(col, j - 1);
            markBox(col, j);
        }
    }
}

Real fittedSlope(const std::vector<Real>& x, const std::vector<Real>& y)
{
    const size_t n = std::min(x.size(), y.size());
    if (n < 2)
        return 0;
    Real mx = 0, my = 0;
    for (size_t i = 0; i < n; ++i) {
        mx += x[i];
        my += y[i];
    }
    mx /= static_cast<Real>(n);
    my /= static_cast<Real>(n);
    Real sxy = 0, sxx = 0;
    for (size_t i = 0; i < n; ++i) {
        sxy += (y[i] - my) * (x[i] - mx);
        sxx += (x[i] - mx) * (x[i] - mx);
    }
    return sxx > 0 ? sxy / sxx : 0;
}

namespace {

// Left-aligned in `width` characters, and at least one blank after it
// ("width/1024" fills the whole column).
std::string padded(const std::string& s, size_t width)
{
    return s.size() < width ? s + std::string(width - s.size(), ' ') : s + ' ';
}

} // namespace

BoxCountReport countBoxes(BoxCounter& counter, const std::atomic<bool>* stop, const std::function<void(int)>& stepStarted)
{
    BoxCountReport r;
    BoxGrid grid;
    r.text = padded("box size", 10) + padded("number", 10) + padded("hits", 10) + "\n";
    std::vector<Real> xs, ys;
    for (int k = 0; k < kBoxSteps; ++k) {
        if (stepStarted)
            stepStarted(k);
        const long long total = counter.totalBoxes(k);
        const long long hits = counter.hits(k, grid, stop);
        if (hits < 1) {
            r.text += "calculation aborted\n";
            r.aborted = true;
            break;
        }
        r.text += padded(counter.boxSize(k), 10) + padded(std::to_string(total), 10) +
                  padded(std::to_string(hits), 10);
        if (k >= 2) {
            xs.push_back(std::log(static_cast<Real>(int64_t(1) << k)));
            ys.push_back(std::log(static_cast<Real>(hits)));
        }
        if (k >= 3) {
            r.dimension = fittedSlope(xs, ys);
            char buf[64];
            std::snprintf(buf, sizeof buf, "   dimension = %.5Lg", r.dimension);
            r.text += buf;
        }
        r.text += "\n";
        r.lastStep = k;
    }
    return r;
}

} // namespace qx
