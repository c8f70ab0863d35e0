#include "scene3ds/scene.h"

Scene::~Scene() = default;

MeshNode* Scene3ds::add_mesh() {
    MeshNode* node = adopt(std::make_unique<MeshNode>());
    meshes.push_back(node);
    node_registry.push_back(node);
    return node;
}

CameraNode* Scene3ds::add_camera() {
    CameraNode* node = adopt(std::make_unique<CameraNode>());
    cameras.push_back(node);
    node_registry.push_back(node);
    return node;
}

LightNode* Scene3ds::add_light() {
    LightNode* node = adopt(std::make_unique<LightNode>());
    lights.push_back(node);
    node_registry.push_back(node);
    return node;
}

TargetNode* Scene3ds::add_target() {
    TargetNode* node = adopt(std::make_unique<TargetNode>());
    node_registry.push_back(node);
    return node;
}

DummyNode* Scene3ds::add_dummy() {
    DummyNode* node = adopt(std::make_unique<DummyNode>());
    dummies.push_back(node);
    node_registry.push_back(node);
    return node;
}

Material* Scene3ds::add_material() {
    materials.push_back(std::make_unique<Material>());
    return materials.back().get();
}

MeshNode* mesh_at(const std::vector<MeshNode*>& meshes, std::size_t i) {
    return i < meshes.size() ? meshes[i] : nullptr;
}

Material* material_at(const Scene& scene, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= scene.materials.size()) return nullptr;
    return scene.materials[static_cast<std::size_t>(index)].get();
}

Vector3 node_position(const SceneNode& node) {
    return Vector3(node.matrix.m[3][0], node.matrix.m[3][1], node.matrix.m[3][2]);
}
