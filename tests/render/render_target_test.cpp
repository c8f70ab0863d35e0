// Switching render targets on the real software device: the one depth buffer travels with the
// target (and depth testing works there), the viewport follows the target's size, and a target
// without depth buffer, or no device at all, is no trouble.
#include <gtest/gtest.h>

#include "render/offscreen_device.h"
#include "render/render.h"

namespace {

IDirectDrawSurface7* attached_depth(IDirectDrawSurface7* surface) {
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_ZBUFFER;
    IDirectDrawSurface7* depth = nullptr;
    if (FAILED(surface->GetAttachedSurface(&caps, &depth))) return nullptr;
    depth->Release();  // only identities are compared
    return depth;
}

class RenderTarget : public ::testing::Test {
protected:
    void SetUp() override {
        std::string reason;
        ASSERT_EQ(offscreen.create(OffscreenDeviceKind::Software, 640, 480, &reason), S_OK) << reason;
        offscreen.make_current();
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = desc.dwHeight = 256;
        desc.ddpfPixelFormat = offscreen_target_format();
        desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE;
        ASSERT_EQ(offscreen.direct_draw()->CreateSurface(&desc, &texture, nullptr), S_OK);
    }
    void TearDown() override {
        if (texture != nullptr) texture->Release();
        offscreen.release();
    }
    // A quad over the whole texture at depth z.
    static HRESULT draw_quad(float z, D3DCOLOR colour) {
        D3DTLVERTEX quad[4] = {{0, 256, z, 1, colour, 0, 0, 0}, {0, 0, z, 1, colour, 0, 0, 0},
                               {256, 256, z, 1, colour, 0, 0, 0}, {256, 0, z, 1, colour, 0, 0, 0}};
        return draw_primitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, quad, 4, 0);
    }

    OffscreenDevice offscreen;
    IDirectDrawSurface7* texture = nullptr;
};

TEST_F(RenderTarget, DepthBufferAndViewportTravelWithTheTarget) {
    IDirectDrawSurface7* depth = offscreen.depth_buffer();
    ASSERT_EQ(attached_depth(offscreen.target()), depth);
    EXPECT_EQ(set_render_target(texture), 0);
    EXPECT_EQ(attached_depth(texture), depth);
    EXPECT_EQ(attached_depth(offscreen.target()), nullptr);
    D3DVIEWPORT7 viewport{};
    ASSERT_EQ(get_viewport(&viewport), S_OK);
    EXPECT_EQ(viewport.dwWidth, 256u);
    EXPECT_EQ(viewport.dwHeight, 256u);
    EXPECT_EQ(viewport.dvMaxZ, 1.0f);

    // Drawn into the texture: a near red quad, then a far blue one; depth keeps the red.
    ASSERT_EQ(begin_scene(), S_OK);
    clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF00FF00, 1.0f, 0);
    set_render_state(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    set_render_state(D3DRENDERSTATE_LIGHTING, FALSE);
    set_color_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    EXPECT_EQ(draw_quad(0.2f, 0xFFFF0000), S_OK);
    EXPECT_EQ(draw_quad(0.8f, 0xFF0000FF), S_OK);
    ASSERT_EQ(end_scene(), S_OK);
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    ASSERT_EQ(texture->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), S_OK);
    const auto* row = static_cast<const std::uint32_t*>(locked.lpSurface) + 128 * (locked.lPitch / 4);
    EXPECT_EQ(row[128] & 0x00FFFFFFu, 0x00FF0000u);
    texture->Unlock(nullptr);

    EXPECT_EQ(set_render_target(offscreen.target()), 0);
    EXPECT_EQ(attached_depth(offscreen.target()), depth);
    EXPECT_EQ(attached_depth(texture), nullptr);
    EXPECT_FLOAT_EQ(viewport_aspect(), 0.75f);
}

TEST_F(RenderTarget, WithoutDepthBufferOrDeviceOnlyWhatThereIsChanges) {
    ASSERT_EQ(offscreen.target()->DeleteAttachedSurface(0, offscreen.depth_buffer()), S_OK);
    EXPECT_EQ(set_render_target(texture), 0);
    EXPECT_EQ(attached_depth(texture), nullptr);
    EXPECT_FLOAT_EQ(viewport_aspect(), 1.0f);
    current_device = nullptr;
    EXPECT_EQ(set_render_target(offscreen.target()), 0);
    EXPECT_EQ(set_render_target(nullptr), 0);
}

}  // namespace
