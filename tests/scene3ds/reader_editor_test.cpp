// The reader's editor data: units and axes, winding and normals, texture coordinates, material groups,
// local axes, materials, lights and cameras, and the load entry's own behaviour.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "platform/debug_output.h"
#include "platform/message_box.h"
#include "scene3ds/chunk_ids.h"
#include "scene3ds_test_util.h"
#include "scene3ds_writer/chunk_writer.h"

namespace {

File3dsScene scene_with(File3dsMesh mesh) {
    File3dsScene scene;
    scene.objects.push_back(std::move(mesh));
    scene.keyframer = false;
    return scene;
}

Vector3 position(const SceneVertex& v) { return {v.x, v.y, v.z}; }
Vector3 normal(const SceneVertex& v) { return {v.nx, v.ny, v.nz}; }

}  // namespace

TEST(ReaderEditor, PointsAreScaledAndSwappedAndWindingReversed) {
    File3dsMesh mesh = make_mesh("m", {{100, 200, 300}, {-50, 0, 25}, {1, 2, 3}}, {{0, 1, 2}});
    const auto scene = load_written(scene_with(mesh));
    ASSERT_EQ(scene->meshes.size(), 1u);
    const MeshNode* m = scene->meshes[0];
    EXPECT_STREQ(m->name, "m");
    ASSERT_EQ(m->vertex_count(), 3u);
    EXPECT_EQ(m->vertices[0].x, 100 * 0.0099999998f);
    EXPECT_EQ(m->vertices[0].y, 300 * 0.0099999998f);
    EXPECT_EQ(m->vertices[0].z, 200 * 0.0099999998f);
    expect_vector_near(position(m->vertices[1]), {-0.5f, 0.25f, 0.0f});
    EXPECT_EQ(m->indices, (std::vector<std::uint16_t>{0, 2, 1}));
    EXPECT_EQ(m->vertices[0].tu2, 0.0f);
    EXPECT_EQ(m->vertices[0].tv2, 0.0f);
}

TEST(ReaderEditor, NormalsFollowTheSwappedAxesAndAreUnweighted) {
    // A triangle facing the file's +Z faces +Y after the swap.
    const auto flat = load_written(scene_with(triangle_mesh("t")));
    for (const SceneVertex& v : flat->meshes[0]->vertices) expect_vector_near(normal(v), {0, 1, 0});

    // Vertex 0 is shared by a large triangle facing file +Z and a small one facing file +X: its
    // normal is the plain average of the two unit normals, whatever the areas.
    File3dsMesh mesh = make_mesh("two", {{0, 0, 0}, {1000, 0, 0}, {0, 1000, 0}, {0, 1, 0}, {0, 0, 1}},
                                 {{0, 1, 2}, {0, 3, 4}});
    const auto scene = load_written(scene_with(mesh));
    const float h = std::sqrt(0.5f);
    expect_vector_near(normal(scene->meshes[0]->vertices[0]), {h, h, 0});
    expect_vector_near(normal(scene->meshes[0]->vertices[3]), {1, 0, 0});
}

TEST(ReaderEditor, CollinearTrianglesLeaveZeroNormals) {
    File3dsMesh mesh = make_mesh("line", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {{0, 1, 2}});
    const auto scene = load_written(scene_with(mesh));
    for (const SceneVertex& v : scene->meshes[0]->vertices) {
        EXPECT_EQ(v.nx, 0.0f);
        EXPECT_EQ(v.ny, 0.0f);
        EXPECT_EQ(v.nz, 0.0f);
    }
}

