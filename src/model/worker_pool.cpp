#include "model/worker_pool.h"

#include <algorithm>

namespace qx {

WorkerPool::WorkerPool(int threads)
{
    const int n = threads > 0 ? threads : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    std::lock_guard lock(mutex_);
    for (int i = 0; i < n; ++i)
        threads_.emplace_back(&WorkerPool::loop, this);
    idle_ = n;
}

WorkerPool::~WorkerPool()
{
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    wake_.notify_all();
    for (auto& t : threads_)
        t.join();
}

WorkerPool& WorkerPool::shared()
{
    static WorkerPool pool;
    return pool;
}

void WorkerPool::submit(std::function<void()> task)
{
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(task));
        // Every idle thread may already be promised to a queued task.
        if (idle_ < static_cast<int>(queue_.size()) && static_cast<int>(threads_.size()) < kMaxThreads) {
            threads_.emplace_back(&WorkerPool::loop, this);
            ++idle_;
        }
    }
    wake_.notify_one();
}

int WorkerPool::threads()
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(threads_.size());
}

void WorkerPool::loop()
{
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return closing_ || !queue_.empty(); });
            if (queue_.empty())
                return; // closing, and nothing left to run
            task = std::move(queue_.front());
            queue_.pop_front();
            --idle_;
        }
        task();
        std::lock_guard lock(mutex_);
        ++idle_;
    }
}

} // namespace qx
