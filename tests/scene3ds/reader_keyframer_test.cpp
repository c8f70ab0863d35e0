// The reader's keyframer: node headers and the nodes they select or create, target and spot nodes,
// pivots, and the five kinds of track with their spline parameters and accumulated rotations.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "math/quaternion.h"
#include "platform/debug_output.h"
#include "scene3ds/keyframe_eval.h"
#include "scene3ds_test_util.h"

namespace {

File3dsNode node(File3dsNodeChunk chunk, const std::string& name, std::int16_t id, std::int16_t parent = -1) {
    File3dsNode n;
    n.chunk = chunk;
    n.name = name;
    n.node_id = id;
    n.parent = parent;
    return n;
}

File3dsNode positioned(File3dsNode n, File3dsPoint p) {
    n.position = track<File3dsPoint>({{0, p}});
    return n;
}

void expect_quaternion_near(const Quaternion& a, const Quaternion& b, float tolerance = 1e-6f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
    EXPECT_NEAR(a.w, b.w, tolerance);
}

}  // namespace

TEST(ReaderKeyframer, HeadersFindObjectsOrMakeDummies) {
    File3dsScene file;
    file.objects = {triangle_mesh("Box")};
    File3dsNode group = object_node("$$$DUMMY", 0);
    group.instance_name = "Group";
    group.pivot = File3dsPoint{100, 200, 300};
    File3dsNode box = object_node("Box", 1, 0);
    box.instance_name = "BoxInstance";  // names the instance, not any dummy
    File3dsNode second = object_node("$$$DUMMY", 2);
    File3dsNode again = object_node("$$$DUMMY", 3, 2);  // finds the unrenamed dummy
    file.nodes = {group, box, second, again};
    const auto scene = load_written(file);

    ASSERT_EQ(scene->node_registry.size(), 3u);
    ASSERT_EQ(scene->dummies.size(), 2u);
    const MeshNode* mesh = scene->meshes[0];
    EXPECT_EQ(mesh->node_id, 1);
    EXPECT_EQ(mesh->parent_id, 0);
    EXPECT_EQ(mesh->parent, scene->dummies[0]);
    EXPECT_STREQ(scene->dummies[0]->name, "Group");
    expect_vector_near(scene->dummies[0]->pivot, {1, 3, 2});
    EXPECT_STREQ(scene->dummies[1]->name, "$$$DUMMY");
    EXPECT_EQ(scene->dummies[1]->node_id, 3);
    EXPECT_EQ(scene->dummies[1]->parent_id, 2);
}

TEST(ReaderKeyframer, PivotIsSubtractedFromMeshVertices) {
    File3dsScene file;
    file.objects = {triangle_mesh("Box")};
    File3dsNode box = object_node("Box", 0);
    box.pivot = File3dsPoint{100, 0, 50};
    file.nodes = {box};
    const auto scene = load_written(file);
    const MeshNode* mesh = scene->meshes[0];
    expect_vector_near(mesh->pivot, {1, 0.5f, 0});
    EXPECT_NEAR(mesh->vertices[1].x, 0.0f, 1e-6f);
    EXPECT_NEAR(mesh->vertices[1].y, -0.5f, 1e-6f);
    EXPECT_NEAR(mesh->vertices[2].z, 1.0f, 1e-6f);
}

