#include "model/pixel_sweep.h"

#include "model/worker_pool.h"

#include <algorithm>

namespace qx {

Rgb antiAliasAverage(Rgb centre, Rgb s1, Rgb s2, Rgb s3, Rgb s4)
{
    const auto mix = [&](int (*ch)(Rgb)) { return (4 * ch(centre) + ch(s1) + ch(s2) + ch(s3) + ch(s4)) / 8; };
    return makeRgb(mix(redOf), mix(greenOf), mix(blueOf));
}

PixelSweep::~PixelSweep()
{
    interrupt();
    wait();
}

int PixelSweep::start(Image& image, std::vector<int32_t>* codes, const SweepGeometry& geometry,
                      const SweepOptions& options, const PixelKernel& prototype)
{
    if (running() || geometry.width < 1 || geometry.height < 1 || image.width != geometry.width ||
        image.height != geometry.height || options.symmetry < 0 || options.symmetry > 2)
        return 6;
    const int rows = sweptRows(geometry.height, options.symmetry);
    int n = options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
    n = std::clamp(n, 1, options.guess ? (rows + kGuessBand - 1) / kGuessBand : rows);
    std::vector<std::unique_ptr<PixelKernel>> kernels;
    for (int i = 0; i < n; ++i) {
        kernels.push_back(prototype.clone());
        if (!kernels.back())
            return 3;
    }
    const size_t area = static_cast<size_t>(geometry.width) * static_cast<size_t>(geometry.height);
    if (codes && codes->size() != area)
        codes->assign(area, 0);
    image_ = &image;
    codes_ = codes;
    geo_ = geometry;
    opt_ = options;
    rows_ = rows;
    columnX_.resize(static_cast<size_t>(geometry.width));
    for (int c = 0; c < geometry.width; ++c)
        columnX_[static_cast<size_t>(c)] = geometry.x0 + c * geometry.pitchX;
    rowState_ = std::make_unique<std::atomic<uint8_t>[]>(static_cast<size_t>(rows));
    reported_.assign(static_cast<size_t>(rows), 0);
    stop_.store(false);
    next_.store(0);
    done_.store(0);
    active_.store(n);
    tasks_ = n;
    for (auto& k : kernels) {
        auto* kernel = k.release(); // owned by its task from here on
        WorkerPool::shared().submit([this, kernel] { work(std::unique_ptr<PixelKernel>(kernel)); });
    }
    return 0;
}

struct PixelSweep::GuessScratch {
    struct Rect {
        int c0, c1, ra, rb; // columns and band rows, inclusive
    };
    std::vector<PixelValue> values; // the band, row after row
    std::vector<uint8_t> known;     // 0 unknown, 1 computed or filled, 2 queued
    std::vector<size_t> pending;    // queued pixels (indices into values)
    std::vector<SweepPoint> points;
    std::vector<PixelValue> results;
    std::vector<Rect> level, next;  // the rectangles of one subdivision step, and of the next
};

void PixelSweep::work(std::unique_ptr<PixelKernel> kernel)
{
    kernel->setStopFlag(&stop_);
    kernel->setScattered(opt_.guess);
    GuessScratch scratch;
    std::vector<PixelValue> rowValues(static_cast<size_t>(geo_.width));
    const int count = units();
    // The interrupt flag is looked at between units: a row once begun is finished.
    while (!stop_.load(std::memory_order_relaxed)) {
        const int u = next_.fetch_add(1, std::memory_order_relaxed);
        if (u >= count)
            break;
        const int r0 = opt_.guess ? u * kGuessBand : u;
        const int r1 = opt_.guess ? std::min(rows_, r0 + kGuessBand) : u + 1;
        if (!(opt_.guess ? sweepBand(*kernel, r0, r1, scratch) : sweepRow(*kernel, u, rowValues)))
            break; // stopped inside the unit: its rows are not done
        for (int r = r0; r < r1; ++r)
            rowState_[static_cast<size_t>(r)].store(1, std::memory_order_release);
        done_.fetch_add(r1 - r0, std::memory_order_release);
    }
    kernel.reset(); // before the sweep may be destroyed by its waiter
    std::lock_guard lock(doneMutex_);
    active_.fetch_sub(1, std::memory_order_release);
    allDone_.notify_all();
}

PixelValue PixelSweep::pixel(PixelKernel& kernel, Real x, Real y, int c, int r) const
{
    PixelValue v = kernel.colourAt(x, y, c, r);
    if (opt_.antiAlias && v.code != kPixelInterrupted) {
        const Real d = opt_.sampleOffset;
        PixelValue s[4] = {kernel.colourAt(x + d, y + d, c, r), kernel.colourAt(x + d, y - d, c, r),
                           kernel.colourAt(x - d, y + d, c, r), kernel.colourAt(x - d, y - d, c, r)};
        for (const PixelValue& sample : s)
            if (sample.code == kPixelInterrupted)
                return sample;
        v.colour = antiAliasAverage(v.colour, s[0].colour, s[1].colour, s[2].colour, s[3].colour);
    }
    return v;
}

// Writes a pixel and, under symmetry, its mirror pixel.
inline void PixelSweep::storePixel(int r, int c, const PixelValue& v)
{
    const int w = geo_.width;
    const Rgb stored = v.colour | kOpaque;
    image_->row(r)[c] = stored;
    if (codes_)
        (*codes_)[static_cast<size_t>(r) * w + c] = v.code;
    if (opt_.symmetry == SymmetryNone)
        return;
    const int mirror = geo_.height - 1 - r;
    const int mc = opt_.symmetry == SymmetryMirror ? c : w - 1 - c;
    image_->row(mirror)[mc] = stored;
    if (codes_)
        (*codes_)[static_cast<size_t>(mirror) * w + mc] = v.code;
}

// Hot loop: one picture row (and its mirror row under symmetry). Rows are
// disjoint between workers, so no pixel is written by two threads. False
// when a pixel was stopped: the rest of the row keeps what it had.
bool PixelSweep::sweepRow(PixelKernel& kernel, int r, std::vector<PixelValue>& values)
{
    const Real y = geo_.y0 - r * geo_.pitchY;
    const int w = geo_.width;
    if (!opt_.antiAlias) {
        kernel.colourRow(columnX_.data(), y, r, w, values.data());
        for (int c = 0; c < w; ++c) {
            if (values[static_cast<size_t>(c)].code == kPixelInterrupted)
                return false;
            storePixel(r, c, values[static_cast<size_t>(c)]);
        }
        return true;
    }
    for (int c = 0; c < w; ++c) {
        const PixelValue v = pixel(kernel, columnX_[static_cast<size_t>(c)], y, c, r);
        if (v.code == kPixelInterrupted)
            return false;
        storePixel(r, c, v);
    }
    return true;
}

// Guessing by rectangle subdivision, one level at a time: the border
// pixels of every rectangle of the level are computed in one call (so the
// kernel can pair them), then each rectangle whose border agrees in colour
// and code is filled with that value, a small one has its inside computed,
// and any other is halved across its longer side for the next level. The
// band is the first rectangle. It is written only when it is complete, so
// a stopped band leaves the picture as it was.
bool PixelSweep::sweepBand(PixelKernel& kernel, int r0, int r1, GuessScratch& s)
{
    const int w = geo_.width;
    const size_t area = static_cast<size_t>(w) * static_cast<size_t>(r1 - r0);
    s.values.assign(area, PixelValue{});
    s.known.assign(area, 0);
    s.pending.clear();
    const auto index = [w](int c, int r) { return static_cast<size_t>(r) * w + c; };
    const auto queue = [&](int c, int r) {
        uint8_t& k = s.known[index(c, r)];
        if (k == 0) {
            k = 2;
            s.pending.push_back(index(c, r));
        }
    };
    s.level.assign(1, {0, w - 1, 0, r1 - r0 - 1});
    while (!s.level.empty()) {
        for (const GuessScratch::Rect& q : s.level) {
            for (int c = q.c0; c <= q.c1; ++c) {
                queue(c, q.ra);
                queue(c, q.rb);
            }
            for (int r = q.ra + 1; r < q.rb; ++r) {
                queue(q.c0, r);
                queue(q.c1, r);
            }
        }
        if (!computeQueued(kernel, r0, s))
            return false;
        s.next.clear();
        for (const GuessScratch::Rect& q : s.level) {
            if (q.c1 - q.c0 < 2 || q.rb - q.ra < 2)
                continue; // no inside
            const PixelValue first = s.values[index(q.c0, q.ra)];
            const auto same = [&](int c, int r) {
                const PixelValue& v = s.values[index(c, r)];
                return v.colour == first.colour && v.code == first.code;
            };
            bool uniform = true;
            for (int c = q.c0; c <= q.c1 && uniform; ++c)
                uniform = same(c, q.ra) && same(c, q.rb);
            for (int r = q.ra + 1; r < q.rb && uniform; ++r)
                uniform = same(q.c0, r) && same(q.c1, r);
            if (uniform) {
                for (int r = q.ra + 1; r < q.rb; ++r)
                    for (int c = q.c0 + 1; c < q.c1; ++c) {
                        s.values[index(c, r)] = first;
                        s.known[index(c, r)] = 1;
                    }
            } else if (q.c1 - q.c0 <= 3 && q.rb - q.ra <= 3) {
                for (int r = q.ra + 1; r < q.rb; ++r) // computed with the next level's borders
                    for (int c = q.c0 + 1; c < q.c1; ++c)
                        queue(c, r);
            } else if (q.c1 - q.c0 >= q.rb - q.ra) {
                const int mid = (q.c0 + q.c1) / 2;
                s.next.push_back({q.c0, mid, q.ra, q.rb});
                s.next.push_back({mid, q.c1, q.ra, q.rb});
            } else {
                const int mid = (q.ra + q.rb) / 2;
                s.next.push_back({q.c0, q.c1, q.ra, mid});
                s.next.push_back({q.c0, q.c1, mid, q.rb});
            }
        }
        s.level.swap(s.next);
    }
    if (!computeQueued(kernel, r0, s))
        return false;
    for (int r = r0; r < r1; ++r)
        for (int c = 0; c < w; ++c)
            storePixel(r, c, s.values[static_cast<size_t>(r - r0) * w + c]);
    return true;
}

// Computes the queued pixels of a band that starts at swept row r0. False
// when one was stopped.
bool PixelSweep::computeQueued(PixelKernel& kernel, int r0, GuessScratch& s)
{
    const int w = geo_.width;
    const size_t n = s.pending.size();
    s.points.resize(n);
    s.results.resize(n);
    for (size_t k = 0; k < n; ++k) {
        const int c = static_cast<int>(s.pending[k] % w), r = r0 + static_cast<int>(s.pending[k] / w);
        s.points[k] = {columnX_[static_cast<size_t>(c)], geo_.y0 - r * geo_.pitchY, c, r};
    }
    if (opt_.antiAlias) {
        for (size_t k = 0; k < n; ++k)
            s.results[k] = pixel(kernel, s.points[k].x, s.points[k].y, s.points[k].col, s.points[k].row);
    } else {
        kernel.colourPoints(s.points.data(), static_cast<int>(n), s.results.data());
    }
    for (size_t k = 0; k < n; ++k) {
        if (s.results[k].code == kPixelInterrupted)
            return false;
        s.values[s.pending[k]] = s.results[k];
        s.known[s.pending[k]] = 1;
    }
    s.pending.clear();
    return true;
}

void PixelSweep::takeFinishedRows(std::vector<int>& out)
{
    out.clear();
    if (!rowState_)
        return;
    for (int r = 0; r < rows_; ++r) {
        if (reported_[static_cast<size_t>(r)] || !rowState_[static_cast<size_t>(r)].load(std::memory_order_acquire))
            continue;
        reported_[static_cast<size_t>(r)] = 1;
        out.push_back(r);
        const int mirror = geo_.height - 1 - r;
        if (opt_.symmetry != SymmetryNone && mirror != r)
            out.push_back(mirror);
    }
}

int PixelSweep::wait()
{
    if (tasks_ == 0)
        return -1;
    {
        std::unique_lock lock(doneMutex_);
        allDone_.wait(lock, [this] { return active_.load(std::memory_order_acquire) == 0; });
    }
    tasks_ = 0;
    return (stop_.load() && done_.load() < rows_) ? kSweepInterrupted : 0;
}

int runSweep(Image& image, std::vector<int32_t>* codes, const SweepGeometry& geometry, const SweepOptions& options,
             const PixelKernel& prototype)
{
    PixelSweep sweep;
    if (const int e = sweep.start(image, codes, geometry, options, prototype))
        return e;
    return sweep.wait();
}

} // namespace qx
