// The frame rate of a capture as an exact fraction of frames per second (60, 50, 30, 60000/1001): the
// video's time base is its inverse, so frame n is stamped n exactly and the sound that belongs to each
// frame is counted without rounding drift. Parsed from the text a user types ("60", "60000/1001").
#pragma once

#include <cstdint>
#include <string>

struct FrameRate {
    std::int64_t num = 60;  // frames ...
    std::int64_t den = 1;   // ... per den seconds

    // Both parts between 1 and kFrameRateLimit: the range in which every count of this module is
    // exact in 64-bit arithmetic.
    bool valid() const;
    double fps() const { return static_cast<double>(num) / static_cast<double>(den); }
    std::string text() const;  // "60" or "60000/1001"
};

inline constexpr std::int64_t kFrameRateLimit = 1000000;

// "N" or "N/D" with positive whole numbers inside the limit; false with a reason otherwise.
bool frame_rate_parse(const std::string& text, FrameRate* rate, std::string* error = nullptr);
