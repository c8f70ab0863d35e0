// Keyframe evaluation: the interval search (truncated, negative and NaN times, one key, repeated
// frames, no keys), the blends of each kind of track, and the S·R·T·P order of a node's matrix.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "math/quaternion.h"
#include "scene3ds_test_util.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Vector3 position_at(SceneNode* node, float t) {
    evaluate_node(node, t);
    return node_position(*node);
}

Quaternion axis_angle(Vector3 axis, float angle) {
    Quaternion q;
    quaternion_rotation_axis(&q, &axis, angle);
    return q;
}

}  // namespace

TEST(KeyframeInterval, PositionTrackAtTimes) {
    const std::vector<PositionKey> ramp = {{0, {0, 0, 0}}, {10, {10, 0, 0}}};
    const std::vector<PositionKey> single = {{7, {1, 0, 0}}};
    const std::vector<PositionKey> repeated = {{0, {0, 0, 0}}, {5, {5, 0, 0}}, {5, {99, 0, 0}}}, none;
    const struct {
        const std::vector<PositionKey>& keys;
        float time, x;
    } cases[] = {
        // Blends inside the interval; the last key at and after it.
        {ramp, 2.5f, 2.5f}, {ramp, 9.99f, 9.99f}, {ramp, 10.0f, 10.0f}, {ramp, 50.0f, 10.0f}, {ramp, 1e30f, 10.0f},
        // The time truncates towards zero: -0.5 is frame 0 and still blends; -1 is before the first key
        // and, like NaN, takes the last key.
        {ramp, -0.5f, -0.5f}, {ramp, -1.0f, 10.0f}, {ramp, std::nanf(""), 10.0f},
        {single, -100.0f, 1.0f}, {single, 7.0f, 1.0f}, {single, 1000.0f, 1.0f},
        // (5, 5) is never an interval.
        {repeated, 2.0f, 2.0f}, {repeated, 5.0f, 99.0f},
        // No keys: no translation, whatever the matrix held.
        {none, 5.0f, 0.0f},
    };
    Scene3ds scene;
    TargetNode* node = scene.add_target();
    for (const auto& c : cases) {
        node->position_track.keys = c.keys;
        EXPECT_NEAR(position_at(node, c.time).x, c.x, 1e-5f) << "time " << c.time << ", " << c.keys.size() << " keys";
    }
}

TEST(EvaluateNode, ScaleThenRotationThenPositionThenParent) {
    Scene3ds scene;
    DummyNode* dummy = scene.add_dummy();
    dummy->scale_track.keys = {{0, {1, 1, 1}}, {4, {3, 5, 7}}};
    dummy->rotation_track.keys = {{0, axis_angle({0, 1, 0}, kPi / 2)}};
    dummy->position_track.keys = {{0, {1, 0, 0}}};
    evaluate_node(dummy, 2.0f);
    // (1, 1, 1) scaled by the blended (2, 3, 4), turned +x towards -z about y, then moved by (1, 0, 0).
    Vector3 p(1, 1, 1);
    vector3_transform_point(&p, &dummy->matrix);
    expect_vector_near(p, {5, 3, -2});

    // A child is carried by its parent's position, and by its parent's rotation.
    MeshNode* parent = scene.add_mesh();
    parent->position_track.keys = {{0, {0, 5, 0}}};
    MeshNode* child = scene.add_mesh();
    child->position_track.keys = {{0, {1, 0, 0}}};
    child->parent = parent;
    for (const Vector3& expected : {Vector3(1, 5, 0), Vector3(0, 6, 0)}) {
        evaluate_node(parent, 0.0f);
        evaluate_node(child, 0.0f);
        expect_vector_near(node_position(*child), expected);
        parent->rotation_track.keys = {{0, axis_angle({0, 0, 1}, kPi / 2)}};
    }
}

TEST(EvaluateNode, RotationSlerpsTheShortWay) {
    // Keys of 0.6 radians about y and then the same orientation as -q, or 1.6 radians.
    const Quaternion q = axis_angle({0, 1, 0}, 0.6f);
    const struct {
        Quaternion second;
        float time, angle;
    } cases[] = {{Quaternion(-q.x, -q.y, -q.z, -q.w), 5.0f, 0.6f}, {axis_angle({0, 1, 0}, 1.6f), 2.5f, 0.85f}};
    Scene3ds scene;
    MeshNode* mesh = scene.add_mesh();
    for (const auto& c : cases) {
        mesh->rotation_track.keys = {{0, q}, {10, c.second}};
        evaluate_node(mesh, c.time);
        Matrix expected;
        const Vector3 y(0, 1, 0);
        matrix_rotation_axis(&expected, &y, c.angle);
        expect_matrix_near(mesh->matrix, expected);
    }
}

TEST(EvaluateNode, CamerasBlendTheFieldOfViewAndIgnoreRoll) {
    Scene3ds scene;
    CameraNode* camera = scene.add_camera();
    camera->field_of_view = 33.0f;
    evaluate_node(camera, 10.0f);
    EXPECT_EQ(camera->field_of_view, 33.0f);  // no keys: left as it is
    camera->fov_track.keys = {{0, 45.0f}, {30, 90.0f}};
    camera->roll_track.keys = {{0, 1.0f}};
    camera->position_track.keys = {{0, {0, 0, -10}}};
    evaluate_node(camera, 10.0f);
    EXPECT_NEAR(camera->field_of_view, 60.0f, 1e-4f);
    Matrix expected;
    matrix_translation(&expected, 0, 0, -10);
    expect_matrix_near(camera->matrix, expected);  // roll is not applied
}
