// Drawing through the device interface on the OpenGL backend, where GL needs the backend's help to
// give the device's picture: pixel centres under both pixel shifts (exact, and the 63/128 fallback with
// attributes stepped back), z and w values under a narrowed depth range, line end pixels, 16-bit
// targets at their own precision, triangles with a NaN corner; and the GL copies of surfaces in step
// with memory: Locks and draws see each other, nothing moves without need, the z-buffer moves between
// targets with its contents, a target sampled while drawn into reads as it was, and pixel conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gl_test_rig.h"
#include "math/matrix.h"
#include "platform/d3d/gl/gl_renderer.h"
#include "platform/d3d/gl/pixel_transfer.h"

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
    scene_stages(d, {{0, D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {0, D3DTSS_MAGFILTER, D3DTFG_LINEAR}});
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
        scene_states(d, {{D3DRENDERSTATE_ALPHABLENDENABLE, TRUE}, {D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA},
                         {D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA}});
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

TEST(GlResidency, LockSeesDrawingAndDrawingSeesLockedWrites)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 8, 8, false);
    ASSERT_TRUE(rig.ok());
    TextureCache& cache = rig.renderer()->textures();
    rig.unlit(0xFF000000);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 8, 0xFFFF0000));
    EXPECT_EQ(rig.pixel(1, 1), 0xFFFF0000u);
    const std::uint64_t readbacks = cache.readbacks();
    EXPECT_EQ(rig.pixel(6, 1), 0xFF000000u);
    EXPECT_EQ(cache.readbacks(), readbacks);  // nothing drawn since: memory is current

    // A CPU write into the right half, then blending over it: GL must see the write.
    lock_write(rig.target(), 6, 2, 1, 1, 0x000000FFu);
    IDirect3DDevice7* d = rig.device();
    scene_states(d, {{D3DRENDERSTATE_ALPHABLENDENABLE, TRUE}, {D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE},
                     {D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE}});
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(4, 0, 8, 8, 0xFF00FF00));
    EXPECT_EQ(rig.pixel(6, 2), 0xFF00FFFFu);  // written blue + drawn green
    EXPECT_EQ(rig.pixel(6, 3), 0xFF00FF00u);
    EXPECT_EQ(rig.pixel(1, 1), 0xFFFF0000u);  // the earlier drawing survived the round trip
}

TEST(GlResidency, TexturesUploadOnceAndAgainOnlyAfterACpuWrite)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 4, 4, false);
    ASSERT_TRUE(rig.ok());
    TextureCache& cache = rig.renderer()->textures();
    IDirectDrawSurface7* texture = rig.texture(4, 4, PixelKind::A8R8G8B8, [](DWORD, DWORD) { return 0xFF102030u; });
    IDirect3DDevice7* d = rig.device();
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTexture(0, texture);
    const std::uint64_t before = cache.uploads();
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 4, 0xFFFFFFFF));
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 4, 0xFFFFFFFF));
    const std::uint64_t after_first = cache.uploads();
    EXPECT_EQ(rig.pixel(2, 2), 0xFF102030u);
    lock_write(texture, 0, 0, 4, 4, 0xFFA0B0C0u);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 4, 0xFFFFFFFF));
    EXPECT_EQ(rig.pixel(2, 2), 0xFFA0B0C0u);
    // The texture went up once for the two draws, and once more after the writes (the target once).
    EXPECT_LE(after_first - before, 2u);
    EXPECT_EQ(cache.uploads() - after_first, 1u);
    d->SetTexture(0, nullptr);
    texture->Release();
}

