// The reader's keyframer: node headers and the nodes they select or create, target and spot nodes,
// and the five kinds of track with their spline parameters and accumulated rotations. The round-trip
// test reads pivots and instance names in a larger scene.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "math/quaternion.h"
#include "platform/debug_output.h"
#include "scene3ds_test_util.h"

namespace {

using N = File3dsNodeChunk;

void expect_quaternion_near(const Quaternion& a, const Quaternion& b) {
    expect_vector_near({a.x, a.y, a.z}, {b.x, b.y, b.z}, 1e-6f);
    EXPECT_NEAR(a.w, b.w, 1e-6f);
}

}  // namespace

TEST(ReaderKeyframer, HeadersFindObjectsOrMakeDummies) {
    File3dsNode group = file_node(N::Object, "$$$DUMMY", 0);
    group.instance_name = "Group";
    File3dsNode box = file_node(N::Object, "Box", 1, 0);
    box.instance_name = "BoxInstance";  // names the instance, not any dummy
    // The last header finds the unrenamed second dummy.
    const auto scene = load_written(file_scene(
        {make_mesh("Box")}, {group, box, file_node(N::Object, "$$$DUMMY", 2), file_node(N::Object, "$$$DUMMY", 3, 2)}));

    ASSERT_EQ(scene->node_registry.size(), 3u);
    ASSERT_EQ(scene->dummies.size(), 2u);
    EXPECT_STREQ(scene->meshes[0]->name, "Box");
    EXPECT_EQ(scene->meshes[0]->node_id, 1);
    EXPECT_EQ(scene->meshes[0]->parent, scene->dummies[0]);
    EXPECT_STREQ(scene->dummies[0]->name, "Group");
    EXPECT_STREQ(scene->dummies[1]->name, "$$$DUMMY");
    EXPECT_EQ(scene->dummies[1]->node_id, 3);
    EXPECT_EQ(scene->dummies[1]->parent_id, 2);
}

TEST(ReaderKeyframer, SpotLightNodesSwapPlacesWithTheLight) {
    const auto scene = load_written(file_scene({make_light("Omni"), make_light("Spot", File3dsSpot{})},
                                               {file_node(N::Light, "Omni", 0, -1, {500, 0, 0}),
                                                file_node(N::Spotlight, "Spot", 1, -1, {100, 200, 300}),
                                                file_node(N::LightTarget, "Spot", 2, -1, {1, 2, 3})}));
    ASSERT_EQ(scene->lights.size(), 2u);
    const LightNode *omni = scene->lights[0], *spot = scene->lights[1];
    EXPECT_EQ(omni->spot_node, nullptr);
    ASSERT_EQ(spot->spot_node, scene->spot_nodes.at(0));
    EXPECT_STREQ(spot->spot_node->name, "Spot");
    // The light object holds the target's positions, the spot node the light's own.
    expect_vector_near(spot->position_track.keys.at(0).position, {0.01f, 0.03f, 0.02f});
    expect_vector_near(spot->spot_node->position_track.keys.at(0).position, {1, 3, 2});
    expect_vector_near(node_position(*omni), {5, 0, 0});
    EXPECT_EQ(spot->node_id, 2);
    EXPECT_EQ(scene->node_registry.size(), 3u);
}

TEST(ReaderKeyframer, CamerasTakeTargetNodesInFileOrder) {
    DebugOutputCapture capture;
    const auto scene = load_written(file_scene({make_camera("CamA"), make_camera("CamB")},
                                               {file_node(N::Camera, "CamA", 0),
                                                file_node(N::CameraTarget, "CamB", 1, -1, {100, 0, 0}),
                                                file_node(N::Camera, "CamB", 2),
                                                file_node(N::CameraTarget, "CamA", 3, -1, {200, 0, 0})}));
    ASSERT_TRUE(scene->cameras.size() == 2 && scene->cameras[0]->target && scene->cameras[1]->target);
    expect_vector_near(node_position(*scene->cameras[0]->target), {1, 0, 0});
    expect_vector_near(node_position(*scene->cameras[1]->target), {2, 0, 0});
    EXPECT_STREQ(scene->cameras[0]->target->name, "CamB");
    EXPECT_EQ(capture.text(), "camera target\ncamera target\n");
}

