#pragma once
// The pixel sweep: colours every pixel of a picture from a per-tool kernel,
// on a pool of worker threads.
//
// Threads and ownership. start() hands the work to the program's worker pool
// (one task per requested thread) and returns at once;
// the caller (the user-interface thread) keeps running and may
//   - call interrupt() at any time (the flag is atomic; every worker stops
//     after the row it is on, so the sweep ends within one row),
//   - call takeFinishedRows() to learn which picture rows are final, and
//     read exactly those rows of the image (they are never written again),
//   - call finished() to learn whether all workers are done,
// and must call wait() (until every task has ended) before touching the
// image otherwise. The destructor interrupts and waits.
//
// Work split: rows (with guessing, bands of kGuessBand rows) are claimed
// from an atomic counter, top to bottom, so the workers share the load
// whatever the cost per row. Each worker owns a
// clone of the kernel, since kernels keep private scratch state (expression
// trees write into their nodes). Every pixel is a pure function of (x, y,
// col, row), so the picture is identical for any number of threads.
#include "base/numeric.h"
#include "graphics/colour.h"
#include "graphics/image.h"

#include <atomic>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace qx {

// A pixel's colour and its row-buffer code (colour_tables.h).
struct PixelValue {
    Rgb colour = 0;
    int32_t code = 0;
};

// The code of a pixel whose computation was stopped by the interrupt flag:
// the sweep leaves it (and the rest of its row) as it was.
inline constexpr int32_t kPixelInterrupted = INT32_MIN;

// A pixel of the picture at world point (x, y).
struct SweepPoint {
    Real x = 0, y = 0;
    int col = 0, row = 0;
};

// The per-pixel colour function of a tool, snapshotted at the start of a
// sweep. clone() is called once per worker on the starting thread.
class PixelKernel {
public:
    virtual ~PixelKernel() = default;
    virtual std::unique_ptr<PixelKernel> clone() const = 0;
    // Colour of the world point (x, y) swept at pixel (col, row), or the
    // code kPixelInterrupted when the stop flag was raised meanwhile. A
    // kernel whose pixels may take long looks at the flag every few thousand
    // iterations (a counter, not a load per iteration).
    virtual PixelValue colourAt(Real x, Real y, int col, int row) = 0;
    // Colours swept row `row` (world height y, column c at xs[c]), each
    // pixel as colourAt would; a kernel that computes whole rows faster
    // overrides it. After a pixel coded kPixelInterrupted the rest of `out`
    // is undefined.
    virtual void colourRow(const Real* xs, Real y, int row, int count, PixelValue* out)
    {
        for (int c = 0; c < count; ++c)
            if ((out[c] = colourAt(xs[c], y, c, row)).code == kPixelInterrupted)
                return;
    }
    // Colours `count` pixels in any order, each as colourAt would (a kernel
    // may overlap their computations). After a pixel coded
    // kPixelInterrupted the rest of `out` is undefined.
    virtual void colourPoints(const SweepPoint* points, int count, PixelValue* out)
    {
        for (int i = 0; i < count; ++i)
            if ((out[i] = colourAt(points[i].x, points[i].y, points[i].col, points[i].row)).code == kPixelInterrupted)
                return;
    }
    // The sweep's interrupt flag, set before the first pixel.
    void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }
    // Set by a guessing sweep, which asks for pixels scattered over the
    // picture rather than row after row: a kernel that computes whole rows
    // ahead should then compute each pixel on its own.
    void setScattered(bool scattered) { scattered_ = scattered; }

protected:
    bool stopRequested() const { return stop_ && stop_->load(std::memory_order_relaxed); }
    const std::atomic<bool>* stop_ = nullptr;
    bool scattered_ = false;
};

// World position of the pixels: column c, row r shows (x0 + c*pitchX, y0 - r*pitchY).
struct SweepGeometry {
    int width = 0;
    int height = 0;
    Real x0 = 0;
    Real y0 = 0;
    Real pitchX = 0;
    Real pitchY = 0;
};

enum SweepSymmetry : int {
    SymmetryNone = 0,
    SymmetryMirror = 1, // about the horizontal centre line: (c, H-1-r) = (c, r)
    SymmetryPoint = 2,  // about the centre: (W-1-c, H-1-r) = (c, r)
};

