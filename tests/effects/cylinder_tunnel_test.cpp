// The cylinder tunnel: its fields after construction, one frame's calls and motion, wrapping, and a
// missing scene.
#include "effects/cylinder_tunnel.h"

#include <cmath>
#include <filesystem>
#include <unistd.h>

#include "effects/effect_rigs.h"
#include "effects_fixture.h"
#include "math/matrix.h"
#include "platform/debug_output.h"

namespace {

constexpr float kPi = 3.1415927f;

class CylinderTunnelTest : public RecordingEffectTest {
protected:
    static void SetUpTestSuite() {
        folder = (std::filesystem::temp_directory_path() / ("vireline_tunnel_" + std::to_string(::getpid()))).string();
        ASSERT_TRUE(rig_write_content(folder, nullptr));
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(folder); }
    void SetUp() override {
        RecordingEffectTest::SetUp();
        cylinder_tunnel_create(&tunnel, "stars.tga", (folder + "/tube.3ds").c_str());
        ASSERT_FALSE(tunnel.meshes[0].empty());
    }
    static inline std::string folder;
    DebugOutputCapture said;
    CylinderTunnel tunnel;
};

TEST_F(CylinderTunnelTest, ConstructionSetsPhasesAnchorsColoursAndThreeSeparateMeshes) {
    EXPECT_EQ((std::vector<float>{tunnel.phases[0], tunnel.phases[1], tunnel.phases[2]}),
              (std::vector<float>{kPi, kPi * 1.5f, kPi}));
    EXPECT_EQ(tunnel.anchors[0], (Vector3{20, -10, 20}));
    EXPECT_EQ(tunnel.anchors[1], (Vector3{0, 40, 40}));
    EXPECT_EQ(tunnel.anchors[2], (Vector3{0, -8, 40}));
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(tunnel.colours[k], 0x55FFFFFFu);
        EXPECT_EQ(tunnel.meshes[k].vertex_count(), tunnel.meshes[0].vertex_count());
        EXPECT_EQ(tunnel.meshes[k].vertices[0].color, 0x40404040u);
    }
    EXPECT_NE(tunnel.meshes[1].vertices.data(), tunnel.meshes[2].vertices.data());
    EXPECT_EQ(tunnel.swing, 0.0f);
    EXPECT_EQ(said.text(), "") << "the keyframed loads report nothing";
}

TEST_F(CylinderTunnelTest, AFrameMovesEachTubeAndDrawsItThroughItsOwnCamera) {
    const MeshRecord before = tunnel.meshes[1];
    device.clear_calls();
    const float s = 0.1f;
    cylinder_tunnel_draw(&tunnel, s);
    const std::string draw = "DrawIndexedPrimitive 4 482 " + std::to_string(before.vertex_count()) + " " +
                             std::to_string(before.index_count()) + " 0";
    EXPECT_EQ(calls_of({"Draw"}), std::vector<std::string>(3, draw));
    EXPECT_FLOAT_EQ(tunnel.swing, 0.05f);
    EXPECT_FLOAT_EQ(tunnel.phases[1], kPi * 1.5f + s);
    EXPECT_EQ(tunnel.eyes[0], (Vector3{0, 0, -30.0f - 20.0f * std::sin(0.05f)}));
    EXPECT_EQ(tunnel.eyes[1], (Vector3{0, 0, -48}));
    EXPECT_EQ(tunnel.eyes[2], (Vector3{0, 0, 10.0f - 30.0f * std::sin(0.05f)}));

    Matrix turn, view;
    Vector3 at = tunnel.anchors[2];
    vector3_transform_point(&at, matrix_rotation_z(&turn, tunnel.phases[2]));
    const Vector3 up{0, 1, 0};
    matrix_look_at(&view, &tunnel.eyes[2], &at, &up);
    EXPECT_EQ(device.transforms.at(D3DTRANSFORMSTATE_VIEW), view) << "the last tube's camera";
    for (std::size_t i = 0; i < before.vertices.size(); ++i) {
        EXPECT_FLOAT_EQ(tunnel.meshes[1].vertices[i].tu, before.vertices[i].tu + 1.5f * s);
        EXPECT_FLOAT_EQ(tunnel.meshes[1].vertices[i].tv, before.vertices[i].tv + 0.5f * s);
        EXPECT_EQ(tunnel.meshes[1].vertices[i].color, 0x55FFFFFFu);
    }
}

TEST_F(CylinderTunnelTest, RateZeroMovesNothingAndAnglesPastTwoPiStartAgainAtZero) {
    cylinder_tunnel_draw(&tunnel, 0.0f);
    const CylinderTunnel still = tunnel;
    cylinder_tunnel_draw(&tunnel, 0.0f);
    EXPECT_EQ(tunnel.phases[0], still.phases[0]);
    EXPECT_EQ(tunnel.meshes[0].vertices[3].tu, still.meshes[0].vertices[3].tu);
    EXPECT_EQ(device.calls_starting("DrawIndexedPrimitive").size(), 6u);

    tunnel.swing = 2 * kPi - 0.01f;
    tunnel.phases[0] = 2 * kPi - 0.01f;
    cylinder_tunnel_draw(&tunnel, 0.1f);
    EXPECT_EQ(tunnel.swing, 0.0f);
    EXPECT_EQ(tunnel.phases[0], 0.0f);
}

TEST_F(CylinderTunnelTest, AMissingSceneIsReportedOnceAndDrawsNothing) {
    ::testing::internal::CaptureStderr();
    said.clear();
    CylinderTunnel missing;
    const std::string file = folder + "/no_cylinder.3ds";
    cylinder_tunnel_create(&missing, "stars.tga", file.c_str());
    ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.text().find(file), std::string::npos);
    EXPECT_EQ(std::count(said.text().begin(), said.text().end(), '\n'), 1);
    device.clear_calls();
    cylinder_tunnel_draw(&missing, 0.1f);
    EXPECT_TRUE(device.calls_starting("Draw").empty());
}

}  // namespace
