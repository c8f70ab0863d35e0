// The writer and the reader agree: a scene that uses every chunk the reader understands is written,
// read back and compared with its description (the scene-info and oracle tests read it too).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "platform/debug_output.h"
#include "sample_scenes.h"
#include "scene3ds_test_util.h"

namespace {

Vector3 converted(const File3dsPoint& p) { return Vector3(p.x, p.z, p.y) * 0.01f; }

}  // namespace

TEST(WriterRoundTrip, EveryChunkReadsBackAsDescribed) {
    const File3dsScene file = sample_full_scene();
    DebugOutputCapture capture;
    const auto scene = load_written(file);
    EXPECT_EQ(capture.text(), "camera target\ncamera target\n");  // and no complaint

    // Meshes in file order: Body has local axes (file X → Y, Y → -X, origin (50, 60, 70)) and a pivot
    // (5, 5, 5); Wheel has neither, so its vertices are the file's, converted. Faces turn round.
    std::vector<File3dsMesh> meshes;
    for (const File3dsObject& object : file.objects)
        if (const auto* mesh = std::get_if<File3dsMesh>(&object)) meshes.push_back(*mesh);
    ASSERT_EQ(scene->meshes.size(), meshes.size());
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        const MeshNode* mesh = scene->meshes[m];
        const File3dsMesh& want = meshes[m];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(mesh->name, want.name);
        ASSERT_EQ(mesh->vertex_count(), want.vertices.size());
        ASSERT_EQ(mesh->index_count(), 3 * want.faces.size());
        for (std::size_t i = 0; i < want.vertices.size(); ++i) {
            const File3dsPoint& p = want.vertices[i];
            const Vector3 body = converted({p.y - 60, -(p.x - 50), p.z - 70}) - converted({5, 5, 5});
            expect_vector_near(vertex_position(mesh->vertices[i]), m == 0 ? body : converted(p));
            if (!want.texture_coords.empty()) {
                EXPECT_EQ(mesh->vertices[i].tv, -want.texture_coords[i][1]);
            }
        }
        for (std::size_t f = 0; f < want.faces.size(); ++f)
            EXPECT_EQ((std::array{mesh->indices[3 * f], mesh->indices[3 * f + 1], mesh->indices[3 * f + 2]}),
                      (std::array{want.faces[f].a, want.faces[f].c, want.faces[f].b}));
    }
    expect_vector_near(scene->meshes[0]->pivot, converted({5, 5, 5}));

    // Keyframer: the dummy's pivot and tracks, the camera's field of view, every node's positions,
    // and five relative turns of 0.1 about file Z, one of them with every spline parameter.
    ASSERT_EQ(scene->dummies.size(), 1u);
    const DummyNode* car = scene->dummies[0];
    expect_vector_near(car->pivot, converted({10, 20, 30}));
    EXPECT_EQ(car->rotation_track.count(), 4u);
    EXPECT_EQ(car->scale_track.keys.at(1).frame, 60);
    EXPECT_EQ(scene->cameras.at(0)->fov_track.keys.at(1).value, 41.0f);
    ASSERT_EQ(scene->node_registry.size(), 10u);
    for (const SceneNode* node : scene->node_registry) {
        SCOPED_TRACE(node->name);
        ASSERT_EQ(node->position_track.count(), 3u);
        EXPECT_EQ(node->position_track.keys[2].frame, 30);
        expect_vector_near(node->position_track.keys[1].position,
                           converted({100.0f * std::cos(0.3f), 100.0f * std::sin(0.3f), 10.0f}));
    }
    ASSERT_EQ(scene->meshes[1]->rotation_track.count(), 5u);
    EXPECT_NEAR(scene->meshes[1]->rotation_track.keys[4].rotation.w, std::cos(0.2f), 1e-5f);
}
