#include "limiter.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace soundtrack {

std::vector<float> limiter_frame_peaks(const Stereo& audio) {
    const std::size_t n = audio.frames();
    std::vector<float> peaks(n);
    for (std::size_t i = 0; i < n; ++i)
        peaks[i] = std::max(true_peak_at(audio.left.data(), n, i), true_peak_at(audio.right.data(), n, i));
    return peaks;
}

void limiter_apply_looped(Stereo& audio, const std::vector<float>& peaks, float gain, float ceiling, int rate) {
    const std::size_t n = audio.frames();
    if (n == 0 || peaks.size() != n) return;
    Stereo input = audio;
    const std::size_t look = static_cast<std::size_t>(rate) * 3 / 1000;
    const float release = 1.0f - std::exp(-1.0f / (0.15f * static_cast<float>(rate)));
    std::deque<std::pair<std::size_t, float>> minima;   // sliding minimum of the needed gain
    std::vector<float> recent(2 * look + 1, 1.0f);         // released gains, for the smoothing average
    double recent_sum = static_cast<double>(recent.size());
    float released = 1.0f;
    // Two laps round the loop: the first settles the gain, the second writes the result.
    const std::size_t total = 2 * n + 2 * look;
    for (std::size_t v = 0; v < total; ++v) {
        const std::size_t x = v % n;
        const float peak = peaks[x] * gain;
        const float need = peak > ceiling ? ceiling / peak : 1.0f;
        while (!minima.empty() && minima.back().second >= need) minima.pop_back();
        minima.emplace_back(v, need);
        while (minima.front().first + 2 * look < v) minima.pop_front();
        if (v < 2 * look) continue;
        // Centre c = v - look: the smallest need within look samples either side.
        const float held = minima.front().second;
        released = std::min(held, released + (1.0f - released) * release);
        const std::size_t slot = v % recent.size();
        recent_sum += released - recent[slot];
        recent[slot] = released;
        // The average over the 2·look + 1 released gains centred look samples further back.
        const std::size_t out = v - 2 * look;
        if (out >= n && out < 2 * n) {
            const float g = static_cast<float>(recent_sum / static_cast<double>(recent.size()));
            const std::size_t i = out - n;
            audio.left[i] = input.left[i] * gain * g;
            audio.right[i] = input.right[i] * gain * g;
        }
    }
}

}  // namespace soundtrack
