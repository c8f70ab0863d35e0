// The scene model's post-passes and accessors: parent links (duplicate and unknown ids, cycles), mesh
// bounds, and the accessors that answer none past the end. The scene-info test pins the evaluation order.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/debug_output.h"
#include "scene3ds/mesh_bounds.h"
#include "scene3ds/node_links.h"
#include "scene3ds_test_util.h"

namespace {

template <typename Node>
Node* named(Node* node, const char* name, int id, int parent) {
    std::snprintf(node->name, sizeof node->name, "%s", name);
    node->node_id = id;
    node->parent_id = parent;
    return node;
}

void add_vertex(MeshNode* mesh, float x, float y, float z) { mesh->vertices.push_back({x, y, z, 0, 0, 0, 0, 0, 0, 0}); }

}  // namespace

TEST(LinkNodes, FirstNodeWithTheIdUnknownParentsLargeIdsAndCycles) {
    DebugOutputCapture capture;
    Scene3ds scene;
    SceneNode* first = named(scene.add_mesh(), "first", 5, -1);
    named(scene.add_mesh(), "second", 5, -1);
    SceneNode* under_first = named(scene.add_dummy(), "under_first", 6, 5);
    SceneNode* orphan = named(scene.add_mesh(), "orphan", 3, 77);  // names no node
    SceneNode* big = named(scene.add_mesh(), "big", 30000, -1);    // beyond any fixed table
    SceneNode* under_big = named(scene.add_mesh(), "under_big", -5, 30000);
    SceneNode* x = named(scene.add_dummy(), "x", 10, 11);
    SceneNode* y = named(scene.add_dummy(), "y", 11, 10);
    SceneNode* self = named(scene.add_dummy(), "self", 12, 12);
    SceneNode* into_cycle = named(scene.add_dummy(), "into", 13, 10);
    link_nodes(&scene);

    EXPECT_EQ(under_first->parent, first);
    EXPECT_EQ(orphan->parent, nullptr);
    EXPECT_EQ(under_big->parent, big);
    EXPECT_EQ(self->parent, nullptr);
    // Exactly one link of the x-y cycle is cut; every parent is evaluated before its children.
    EXPECT_TRUE((x->parent == nullptr) != (y->parent == nullptr));
    EXPECT_NE(into_cycle->parent, nullptr);
    EXPECT_NE(capture.text().find("parent cycle"), std::string::npos);
    expect_sound(scene);
}

TEST(MeshBounds, CentreAndFarthestVertex) {
    Scene3ds scene;
    MeshNode* single = scene.add_mesh();
    add_vertex(single, 1, 2, 3);
    MeshNode* empty = scene.add_mesh();
    MeshNode* box = scene.add_mesh();
    add_vertex(box, 1, 0, 0);    // at the centre: not farther than 0
    add_vertex(box, 4, 0, 1);    // the first of the farthest
    add_vertex(box, -2, 0, -1);  // as far, not strictly farther
    compute_mesh_bounds(&scene);

    expect_vector_near(single->bounding_centre, {1, 2, 3});
    expect_vector_near(single->farthest_vertex, {0, 0, 0});  // nothing strictly farther than 0
    expect_vector_near(empty->bounding_centre, {0, 0, 0});
    expect_vector_near(box->bounding_centre, {1, 0, 0});
    expect_vector_near(box->farthest_vertex, {4, 0, 1});
}

TEST(SceneAccess, AccessorsAnswerNonePastTheEnd) {
    Scene3ds scene;
    MeshNode* mesh = scene.add_mesh();
    scene.add_material();
    EXPECT_EQ(mesh_at(scene.meshes, 0), mesh);
    EXPECT_EQ(mesh_at(scene.meshes, 1), nullptr);
    EXPECT_NE(material_at(scene, 0), nullptr);
    EXPECT_EQ(material_at(scene, 1), nullptr);
    EXPECT_EQ(material_at(scene, -1), nullptr);
}
