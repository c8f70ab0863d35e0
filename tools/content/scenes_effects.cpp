// The three scenes that effects take one mesh from (object 0 in each); each also carries a light and
// a camera so that a viewer shows the mesh the way its effect frames it.
#include "content/scene_builder.h"
#include "content/scenes.h"

File3dsScene scene_pallo() {
    // The echo shells look at it from 200 units with a 60 to 90 degree view and grow it up to 1.45
    // times; the spiral strings 58 copies with rings 64 × scale apart. 42 units suits both.
    SceneBuilder b(100);
    b.material("Pallo", {.diffuse = {1.0f, 1.0f, 1.0f}, .specular = {1.0f, 1.0f, 1.0f}, .shininess = 40.0f,
                         .shininess_strength = 30.0f, .texture = "metal.jpg"});
    b.mesh(make_sphere({}, 0.42f, 32, 24, 2.0f, 1.0f), "Pallo", "Pallo");
    b.omni_light("Valo", {2.0f, 3.0f, -4.0f}, {1.0f, 1.0f, 1.0f});
    b.camera("Kamera", [](float) { return CameraPose{{0.0f, 0.0f, -2.0f}, {0.0f, 0.0f, 0.0f}, 45.0f}; }, 100);
    return b.take();
}

File3dsScene scene_boxi() {
    // Seen from (100, 200, −200) with a 45 degree view; the repulsor pushes vertices up to 160 units,
    // most by 40 to 80, so a box of 90 units keeps its deformed self on screen. 32 × 32 quads a face
    // bend smoothly: 6534 vertices.
    SceneBuilder b(100);
    b.material("Boxi", {.diffuse = {1.0f, 1.0f, 1.0f}, .texture = "vireline.jpg"});
    b.mesh(make_box(0.45f, 0.45f, 0.45f, 32), "Boxi", "Boxi");
    b.omni_light("Valo", {2.0f, 4.0f, -4.0f}, {1.0f, 1.0f, 1.0f});
    b.camera("Kamera", [](float) { return CameraPose{{1.0f, 2.0f, -2.0f}, {0.0f, 0.0f, 0.0f}, 45.0f}; }, 100);
    return b.take();
}

File3dsScene scene_cylinder() {
    // The tunnel's cameras sit on the z axis between −50 and 40 and look up to 40 units off it, with
    // a far plane of 100: a tube of radius 14 from −90 to 170, seen from inside.
    SceneBuilder b(100);
    b.material("Putki", {.diffuse = {1.0f, 1.0f, 1.0f}, .texture = "tahteet.jpg"});
    const float radius = 0.14f, z0 = -0.9f, z1 = 1.7f;
    const int around = 32, along = 52;
    MeshDraft tube;
    for (int j = 0; j <= along; ++j)
        for (int i = 0; i <= around; ++i) {
            const float a = kTwoPi * static_cast<float>(i) / static_cast<float>(around);
            const float z = z0 + (z1 - z0) * static_cast<float>(j) / static_cast<float>(along);
            // Three repeats around, one every 20 units along.
            tube.vertex({radius * std::cos(a), radius * std::sin(a), z}, 3.0f * static_cast<float>(i) / static_cast<float>(around),
                        z / 0.2f);
        }
    for (int j = 0; j < along; ++j)
        for (int i = 0; i < around; ++i) {
            const auto at = [&](int x, int y) { return static_cast<std::uint32_t>(y * (around + 1) + x); };
            tube.quad(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
        }
    tube.orient([](V3 c) { return V3{-c.x, -c.y, 0.0f}; });
    b.mesh(tube, "Putki", "Putki");
    b.omni_light("Valo", {0.0f, 0.0f, -0.3f}, {1.0f, 1.0f, 1.0f});
    b.camera("Kamera", [](float) { return CameraPose{{0.0f, 0.0f, -0.48f}, {0.0f, 0.1f, 0.4f}, 60.0f}; }, 100);
    return b.take();
}
