#pragma once
// Box counting: cover a picture with square grids of 1, 2, 4, ... 1024 boxes
// per side, count the boxes it hits, and fit a line to ln(hits) against
// ln(boxes per side) for the dimension. The counting grid, the marking of
// segments, the line fit and the text report; toolkit-free.
#include "base/numeric.h"
#include "graphics/view.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qx {

inline constexpr int kBoxSteps = 11;      // k = 0 .. 10
inline constexpr int kBoxGridSide = 1024; // boxes per side at the finest step

// One flag per box of an n x n grid over a square (n up to 1024).
class BoxGrid {
public:
    // A square from (left, bottom) with side `side`, cut into n x n boxes; all clear.
    void reset(int n, Real left, Real bottom, Real side);
    // Flags the boxes the segment from a to b meets: those of its end points
    // and every box whose sides it crosses. Parts outside the square count nothing.
    void markSegment(WorldPoint a, WorldPoint b);
    void markBox(long col, long row);
    long long hits() const { return hits_; }
    int side() const { return n_; }

private:
    void markPoint(Real x, Real y);
    std::vector<uint8_t> flags_ = std::vector<uint8_t>(static_cast<size_t>(kBoxGridSide) * kBoxGridSide);
    int n_ = 1;
    Real left_ = 0, bottom_ = 0, width_ = 1;
    long long hits_ = 0;
};

// What a tool counts: the boxes of step k in all, and its hits (negative when
// interrupted). Runs on a worker.
class BoxCounter {
public:
    virtual ~BoxCounter() = default;
    virtual long long totalBoxes(int k) const = 0;
    virtual long long hits(int k, BoxGrid& grid, const std::atomic<bool>* stop) = 0;
    // The box size column of step k ("width/8" for curves, "128" for bitmaps).
    virtual std::string boxSize(int k) const = 0;
};

// The slope of the least-squares line through (x_j, y_j).
Real fittedSlope(const std::vector<Real>& x, const std::vector<Real>& y);

struct BoxCountReport {
    std::string text;
    int lastStep = -1;      // the last step completed
    Real dimension = 0;     // the last estimate (from step 3 on)
    bool aborted = false;   // a step without hits (or interrupted)
};
BoxCountReport countBoxes(BoxCounter& counter, const std::atomic<bool>* stop,
                          const std::function<void(int)>& stepStarted = {});

} // namespace qx
