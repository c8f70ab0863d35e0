// The writer and the reader agree: a scene that uses every chunk the reader understands is written,
// read back and compared with its description; lib3ds, an independent reader, sees the same file.
#include <gtest/gtest.h>

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <cmath>
#include <string>

#include "math/quaternion.h"
#include "platform/debug_output.h"
#include "sample_scenes.h"
#include "scene3ds_test_util.h"

namespace {

Vector3 converted(const File3dsPoint& p) { return Vector3(p.x, p.z, p.y) * 0.01f; }

const SceneNode* registry_node(const Scene3ds& scene, NodeKind kind, const char* name) {
    for (const SceneNode* node : scene.node_registry)
        if (node->kind == kind && std::string(node->name) == name) return node;
    return nullptr;
}

const File3dsMesh& file_mesh(const File3dsScene& file, const std::string& name) {
    for (const File3dsObject& object : file.objects)
        if (const auto* mesh = std::get_if<File3dsMesh>(&object); mesh != nullptr && mesh->name == name) return *mesh;
    throw std::runtime_error("no mesh " + name);
}

}  // namespace

TEST(WriterRoundTrip, EveryChunkReadsBackAsDescribed) {
    const File3dsScene file = sample_full_scene();
    DebugOutputCapture capture;
    const auto scene = load_written(file);
    EXPECT_EQ(capture.text(), "camera target\ncamera target\n");

    // Materials.
    ASSERT_EQ(scene->materials.size(), 2u);
    const Material& metal = *scene->materials[0];
    EXPECT_STREQ(metal.name, "Metal");
    EXPECT_FLOAT_EQ(metal.ambient.r, 26 * 0.003921569f);  // 0.1 × 255 rounded
    EXPECT_FLOAT_EQ(metal.diffuse.b, 0.6f);
    EXPECT_FLOAT_EQ(metal.specular.g, 1.0f);
    EXPECT_FLOAT_EQ(metal.shininess, 0.6f);
    EXPECT_FLOAT_EQ(metal.shininess_strength, 0.5f);
    EXPECT_EQ(metal.maps_present, MATERIAL_MAP_TEXTURE | MATERIAL_MAP_REFLECTION);
    EXPECT_STREQ(metal.texture_map.file_name, "metal.jpg");
    EXPECT_STREQ(metal.reflection_map.file_name, "env.jpg");
    const Material& glass = *scene->materials[1];
    EXPECT_FLOAT_EQ(glass.transparency, 0.5f);
    EXPECT_EQ(glass.wire, 1);
    EXPECT_EQ(glass.maps_present, MATERIAL_MAP_OPACITY);
    EXPECT_STREQ(glass.opacity_map.file_name, "mask.tga");

    // Meshes: Wheel has neither local axes nor a pivot, so its vertices are the file's, converted.
    ASSERT_EQ(scene->meshes.size(), 2u);
    const MeshNode* body = scene->meshes[0];
    const MeshNode* wheel = scene->meshes[1];
    EXPECT_STREQ(body->name, "Body");
    EXPECT_EQ(body->material_index, 0);  // the last group names Metal
    const File3dsMesh& file_body = file_mesh(file, "Body");
    ASSERT_EQ(body->vertex_count(), file_body.vertices.size());
    EXPECT_EQ(body->index_count(), 3 * file_body.faces.size());
    EXPECT_EQ(body->vertices[4].tv, -file_body.texture_coords[4][1]);
    // Body: local axes (file X → Y, Y → -X, origin (50, 60, 70)), then its pivot (5, 5, 5).
    for (std::size_t i = 0; i < body->vertices.size(); ++i) {
        const File3dsPoint& p = file_body.vertices[i];
        const File3dsPoint local{p.y - 60, -(p.x - 50), p.z - 70};
        const Vector3 expected = converted(local) - converted({5, 5, 5});
        expect_vector_near({body->vertices[i].x, body->vertices[i].y, body->vertices[i].z}, expected, 1e-5f);
    }
    const File3dsMesh& file_wheel = file_mesh(file, "Wheel");
    for (std::size_t i = 0; i < wheel->vertices.size(); ++i)
        expect_vector_near({wheel->vertices[i].x, wheel->vertices[i].y, wheel->vertices[i].z},
                           converted(file_wheel.vertices[i]));
    for (std::size_t f = 0; f < file_wheel.faces.size(); ++f) {
        EXPECT_EQ(wheel->indices[3 * f], file_wheel.faces[f].a);
        EXPECT_EQ(wheel->indices[3 * f + 1], file_wheel.faces[f].c);
        EXPECT_EQ(wheel->indices[3 * f + 2], file_wheel.faces[f].b);
    }

    // Lights and cameras.
    ASSERT_EQ(scene->lights.size(), 2u);
    EXPECT_STREQ(scene->lights[0]->name, "Omni");
    EXPECT_FLOAT_EQ(scene->lights[0]->g, 0.9f);
    EXPECT_EQ(scene->lights[0]->spot_node, nullptr);
    EXPECT_EQ(scene->lights[1]->spot, 1);
    EXPECT_EQ(scene->lights[1]->hotspot, 30.0f);
    EXPECT_EQ(scene->lights[1]->falloff, 45.0f);
    EXPECT_EQ(scene->lights[1]->spot_node, scene->spot_nodes[0]);
    ASSERT_EQ(scene->cameras.size(), 2u);
    EXPECT_EQ(scene->cameras[0]->target, scene->camera_targets[0]);
    EXPECT_EQ(scene->cameras[1]->target, scene->camera_targets[1]);

    // Keyframer: registry = editor objects, then the targets and the dummy as their chunks come.
    EXPECT_EQ(scene->start_frame, 0);
    EXPECT_EQ(scene->end_frame, 60);
    ASSERT_EQ(scene->node_registry.size(), 10u);
    const auto* car = static_cast<const DummyNode*>(registry_node(*scene, NodeKind::Dummy, "Car"));
    ASSERT_NE(car, nullptr);
    expect_vector_near(car->pivot, converted({10, 20, 30}));
    EXPECT_EQ(car->rotation_track.count(), 4u);
    EXPECT_EQ(car->scale_track.count(), 2u);
    EXPECT_EQ(body->parent, car);
    EXPECT_EQ(wheel->parent, body);
    EXPECT_EQ(scene->cameras[0]->parent, car);
    EXPECT_EQ(scene->cameras[0]->target->parent, body);
    EXPECT_EQ(scene->cameras[0]->fov_track.count(), 2u);
    EXPECT_EQ(scene->cameras[0]->roll_track.count(), 2u);
    EXPECT_EQ(scene->cameras[0]->fov_track.keys[1].frame, 60);
    EXPECT_EQ(scene->cameras[0]->fov_track.keys[1].value, 41.0f);
    for (const SceneNode* node : scene->node_registry) {
        SCOPED_TRACE(node->name);
        ASSERT_EQ(node->position_track.count(), 3u);
        EXPECT_EQ(node->position_track.keys[2].frame, 30);
        expect_vector_near(node->position_track.keys[1].position,
                           converted({100.0f * std::cos(0.3f), 100.0f * std::sin(0.3f), 10.0f}));
    }
    // Five relative turns of 0.1 about file Z (one with every spline parameter) accumulate.
    ASSERT_EQ(wheel->rotation_track.count(), 5u);
    const Quaternion& last = wheel->rotation_track.keys[4].rotation;
    EXPECT_NEAR(last.y, std::sin(0.2f), 1e-5f);
    EXPECT_NEAR(last.w, std::cos(0.2f), 1e-5f);
    EXPECT_EQ(scene->evaluation_order.size(), 10u);
}

