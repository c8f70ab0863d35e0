// A fixed-size ring of stereo frames between one writer (the decoder thread) and one reader (the
// output callback), without locks: each side only moves its own index. The reader never waits; when
// the ring runs dry it simply gets fewer frames.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

class SampleRing {
public:
    explicit SampleRing(std::size_t frames);

    std::size_t free_frames() const;
    std::size_t queued_frames() const;
    // Copies as many of frames frames as fit; returns how many.
    std::size_t push(const std::int16_t* in, std::size_t frames);
    // Adds up to frames queued frames onto mix (one int sum per sample); returns how many.
    std::size_t pop_add(std::int32_t* mix, std::size_t frames);

private:
    std::vector<std::int16_t> samples_;
    std::size_t capacity_;  // frames
    std::atomic<std::size_t> write_{0};  // frames written in all, only the writer stores it
    std::atomic<std::size_t> read_{0};   // frames read in all, only the reader stores it
};
