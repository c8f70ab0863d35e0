// One frame of each generated scene through one of its cameras, rendered by vireline-scene-view's
// headless path on the software device and compared with the approved picture in golden/. When
// the content changes on purpose, approve new pictures with VIRELINE_APPROVE=1 (see
// tests/support/golden_image.h) and look at them before committing.
#include <gtest/gtest.h>

#include <filesystem>

#include "content_test_util.h"
#include "scene_view/scene_view.h"
#include "support/golden_image.h"
#include "capture/png_file.h"

namespace {

struct GoldenShot {
    const char* scene;  // under scenes/, without .3ds
    int camera;
    float time;
};

const GoldenShot kShots[] = {
    {"outous", 0, 200.0f}, {"kanjoni", 0, 120.0f}, {"altaat", 1, 150.0f}, {"taustaa", 0, 150.0f},
    {"planet", 0, 420.0f}, {"pallo", 0, 0.0f},      {"boxi", 0, 0.0f},     {"cylinder", 0, 0.0f},
};

void PrintTo(const GoldenShot& shot, std::ostream* out) { *out << shot.scene << " camera " << shot.camera << " at " << shot.time; }

// The viewer looks for textures beside the scene: one folder with the scene and every picture, one per
// shot, since the shots run as processes side by side and must not overwrite each other's files.
std::string viewing_folder(const std::string& scene) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(VIRELINE_BINARY_DIR) / "test-output" / ("content_view_" + scene);
    fs::create_directories(folder);
    for (const std::string& file : content_manifest())
        fs::copy_file(content_path(file), folder / fs::path(file).filename(), fs::copy_options::overwrite_existing);
    return folder.string();
}

class ContentGolden : public ::testing::TestWithParam<GoldenShot> {};

TEST_P(ContentGolden, FrameMatchesTheApprovedPicture) {
    const GoldenShot& shot = GetParam();
    const std::string folder = viewing_folder(shot.scene);
    const SceneViewOptions options{.scene_path = folder + "/" + shot.scene + ".3ds", .camera = shot.camera, .time = shot.time,
                                   .width = 160, .height = 120, .device = SceneViewDevice::Software,
                                   .out_path = folder + "/" + shot.scene + ".png"};
    ::testing::internal::CaptureStderr();
    const int status = scene_view_run_headless(options);
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(status, 0) << said;
    TestImage frame;
    ASSERT_TRUE(png_read(options.out_path, &frame));
    EXPECT_MATCHES_GOLDEN(std::string("tests/tools/content/golden/") + shot.scene + ".png", frame,
                          (ImageTolerance{.channel = 6, .bad_fraction = 0.005}));
}

INSTANTIATE_TEST_SUITE_P(Content, ContentGolden, ::testing::ValuesIn(kShots),
                         [](const ::testing::TestParamInfo<GoldenShot>& info) { return std::string(info.param.scene); });

}  // namespace
