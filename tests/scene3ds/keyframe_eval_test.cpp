#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "math/quaternion.h"
#include "scene3ds/keyframe_eval.h"
#include "scene3ds/scene.h"
#include "scene3ds_test_util.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void add_position(SceneNode* node, int frame, Vector3 p) { node->position_track.keys.push_back({frame, p}); }

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

TEST(KeyframeInterval, LinearBlendTruncationAndFallbackToLastKey) {
    Scene3ds scene;
    TargetNode* node = scene.add_target();
    add_position(node, 0, {0, 0, 0});
    add_position(node, 10, {10, 0, 0});
    EXPECT_NEAR(position_at(node, 2.5f).x, 2.5f, 1e-6f);
    EXPECT_NEAR(position_at(node, 9.99f).x, 9.99f, 1e-5f);
    EXPECT_EQ(position_at(node, 10.0f).x, 10.0f);
    EXPECT_EQ(position_at(node, 50.0f).x, 10.0f);
    EXPECT_NEAR(position_at(node, -0.5f).x, -0.5f, 1e-6f);  // truncates to frame 0
    EXPECT_EQ(position_at(node, -1.0f).x, 10.0f);           // before the first key: the last key
    EXPECT_EQ(position_at(node, std::nanf("")).x, 10.0f);
    EXPECT_EQ(position_at(node, 1e30f).x, 10.0f);
}

TEST(KeyframeInterval, SingleKeyAndRepeatedFrames) {
    Scene3ds scene;
    TargetNode* single = scene.add_target();
    add_position(single, 7, {1, 2, 3});
    for (float t : {-100.0f, 0.0f, 7.0f, 1000.0f}) expect_vector_near(position_at(single, t), {1, 2, 3});

    TargetNode* repeated = scene.add_target();
    add_position(repeated, 0, {0, 0, 0});
    add_position(repeated, 5, {5, 0, 0});
    add_position(repeated, 5, {99, 0, 0});
    EXPECT_NEAR(position_at(repeated, 2.0f).x, 2.0f, 1e-6f);
    EXPECT_EQ(position_at(repeated, 5.0f).x, 99.0f);  // (5, 5) is never an interval
}

TEST(EvaluateNode, EmptyTracksContributeNothing) {
    Scene3ds scene;
    MeshNode* mesh = scene.add_mesh();
    matrix_translation(&mesh->matrix, 3, 3, 3);
    evaluate_node(mesh, 4.0f);
    Matrix identity;
    matrix_identity(&identity);
    expect_matrix_near(mesh->matrix, identity);

    CameraNode* camera = scene.add_camera();
    camera->field_of_view = 33.0f;
    evaluate_node(camera, 1.0f);
    EXPECT_EQ(camera->field_of_view, 33.0f);
}

TEST(EvaluateNode, ScaleThenRotationThenPositionThenParent) {
    Scene3ds scene;
    DummyNode* dummy = scene.add_dummy();
    dummy->scale_track.keys.push_back({0, {2, 2, 2}});
    dummy->rotation_track.keys.push_back({0, axis_angle({0, 1, 0}, kPi / 2)});
    add_position(dummy, 0, {1, 0, 0});
    evaluate_node(dummy, 0.0f);
    // (1,0,0) scaled to (2,0,0), turned +x towards -z about y, then moved by (1,0,0).
    Vector3 p(1, 0, 0);
    vector3_transform_point(&p, &dummy->matrix);
    expect_vector_near(p, {1, 0, -2});

    MeshNode* parent = scene.add_mesh();
    add_position(parent, 0, {0, 5, 0});
    MeshNode* child = scene.add_mesh();
    add_position(child, 0, {1, 0, 0});
    child->parent = parent;
    evaluate_node(parent, 0.0f);
    evaluate_node(child, 0.0f);
    expect_vector_near(node_position(*child), {1, 5, 0});

    // The parent's rotation carries the child's offset.
    parent->rotation_track.keys.push_back({0, axis_angle({0, 0, 1}, kPi / 2)});
    evaluate_node(parent, 0.0f);
    evaluate_node(child, 0.0f);
    expect_vector_near(node_position(*child), {0, 6, 0});
}

TEST(EvaluateNode, RotationSlerpsTheShortWay) {
    Scene3ds scene;
    MeshNode* mesh = scene.add_mesh();
    const Quaternion q = axis_angle({0, 1, 0}, 0.6f);
    mesh->rotation_track.keys.push_back({0, q});
    mesh->rotation_track.keys.push_back({10, Quaternion(-q.x, -q.y, -q.z, -q.w)});
    Matrix expected;
    const Vector3 y(0, 1, 0);
    matrix_rotation_axis(&expected, &y, 0.6f);
    for (float t : {0.0f, 3.0f, 5.0f, 9.5f}) {
        evaluate_node(mesh, t);
        expect_matrix_near(mesh->matrix, expected, 1e-5f);
    }

    mesh->rotation_track.keys[1] = {10, axis_angle({0, 1, 0}, 1.6f)};
    evaluate_node(mesh, 5.0f);
    matrix_rotation_axis(&expected, &y, 1.1f);
    expect_matrix_near(mesh->matrix, expected, 1e-5f);
}

TEST(EvaluateNode, CameraFieldOfViewBlendsAndOnlyPositionsPlaceCameras) {
    Scene3ds scene;
    CameraNode* camera = scene.add_camera();
    camera->fov_track.keys = {{0, 45.0f}, {30, 90.0f}};
    camera->roll_track.keys = {{0, 1.0f}};
    add_position(camera, 0, {0, 0, -10});
    evaluate_node(camera, 10.0f);
    EXPECT_NEAR(camera->field_of_view, 60.0f, 1e-4f);
    Matrix expected;
    matrix_translation(&expected, 0, 0, -10);
    expect_matrix_near(camera->matrix, expected);  // roll is not applied

    LightNode* light = scene.add_light();
    add_position(light, 0, {1, 1, 1});
    add_position(light, 2, {3, 1, 1});
    expect_vector_near(position_at(light, 1.0f), {2, 1, 1});
}

TEST(EvaluateNode, ScaleTrackBlends) {
    Scene3ds scene;
    MeshNode* mesh = scene.add_mesh();
    mesh->scale_track.keys = {{0, {1, 1, 1}}, {4, {3, 5, 1}}};
    evaluate_node(mesh, 2.0f);
    Matrix expected;
    matrix_scaling(&expected, 2, 3, 1);
    expect_matrix_near(mesh->matrix, expected);
}