TEST(ReaderKeyframer, SpotLightNodesSwapPlacesWithTheLight) {
    File3dsScene file;
    File3dsLight omni;
    omni.name = "Omni";
    File3dsLight spot;
    spot.name = "Spot";
    spot.spot = File3dsSpot{{0, 0, 0}, 30, 45};
    file.objects = {omni, spot};
    file.nodes = {positioned(node(File3dsNodeChunk::Light, "Omni", 0), {500, 0, 0}),
                  positioned(node(File3dsNodeChunk::Spotlight, "Spot", 1), {100, 200, 300}),
                  positioned(node(File3dsNodeChunk::LightTarget, "Spot", 2), {1, 2, 3})};
    const auto scene = load_written(file);

    ASSERT_EQ(scene->lights.size(), 2u);
    const LightNode* omni_node = scene->lights[0];
    const LightNode* spot_node = scene->lights[1];
    EXPECT_EQ(omni_node->spot_node, nullptr);
    ASSERT_NE(spot_node->spot_node, nullptr);
    EXPECT_EQ(spot_node->spot_node, scene->spot_nodes[0]);
    EXPECT_STREQ(spot_node->spot_node->name, "Spot");
    // The light object holds the target's positions, the spot node the light's own.
    expect_vector_near(spot_node->position_track.keys.at(0).position, {0.01f, 0.03f, 0.02f});
    expect_vector_near(spot_node->spot_node->position_track.keys.at(0).position, {1, 3, 2});
    expect_vector_near(node_position(*omni_node), {5, 0, 0});
    EXPECT_EQ(spot_node->node_id, 2);
    EXPECT_EQ(scene->node_registry.size(), 3u);
}

TEST(ReaderKeyframer, CamerasTakeTargetNodesInFileOrder) {
    DebugOutputCapture capture;
    File3dsScene file;
    File3dsCamera a, b;
    a.name = "CamA";
    b.name = "CamB";
    file.objects = {a, b};
    File3dsNode cam_a = positioned(node(File3dsNodeChunk::Camera, "CamA", 0), {0, 0, 0});
    cam_a.fov = track<float>({{0, 45.0f}, {30, 90.0f}});
    cam_a.roll = track<float>({{0, 0.5f}});
    file.nodes = {cam_a,
                  positioned(node(File3dsNodeChunk::CameraTarget, "CamB", 1), {100, 0, 0}),
                  positioned(node(File3dsNodeChunk::Camera, "CamB", 2), {0, 0, 0}),
                  positioned(node(File3dsNodeChunk::CameraTarget, "CamA", 3), {200, 0, 0})};
    const auto scene = load_written(file);

    ASSERT_EQ(scene->cameras.size(), 2u);
    ASSERT_NE(scene->cameras[0]->target, nullptr);
    ASSERT_NE(scene->cameras[1]->target, nullptr);
    expect_vector_near(node_position(*scene->cameras[0]->target), {1, 0, 0});
    expect_vector_near(node_position(*scene->cameras[1]->target), {2, 0, 0});
    EXPECT_STREQ(scene->cameras[0]->target->name, "CamB");
    EXPECT_EQ(scene->cameras[0]->fov_track.count(), 2u);
    EXPECT_EQ(scene->cameras[0]->roll_track.keys.at(0).value, 0.5f);
    EXPECT_EQ(capture.text(), "camera target\ncamera target\n");
}

TEST(ReaderKeyframer, RotationKeysAccumulate) {
    File3dsScene file;
    file.objects = {triangle_mesh("Box")};
    File3dsNode box = object_node("Box", 0);
    box.rotation = track<File3dsRotation>({{0, {0.0f, {0, 0, 0}}}, {10, {0.5f, {0, 0, 1}}}, {20, {0.5f, {0, 0, 1}}}});
    file.nodes = {box};
    const auto scene = load_written(file);
    const RotationTrack& r = scene->meshes[0]->rotation_track;
    ASSERT_EQ(r.count(), 3u);
    expect_quaternion_near(r.keys[0].rotation, Quaternion(0, 0, 0, 1));  // angle 0 about the zero axis
    expect_quaternion_near(r.keys[1].rotation, Quaternion(0, std::sin(0.25f), 0, std::cos(0.25f)));
    expect_quaternion_near(r.keys[2].rotation, Quaternion(0, std::sin(0.5f), 0, std::cos(0.5f)));
    EXPECT_EQ(r.keys[2].frame, 20);
}

