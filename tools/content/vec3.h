// The small vector type the content generator builds meshes and camera paths with, in the demo's
// world axes (x right, y up, z into the screen) and world units (a file unit is 0.01 of them).
#pragma once

#include <cmath>

struct V3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float length(V3 a) { return std::sqrt(dot(a, a)); }
inline V3 normalise(V3 a) {
    const float l = length(a);
    return l > 0.0f ? a * (1.0f / l) : V3{0.0f, 1.0f, 0.0f};
}
inline V3 lerp(V3 a, V3 b, float t) { return a + (b - a) * t; }

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 6.28318530717959f;