TEST(ReaderEditor, TextureCoordinatesFlipVAndAreCutToTheVertices) {
    File3dsMesh mesh = triangle_mesh("t");
    mesh.texture_coords = {{0.25f, 0.5f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {9.0f, 9.0f}};
    const auto scene = load_written(scene_with(mesh));
    const MeshNode* m = scene->meshes[0];
    ASSERT_EQ(m->vertex_count(), 3u);
    EXPECT_EQ(m->vertices[0].tu, 0.25f);
    EXPECT_EQ(m->vertices[0].tv, -0.5f);
    EXPECT_EQ(m->vertices[2].tv, -1.0f);
}

TEST(ReaderEditor, FaceMaterialGroupsPickTheMaterialByExactName) {
    File3dsScene file;
    for (const char* name : {"RED", "GREEN", "BLUE"}) {
        File3dsMaterial m;
        m.name = name;
        file.materials.push_back(m);
    }
    File3dsMesh last_wins = triangle_mesh("last");
    last_wins.material_groups = {{"GREEN", {0}}, {"BLUE", {0}}};
    File3dsMesh unknown = triangle_mesh("unknown");
    unknown.material_groups = {{"BLUE", {0}}, {"blue", {0}}};  // case counts: no match gives 0
    File3dsMesh none = triangle_mesh("none");
    File3dsMesh empty_group = triangle_mesh("empty");
    empty_group.material_groups = {{"GREEN", {}}};
    file.objects = {last_wins, unknown, none, empty_group};
    const auto scene = load_written(file);
    ASSERT_EQ(scene->meshes.size(), 4u);
    EXPECT_EQ(scene->meshes[0]->material_index, 2);
    EXPECT_EQ(scene->meshes[1]->material_index, 0);
    EXPECT_EQ(scene->meshes[2]->material_index, 0);
    EXPECT_EQ(scene->meshes[3]->material_index, 1);
}

TEST(ReaderEditor, LocalAxesMoveVerticesIntoTheMeshFrame) {
    // Axes: file X → file Y, file Y → -file X, Z unchanged; origin (100, 200, 300).
    File3dsMesh mesh = make_mesh("axes", {{100, 200, 300}, {100, 300, 300}, {100, 200, 400}}, {{0, 1, 2}});
    mesh.local_axes = std::array<float, 12>{0, 1, 0, -1, 0, 0, 0, 0, 1, 100, 200, 300};
    const auto scene = load_written(scene_with(mesh));
    const MeshNode* m = scene->meshes[0];
    // World (file) = local · axes + origin, so local = (world - origin) · axesᵀ; then the swap.
    expect_vector_near(position(m->vertices[0]), {0, 0, 0});
    expect_vector_near(position(m->vertices[1]), {1, 0, 0});  // +file Y is local +X
    expect_vector_near(position(m->vertices[2]), {0, 1, 0});  // +file Z is local +Z, stored as y
    // The face list follows the local axes, so normals come from the positions in the mesh frame:
    // the face spans local file X and Z, facing local file -Y, stored as -z.
    expect_vector_near(normal(m->vertices[0]), {0, 0, -1});
}

TEST(ReaderEditor, SingularLocalAxesLeaveVerticesAlone) {
    DebugOutputCapture capture;
    File3dsMesh mesh = triangle_mesh("flat");
    mesh.local_axes = std::array<float, 12>{1, 0, 0, 0, 0, 0, 0, 0, 1, 5, 5, 5};
    const auto scene = load_written(scene_with(mesh));
    expect_vector_near(position(scene->meshes[0]->vertices[1]), {1, 0, 0});
    EXPECT_NE(capture.text().find("singular local axes"), std::string::npos);
}

TEST(ReaderEditor, MaterialsColoursPercentagesWireAndMaps) {
    File3dsScene file;
    File3dsMaterial m;
    m.name = "Shiny";
    m.ambient = File3dsColor{1.0f, 0.0f, 0.2f, File3dsColorFormat::Bytes};
    m.diffuse = File3dsColor{0.1f, 0.2f, 0.3f, File3dsColorFormat::Float};
    m.specular = File3dsColor{0.5f, 0.5f, 0.5f, File3dsColorFormat::FloatGamma};
    m.shininess = File3dsPercentage{75.0f, false};
    m.shininess_strength = File3dsPercentage{75.0f, true};
    m.transparency = File3dsPercentage{17.0f, false};
    m.wire = true;
    m.texture_map = "metal.jpg";
    m.reflection_map = "averyveryverylongname.jpg";
    file.materials.push_back(m);
    File3dsMaterial plain;
    plain.name = "Plain";
    plain.opacity_map = "mask.tga";
    file.materials.push_back(plain);
    const auto scene = load_written(file);
    ASSERT_EQ(scene->materials.size(), 2u);
    const Material& a = *scene->materials[0];
    EXPECT_STREQ(a.name, "Shiny");
    EXPECT_FLOAT_EQ(a.ambient.r, 1.0f);
    EXPECT_FLOAT_EQ(a.ambient.b, 51 * 0.003921569f);
    EXPECT_FLOAT_EQ(a.diffuse.g, 0.2f);
    EXPECT_FLOAT_EQ(a.specular.b, 0.5f);
    EXPECT_FLOAT_EQ(a.shininess, 0.75f);  // integer percentage × 0.01
    EXPECT_FLOAT_EQ(a.shininess_strength, 75.0f);  // float percentage unscaled
    EXPECT_FLOAT_EQ(a.transparency, 0.17f);
    EXPECT_EQ(a.wire, 1);
    EXPECT_EQ(a.maps_present, MATERIAL_MAP_TEXTURE | MATERIAL_MAP_REFLECTION);
    EXPECT_STREQ(a.texture_map.file_name, "metal.jpg");
    EXPECT_STREQ(a.reflection_map.file_name, "averyveryverylo");  // 15 characters kept
    const Material& b = *scene->materials[1];
    EXPECT_EQ(b.maps_present, MATERIAL_MAP_OPACITY);
    EXPECT_STREQ(b.opacity_map.file_name, "mask.tga");
    EXPECT_EQ(b.wire, 0);
    EXPECT_EQ(b.transparency, 0.0f);
}

TEST(ReaderEditor, LightsCamerasAndLongNames) {
    File3dsScene file;
    file.keyframer = false;
    File3dsLight omni;
    omni.name = "Omni";
    omni.colour = File3dsColor{0.25f, 0.5f, 1.0f, File3dsColorFormat::Float};
    File3dsLight spot;
    spot.name = "Spot";
    spot.spot = File3dsSpot{{1, 2, 3}, 40.0f, 60.0f};
    File3dsCamera camera;
    camera.name = "A camera name that is far longer than thirty-one";
    camera.lens = 28.0f;
    file.objects = {omni, spot, camera};
    const auto scene = load_written(file);
    ASSERT_EQ(scene->lights.size(), 2u);
    EXPECT_EQ(scene->lights[0]->r, 0.25f);
    EXPECT_EQ(scene->lights[0]->b, 1.0f);
    EXPECT_EQ(scene->lights[0]->spot, 0);
    // A light without its own colour chunk takes the current colour.
    EXPECT_EQ(scene->lights[1]->g, 0.5f);
    EXPECT_EQ(scene->lights[1]->spot, 1);
    EXPECT_EQ(scene->lights[1]->hotspot, 40.0f);
    EXPECT_EQ(scene->lights[1]->falloff, 60.0f);
    ASSERT_EQ(scene->cameras.size(), 1u);
    EXPECT_EQ(scene->cameras[0]->field_of_view, 90.0f);
    EXPECT_STREQ(scene->cameras[0]->name, "A camera name that is far longe");
    EXPECT_EQ(scene->node_registry.size(), 3u);
}

TEST(ReaderEditor, FirstChunkOtherThanMainGivesAnEmptyScene) {
    ChunkWriter w;
    w.chunk(chunk3ds::EDITOR, [&] {
        w.chunk(chunk3ds::NAMED_OBJECT, [&] {
            w.name("x");
            w.chunk(chunk3ds::TRIANGLE_MESH, [] {});
        });
    });
    const auto scene = load_bytes(w.data());
    ASSERT_NE(scene, nullptr);
    EXPECT_TRUE(scene->meshes.empty());
    EXPECT_TRUE(scene->node_registry.empty());
    EXPECT_TRUE(scene->evaluation_order.empty());
}

TEST(ReaderEditor, MissingFileShowsTheErrorBoxAndReturnsNull) {
    MessageBoxCapture boxes;
    const std::string path = std::string(VIRELINE_BINARY_DIR) + "/no/such/scene.3ds";
    EXPECT_EQ(load_3ds_scene(path.c_str()), nullptr);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, path + " not found!");
    EXPECT_EQ(boxes.boxes()[0].caption, "Error");
    EXPECT_EQ(boxes.boxes()[0].type & MB_ICONMASK, MB_ICONERROR);
}

TEST(ReaderEditor, FileOnDiskReadsLikeMemory) {
    File3dsScene file = scene_with(triangle_mesh("disk"));
    const std::string path = std::string(VIRELINE_BINARY_DIR) + "/reader_editor_disk.3ds";
    ASSERT_TRUE(write_3ds_file(path.c_str(), file));
    MessageBoxCapture boxes;
    const auto scene = load_3ds_scene(path.c_str());
    ASSERT_NE(scene, nullptr);
    EXPECT_TRUE(boxes.boxes().empty());
    ASSERT_EQ(scene->meshes.size(), 1u);
    EXPECT_STREQ(scene->meshes[0]->name, "disk");
    std::remove(path.c_str());
}
