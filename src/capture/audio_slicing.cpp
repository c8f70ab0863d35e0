#include "capture/audio_slicing.h"

#include <cmath>

std::int64_t audio_samples_before_frame(std::int64_t n, std::int64_t sample_rate, FrameRate fps)
{
    if (n <= 0 || !fps.valid() || sample_rate < 1 || sample_rate > kFrameRateLimit) return 0;
    // floor(n·A/p) with A = R·q, split as n = k·p + r so that no product leaves 64 bits: k·A is the
    // whole seconds' worth, r·A < p·R·q <= 10^18.
    const std::int64_t a = sample_rate * fps.den;
    const std::int64_t k = n / fps.num;
    const std::int64_t r = n % fps.num;
    return k * a + r * a / fps.num;
}

std::int64_t audio_samples_of_frame(std::int64_t n, std::int64_t sample_rate, FrameRate fps)
{
    if (n < 0) return 0;
    return audio_samples_before_frame(n + 1, sample_rate, fps) - audio_samples_before_frame(n, sample_rate, fps);
}

std::int64_t video_frame_count(double seconds, FrameRate fps)
{
    if (!std::isfinite(seconds) || seconds <= 0 || !fps.valid()) return 0;
    const double frames = std::floor(seconds * static_cast<double>(fps.num) / static_cast<double>(fps.den) + 0.5);
    if (frames >= 9.0e18) return 0;
    return static_cast<std::int64_t>(frames);
}
