// The hand-over between the thread that renders and the thread that encodes: a bounded queue of a few
// frames with their sound. The producer blocks while it is full (so a slow encoder slows the capture
// instead of eating memory, and no frame is ever dropped); the consumer blocks while it is empty. Closing
// lets the consumer take what is left and then see the end; failing (the encoder gave up) makes every
// later push return false at once, so the producer never waits on a consumer that has stopped. The
// pictures of jobs already encoded come back as spares, so steady capture allocates no frame memory.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "capture/frame_image.h"

struct EncodeJob {
    std::int64_t index = 0;
    FrameImage frame;
    std::vector<std::int16_t> samples;  // interleaved stereo
};

class EncodeQueue {
public:
    explicit EncodeQueue(std::size_t capacity);

    // Waits for room; false (and the job untouched) once the queue is closed or failed.
    bool push(EncodeJob&& job);
    // Waits for a job; nothing once the queue is closed and empty, or failed.
    std::optional<EncodeJob> pop();
    void close();
    void fail();
    bool failed() const;
    std::size_t size() const;

    // A job whose buffers the consumer is done with; the producer takes it back with take_spare.
    void give_spare(EncodeJob&& job);
    EncodeJob take_spare();

private:
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable room_;
    std::condition_variable work_;
    std::deque<EncodeJob> jobs_;
    std::vector<EncodeJob> spares_;
    bool closed_ = false;
    bool failed_ = false;
};
