// The pluggable display driver beneath the DirectDraw object: which drivers exist, their display
// modes, the cooperative level on a window, mode switches, and what happens when the primary surface
// receives a frame (Blt onto the primary, or Flip). The device layer ships a headless driver
// (headless_display.h) whose primary is an off-screen picture; the framework plugs in a window driver
// by installing its own list with display_drivers_install().
//
// A driver does not own surfaces. It reports "presents" (the primary surface's pixels changed in a
// rectangle) and may declare surfaces lost by advancing its loss generation, for example when another
// application takes the display; surfaces created before are then lost until restored. A driver that
// shows windows also offers GPU presenting on them (gpu_present.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d/core/gpu_present.h"
#include "platform/d3d/ddraw_types.h"
#include "platform/d3d/guids.h"

struct DisplayMode {
    DWORD width = 0;
    DWORD height = 0;
    DWORD bits_per_pixel = 0;  // 16 or 32 (8 and below are listed but cannot hold surfaces)
    DWORD refresh_rate = 0;
    bool operator==(const DisplayMode&) const = default;
};

// The pixels of the primary surface as a driver sees them on a present.
struct PresentImage {
    const BYTE* pixels = nullptr;
    LONG pitch = 0;
    DWORD width = 0;
    DWORD height = 0;
    DDPIXELFORMAT format{};
};

class DisplayDriver {
public:
    virtual ~DisplayDriver() = default;

    // Null for the primary display driver, else the driver's own GUID.
    virtual const GUID* guid() const = 0;
    virtual std::string description() const = 0;
    virtual std::string name() const = 0;
    // DDCAPS2_* bits reported by IDirectDraw7::GetCaps (DDCAPS2_CANRENDERWINDOWED for a desktop driver).
    virtual DWORD caps2() const = 0;

    virtual std::vector<DisplayMode> modes() const = 0;
    // The mode in use now: the desktop mode, or the mode set in exclusive full-screen operation.
    virtual DisplayMode current_mode() const = 0;

    // flags are DDSCL_*; the core has already checked their combination.
    virtual HRESULT set_cooperative_level(HWND window, DWORD flags) = 0;
    virtual HRESULT set_mode(const DisplayMode& mode) = 0;
    virtual HRESULT restore_mode() = 0;
    // S_OK, DDERR_NOEXCLUSIVEMODE, DDERR_EXCLUSIVEMODEALREADYSET or DDERR_WRONGMODE.
    virtual HRESULT test_cooperative_level() = 0;
    // Advances whenever the driver loses surfaces; surfaces compare it with the value they were made at.
    virtual std::uint64_t loss_generation() const = 0;

    // The primary surface changed inside dirty (a Blt onto it, or a Flip).
    virtual void present(const PresentImage& image, const RECT& dirty) = 0;

    // GPU presenting. The window frames are shown on in exclusive full-screen operation, where a flip
    // chain has no clipper to name it (null when the driver shows no windows).
    virtual HWND exclusive_window() const { return nullptr; }
    // Whether window is a real window of this driver's, on which a context can be made.
    virtual bool shows_window(HWND) const { return false; }
    // An OpenGL context of at least version major.minor (core profile where offered) on window, made
    // current; null with the reason in error when the driver cannot make one.
    virtual std::unique_ptr<NativeGlContext> create_gl_context(HWND window, int major, int minor,
                                                               std::string* error);
    // Installs presenter for window; an empty one gives presenting back to the driver.
    virtual void set_gpu_presenter(HWND window, GpuPresenter presenter);
};

// The installed drivers, primary first. Until something is installed the list holds one headless driver.
std::vector<std::shared_ptr<DisplayDriver>> display_drivers();
void display_drivers_install(std::vector<std::shared_ptr<DisplayDriver>> drivers);
// The driver named by guid (null: the primary driver), or null.
std::shared_ptr<DisplayDriver> display_driver_find(const GUID* guid);
