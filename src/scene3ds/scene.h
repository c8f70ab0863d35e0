// The in-memory form of a loaded 3D Studio scene. Scene holds what users of a scene need: meshes,
// cameras, lights and dummies in file order, the materials that meshes refer to by position, the
// evaluation order (parents before children) and the frame segment. Scene3ds, which the reader returns,
// adds the node registry (every node in creation order) and the keyframer's camera-target and
// spot-node tables that link_nodes hands out. The scene owns every node, material, track and key;
// deleting it through Scene releases everything.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "math/vector3.h"
#include "scene3ds/material.h"
#include "scene3ds/scene_node.h"

class Scene {
public:
    Scene() = default;
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    std::vector<MeshNode*> meshes;
    std::vector<CameraNode*> cameras;
    std::vector<LightNode*> lights;
    std::vector<std::unique_ptr<Material>> materials;
    std::vector<DummyNode*> dummies;
    std::vector<SceneNode*> evaluation_order;
    std::int32_t start_frame = 0;
    std::int32_t end_frame = 0;

protected:
    // Takes ownership of a node; returns it.
    template <typename Node>
    Node* adopt(std::unique_ptr<Node> node) {
        Node* raw = node.get();
        owned_nodes_.push_back(std::move(node));
        return raw;
    }

private:
    std::vector<std::unique_ptr<SceneNode>> owned_nodes_;
};

constexpr int SCENE_TARGET_TABLE_SIZE = 64;

class Scene3ds : public Scene {
public:
    // Creates a node of the given kind, appends it to the registry and to the list of its kind
    // (meshes, cameras, lights, dummies; target nodes are only in the registry) and returns it.
    MeshNode* add_mesh();
    CameraNode* add_camera();
    LightNode* add_light();
    TargetNode* add_target();
    DummyNode* add_dummy();
    Material* add_material();

    // Every node in creation order: editor objects as the file lists them, then the keyframer's
    // target and dummy nodes.
    std::vector<SceneNode*> node_registry;

    // Camera-target and spot-light nodes of the keyframer, in file order; further ones are not listed.
    std::array<TargetNode*, SCENE_TARGET_TABLE_SIZE> camera_targets{};
    int camera_target_count = 0;
    std::array<TargetNode*, SCENE_TARGET_TABLE_SIZE> spot_nodes{};
    int spot_node_count = 0;
};

// The i-th mesh, or null when i is not less than the number of meshes.
MeshNode* mesh_at(const std::vector<MeshNode*>& meshes, std::size_t i);

// The material at a mesh's material index, or null when the index names no material.
Material* material_at(const Scene& scene, std::int32_t index);

// Row 4 of the node's matrix: its current position.
Vector3 node_position(const SceneNode& node);
