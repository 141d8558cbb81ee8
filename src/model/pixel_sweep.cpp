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
    n = std::clamp(n, 1, rows);
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

void PixelSweep::work(std::unique_ptr<PixelKernel> kernel)
{
    kernel->setStopFlag(&stop_);
    // The interrupt flag is looked at between rows: a row once begun is finished.
    while (!stop_.load(std::memory_order_relaxed)) {
        const int r = next_.fetch_add(1, std::memory_order_relaxed);
        if (r >= rows_)
            break;
        if (!sweepRow(*kernel, r))
            break; // stopped inside the row: it is not done
        rowState_[static_cast<size_t>(r)].store(1, std::memory_order_release);
        done_.fetch_add(1, std::memory_order_release);
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

// Hot loop: one picture row (and its mirror row under symmetry). Rows are
// disjoint between workers, so no pixel is written by two threads. False
// when a pixel was stopped: the rest of the row keeps what it had.
bool PixelSweep::sweepRow(PixelKernel& kernel, int r)
{
    const int w = geo_.width;
    const int mirror = geo_.height - 1 - r;
    Rgb* row = image_->row(r);
    Rgb* mrow = image_->row(mirror);
    int32_t* codes = codes_ ? codes_->data() + static_cast<size_t>(r) * w : nullptr;
    int32_t* mcodes = codes_ ? codes_->data() + static_cast<size_t>(mirror) * w : nullptr;
    const Real y = geo_.y0 - r * geo_.pitchY;
    for (int c = 0; c < w; ++c) {
        const PixelValue v = pixel(kernel, columnX_[static_cast<size_t>(c)], y, c, r);
        if (v.code == kPixelInterrupted)
            return false;
        const Rgb stored = v.colour | kOpaque;
        row[c] = stored;
        if (codes)
            codes[c] = v.code;
        if (opt_.symmetry == SymmetryNone)
            continue;
        const int mc = opt_.symmetry == SymmetryMirror ? c : w - 1 - c;
        mrow[mc] = stored;
        if (mcodes)
            mcodes[mc] = v.code;
    }
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
