#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "driver/frame_timer.h"

namespace {
// A clock the test sets by hand. With has_counter false the timer must fall back to milliseconds.
class ManualClock final : public TimerClock {
public:
    bool has_counter = true;
    std::int64_t frequency = 10'000'000;
    std::int64_t counter = 0;
    std::uint32_t millis = 0;
    int counter_reads = 0;

    bool performance_frequency(std::int64_t* f) override {
        *f = has_counter ? frequency : 0;
        return has_counter;
    }
    std::int64_t performance_counter() override {
        ++counter_reads;
        return counter;
    }
    std::uint32_t milliseconds() override { return millis; }
};
}  // namespace

TEST(FrameTimer, ConstructsZeroedAndFirstDeltaIsTheWholeTimeSinceStart) {
    ManualClock clock;
    clock.counter = 123'456'789;
    FrameTimer timer(&clock);
    EXPECT_EQ(timer.read_clock, FrameTimer::ClockReading::none);
    EXPECT_EQ(timer.elapsed, 0.0f);
    EXPECT_EQ(timer.delta, 0.0f);

    timer.timer_start();
    EXPECT_EQ(timer.read_clock, FrameTimer::ClockReading::performance_counter);
    EXPECT_EQ(timer.start_count, 123'456'789);
    EXPECT_FLOAT_EQ(timer.seconds_per_count, 1e-7f);

    clock.counter += 25'000'000;  // 2.5 s
    EXPECT_FLOAT_EQ(timer.frame_delta(), 2.5f);
    EXPECT_EQ(timer.current_count, clock.counter);
    clock.counter += 166'667;  // ~1/60 s
    EXPECT_NEAR(timer.frame_delta(), 0.0166667f, 1e-6f);
    EXPECT_NEAR(timer.elapsed, 2.5166667f, 1e-6f);
    EXPECT_EQ(timer.previous_elapsed, timer.elapsed);
}

TEST(FrameTimer, MillisecondFallbackGivesZeroThenTheWholeMillisecond) {
    ManualClock clock;
    clock.has_counter = false;
    clock.millis = 4'000'000'000u;  // high in the unsigned range: widened, never negative
    FrameTimer timer(&clock);
    timer.timer_start();
    EXPECT_EQ(timer.read_clock, FrameTimer::ClockReading::milliseconds);
    EXPECT_EQ(timer.start_count, 4'000'000'000LL);
    EXPECT_FLOAT_EQ(timer.seconds_per_count, 0.001f);

    EXPECT_EQ(timer.frame_delta(), 0.0f);  // a frame shorter than the clock's resolution
    clock.millis += 1;
    EXPECT_FLOAT_EQ(timer.frame_delta(), 0.001f);
    EXPECT_EQ(clock.counter_reads, 0);
}

TEST(FrameTimer, StallsAreNotClampedAndBackwardsReadingsGoNegative) {
    ManualClock clock;
    FrameTimer timer(&clock);
    timer.timer_start();
    clock.counter = 10 * clock.frequency;  // a ten-second stall
    EXPECT_FLOAT_EQ(timer.frame_delta(), 10.0f);
    clock.counter -= clock.frequency / 2;  // the counter steps back half a second
    EXPECT_FLOAT_EQ(timer.frame_delta(), -0.5f);
    EXPECT_FLOAT_EQ(timer.elapsed, 9.5f);
}

TEST(FrameTimer, KeepsSubMillisecondResolutionAfterAnHour) {
    ManualClock clock;
    FrameTimer timer(&clock);
    timer.timer_start();
    clock.counter = 3600LL * clock.frequency;
    timer.frame_delta();
    clock.counter += clock.frequency / 2000;  // 0.5 ms
    const float delta = timer.frame_delta();
    EXPECT_GT(delta, 0.0f);
    EXPECT_NEAR(delta, 0.0005f, 0.0003f);  // float spacing at 3600 s is about 0.24 ms
}

TEST(FrameTimer, SystemClockAdvances) {
    FrameTimer timer;
    timer.timer_start();
    EXPECT_EQ(timer.read_clock, FrameTimer::ClockReading::performance_counter);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const float first = timer.frame_delta();
    EXPECT_GE(first, 0.004f);
    EXPECT_LT(first, 5.0f);
}