TEST(WriterRoundTrip, Lib3dsReadsTheWrittenFile) {
    const File3dsScene file = sample_full_scene();
    const std::string path = std::string(VIRELINE_BINARY_DIR) + "/writer_roundtrip_lib3ds.3ds";
    ASSERT_TRUE(write_3ds_file(path.c_str(), file));
    Lib3dsFile* other = lib3ds_file_load(path.c_str());
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->segment_from, 0);
    EXPECT_EQ(other->segment_to, 60);
    const Lib3dsMesh* body = lib3ds_file_mesh_by_name(other, "Body");
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->points, file_mesh(file, "Body").vertices.size());
    EXPECT_EQ(body->faces, file_mesh(file, "Body").faces.size());
    EXPECT_STREQ(body->faceL[0].material, "Metal");
    EXPECT_EQ(body->texels, body->points);
    EXPECT_FLOAT_EQ(body->matrix[3][0], 50.0f);
    const Lib3dsMaterial* glass = lib3ds_file_material_by_name(other, "Glass");
    ASSERT_NE(glass, nullptr);
    EXPECT_STREQ(glass->opacity_map.name, "mask.tga");
    EXPECT_TRUE(glass->use_wire);
    EXPECT_NEAR(glass->transparency, 0.5f, 1e-6f);
    Lib3dsNode* wheel = lib3ds_file_node_by_name(other, "Wheel", LIB3DS_OBJECT_NODE);
    ASSERT_NE(wheel, nullptr);
    ASSERT_NE(wheel->parent, nullptr);
    EXPECT_STREQ(wheel->parent->name, "Body");
    int keys = 0;
    for (Lib3dsQuatKey* k = wheel->data.object.rot_track.keyL; k != nullptr; k = k->next, ++keys)
        if (keys == 2) {
            EXPECT_EQ(k->tcb.frame, 24);
            EXPECT_EQ(k->tcb.flags, 0x1F);
            EXPECT_FLOAT_EQ(k->tcb.tens, 0.1f);
            EXPECT_FLOAT_EQ(k->tcb.ease_from, 0.5f);
        }
    EXPECT_EQ(keys, 5);
    Lib3dsNode* car = lib3ds_file_node_by_name(other, "$$$DUMMY", LIB3DS_OBJECT_NODE);
    ASSERT_NE(car, nullptr);
    EXPECT_STREQ(car->data.object.instance, "Car");
    EXPECT_NE(lib3ds_file_node_by_name(other, "Spot", LIB3DS_SPOT_NODE), nullptr);
    EXPECT_NE(lib3ds_file_node_by_name(other, "Front", LIB3DS_TARGET_NODE), nullptr);
    lib3ds_file_free(other);
    std::remove(path.c_str());
}
