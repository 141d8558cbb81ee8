// The program's worker pool: tasks run on threads that outlive them, a task
// never waits behind another window's long one, and closing runs what is queued.
#include "model/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace qx;

namespace {

bool waitFor(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

} // namespace

TEST(WorkerPool, ThreadsAreKeptAndReused)
{
    WorkerPool pool(2);
    std::atomic<int> ran{0};
    for (int round = 0; round < 3; ++round) {
        pool.submit([&] { ++ran; });
        ASSERT_TRUE(waitFor([&] { return ran.load() == round + 1; }));
    }
    EXPECT_EQ(pool.threads(), 2); // one task at a time never needs a new thread
}

TEST(WorkerPool, ALongTaskNeverHoldsUpANewOne)
{
    WorkerPool pool(1);
    std::atomic<bool> release{false}, longStarted{false}, shortRan{false};
    pool.submit([&] {
        longStarted = true;
        while (!release)
            std::this_thread::yield();
    });
    ASSERT_TRUE(waitFor([&] { return longStarted.load(); }));
    pool.submit([&] { shortRan = true; });
    EXPECT_TRUE(waitFor([&] { return shortRan.load(); })); // ran beside the long one
    EXPECT_EQ(pool.threads(), 2);
    release = true;
}

TEST(WorkerPool, ClosingRunsWhatIsQueued)
{
    std::atomic<int> ran{0};
    {
        WorkerPool pool(1);
        for (int i = 0; i < 50; ++i)
            pool.submit([&] { ++ran; });
    }
    EXPECT_EQ(ran.load(), 50);
}
