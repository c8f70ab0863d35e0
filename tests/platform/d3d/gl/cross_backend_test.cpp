// The same composed scenes on the software rasterizer and on the OpenGL backend must agree to a peak
// signal-to-noise ratio of at least 40 dB, at two animation frames on a 32-bit target and one on a
// 16-bit target. The measured figures are printed and recorded as test properties; on a failure (or
// with VIRELINE_GL_WRITE_PICTURES set) both pictures and their difference are written under test-output/.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <epoxy/gl.h>

#include "gl_test_rig.h"
#include "platform/d3d/gl/gl_renderer.h"
#include "support/golden_image.h"
#include "support/image_compare.h"

namespace {

struct Case { std::size_t scene; int frame; PixelKind kind; };

TestImage render(const GUID& device, const Case& c)
{
    GlTestRig rig(device, 320, 240, true, c.kind);
    EXPECT_TRUE(rig.ok()) << "device creation failed: " << std::hex << rig.create_result();
    if (!rig.ok()) return TestImage();
    SceneTarget t{rig.ddraw(), rig.device(), rig.target(), rig.zbuffer(), 320, 240};
    gl_comparison_scenes()[c.scene].draw(t, c.frame);
    TestImage image = rig.image();
    if (GlRenderer* gl = rig.renderer()) {
        gl->context().make_current();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "OpenGL reported an error";
    }
    gl_scenes_release();
    return image;
}

std::string case_name(const Case& c)
{
    return gl_comparison_scenes()[c.scene].name + "_frame" + std::to_string(c.frame) +
           (c.kind == PixelKind::R5G6B5 ? "_16bit" : "_32bit");
}

std::vector<Case> all_cases()
{
    std::vector<Case> cases;
    for (std::size_t i = 0; i < gl_comparison_scenes().size(); ++i) {
        cases.insert(cases.end(), {{i, 0, PixelKind::X8R8G8B8}, {i, 7, PixelKind::X8R8G8B8}, {i, 3, PixelKind::R5G6B5}});
    }
    return cases;
}

class CrossBackend : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(CrossBackend, SoftwareAndOpenGlAgree)
{
    const Case c = GetParam();
    const TestImage soft = render(IID_IDirect3DRGBDevice, c);
    const TestImage gl = render(IID_IDirect3DTnLHalDevice, c);
    ASSERT_FALSE(soft.empty());
    ASSERT_FALSE(gl.empty());
    // Only the PSNR counts: any channel may differ anywhere.
    const ImageComparison result = image_compare(gl, soft, ImageTolerance{255, 1.0, 40.0});
    std::printf("PSNR %-40s %7.2f dB (largest channel difference %d)\n", case_name(c).c_str(), result.psnr,
                result.max_difference);
    RecordProperty("psnr_db", std::to_string(result.psnr));
    EXPECT_GE(result.psnr, 40.0) << result.summary();
    if (result.psnr < 40.0 || std::getenv("VIRELINE_GL_WRITE_PICTURES") != nullptr) {
        std::printf("pictures in %s\n", golden_write_failure("d3d_gl_" + case_name(c), gl, soft).c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, CrossBackend, ::testing::ValuesIn(all_cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return case_name(info.param); });
