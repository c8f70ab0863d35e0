// Render targets on every device, as the program switches them: the z-buffer detached from the back
// buffer and attached to a smaller texture target, SetRenderTarget, the viewport resized; drawing with
// depth there; then back, with depth testing intact on the back buffer; the texture then drawn onto
// the back buffer. Also Clear inside a smaller viewport and 16-bit targets.
#include <gtest/gtest.h>

#include "d3d/device_fixture.h"

namespace {

class RenderTargetConformance : public testing::TestWithParam<ConformanceDevice> {
protected:
    void SetUp() override
    {
        if (!device_available(*GetParam().guid)) GTEST_SKIP() << GetParam().name << " is not in this build";
    }
};

// The program's render-target switch: the depth buffer travels with the target, and the viewport is
// set to the new target's size.
void switch_target(IDirect3DDevice7* d, IDirectDrawSurface7* target)
{
    IDirectDrawSurface7* current = nullptr;
    ASSERT_EQ(d->GetRenderTarget(&current), D3D_OK);
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_ZBUFFER;
    IDirectDrawSurface7* z = nullptr;
    if (SUCCEEDED(current->GetAttachedSurface(&caps, &z))) {
        ASSERT_EQ(current->DeleteAttachedSurface(0, z), DD_OK);
        ASSERT_EQ(target->AddAttachedSurface(z), DD_OK);
        z->Release();
    }
    current->Release();
    ASSERT_EQ(d->SetRenderTarget(target, 0), D3D_OK);
    D3DVIEWPORT7 vp{};
    d->GetViewport(&vp);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    target->GetSurfaceDesc(&desc);
    vp.dwWidth = desc.dwWidth;
    vp.dwHeight = desc.dwHeight;
    ASSERT_EQ(d->SetViewport(&vp), D3D_OK);
}

void draw_depth_pair(IDirect3DDevice7* d, float w, float h)
{
    D3DTLVERTEX near_quad[4], far_quad[4];
    screen_quad(near_quad, 0, 0, w, h, 0.3f, 0xFFFF0000);
    screen_quad(far_quad, 0, 0, w, h, 0.6f, 0xFF00FF00);
    draw_tl(d, D3DPT_TRIANGLESTRIP, near_quad, 4);
    draw_tl(d, D3DPT_TRIANGLESTRIP, far_quad, 4);
}

TEST_P(RenderTargetConformance, ZBufferTravelsWithTheTarget)
{
    const GUID& guid = *GetParam().guid;
    ComRef<IDirectDraw7> dd;
    ASSERT_EQ(create_direct_draw(dd.out()), DD_OK);
    ComRef<IDirect3D7> d3d;
    ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(d3d.out())), DD_OK);
    DDSURFACEDESC2 bd = surface_desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 64, 48);
    ComRef<IDirectDrawSurface7> back;
    ASSERT_EQ(dd->CreateSurface(&bd, back.out(), nullptr), DD_OK);
    // The device is made before the z-buffer is attached, as the framework does.
    ComRef<IDirect3DDevice7> device;
    ASSERT_EQ(d3d->CreateDevice(guid, back.get(), device.out()), D3D_OK);
    IDirect3DDevice7* d = device.get();
    DWORD zenable = 99;
    d->GetRenderState(D3DRENDERSTATE_ZENABLE, &zenable);
    EXPECT_EQ(zenable, static_cast<DWORD>(D3DZB_FALSE));
    DDSURFACEDESC2 zd = surface_desc(DDSCAPS_ZBUFFER, 64, 48);
    zd.dwFlags |= DDSD_PIXELFORMAT;
    zd.ddpfPixelFormat = format_z(32);
    ComRef<IDirectDrawSurface7> zbuffer;
    ASSERT_EQ(dd->CreateSurface(&zd, zbuffer.out(), nullptr), DD_OK);
    ASSERT_EQ(back->AddAttachedSurface(zbuffer.get()), DD_OK);
    ASSERT_EQ(d->SetRenderTarget(back.get(), 0), D3D_OK);
    D3DVIEWPORT7 vp{0, 0, 64, 48, 0.0f, 1.0f};
    ASSERT_EQ(d->SetViewport(&vp), D3D_OK);

    DDSURFACEDESC2 td = surface_desc(DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE, 32, 32);
    td.dwFlags |= DDSD_PIXELFORMAT;
    td.ddpfPixelFormat = format_x8r8g8b8();
    ComRef<IDirectDrawSurface7> texture;
    ASSERT_EQ(dd->CreateSurface(&td, texture.out(), nullptr), DD_OK);

    ASSERT_EQ(d->BeginScene(), D3D_OK);
    set_diffuse_only(d);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0), D3D_OK);

    switch_target(d, texture.get());
    D3DVIEWPORT7 now{};
    d->GetViewport(&now);
    EXPECT_EQ(now.dwWidth, 32u);
    EXPECT_EQ(now.dwHeight, 32u);
    ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0), D3D_OK);
    draw_depth_pair(d, 32, 32);
    // The 64 × 48 z-buffer is used by its top-left 32 × 32 only.
    std::vector<float> depth;
    DWORD zw = 0, zh = 0;
    ASSERT_EQ(surface_capture_depth(zbuffer.get(), &depth, &zw, &zh), DD_OK);
    EXPECT_FLOAT_EQ(depth[5 * zw + 5], 0.3f);
    EXPECT_FLOAT_EQ(depth[40 * zw + 50], 1.0f);

    switch_target(d, back.get());
    d->GetViewport(&now);
    EXPECT_EQ(now.dwWidth, 64u);
    EXPECT_EQ(now.dwHeight, 48u);
    ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0), D3D_OK);
    draw_depth_pair(d, 64, 48);
    // The texture, drawn onto the back buffer's left half.
    set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d->SetTexture(0, texture.get());
    D3DTLVERTEX quad[4];
    screen_quad(quad, 0, 0, 16, 16, 0.5f, 0xFFFFFFFF);
    draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4);
    d->SetTexture(0, nullptr);
    ASSERT_EQ(d->EndScene(), D3D_OK);

    SurfaceImage tex_image, back_image;
    ASSERT_EQ(surface_capture(texture.get(), &tex_image), DD_OK);
    ASSERT_EQ(surface_capture(back.get(), &back_image), DD_OK);
    EXPECT_EQ(tex_image.at(16, 16), 0xFFFF0000u);  // depth test on the texture target
    EXPECT_EQ(back_image.at(40, 30), 0xFFFF0000u); // depth test intact back on the back buffer
    EXPECT_EQ(back_image.at(8, 8), 0xFFFF0000u);   // the texture's content
    ASSERT_EQ(surface_capture_depth(zbuffer.get(), &depth, &zw, &zh), DD_OK);
    EXPECT_FLOAT_EQ(depth[40 * zw + 50], 0.3f);
}

