#include "effects.h"

#include <cmath>
#include <numbers>

#include "timeline.h"

namespace soundtrack {

float Pump::gain(std::int64_t at) {
    while (next_ < kicks_.size() && kicks_[next_] <= at) ++next_;
    if (next_ == 0) return 1.0f;
    const std::int64_t since = at - kicks_[next_ - 1];
    if (since > kBeat) return 1.0f;
    // Down to 0.5 within 5 ms, back along a smooth curve by the next beat.
    const float t = static_cast<float>(since) / static_cast<float>(kBeat);
    const float attack = std::min(1.0f, static_cast<float>(since) / 220.0f);
    const float depth = 0.5f * attack * (1.0f - t) * (1.0f - t);
    return 1.0f - depth;
}

HighPass::HighPass(float corner) {
    const float rc = 1.0f / (2.0f * std::numbers::pi_v<float> * corner);
    const float dt = 1.0f / static_cast<float>(kRate);
    a_ = rc / (rc + dt);
}

float HighPass::run(float x) {
    previous_out_ = a_ * (previous_out_ + x - previous_in_);
    previous_in_ = x;
    return previous_out_;
}

Echo::Echo(std::int64_t delay, float feedback, float mix)
    : left_line_(static_cast<std::size_t>(delay), 0.0f),
      right_line_(static_cast<std::size_t>(delay), 0.0f),
      feedback_(feedback),
      mix_(mix) {}

void Echo::process(float* left, float* right) {
    const float out_l = left_line_[at_];
    const float out_r = right_line_[at_];
    // Ping-pong: the left input feeds the left line, whose output crosses to the right and back.
    low_l_ += 0.35f * (out_l - low_l_);
    low_r_ += 0.35f * (out_r - low_r_);
    const float mono = 0.5f * (*left + *right);
    left_line_[at_] = mono + feedback_ * low_r_;
    right_line_[at_] = feedback_ * low_l_;
    at_ = (at_ + 1) % left_line_.size();
    *left += mix_ * out_l;
    *right += mix_ * out_r;
}

KickLayer::KickLayer(const std::vector<std::int64_t>& kicks) : kicks_(kicks) {
    const int length = kRate * 3 / 10;
    shape_.resize(static_cast<std::size_t>(length));
    double phase = 0;
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double frequency = 48.0 + 102.0 * std::exp(-t * 28.0);
        phase += 2.0 * std::numbers::pi * frequency / kRate;
        const double body = std::sin(phase) * std::exp(-t * 9.0);
        const double click = std::exp(-t * 900.0) * 0.5;
        const double fade = i > length - 441 ? static_cast<double>(length - i) / 441.0 : 1.0;
        shape_[static_cast<std::size_t>(i)] = static_cast<float>((body + click) * fade);
    }
}

float KickLayer::sample(std::int64_t at) {
    while (next_ < kicks_.size() && kicks_[next_] <= at) current_ = kicks_[next_++];
    if (current_ < 0) return 0.0f;
    const std::int64_t offset = at - current_;
    if (offset >= static_cast<std::int64_t>(shape_.size())) return 0.0f;
    return shape_[static_cast<std::size_t>(offset)];
}

void NoiseRiser::add(std::int64_t at, float* left, float* right) {
    for (const Riser& riser : risers_) {
        if (at < riser.start || at >= riser.end) continue;
        const float t = static_cast<float>(at - riser.start) / static_cast<float>(riser.end - riser.start);
        noise_ = noise_ * 1664525u + 1013904223u;
        const float white = static_cast<float>(static_cast<std::int32_t>(noise_)) / 2147483648.0f;
        noise_right_ = noise_right_ * 22695477u + 1u;
        const float white_right = static_cast<float>(static_cast<std::int32_t>(noise_right_)) / 2147483648.0f;
        // A state-variable band-pass from 300 Hz to 7 kHz.
        const float centre = 300.0f * std::pow(7000.0f / 300.0f, t);
        const float f = 2.0f * std::sin(std::numbers::pi_v<float> * centre / kRate);
        const float q = 0.35f;
        low_ += f * band_;
        const float high = white - low_ - q * band_;
        band_ += f * high;
        low2_ += f * band2_;
        const float high2 = white_right - low2_ - q * band2_;
        band2_ += f * high2;
        const float level = 0.10f * t * t;
        // Independent noise on each side: a wide sweep.
        *left += level * band_;
        *right += level * band2_;
        return;
    }
}

}  // namespace soundtrack
