// The courtyard of the basins. The water grid lies at y −0.2 over x −1.5 to 1.41 and z −1.25 to
// 3.11; the basin's rim, at y 0, overlaps its edges, so the water shows only inside the rim. Two
// rows of columns flank the basin, a shrine closes its far end, round bowls stand at its corners,
// and the court is paved, walled by hills and roofed by the sky. Camera 0 glides in along the
// basin; camera 1 circles it once in the 600 frames of the loop.
#include "content/noise.h"
#include "content/scene_builder.h"
#include "content/scene_parts.h"
#include "content/scenes.h"

namespace {

constexpr float kEnd = 600.0f;
constexpr V3 kWater{0.0f, -0.2f, 0.93f};

// A frame around the opening [x0, x1] × [z0, z1] out to the outer rectangle, at height y.
MeshDraft rim_frame(float x0, float z0, float x1, float z1, float border, float y, float depth) {
    MeshDraft d;
    const float ox0 = x0 - border, oz0 = z0 - border, ox1 = x1 + border, oz1 = z1 + border;
    auto top = [&](float ax, float az, float bx, float bz) {
        const std::uint32_t a = d.vertex({ax, y, az}, ax, az), b = d.vertex({bx, y, az}, bx, az);
        const std::uint32_t c = d.vertex({bx, y, bz}, bx, bz), e = d.vertex({ax, y, bz}, ax, bz);
        d.quad(a, b, c, e);
    };
    top(ox0, oz0, ox1, z0);  // near strip
    top(ox0, z1, ox1, oz1);  // far strip
    top(ox0, z0, x0, z1);    // left
    top(x1, z0, ox1, z1);    // right
    // Inner and outer walls going down by depth.
    auto wall = [&](float ax, float az, float bx, float bz) {
        const float len = std::hypot(bx - ax, bz - az);
        const std::uint32_t a = d.vertex({ax, y, az}, 0.0f, 0.0f), b = d.vertex({bx, y, bz}, len, 0.0f);
        const std::uint32_t c = d.vertex({bx, y - depth, bz}, len, depth), e = d.vertex({ax, y - depth, az}, 0.0f, depth);
        d.quad(a, b, c, e);
    };
    wall(ox0, oz0, ox1, oz0);
    wall(ox1, oz0, ox1, oz1);
    wall(ox1, oz1, ox0, oz1);
    wall(ox0, oz1, ox0, oz0);
    d.orient([&](V3 c) {
        if (std::fabs(c.y - y) < 1e-4f) return V3{0.0f, 1.0f, 0.0f};
        const float cx = (ox0 + ox1) * 0.5f, cz = (oz0 + oz1) * 0.5f;
        return V3{c.x - cx, 0.0f, c.z - cz};
    });
    return d;
}

MeshDraft column(float radius, float height) {
    const std::vector<std::array<float, 2>> profile = {
        {0.0f, 0.0f},           {radius * 1.5f, 0.0f},    {radius * 1.5f, 0.18f},  {radius * 1.15f, 0.28f},
        {radius, 0.4f},         {radius * 0.88f, height - 0.45f}, {radius * 1.2f, height - 0.3f},
        {radius * 1.55f, height - 0.18f}, {radius * 1.55f, height}, {0.0f, height}};
    return make_lathe(profile, 20, 1.0f, height);
}

float hills(float x, float z) {
    const float r = std::hypot(x, z - 1.0f);
    return -0.02f + smoothstep(16.0f, 28.0f, r) * (3.0f + 9.0f * ridged2(x * 0.07f, z * 0.07f, 41u, 5));
}

}  // namespace

