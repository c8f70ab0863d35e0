#include "driver/frame_timer.h"

FrameTimer::FrameTimer(TimerClock* clock) : clock_(clock != nullptr ? clock : &system_timer_clock()) {}

FrameTimer::~FrameTimer() { read_clock = ClockReading::none; }

void FrameTimer::timer_start() {
    std::int64_t frequency = 0;
    if (clock_->performance_frequency(&frequency) && frequency != 0) {
        start_count = clock_->performance_counter();
        seconds_per_count = 1.0f / static_cast<float>(frequency);
        read_clock = ClockReading::performance_counter;
    } else {
        start_count = static_cast<std::int64_t>(clock_->milliseconds());
        seconds_per_count = 0.001f;
        read_clock = ClockReading::milliseconds;
    }
}

double FrameTimer::read_seconds() {
    switch (read_clock) {
        case ClockReading::performance_counter:
            current_count = clock_->performance_counter();
            return static_cast<double>(current_count - start_count) * static_cast<double>(seconds_per_count);
        case ClockReading::milliseconds: {
            const auto now = static_cast<std::int64_t>(clock_->milliseconds());
            return static_cast<double>(now - start_count) * static_cast<double>(seconds_per_count);
        }
        case ClockReading::none:
            return 0.0;  // not started: nothing has elapsed
    }
    return 0.0;
}

void FrameTimer::timer_tick() {
    const double x = read_seconds() - static_cast<double>(start_offset);
    elapsed = static_cast<float>(x);
    delta = static_cast<float>(x - static_cast<double>(previous_elapsed));
    previous_elapsed = static_cast<float>(x);
}

float FrameTimer::frame_delta() {
    timer_tick();
    return delta;
}