TEST(ReaderKeyframer, SplineParametersAreSkippedAndScalesSwapped) {
    File3dsScene file;
    file.objects = {triangle_mesh("Box")};
    File3dsNode box = object_node("Box", 0);
    box.position = track<File3dsPoint>({{0, {100, 200, 300}}, {5, {400, 500, 600}}, {9, {0, 0, 100}}});
    box.position->keys[0].spline = {FILE3DS_SPLINE_TENSION | FILE3DS_SPLINE_BIAS | FILE3DS_SPLINE_EASE_FROM,
                                    {7, 7, 7, 7, 7}};
    box.position->keys[1].spline = {0x1F, {1, 2, 3, 4, 5}};
    box.scale = track<File3dsPoint>({{0, {1, 2, 3}}});
    box.scale->keys[0].spline = {FILE3DS_SPLINE_CONTINUITY, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f}};
    file.nodes = {box};
    file.frame_segment = std::array<std::uint32_t, 2>{5, 250};
    const auto scene = load_written(file);
    const MeshNode* mesh = scene->meshes[0];
    ASSERT_EQ(mesh->position_track.count(), 3u);
    expect_vector_near(mesh->position_track.keys[0].position, {1, 3, 2});
    expect_vector_near(mesh->position_track.keys[1].position, {4, 6, 5});
    expect_vector_near(mesh->position_track.keys[2].position, {0, 1, 0});
    EXPECT_EQ(mesh->position_track.keys[1].frame, 5);
    ASSERT_EQ(mesh->scale_track.count(), 1u);
    expect_vector_near(mesh->scale_track.keys[0].scale, {1, 3, 2});
    // Before any evaluation the node sits at its first position key.
    expect_vector_near(node_position(*mesh), {1, 3, 2});
    EXPECT_EQ(scene->start_frame, 5);
    EXPECT_EQ(scene->end_frame, 250);
}

TEST(ReaderKeyframer, TracksAKindDoesNotCarryAreDropped) {
    File3dsScene file;
    File3dsCamera camera;
    camera.name = "Cam";
    file.objects = {triangle_mesh("Box"), camera};
    File3dsNode box = object_node("Box", 0);
    box.fov = track<float>({{0, 10.0f}});
    box.roll = track<float>({{0, 1.0f}});
    File3dsNode cam = positioned(node(File3dsNodeChunk::Camera, "Cam", 1), {0, 0, 0});
    cam.rotation = track<File3dsRotation>({{0, {1.0f, {0, 0, 1}}}});
    cam.scale = track<File3dsPoint>({{0, {5, 5, 5}}});
    cam.pivot = File3dsPoint{100, 100, 100};
    file.nodes = {box, cam};
    const auto scene = load_written(file);
    evaluate_node(scene->cameras[0], 0.0f);
    Matrix identity;
    matrix_identity(&identity);
    expect_matrix_near(scene->cameras[0]->matrix, identity);
    EXPECT_EQ(scene->cameras[0]->field_of_view, 90.0f);
    expect_vector_near(scene->meshes[0]->pivot, {0, 0, 0});
}

TEST(ReaderKeyframer, NodesWithoutNodeIdsAreNumberedInFileOrder) {
    // Older files have no node id chunks; parent ids then count node chunks.
    File3dsScene file;
    file.objects = {triangle_mesh("Body"), triangle_mesh("Wing"), triangle_mesh("Tail")};
    File3dsNode body = object_node("Body", 0);
    File3dsNode wing = object_node("Wing", 0, 0);
    File3dsNode tail = object_node("Tail", 0, 1);
    for (File3dsNode* n : {&body, &wing, &tail}) n->node_id.reset();
    file.nodes = {body, wing, tail};
    const auto scene = load_written(file);
    EXPECT_EQ(scene->meshes[0]->node_id, 0);
    EXPECT_EQ(scene->meshes[2]->node_id, 2);
    EXPECT_EQ(scene->meshes[1]->parent, scene->meshes[0]);
    EXPECT_EQ(scene->meshes[2]->parent, scene->meshes[1]);
    EXPECT_EQ(scene->evaluation_order.back(), scene->meshes[2]);
}
