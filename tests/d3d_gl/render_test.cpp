// Drawing through the device interface on the OpenGL backend, where GL needs the backend's help to
// give the device's picture: pixel centres under both pixel shifts (exact, and the 63/128 fallback with
// attributes stepped back), z and w values under a narrowed depth range, line end pixels, 16-bit
// targets at their own precision, and triangles with a NaN corner.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "gl_test_rig.h"
#include "math/matrix.h"

// Runs each case under the probed shift and under the 63/128 fallback (VIRELINE_GL_PIXEL_SHIFT=biased).
class GlRender : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        std::string(GetParam()) == "biased" ? setenv("VIRELINE_GL_PIXEL_SHIFT", "biased", 1)
                                            : unsetenv("VIRELINE_GL_PIXEL_SHIFT");
    }
    void TearDown() override { unsetenv("VIRELINE_GL_PIXEL_SHIFT"); }
};

TEST_P(GlRender, QuadEdgesOnPixelCentresFollowTheTopLeftRule)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 8, 8, false);
    ASSERT_TRUE(rig.ok());
    rig.unlit(0xFF0000FF);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(2, 2, 5, 5, 0xFFFF0000));
    for (DWORD y = 0; y < 8; ++y) {
        for (DWORD x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x <= 4 && y >= 2 && y <= 4;
            EXPECT_EQ(rig.pixel(x, y), inside ? 0xFFFF0000u : 0xFF0000FFu) << x << "," << y;
        }
    }
}

TEST_P(GlRender, AttributesAreTakenAtTheDevicesPixelCentres)
{
    // A horizontal ramp from 0 at x = 0 to 255 at x = 255: pixel i shows i (no half-pixel offset).
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 256, 4, false);
    ASSERT_TRUE(rig.ok());
    rig.unlit(0xFF000000);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, {tl_vertex(0, 4, 0.5f, 0xFF000000), tl_vertex(0, 0, 0.5f, 0xFF000000),
                                      tl_vertex(255, 4, 0.5f, 0xFFFF0000), tl_vertex(255, 0, 0.5f, 0xFFFF0000)});
    for (DWORD x : {0u, 1u, 64u, 128u, 200u, 254u}) {
        const int red = static_cast<int>((rig.pixel(x, 1) >> 16) & 0xFF);
        EXPECT_NEAR(red, static_cast<int>(x), 1) << "x " << x;
    }
}

TEST_P(GlRender, BilinearCheckerAtPixelCentresBlendsHalfTexels)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 4, 4, false);
    ASSERT_TRUE(rig.ok());
    IDirectDrawSurface7* checker =
        rig.texture(2, 2, PixelKind::X8R8G8B8, [](DWORD x, DWORD y) { return ((x + y) & 1) ? 0xFFFFFFFFu : 0xFF000000u; });
    IDirect3DDevice7* d = rig.device();
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    d->SetTexture(0, checker);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 4, 0xFFFFFFFF));
    const int expected[4][4] = {{128, 128, 128, 128}, {128, 0, 128, 255}, {128, 128, 128, 128}, {128, 255, 128, 0}};
    for (DWORD y = 0; y < 4; ++y) {
        for (DWORD x = 0; x < 4; ++x) {
            EXPECT_NEAR(static_cast<int>(rig.pixel(x, y) & 0xFF), expected[y][x], 1) << x << "," << y;
        }
    }
    d->SetTexture(0, nullptr);
    checker->Release();
}

INSTANTIATE_TEST_SUITE_P(Shifts, GlRender, ::testing::Values("probed", "biased"));

