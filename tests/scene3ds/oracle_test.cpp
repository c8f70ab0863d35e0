// Every scene file written elsewhere loads, and what the reader makes of it agrees with two
// independent readers: lib3ds (meshes, faces, materials, cameras, lights, node hierarchy, key
// counts) and assimp (total triangles).
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
#include <memory>
#include <string>
#include <vector>

#include "platform/debug_output.h"
#include "scene3ds_test_util.h"

namespace {

struct Lib3dsFileDeleter {
    void operator()(Lib3dsFile* f) const { lib3ds_file_free(f); }
};
using Lib3dsFilePtr = std::unique_ptr<Lib3dsFile, Lib3dsFileDeleter>;

// Names are kept to 31 characters by the reader.
std::string short_name(const char* name) { return std::string(name).substr(0, 31); }

std::vector<std::string> scene_files() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VIRELINE_TESTDATA_DIR) + "/3ds")) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (ext == ".3ds") files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

template <typename T>
std::vector<std::string> lib3ds_names(T* list) {
    std::vector<std::string> names;
    for (T* item = list; item != nullptr; item = item->next) names.push_back(short_name(item->name));
    std::sort(names.begin(), names.end());
    return names;
}

template <typename T>
std::vector<std::string> our_names(const std::vector<T*>& list) {
    std::vector<std::string> names;
    for (const T* item : list) names.emplace_back(item->name);
    std::sort(names.begin(), names.end());
    return names;
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

unsigned lin3_key_count(const Lib3dsLin3Track& track) {
    unsigned n = 0;
    for (const Lib3dsLin3Key* k = track.keyL; k != nullptr; k = k->next) ++n;
    return n;
}

class SceneFiles : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(SceneFiles, LoadsAndAgreesWithLib3dsAndAssimp) {
    const std::string path = testdata_3ds(GetParam());
    DebugOutputCapture capture;
    const auto scene = load_3ds_scene(path.c_str());
    ASSERT_NE(scene, nullptr);
    for (const MeshNode* mesh : scene->meshes) {
        EXPECT_EQ(mesh->index_count() % 3, 0u);
        for (std::uint16_t index : mesh->indices) ASSERT_LT(index, mesh->vertex_count()) << mesh->name;
    }
    EXPECT_EQ(scene->evaluation_order.size(), scene->node_registry.size());

    Lib3dsFilePtr oracle(lib3ds_file_load(path.c_str()));
    if (!oracle) {
        // Only the two files that are no scenes at all are refused by lib3ds; we read them as empty.
        EXPECT_TRUE(GetParam() == "empty.3ds" || GetParam() == "wrong.3ds") << GetParam();
        EXPECT_TRUE(scene->meshes.empty());
        EXPECT_TRUE(scene->node_registry.empty());
        return;
    }
    // No valid file loses faces, cuts a list or ends a walk early.
    EXPECT_EQ(capture.text().find("3ds:"), std::string::npos) << capture.text();

    // Meshes: lib3ds keeps them sorted by name.
    std::vector<const MeshNode*> ours(scene->meshes.begin(), scene->meshes.end());
    std::stable_sort(ours.begin(), ours.end(),
                     [](const MeshNode* a, const MeshNode* b) { return std::string(a->name) < std::string(b->name); });
    std::vector<const Lib3dsMesh*> theirs;
    for (const Lib3dsMesh* m = oracle->meshes; m != nullptr; m = m->next) theirs.push_back(m);
    std::stable_sort(theirs.begin(), theirs.end(),
                     [](const Lib3dsMesh* a, const Lib3dsMesh* b) { return std::string(a->name) < std::string(b->name); });
    ASSERT_EQ(ours.size(), theirs.size());
    std::size_t our_faces = 0;
    for (std::size_t i = 0; i < ours.size(); ++i) {
        SCOPED_TRACE(ours[i]->name);
        EXPECT_EQ(ours[i]->name, short_name(theirs[i]->name));
        EXPECT_EQ(ours[i]->vertex_count(), theirs[i]->points);
        EXPECT_EQ(ours[i]->index_count() / 3, theirs[i]->faces);
        our_faces += ours[i]->index_count() / 3;
        if (theirs[i]->faces > 0 && theirs[i]->faceL[theirs[i]->faces - 1].material[0] != '\0') {
            const Material* material = material_at(*scene, ours[i]->material_index);
            ASSERT_NE(material, nullptr);
        }
    }

    std::vector<std::string> materials;
    for (const auto& m : scene->materials) materials.emplace_back(m->name);
    std::sort(materials.begin(), materials.end());
    EXPECT_EQ(materials, lib3ds_names(oracle->materials));
    EXPECT_EQ(our_names(scene->cameras), lib3ds_names(oracle->cameras));
    EXPECT_EQ(our_names(scene->lights), lib3ds_names(oracle->lights));
    for (const LightNode* light : scene->lights) {
        const Lib3dsLight* other = lib3ds_file_light_by_name(oracle.get(), light->name);
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(light->spot != 0, other->spot_light != 0) << light->name;
        if (light->spot) {
            EXPECT_EQ(light->hotspot, other->hot_spot);
            EXPECT_EQ(light->falloff, other->fall_off);
        }
    }

    // Hierarchy and key counts of the object nodes that name one node in each reader.
    std::vector<Lib3dsNode*> nodes;
    collect_nodes(oracle->nodes, &nodes);
    std::map<std::string, int> lib3ds_uses, our_uses;
    for (const Lib3dsNode* n : nodes) ++lib3ds_uses[lib3ds_node_name(n) + "/" + std::to_string(n->type)];
    for (const SceneNode* n : scene->node_registry) ++our_uses[n->name];
    int compared = 0;
    for (const Lib3dsNode* n : nodes) {
        if (n->type != LIB3DS_OBJECT_NODE) continue;
        const std::string name = lib3ds_node_name(n);
        if (lib3ds_uses[name + "/" + std::to_string(n->type)] != 1 || our_uses[name] != 1) continue;
        const auto ours_it = std::find_if(scene->node_registry.begin(), scene->node_registry.end(),
                                          [&](const SceneNode* s) { return name == s->name; });
        ASSERT_NE(ours_it, scene->node_registry.end()) << name;
        const SceneNode* node = *ours_it;
        SCOPED_TRACE(name);
        if (n->parent != nullptr) {
            ASSERT_NE(node->parent, nullptr);
            EXPECT_EQ(node->parent->name, lib3ds_node_name(n->parent));
        } else {
            EXPECT_EQ(node->parent, nullptr);
        }
        EXPECT_EQ(node->position_track.count(), lin3_key_count(n->data.object.pos_track));
        ++compared;
    }
    RecordProperty("compared_nodes", compared);

    // assimp: the same number of triangles (it un-indexes the vertices, so only faces compare).
    Assimp::Importer importer;
    const aiScene* other = importer.ReadFile(path, 0);
    ASSERT_NE(other, nullptr) << importer.GetErrorString();
    std::size_t assimp_faces = 0;
    for (unsigned i = 0; i < other->mNumMeshes; ++i) assimp_faces += other->mMeshes[i]->mNumFaces;
    EXPECT_EQ(our_faces, assimp_faces);
}

INSTANTIATE_TEST_SUITE_P(Testdata, SceneFiles, ::testing::ValuesIn(scene_files()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });
