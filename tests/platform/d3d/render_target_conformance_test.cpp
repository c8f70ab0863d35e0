// Render targets on every device, as the program switches them: the z-buffer moved from the back
// buffer to a smaller texture target with the viewport resized, drawing with depth there, then back
// with depth testing intact and the texture drawn onto the back buffer. Also Clear inside a smaller
// viewport and 16-bit targets.
#include <gtest/gtest.h>

#include "platform/d3d/device_fixture.h"

namespace {

class RenderTargetConformance : public DeviceTest {};

void draw_depth_pair(IDirect3DDevice7* d, float w, float h)
{
    draw_quad(d, 0, 0, w, h, 0.3f, 0xFFFF0000);
    draw_quad(d, 0, 0, w, h, 0.6f, 0xFF00FF00);
}

TEST_P(RenderTargetConformance, ZBufferTravelsWithTheTarget)
{
    // The device is made before the z-buffer is attached, as the framework does.
    DeviceHarness h(guid(), 64, 48, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    DWORD zenable = 99;
    d->GetRenderState(D3DRENDERSTATE_ZENABLE, &zenable);
    EXPECT_EQ(zenable, static_cast<DWORD>(D3DZB_FALSE));
    const DDPIXELFORMAT z = format_z(32), x8 = format_x8r8g8b8();
    ComRef<IDirectDrawSurface7> zbuffer(h.create_surface(DDSCAPS_ZBUFFER, 64, 48, &z));
    ComRef<IDirectDrawSurface7> texture(h.create_surface(DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE, 32, 32, &x8));
    ASSERT_TRUE(zbuffer && texture);
    ASSERT_EQ(h.target()->AddAttachedSurface(zbuffer.get()), DD_OK);
    ASSERT_EQ(d->SetRenderTarget(h.target(), 0), D3D_OK);

    begin_diffuse(d, 0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    ASSERT_EQ(switch_target(d, texture.get()), D3D_OK);
    D3DVIEWPORT7 now{};
    d->GetViewport(&now);
    EXPECT_EQ(now.dwWidth, 32u);
    EXPECT_EQ(now.dwHeight, 32u);
    ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0), D3D_OK);
    draw_depth_pair(d, 32, 32);
    // The 64 × 48 z-buffer is used by its top-left 32 × 32 only.
    std::vector<float> depth;
    DWORD zw = 0, zh = 0;
    ASSERT_EQ(frame_readback_depth(zbuffer.get(), &depth, &zw, &zh), DD_OK);
    EXPECT_FLOAT_EQ(depth[5 * zw + 5], 0.3f);
    EXPECT_FLOAT_EQ(depth[40 * zw + 50], 1.0f);

    ASSERT_EQ(switch_target(d, h.target()), D3D_OK);
    d->GetViewport(&now);
    EXPECT_EQ(now.dwWidth, 64u);
    EXPECT_EQ(now.dwHeight, 48u);
    ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0), D3D_OK);
    draw_depth_pair(d, 64, 48);
    // The texture, drawn onto the back buffer's top-left corner.
    set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d->SetTexture(0, texture.get());
    draw_quad(d, 0, 0, 16, 16, 0.5f, 0xFFFFFFFF);
    d->SetTexture(0, nullptr);
    ASSERT_EQ(d->EndScene(), D3D_OK);

    FrameImage tex_image;
    ASSERT_EQ(frame_readback(texture.get(), &tex_image), DD_OK);
    EXPECT_EQ(tex_image.at(16, 16), 0xFFFF0000u);  // depth test on the texture target
    EXPECT_EQ(h.pixel(40, 30), 0xFFFF0000u);       // depth test intact back on the back buffer
    EXPECT_EQ(h.pixel(8, 8), 0xFFFF0000u);         // the texture's content
    ASSERT_EQ(frame_readback_depth(zbuffer.get(), &depth, &zw, &zh), DD_OK);
    EXPECT_FLOAT_EQ(depth[40 * zw + 50], 0.3f);
}

TEST_P(RenderTargetConformance, ClearWithoutRectanglesClearsTheViewportOnly)
{
    DeviceHarness h(guid(), 8, 8, true);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    D3DVIEWPORT7 vp{2, 3, 4, 2, 0.0f, 1.0f};
    ASSERT_EQ(d->SetViewport(&vp), D3D_OK);
    ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 0.25f, 0), D3D_OK);
    D3DRECT rects[2] = {{0, 0, 3, 4}, {5, 4, 8, 8}};  // clipped to the viewport
    ASSERT_EQ(d->Clear(2, rects, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    const TestImage image = h.capture();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool in_viewport = x >= 2 && x < 6 && y >= 3 && y < 5;
            const bool in_rect = (x < 3 && y < 4) || (x >= 5 && y >= 4);
            EXPECT_EQ(image.at(x, y), !in_viewport ? 0xFF000000u : in_rect ? 0xFF00FF00u : 0xFFFFFFFFu) << x << "," << y;
        }
    }
    EXPECT_FLOAT_EQ(h.depth_at(3, 3), 0.25f);
    EXPECT_FLOAT_EQ(h.depth_at(0, 0), 1.0f);
}

TEST_P(RenderTargetConformance, SixteenBitTargetsStoreTruncatedChannels)
{
    DeviceHarness h(guid(), 4, 4, false, format_r5g6b5());
    ASSERT_TRUE(h.ok());
    begin_diffuse(h.device());
    set_blend(h.device(), true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    draw_quad(h.device(), 0, 0, 4, 4, 0.5f, 0xFFFF8040);
    h.device()->EndScene();
    // R5G6B5 of (0xFF, 0x80, 0x40) = (31, 32, 8), read back widened.
    EXPECT_EQ(h.pixel(2, 2), 0xFFFF8242u);
}

INSTANTIATE_ON_DEVICES(RenderTargetConformance);

}  // namespace
