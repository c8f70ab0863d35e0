#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/debug_output.h"
#include "scene3ds/mesh_bounds.h"
#include "scene3ds/node_links.h"
#include "scene3ds/scene.h"
#include "scene3ds_test_util.h"

namespace {

template <typename Node>
Node* named(Node* node, const char* name, int id, int parent) {
    std::snprintf(node->name, sizeof node->name, "%s", name);
    node->node_id = id;
    node->parent_id = parent;
    return node;
}

std::vector<std::string> order_names(const Scene& scene) {
    std::vector<std::string> names;
    for (const SceneNode* node : scene.evaluation_order) names.emplace_back(node->name);
    return names;
}

void add_vertex(MeshNode* mesh, float x, float y, float z) {
    SceneVertex v{};
    v.x = x;
    v.y = y;
    v.z = z;
    mesh->vertices.push_back(v);
}

}  // namespace

TEST(LinkNodes, RootsKeepRegistryOrder) {
    Scene3ds scene;
    named(scene.add_mesh(), "a", 0, -1);
    named(scene.add_camera(), "b", 1, -1);
    named(scene.add_dummy(), "c", 2, -1);
    link_nodes(&scene);
    EXPECT_EQ(order_names(scene), (std::vector<std::string>{"a", "b", "c"}));
    for (const SceneNode* node : scene.node_registry) EXPECT_EQ(node->parent, nullptr);
}

TEST(LinkNodes, ChainReadChildFirstEvaluatesParentFirst) {
    Scene3ds scene;
    SceneNode* c = named(scene.add_mesh(), "C", 2, 1);
    SceneNode* b = named(scene.add_mesh(), "B", 1, 0);
    SceneNode* a = named(scene.add_mesh(), "A", 0, -1);
    SceneNode* d = named(scene.add_mesh(), "D", 3, -1);
    link_nodes(&scene);
    EXPECT_EQ(c->parent, b);
    EXPECT_EQ(b->parent, a);
    EXPECT_EQ(a->parent, nullptr);
    EXPECT_EQ(d->parent, nullptr);
    // Sorted by depth, ties in registry order.
    EXPECT_EQ(order_names(scene), (std::vector<std::string>{"A", "D", "B", "C"}));
}

TEST(LinkNodes, FirstNodeWithTheIdIsTheParent) {
    Scene3ds scene;
    SceneNode* first = named(scene.add_mesh(), "first", 5, -1);
    named(scene.add_mesh(), "second", 5, -1);
    SceneNode* child = named(scene.add_dummy(), "child", 6, 5);
    link_nodes(&scene);
    EXPECT_EQ(child->parent, first);
}

TEST(LinkNodes, UnknownParentsLargeIdsAndCyclesEnd) {
    DebugOutputCapture capture;
    Scene3ds scene;
    SceneNode* orphan = named(scene.add_mesh(), "orphan", 3, 77);  // names no node
    SceneNode* big = named(scene.add_mesh(), "big", 30000, -1);    // beyond any fixed table
    SceneNode* under_big = named(scene.add_mesh(), "under_big", -5, 30000);
    SceneNode* x = named(scene.add_dummy(), "x", 10, 11);
    SceneNode* y = named(scene.add_dummy(), "y", 11, 10);
    SceneNode* self = named(scene.add_dummy(), "self", 12, 12);
    SceneNode* into_cycle = named(scene.add_dummy(), "into", 13, 10);
    link_nodes(&scene);

    EXPECT_EQ(orphan->parent, nullptr);
    EXPECT_EQ(under_big->parent, big);
    EXPECT_EQ(self->parent, nullptr);
    // Exactly one link of the x-y cycle is cut, and every chain now ends.
    EXPECT_TRUE((x->parent == nullptr) != (y->parent == nullptr));
    for (const SceneNode* node : scene.node_registry) {
        int steps = 0;
        for (const SceneNode* p = node->parent; p != nullptr; p = p->parent) ASSERT_LT(++steps, 10);
    }
    EXPECT_NE(into_cycle->parent, nullptr);
    EXPECT_NE(capture.text().find("parent cycle"), std::string::npos);

    // Every parent is evaluated before its children.
    ASSERT_EQ(scene.evaluation_order.size(), scene.node_registry.size());
    for (std::size_t i = 0; i < scene.evaluation_order.size(); ++i) {
        const SceneNode* parent = scene.evaluation_order[i]->parent;
        if (parent == nullptr) continue;
        const auto at = std::find(scene.evaluation_order.begin(), scene.evaluation_order.end(), parent);
        EXPECT_LT(at - scene.evaluation_order.begin(), static_cast<std::ptrdiff_t>(i));
    }
}

