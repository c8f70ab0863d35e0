// Helpers shared by the 3DS tests: loading written bytes, small scenes described in file terms,
// and comparisons of vectors and matrices.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "math/matrix.h"
#include "math/vector3.h"
#include "scene3ds/load_3ds.h"
#include "scene3ds_writer/write_3ds.h"

inline std::unique_ptr<Scene3ds> load_bytes(const std::vector<std::uint8_t>& bytes) {
    return load_3ds_scene_memory(bytes.data(), bytes.size());
}

inline std::unique_ptr<Scene3ds> load_written(const File3dsScene& scene) { return load_bytes(write_3ds(scene)); }

inline void expect_vector_near(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void expect_matrix_near(const Matrix& actual, const Matrix& expected, float tolerance = 1e-5f) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(actual.m[i][j], expected.m[i][j], tolerance) << "m" << i + 1 << j + 1;
}

// A mesh in file terms with one triangle per face listed.
inline File3dsMesh make_mesh(const std::string& name, std::vector<File3dsPoint> vertices,
                             std::vector<File3dsFace> faces) {
    File3dsMesh mesh;
    mesh.name = name;
    mesh.vertices = std::move(vertices);
    mesh.faces = std::move(faces);
    return mesh;
}

// A unit-ish triangle in the file's XY plane, wound counter-clockwise seen from +Z.
inline File3dsMesh triangle_mesh(const std::string& name) {
    return make_mesh(name, {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}}, {{0, 1, 2}});
}

template <typename Value>
File3dsTrack<Value> track(std::vector<std::pair<std::uint32_t, Value>> keys) {
    File3dsTrack<Value> t;
    for (auto& [frame, value] : keys) {
        File3dsKey<Value> key;
        key.frame = frame;
        key.value = value;
        t.keys.push_back(key);
    }
    return t;
}

inline File3dsNode object_node(const std::string& name, std::int16_t id, std::int16_t parent = -1) {
    File3dsNode node;
    node.chunk = File3dsNodeChunk::Object;
    node.node_id = id;
    node.name = name;
    node.parent = parent;
    node.position = track<File3dsPoint>({{0, {0, 0, 0}}});
    node.rotation = track<File3dsRotation>({{0, {0, {0, 0, 0}}}});
    node.scale = track<File3dsPoint>({{0, {1, 1, 1}}});
    return node;
}

inline std::string testdata_3ds(const std::string& file) { return std::string(VIRELINE_TESTDATA_DIR) + "/3ds/" + file; }