struct SweepOptions {
    int symmetry = SymmetryNone;  // with 1 or 2 only (H + 1) / 2 rows are computed
    bool antiAlias = false;       // 4 extra samples at (+-d, +-d)
    Real sampleOffset = 0;        // d, in world units
    int threads = 0;              // 0: std::thread::hardware_concurrency()
    // Guessing for fast previews (inexact, off by default): rectangles
    // whose border pixels all agree are filled without computing their
    // inside (rectangle subdivision). A detail that lies wholly inside such
    // a rectangle is lost; the picture is still the same for any number of
    // threads, since each band of rows is guessed on its own.
    bool guess = false;
};

// Rows per band of a guessing sweep: the band is its first rectangle.
inline constexpr int kGuessBand = 128;

inline constexpr int kSweepInterrupted = 81;

// Number of rows a sweep computes for a picture height and symmetry.
constexpr int sweptRows(int height, int symmetry) { return symmetry ? (height + 1) / 2 : height; }
// Five-sample average: each channel (4 * centre + sum of the others) / 8, truncated.
Rgb antiAliasAverage(Rgb centre, Rgb s1, Rgb s2, Rgb s3, Rgb s4);

class PixelSweep {
public:
    PixelSweep() = default;
    ~PixelSweep();
    PixelSweep(const PixelSweep&) = delete;
    PixelSweep& operator=(const PixelSweep&) = delete;

    // Start sweeping into `image` (width x height of the geometry) and, when
    // `codes` is given, the row-buffer codes into it (resized to W * H).
    // Returns 0, or 6 (inconsistent data) for a size mismatch or a sweep
    // already running, 3 when the kernel cannot be cloned; nothing starts then.
    int start(Image& image, std::vector<int32_t>* codes, const SweepGeometry& geometry,
              const SweepOptions& options, const PixelKernel& prototype);

    void interrupt() { stop_.store(true, std::memory_order_relaxed); }
    bool running() const { return tasks_ > 0; }
    bool finished() const { return active_.load(std::memory_order_acquire) == 0; }
    int rows() const { return rows_; }
    int rowsDone() const { return done_.load(std::memory_order_acquire); }
    // The tasks (kernels) the sweep runs in parallel.
    int threadCount() const { return tasks_; }
    // Picture rows completed since the previous call (with symmetry a swept
    // row brings its mirror row). User-interface thread only.
    void takeFinishedRows(std::vector<int>& out);
    // Wait for every task. Returns 0 when every row was swept, 81 when the
    // sweep was interrupted first, -1 when no sweep was started.
    int wait();

private:
    void work(std::unique_ptr<PixelKernel> kernel);
    bool sweepRow(PixelKernel& kernel, int r, std::vector<PixelValue>& values);
    // Guessing: the band of swept rows [r0, r1), through the worker's scratch.
    struct GuessScratch;
    bool sweepBand(PixelKernel& kernel, int r0, int r1, GuessScratch& s);
    bool computeQueued(PixelKernel& kernel, int r0, GuessScratch& s);
    void storePixel(int r, int c, const PixelValue& v);
    int units() const { return opt_.guess ? (rows_ + kGuessBand - 1) / kGuessBand : rows_; }
    PixelValue pixel(PixelKernel& kernel, Real x, Real y, int c, int r) const;

    Image* image_ = nullptr;
    std::vector<int32_t>* codes_ = nullptr;
    SweepGeometry geo_;
    SweepOptions opt_;
    int rows_ = 0;
    std::vector<Real> columnX_; // x0 + c * pitchX, the same for every row
    std::atomic<bool> stop_{false};
    std::atomic<int> next_{0};
    std::atomic<int> done_{0};
    std::atomic<int> active_{0};
    std::unique_ptr<std::atomic<uint8_t>[]> rowState_; // 1 when swept row r is final
    std::vector<uint8_t> reported_;                     // UI side of takeFinishedRows
    int tasks_ = 0;                                     // tasks of the running sweep
    std::mutex doneMutex_;
    std::condition_variable allDone_;
};

// start() then wait(): a blocking sweep for batch use and tests. Returns 0
// or a start() error.
int runSweep(Image& image, std::vector<int32_t>* codes, const SweepGeometry& geometry,
             const SweepOptions& options, const PixelKernel& prototype);

} // namespace qx
