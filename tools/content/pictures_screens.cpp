// The full-screen pictures: the title, the two picture parts' paintings, the greetings backdrop and
// the burst behind the echo shells. All are 1024 × 512 and seen at 4:3.
#include <cmath>

#include "content/noise.h"
#include "content/picture_tools.h"
#include "content/pictures.h"
#include "content/vec3.h"

namespace {

using namespace palette;

const Gradient kDusk{{0.0f, ink}, {0.35f, night}, {0.62f, violet}, {0.8f, magenta}, {0.92f, coral}, {1.0f, amber}};

// Letters over a picture: a soft glow of `glow` under letters of `ink_colour`.
void letter(Picture& p, const Mask& text, Rgb ink_colour, Rgb glow, int glow_radius, float glow_strength) {
    Mask halo = text;
    halo.blur(std::max(1, static_cast<int>(static_cast<float>(glow_radius) * p.pixel_stretch())), glow_radius, 3);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const Rgb base = p.at(x, y) + glow * (halo.at(x, y) * glow_strength);
            p.at(x, y) = rgb_mix(base, ink_colour, text.at(x, y));
        }
}

}  // namespace

void paint_title(Picture& p) {
    const float horizon = 0.63f;
    const float sun_x = p.aspect() * 0.5f, sun_y = horizon + 0.01f;
    auto sky = [&](float x, float y) {
        const float t = clamp01(y / horizon);
        Rgb c = kDusk(t * t * 0.95f + 0.05f * fbm2(x * 3.0f, y * 3.0f, 4u, 3));
        const float neb = clamp01(0.5f + 0.5f * warped_fbm2(x * 1.6f, y * 2.2f, 91u, 5, 0.9f));
        c = c + rgb_mix(teal, magenta, clamp01(neb * 1.4f - 0.2f)) * (0.28f * neb * neb * (1.0f - t));
        c = c + cream * (starfield(x, y, 60.0f, 7u, 0.3f) * (1.0f - t) * 0.8f);
        const float sd = std::hypot((x - sun_x) * 1.0f, (y - sun_y) * 1.0f);
        c = c + gold * (0.9f * std::exp(-sd * 9.0f)) + amber * (0.35f * std::exp(-sd * 3.0f));
        if (sd < 0.13f) c = rgb_mix(c, cream, smoothstep(0.13f, 0.12f, sd));
        return c;
    };
    p.fill([&](float x, float y) {
        if (y < horizon) return sky(x, y);
        // The sea: the sky mirrored in ripples that lengthen towards the horizon.
        const float depth = (y - horizon) / (1.0f - horizon);
        const float wave = fbm2(x * 2.0f, (y - horizon) * 40.0f / (0.2f + depth), 17u, 4);
        const float my = horizon - (y - horizon) * 1.1f + 0.02f * wave * (0.3f + depth);
        Rgb c = sky(x + 0.01f * wave, std::max(0.0f, my)) * (0.55f - 0.25f * depth);
        // The sun's path on the water, broken into glints.
        const float path = std::exp(-std::pow((x - sun_x) / (0.05f + 0.18f * depth), 2.0f));
        const float glint = smoothstep(0.1f, 0.6f, wave);
        c = c + gold * (path * glint * (1.0f - depth) * 1.2f);
        return c * (1.0f - 0.5f * depth);
    });
    // The line of the horizon, bright where the sun meets it.
    p.shade([&](float x, float y, Rgb c) {
        const float d = std::fabs(y - horizon);
        const float along = std::exp(-std::pow((x - sun_x) * 1.5f, 2.0f));
        return c + cream * (std::exp(-d * 900.0f) * (0.4f + 1.2f * along));
    });
    add_glow(p, 0.7f, 14, 0.6f);
    const Mask title = set_text(p, {{"VIRELINE", "DejaVuSans-Bold.ttf", 0.15f, 0.42f, 0.22f},
                                    {"a real-time demo", "DejaVuSans.ttf", 0.045f, 0.86f, 0.35f}});
    letter(p, title, cream, magenta, 10, 1.6f);
}

void paint_kald(Picture& p) {
    // Layers of ridged mountains fading into a haze under a huge low sun, with a ringed moon.
    const float sun_x = p.aspect() * 0.3f, sun_y = 0.52f;
    p.fill([&](float x, float y) {
        Rgb c = kDusk(clamp01(y * 1.25f));
        const float sd = std::hypot(x - sun_x, y - sun_y);
        c = c + amber * (0.7f * std::exp(-sd * 5.0f)) + cream * std::exp(-sd * 14.0f);
        if (sd < 0.17f) c = rgb_mix(c, rgb_mix(cream, gold, sd / 0.17f), smoothstep(0.17f, 0.165f, sd));
        // Bands across the sun, as seen through layers of air.
        if (sd < 0.17f) c = c * (1.0f - 0.25f * smoothstep(0.3f, 0.9f, std::sin(y * 140.0f) * 0.5f + 0.5f) * smoothstep(0.45f, 0.6f, y));
        // A ringed moon high on the right.
        const float mx = x - p.aspect() * 0.78f, my = y - 0.2f;
        const float md = std::hypot(mx, my);
        const float ring = std::fabs(std::hypot(mx, my * 4.0f) - 0.13f);
        if (md < 0.06f) {
            const float lit = clamp01(0.5f - (mx * 0.7f + my * 0.3f) / 0.06f * 0.6f);
            c = rgb_mix(c, rgb_mix(night, coral, lit), 0.95f);
        }
        if (ring < 0.006f && !(md < 0.06f && my < 0.0f)) c = c + cream * (0.5f * (1.0f - ring / 0.006f));
        c = c + cream * (starfield(x, y, 70.0f, 3u, 0.25f) * clamp01(0.6f - y) * 1.2f);
        for (int layer = 0; layer < 5; ++layer) {
            const float l = static_cast<float>(layer);
            const float base = 0.5f + 0.1f * l;
            const float ridge = base - (0.12f - 0.015f * l) * ridged2(x * (1.5f + 0.7f * l), l * 3.1f, 60u + static_cast<std::uint32_t>(layer), 5);
            if (y > ridge) {
                // Far ranges melt into the glow; near ones are dark silhouettes with lit crests.
                const float haze = std::pow(1.0f - l / 4.0f, 1.4f);
                const Rgb rock = rgb_mix(ink, violet, 0.25f + 0.05f * l);
                c = rgb_mix(rock, rgb_mix(magenta, coral, 0.5f), haze * 0.8f);
                c = c * (1.0f - 0.35f * clamp01((y - ridge) * 4.0f) * (1.0f - haze));
                c = c + amber * (std::exp(-(y - ridge) * 160.0f) * (0.25f + 0.5f * haze));
            }
        }
        return c;
    });
    add_glow(p, 0.75f, 16, 0.7f);
}

