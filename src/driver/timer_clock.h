// The clock sources the frame timer reads: a high-resolution counter with its frequency, and a
// millisecond clock as the fallback. The system implementation reads std::chrono::steady_clock for the
// counter and the monotonic clock in whole milliseconds (wrapping at 2^32) for the fallback; tests
// substitute their own to drive the timer through exact readings.
#pragma once

#include <cstdint>

class TimerClock {
public:
    virtual ~TimerClock() = default;
    // Counts per second of the high-resolution counter; false when there is no such counter.
    virtual bool performance_frequency(std::int64_t* frequency) = 0;
    virtual std::int64_t performance_counter() = 0;
    // Milliseconds since an arbitrary start, as an unsigned 32-bit value.
    virtual std::uint32_t milliseconds() = 0;
};

// The machine's clocks. One program-wide instance.
TimerClock& system_timer_clock();