TEST(LinkNodes, CamerasTakeTargetsInOrderAndOnlySpotsTakeSpotNodes) {
    Scene3ds scene;
    CameraNode* cam1 = scene.add_camera();
    CameraNode* cam2 = scene.add_camera();
    CameraNode* cam3 = scene.add_camera();
    LightNode* omni = scene.add_light();
    LightNode* spot = scene.add_light();
    spot->spot = 1;
    TargetNode* t1 = named(scene.add_target(), "zzz", 5, -1);
    TargetNode* t2 = named(scene.add_target(), "aaa", 6, -1);
    TargetNode* s1 = scene.add_target();
    scene.camera_targets[0] = t1;
    scene.camera_targets[1] = t2;
    scene.camera_target_count = 2;
    scene.spot_nodes[0] = s1;
    scene.spot_node_count = 1;
    link_nodes(&scene);
    EXPECT_EQ(cam1->target, t1);
    EXPECT_EQ(cam2->target, t2);
    EXPECT_EQ(cam3->target, nullptr);  // no third target node in the file
    EXPECT_EQ(omni->spot_node, nullptr);
    EXPECT_EQ(spot->spot_node, s1);
}

TEST(MeshBounds, CentreAndFarthestVertex) {
    Scene3ds scene;
    MeshNode* single = scene.add_mesh();
    add_vertex(single, 1, 2, 3);
    MeshNode* empty = scene.add_mesh();
    MeshNode* box = scene.add_mesh();
    add_vertex(box, 1, 0, 0);   // at the centre: not farther than 0
    add_vertex(box, 4, 0, 1);   // the first of the farthest
    add_vertex(box, -2, 0, -1); // as far, not strictly farther
    compute_mesh_bounds(&scene);

    expect_vector_near(single->bounding_centre, {1, 2, 3});
    expect_vector_near(single->farthest_vertex, {0, 0, 0});  // nothing strictly farther than 0
    expect_vector_near(empty->bounding_centre, {0, 0, 0});
    expect_vector_near(box->bounding_centre, {1, 0, 0});
    expect_vector_near(box->farthest_vertex, {4, 0, 1});
}

TEST(SceneAccess, MeshAtMaterialAtAndNodePosition) {
    Scene3ds scene;
    MeshNode* m0 = scene.add_mesh();
    MeshNode* m1 = scene.add_mesh();
    scene.add_material();
    EXPECT_EQ(mesh_at(scene.meshes, 0), m0);
    EXPECT_EQ(mesh_at(scene.meshes, 1), m1);
    EXPECT_EQ(mesh_at(scene.meshes, 2), nullptr);
    EXPECT_NE(material_at(scene, 0), nullptr);
    EXPECT_EQ(material_at(scene, 1), nullptr);
    EXPECT_EQ(material_at(scene, -1), nullptr);
    matrix_translation(&m1->matrix, 4, 5, 6);
    expect_vector_near(node_position(*m1), {4, 5, 6});
    EXPECT_EQ(m0->visible, 1);
    EXPECT_EQ(m0->node_id, -1);
    EXPECT_EQ(scene.add_camera()->field_of_view, 90.0f);
}
