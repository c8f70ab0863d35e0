// The nodes of a scene: triangle meshes, cameras, lights, target nodes (camera targets and spot-light
// nodes) and dummy nodes. Every node has a name, the keyframer's node and parent ids, a position track
// and its current world matrix; each kind adds its own data and tracks. Links between nodes (parent,
// camera target, spot node) are references to nodes that the scene owns. The model holds no device
// resources: whoever draws a mesh keeps its device buffers beside it.
#pragma once

#include <cstdint>
#include <vector>

#include "math/matrix.h"
#include "math/vector3.h"
#include "scene3ds/keyframe_track.h"
#include "scene3ds/scene_vertex.h"

enum class NodeKind : std::int32_t { Mesh = 0, Camera = 1, Light = 2, Target = 3, Dummy = 4 };

constexpr int SCENE_NODE_NAME_SIZE = 32;

struct SceneNode {
    explicit SceneNode(NodeKind node_kind);
    virtual ~SceneNode() = default;
    SceneNode(const SceneNode&) = delete;
    SceneNode& operator=(const SceneNode&) = delete;

    NodeKind kind;
    char name[SCENE_NODE_NAME_SIZE] = {};
    std::int32_t node_id = -1;    // set by the keyframer's node header
    std::int32_t parent_id = -1;  // -1: no parent
    Matrix matrix;                // current world transform; identity at creation
    SceneNode* parent = nullptr;  // resolved by link_nodes
    PositionTrack position_track;
};

struct MeshNode : SceneNode {
    MeshNode() : SceneNode(NodeKind::Mesh) {}

    std::uint32_t vertex_count() const { return static_cast<std::uint32_t>(vertices.size()); }
    std::uint32_t index_count() const { return static_cast<std::uint32_t>(indices.size()); }

    std::vector<SceneVertex> vertices;
    std::vector<std::uint16_t> indices;  // three per triangle, every one below vertex_count()
    std::int32_t material_index = 0;
    Vector3 pivot;
    Vector3 bounding_centre;
    Vector3 farthest_vertex;
    ScaleTrack scale_track;
    RotationTrack rotation_track;
    std::uint8_t visible = 1;
};

struct TargetNode : SceneNode {
    TargetNode() : SceneNode(NodeKind::Target) {}
};

struct CameraNode : SceneNode {
    CameraNode() : SceneNode(NodeKind::Camera) {}

    float field_of_view = 90.0f;  // degrees
    ScalarTrack roll_track;       // kept, never evaluated
    ScalarTrack fov_track;
    TargetNode* target = nullptr;
};

struct LightNode : SceneNode {
    LightNode() : SceneNode(NodeKind::Light) {}

    float hotspot = 0.0f;  // degrees
    float falloff = 0.0f;  // degrees
    float r = 0.0f, g = 0.0f, b = 0.0f;
    std::uint8_t spot = 0;
    TargetNode* spot_node = nullptr;
};

struct DummyNode : SceneNode {
    DummyNode() : SceneNode(NodeKind::Dummy) {}

    RotationTrack rotation_track;
    ScaleTrack scale_track;
    Vector3 pivot;
};

// "mesh", "camera", "light", "target" or "dummy".
const char* node_kind_name(NodeKind kind);
