// The generated scenes: each reads cleanly with our reader and agrees with lib3ds and assimp, stays
// within what the reader and the scene object handle, names only pictures the generator wrote, and
// gives the demo parts the cameras and the meshes they take from it.
#include <gtest/gtest.h>

#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/light.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "content_test_util.h"
#include "platform/debug_output.h"
#include "scene3ds/keyframe_eval.h"
#include "scene3ds/load_3ds.h"

namespace {

std::unique_ptr<Scene3ds> load(const std::string& file, std::string* said = nullptr) {
    DebugOutputCapture capture;
    auto scene = load_3ds_scene(content_path(file).c_str());
    if (said != nullptr) *said = capture.text();
    return scene;
}

void animate(Scene& scene, float time) {
    for (SceneNode* node : scene.evaluation_order) evaluate_node(node, time);
}

float distance(const Vector3& a, const Vector3& b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

template <typename T>
std::multiset<std::string> names(T* list) {
    std::multiset<std::string> out;
    for (; list != nullptr; list = list->next) out.insert(std::string(list->name).substr(0, 31));
    return out;
}

class GeneratedScene : public ::testing::TestWithParam<std::string> {};

TEST_P(GeneratedScene, ReadsCleanlyWithinTheLimitsAndAgreesWithLib3dsAndAssimp) {
    std::string said;
    const auto scene = load(GetParam(), &said);
    ASSERT_NE(scene, nullptr);
    // The reader's only line for a good file is its note on each camera target.
    std::string rest = said;
    for (std::size_t at; (at = rest.find("camera target\n")) != std::string::npos;) rest.erase(at, 14);
    EXPECT_EQ(rest, "");

    ASSERT_FALSE(scene->meshes.empty());
    EXPECT_LE(scene->meshes.size(), 256u);
    EXPECT_LE(scene->lights.size(), 7u);
    EXPECT_GT(scene->end_frame, 0);
    ASSERT_FALSE(scene->materials.empty());
    for (const MeshNode* mesh : scene->meshes) {
        SCOPED_TRACE(mesh->name);
        EXPECT_GE(mesh->material_index, 0);
        EXPECT_LT(static_cast<std::size_t>(mesh->material_index), scene->materials.size());
        EXPECT_LT(mesh->vertex_count(), 32768u);
        EXPECT_GT(mesh->index_count(), 0u);
        EXPECT_FALSE(mesh->rotation_track.empty());
        EXPECT_FALSE(mesh->scale_track.empty());
        EXPECT_FALSE(mesh->position_track.empty());
    }
    for (const SceneNode* node : scene->node_registry) EXPECT_GE(node->node_id, 0) << node->name;
    // Every map a material names is a picture the generator wrote beside the others.
    for (const auto& m : scene->materials) {
        for (const auto& [bit, map] : {std::pair{MATERIAL_MAP_TEXTURE, &m->texture_map}, std::pair{MATERIAL_MAP_OPACITY, &m->opacity_map},
                                       std::pair{MATERIAL_MAP_REFLECTION, &m->reflection_map}}) {
            if (m->has_map(bit)) {
                EXPECT_TRUE(std::filesystem::exists(content_path(std::string("maps/") + map->file_name))) << map->file_name;
            }
        }
    }

    std::unique_ptr<Lib3dsFile, decltype(&lib3ds_file_free)> other(lib3ds_file_load(content_path(GetParam()).c_str()), lib3ds_file_free);
    ASSERT_NE(other, nullptr);
    std::multiset<std::tuple<std::string, std::size_t, std::size_t>> ours, theirs;
    std::size_t our_faces = 0;
    for (const MeshNode* mesh : scene->meshes) {
        ours.emplace(mesh->name, mesh->vertex_count(), mesh->index_count() / 3);
        our_faces += mesh->index_count() / 3;
    }
    for (const Lib3dsMesh* m = other->meshes; m != nullptr; m = m->next) theirs.emplace(std::string(m->name).substr(0, 31), m->points, m->faces);
    EXPECT_EQ(ours, theirs);
    std::multiset<std::string> materials, cameras, lights;
    for (const auto& m : scene->materials) materials.insert(m->name);
    for (const CameraNode* c : scene->cameras) cameras.insert(c->name);
    for (const LightNode* l : scene->lights) lights.insert(l->name);
    EXPECT_EQ(materials, names(other->materials));
    EXPECT_EQ(cameras, names(other->cameras));
    EXPECT_EQ(lights, names(other->lights));

    Assimp::Importer importer;
    const aiScene* assimp = importer.ReadFile(content_path(GetParam()), 0);
    ASSERT_NE(assimp, nullptr) << importer.GetErrorString();
    std::size_t assimp_faces = 0;
    for (unsigned i = 0; i < assimp->mNumMeshes; ++i) assimp_faces += assimp->mMeshes[i]->mNumFaces;
    EXPECT_EQ(our_faces, assimp_faces);
}

INSTANTIATE_TEST_SUITE_P(Content, GeneratedScene, ::testing::ValuesIn(manifest_with_prefix("scenes/")),
                         [](const auto& info) { return param_name(info.param); });

// What the demo parts ask of each scene they draw: how many cameras, which of them must come back
// to their start at the end frame because a part loops the scene through them, and the least end
// frame the parts' timing needs.
struct SceneUse {
    const char* file;
    std::size_t cameras;
    std::set<std::size_t> looping;
    int least_end;
};

const SceneUse kUses[] = {
    {"scenes/outous.3ds", 2, {0}, 150},      // camera 1 for 150 frames, then camera 0 looping
    {"scenes/kanjoni.3ds", 2, {0}, 400},     // camera 0 for 400 frames (looping), camera 1 at frame 20
    {"scenes/altaat.3ds", 2, {1}, 300},      // camera 1 from 100 to end − 100, and looping in part 9
    {"scenes/taustaa.3ds", 1, {0}, 100},
    {"scenes/planet.3ds", 1, {0}, 100},
};

void PrintTo(const SceneUse& use, std::ostream* out) { *out << use.file; }

class SceneCameras : public ::testing::TestWithParam<SceneUse> {};

TEST_P(SceneCameras, ExistWithTargetsAndMoveSmoothly) {
    const SceneUse& use = GetParam();
    const auto scene = load(use.file);
    ASSERT_NE(scene, nullptr);
    ASSERT_GE(scene->cameras.size(), use.cameras);
    EXPECT_GE(scene->end_frame, use.least_end);
    for (const CameraNode* camera : scene->cameras) ASSERT_NE(camera->target, nullptr) << camera->name;

    for (std::size_t c = 0; c < scene->cameras.size(); ++c) {
        SCOPED_TRACE(scene->cameras[c]->name);
        std::vector<Vector3> eyes, targets;
        for (int f = 0; f <= scene->end_frame; ++f) {
            animate(*scene, static_cast<float>(f));
            eyes.push_back(node_position(*scene->cameras[c]));
            targets.push_back(node_position(*scene->cameras[c]->target));
            EXPECT_GT(scene->cameras[c]->field_of_view, 20.0f);
            EXPECT_LT(scene->cameras[c]->field_of_view, 100.0f);
            EXPECT_GT(distance(eyes.back(), targets.back()), 0.1f) << "frame " << f;
        }
        // No jitter: from frame to frame the speed changes by little (second differences).
        float worst = 0.0f;
        for (std::size_t f = 2; f < eyes.size(); ++f) {
            const Vector3 a = eyes[f - 2], b = eyes[f - 1], e = eyes[f];
            worst = std::max(worst, std::hypot(e.x - 2 * b.x + a.x, e.y - 2 * b.y + a.y, e.z - 2 * b.z + a.z));
        }
        EXPECT_LT(worst, 0.02f);
        if (use.looping.count(c) != 0) {
            EXPECT_LT(distance(eyes.front(), eyes.back()), 0.05f);
            EXPECT_LT(distance(targets.front(), targets.back()), 0.05f);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Content, SceneCameras, ::testing::ValuesIn(kUses),
                         [](const auto& info) { return param_name(info.param.file); });

TEST(OutousScene, KeepsTheBlobInTheMiddleOfCameraZeroAndEndsCameraOneOnIt) {
    const auto scene = load("scenes/outous.3ds");
    ASSERT_NE(scene, nullptr);
    ASSERT_GE(scene->cameras.size(), 2u);
    const Vector3 blob{0.0f, 3.2f, 0.0f};
    for (int f = 0; f <= scene->end_frame; f += 5) {
        animate(*scene, static_cast<float>(f));
        EXPECT_LT(distance(node_position(*scene->cameras[0]->target), blob), 0.5f) << f;
        const float d = distance(node_position(*scene->cameras[0]), blob);
        EXPECT_GT(d, 3.0f) << f;
        EXPECT_LT(d, 10.0f) << f;
    }
    animate(*scene, 150.0f);
    EXPECT_LT(distance(node_position(*scene->cameras[1]->target), blob), 0.5f);
}

TEST(AltaatScene, KeepsTheWaterInViewOfBothCameras) {
    const auto scene = load("scenes/altaat.3ds");
    ASSERT_NE(scene, nullptr);
    ASSERT_GE(scene->cameras.size(), 2u);
    // The water grid's middle, where the demo places it.
    const Vector3 water{-0.046875f, -0.2f, 0.93f};
    for (int f = 0; f <= scene->end_frame; f += 10) {
        animate(*scene, static_cast<float>(f));
        for (int c : {0, 1}) {
            const Vector3 eye = node_position(*scene->cameras[static_cast<std::size_t>(c)]);
            const Vector3 at = node_position(*scene->cameras[static_cast<std::size_t>(c)]->target);
            // The water's middle lies within 15 degrees of where the camera looks, and the camera is above it.
            const Vector3 look{at.x - eye.x, at.y - eye.y, at.z - eye.z}, to{water.x - eye.x, water.y - eye.y, water.z - eye.z};
            const float cosine = (look.x * to.x + look.y * to.y + look.z * to.z) /
                                 (std::hypot(look.x, look.y, look.z) * std::hypot(to.x, to.y, to.z));
            EXPECT_GT(cosine, std::cos(15.0f * 3.14159265f / 180.0f)) << "camera " << c << " frame " << f;
            EXPECT_GT(eye.y, 0.5f) << "camera " << c << " frame " << f;
        }
    }
}

// The meshes effects take out of scenes, in the units the effects see (file units, as the mesh
// records scale positions back by 100 and add the node's first position key).
struct EffectMesh {
    const char* file;
    std::uint32_t least_vertices, most_vertices;
    float least_extent[3], most_extent[3];  // half sizes along x, y, z
};

const EffectMesh kEffectMeshes[] = {
    // The echo shells' and the spiral's sphere: seen from 200 units, strung 64 × scale apart.
    {"scenes/pallo.3ds", 200, 8000, {30, 30, 30}, {60, 60, 60}},
    // The repulsor's box: bends smoothly, within 16-bit indices, and fits the part's view.
    {"scenes/boxi.3ds", 2000, 32767, {35, 35, 35}, {60, 60, 60}},
    // The tunnel: a tube round the z axis reaching past where its cameras sit and look.
    {"scenes/cylinder.3ds", 200, 32767, {5, 5, 100}, {40, 40, 400}},
};

void PrintTo(const EffectMesh& m, std::ostream* out) { *out << m.file; }

class EffectMeshes : public ::testing::TestWithParam<EffectMesh> {};

TEST_P(EffectMeshes, HaveObjectZeroWithTextureCoordinatesAndTheSizeTheEffectNeeds) {
    const EffectMesh& want = GetParam();
    const auto scene = load(want.file);
    ASSERT_NE(scene, nullptr);
    const MeshNode* mesh = mesh_at(scene->meshes, 0);
    ASSERT_NE(mesh, nullptr);
    EXPECT_GE(mesh->vertex_count(), want.least_vertices);
    EXPECT_LE(mesh->vertex_count(), want.most_vertices);
    const Vector3 t = node_position(*mesh);
    float low[3] = {1e9f, 1e9f, 1e9f}, high[3] = {-1e9f, -1e9f, -1e9f}, u_low = 1e9f, u_high = -1e9f, v_low = 1e9f, v_high = -1e9f;
    for (const SceneVertex& v : mesh->vertices) {
        const float p[3] = {(v.x + t.x) * 100.0f, (v.y + t.y) * 100.0f, (v.z + t.z) * 100.0f};
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], p[k]);
            high[k] = std::max(high[k], p[k]);
        }
        u_low = std::min(u_low, v.tu);
        u_high = std::max(u_high, v.tu);
        v_low = std::min(v_low, v.tv);
        v_high = std::max(v_high, v.tv);
    }
    for (int k = 0; k < 3; ++k) {
        const float half = (high[k] - low[k]) * 0.5f;
        EXPECT_GE(half, want.least_extent[k]) << "axis " << k;
        EXPECT_LE(half, want.most_extent[k]) << "axis " << k;
    }
    EXPECT_GE(u_high - u_low, 0.99f);
    EXPECT_GE(v_high - v_low, 0.99f);
}

INSTANTIATE_TEST_SUITE_P(Content, EffectMeshes, ::testing::ValuesIn(kEffectMeshes),
                         [](const auto& info) { return param_name(info.param.file); });

TEST(CylinderScene, SurroundsTheTunnelCamerasAndRepeatsItsPictureBothWays) {
    const auto scene = load("scenes/cylinder.3ds");
    ASSERT_NE(scene, nullptr);
    const MeshNode* tube = mesh_at(scene->meshes, 0);
    ASSERT_NE(tube, nullptr);
    // The keyframed loader places the tube by its node at frame 0: it must stay where it was built.
    evaluate_node(const_cast<MeshNode*>(tube), 0.0f);
    const Vector3 at = node_position(*tube);
    EXPECT_NEAR(at.x, 0.0f, 1e-6f);
    EXPECT_NEAR(at.y, 0.0f, 1e-6f);
    EXPECT_NEAR(at.z, 0.0f, 1e-6f);
    float z_low = 1e9f, z_high = -1e9f, r_low = 1e9f, u_span = 0.0f, v_span = 0.0f;
    float u_low = 1e9f, u_high = -1e9f, v_low = 1e9f, v_high = -1e9f;
    for (const SceneVertex& v : tube->vertices) {
        z_low = std::min(z_low, v.z * 100.0f);
        z_high = std::max(z_high, v.z * 100.0f);
        r_low = std::min(r_low, std::hypot(v.x, v.y) * 100.0f);
        u_low = std::min(u_low, v.tu);
        u_high = std::max(u_high, v.tu);
        v_low = std::min(v_low, v.tv);
        v_high = std::max(v_high, v.tv);
    }
    u_span = u_high - u_low;
    v_span = v_high - v_low;
    // Cameras on the axis from z −50 to 40, seeing up to 100 ahead: open all round the axis.
    EXPECT_LE(z_low, -60.0f);
    EXPECT_GE(z_high, 140.0f);
    EXPECT_GT(r_low, 5.0f);
    EXPECT_GE(u_span, 2.0f);
    EXPECT_GE(v_span, 4.0f);
}

TEST(PlanetScene, GivesEveryMeshTextureCoordinates) {
    const auto scene = load("scenes/planet.3ds");
    ASSERT_NE(scene, nullptr);
    for (const MeshNode* mesh : scene->meshes) {
        float u_low = 1e9f, u_high = -1e9f, v_low = 1e9f, v_high = -1e9f;
        for (const SceneVertex& v : mesh->vertices) {
            u_low = std::min(u_low, v.tu);
            u_high = std::max(u_high, v.tu);
            v_low = std::min(v_low, v.tv);
            v_high = std::max(v_high, v.tv);
        }
        EXPECT_GT(u_high - u_low, 0.5f) << mesh->name;
        EXPECT_GT(v_high - v_low, 0.5f) << mesh->name;
    }
}

}  // namespace