TEST_P(RenderTargetConformance, ClearWithoutRectanglesClearsTheViewportOnly)
{
    DeviceHarness h(*GetParam().guid, 8, 8, true);
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
            std::uint32_t expected = 0xFF000000u;
            if (x >= 2 && x < 6 && y >= 3 && y < 5) {
                expected = ((x < 3 && y < 4) || (x >= 5 && y >= 4)) ? 0xFF00FF00u : 0xFFFFFFFFu;
            }
            EXPECT_EQ(image.at(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_FLOAT_EQ(h.depth_at(3, 3), 0.25f);
    EXPECT_FLOAT_EQ(h.depth_at(0, 0), 1.0f);
}

TEST_P(RenderTargetConformance, SixteenBitTargetsStoreTruncatedChannels)
{
    DeviceHarness h(*GetParam().guid, 4, 4, false, format_r5g6b5());
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    d->BeginScene();
    set_diffuse_only(d);
    set_blend(d, true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    D3DTLVERTEX quad[4];
    screen_quad(quad, 0, 0, 4, 4, 0.5f, 0xFFFF8040);
    draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4);
    d->EndScene();
    // R5G6B5 of (0xFF, 0x80, 0x40) = (31, 32, 8), read back widened.
    EXPECT_EQ(h.pixel(2, 2), 0xFFFF8242u);
}

INSTANTIATE_TEST_SUITE_P(Devices, RenderTargetConformance, testing::ValuesIn(conformance_devices()), DeviceParamName());

}  // namespace
