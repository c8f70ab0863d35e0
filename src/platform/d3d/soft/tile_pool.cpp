#include "platform/d3d/soft/tile_pool.h"

#include <cstdlib>

namespace soft {

unsigned tile_pool_default_threads()
{
    if (const char* env = std::getenv("VIRELINE_SOFT_THREADS")) {
        const long n = std::strtol(env, nullptr, 10);
        if (n >= 1 && n <= 64) return static_cast<unsigned>(n);
    }
    const unsigned cores = std::thread::hardware_concurrency();
    if (cores == 0) return 1;
    return cores > 16 ? 16 : cores;
}

TilePool::TilePool(unsigned threads)
{
    if (threads == 0) threads = 1;
    for (unsigned i = 1; i < threads; ++i) workers_.emplace_back([this] { worker_main(); });
}

TilePool::~TilePool()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : workers_) t.join();
}

void TilePool::drain(JobFn fn, void* context, unsigned count)
{
    if (count == 0) return;
    for (;;) {
        const unsigned job = next_.fetch_add(1, std::memory_order_relaxed);
        if (job >= count) return;
        fn(context, job);
        finished_.fetch_add(1, std::memory_order_release);
    }
}

void TilePool::worker_main()
{
    std::uint64_t seen = 0;
    for (;;) {
        JobFn fn;
        void* context;
        unsigned count;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
            if (stop_) return;
            seen = generation_;
            fn = fn_;
            context = context_;
            count = count_;  // 0 once the batch has been completed: nothing to take
            ++busy_workers_;
        }
        drain(fn, context, count);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            --busy_workers_;
        }
        done_.notify_all();
    }
}

void TilePool::run(unsigned count, JobFn fn, void* context)
{
    if (count == 0) return;
    if (workers_.empty() || count == 1) {
        for (unsigned i = 0; i < count; ++i) fn(context, i);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fn_ = fn;
        context_ = context;
        count_ = count;
        next_.store(0, std::memory_order_relaxed);
        finished_.store(0, std::memory_order_relaxed);
        ++generation_;
    }
    wake_.notify_all();
    drain(fn, context, count);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return finished_.load(std::memory_order_acquire) == count && busy_workers_ == 0; });
    count_ = 0;  // late wakers find nothing to do
}

}  // namespace soft