File3dsScene scene_altaat() {
    SceneBuilder b(static_cast<std::uint32_t>(kEnd));
    b.material("Taivas", {.diffuse = {1.0f, 1.0f, 1.0f}, .ambient = {0.0f, 0.0f, 0.0f}, .texture = "taivas.jpg"});
    b.material("Laatta", {.diffuse = {0.85f, 0.82f, 0.9f}, .specular = {0.5f, 0.45f, 0.6f}, .shininess = 40.0f,
                          .shininess_strength = 40.0f, .texture = "laatta.jpg"});
    b.material("Marmori", {.diffuse = {1.0f, 0.96f, 0.92f}, .specular = {0.8f, 0.75f, 0.7f}, .shininess = 50.0f,
                           .shininess_strength = 50.0f, .texture = "kivi.jpg"});
    b.material("Kulta", {.diffuse = {1.0f, 0.85f, 0.6f}, .specular = {1.0f, 0.9f, 0.7f}, .shininess = 60.0f,
                         .shininess_strength = 80.0f, .texture = "metal.jpg", .reflection = "tasma2.jpg"});
    b.material("Maa", {.diffuse = {0.9f, 0.85f, 0.95f}, .texture = "maa.jpg"});

    b.mesh(make_sky_dome({0.0f, 6.0f, 1.0f}, 44.0f), "Taivas", "Taivas");

    // The basin's rim, its floor below the water, and the paving around it.
    const float x0 = -1.42f, x1 = 1.34f, z0 = -1.16f, z1 = 3.02f;
    b.mesh(rim_frame(x0, z0, x1, z1, 0.35f, 0.0f, 0.6f), "Reuna", "Marmori");
    MeshDraft floor = make_heightfield(x0 - 0.1f, z0 - 0.1f, x1 + 0.1f, z1 + 0.1f, 4, 4, [](float, float) { return -0.6f; },
                                       [](float x, float z, float) { return std::array<float, 2>{x, z}; });
    b.mesh(floor, "Pohja", "Laatta");
    // Paving: a ring of tiles around the basin's outer edge out to ±9 units, in four strips.
    const float px0 = x0 - 0.35f, px1 = x1 + 0.35f, pz0 = z0 - 0.35f, pz1 = z1 + 0.35f;
    auto paving = [](float ax, float az, float bx, float bz) {
        return make_heightfield(ax, az, bx, bz, 8, 8, [](float, float) { return -0.02f; },
                                [](float x, float z, float) { return std::array<float, 2>{x * 0.5f, z * 0.5f}; });
    };
    b.mesh(paving(-9.0f, -8.0f, 9.0f, pz0), "Laatta1", "Laatta");
    b.mesh(paving(-9.0f, pz1, 9.0f, 10.0f), "Laatta2", "Laatta");
    b.mesh(paving(-9.0f, pz0, px0, pz1), "Laatta3", "Laatta");
    b.mesh(paving(px1, pz0, 9.0f, pz1), "Laatta4", "Laatta");

    // Hills beyond the paving, in four tiles that skip the paved middle.
    for (int k = 0; k < 4; ++k) {
        const float ax = k % 2 == 0 ? -40.0f : 0.0f, az = k < 2 ? -39.0f : 1.0f;
        MeshDraft hill = make_heightfield(ax, az, ax + 40.0f, az + 40.0f, 40, 40, hills,
                                          [](float x, float z, float) { return std::array<float, 2>{x / 6.0f, z / 6.0f}; });
        // Drop the hill under the paving so that only its rise shows.
        hill.transform([](V3 p) { return std::fabs(p.x) < 9.0f && p.z > -8.0f && p.z < 10.0f ? V3{p.x, p.y - 0.2f, p.z} : p; });
        b.mesh(hill, "Maa" + std::to_string(k), "Maa");
    }

    // Columns along both long sides, each with a block of architrave across its top.
    for (int side = 0; side < 2; ++side)
        for (int k = 0; k < 6; ++k) {
            const float x = side == 0 ? -5.0f : 4.9f;
            const float z = -1.9f + 1.3f * static_cast<float>(k);
            MeshDraft c = column(0.2f, 3.2f);
            move_by(c, {x, 0.0f, z});
            b.mesh(c, "Pylvas" + std::to_string(side * 6 + k), "Marmori");
        }
    MeshDraft beam_l = make_box(0.36f, 0.18f, 3.6f, 1);
    move_by(beam_l, {-5.0f, 3.38f, 1.35f});
    b.mesh(beam_l, "Palkki1", "Marmori");
    MeshDraft beam_r = make_box(0.36f, 0.18f, 3.6f, 1);
    move_by(beam_r, {4.9f, 3.38f, 1.35f});
    b.mesh(beam_r, "Palkki2", "Marmori");

    // The shrine at the far end: steps up to a plinth carrying a gold orb.
    for (int s = 0; s < 3; ++s) {
        const float w = 2.2f - 0.45f * static_cast<float>(s);
        MeshDraft step = make_box(w, 0.15f, 0.9f - 0.2f * static_cast<float>(s), 1);
        move_by(step, {-0.04f, 0.15f + 0.3f * static_cast<float>(s), 5.1f});
        b.mesh(step, "Porras" + std::to_string(s), "Marmori");
    }
    MeshDraft orb = make_sphere({-0.04f, 1.55f, 5.1f}, 0.5f, 32, 16);
    b.mesh(orb, "Kehra", "Kulta", {-0.04f, 1.55f, 5.1f}, [](float f) { return f * kTwoPi / 300.0f; });

    // Round bowls on the four corners of the rim.
    const std::vector<std::array<float, 2>> bowl = {{0.0f, 0.0f}, {0.18f, 0.0f}, {0.1f, 0.1f},  {0.1f, 0.35f},
                                                    {0.32f, 0.5f}, {0.36f, 0.6f}, {0.3f, 0.58f}, {0.0f, 0.5f}};
    const V3 corners[] = {{x0 - 0.17f, 0.0f, z0 - 0.17f}, {x1 + 0.17f, 0.0f, z0 - 0.17f}, {x0 - 0.17f, 0.0f, z1 + 0.17f}, {x1 + 0.17f, 0.0f, z1 + 0.17f}};
    for (int k = 0; k < 4; ++k) {
        MeshDraft m = make_lathe(bowl, 24, 2.0f, 0.5f);
        move_by(m, corners[k]);
        b.mesh(m, "Malja" + std::to_string(k), "Kulta");
    }

    b.omni_light("Taivasvalo", {0.0f, 6.0f, 1.0f}, {0.5f, 0.48f, 0.7f});
    b.omni_light("Aurinko", {-25.0f, 10.0f, 30.0f}, {1.0f, 0.65f, 0.4f});
    b.omni_light("Heijaste", {20.0f, 6.0f, -20.0f}, {0.4f, 0.2f, 0.45f});

    // Camera 0: in along the basin from its near end, rising over it.
    b.camera("Saapuminen", [](float f) {
        const float t = clamp01(f / kEnd);
        const float e = t * t * (3.0f - 2.0f * t);
        const V3 eye = lerp(V3{0.6f, 1.2f, -7.5f}, V3{-1.6f, 3.6f, -2.8f}, e);
        const V3 target = lerp(V3{0.0f, 0.6f, 2.0f}, kWater, e);
        return CameraPose{eye, target, 55.0f};
    });
    // Camera 1: once round the basin, between it and the columns along the sides and out past its
    // ends, high enough to look over the shrine's orb.
    b.camera("Kierto", [](float f) {
        const float a = -kPi * 0.5f + kTwoPi * f / kEnd;
        const V3 eye{3.4f * std::cos(a), 3.3f + 0.4f * std::sin(2.0f * a), 1.0f + 7.4f * std::sin(a)};
        return CameraPose{eye, kWater + V3{0.0f, 0.7f, 0.0f}, 55.0f};
    });
    return b.take();
}
