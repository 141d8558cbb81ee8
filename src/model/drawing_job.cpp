#include "model/drawing_job.h"

#include "model/worker_pool.h"

#include <utility>

namespace qx {

void DrawingOutput::add(DotBatch batch)
{
    if (batch.points.empty())
        return;
    std::lock_guard lock(mutex_);
    batches_.push_back(std::move(batch));
}

void DrawingOutput::setProgress(long long done, long long total)
{
    std::lock_guard lock(mutex_);
    done_ = done;
    total_ = total;
}

std::vector<DotBatch> DrawingOutput::take()
{
    std::lock_guard lock(mutex_);
    return std::exchange(batches_, {});
}

std::pair<long long, long long> DrawingOutput::progress() const
{
    std::lock_guard lock(mutex_);
    return {done_, total_};
}

JobRunner::~JobRunner()
{
    interrupt();
    wait();
}

void JobRunner::start(std::unique_ptr<DrawingJob> job)
{
    wait(); // a caller that did not wait for the previous job
    job_ = std::move(job);
    stop_.store(false);
    finished_.store(false);
    out_.take();
    out_.setProgress(0, 0);
    WorkerPool::shared().submit([this, job = job_.get()] {
        const int status = job->run(out_, stop_);
        std::lock_guard lock(mutex_);
        status_ = status;
        finished_.store(true, std::memory_order_release);
        done_.notify_all();
    });
}

int JobRunner::wait()
{
    if (!job_)
        return -1;
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return finished_.load(std::memory_order_acquire); });
    }
    job_.reset();
    return status_;
}

} // namespace qx
