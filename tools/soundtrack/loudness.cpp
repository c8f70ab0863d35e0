#include "loudness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace soundtrack {
namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0, z2 = 0;
    double run(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The two K-weighting stages for any rate (the constants give the standard 48 kHz filter exactly).
std::array<Biquad, 2> k_weighting(int rate) {
    const double pi = std::numbers::pi;
    double f0 = 1681.974450955533, gain_db = 3.999843853973347, q = 0.7071752369554196;
    double k = std::tan(pi * f0 / rate);
    const double vh = std::pow(10.0, gain_db / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    Biquad shelf{(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
                 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    f0 = 38.13547087602444;
    q = 0.5003270373238773;
    k = std::tan(pi * f0 / rate);
    a0 = 1.0 + k / q + k * k;
    Biquad high_pass{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    return {shelf, high_pass};
}

// Windowed-sinc phases for the points 1/4, 2/4 and 3/4 between two samples (8 taps each).
struct Oversampler {
    std::array<std::array<float, 8>, 3> taps{};
    Oversampler() {
        for (int phase = 0; phase < 3; ++phase) {
            const double offset = (phase + 1) / 4.0;
            double sum = 0;
            for (int t = 0; t < 8; ++t) {
                const double x = (t - 3) - offset;  // taps at samples at-3 .. at+4
                const double sinc = std::abs(x) < 1e-9 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
                const double window = 0.5 + 0.5 * std::cos(std::numbers::pi * x / 4.5);
                taps[phase][t] = static_cast<float>(sinc * window);
                sum += sinc * window;
            }
            for (float& tap : taps[phase]) tap = static_cast<float>(tap / sum);
        }
    }
};

const Oversampler& oversampler() {
    static const Oversampler o;
    return o;
}

}  // namespace

double loudness_integrated(const Stereo& audio, int rate) {
    const std::size_t frames = audio.frames();
    const std::size_t hop = static_cast<std::size_t>(rate / 10);
    std::vector<double> hop_energy((frames + hop - 1) / hop, 0.0);
    for (const std::vector<float>* channel : {&audio.left, &audio.right}) {
        std::array<Biquad, 2> k = k_weighting(rate);
        for (std::size_t i = 0; i < frames; ++i) {
            const double y = k[1].run(k[0].run((*channel)[i]));
            hop_energy[i / hop] += y * y;
        }
    }
    std::vector<double> blocks;  // mean square of each 400 ms block, channels summed
    for (std::size_t h = 0; h + 4 <= hop_energy.size(); ++h)
        blocks.push_back((hop_energy[h] + hop_energy[h + 1] + hop_energy[h + 2] + hop_energy[h + 3]) /
                         static_cast<double>(4 * hop));
    auto loudness_of = [](double energy) { return -0.691 + 10.0 * std::log10(std::max(energy, 1e-12)); };
    auto gated_mean = [&](double gate) {
        double sum = 0;
        std::size_t count = 0;
        for (const double b : blocks)
            if (loudness_of(b) > gate) {
                sum += b;
                ++count;
            }
        return count ? sum / static_cast<double>(count) : 0.0;
    };
    const double absolute = gated_mean(-70.0);
    if (absolute <= 0) return -70.0;
    return loudness_of(gated_mean(loudness_of(absolute) - 10.0));
}

float true_peak_at(const float* s, std::size_t count, std::size_t at) {
    float peak = std::abs(s[at]);
    if (at < 3 || at + 4 >= count) return peak;
    for (const auto& taps : oversampler().taps) {
        float v = 0;
        for (int t = 0; t < 8; ++t) v += taps[static_cast<std::size_t>(t)] * s[at - 3 + static_cast<std::size_t>(t)];
        peak = std::max(peak, std::abs(v));
    }
    return peak;
}

float loudness_true_peak(const Stereo& audio) {
    float peak = 0;
    for (const std::vector<float>* channel : {&audio.left, &audio.right})
        for (std::size_t i = 0; i < channel->size(); ++i) peak = std::max(peak, true_peak_at(channel->data(), channel->size(), i));
    return peak;
}

double loudness_longest_silence(const Stereo& audio, int rate) {
    const std::size_t window = static_cast<std::size_t>(rate / 20);
    const double threshold = std::pow(10.0, -60.0 / 10.0);  // mean square of -60 dBFS
    std::size_t run = 0, longest = 0;
    for (std::size_t w = 0; w + window <= audio.frames(); w += window) {
        double energy = 0;
        for (std::size_t i = w; i < w + window; ++i)
            energy += 0.5 * (audio.left[i] * audio.left[i] + audio.right[i] * audio.right[i]);
        run = energy / static_cast<double>(window) < threshold ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return static_cast<double>(longest * window) / rate;
}

}  // namespace soundtrack