TEST(GlDepth, ZAndWValuesAreStoredAsTheDeviceStoresThem)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 8, 8, true);
    ASSERT_TRUE(rig.ok());
    IDirect3DDevice7* d = rig.device();
    rig.unlit(0xFF000000);
    // A W-friendly projection with near 1 and far 10: w is the view depth, wfar = 10.
    Matrix proj;
    matrix_perspective(&proj, 1.0f, 1.0f, 1.0f, 10.0f);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
    D3DVIEWPORT7 vp{0, 0, 8, 8, 0.25f, 0.75f};
    d->SetViewport(&vp);
    // A plane at view depth 4 covering the target.
    D3DLVERTEX plane[4] = {{-9, -9, 4, 0, 0xFFFFFFFF, 0, 0, 0}, {-9, 9, 4, 0, 0xFFFFFFFF, 0, 0, 0},
                           {9, -9, 4, 0, 0xFFFFFFFF, 0, 0, 0}, {9, 9, 4, 0, 0xFFFFFFFF, 0, 0, 0}};
    d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    for (DWORD mode : {static_cast<DWORD>(D3DZB_TRUE), static_cast<DWORD>(D3DZB_USEW)}) {
        rig.clear(0xFF000000);
        d->SetRenderState(D3DRENDERSTATE_ZENABLE, mode);
        d->BeginScene();
        d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, plane, 4, 0);
        d->EndScene();
        // z: z/w = (4 − 1)·10/9 / 4 = 0.8333…, then min z + 0.8333·(max z − min z); w: 4 / 10 whatever the range.
        const float expected = mode == D3DZB_TRUE ? 0.25f + (30.0f / 36.0f) * 0.5f : 0.4f;
        EXPECT_NEAR(rig.depth(4, 4), expected, 1e-5f) << "mode " << mode;
    }
}

TEST(GlLines, LastPixelOfALineIsDrawnOnlyWhenAsked)
{
    for (DWORD last : {TRUE, FALSE}) {
        GlTestRig rig(IID_IDirect3DTnLHalDevice, 16, 4, false);
        ASSERT_TRUE(rig.ok());
        rig.unlit(0xFF000000);
        rig.device()->SetRenderState(D3DRENDERSTATE_LASTPIXEL, last);
        rig.draw_tl(D3DPT_LINELIST, {tl_vertex(2, 1, 0.5f, 0xFF00FF00), tl_vertex(10, 1, 0.5f, 0xFF00FF00)});
        EXPECT_EQ(rig.pixel(2, 1), 0xFF00FF00u);
        EXPECT_EQ(rig.pixel(9, 1), 0xFF00FF00u);
        EXPECT_EQ(rig.pixel(10, 1), last ? 0xFF00FF00u : 0xFF000000u) << "LASTPIXEL " << last;
        EXPECT_EQ(rig.pixel(11, 1), 0xFF000000u);
    }
}

TEST(GlSixteenBit, BlendedDrawsKeepTheTargetsPrecisionLikeTheSoftwareDevice)
{
    // Ten layers of a dark translucent colour: each blend on the software device reads the previous
    // result back narrowed to 5/6 bits, which a wide GL copy would not.
    auto render = [](const GUID& device) {
        GlTestRig rig(device, 4, 4, false, PixelKind::R5G6B5);
        EXPECT_TRUE(rig.ok());
        if (!rig.ok()) return 0u;
        rig.unlit(0xFF806040);
        IDirect3DDevice7* d = rig.device();
        d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
        d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
        d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        for (int i = 0; i < 10; ++i) rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 4, 0x30102030));
        return rig.pixel(1, 1);
    };
    const std::uint32_t soft = render(IID_IDirect3DRGBDevice);
    const std::uint32_t gl = render(IID_IDirect3DTnLHalDevice);
    for (int shift : {0, 8, 16}) {
        EXPECT_NEAR(static_cast<int>((gl >> shift) & 0xFF), static_cast<int>((soft >> shift) & 0xFF), 4)
            << std::hex << "gl " << gl << " soft " << soft;
    }
}

TEST(GlPrimitiveFilter, ATriangleWithANaNCornerIsDroppedWhole)
{
    // (Huge and invalid coordinates on their own are in the device layer's conformance tests.)
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 16, 16, true);
    ASSERT_TRUE(rig.ok());
    rig.unlit(0xFF000000);
    const float nan = std::nanf("");
    rig.draw_tl(D3DPT_TRIANGLESTRIP, {tl_vertex(0, 8, 0.5f, 0xFFFF0000), tl_vertex(nan, 0, 0.5f, 0xFFFF0000),
                                      tl_vertex(8, 8, 0.5f, 0xFFFF0000), tl_vertex(8, 0, 0.5f, 0xFFFF0000),
                                      tl_vertex(16, 8, 0.5f, 0xFFFF0000)});
    EXPECT_EQ(rig.pixel(2, 6), 0xFF000000u);   // first triangle: dropped
    EXPECT_EQ(rig.pixel(12, 6), 0xFFFF0000u);  // third triangle (8,8) (8,0) (16,8): drawn
}
