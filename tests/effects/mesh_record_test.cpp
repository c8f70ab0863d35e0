// Mesh records from 3DS files written here (their placement, colours, texture coordinates, indices and
// diagnostic line), missing files and meshes, scrolling, and the vertex repulsor.
#include "effects/mesh_record.h"

#include <cmath>
#include <filesystem>
#include <unistd.h>

#include "effects/vertex_repulsor.h"
#include "effects_fixture.h"
#include "math/matrix.h"
#include "platform/debug_output.h"
#include "scene3ds/keyframe_eval.h"
#include "scene3ds/load_3ds.h"
#include "scene3ds_writer/write_3ds.h"

namespace {

constexpr float kPi = 3.1415927f;

class MeshRecordTest : public RecordingEffectTest {
protected:
    static void SetUpTestSuite() {
        folder = std::filesystem::temp_directory_path() / ("vireline_mesh_record_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        File3dsScene scene;
        File3dsMesh mesh{"Tri", {{0, 0, 0}, {10, 0, 0}, {0, 20, 5}}, {{0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f}}, {},
                         {{0, 1, 2, 7}}, {}};
        scene.objects.push_back(mesh);
        File3dsNode node;
        node.node_id = 0;
        node.name = "Tri";
        node.position = File3dsTrack<File3dsPoint>{0, {{0, {10, 20, 30}, {}}, {50, {40, 20, 30}, {}}}};
        node.rotation = File3dsTrack<File3dsRotation>{0, {{0, {kPi / 2, {0, 0, 1}}, {}}}};
        scene.frame_segment = std::array<std::uint32_t, 2>{0, 50};
        scene.nodes.push_back(node);
        ASSERT_TRUE(write_3ds_file(path("tri.3ds").c_str(), scene));
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(folder); }
    static std::string path(const char* name) { return (folder / name).string(); }

    static inline std::filesystem::path folder;
    DebugOutputCapture said;
};

TEST_F(MeshRecordTest, PositionedVariantsAddTheFirstPositionKeyAndReportTheirCounts) {
    const std::unique_ptr<Scene3ds> scene = load_3ds_scene(path("tri.3ds").c_str());
    ASSERT_NE(scene, nullptr);
    const MeshNode& source = *scene->meshes.at(0);
    const Vector3 t = node_position(source);
    for (auto [load, colour] : {std::pair{&load_mesh_positioned, 0xFF4080FFu}, {&load_mesh_white, 0xFFFFFFFFu}}) {
        said.clear();
        const MeshRecord record = load(path("tri.3ds").c_str(), 0);
        EXPECT_EQ(said.text(), "3, 3 joo\n");
        ASSERT_EQ(record.vertex_count(), 3);
        EXPECT_EQ(record.indices, source.indices);
        for (int i = 0; i < 3; ++i) {
            const SceneVertex& p = source.vertices[static_cast<std::size_t>(i)];
            const D3DLVERTEX& v = record.vertices[static_cast<std::size_t>(i)];
            EXPECT_FLOAT_EQ(v.x, (p.x + t.x) * 100.0f);
            EXPECT_FLOAT_EQ(v.y, (p.y + t.y) * 100.0f);
            EXPECT_FLOAT_EQ(v.z, (p.z + t.z) * 100.0f);
            EXPECT_EQ((std::vector<DWORD>{v.color, v.dwReserved, v.specular}), (std::vector<DWORD>{colour, 0, 0}));
            EXPECT_EQ(v.tu, p.tu);
            EXPECT_EQ(v.tv, p.tv);
        }
    }
    // The file's first key (10, 20, 30), with y and z swapped by the reader, back in file units.
    EXPECT_NEAR(t.x * 100.0f, 10.0f, 1e-3);
    EXPECT_NEAR(t.y * 100.0f, 30.0f, 1e-3);
    EXPECT_NEAR(t.z * 100.0f, 20.0f, 1e-3);
}

TEST_F(MeshRecordTest, KeyframedVariantPlacesByTheNodeMatrixAtFrameZero) {
    const std::unique_ptr<Scene3ds> scene = load_3ds_scene(path("tri.3ds").c_str());
    MeshNode& source = *scene->meshes.at(0);
    evaluate_node(&source, 0.0f);
    const MeshRecord record = load_mesh_keyframed(path("tri.3ds").c_str(), 0);
    EXPECT_EQ(said.text(), "");
    ASSERT_EQ(record.vertex_count(), 3);
    bool turned = false;
    for (int i = 0; i < 3; ++i) {
        const SceneVertex& p = source.vertices[static_cast<std::size_t>(i)];
        Vector3 expected = Vector3{p.x, p.y, p.z} * 100.0f;
        vector3_transform_point(&expected, &source.matrix);
        const D3DLVERTEX& v = record.vertices[static_cast<std::size_t>(i)];
        EXPECT_FLOAT_EQ(v.x, expected.x);
        EXPECT_FLOAT_EQ(v.y, expected.y);
        EXPECT_FLOAT_EQ(v.z, expected.z);
        EXPECT_EQ(v.color, 0x40404040u);
        const Vector3 plain = (Vector3{p.x, p.y, p.z} + node_position(source)) * 100.0f;
        turned = turned || std::fabs(plain.x - v.x) > 1.0f || std::fabs(plain.y - v.y) > 1.0f;
    }
    EXPECT_TRUE(turned) << "the rotation key must show in the keyframed placement";
}

TEST_F(MeshRecordTest, MissingFilesAndMeshesGiveEmptyRecordsThatEveryOperationSkips) {
    ::testing::internal::CaptureStderr();  // the reader's "not found!" box, shown on standard error here
    const std::string missing = path("nothing.3ds");
    for (auto load : {&load_mesh_keyframed, &load_mesh_positioned, &load_mesh_white}) {
        said.clear();
        MeshRecord record = load(missing.c_str(), 0);
        EXPECT_TRUE(record.empty());
        EXPECT_NE(said.text().find(missing), std::string::npos) << said.text();
        EXPECT_EQ(std::count(said.text().begin(), said.text().end(), '\n'), 1);
        said.clear();
        record = load(path("tri.3ds").c_str(), 1);
        EXPECT_TRUE(record.empty());
        EXPECT_NE(said.text().find("tri.3ds"), std::string::npos);
        device.clear_calls();
        draw_mesh(&record);
        scroll_mesh(&record, 1, 1, 0);
        VertexRepulsor repulsor;
        vertex_repulsor_create(&repulsor, MeshRecord{}, std::move(record));
        repel_vertices(&repulsor);
        EXPECT_TRUE(device.calls.empty());
    }
    ::testing::internal::GetCapturedStderr();
}

TEST_F(MeshRecordTest, DrawAndScroll) {
    MeshRecord record = load_mesh_keyframed(path("tri.3ds").c_str(), 0);
    const MeshRecord loaded = record;
    scroll_mesh(&record, 0, 0, 0x55FFFFFF);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(record.vertices[i].color, 0x55FFFFFFu);
        EXPECT_EQ(record.vertices[i].tu, loaded.vertices[i].tu);
        EXPECT_EQ(record.vertices[i].x, loaded.vertices[i].x);
    }
    for (int frame = 0; frame < 3; ++frame) scroll_mesh(&record, 1.5f, 0.5f, 0x55FFFFFF);
    EXPECT_FLOAT_EQ(record.vertices[2].tu, loaded.vertices[2].tu + 4.5f) << "never wrapped";
    EXPECT_FLOAT_EQ(record.vertices[2].tv, loaded.vertices[2].tv + 1.5f);
    draw_mesh(&record);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"DrawIndexedPrimitive 4 482 3 3 0"}));
}

