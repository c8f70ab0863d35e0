// The OpenGL device backend, registered as the hardware transform-and-lighting device
// (IID_IDirect3DTnLHalDevice, D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_HWTRANSFORMANDLIGHT), so the
// framework's default selection picks it. On a device whose DirectDraw object presents to a window of
// its display driver it draws with a context that the driver makes on that window and presents frames
// itself (core/gpu_present.h); everywhere else it draws headless through EGL (context_egl.h), sharing one context per process. When no context can be
// made, creation fails with a line on the debug output and CreateDevice reports D3DERR_INVALID_DEVICE,
// which is the framework's cue to fall back to the software device.
#pragma once

#include <memory>
#include <string>

#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/gl/gl_renderer.h"
#include "platform/win_types.h"

// Registers the backend with the device layer's registry.
void gl_backend_register();
// The registration record (GUID, names, capabilities, formats, factory).
DeviceBackendInfo gl_backend_info();

// The headless renderer shared by this process's headless devices on the platform VIRELINE_GL_PLATFORM
// names (automatic when unset), made on first use; null with the reason in error when none can be made.
std::shared_ptr<GlRenderer> gl_backend_headless_renderer(std::string* error);

class GlBackend final : public DeviceBackend {
public:
    // window: the window of driver whose presents this backend took over (both null when headless).
    GlBackend(std::shared_ptr<GlRenderer> renderer, std::shared_ptr<DisplayDriver> driver, HWND window);
    ~GlBackend() override;
    GlBackend(const GlBackend&) = delete;
    GlBackend& operator=(const GlBackend&) = delete;

    HRESULT clear(const DeviceState& state, const DrawBindings& bindings, const ClearRequest& request) override;
    HRESULT draw(const DeviceState& state, std::uint32_t dirty, const DrawBindings& bindings,
                 const DrawBatch& batch) override;
    void scene_end() override;
    void finish() override;

    GlRenderer& renderer() { return *renderer_; }

private:
    std::shared_ptr<GlRenderer> renderer_;
    std::shared_ptr<DisplayDriver> driver_;
    HWND window_;
};
