#include "framework/program_icon.h"

#include <algorithm>
#include <cmath>

#include "framework/application.h"

namespace {

// Distance from p to the segment a-b.
float segment_distance(float px, float py, float ax, float ay, float bx, float by)
{
    const float dx = bx - ax;
    const float dy = by - ay;
    const float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    const float ex = px - (ax + t * dx);
    const float ey = py - (ay + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

std::uint32_t argb(float a, float r, float g, float b)
{
    auto byte = [](float v) { return static_cast<std::uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    return (byte(a) << 24) | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

}  // namespace

std::vector<std::uint32_t> program_icon_pixels(int size)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size, 0);
    const float s = static_cast<float>(size);
    const float c = s * 0.5f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float r = std::sqrt((px - c) * (px - c) + (py - c) * (py - c));
            const float disc = std::clamp(c - 0.5f - r, 0.0f, 1.0f);
            if (disc <= 0.0f) continue;
            // Deep blue, lighter towards the top.
            const float shade = 0.35f + 0.4f * (1.0f - py / s);
            float red = 0.05f * shade;
            float green = 0.25f * shade;
            float blue = 0.9f * shade;
            // A thin cyan ring near the rim.
            const float ring = std::clamp(1.2f - std::fabs(r - (c - 2.5f)), 0.0f, 1.0f);
            red += ring * 0.2f;
            green += ring * 0.7f;
            blue += ring * 0.8f;
            // The V.
            const float stroke = s * 0.07f;
            const float d = std::min(segment_distance(px, py, s * 0.28f, s * 0.28f, c, s * 0.74f),
                                     segment_distance(px, py, s * 0.72f, s * 0.28f, c, s * 0.74f));
            const float v = std::clamp(stroke - d + 0.5f, 0.0f, 1.0f);
            red = red * (1 - v) + 0.95f * v;
            green = green * (1 - v) + 0.95f * v;
            blue = blue * (1 - v) + 1.0f * v;
            pixels[static_cast<std::size_t>(y) * size + x] = argb(disc, red, green, blue);
        }
    }
    return pixels;
}

void program_icon_register()
{
    constexpr int kSize = 32;
    icon_resource_register(kProgramIconId, kSize, kSize, program_icon_pixels(kSize));
}
