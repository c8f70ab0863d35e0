// Colours of the content generator: a linear RGB triple with the few operations the pictures need,
// gradient maps (a list of stops sampled by a value in [0, 1]) and the palette every picture and
// scene of the production draws from, so that the whole demo reads as one piece.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

struct Rgb {
    float r = 0.0f, g = 0.0f, b = 0.0f;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
Rgb rgb_mix(Rgb a, Rgb b, float t);
Rgb rgb_hex(std::uint32_t rrggbb);
// Screen blend (1 − (1 − a)(1 − b)) per channel.
Rgb rgb_screen(Rgb a, Rgb b);

float clamp01(float v);
float smoothstep(float edge0, float edge1, float x);

struct GradientStop {
    float at;
    Rgb colour;
};

class Gradient {
public:
    Gradient(std::initializer_list<GradientStop> stops);
    Rgb operator()(float t) const;

private:
    std::vector<GradientStop> stops_;
};

// The production palette: night indigo to violet, a hot magenta and amber for light, teal and a pale
// cyan for cool glow, cream for the brightest highlights.
namespace palette {
inline const Rgb ink = rgb_hex(0x07061A);
inline const Rgb night = rgb_hex(0x151040);
inline const Rgb violet = rgb_hex(0x3B1F6E);
inline const Rgb plum = rgb_hex(0x6A2A7A);
inline const Rgb magenta = rgb_hex(0xC2337A);
inline const Rgb coral = rgb_hex(0xF0605A);
inline const Rgb amber = rgb_hex(0xFF9E3D);
inline const Rgb gold = rgb_hex(0xFFD27A);
inline const Rgb cream = rgb_hex(0xFFF0D8);
inline const Rgb teal = rgb_hex(0x1FA5A8);
inline const Rgb cyan = rgb_hex(0x8FF3FF);
inline const Rgb deep_teal = rgb_hex(0x0B3A4A);
}  // namespace palette
