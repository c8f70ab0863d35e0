#include "driver/timer_clock.h"

#include <chrono>
#include <ratio>

namespace {
class SteadyTimerClock final : public TimerClock {
public:
    bool performance_frequency(std::int64_t* frequency) override {
        using Period = std::chrono::steady_clock::period;
        static_assert(Period::num == 1, "the steady clock must count whole fractions of a second");
        *frequency = static_cast<std::int64_t>(Period::den);
        return true;
    }
    std::int64_t performance_counter() override {
        return static_cast<std::int64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    std::uint32_t milliseconds() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
};
}  // namespace

TimerClock& system_timer_clock() {
    static SteadyTimerClock clock;
    return clock;
}
