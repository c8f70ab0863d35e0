// DisplayFramework owns everything between the window and the 3D device: the DirectDraw object, the
// primary surface, the back buffer the device renders into, the clipper (windowed) or flip chain (full
// screen), the z-buffer, the Direct3D object, the device and its viewport. The application starts it
// once with the chosen device, presents each finished frame through it (a Blt to the window's place on
// the primary, or a Flip), keeps the windowed blit target in step with window moves, restores lost
// surfaces and releases everything at the end, checking that nothing is still referenced.
#pragma once

#include "platform/d3d/d3d.h"
#include "platform/d3d/ddraw.h"

// start flags.
constexpr DWORD FRAMEWORK_FULLSCREEN = 0x1;
constexpr DWORD FRAMEWORK_STEREO = 0x2;
constexpr DWORD FRAMEWORK_ZBUFFER = 0x4;

class DisplayFramework {
public:
    DisplayFramework() = default;
    ~DisplayFramework();
    DisplayFramework(const DisplayFramework&) = delete;
    DisplayFramework& operator=(const DisplayFramework&) = delete;

    // S_OK or a framework code (framework_errors.h); on failure everything made so far is released.
    HRESULT start(HWND window, GUID* driver_guid, GUID* device_guid, DDSURFACEDESC2* mode, DWORD flags);
    // S_OK, or FWERR_STILL_REFERENCED when the device or the DirectDraw object kept references.
    HRESULT release_all();
    // Presents the back buffer: Flip in full screen, a Blt to screen_rect windowed.
    HRESULT show_frame();
    HRESULT restore_surfaces();
    // The client area's new screen position (windowed only).
    void window_moved(int x, int y);
    // Full screen only: show the desktop's surface; with redraw also redraw the window frame.
    HRESULT flip_to_gdi(bool redraw);
    // Once per frame: nothing shown while another application has the display, lost surfaces restored.
    HRESULT present_frame();

    HWND window() const { return window_; }
    bool fullscreen() const { return fullscreen_; }
    DWORD width() const { return width_; }
    DWORD height() const { return height_; }
    RECT screen_rect() const { return screen_rect_; }
    DWORD z_buffer_memory() const { return z_buffer_memory_; }
    IDirectDraw7* direct_draw() const { return direct_draw_; }
    IDirect3D7* direct3d() const { return direct3d_; }
    IDirect3DDevice7* device() const { return device_; }
    IDirectDrawSurface7* primary() const { return primary_; }
    IDirectDrawSurface7* back_buffer() const { return back_buffer_; }
    IDirectDrawSurface7* z_buffer() const { return z_buffer_; }

private:
    HRESULT create_buffers_fullscreen(const DDSURFACEDESC2& mode);
    HRESULT create_buffers_windowed();
    HRESULT create_device(const GUID& device_guid);
    HRESULT create_z_buffer(const GUID& device_guid);

    HWND window_ = nullptr;
    bool fullscreen_ = false;
    DWORD width_ = 0;
    DWORD height_ = 0;
    RECT screen_rect_{};
    IDirectDraw7* direct_draw_ = nullptr;
    IDirect3D7* direct3d_ = nullptr;
    IDirect3DDevice7* device_ = nullptr;
    IDirectDrawSurface7* primary_ = nullptr;
    IDirectDrawSurface7* back_buffer_ = nullptr;
    IDirectDrawSurface7* z_buffer_ = nullptr;
    DWORD z_buffer_memory_ = 0;
};

// The depth format for a back buffer of colour_bits: the first offered format of equal depth, else
// the first 16-bit one; false when neither exists.
bool display_choose_z_format(IDirect3D7* direct3d, const GUID& device_guid, DWORD colour_bits, DDPIXELFORMAT* format);
