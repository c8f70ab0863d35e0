// Switching render targets on the real software device: the one depth buffer travels with the
// target, the viewport follows the target's size, and a target without depth buffer, or no device
// at all, is no trouble.
#include <gtest/gtest.h>

#include <tuple>

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
    EXPECT_EQ(std::tuple(viewport.dwWidth, viewport.dwHeight, viewport.dvMaxZ), std::tuple(256u, 256u, 1.0f));
    IDirectDrawSurface7* current = nullptr;
    ASSERT_EQ(current_device->GetRenderTarget(&current), S_OK);
    EXPECT_EQ(current, texture);
    current->Release();
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