TEST(ReaderKeyframer, RotationKeysAccumulate) {
    File3dsNode box = file_node(N::Object, "Box", 0);
    box.rotation = track<File3dsRotation>(
        {{0, {0.0f, {0, 0, 0}}}, {10, {0.5f, {0, 0, 1}}}, {20, {0.5f, {0, 0, 1}}}, {30, {0.5f, {1, 0, 0}}}});
    const auto scene = load_written(file_scene({make_mesh("Box")}, {box}));
    const RotationTrack& r = scene->meshes[0]->rotation_track;
    ASSERT_EQ(r.count(), 4u);
    // Angle 0 about the zero axis is no turn; file Z is y after the swap.
    expect_quaternion_near(r.keys[0].rotation, Quaternion(0, 0, 0, 1));
    expect_quaternion_near(r.keys[1].rotation, Quaternion(0, std::sin(0.25f), 0, std::cos(0.25f)));
    expect_quaternion_near(r.keys[2].rotation, Quaternion(0, std::sin(0.5f), 0, std::cos(0.5f)));
    // Each key turns on from the one before: stored = (key before) · (this key's turn).
    const Quaternion turn(std::sin(0.25f), 0, 0, std::cos(0.25f));
    Quaternion expected;
    quaternion_multiply(&expected, &r.keys[2].rotation, &turn);
    expect_quaternion_near(r.keys[3].rotation, expected);
    EXPECT_EQ(r.keys[3].frame, 30);
}

TEST(ReaderKeyframer, ScalesSwappedPastTheirSplineParametersAndTheFrameSegment) {
    // The round-trip test reads positions and rotations past spline parameters.
    File3dsNode box = file_node(N::Object, "Box", 0, -1, {100, 200, 300});
    box.scale = track<File3dsPoint>({{0, {1, 2, 3}}});
    box.scale->keys[0].spline = {FILE3DS_SPLINE_CONTINUITY | FILE3DS_SPLINE_BIAS, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f}};
    File3dsScene file = file_scene({make_mesh("Box")}, {box});
    file.frame_segment = std::array<std::uint32_t, 2>{5, 250};
    const auto scene = load_written(file);
    const MeshNode* mesh = scene->meshes[0];
    ASSERT_EQ(mesh->scale_track.count(), 1u);
    expect_vector_near(mesh->scale_track.keys[0].scale, {1, 3, 2});
    // Before any evaluation the node sits at its first position key.
    expect_vector_near(node_position(*mesh), {1, 3, 2});
    EXPECT_EQ(scene->start_frame, 5);
    EXPECT_EQ(scene->end_frame, 250);
}

TEST(ReaderKeyframer, TracksAKindDoesNotCarryAreDropped) {
    File3dsNode box = file_node(N::Object, "Box", 0);
    box.fov = track<float>({{0, 10.0f}});
    box.roll = track<float>({{0, 1.0f}});
    File3dsNode cam = file_node(N::Camera, "Cam", 1);
    cam.rotation = track<File3dsRotation>({{0, {1.0f, {0, 0, 1}}}});
    cam.scale = track<File3dsPoint>({{0, {5, 5, 5}}});
    cam.pivot = File3dsPoint{100, 100, 100};
    const auto scene = load_written(file_scene({make_mesh("Box"), make_camera("Cam")}, {box, cam}));
    evaluate_node(scene->cameras[0], 0.0f);
    Matrix identity;
    expect_matrix_near(scene->cameras[0]->matrix, *matrix_identity(&identity));
    EXPECT_EQ(scene->cameras[0]->field_of_view, 90.0f);
    expect_vector_near(scene->meshes[0]->pivot, {0, 0, 0});
}

TEST(ReaderKeyframer, NodesWithoutNodeIdsAreNumberedInFileOrder) {
    // Older files have no node id chunks; parent ids then count node chunks, the ambient node's (which
    // is not read) among them.
    File3dsScene file = file_scene({make_mesh("Body"), make_mesh("Wing"), make_mesh("Tail")},
                                   {file_node(N::Ambient, "$AMBIENT$", 0), file_node(N::Object, "Body", 0),
                                    file_node(N::Object, "Wing", 0, 1), file_node(N::Object, "Tail", 0, 2)});
    for (File3dsNode& n : file.nodes) n.node_id.reset();
    const auto scene = load_written(file);
    EXPECT_EQ(scene->meshes[0]->node_id, 1);
    EXPECT_EQ(scene->meshes[2]->node_id, 3);
    EXPECT_EQ(scene->meshes[1]->parent, scene->meshes[0]);
    EXPECT_EQ(scene->meshes[2]->parent, scene->meshes[1]);
    EXPECT_EQ(scene->evaluation_order.back(), scene->meshes[2]);
}
