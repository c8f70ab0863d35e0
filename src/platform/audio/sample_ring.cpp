#include "platform/audio/sample_ring.h"

#include <algorithm>

SampleRing::SampleRing(std::size_t frames) : samples_(frames * 2), capacity_(frames) {}

std::size_t SampleRing::queued_frames() const {
    return write_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire);
}

std::size_t SampleRing::free_frames() const { return capacity_ - queued_frames(); }

std::size_t SampleRing::push(const std::int16_t* in, std::size_t frames) {
    const std::size_t write = write_.load(std::memory_order_relaxed);
    const std::size_t read = read_.load(std::memory_order_acquire);
    const std::size_t n = std::min(frames, capacity_ - (write - read));
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = (write + i) % capacity_;
        samples_[at * 2] = in[i * 2];
        samples_[at * 2 + 1] = in[i * 2 + 1];
    }
    write_.store(write + n, std::memory_order_release);
    return n;
}

std::size_t SampleRing::pop_add(std::int32_t* mix, std::size_t frames) {
    const std::size_t read = read_.load(std::memory_order_relaxed);
    const std::size_t write = write_.load(std::memory_order_acquire);
    const std::size_t n = std::min(frames, write - read);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = (read + i) % capacity_;
        mix[i * 2] += samples_[at * 2];
        mix[i * 2 + 1] += samples_[at * 2 + 1];
    }
    read_.store(read + n, std::memory_order_release);
    return n;
}
