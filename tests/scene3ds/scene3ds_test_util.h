// Helpers shared by the 3DS tests: loading written bytes, small scenes described in file terms, the
// invariants every loaded scene keeps however bad its file, and comparisons of vectors and matrices.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "math/matrix.h"
#include "math/vector3.h"
#include "scene3ds/keyframe_eval.h"
#include "scene3ds/load_3ds.h"
#include "scene3ds_writer/write_3ds.h"

inline std::unique_ptr<Scene3ds> load_bytes(const std::vector<std::uint8_t>& bytes) {
    return load_3ds_scene_memory(bytes.data(), bytes.size());
}

inline std::unique_ptr<Scene3ds> load_written(const File3dsScene& scene) { return load_bytes(write_3ds(scene)); }

inline std::string testdata_3ds(const std::string& file) { return std::string(VIRELINE_TESTDATA_DIR) + "/3ds/" + file; }

inline Vector3 vertex_position(const SceneVertex& v) { return {v.x, v.y, v.z}; }
inline Vector3 vertex_normal(const SceneVertex& v) { return {v.nx, v.ny, v.nz}; }

inline void expect_vector_near(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void expect_matrix_near(const Matrix& actual, const Matrix& expected, float tolerance = 1e-5f) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(actual.m[i][j], expected.m[i][j], tolerance) << "m" << i + 1 << j + 1;
}

// A mesh in file terms; by default one triangle in the file's XY plane, counter-clockwise seen from +Z.
inline File3dsMesh make_mesh(std::string name,
                             std::vector<File3dsPoint> vertices = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}},
                             std::vector<File3dsFace> faces = {{0, 1, 2}}) {
    return {std::move(name), std::move(vertices), {}, {}, std::move(faces), {}};
}

// A light at the origin without a colour of its own, and a camera at the origin with a 50 mm lens.
inline File3dsLight make_light(std::string name, std::optional<File3dsSpot> spot = {}) { return {name, {}, {}, spot}; }
inline File3dsCamera make_camera(std::string name) { return {std::move(name), {}, {}, 0.0f, 50.0f}; }

template <typename Value>
File3dsTrack<Value> track(std::vector<std::pair<std::uint32_t, Value>> keys) {
    File3dsTrack<Value> t;
    for (const auto& [frame, value] : keys) t.keys.push_back({frame, value, {}});
    return t;
}

// A keyframer node with one position key, as 3D Studio writes for every node.
inline File3dsNode file_node(File3dsNodeChunk chunk, std::string name, std::int16_t id, std::int16_t parent = -1,
                             File3dsPoint at = {}) {
    File3dsNode node;
    node.chunk = chunk;
    node.node_id = id;
    node.name = std::move(name);
    node.parent = parent;
    node.position = track<File3dsPoint>({{0, at}});
    return node;
}

// A file with these objects and, when there are nodes, a keyframer.
inline File3dsScene file_scene(std::vector<File3dsObject> objects, std::vector<File3dsNode> nodes = {}) {
    const bool keyframer = !nodes.empty();
    return {{}, std::move(objects), keyframer, {}, std::move(nodes)};
}

// What every loaded scene must satisfy, however bad its file: indices inside the vertices, material
// indices inside the materials, terminated names, links into the registry, parents evaluated before
// their children, and every node evaluates at any time.
inline void expect_sound(Scene3ds& scene) {
    for (const MeshNode* mesh : scene.meshes) {
        ASSERT_EQ(mesh->index_count() % 3, 0u) << mesh->name;
        for (std::uint16_t index : mesh->indices) ASSERT_LT(index, mesh->vertex_count()) << mesh->name;
        ASSERT_TRUE(mesh->material_index == 0 ||
                    static_cast<std::size_t>(mesh->material_index) < scene.materials.size());
    }
    const std::set<const SceneNode*> registry(scene.node_registry.begin(), scene.node_registry.end());
    ASSERT_EQ(scene.evaluation_order.size(), scene.node_registry.size());
    std::set<const SceneNode*> done;
    for (const SceneNode* node : scene.evaluation_order) {
        ASSERT_LT(strnlen(node->name, sizeof node->name), sizeof node->name);
        ASSERT_TRUE(node->parent == nullptr || done.count(node->parent)) << node->name << ": parent after child";
        done.insert(node);
    }
    ASSERT_EQ(done, registry);
    for (const CameraNode* camera : scene.cameras)
        ASSERT_TRUE(camera->target == nullptr || registry.count(camera->target));
    for (const LightNode* light : scene.lights)
        ASSERT_TRUE(light->spot_node == nullptr || registry.count(light->spot_node));
    for (const auto& material : scene.materials) {
        ASSERT_LT(strnlen(material->name, sizeof material->name), sizeof material->name);
        const auto& map = material->texture_map.file_name;
        ASSERT_LT(strnlen(map, sizeof map), sizeof map);
    }
    for (float t : {-3.0f, 0.0f, 17.5f, 1e9f})
        for (SceneNode* node : scene.evaluation_order) evaluate_node(node, t);
}
