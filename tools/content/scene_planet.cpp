// The last scene: a planet with a ring and two moons, shown wrapped in the live picture of the
// canyon, so every surface has texture coordinates (the planet takes the picture twice round). It
// stands still at frame 0 for a while in the demo; then the planet turns, the moons circle and the
// camera swings across once in the 600 frames of the loop.
#include "content/scene_builder.h"
#include "content/scene_parts.h"
#include "content/scenes.h"

namespace {
constexpr float kEnd = 600.0f;
}

File3dsScene scene_planet() {
    SceneBuilder b(static_cast<std::uint32_t>(kEnd));
    b.material("Planeetta", {.diffuse = {1.0f, 1.0f, 1.0f}, .specular = {0.4f, 0.4f, 0.5f}, .shininess = 30.0f,
                             .shininess_strength = 30.0f, .texture = "kald.jpg"});
    b.material("Rengas", {.diffuse = {1.0f, 1.0f, 1.0f}, .texture = "tahteet.jpg"});
    b.material("Kuu", {.diffuse = {0.9f, 0.9f, 1.0f}, .texture = "metal.jpg"});

    b.mesh(make_sphere({}, 2.0f, 64, 32, 2.0f, 1.0f), "Planeetta", "Planeetta", {}, [](float f) { return f * kTwoPi / kEnd; });

    // A flat ring from 2.8 to 4.4 units, tilted; u around it four times, v across it.
    MeshDraft ring;
    const int segments = 96;
    for (int i = 0; i <= segments; ++i) {
        const float a = kTwoPi * static_cast<float>(i) / static_cast<float>(segments);
        const float u = 4.0f * static_cast<float>(i) / static_cast<float>(segments);
        ring.vertex({2.8f * std::cos(a), 0.0f, 2.8f * std::sin(a)}, u, 0.0f);
        ring.vertex({4.4f * std::cos(a), 0.0f, 4.4f * std::sin(a)}, u, 1.0f);
    }
    for (int i = 0; i < segments; ++i) {
        const auto k = static_cast<std::uint32_t>(2 * i);
        ring.quad(k, k + 1, k + 3, k + 2);
    }
    ring.orient([](V3) { return V3{0.0f, 1.0f, 0.0f}; });
    // Both faces, so that the ring shows from below as well.
    MeshDraft under = ring;
    for (auto& t : under.triangles) std::swap(t[1], t[2]);
    ring.append(under);
    tilt_about_x(ring, 0.35f);
    tilt_about_z(ring, 0.2f);
    b.mesh(ring, "Rengas", "Rengas", {}, [](float f) { return -f * kTwoPi / (kEnd * 2.0f); });

    MeshDraft moon_a = make_sphere({6.0f, 0.8f, 0.0f}, 0.45f, 24, 12);
    b.mesh(moon_a, "Kuu1", "Kuu", {}, [](float f) { return f * kTwoPi * 2.0f / kEnd; });
    MeshDraft moon_b = make_sphere({0.0f, -1.2f, 7.5f}, 0.3f, 20, 10);
    b.mesh(moon_b, "Kuu2", "Kuu", {}, [](float f) { return -f * kTwoPi / kEnd + 1.0f; });

    b.omni_light("Aurinko", {-30.0f, 12.0f, -20.0f}, {1.0f, 0.9f, 0.8f});
    b.omni_light("Heijaste", {25.0f, -8.0f, 10.0f}, {0.3f, 0.2f, 0.5f});

    b.camera("Katse", [](float f) {
        const float a = -1.9f + 0.9f * std::sin(kTwoPi * f / kEnd);
        const V3 eye{9.0f * std::cos(a), 2.2f + 1.0f * std::sin(kTwoPi * f / kEnd * 2.0f), 9.0f * std::sin(a)};
        return CameraPose{eye, {0.0f, 0.0f, 0.0f}, 50.0f};
    });
    return b.take();
}
