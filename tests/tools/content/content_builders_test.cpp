// The generator's building blocks, checked through the project's own 3DS reader: meshes land where
// they were built (axes, units, texture v), face the side they were built to face, and are refused
// past the reader's counts; turning meshes and camera paths come back as keyed; tiling noise tiles.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "content/mesh_draft.h"
#include "content/noise.h"
#include "content/scene_builder.h"
#include "content/scene_parts.h"
#include "scene3ds/keyframe_eval.h"
#include "scene3ds/load_3ds.h"
#include "scene3ds_writer/write_3ds.h"

namespace {

std::unique_ptr<Scene3ds> read_back(const File3dsScene& scene) {
    const std::vector<std::uint8_t> bytes = write_3ds(scene);
    return load_3ds_scene_memory(bytes.data(), bytes.size());
}

std::unique_ptr<Scene3ds> one_mesh(const MeshDraft& draft, V3 origin = {}, std::function<float(float)> turning = {}) {
    SceneBuilder b(100);
    b.material("M", {});
    b.mesh(draft, "Mesh", "M", origin, std::move(turning));
    return read_back(b.take());
}

struct Facing {
    const char* shape;
    MeshDraft draft;
    std::function<V3(V3)> expected;  // the side each vertex's normal must point to
};

TEST(MeshDrafts, ReadBackFacingTheSideTheyWereBuiltToFace) {
    const V3 centre{1.0f, 2.0f, 3.0f};
    MeshDraft tube;
    for (int j = 0; j <= 4; ++j)
        for (int i = 0; i <= 16; ++i) {
            const float a = kTwoPi * static_cast<float>(i) / 16.0f;
            tube.vertex({std::cos(a), std::sin(a), static_cast<float>(j)}, 0.0f, 0.0f);
        }
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 16; ++i) {
            const auto at = [](int x, int y) { return static_cast<std::uint32_t>(y * 17 + x); };
            tube.quad(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
        }
    tube.orient([](V3 c) { return V3{-c.x, -c.y, 0.0f}; });
    const Facing cases[] = {
        {"sphere", make_sphere(centre, 2.0f, 24, 12), [centre](V3 p) { return p - centre; }},
        {"sky dome", make_sky_dome(centre, 5.0f, 24, 12), [centre](V3 p) { return centre - p; }},
        {"box", make_box(1.0f, 2.0f, 0.5f, 3), [](V3 p) { return V3{p.x / 1.0f, p.y / 2.0f, p.z / 0.5f}; }},
        {"heightfield", make_heightfield(-2, -2, 2, 2, 8, 8, [](float x, float z) { return 0.2f * std::sin(x + z); },
                                         [](float, float, float) { return std::array<float, 2>{0, 0}; }),
         [](V3) { return V3{0.0f, 1.0f, 0.0f}; }},
        {"tube seen from inside", tube, [](V3 p) { return V3{-p.x, -p.y, 0.0f}; }},
        {"torus", make_torus(3.0f, 0.5f, 24, 8), [](V3 p) {
             const float r = std::hypot(p.x, p.z);
             return p - V3{p.x / r * 3.0f, 0.0f, p.z / r * 3.0f};
         }},
    };
    for (const Facing& c : cases) {
        SCOPED_TRACE(c.shape);
        const auto scene = one_mesh(c.draft);
        ASSERT_NE(scene, nullptr);
        ASSERT_EQ(scene->meshes.size(), 1u);
        const MeshNode& mesh = *scene->meshes[0];
        ASSERT_EQ(mesh.vertex_count(), c.draft.positions.size());
        // Vertices no triangle uses (the seam's copies of a pole) have no normal to check.
        std::vector<bool> used(mesh.vertices.size(), false);
        for (std::uint16_t index : mesh.indices) used[index] = true;
        int wrong = 0;
        for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
            const SceneVertex& v = mesh.vertices[i];
            // Positions come back in world units and axes, where they were built.
            EXPECT_NEAR(v.x, c.draft.positions[i].x, 1e-4f);
            EXPECT_NEAR(v.y, c.draft.positions[i].y, 1e-4f);
            EXPECT_NEAR(v.z, c.draft.positions[i].z, 1e-4f);
            const V3 n{v.nx, v.ny, v.nz};
            if (used[i] && dot(n, c.expected(c.draft.positions[i])) <= 0.0f) ++wrong;
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(MeshDrafts, KeepTextureCoordinatesInTheDevicesSenseAndTheirOrigin) {
    MeshDraft d;
    const std::uint32_t a = d.vertex({0, 0, 0}, 0.25f, 0.75f);
    const std::uint32_t b = d.vertex({0, 1, 0}, 0.5f, 0.0f);
    const std::uint32_t c = d.vertex({1, 0, 0}, 1.0f, 2.0f);
    d.triangle(a, b, c);
    const V3 origin{5.0f, 1.0f, -2.0f};
    d.transform([origin](V3 p) { return p + origin; });
    const auto scene = one_mesh(d, origin);
    ASSERT_NE(scene, nullptr);
    const MeshNode& mesh = *scene->meshes[0];
    const float expected[3][2] = {{0.25f, 0.75f}, {0.5f, 0.0f}, {1.0f, 2.0f}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(mesh.vertices[static_cast<std::size_t>(i)].tu, expected[i][0]);
        EXPECT_FLOAT_EQ(mesh.vertices[static_cast<std::size_t>(i)].tv, expected[i][1]);
    }
    // The vertices are kept about the mesh's origin, and its node puts them back in place.
    EXPECT_NEAR(mesh.vertices[0].x, 0.0f, 1e-5f);
    EXPECT_NEAR(mesh.vertices[0].y, 0.0f, 1e-5f);
    evaluate_node(scene->meshes[0], 0.0f);
    const Vector3 at = node_position(*scene->meshes[0]);
    EXPECT_NEAR(at.x, origin.x, 1e-5f);
    EXPECT_NEAR(at.y, origin.y, 1e-5f);
    EXPECT_NEAR(at.z, origin.z, 1e-5f);
}

TEST(MeshDrafts, AreRefusedPastTheReadersCounts) {
    MeshDraft big;
    for (int i = 0; i < 32768; ++i) big.vertex({static_cast<float>(i), 0, 0}, 0, 0);
    big.triangle(0, 1, 2);
    EXPECT_THROW(mesh_to_file(big, "Big", "M"), std::runtime_error);
    big.positions.pop_back();
    big.uvs.pop_back();
    EXPECT_NO_THROW(mesh_to_file(big, "Big", "M"));
    EXPECT_THROW(mesh_to_file(big, std::string(32, 'n'), "M"), std::runtime_error);
}

TEST(SceneBuilders, KeyTurningMeshesAndCameraPathsAsGiven) {
    SceneBuilder b(100);
    b.material("M", {});
    b.mesh(make_box(1, 1, 1, 1), "Box", "M", {}, [](float f) { return 0.01f * f; });
    b.camera("Cam", [](float f) { return CameraPose{{0.02f * f, 1.0f, -5.0f}, {0.0f, 0.5f * std::sin(f * 0.1f), 0.0f}, 40.0f + 0.2f * f}; });
    b.omni_light("Light", {1.0f, 2.0f, 3.0f}, {1.0f, 0.5f, 0.25f});
    const auto scene = read_back(b.take());
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(scene->cameras.size(), 1u);
    ASSERT_NE(scene->cameras[0]->target, nullptr);
    ASSERT_EQ(scene->lights.size(), 1u);
    EXPECT_EQ(scene->end_frame, 100);
    for (float t : {0.0f, 37.5f, 64.0f, 100.0f}) {
        SCOPED_TRACE(t);
        for (SceneNode* node : scene->evaluation_order) evaluate_node(node, t);
        // The turn about the vertical axis accumulates to the angle asked for.
        const Matrix& m = scene->meshes[0]->matrix;
        EXPECT_NEAR(std::fabs(std::atan2(m.m[0][2], m.m[0][0])), 0.01f * t, 1e-4f);
        EXPECT_NEAR(m.m[1][1], 1.0f, 1e-5f);
        const Vector3 eye = node_position(*scene->cameras[0]);
        EXPECT_NEAR(eye.x, 0.02f * t, 1e-4f);
        EXPECT_NEAR(eye.y, 1.0f, 1e-5f);
        EXPECT_NEAR(eye.z, -5.0f, 1e-5f);
        EXPECT_NEAR(node_position(*scene->cameras[0]->target).y, 0.5f * std::sin(std::floor(t) * 0.1f) +
                                                                       (t - std::floor(t)) * 0.5f * (std::sin((std::floor(t) + 1.0f) * 0.1f) - std::sin(std::floor(t) * 0.1f)),
                    1e-4f);
        EXPECT_NEAR(scene->cameras[0]->field_of_view, 40.0f + 0.2f * t, 1e-3f);
        const Vector3 light = node_position(*scene->lights[0]);
        EXPECT_NEAR(light.x, 1.0f, 1e-5f);
        EXPECT_NEAR(light.y, 2.0f, 1e-5f);
        EXPECT_NEAR(light.z, 3.0f, 1e-5f);
    }
    EXPECT_NEAR(scene->lights[0]->g, 0.5f, 0.01f);
}

TEST(TilingNoise, RepeatsOverItsPeriodAndNotWithoutOne) {
    float worst_tiled = 0.0f, spread = 0.0f;
    for (int i = 0; i < 64; ++i) {
        const float x = 0.37f * static_cast<float>(i), y = 0.11f * static_cast<float>(i * 7 % 13);
        worst_tiled = std::max(worst_tiled, std::fabs(fbm2(x, y, 5u, 4, 0.5f, 4) - fbm2(x + 4.0f, y - 8.0f, 5u, 4, 0.5f, 4)));
        worst_tiled = std::max(worst_tiled, std::fabs(fbm2_periods(x, y, 9u, 3, 2, 6) - fbm2_periods(x + 2.0f, y + 6.0f, 9u, 3, 2, 6)));
        spread = std::max(spread, std::fabs(fbm2(x, y, 5u, 4) - fbm2(x + 4.0f, y - 8.0f, 5u, 4)));
    }
    EXPECT_LT(worst_tiled, 1e-4f);
    EXPECT_GT(spread, 0.1f);
    // The same inputs give the same values: no hidden state.
    EXPECT_EQ(warped_fbm2(1.3f, 2.7f, 3u, 5, 1.0f), warped_fbm2(1.3f, 2.7f, 3u, 5, 1.0f));
}

}  // namespace
