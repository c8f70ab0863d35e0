// The clock the demo's frame timer reads on Linux when a run asks for reproducible time. It reports a
// counter of frequency q. While virtual, the counter stands still except that every frame the demo
// presents advances it by p counts, as a capture tool's clock does: a frame delta is then exactly the
// time of the frames presented in the pass before (a pass that presents nothing adds none), runs are
// reproducible and video time equals demo time. go_real switches it to real time from where it stands
// (for a fast-forward to a start part without a fixed step). The timer's own arithmetic reads it
// unchanged.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "driver/timer_clock.h"

// A step of p/q seconds, both positive.
struct FixedStep {
    std::int64_t p = 1;
    std::int64_t q = 60;
    double seconds() const { return static_cast<double>(p) / static_cast<double>(q); }
};

// "S" (seconds, a decimal such as 0.02) or "p/q" (such as 1/60 or 1001/60000); false for anything else,
// zero, or a step above 60 s.
bool fixed_step_parse(const std::string& text, FixedStep* step);

class DemoClock final : public TimerClock {
public:
    explicit DemoClock(FixedStep step) : step_(step) {}

    bool performance_frequency(std::int64_t* frequency) override;
    std::int64_t performance_counter() override;
    std::uint32_t milliseconds() override;

    // One frame presented: p counts further (virtual only).
    void frame_presented();
    // From now on the counter follows real time at q counts per second, from its current value.
    void go_real();
    bool is_virtual() const { return !real_; }
    const FixedStep& step() const { return step_; }

private:
    FixedStep step_;
    std::int64_t count_ = 0;
    bool real_ = false;
    std::chrono::steady_clock::time_point real_since_{};
};
