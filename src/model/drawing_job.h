#pragma once
// Long vector drawing (inverse iteration now; later bifurcation columns, IFS
// points, cobweb steps, curves, box counts) runs as a drawing job: off the
// user-interface thread, in chunks, stopped by an atomic flag. The job hands
// batches of points to the window, which draws them on its figure on the
// user-interface thread as they arrive (DrawingOutput is the only state the
// two threads share, under a lock).
#include "base/numeric.h"
#include "graphics/view.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace qx {

// Points in one palette colour, drawn as one-pixel dots.
struct DotBatch {
    std::vector<WorldPoint> points;
    int colour = 1;
    std::vector<int16_t> colours; // per point when not empty (else `colour` for all)
};

class DrawingOutput {
public:
    // Worker side.
    void add(DotBatch batch);
    // `done` of `total` steps (total 0: no known end).
    void setProgress(long long done, long long total);
    // User-interface side: the batches since the last call, in order.
    std::vector<DotBatch> take();
    std::pair<long long, long long> progress() const;

private:
    mutable std::mutex mutex_;
    std::vector<DotBatch> batches_;
    long long done_ = 0, total_ = 0;
};

class DrawingJob {
public:
    virtual ~DrawingJob() = default;
    // Runs on a worker until the work is done (0) or `stop` is raised (81,
    // looked at between chunks), handing its points to `out` as it goes.
    virtual int run(DrawingOutput& out, const std::atomic<bool>& stop) = 0;
};

// One job at a time, run on the program's worker pool.
class JobRunner {
public:
    JobRunner() = default;
    ~JobRunner(); // stops and waits
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    void start(std::unique_ptr<DrawingJob> job);
    void interrupt() { stop_.store(true); }
    bool running() const { return job_ != nullptr; }
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    // Waits for the job to end and releases it: its status, or -1 when none ran.
    int wait();
    DrawingOutput& output() { return out_; }

private:
    std::unique_ptr<DrawingJob> job_;
    DrawingOutput out_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    int status_ = 0;
    std::mutex mutex_;
    std::condition_variable done_;
};

} // namespace qx
