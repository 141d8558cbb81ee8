#pragma once
// The program's worker threads: one pool, made at first use and kept for the
// program's life, so a render does not pay for starting threads. A task
// starts at once on an idle thread; when none is idle the pool grows by one
// thread (up to kMaxThreads, then tasks wait in the queue), so the work of one
// window never waits behind another window's long render. Tasks never wait
// for one another.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qx {

class WorkerPool {
public:
    static constexpr int kMaxThreads = 256;
    // `threads` workers to begin with; 0 = one per core.
    explicit WorkerPool(int threads = 0);
    ~WorkerPool(); // runs what is queued, then joins
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // The pool every window and the batch program share.
    static WorkerPool& shared();

    void submit(std::function<void()> task);
    int threads();

private:
    void loop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    bool closing_ = false;
    int idle_ = 0; // threads not running a task
    std::vector<std::thread> threads_;
};

} // namespace qx
