// The backdrop behind the deforming box: a nebula seen from inside, three great tilted hoops that
// wobble as they turn, and a ring of crystal spires far out, everything at least six units from the
// camera so that the box, drawn afterwards with its own view, stays in front. Camera 0 drifts slowly
// round the middle once in the 600 frames.
#include "content/noise.h"
#include "content/scene_builder.h"
#include "content/scene_parts.h"
#include "content/scenes.h"

namespace {
constexpr float kEnd = 600.0f;
}

File3dsScene scene_taustaa() {
    SceneBuilder b(static_cast<std::uint32_t>(kEnd));
    b.material("Sumu", {.diffuse = {1.0f, 1.0f, 1.0f}, .ambient = {0.0f, 0.0f, 0.0f}, .texture = "sumu.jpg"});
    b.material("Vanne", {.diffuse = {0.9f, 0.8f, 1.0f}, .specular = {1.0f, 1.0f, 1.0f}, .shininess = 70.0f,
                         .shininess_strength = 90.0f, .texture = "metal.jpg", .reflection = "tasma2.jpg"});
    b.material("Kide", {.diffuse = {0.7f, 0.9f, 1.0f}, .specular = {1.0f, 1.0f, 1.0f}, .shininess = 80.0f,
                        .shininess_strength = 100.0f, .texture = "mirte.jpg", .reflection = "allas.jpg"});

    b.mesh(make_sky_dome({}, 60.0f), "Sumu", "Sumu");

    const float tilts[3] = {0.5f, -0.35f, 0.9f};
    const float radii[3] = {12.0f, 17.0f, 23.0f};
    for (int k = 0; k < 3; ++k) {
        MeshDraft hoop = make_torus(radii[k], 0.35f + 0.15f * static_cast<float>(k), 96, 12, 16.0f);
        tilt_about_x(hoop, tilts[k]);
        tilt_about_z(hoop, tilts[(k + 1) % 3] * 0.6f);
        const float speed = (k % 2 == 0 ? 1.0f : -1.0f) * kTwoPi / (kEnd * static_cast<float>(k + 1));
        b.mesh(hoop, "Vanne" + std::to_string(k), "Vanne", {}, [speed](float f) { return f * speed; });
    }

    // Spires: long double pyramids pointing at the middle from 30 units out.
    for (int k = 0; k < 12; ++k) {
        const float a = kTwoPi * static_cast<float>(k) / 12.0f + 0.2f;
        const float y = -8.0f + 16.0f * noise_unit(noise_hash(static_cast<std::uint32_t>(k) * 3u + 5u));
        const float len = 4.0f + 4.0f * noise_unit(noise_hash(static_cast<std::uint32_t>(k) * 7u + 1u));
        MeshDraft spire = make_lathe({{0.0f, -len}, {0.9f, 0.0f}, {0.0f, len}}, 6, 1.0f, len);
        tilt_about_z(spire, 1.2f + 0.3f * static_cast<float>(k % 3));
        move_by(spire, {30.0f * std::cos(a), y, 30.0f * std::sin(a)});
        b.mesh(spire, "Kide" + std::to_string(k), "Kide");
    }

    b.omni_light("Keskus", {}, {0.7f, 0.6f, 0.9f});
    b.omni_light("Kajo", {-30.0f, 20.0f, 20.0f}, {1.0f, 0.55f, 0.45f});

    b.camera("Ajelehtija", [](float f) {
        const float a = kTwoPi * f / kEnd;
        const V3 eye{2.0f * std::cos(a), 0.8f * std::sin(2.0f * a), 2.0f * std::sin(a) - 1.0f};
        const V3 target{6.0f * std::sin(a * 0.5f) * 0.3f, 0.0f, 20.0f};
        return CameraPose{eye, target, 60.0f};
    });
    return b.take();
}
