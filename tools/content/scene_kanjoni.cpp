// The canyon: a river gorge that winds once round a central mesa, its walls stepped into strata,
// mountains on the outer edge and a sky dome over all. Camera 0 flies the gorge once round in the
// 600 frames of the scene (the wrap to frame 0 joins up); camera 1 glides above the rim the other way,
// looking down into the gorge ahead.
#include "content/noise.h"
#include "content/scene_builder.h"
#include "content/scene_parts.h"
#include "content/scenes.h"

namespace {

constexpr float kEnd = 600.0f;

// The gorge's centre line: its distance from the middle at angle a.
float gorge_radius(float a) { return 25.0f + 3.0f * std::sin(3.0f * a) + 1.4f * std::sin(5.0f * a + 1.0f); }

float terrace(float h, float step) {
    const float level = std::floor(h / step);
    const float frac = h / step - level;
    return (level + smoothstep(0.55f, 0.95f, frac)) * step;
}

float canyon_height(float x, float z) {
    const float r = std::hypot(x, z);
    const float a = std::atan2(z, x);
    const float d = std::fabs(r - gorge_radius(a)) + 0.8f * fbm2(x * 0.15f, z * 0.15f, 5u, 3);
    const float wall = smoothstep(3.6f, 9.5f, d);
    const float plateau = 8.0f + 1.2f * fbm2(x * 0.07f, z * 0.07f, 9u, 4);
    float h = terrace(wall * plateau, 1.6f) * 0.85f + wall * plateau * 0.15f;
    h += 0.35f * fbm2(x * 0.6f, z * 0.6f, 13u, 3) * (0.3f + wall);
    h += smoothstep(42.0f, 56.0f, r) * (6.0f + 10.0f * ridged2(x * 0.06f, z * 0.06f, 21u, 5));
    h += (1.0f - wall) * 0.15f * std::sin(r * 2.0f + fbm2(x * 0.3f, z * 0.3f, 2u, 2) * 3.0f);  // ripples on the floor
    return h;
}

V3 gorge_point(float a, float height) {
    const float r = gorge_radius(a);
    return {r * std::cos(a), height, r * std::sin(a)};
}

}  // namespace

File3dsScene scene_kanjoni() {
    SceneBuilder b(static_cast<std::uint32_t>(kEnd));
    b.material("Taivas", {.diffuse = {1.0f, 1.0f, 1.0f}, .ambient = {0.0f, 0.0f, 0.0f}, .texture = "taivas.jpg"});
    b.material("Kallio", {.diffuse = {1.0f, 0.95f, 0.9f}, .specular = {0.2f, 0.15f, 0.1f}, .shininess = 10.0f,
                          .shininess_strength = 10.0f, .texture = "kallio.jpg"});
    b.mesh(make_sky_dome({0.0f, 8.0f, 0.0f}, 68.0f), "Taivas", "Taivas");

    // 6 × 6 tiles of 28 × 28 quads over 114 × 114 units; the corners outside the dome are left out.
    const float extent = 57.0f, tile = 19.0f;
    for (int tz = 0; tz < 6; ++tz)
        for (int tx = 0; tx < 6; ++tx) {
            const float x0 = -extent + tile * static_cast<float>(tx), z0 = -extent + tile * static_cast<float>(tz);
            const float near_x = std::min(std::fabs(x0), std::fabs(x0 + tile)), near_z = std::min(std::fabs(z0), std::fabs(z0 + tile));
            if (std::hypot(near_x, near_z) > 62.0f) continue;
            const MeshDraft draft = make_heightfield(x0, z0, x0 + tile, z0 + tile, 28, 28, canyon_height, [](float x, float z, float h) {
                // Strata follow the height; u runs round the middle so that the walls carry them.
                const float a = std::atan2(z, x);
                return std::array<float, 2>{a * 6.0f + 0.02f * x, h / 14.0f + 0.04f * fbm2(x * 0.2f, z * 0.2f, 31u, 2)};
            });
            b.mesh(draft, "Kallio" + std::to_string(tz * 6 + tx), "Kallio");
        }

    // The sky at the dome's centre, a low sun, and four dim fills round the edge so that no wall,
    // whichever way it faces, falls to black (the scene has no ambient light).
    // A river down the middle of the gorge, mirroring a sky of nebulae.
    b.material("Joki", {.diffuse = {0.8f, 0.85f, 1.0f}, .specular = {0.6f, 0.5f, 0.5f}, .shininess = 60.0f,
                        .shininess_strength = 40.0f, .texture = "sumu.jpg"});
    MeshDraft river;
    const int steps = 360;
    for (int i = 0; i <= steps; ++i) {
        const float a = kTwoPi * static_cast<float>(i) / static_cast<float>(steps);
        const V3 centre = gorge_point(a, 0.1f);
        const V3 across{std::cos(a), 0.0f, std::sin(a)};
        const float half = 1.3f + 0.3f * std::sin(a * 11.0f);
        const float v = 60.0f * static_cast<float>(i) / static_cast<float>(steps);
        river.vertex(centre - across * half, 0.0f, v * 0.5f);
        river.vertex(centre + across * half, 0.5f, v * 0.5f);
    }
    for (int i = 0; i < steps; ++i) {
        const auto k = static_cast<std::uint32_t>(2 * i);
        river.quad(k, k + 1, k + 3, k + 2);
    }
    river.orient([](V3) { return V3{0.0f, 1.0f, 0.0f}; });
    b.mesh(river, "Joki", "Joki");

    b.omni_light("Taivasvalo", {0.0f, 8.0f, 0.0f}, {0.45f, 0.42f, 0.62f});
    b.omni_light("Aurinko", {-50.0f, 22.0f, 30.0f}, {1.0f, 0.6f, 0.34f});
    const Rgb fills[4] = {{0.32f, 0.16f, 0.36f}, {0.2f, 0.18f, 0.38f}, {0.36f, 0.2f, 0.26f}, {0.18f, 0.22f, 0.36f}};
    for (int k = 0; k < 4; ++k) {
        const float a = kTwoPi * static_cast<float>(k) / 4.0f + 0.4f;
        b.omni_light("Tayte" + std::to_string(k), {55.0f * std::cos(a), 14.0f, 55.0f * std::sin(a)}, fills[k]);
    }

    // Camera 0: once round the gorge, low over its floor, looking a little ahead.
    b.camera("Lento", [](float f) {
        const float a = kTwoPi * f / kEnd;
        const float bob = 0.6f * std::sin(a * 7.0f);
        return CameraPose{gorge_point(a, 3.0f + bob), gorge_point(a + 0.16f, 3.4f + 0.6f * std::sin((a + 0.16f) * 7.0f)), 62.0f};
    });
    // Camera 1: half round the other way above the inner rim, looking far down the gorge ahead so
    // that the walls lead the eye to the horizon.
    b.camera("Liito", [](float f) {
        const float a = 1.2f - kPi * f / kEnd;
        const V3 eye = gorge_point(a, 0.0f) * 0.9f;
        return CameraPose{{eye.x, 14.0f + 1.5f * std::sin(a * 2.0f), eye.z}, gorge_point(a - 0.8f, 7.5f), 60.0f};
    });
    return b.take();
}
