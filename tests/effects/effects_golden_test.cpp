// One frame of every effect from its rig after a fixed number of fixed steps: on the software device
// compared with the approved picture in golden/, on the OpenGL device (EGL on llvmpipe, no window)
// compared with the same picture at 40 dB or better; skipped where there is no OpenGL device.
// Approving new pictures: VIRELINE_APPROVE=1 ./tests/effects/effects_golden_test (software only).
#include <gtest/gtest.h>

#include <unistd.h>

#include "effects/effect_rigs.h"
#include "render/offscreen_device.h"
#include "support/golden_image.h"
#include "capture/png_file.h"

namespace {

const std::string& content_folder() {
    // One folder per process: the cases run as processes side by side and rewrite the rig's files.
    static const std::string folder =
        std::string(VIRELINE_BINARY_DIR) + "/test-output/effects_content_" + std::to_string(::getpid());
    return folder;
}

class EffectGolden : public ::testing::TestWithParam<RigEffectInfo> {
protected:
    static void SetUpTestSuite() {
        std::string reason;
        ASSERT_TRUE(rig_write_content(content_folder(), &reason)) << reason;
    }
    // The rig's frame on that device; an empty picture (with the reason) when the device cannot be made.
    TestImage render(OffscreenDeviceKind kind, std::string* skipped) {
        OffscreenDevice device;
        std::string reason;
        TestImage image;
        if (FAILED(device.create(kind, RIG_WIDTH, RIG_HEIGHT, &reason))) {
            *skipped = reason;
            return image;
        }
        device.make_current();
        {
            EffectRig rig(GetParam().effect, content_folder());
            EXPECT_TRUE(rig.run(GetParam().frames, &reason)) << reason;
            RigFrame frame;
            EXPECT_TRUE(rig_read_surface(device.target(), &frame));
            image.width = frame.width;
            image.height = frame.height;
            image.argb = frame.argb;
        }
        device.release();
        return image;
    }
    std::string golden_path() const { return std::string("tests/effects/golden/") + GetParam().name + ".png"; }
};

TEST_P(EffectGolden, SoftwareFrameMatchesTheApprovedPicture) {
    std::string skipped;
    const TestImage image = render(OffscreenDeviceKind::Software, &skipped);
    ASSERT_FALSE(image.empty()) << skipped;
    EXPECT_MATCHES_GOLDEN(golden_path(), image, (ImageTolerance{.channel = 1, .bad_fraction = 0.0}));
}

TEST_P(EffectGolden, OpenGLFrameAgreesWithTheSoftwarePicture) {
    if (golden_approving()) GTEST_SKIP() << "pictures are approved from the software device";
    std::string skipped;
    const TestImage image = render(OffscreenDeviceKind::Hardware, &skipped);
    if (image.empty()) GTEST_SKIP() << "no OpenGL device: " << skipped;
    TestImage golden;
    ASSERT_TRUE(png_read(std::string(VIRELINE_SOURCE_DIR) + "/" + golden_path(), &golden));
    const ImageComparison comparison =
        image_compare(image, golden, ImageTolerance{.channel = 24, .bad_fraction = 0.02, .min_psnr = 40.0});
    if (!comparison.passed) golden_write_failure(std::string(GetParam().name) + "_gl", image, golden);
    EXPECT_TRUE(comparison.passed) << comparison.summary();
}

INSTANTIATE_TEST_SUITE_P(Effects, EffectGolden, ::testing::ValuesIn(rig_effects()),
                         [](const ::testing::TestParamInfo<RigEffectInfo>& info) { return std::string(info.param.name); });

}  // namespace
