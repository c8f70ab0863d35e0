// The OpenGL backend's DeviceBackend: it hands each validated request to its renderer (a headless one
// shared by the process, or one on the program window whose presents it has taken over from the
// display driver, core/gpu_present.h). Registration is gl_backend.h's; tests reach the renderer here.
#pragma once

#include <memory>
#include <string>

#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/core/display_driver.h"
#include "platform/d3d/gl/gl_renderer.h"
#include "platform/win_types.h"

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