void paint_orv(Picture& p) {
    // Warped ink: a fluid marbling in the palette, with cellular sparks where the flow thins.
    const Gradient ink_map{{0.0f, ink}, {0.3f, violet}, {0.5f, magenta}, {0.62f, amber}, {0.7f, cream}, {0.78f, teal}, {1.0f, deep_teal}};
    p.fill([&](float x, float y) {
        const float f = warped_fbm2(x * 1.7f, y * 1.7f, 123u, 6, 1.4f);
        const float t = clamp01(0.5f + 0.45f * f);
        Rgb c = ink_map(t);
        const float lines = std::pow(std::fabs(std::sin(f * 18.0f)), 24.0f);
        c = c + cream * (lines * 0.35f);
        const CellDistance cell = cellular2(x * 9.0f, y * 9.0f, 5u);
        c = c + cyan * (std::exp(-cell.nearest * 30.0f) * 0.7f * clamp01(t * 2.0f - 0.6f));
        const float vignette = 1.0f - 0.55f * std::pow(std::hypot(x / p.aspect() - 0.5f, y - 0.5f) * 1.4f, 2.0f);
        return c * vignette;
    });
    add_glow(p, 0.6f, 10, 0.8f);
}

void paint_kuulat(Picture& p) {
    // Dark water-blue depths with out-of-focus spheres of light drifting through.
    p.fill([&](float x, float y) {
        Rgb c = rgb_mix(ink, deep_teal, clamp01(0.4f + 0.4f * fbm2(x * 1.2f, y * 1.2f, 8u, 4) + 0.3f * (1.0f - y)));
        c = c + violet * (0.3f * clamp01(0.5f + 0.5f * warped_fbm2(x * 2.0f, y * 2.0f, 44u, 4, 0.8f)));
        return c;
    });
    for (int k = 0; k < 70; ++k) {
        const std::uint32_t h = noise_hash(static_cast<std::uint32_t>(k) * 7919u + 3u);
        const float cx = noise_unit(h) * p.aspect(), cy = noise_unit(noise_hash(h ^ 1u));
        const float r = 0.015f + 0.09f * std::pow(noise_unit(noise_hash(h ^ 2u)), 2.5f);
        const float pick = noise_unit(noise_hash(h ^ 3u));
        const Rgb tint = pick < 0.4f ? cyan : pick < 0.7f ? magenta : pick < 0.9f ? amber : cream;
        const float strength = 0.25f + 0.5f * noise_unit(noise_hash(h ^ 4u));
        p.shade([&](float x, float y, Rgb c) {
            const float d = std::hypot(x - cx, y - cy) / r;
            if (d > 1.05f) return c;
            // A bokeh disc: an even body with a brighter rim.
            const float body = smoothstep(1.05f, 0.95f, d);
            const float rim = std::exp(-std::pow((d - 0.92f) * 12.0f, 2.0f));
            return c + tint * (strength * (0.35f * body + 0.5f * rim));
        });
    }
    add_glow(p, 0.5f, 8, 0.6f);
}

void paint_tovel(Picture& p) {
    // Rays bursting from the middle, where the glowing ball sits, through turning veils.
    const float cx = p.aspect() * 0.5f, cy = 0.5f;
    p.fill([&](float x, float y) {
        const float dx = x - cx, dy = y - cy;
        const float r = std::hypot(dx, dy);
        const float a = std::atan2(dy, dx);
        // Periodic in the angle: noise on a circle.
        const float rays = fbm2(std::cos(a) * 3.0f + 10.0f, std::sin(a) * 3.0f + 10.0f, 71u, 5);
        const float streak = std::pow(clamp01(0.5f + 0.6f * rays), 3.0f);
        const float veil = clamp01(0.5f + 0.5f * warped_fbm2(dx * 2.5f + std::log(r + 0.05f), dy * 2.5f, 12u, 4, 1.0f));
        Rgb c = rgb_mix(ink, night, clamp01(1.0f - r));
        c = c + rgb_mix(magenta, amber, veil) * (streak * 0.9f * std::exp(-r * 1.2f));
        c = c + violet * (veil * 0.35f);
        c = c + cream * (0.6f * std::exp(-r * 9.0f));
        c = c + cream * (starfield(x, y, 50.0f, 9u, 0.3f) * smoothstep(0.2f, 0.6f, r));
        return c;
    });
    add_glow(p, 0.6f, 12, 0.7f);
}
