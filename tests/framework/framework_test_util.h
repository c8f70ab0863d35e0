// Small builders shared by the framework tests: display modes, device descriptions, driver records,
// and a headless application set-up that restores the window system and display drivers afterwards.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/command_line.h"
#include "framework/device_enumeration.h"
#include "platform/d3d/core/display_driver.h"
#include "platform/d3d/core/headless_display.h"
#include "platform/window/messages.h"
#include "platform/window/window_system.h"

inline DDSURFACEDESC2 make_mode(DWORD width, DWORD height, DWORD bits, bool stereo = false, DWORD refresh = 60)
{
    DDSURFACEDESC2 mode{};
    mode.dwSize = sizeof mode;
    mode.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    mode.dwWidth = width;
    mode.dwHeight = height;
    mode.dwRefreshRate = refresh;
    mode.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    mode.ddpfPixelFormat.dwFlags = DDPF_RGB;
    mode.ddpfPixelFormat.dwRGBBitCount = bits;
    if (stereo) mode.ddsCaps.dwCaps2 = DDSCAPS2_STEREOSURFACELEFT;
    return mode;
}

inline D3DDEVICEDESC7 make_device_desc(bool hardware, DWORD render_depths, const GUID& guid)
{
    D3DDEVICEDESC7 desc{};
    desc.dwDevCaps = hardware ? D3DDEVCAPS_HWRASTERIZATION : 0;
    desc.dwDeviceRenderBitDepth = render_depths;
    desc.deviceGUID = guid;
    return desc;
}

inline DriverRecord make_driver(const char* description, bool primary, std::vector<DDSURFACEDESC2> modes,
                                bool can_render_windowed = true)
{
    DriverRecord driver;
    driver.description = description;
    driver.has_guid = !primary;
    if (!primary) driver.guid = GUID{0x12345678, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
    driver.driver_caps.dwSize = sizeof(DDCAPS);
    driver.hel_caps.dwSize = sizeof(DDCAPS);
    if (can_render_windowed) driver.driver_caps.dwCaps2 = DDCAPS2_CANRENDERWINDOWED;
    driver.desktop_compatible = can_render_windowed && primary;
    device_modes_sort(modes);
    driver.modes = std::move(modes);
    return driver;
}

// Runs a test with the window system headless, the given display drivers (default: one headless driver)
// and options (edited by the given function), putting back the defaults and clearing the message queue
// afterwards.
class HeadlessScope {
public:
    explicit HeadlessScope(std::vector<std::shared_ptr<DisplayDriver>> drivers = {},
                           const std::function<void(FrameworkOptions&)>& edit_options = nullptr)
    {
        window_system_stop();
        message_queue_reset();
        if (drivers.empty()) drivers.push_back(std::make_shared<HeadlessDisplayDriver>());
        display_drivers_install(std::move(drivers));
        FrameworkOptions options;
        if (edit_options) edit_options(options);
        options.force_headless = true;
        framework_set_options(options);
    }
    ~HeadlessScope()
    {
        window_system_stop();
        message_queue_reset();
        display_drivers_install({std::make_shared<HeadlessDisplayDriver>()});
        framework_set_options(FrameworkOptions{});
    }
    HeadlessScope(const HeadlessScope&) = delete;
    HeadlessScope& operator=(const HeadlessScope&) = delete;
};