TEST(GlResidency, DepthMovesToAnotherTargetWithItsContents)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 16, 16, true);
    ASSERT_TRUE(rig.ok());
    IDirect3DDevice7* d = rig.device();
    rig.unlit(0xFF000000);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 16, 16, 0xFF0000FF, 0.3f));  // depth 0.3 everywhere
    // Move the z-buffer onto an 8×8 texture target: its top-left corner keeps the depth drawn above.
    IDirectDrawSurface7* texture_target =
        rig.texture(8, 8, PixelKind::X8R8G8B8, nullptr, DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE);
    ASSERT_NE(texture_target, nullptr);
    ASSERT_EQ(scene_switch_target(d, rig.target(), texture_target, rig.zbuffer(), 8, 8), D3D_OK);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 8, 8, 0xFFFF0000, 0.5f));  // behind 0.3: fails
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 8, 0xFF00FF00, 0.2f));  // in front: passes
    EXPECT_EQ(rig.pixel(6, 4, texture_target), 0xFF000000u);
    EXPECT_EQ(rig.pixel(2, 4, texture_target), 0xFF00FF00u);
    // Back: the big target sees the 0.2 written through the texture target in the shared corner.
    ASSERT_EQ(scene_switch_target(d, texture_target, rig.target(), rig.zbuffer(), 16, 16), D3D_OK);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 16, 16, 0xFFFFFFFF, 0.25f));
    EXPECT_EQ(rig.pixel(2, 4), 0xFF0000FFu);   // 0.25 behind 0.2
    EXPECT_EQ(rig.pixel(12, 12), 0xFFFFFFFFu); // 0.25 in front of 0.3
    EXPECT_FLOAT_EQ(rig.depth(2, 4), 0.2f);
    texture_target->Release();
}

TEST(GlResidency, SamplingTheTargetBeingDrawnReadsItAsItWas)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 8, 8, false);
    ASSERT_TRUE(rig.ok());
    IDirectDrawSurface7* feedback = rig.texture(8, 8, PixelKind::X8R8G8B8, nullptr, DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE);
    IDirect3DDevice7* d = rig.device();
    ASSERT_EQ(d->SetRenderTarget(feedback, 0), D3D_OK);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF204060, 1.0f, 0);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetTexture(0, feedback);
    scene_stages(d, {{0, D3DTSS_COLOROP, D3DTOP_ADD}, {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
                     {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE}});
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 8, 8, 0xFF101010));
    EXPECT_EQ(rig.pixel(3, 3, feedback), 0xFF305070u);
    d->SetTexture(0, nullptr);
    d->SetRenderTarget(rig.target(), 0);
    feedback->Release();
}

TEST(PixelTransfer, EveryColourKindRoundTripsThroughGlWords)
{
    for (PixelKind kind : {PixelKind::X8R8G8B8, PixelKind::A8R8G8B8, PixelKind::R5G6B5, PixelKind::X1R5G5B5,
                           PixelKind::A1R5G5B5, PixelKind::A4R4G4B4}) {
        const DWORD bytes = pixel_kind_bytes(kind);
        const DWORD w = 3, h = 2;
        const LONG pitch = static_cast<LONG>(w * bytes + 6);  // rows padded
        std::vector<BYTE> memory(static_cast<std::size_t>(pitch) * h, 0xEE);
        const std::uint32_t colours[6] = {0xFFFFFFFF, 0x00000000, 0x80FF0000, 0x4000FF00, 0xC00000FF, 0x12345678};
        for (DWORD i = 0; i < 6; ++i) pixel_from_argb(kind, colours[i], memory.data() + (i / w) * pitch + (i % w) * bytes);
        std::vector<std::uint32_t> words(w * h);
        pixel_rows_to_argb(kind, memory.data(), pitch, w, h, words.data());
        for (DWORD i = 0; i < 6; ++i) {
            const std::uint32_t stored = pixel_to_argb(kind, memory.data() + (i / w) * pitch + (i % w) * bytes);
            EXPECT_EQ(words[i], stored) << static_cast<int>(kind) << " pixel " << i;
            EXPECT_TRUE(pixel_kind_has_alpha(kind) || words[i] >> 24 == 0xFFu) << "opaque without alpha bits";
        }
        std::vector<BYTE> back(memory.size(), 0xEE);
        pixel_rows_from_argb(kind, words.data(), w, h, back.data(), pitch);
        if (kind == PixelKind::X8R8G8B8) pixel_rows_clear_x8(back.data(), pitch, w, h);
        for (DWORD y = 0; y < h; ++y) {
            EXPECT_EQ(std::memcmp(back.data() + y * pitch, memory.data() + y * pitch, w * bytes), 0)
                << static_cast<int>(kind);
            EXPECT_EQ(back[y * pitch + w * bytes], 0xEE);  // padding untouched
        }
    }
}
