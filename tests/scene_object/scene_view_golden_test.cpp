// Frames of the shared test scenes rendered by vireline-scene-view's headless path (the same code the
// --out option runs) on the software device, compared with the approved pictures in golden/.
#include <gtest/gtest.h>

#include <filesystem>

#include "scene_view/scene_view.h"
#include "support/golden_image.h"
#include "support/png_file.h"

namespace {

struct GoldenScene {
    const char* file;
    int camera;
    float time;
    const char* golden;
};

// Chosen for what they exercise: cameras with targets and animation, textures found beside the scene
// in other case (JPEG and BMP), transparency, spot and omni lights, a missing reflection map, the
// default material of a scene without materials, a hierarchy of meshes, and the viewer's own camera.
const GoldenScene kScenes[] = {
    {"CameraRollAnimWithChildObject.3ds", 0, 60.0f, "camera_child"},
    {"TargetCameraAnim.3ds", 0, 20.0f, "target_camera"},
    {"jeep1.3ds", 0, 0.0f, "jeep1"},
    {"mp5_sil.3ds", 0, 0.0f, "mp5_sil"},
    {"cubes_with_alpha.3DS", 0, 0.0f, "cubes_with_alpha"},
    {"pyramob.3DS", 0, 0.0f, "pyramob"},
    {"suzanne.3ds", 0, 0.0f, "suzanne"},
    {"cart_wheel.3DS", 0, 0.0f, "cart_wheel"},
    {"mushroom.3ds", 0, 0.0f, "mushroom"},
};

void PrintTo(const GoldenScene& scene, std::ostream* out) { *out << scene.file << " at " << scene.time; }

class SceneViewGolden : public ::testing::TestWithParam<GoldenScene> {};

TEST_P(SceneViewGolden, FrameMatchesTheApprovedPicture) {
    const GoldenScene& scene = GetParam();
    const std::string out_dir = std::string(VIRELINE_BINARY_DIR) + "/test-output/scene_view";
    std::filesystem::create_directories(out_dir);
    SceneViewOptions options;
    options.scene_path = std::string(VIRELINE_TESTDATA_DIR) + "/3ds/" + scene.file;
    options.camera = scene.camera;
    options.time = scene.time;
    options.width = 160;
    options.height = 120;
    options.out_path = out_dir + "/" + scene.golden + ".png";
    ASSERT_EQ(scene_view_run_headless(options), 0);

    TestImage frame;
    std::string error;
    ASSERT_TRUE(png_read(options.out_path, &frame, &error)) << error;
    ASSERT_EQ(frame.width, 160);
    ASSERT_EQ(frame.height, 120);
    ImageTolerance tolerance;
    tolerance.channel = 6;
    tolerance.bad_fraction = 0.005;
    EXPECT_MATCHES_GOLDEN(std::string("tests/scene_object/golden/") + scene.golden + ".png", frame, tolerance);
}

INSTANTIATE_TEST_SUITE_P(TestScenes, SceneViewGolden, ::testing::ValuesIn(kScenes),
                         [](const ::testing::TestParamInfo<GoldenScene>& info) { return std::string(info.param.golden); });

// The OpenGL device (EGL without a window) draws the same pictures within a looser tolerance; where no
// such device is available the viewer says so and the case is skipped.
TEST_P(SceneViewGolden, OpenGLFrameMatchesTheSamePicture) {
    const GoldenScene& scene = GetParam();
    const std::string out_dir = std::string(VIRELINE_BINARY_DIR) + "/test-output/scene_view";
    std::filesystem::create_directories(out_dir);
    SceneViewOptions options;
    options.scene_path = std::string(VIRELINE_TESTDATA_DIR) + "/3ds/" + scene.file;
    options.camera = scene.camera;
    options.time = scene.time;
    options.width = 160;
    options.height = 120;
    options.device = SceneViewDevice::OpenGL;
    options.out_path = out_dir + "/" + scene.golden + "_gl.png";
    ::testing::internal::CaptureStderr();
    const int status = scene_view_run_headless(options);
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (status != 0 && said.find("OpenGL device could not be made") != std::string::npos) {
        GTEST_SKIP() << said;
    }
    ASSERT_EQ(status, 0) << said;
    TestImage frame;
    ASSERT_TRUE(png_read(options.out_path, &frame));
    TestImage golden;
    ASSERT_TRUE(png_read(std::string(VIRELINE_SOURCE_DIR) + "/tests/scene_object/golden/" + scene.golden + ".png", &golden));
    ImageTolerance tolerance;
    tolerance.channel = 24;
    tolerance.bad_fraction = 0.02;
    const ImageComparison comparison = image_compare(frame, golden, tolerance);
    if (!comparison.passed) golden_write_failure(std::string(scene.golden) + "_gl", frame, golden);
    EXPECT_TRUE(comparison.passed) << comparison.summary();
}

TEST(SceneViewFrames, TheTimeMovesAnimatedScenes) {
    const std::string out_dir = std::string(VIRELINE_BINARY_DIR) + "/test-output/scene_view";
    std::filesystem::create_directories(out_dir);
    SceneViewOptions options;
    options.scene_path = std::string(VIRELINE_TESTDATA_DIR) + "/3ds/TargetCameraAnim.3ds";
    options.width = 80;
    options.height = 60;
    options.out_path = out_dir + "/time0.png";
    ASSERT_EQ(scene_view_run_headless(options), 0);
    options.time = 40.0f;
    options.out_path = out_dir + "/time40.png";
    ASSERT_EQ(scene_view_run_headless(options), 0);
    TestImage first;
    TestImage second;
    ASSERT_TRUE(png_read(out_dir + "/time0.png", &first));
    ASSERT_TRUE(png_read(out_dir + "/time40.png", &second));
    EXPECT_FALSE(image_compare(first, second, ImageTolerance{}).passed);
}

TEST(SceneViewFrames, ACameraTheSceneDoesNotHaveIsAnError) {
    SceneViewOptions options;
    options.scene_path = std::string(VIRELINE_TESTDATA_DIR) + "/3ds/TargetCameraAnim.3ds";
    options.camera = 3;
    options.out_path = std::string(VIRELINE_BINARY_DIR) + "/test-output/scene_view/none.png";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(scene_view_run_headless(options), 1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("--camera 3: the scene has 1 camera"), std::string::npos);
}

}  // namespace
