// Every scene file written elsewhere, and the writer's own, loads, and what the reader makes of it
// agrees with two independent readers: lib3ds (meshes, faces, materials, cameras, lights, node
// hierarchy, key counts) and assimp (total triangles).
#include <gtest/gtest.h>

#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/light.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "platform/debug_output.h"
#include "sample_scenes.h"
#include "scene3ds_test_util.h"

namespace {

using Lib3dsFilePtr = std::unique_ptr<Lib3dsFile, decltype(&lib3ds_file_free)>;

// Names are kept to 31 characters by the reader.
std::string short_name(const char* name) { return std::string(name).substr(0, 31); }

std::vector<std::string> scene_files() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VIRELINE_TESTDATA_DIR) + "/3ds"))
        if (const std::string ext = entry.path().extension().string(); ext == ".3ds" || ext == ".3DS")
            files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
}

template <typename T, typename List>
void expect_same_names(const List& ours, T* theirs) {
    std::multiset<std::string> our_names, their_names;
    for (const auto& item : ours) our_names.insert(item->name);
    for (; theirs != nullptr; theirs = theirs->next) their_names.insert(short_name(theirs->name));
    EXPECT_EQ(our_names, their_names);
}

void collect_nodes(Lib3dsNode* node, std::vector<Lib3dsNode*>* out) {
    for (; node != nullptr; node = node->next) {
        out->push_back(node);
        collect_nodes(node->childs, out);
    }
}

// The name a lib3ds object node goes by in our registry: its instance name for dummies.
std::string lib3ds_node_name(const Lib3dsNode* node) {
    if (node->type == LIB3DS_OBJECT_NODE && std::string(node->name) == "$$$DUMMY" && node->data.object.instance[0])
        return short_name(node->data.object.instance);
    return short_name(node->name);
}

// Reads the file with the reader, lib3ds and assimp, and compares what they make of it. `oracle` gets
// lib3ds's reading, null for a file that it refuses (which the reader must then read as empty).
void expect_agreement(const std::string& path, Lib3dsFilePtr* oracle) {
    DebugOutputCapture capture;
    const auto scene = load_3ds_scene(path.c_str());
    ASSERT_NE(scene, nullptr);
    expect_sound(*scene);
    if (::testing::Test::HasFatalFailure()) return;
    oracle->reset(lib3ds_file_load(path.c_str()));
    if (!*oracle) {
        EXPECT_TRUE(scene->node_registry.empty());
        return;
    }
    const Lib3dsFile& other = **oracle;
    // No valid file loses faces, cuts a list or ends a walk early.
    EXPECT_EQ(capture.text().find("3ds:"), std::string::npos) << capture.text();

    // Meshes by name, vertex and face count.
    std::multiset<std::tuple<std::string, std::size_t, std::size_t>> our_meshes, their_meshes;
    std::size_t our_faces = 0;
    for (const MeshNode* mesh : scene->meshes) {
        our_meshes.emplace(mesh->name, mesh->vertex_count(), mesh->index_count() / 3);
        our_faces += mesh->index_count() / 3;
    }
    for (const Lib3dsMesh* m = other.meshes; m != nullptr; m = m->next)
        their_meshes.emplace(short_name(m->name), m->points, m->faces);
    EXPECT_EQ(our_meshes, their_meshes);

    expect_same_names(scene->materials, other.materials);
    expect_same_names(scene->cameras, other.cameras);
    expect_same_names(scene->lights, other.lights);
    for (const LightNode* light : scene->lights) {
        const Lib3dsLight* their = lib3ds_file_light_by_name(oracle->get(), light->name);
        ASSERT_NE(their, nullptr);
        EXPECT_EQ(light->spot != 0, their->spot_light != 0) << light->name;
        if (light->spot) {
            EXPECT_EQ(light->hotspot, their->hot_spot);
            EXPECT_EQ(light->falloff, their->fall_off);
        }
    }

    // Hierarchy and position key counts of the object nodes that name one node in each reader.
    std::vector<Lib3dsNode*> nodes;
    collect_nodes(other.nodes, &nodes);
    std::map<std::string, int> lib3ds_uses, our_uses;
    for (const Lib3dsNode* n : nodes) ++lib3ds_uses[lib3ds_node_name(n) + "/" + std::to_string(n->type)];
    for (const SceneNode* n : scene->node_registry) ++our_uses[n->name];
    for (const Lib3dsNode* n : nodes) {
        const std::string name = lib3ds_node_name(n);
        if (n->type != LIB3DS_OBJECT_NODE || lib3ds_uses[name + "/" + std::to_string(n->type)] != 1 ||
            our_uses[name] != 1)
            continue;
        SCOPED_TRACE(name);
        const auto ours = std::find_if(scene->node_registry.begin(), scene->node_registry.end(),
                                       [&](const SceneNode* s) { return name == s->name; });
        ASSERT_NE(ours, scene->node_registry.end());
        const SceneNode* parent = (*ours)->parent;
        EXPECT_EQ(parent != nullptr ? std::string(parent->name) : "",
                  n->parent != nullptr ? lib3ds_node_name(n->parent) : "");
        std::size_t keys = 0;
        for (const Lib3dsLin3Key* k = n->data.object.pos_track.keyL; k != nullptr; k = k->next) ++keys;
        EXPECT_EQ((*ours)->position_track.count(), keys);
    }

    // assimp: the same number of triangles (it un-indexes the vertices, so only faces compare).
    Assimp::Importer importer;
    const aiScene* assimp = importer.ReadFile(path, 0);
    ASSERT_NE(assimp, nullptr) << importer.GetErrorString();
    std::size_t assimp_faces = 0;
    for (unsigned i = 0; i < assimp->mNumMeshes; ++i) assimp_faces += assimp->mMeshes[i]->mNumFaces;
    EXPECT_EQ(our_faces, assimp_faces);
}

