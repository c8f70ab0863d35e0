// Measures real time for the frame loop. Once per frame the driver ticks it and takes the seconds since
// the previous tick (frame_delta); that raw delta, unclamped and unsmoothed, advances the demo time.
// It reads the high-resolution counter when the machine has one and the millisecond clock otherwise.
#pragma once

#include <cstdint>

#include "driver/timer_clock.h"

class FrameTimer {
public:
    enum class ClockReading { none, performance_counter, milliseconds };

    // clock: where readings come from; null means the machine's clocks.
    explicit FrameTimer(TimerClock* clock = nullptr);
    ~FrameTimer();
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    // Chooses the clock and records the start. Called once, right before the first frame.
    void timer_start();
    // Takes a reading and updates elapsed, delta and previous_elapsed.
    void timer_tick();
    // timer_tick, then the seconds since the previous tick.
    float frame_delta();

    ClockReading read_clock = ClockReading::none;
    float start_offset = 0.0f;
    float previous_elapsed = 0.0f;
    float seconds_per_count = 0.0f;
    float elapsed = 0.0f;
    float delta = 0.0f;
    std::int64_t start_count = 0;
    std::int64_t current_count = 0;

private:
    double read_seconds();

    TimerClock* clock_;
};
