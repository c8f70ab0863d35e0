// Making OpenGL contexts: headless through EGL on each platform, the version rule, and creation failing
// cleanly (so the framework falls back to the software device) when no context can be made.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <epoxy/gl.h>

#include "gl_test_rig.h"
#include "platform/d3d/gl/context_egl.h"
#include "platform/d3d/gl/gl_backend.h"
#include "platform/debug_output.h"

TEST(GlVersion, ThreeThreeIsTheFloor)
{
    EXPECT_FALSE(gl_version_sufficient(2, 1));
    EXPECT_FALSE(gl_version_sufficient(3, 2));
    EXPECT_TRUE(gl_version_sufficient(3, 3));
    EXPECT_TRUE(gl_version_sufficient(4, 0));
}

// Each platform gives a current desktop context (the rendering tests draw on the automatic one).
class EglPlatform : public ::testing::TestWithParam<const char*> {};

TEST_P(EglPlatform, GivesACurrentContextOfAtLeastThreeThree)
{
    std::string error;
    std::unique_ptr<GlContext> context = context_egl_create(GetParam(), &error);
    ASSERT_NE(context, nullptr) << error;
    ASSERT_TRUE(context->make_current());
    EXPECT_TRUE(epoxy_is_desktop_gl());
    EXPECT_GE(epoxy_gl_version(), 33);
    EXPECT_NE(context->describe().find("|"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Headless, EglPlatform, ::testing::Values("surfaceless", "pbuffer", ""));

TEST(EglContext, UnknownPlatformFailsWithAReason)
{
    std::string error;
    EXPECT_EQ(context_egl_create("no-such-platform", &error), nullptr);
    EXPECT_NE(error.find("no-such-platform"), std::string::npos) << error;
}

TEST(GlDeviceCreation, FailsCleanlyWhenNoContextCanBeMade)
{
    struct PlatformOverride {  // VIRELINE_GL_PLATFORM set for the test, restored after
        const char* old = std::getenv("VIRELINE_GL_PLATFORM");
        std::string saved = old != nullptr ? old : "";
        PlatformOverride() { setenv("VIRELINE_GL_PLATFORM", "no-such-platform", 1); }
        ~PlatformOverride()
        {
            old != nullptr ? setenv("VIRELINE_GL_PLATFORM", saved.c_str(), 1) : unsetenv("VIRELINE_GL_PLATFORM");
        }
    } broken;
    DebugOutputCapture capture;
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 32, 32);
    EXPECT_FALSE(rig.ok());
    EXPECT_EQ(rig.create_result(), D3DERR_INVALID_DEVICE);
    EXPECT_NE(capture.text().find("OpenGL device: no headless context"), std::string::npos) << capture.text();
    // The software device can still be made on the same target, for the fallback.
    IDirect3DDevice7* soft = nullptr;
    IDirect3D7* d3d = nullptr;
    ASSERT_TRUE(SUCCEEDED(rig.ddraw()->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d))));
    EXPECT_TRUE(SUCCEEDED(d3d->CreateDevice(IID_IDirect3DRGBDevice, rig.target(), &soft)));
    if (soft != nullptr) soft->Release();
    d3d->Release();
}

TEST(GlDeviceCreation, IsEnumeratedAsTheTransformAndLightingDevice)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 16, 16);
    ASSERT_TRUE(rig.ok());
    D3DDEVICEDESC7 caps{};
    ASSERT_TRUE(SUCCEEDED(rig.device()->GetCaps(&caps)));
    EXPECT_TRUE(caps.deviceGUID == IID_IDirect3DTnLHalDevice);
    EXPECT_NE(caps.dwDevCaps & D3DDEVCAPS_HWRASTERIZATION, 0u);
    EXPECT_NE(caps.dwDevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0u);
    EXPECT_NE(caps.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_WBUFFER, 0u);
    EXPECT_EQ(caps.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_ZBUFFERLESSHSR, 0u);
}
