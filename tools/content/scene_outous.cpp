// The opening scene: a dusk garden around the soft-body blob, which floats at (0, 3.2, 0) above a
// chalice, ringed by two slowly turning gyroscope hoops and a circle of rune stones, with dunes
// rising into mountains under a painted sky. Camera 1 is the first 150 frames' descent from the sky;
// camera 0 circles the blob once in the 500 frames of the loop, so the wrap does not show.
#include "content/noise.h"
#include "content/scene_builder.h"
#include "content/scene_parts.h"
#include "content/scenes.h"

namespace {

constexpr V3 kBlob{0.0f, 3.2f, 0.0f};

float ground_height(float x, float z) {
    const float r = std::hypot(x, z);
    const float dunes = 0.25f * fbm2(x * 0.18f, z * 0.18f, 11u, 4) + 0.12f * std::sin(x * 0.9f + 0.6f * fbm2(x * 0.1f, z * 0.1f, 3u, 3) * 6.0f);
    const float mountains = smoothstep(18.0f, 40.0f, r) * (5.0f + 12.0f * ridged2(x * 0.05f, z * 0.05f, 7u, 5));
    const float plaza = smoothstep(3.0f, 6.0f, r);  // the ground flattens under the chalice
    return dunes * plaza + mountains - 0.05f;
}

float ease(float t) {
    t = clamp01(t);
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace

File3dsScene scene_outous() {
    SceneBuilder b(500);
    b.material("Taivas", {.diffuse = {1.0f, 1.0f, 1.0f}, .ambient = {0.0f, 0.0f, 0.0f}, .texture = "taivas.jpg"});
    b.material("Maa", {.diffuse = {0.9f, 0.85f, 0.95f}, .specular = {0.3f, 0.25f, 0.4f}, .shininess = 20.0f,
                       .shininess_strength = 20.0f, .texture = "maa.jpg"});
    b.material("Kulta", {.diffuse = {1.0f, 0.85f, 0.6f}, .specular = {1.0f, 0.9f, 0.7f}, .shininess = 60.0f,
                         .shininess_strength = 80.0f, .texture = "metal.jpg", .reflection = "tasma2.jpg"});
    b.material("Kivi", {.diffuse = {0.8f, 0.75f, 0.9f}, .specular = {0.4f, 0.4f, 0.6f}, .shininess = 30.0f,
                        .shininess_strength = 30.0f, .texture = "kivi.jpg"});
    b.material("Rengas", {.diffuse = {0.9f, 0.9f, 1.0f}, .specular = {1.0f, 1.0f, 1.0f}, .shininess = 70.0f,
                          .shininess_strength = 90.0f, .texture = "metal.jpg", .reflection = "tasma2.jpg"});

    b.mesh(make_sky_dome({0.0f, 18.0f, 0.0f}, 64.0f), "Taivas", "Taivas");

    // Ground: 4 × 4 tiles of 36 × 36 quads over 88 × 88 units.
    const float extent = 44.0f;
    for (int tz = 0; tz < 4; ++tz)
        for (int tx = 0; tx < 4; ++tx) {
            const float x0 = -extent + 22.0f * static_cast<float>(tx), z0 = -extent + 22.0f * static_cast<float>(tz);
            const MeshDraft tile = make_heightfield(x0, z0, x0 + 22.0f, z0 + 22.0f, 36, 36, ground_height,
                                                    [](float x, float z, float) { return std::array<float, 2>{x / 5.0f, z / 5.0f}; });
            b.mesh(tile, "Maa" + std::to_string(tz * 4 + tx), "Maa");
        }

    // The chalice the blob floats over: foot, stem, knot and a shallow bowl whose rim stays clear of
    // the blob's lowest dent (radius 1 about y 3.2).
    const std::vector<std::array<float, 2>> chalice = {
        {0.0f, 0.0f},  {2.2f, 0.0f},  {2.2f, 0.12f}, {1.6f, 0.3f},  {0.7f, 0.5f},  {0.45f, 0.9f},
        {0.7f, 1.05f}, {0.45f, 1.2f}, {0.5f, 1.5f},  {1.1f, 1.75f}, {1.7f, 1.95f}, {1.55f, 2.0f},
        {1.0f, 1.85f}, {0.0f, 1.8f}};
    b.mesh(make_lathe(chalice, 48, 4.0f, 1.0f), "Malja", "Kulta");

    // Two hoops about the blob, tilted, turning against each other.
    MeshDraft hoop_a = make_torus(1.9f, 0.06f, 64, 10);
    tilt_about_x(hoop_a, 1.05f);
    move_by(hoop_a, kBlob);
    b.mesh(hoop_a, "Rengas1", "Rengas", kBlob, [](float f) { return f * kTwoPi / 250.0f; });
    MeshDraft hoop_b = make_torus(2.3f, 0.045f, 64, 10);
    tilt_about_z(hoop_b, -0.6f);
    move_by(hoop_b, kBlob);
    b.mesh(hoop_b, "Rengas2", "Rengas", kBlob, [](float f) { return -f * kTwoPi / 500.0f; });

    // Seven marble stones leaning outwards on a circle of radius 8.5.
    for (int k = 0; k < 7; ++k) {
        const float a = kTwoPi * (static_cast<float>(k) + 0.8f) / 7.0f;  // a gap where camera 1 comes in
        const float h = 4.2f + 1.4f * noise_unit(noise_hash(static_cast<std::uint32_t>(k) + 77u));
        MeshDraft stone = make_box(0.42f, h * 0.5f, 0.7f, 2);
        move_by(stone, {0.0f, h * 0.5f - 0.2f, 0.0f});
        tilt_about_z(stone, -0.12f);
        const float c = std::cos(a), s = std::sin(a);
        stone.transform([c, s](V3 p) { return V3{p.x * c - p.z * s + 8.5f * c, p.y, p.x * s + p.z * c + 8.5f * s}; });
        b.mesh(stone, "Kivi" + std::to_string(k), "Kivi");
    }

    b.omni_light("Taivasvalo", {0.0f, 18.0f, 0.0f}, {0.55f, 0.5f, 0.78f});
    b.omni_light("Aurinko", {-30.0f, 9.0f, 40.0f}, {1.0f, 0.62f, 0.36f});
    b.omni_light("Heijaste", {26.0f, 5.0f, -30.0f}, {0.55f, 0.2f, 0.5f});

    // Camera 0: once round the blob in 500 frames, bobbing gently.
    b.camera("Kierto", [](float f) {
        const float a = -1.9f + kTwoPi * f / 500.0f;
        const V3 eye{5.4f * std::cos(a), 3.9f + 0.6f * std::sin(2.0f * a), 5.4f * std::sin(a)};
        return CameraPose{eye, kBlob + V3{0.0f, 0.15f, 0.0f}, 55.0f};
    });
    // Camera 1: the first 150 frames come down from the sky onto the blob.
    b.camera("Laskeutuminen", [](float f) {
        const float t = ease(f / 150.0f);
        const V3 eye = lerp(V3{6.0f, 15.0f, -26.0f}, V3{-2.2f, 4.4f, -6.8f}, t);
        const V3 target = lerp(V3{0.0f, 9.0f, 0.0f}, kBlob, ease(f / 120.0f));
        return CameraPose{eye, target, 60.0f - 8.0f * t};
    });
    return b.take();
}
