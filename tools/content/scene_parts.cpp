#include "content/scene_parts.h"

MeshDraft make_sky_dome(V3 centre, float radius, int slices, int stacks) {
    MeshDraft d = make_sphere(centre, radius, slices, stacks);
    d.orient([centre](V3 c) { return centre - c; });
    return d;
}

MeshDraft make_torus(float ring_radius, float tube_radius, int segments, int sides, float u_repeat) {
    std::vector<std::array<float, 2>> profile;
    for (int k = 0; k <= sides; ++k) {
        const float a = kTwoPi * static_cast<float>(k) / static_cast<float>(sides);
        profile.push_back({ring_radius + tube_radius * std::cos(a), tube_radius * std::sin(a)});
    }
    MeshDraft d = make_lathe(profile, segments, u_repeat, kTwoPi * tube_radius);
    // The profile circle runs both ways round the axis; face every triangle away from the tube's core.
    d.orient([ring_radius](V3 c) {
        const float r = std::hypot(c.x, c.z);
        const V3 core = r > 0.0f ? V3{c.x / r * ring_radius, 0.0f, c.z / r * ring_radius} : V3{};
        return c - core;
    });
    return d;
}

void tilt_about_x(MeshDraft& draft, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    draft.transform([c, s](V3 p) { return V3{p.x, p.y * c - p.z * s, p.y * s + p.z * c}; });
}

void tilt_about_z(MeshDraft& draft, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    draft.transform([c, s](V3 p) { return V3{p.x * c - p.y * s, p.x * s + p.y * c, p.z}; });
}

void move_by(MeshDraft& draft, V3 offset) {
    draft.transform([offset](V3 p) { return p + offset; });
}
