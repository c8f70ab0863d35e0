// The OpenGL device on a real window (run under Xvfb): it makes its context on the program's SDL window,
// and a Blt of the back buffer onto the primary (or a full-screen Flip) reaches the window through the
// backend's own present; the window's default framebuffer is read back to check.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <initializer_list>
#include <memory>

#include "platform/d3d/core/device.h"
#include "platform/d3d/core/display_driver.h"
#include "platform/d3d/ddraw.h"
#include "platform/d3d/gl/gl_device_backend.h"
#include "platform/window/window.h"
#include "platform/window/window_display_driver.h"
#include "platform/window/window_system.h"

namespace {

DDSURFACEDESC2 desc(DWORD flags, DWORD caps, DWORD width = 0, DWORD height = 0)
{
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    d.dwFlags = flags;
    d.ddsCaps.dwCaps = caps;
    d.dwWidth = width;
    d.dwHeight = height;
    return d;
}

class WindowE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!window_system_start(false) || window_system_headless()) GTEST_SKIP() << "no display (run under xvfb-run)";
        static const auto registered = [] {
            WNDCLASSA c{};
            c.lpfnWndProc = DefWindowProcA;
            c.hInstance = GetModuleHandleA(nullptr);
            c.lpszClassName = "GL E2E";
            return RegisterClassA(&c);
        }();
        ASSERT_NE(registered, 0);
        window_ = CreateWindowExA(0, "GL E2E", "gl e2e", WS_CAPTION | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, 64, 48,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        display_drivers_install(window_display_drivers_create());
        void* p = nullptr;
        ASSERT_EQ(DirectDrawCreateEx(nullptr, &p, IID_IDirectDraw7, nullptr), DD_OK);
        dd_ = static_cast<IDirectDraw7*>(p);
        ASSERT_EQ(dd_->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d_)), DD_OK);
    }
    void TearDown() override
    {
        if (dd_ != nullptr) dd_->SetCooperativeLevel(window_, DDSCL_NORMAL);
        for (IUnknown* p : std::initializer_list<IUnknown*>{device_, back_, primary_, d3d_, dd_}) {
            if (p != nullptr) p->Release();
        }
        if (window_ != nullptr) DestroyWindow(window_);
        display_drivers_install({});
    }

    // Makes the OpenGL device on back_, which must be on the window's context.
    void make_device()
    {
        ASSERT_EQ(d3d_->CreateDevice(IID_IDirect3DTnLHalDevice, back_, &device_), D3D_OK);
        auto* backend = dynamic_cast<GlBackend*>(&static_cast<Device*>(device_)->backend());
        ASSERT_NE(backend, nullptr);
        renderer_ = &backend->renderer();
        EXPECT_TRUE(renderer_->has_window());
        EXPECT_NE(renderer_->context().describe().find("window |"), std::string::npos);
    }

    // The centre pixel of the frame last shown, as 0xAARRGGBB. Mesa's software path swaps by copying,
    // leaving the back buffer as it was shown (the front buffer is not readable through GL).
    std::uint32_t shown_centre()
    {
        renderer_->context().make_current();
        renderer_->shadow().invalidate();  // the reads below change bindings behind the shadow's back
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadBuffer(GL_BACK);
        RECT client{};
        GetClientRect(window_, &client);
        std::uint32_t pixel = 0;
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glReadPixels(client.right / 2, client.bottom / 2, 1, 1, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &pixel);
        renderer_->shadow().invalidate();
        return pixel | 0xFF000000u;
    }

    HWND window_ = nullptr;
    IDirectDraw7* dd_ = nullptr;
    IDirect3D7* d3d_ = nullptr;
    IDirectDrawSurface7* primary_ = nullptr;
    IDirectDrawSurface7* back_ = nullptr;
    IDirect3DDevice7* device_ = nullptr;
    GlRenderer* renderer_ = nullptr;
};

}  // namespace

TEST_F(WindowE2e, WindowedBltPresentsThroughTheBackend)
{
    ASSERT_EQ(dd_->SetCooperativeLevel(window_, DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC2 p = desc(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    ASSERT_EQ(dd_->CreateSurface(&p, &primary_, nullptr), DD_OK);
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(dd_->CreateClipper(0, &clipper, nullptr), DD_OK);
    clipper->SetHWnd(0, window_);
    primary_->SetClipper(clipper);
    clipper->Release();
    DDSURFACEDESC2 b = desc(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 64, 48);
    ASSERT_EQ(dd_->CreateSurface(&b, &back_, nullptr), DD_OK);
    ASSERT_NO_FATAL_FAILURE(make_device());

    for (D3DCOLOR colour : {0xFFFF0000u, 0xFF00FF00u}) {
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0), D3D_OK);  // the whole frame
        RECT client{};
        GetClientRect(window_, &client);
        POINT corner{0, 0};
        ClientToScreen(window_, &corner);
        RECT on_screen{corner.x, corner.y, corner.x + client.right, corner.y + client.bottom};
        const std::uint64_t before = renderer_->presents();
        ASSERT_EQ(primary_->Blt(&on_screen, back_, nullptr, DDBLT_WAIT, nullptr), DD_OK);
        EXPECT_EQ(renderer_->presents(), before + 1);
        EXPECT_EQ(shown_centre(), colour);
    }
}

TEST_F(WindowE2e, FullScreenFlipPresentsThroughTheBackend)
{
    ASSERT_EQ(dd_->SetCooperativeLevel(window_, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    DDSURFACEDESC2 p = desc(DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                            DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE);
    p.dwBackBufferCount = 1;
    ASSERT_EQ(dd_->CreateSurface(&p, &primary_, nullptr), DD_OK);
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    ASSERT_EQ(primary_->GetAttachedSurface(&caps, &back_), DD_OK);
    ASSERT_NO_FATAL_FAILURE(make_device());
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0), D3D_OK);
    ASSERT_EQ(primary_->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(renderer_->presents(), 1u);
    EXPECT_EQ(shown_centre(), 0xFF0000FFu);
}
