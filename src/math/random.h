// The program-wide pseudo-random generator. It is never seeded: the state starts at 1, each draw
// sets state ← state × 214013 + 2531011 (mod 2^32) and returns (state >> 16) & 0x7FFF, so every run
// makes the same choices in the same call order.
#pragma once

#include <cstdint>

constexpr int RANDOM_MAX = 0x7FFF;

// Next value in 0..32767 from the program-wide state.
int random_next();

// Puts the program-wide state back to its start (for tests and for a capture that restarts the demo).
void random_reset();

// The generator as a value, for code that wants its own sequence with the same recurrence.
class RandomGenerator {
public:
    explicit constexpr RandomGenerator(std::uint32_t state = 1) : state_(state) {}
    constexpr int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }
    constexpr std::uint32_t state() const { return state_; }

private:
    std::uint32_t state_;
};
