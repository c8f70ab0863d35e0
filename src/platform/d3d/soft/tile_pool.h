// The worker threads of the software backend. run() hands out jobs 0..count−1 (tiles of the target) to
// the calling thread and the workers through one atomic counter and returns when all are done. Jobs
// touch disjoint pixels and each runs its triangles in submission order, so the image does not depend
// on how many threads there are or which one ran which tile.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace soft {

class TilePool {
public:
    using JobFn = void (*)(void* context, unsigned job);

    // threads counts the calling thread; 1 runs everything on the caller.
    explicit TilePool(unsigned threads);
    ~TilePool();
    TilePool(const TilePool&) = delete;
    TilePool& operator=(const TilePool&) = delete;

    unsigned threads() const { return static_cast<unsigned>(workers_.size()) + 1; }
    void run(unsigned count, JobFn fn, void* context);

private:
    void worker_main();
    void drain(JobFn fn, void* context, unsigned count);

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::uint64_t generation_ = 0;
    bool stop_ = false;
    // The batch being run.
    JobFn fn_ = nullptr;
    void* context_ = nullptr;
    unsigned count_ = 0;
    std::atomic<unsigned> next_{0};
    std::atomic<unsigned> finished_{0};
    unsigned busy_workers_ = 0;
};

// The default thread count: VIRELINE_SOFT_THREADS if set (1..64), else the machine's cores (at most 16).
unsigned tile_pool_default_threads();

}  // namespace soft
