// The display surfaces and device on the headless display driver: windowed and full-screen starts,
// depth formats, paletted desktops, presents that follow window moves, a display taken away and given
// back, lost surfaces and the reference check at release.
#include <gtest/gtest.h>

#include "fake_backends.h"
#include "framework/display_framework.h"
#include "framework/framework_errors.h"
#include "framework_test_util.h"
#include "platform/d3d/core/surface.h"
#include "platform/window/window.h"

namespace {

class DisplayFrameworkTest : public ::testing::Test {
protected:
    // A headless desktop of the given depth and a 640 × 480 window at (0, 0).
    void start_desktop(DWORD desktop_bits)
    {
        HeadlessDisplayConfig config;
        config.desktop = DisplayMode{640, 480, desktop_bits, 60};
        driver = std::make_shared<HeadlessDisplayDriver>(config);
        scope = std::make_unique<HeadlessScope>(std::vector<std::shared_ptr<DisplayDriver>>{driver});
        window_system_start(true);
        WNDCLASSA cls{};
        cls.lpfnWndProc = DefWindowProcA;
        cls.lpszClassName = "display framework test";
        RegisterClassA(&cls);
        window = CreateWindowExA(0, "display framework test", "t", WS_CAPTION, 0, 0, 640, 480, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }

    // Colour or depth bits: one field of the pixel format serves both.
    static DWORD bits(IDirectDrawSurface7* surface)
    {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        surface->GetSurfaceDesc(&desc);
        return desc.ddpfPixelFormat.dwRGBBitCount;
    }

    GUID software = IID_IDirect3DRGBDevice;
    std::shared_ptr<HeadlessDisplayDriver> driver;
    std::unique_ptr<HeadlessScope> scope;
    HWND window = nullptr;
    DisplayFramework fw;
};

}  // namespace

TEST_F(DisplayFrameworkTest, WindowedOnA32BitDesktop)
{
    start_desktop(32);
    ASSERT_EQ(fw.start(window, nullptr, &software, nullptr, FRAMEWORK_ZBUFFER), S_OK);
    EXPECT_FALSE(fw.fullscreen());
    EXPECT_EQ(fw.width(), 640u);
    EXPECT_EQ(fw.height(), 480u);
    EXPECT_EQ(bits(fw.back_buffer()), 32u);
    ASSERT_NE(fw.z_buffer(), nullptr);
    EXPECT_EQ(bits(fw.z_buffer()), 32u);
    EXPECT_EQ(fw.z_buffer_memory(), static_cast<DWORD>(DDSCAPS_SYSTEMMEMORY));
    D3DVIEWPORT7 viewport{};
    fw.device()->GetViewport(&viewport);
    EXPECT_EQ(viewport.dwWidth, 640u);
    EXPECT_EQ(viewport.dwHeight, 480u);
    EXPECT_EQ(viewport.dvMaxZ, 1.0f);
    IDirectDrawClipper* clipper = nullptr;
    EXPECT_EQ(fw.primary()->GetClipper(&clipper), DD_OK);
    if (clipper != nullptr) clipper->Release();
    EXPECT_EQ(fw.release_all(), S_OK);
    EXPECT_EQ(fw.device(), nullptr);
    EXPECT_EQ(fw.direct_draw(), nullptr);
}

TEST_F(DisplayFrameworkTest, WindowedOnA16BitDesktopGetsA16BitDepthBuffer)
{
    start_desktop(16);
    ASSERT_EQ(fw.start(window, nullptr, &software, nullptr, FRAMEWORK_ZBUFFER), S_OK);
    EXPECT_EQ(bits(fw.back_buffer()), 16u);
    EXPECT_EQ(bits(fw.z_buffer()), 16u);
}

TEST_F(DisplayFrameworkTest, APalettedDesktopIsRefusedWindowedAndFullScreen)
{
    start_desktop(8);
    EXPECT_EQ(fw.start(window, nullptr, &software, nullptr, FRAMEWORK_ZBUFFER), FWERR_PALETTED_DESKTOP);
    EXPECT_EQ(fw.direct_draw(), nullptr);  // everything made so far is released
    DDSURFACEDESC2 mode = make_mode(640, 480, 16);
    EXPECT_EQ(fw.start(window, nullptr, &software, &mode, FRAMEWORK_FULLSCREEN | FRAMEWORK_ZBUFFER),
              FWERR_PALETTED_DESKTOP);
    EXPECT_EQ(fw.primary(), nullptr);
}

TEST_F(DisplayFrameworkTest, BadArguments)
{
    start_desktop(32);
    EXPECT_EQ(fw.show_frame(), FWERR_NOT_STARTED);
    EXPECT_EQ(fw.present_frame(), FWERR_NOT_STARTED);
    EXPECT_EQ(fw.start(nullptr, nullptr, &software, nullptr, 0), E_INVALIDARG);
    EXPECT_EQ(fw.start(window, nullptr, nullptr, nullptr, 0), E_INVALIDARG);
    EXPECT_EQ(fw.start(window, nullptr, &software, nullptr, FRAMEWORK_FULLSCREEN), E_INVALIDARG);
    GUID unknown{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(fw.start(window, nullptr, &unknown, nullptr, FRAMEWORK_ZBUFFER), FWERR_NO_DEVICE);
    DDSURFACEDESC2 bad = make_mode(700, 500, 16);
    EXPECT_EQ(fw.start(window, nullptr, &software, &bad, FRAMEWORK_FULLSCREEN), FWERR_BAD_DISPLAY_MODE);
    EXPECT_EQ(fw.direct_draw(), nullptr);
}

TEST_F(DisplayFrameworkTest, PresentsLandWhereTheWindowNowIs)
{
    start_desktop(32);
    ASSERT_EQ(fw.start(window, nullptr, &software, nullptr, FRAMEWORK_ZBUFFER), S_OK);
    const unsigned before = driver->present_count();
    ASSERT_EQ(fw.present_frame(), S_OK);
    EXPECT_EQ(driver->present_count(), before + 1);
    RECT r = driver->last_present_rect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 640);
    fw.window_moved(30, -5);
    ASSERT_EQ(fw.present_frame(), S_OK);
    r = driver->last_present_rect();
    EXPECT_EQ(r.left, 30);  // clipped to the primary by the clipper
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 640);
    EXPECT_EQ(r.bottom, 475);
}

