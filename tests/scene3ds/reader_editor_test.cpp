// The reader's editor data: normals (swapped axes, reversed winding), texture coordinates, material
// groups, local axes, material colour and percentage forms, light colours, and a missing file. The
// round-trip test converts every vertex and face of a larger scene; the oracle tests compare spots.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/debug_output.h"
#include "platform/message_box.h"
#include "sample_scenes.h"
#include "scene3ds_test_util.h"

TEST(ReaderEditor, NormalsFollowTheSwappedAxesAreUnweightedAndZeroForCollinearFaces) {
    // Vertex 0 is shared by a large triangle facing file +Z (+Y after the swap) and a small one facing
    // file +X: its normal is the plain average of the two unit normals, whatever the areas.
    const auto scene = load_written(
        file_scene({make_mesh("two", {{0, 0, 0}, {1000, 0, 0}, {0, 1000, 0}, {0, 1, 0}, {0, 0, 1}},
                              {{0, 1, 2}, {0, 3, 4}}),
                    make_mesh("line", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}})}));
    const std::vector<SceneVertex>& two = scene->meshes[0]->vertices;
    const float h = std::sqrt(0.5f);
    expect_vector_near(vertex_normal(two[0]), {h, h, 0});
    expect_vector_near(vertex_normal(two[1]), {0, 1, 0});
    expect_vector_near(vertex_normal(two[3]), {1, 0, 0});
    for (const SceneVertex& v : scene->meshes[1]->vertices) expect_vector_near(vertex_normal(v), {0, 0, 0}, 0.0f);
}

TEST(ReaderEditor, TextureCoordinatesFlipVAndAreCutToTheVertices) {
    File3dsMesh mesh = make_mesh("t");
    mesh.texture_coords = {{0.25f, 0.5f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {9.0f, 9.0f}};
    const auto scene = load_written(file_scene({mesh}));
    ASSERT_EQ(scene->meshes[0]->vertex_count(), 3u);
    EXPECT_EQ(scene->meshes[0]->vertices[0].tu, 0.25f);
    EXPECT_EQ(scene->meshes[0]->vertices[0].tv, -0.5f);
}

TEST(ReaderEditor, FaceMaterialGroupsPickTheMaterialByExactName) {
    File3dsScene file;
    file.materials.resize(3);
    file.materials[0].name = "RED";
    file.materials[1].name = "GREEN";
    file.materials[2].name = "BLUE";
    // The last group wins; names compare byte for byte, and no match gives 0; so does no group; an
    // empty group still counts.
    const std::pair<std::vector<File3dsFaceGroup>, int> cases[] = {
        {{{"GREEN", {0}}, {"BLUE", {0}}}, 2}, {{{"BLUE", {0}}, {"blue", {0}}}, 0}, {{}, 0}, {{{"GREEN", {}}}, 1}};
    for (const auto& c : cases) {
        file.objects.push_back(make_mesh("m"));
        std::get<File3dsMesh>(file.objects.back()).material_groups = c.first;
    }
    const auto scene = load_written(file);
    ASSERT_EQ(scene->meshes.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(scene->meshes[i]->material_index, cases[i].second) << i;
}

TEST(ReaderEditor, NormalsFollowLocalAxesUnlessSingular) {
    // Axes: file X → file Y, file Y → -file X, Z unchanged; origin (100, 200, 300).
    File3dsMesh mesh = make_mesh("axes", {{100, 200, 300}, {100, 300, 300}, {100, 200, 400}});
    mesh.local_axes = std::array<float, 12>{0, 1, 0, -1, 0, 0, 0, 0, 1, 100, 200, 300};
    File3dsMesh flat = make_mesh("flat");
    flat.local_axes = std::array<float, 12>{1, 0, 0, 0, 0, 0, 0, 0, 1, 5, 5, 5};
    DebugOutputCapture capture;
    const auto scene = load_written(file_scene({mesh, flat}));
    // The vertices are (0, 0, 0), (1, 0, 0) and (0, 1, 0) in the mesh frame (the round-trip test
    // checks positions), and normals come from them: the face spans local file X and Z, facing local
    // file -Y, stored as -z.
    expect_vector_near(vertex_normal(scene->meshes[0]->vertices[0]), {0, 0, -1});
    // Singular axes leave the vertices as they are.
    expect_vector_near(vertex_position(scene->meshes[1]->vertices[1]), {1, 0, 0});
    EXPECT_NE(capture.text().find("singular local axes"), std::string::npos);
}

TEST(ReaderEditor, ColourAndPercentageFormsMapNamesAndTheCurrentLightColour) {
    // The sample's Metal has byte, float and gamma-byte colours, an integer and a float percentage;
    // Glass a gamma-float colour. Spot loses its colour chunk, and the keyframer is left out.
    File3dsScene file = sample_full_scene();
    file.keyframer = false;
    file.materials[0].reflection_map = "averyveryverylongname.jpg";
    std::get<File3dsLight>(file.objects.at(4)).colour.reset();
    const auto scene = load_written(file);
    ASSERT_EQ(scene->materials.size(), 2u);
    const Material& metal = *scene->materials[0];
    EXPECT_FLOAT_EQ(metal.ambient.r, 26 * 0.003921569f);  // 0.1 stored as the byte 26
    EXPECT_FLOAT_EQ(metal.diffuse.g, 0.7f);
    EXPECT_FLOAT_EQ(metal.specular.b, 1.0f);
    EXPECT_FLOAT_EQ(metal.shininess, 0.6f);           // integer percentage × 0.01
    EXPECT_FLOAT_EQ(metal.shininess_strength, 0.5f);  // float percentage unscaled
    EXPECT_EQ(metal.maps_present, MATERIAL_MAP_TEXTURE | MATERIAL_MAP_REFLECTION);
    EXPECT_STREQ(metal.reflection_map.file_name, "averyveryverylo");  // 15 characters kept
    EXPECT_FLOAT_EQ(scene->materials[1]->diffuse.b, 0.9f);
    EXPECT_FLOAT_EQ(scene->materials[1]->transparency, 0.5f);
    ASSERT_EQ(scene->lights.size(), 2u);
    EXPECT_FLOAT_EQ(scene->lights[0]->g, 0.9f);
    EXPECT_EQ(scene->lights[0]->spot, 0);
    // A light without its own colour chunk takes the current colour.
    EXPECT_FLOAT_EQ(scene->lights[1]->b, 0.8f);
    EXPECT_EQ(scene->lights[1]->spot, 1);
    // Without keyframer nodes, nothing has a parent.
    for (const SceneNode* node : scene->node_registry) EXPECT_EQ(node->parent, nullptr) << node->name;
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
