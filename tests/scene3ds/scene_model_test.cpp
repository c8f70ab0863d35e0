// The scene model's post-passes and accessors: parent links and the evaluation order, mesh bounds,
// and the accessors that answer none past the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

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

void add_vertex(MeshNode* mesh, float x, float y, float z) {
    SceneVertex v{};
    v.x = x;
    v.y = y;
    v.z = z;
    mesh->vertices.push_back(v);
}

}  // namespace

TEST(LinkNodes, ChainReadChildFirstEvaluatesParentFirst) {
    Scene3ds scene;
    SceneNode* c = named(scene.add_mesh(), "C", 2, 1);
    SceneNode* b = named(scene.add_camera(), "B", 1, 0);
    SceneNode* a = named(scene.add_dummy(), "A", 0, -1);
    named(scene.add_mesh(), "D", 3, -1);
    link_nodes(&scene);
    EXPECT_EQ(c->parent, b);
    EXPECT_EQ(b->parent, a);
    EXPECT_EQ(a->parent, nullptr);
    // Sorted by depth, ties (the roots A and D) in registry order.
    std::vector<std::string> order;
    for (const SceneNode* node : scene.evaluation_order) order.emplace_back(node->name);
    EXPECT_EQ(order, (std::vector<std::string>{"A", "D", "B", "C"}));
}

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
    EXPECT_EQ(mesh->node_id, -1);  // until a node header sets it
    matrix_translation(&mesh->matrix, 4, 5, 6);
    expect_vector_near(node_position(*mesh), {4, 5, 6});
}