TEST_F(DisplayFrameworkTest, FullScreenFlipsAndSurvivesLosingTheDisplay)
{
    start_desktop(32);
    DDSURFACEDESC2 mode = make_mode(640, 480, 16);
    ASSERT_EQ(fw.start(window, nullptr, &software, &mode, FRAMEWORK_FULLSCREEN | FRAMEWORK_ZBUFFER), S_OK);
    EXPECT_TRUE(fw.fullscreen());
    EXPECT_EQ(bits(fw.back_buffer()), 16u);
    EXPECT_EQ(bits(fw.z_buffer()), 16u);
    unsigned count = driver->present_count();
    ASSERT_EQ(fw.present_frame(), S_OK);
    EXPECT_EQ(driver->present_count(), ++count);

    // Another application takes the display: frames are silently not shown.
    driver->simulate_display_taken(true);
    EXPECT_EQ(fw.present_frame(), S_OK);
    EXPECT_EQ(fw.present_frame(), S_OK);
    EXPECT_EQ(driver->present_count(), count);
    // It comes back: the first present finds the surfaces lost and restores them, the next shows.
    driver->simulate_display_taken(false);
    EXPECT_EQ(fw.back_buffer()->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(fw.present_frame(), S_OK);
    EXPECT_EQ(fw.back_buffer()->IsLost(), DD_OK);
    EXPECT_EQ(fw.present_frame(), S_OK);
    EXPECT_EQ(driver->present_count(), count + 1);
    EXPECT_EQ(fw.flip_to_gdi(true), S_OK);
    EXPECT_EQ(fw.release_all(), S_OK);
    EXPECT_EQ(driver->current_mode().bits_per_pixel, 32u);  // the desktop is back
}

TEST_F(DisplayFrameworkTest, AReferenceLeftOnTheDeviceIsReportedAtRelease)
{
    start_desktop(32);
    ASSERT_EQ(fw.start(window, nullptr, &software, nullptr, FRAMEWORK_ZBUFFER), S_OK);
    IDirect3DDevice7* extra = fw.device();
    extra->AddRef();
    EXPECT_EQ(fw.release_all(), FWERR_STILL_REFERENCED);
    extra->Release();
}

TEST_F(DisplayFrameworkTest, ADeviceWithoutNeedOfADepthBufferGetsNone)
{
    register_hsr_device();
    start_desktop(32);
    GUID hsr = kHsrDeviceGuid;
    ASSERT_EQ(fw.start(window, nullptr, &hsr, nullptr, FRAMEWORK_ZBUFFER), S_OK);
    EXPECT_EQ(fw.z_buffer(), nullptr);
    EXPECT_NE(fw.device(), nullptr);
}
