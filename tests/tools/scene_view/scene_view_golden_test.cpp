// Frames of the shared test scenes rendered by vireline-scene-view's headless path (the same code the
// --out option runs), compared with the approved pictures in golden/: on the software device closely,
// on the OpenGL device (EGL without a window) within a looser tolerance, skipped where there is none.
#include <gtest/gtest.h>

#include <filesystem>

#include "scene_view/scene_view.h"
#include "support/golden_image.h"
#include "capture/png_file.h"

namespace {

struct GoldenScene {
    const char* file;
    float time;
    const char* golden;
};

// Chosen for what they exercise: cameras with targets and animation, textures found beside the scene
// in other case (JPEG and BMP), transparency, spot and omni lights, a missing reflection map, the
// default material of a scene without materials, a hierarchy of meshes, and the viewer's own camera.
const GoldenScene kScenes[] = {
    {"CameraRollAnimWithChildObject.3ds", 60.0f, "camera_child"}, {"TargetCameraAnim.3ds", 20.0f, "target_camera"},
    {"jeep1.3ds", 0.0f, "jeep1"},         {"mp5_sil.3ds", 0.0f, "mp5_sil"},
    {"cubes_with_alpha.3DS", 0.0f, "cubes_with_alpha"}, {"pyramob.3DS", 0.0f, "pyramob"},
    {"suzanne.3ds", 0.0f, "suzanne"},     {"cart_wheel.3DS", 0.0f, "cart_wheel"},
    {"mushroom.3ds", 0.0f, "mushroom"},
};

void PrintTo(const GoldenScene& scene, std::ostream* out) { *out << scene.file << " at " << scene.time; }

struct Rendered {
    int status = -1;
    std::string said;  // the viewer's standard error
    TestImage frame;
};

class SceneViewGolden : public ::testing::TestWithParam<GoldenScene> {
protected:
    // The scene at 160 × 120 through camera 0, rendered by the viewer's headless path and read back.
    Rendered render(SceneViewDevice device, const std::string& suffix) {
        const std::string out_dir = std::string(VIRELINE_BINARY_DIR) + "/test-output/scene_view";
        std::filesystem::create_directories(out_dir);
        const SceneViewOptions options{.scene_path = std::string(VIRELINE_TESTDATA_DIR) + "/3ds/" + GetParam().file,
                                       .time = GetParam().time, .width = 160, .height = 120, .device = device,
                                       .out_path = out_dir + "/" + GetParam().golden + suffix + ".png"};
        Rendered out;
        ::testing::internal::CaptureStderr();
        out.status = scene_view_run_headless(options);
        out.said = ::testing::internal::GetCapturedStderr();
        if (out.status == 0) {
            EXPECT_TRUE(png_read(options.out_path, &out.frame));
        }
        return out;
    }
    std::string golden_path() const { return std::string("tests/tools/scene_view/golden/") + GetParam().golden + ".png"; }
};

TEST_P(SceneViewGolden, FrameMatchesTheApprovedPicture) {
    const Rendered rendered = render(SceneViewDevice::Software, "");
    ASSERT_EQ(rendered.status, 0) << rendered.said;
    EXPECT_MATCHES_GOLDEN(golden_path(), rendered.frame, (ImageTolerance{.channel = 6, .bad_fraction = 0.005}));
}

TEST_P(SceneViewGolden, OpenGLFrameMatchesTheSamePicture) {
    const Rendered rendered = render(SceneViewDevice::OpenGL, "_gl");
    if (rendered.status != 0 && rendered.said.find("OpenGL device could not be made") != std::string::npos) {
        GTEST_SKIP() << rendered.said;
    }
    ASSERT_EQ(rendered.status, 0) << rendered.said;
    TestImage golden;
    ASSERT_TRUE(png_read(std::string(VIRELINE_SOURCE_DIR) + "/" + golden_path(), &golden));
    const ImageComparison comparison =
        image_compare(rendered.frame, golden, ImageTolerance{.channel = 24, .bad_fraction = 0.02});
    if (!comparison.passed) golden_write_failure(std::string(GetParam().golden) + "_gl", rendered.frame, golden);
    EXPECT_TRUE(comparison.passed) << comparison.summary();
}

INSTANTIATE_TEST_SUITE_P(TestScenes, SceneViewGolden, ::testing::ValuesIn(kScenes),
                         [](const ::testing::TestParamInfo<GoldenScene>& info) { return info.param.golden; });

}  // namespace