class SceneFiles : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(SceneFiles, LoadsAndAgreesWithLib3dsAndAssimp) {
    Lib3dsFilePtr oracle(nullptr, lib3ds_file_free);
    expect_agreement(testdata_3ds(GetParam()), &oracle);
    // Only the two files that are no scenes at all are refused by lib3ds.
    EXPECT_TRUE(oracle || GetParam() == "empty.3ds" || GetParam() == "wrong.3ds") << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Testdata, SceneFiles, ::testing::ValuesIn(scene_files()), [](const auto& info) {
    std::string name = info.param;
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
});

// The writer's files are 3D Studio files to the independent readers too.
TEST(WriterRoundTrip, Lib3dsAndAssimpReadTheWrittenFile) {
    const std::string path = std::string(VIRELINE_BINARY_DIR) + "/writer_roundtrip_lib3ds.3ds";
    ASSERT_TRUE(write_3ds_file(path.c_str(), sample_full_scene()));
    Lib3dsFilePtr other(nullptr, lib3ds_file_free);
    expect_agreement(path, &other);
    std::remove(path.c_str());
    ASSERT_NE(other, nullptr);
    // What the comparison leaves out: frame segment, face materials, texels, local axes, material
    // flags and maps, spline parameters and instance names.
    EXPECT_EQ(other->segment_to, 60);
    const Lib3dsMesh* body = lib3ds_file_mesh_by_name(other.get(), "Body");
    ASSERT_NE(body, nullptr);
    EXPECT_STREQ(body->faceL[0].material, "Metal");
    EXPECT_EQ(body->texels, body->points);
    EXPECT_FLOAT_EQ(body->matrix[3][0], 50.0f);
    const Lib3dsMaterial* glass = lib3ds_file_material_by_name(other.get(), "Glass");
    ASSERT_NE(glass, nullptr);
    EXPECT_STREQ(glass->opacity_map.name, "mask.tga");
    EXPECT_TRUE(glass->use_wire);
    EXPECT_NEAR(glass->transparency, 0.5f, 1e-6f);
    const Lib3dsNode* wheel = lib3ds_file_node_by_name(other.get(), "Wheel", LIB3DS_OBJECT_NODE);
    ASSERT_NE(wheel, nullptr);
    const Lib3dsQuatKey* key = wheel->data.object.rot_track.keyL;
    for (int i = 0; i < 2 && key != nullptr; ++i) key = key->next;
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->tcb.frame, 24);
    EXPECT_EQ(key->tcb.flags, 0x1F);
    EXPECT_FLOAT_EQ(key->tcb.tens, 0.1f);
    EXPECT_FLOAT_EQ(key->tcb.ease_from, 0.5f);
    const Lib3dsNode* car = lib3ds_file_node_by_name(other.get(), "$$$DUMMY", LIB3DS_OBJECT_NODE);
    ASSERT_NE(car, nullptr);
    EXPECT_STREQ(car->data.object.instance, "Car");
}
