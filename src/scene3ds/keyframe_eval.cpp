#include "scene3ds/keyframe_eval.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "math/matrix.h"
#include "math/quaternion.h"
#include "scene3ds/scene_node.h"

namespace {

// The keys around a time: `to` is null when the last key applies unchanged.
template <typename Key>
struct Interval {
    const Key* from = nullptr;
    const Key* to = nullptr;
    float s = 0.0f;
};

// Keys are searched from the first: the first interval with from.frame <= trunc(time) < to.frame
// wins. Times before the first key, at or after the last, or NaN fall back to the last key.
template <typename Key>
Interval<Key> find_interval(const std::vector<Key>& keys, float time) {
    Interval<Key> result;
    if (keys.empty()) return result;
    const double f = std::trunc(static_cast<double>(time));
    for (std::size_t i = 1; i < keys.size(); ++i) {
        const Key& a = keys[i - 1];
        const Key& b = keys[i];
        if (static_cast<double>(a.frame) <= f && f < static_cast<double>(b.frame)) {
            result.from = &a;
            result.to = &b;
            const float span = static_cast<float>(static_cast<double>(b.frame) - static_cast<double>(a.frame));
            result.s = (time - static_cast<float>(a.frame)) / span;
            return result;
        }
    }
    result.from = &keys.back();
    return result;
}

Vector3 blend(const Vector3& a, const Vector3& b, float s) {
    return Vector3(a.x + s * (b.x - a.x), a.y + s * (b.y - a.y), a.z + s * (b.z - a.z));
}

// M ← M·T.
void sample_position(Matrix* m, const PositionTrack& track, float time) {
    const Interval<PositionKey> k = find_interval(track.keys, time);
    if (k.from == nullptr) return;
    const Vector3 p = k.to != nullptr ? blend(k.from->position, k.to->position, k.s) : k.from->position;
    Matrix t;
    matrix_translation(&t, p.x, p.y, p.z);
    matrix_multiply(m, m, &t);
}

// M ← M·R.
void sample_rotation(Matrix* m, const RotationTrack& track, float time) {
    const Interval<RotationKey> k = find_interval(track.keys, time);
    if (k.from == nullptr) return;
    Quaternion q = k.from->rotation;
    if (k.to != nullptr) quaternion_slerp(&q, &k.from->rotation, &k.to->rotation, k.s);
    Vector3 axis;
    float angle = 0.0f;
    quaternion_to_axis_angle(&q, &axis, &angle);
    Matrix r;
    matrix_rotation_axis(&r, &axis, angle);
    matrix_multiply(m, m, &r);
}

// M ← S·M: the scale applies before whatever M already holds.
void sample_scale(Matrix* m, const ScaleTrack& track, float time) {
    const Interval<ScaleKey> k = find_interval(track.keys, time);
    if (k.from == nullptr) return;
    const Vector3 v = k.to != nullptr ? blend(k.from->scale, k.to->scale, k.s) : k.from->scale;
    Matrix s;
    matrix_scaling(&s, v.x, v.y, v.z);
    matrix_multiply(m, &s, m);
}

void sample_field_of_view(CameraNode* camera, float time) {
    const Interval<ScalarKey> k = find_interval(camera->fov_track.keys, time);
    if (k.from == nullptr) return;
    camera->field_of_view =
        k.to != nullptr ? (1.0f - k.s) * k.from->value + k.s * k.to->value : k.from->value;
}

}  // namespace

void evaluate_node(SceneNode* node, float time) {
    Matrix m;
    matrix_identity(&m);
    switch (node->kind) {
        case NodeKind::Mesh: {
            auto* mesh = static_cast<MeshNode*>(node);
            sample_rotation(&m, mesh->rotation_track, time);
            sample_scale(&m, mesh->scale_track, time);
            break;
        }
        case NodeKind::Dummy: {
            auto* dummy = static_cast<DummyNode*>(node);
            sample_rotation(&m, dummy->rotation_track, time);
            sample_scale(&m, dummy->scale_track, time);
            break;
        }
        case NodeKind::Camera:
            sample_field_of_view(static_cast<CameraNode*>(node), time);
            break;
        case NodeKind::Light:
        case NodeKind::Target:
            break;
    }
    sample_position(&m, node->position_track, time);
    if (node->parent != nullptr) matrix_multiply(&m, &m, &node->parent->matrix);
    node->matrix = m;
}
