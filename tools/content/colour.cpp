#include "content/colour.h"

#include <algorithm>

Rgb rgb_mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb rgb_hex(std::uint32_t v) {
    return {static_cast<float>((v >> 16) & 0xFF) / 255.0f, static_cast<float>((v >> 8) & 0xFF) / 255.0f,
            static_cast<float>(v & 0xFF) / 255.0f};
}

Rgb rgb_screen(Rgb a, Rgb b) {
    return {1.0f - (1.0f - a.r) * (1.0f - b.r), 1.0f - (1.0f - a.g) * (1.0f - b.g), 1.0f - (1.0f - a.b) * (1.0f - b.b)};
}

float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float smoothstep(float edge0, float edge1, float x) {
    const float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

Gradient::Gradient(std::initializer_list<GradientStop> stops) : stops_(stops) {}

Rgb Gradient::operator()(float t) const {
    if (stops_.empty()) return {};
    if (t <= stops_.front().at) return stops_.front().colour;
    for (std::size_t i = 1; i < stops_.size(); ++i) {
        if (t <= stops_[i].at) {
            const GradientStop& a = stops_[i - 1];
            const GradientStop& b = stops_[i];
            const float span = b.at - a.at;
            return rgb_mix(a.colour, b.colour, span > 0.0f ? (t - a.at) / span : 1.0f);
        }
    }
    return stops_.back().colour;
}