MeshRecord points(std::initializer_list<Vector3> positions) {
    MeshRecord record;
    for (const Vector3& p : positions) record.vertices.push_back(D3DLVERTEX{p.x, p.y, p.z, 0, 0xFFFFFFFF, 0, 0.25f, 0.5f});
    record.indices = {0, 0, 0};
    return record;
}

TEST(VertexRepulsor, PhasesComeFromThreeDrawsInOrder) {
    random_reset();
    VertexRepulsor repulsor;
    vertex_repulsor_create(&repulsor, MeshRecord{}, MeshRecord{});
    RandomGenerator g;
    for (float phase : {repulsor.a, repulsor.b, repulsor.c}) {
        EXPECT_FLOAT_EQ(phase, static_cast<float>(g.next() % 1000) * 0.001f * kPi * 2.0f);
    }
    EXPECT_EQ(random_next(), g.next());
    random_reset();
}

TEST(VertexRepulsor, PushesByTheSquareOfTheGapToEightyAndStartsFromRestEachFrame) {
    // Phases 0 put the point at (25, 0, 25) exactly.
    const MeshRecord rest = points({{25, 80, 25}, {25, 0, 25}, {25, 0, 65}, {25, 0, 125}, {25, -70, 25}});
    VertexRepulsor repulsor{rest, rest, 0.0f, 0.0f, 0.0f, {}};
    struct Case {
        const char* what;
        Vector3 moved_to;
    };
    const Case cases[] = {
        {"at exactly 80: f = 0", {25, 80, 25}},
        {"on the point itself: no direction", {25, 0, 25}},
        {"at 40: pushed by 40", {25, 0, 105}},
        {"at 100: pushed by 10 again", {25, 0, 135}},
        {"at 70: pushed by 2.5", {25, -72.5f, 25}},
    };
    for (int frame = 0; frame < 2; ++frame) {
        repel_vertices(&repulsor);
        EXPECT_EQ(repulsor.point, (Vector3{25, 0, 25}));
        for (std::size_t i = 0; i < 5; ++i) {
            const D3DLVERTEX& v = repulsor.deformed.vertices[i];
            EXPECT_NEAR(v.x, cases[i].moved_to.x, 1e-4) << cases[i].what;
            EXPECT_NEAR(v.y, cases[i].moved_to.y, 1e-4) << cases[i].what;
            EXPECT_NEAR(v.z, cases[i].moved_to.z, 1e-4) << cases[i].what;
            EXPECT_EQ(v.tu, 0.25f);
            EXPECT_EQ(v.color, 0xFFFFFFFFu);
        }
    }
}

TEST(VertexRepulsor, MeshesOfDifferentSizesUseTheSmallerCount) {
    VertexRepulsor shorter_rest{points({{0, 0, 200}, {0, 0, 300}}), points({{0, 0, 100}}), 0, 0, 0, {}};
    repel_vertices(&shorter_rest);
    EXPECT_NE(shorter_rest.deformed.vertices[0].z, 200.0f);
    EXPECT_EQ(shorter_rest.deformed.vertices[1].z, 300.0f) << "no rest vertex to rebuild it from";
    VertexRepulsor shorter_deformed{points({{0, 0, 200}}), points({{0, 0, 100}, {0, 0, 300}}), 0, 0, 0, {}};
    repel_vertices(&shorter_deformed);
    EXPECT_EQ(shorter_deformed.deformed.vertices.size(), 1u);
}

}  // namespace
