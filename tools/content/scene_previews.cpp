// Preview scenes: the opening's garden with a stand-in for the soft-body blob (a unit sphere at
// (0, 3.2, 0) in its pictures), and the courtyard with a stand-in for the water grid where the demo
// places it (flat at y −0.2 over x −1.5 to 1.41 and z −1.25 to 3.11, mirroring "allas.jpg").
#include "content/scene_builder.h"
#include "content/scenes.h"

namespace {

File3dsScene preview_outous() {
    SceneBuilder b(scene_outous());
    b.material("Tasma", {.diffuse = {1.0f, 1.0f, 1.0f}, .specular = {1.0f, 1.0f, 1.0f}, .shininess = 50.0f,
                         .shininess_strength = 60.0f, .texture = "tasma1.jpg", .reflection = "tasma2.jpg"});
    b.mesh(make_sphere({0.0f, 3.2f, 0.0f}, 1.0f, 32, 32), "Tasma", "Tasma");
    return b.take();
}

File3dsScene preview_altaat() {
    SceneBuilder b(scene_altaat());
    b.material("Vesi", {.diffuse = {0.3f, 0.3f, 0.4f}, .specular = {1.0f, 1.0f, 1.0f}, .shininess = 60.0f,
                        .shininess_strength = 80.0f, .reflection = "allas.jpg"});
    const MeshDraft water = make_heightfield(-1.5f, -1.25f, 1.40625f, 3.109375f, 16, 16, [](float, float) { return -0.2f; },
                                             [](float x, float z, float) { return std::array<float, 2>{x, z}; });
    b.mesh(water, "Vesi", "Vesi");
    return b.take();
}

}  // namespace

const std::vector<SceneJob>& preview_jobs() {
    static const std::vector<SceneJob> jobs = {{"outous_preview.3ds", preview_outous}, {"altaat_preview.3ds", preview_altaat}};
    return jobs;
}
