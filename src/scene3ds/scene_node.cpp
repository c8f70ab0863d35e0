#include "scene3ds/scene_node.h"

SceneNode::SceneNode(NodeKind node_kind) : kind(node_kind) { matrix_identity(&matrix); }

const char* node_kind_name(NodeKind kind) {
    switch (kind) {
        case NodeKind::Mesh: return "mesh";
        case NodeKind::Camera: return "camera";
        case NodeKind::Light: return "light";
        case NodeKind::Target: return "target";
        case NodeKind::Dummy: return "dummy";
    }
    return "unknown";
}
