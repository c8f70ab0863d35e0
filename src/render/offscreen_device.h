// A complete device without a window: the headless display driver's DirectDraw object, a 32-bit
// off-screen 3D surface as the render target, a depth buffer attached to it, the Direct3D object, the
// device and a viewport over the whole target. Tools that render to files (the scene viewer's --out)
// and tests use it where the demo uses the render framework. It publishes itself to the render
// helpers with make_current() and withdraws on destruction: the headless counterpart of the frame
// loop's refresh (driver/frame_loop.h), which is how the framework's device reaches them.
#pragma once

#include <string>

#include "platform/d3d/d3d.h"
#include "render/render_context.h"

enum class OffscreenDeviceKind {
    Software,  // the software rasterizer (IID_IDirect3DRGBDevice), always present
    Hardware,  // the first enumerated device that rasterises in hardware (the OpenGL backend)
};

class OffscreenDevice {
public:
    OffscreenDevice() = default;
    ~OffscreenDevice();
    OffscreenDevice(const OffscreenDevice&) = delete;
    OffscreenDevice& operator=(const OffscreenDevice&) = delete;

    // Builds everything; on failure releases what was made and explains in `reason`.
    HRESULT create(OffscreenDeviceKind kind, DWORD width, DWORD height, std::string* reason = nullptr);
    void release();

    // Sets current_device and the render objects to this device's.
    void make_current();

    IDirectDraw7* direct_draw() const { return direct_draw_; }
    IDirect3D7* direct3d() const { return direct3d_; }
    IDirect3DDevice7* device() const { return device_; }
    IDirectDrawSurface7* target() const { return target_; }
    IDirectDrawSurface7* depth_buffer() const { return depth_; }
    const GUID& device_guid() const { return device_guid_; }

private:
    IDirectDraw7* direct_draw_ = nullptr;
    IDirect3D7* direct3d_ = nullptr;
    IDirect3DDevice7* device_ = nullptr;
    IDirectDrawSurface7* target_ = nullptr;
    IDirectDrawSurface7* depth_ = nullptr;
    GUID device_guid_{};
};

// The pixel format of the off-screen target: 32-bit RGB without alpha (X8R8G8B8).
DDPIXELFORMAT offscreen_target_format();
