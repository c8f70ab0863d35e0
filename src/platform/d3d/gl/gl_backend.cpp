#include "platform/d3d/gl/gl_backend.h"

#include <map>
#include <mutex>

#include "platform/d3d/core/direct_draw.h"
#include "platform/d3d/core/pixel_format.h"
#include "platform/d3d/core/surface.h"
#include "platform/d3d/gl/context_egl.h"
#include "platform/d3d/gl/context_window.h"
#include "platform/d3d/gl/gl_caps.h"
#include "platform/d3d/gl/gl_device_backend.h"
#include "platform/d3d/gl/pixel_shift.h"
#include "platform/debug_output.h"

namespace {

// The window a device's surfaces are shown on: the one the primary surface's clipper names (windowed),
// or, in exclusive full-screen operation, where a flip chain has no clipper, the program's window.
HWND presentation_window(Surface& target)
{
    DirectDraw* owner = target.owner();
    Surface* primary = owner->primary();
    if (primary == nullptr) return nullptr;
    IDirectDrawClipper* clipper = nullptr;
    if (SUCCEEDED(primary->GetClipper(&clipper)) && clipper != nullptr) {
        HWND window = nullptr;
        clipper->GetHWnd(&window);
        clipper->Release();
        return window;
    }
    return owner->exclusive() ? owner->driver().exclusive_window() : nullptr;
}

struct HeadlessRenderers {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<GlRenderer>> by_platform;
};

HeadlessRenderers& headless_renderers()
{
    // Kept for the life of the process: contexts are expensive to make, and tearing one down while
    // Mesa's own exit handlers run is not worth the risk.
    static auto* renderers = new HeadlessRenderers;
    return *renderers;
}

std::unique_ptr<DeviceBackend> create_backend(const BackendCreateContext& context)
{
    if (context.target == nullptr) return nullptr;
    std::string error;
    const HWND hwnd = presentation_window(*context.target);
    DirectDraw* owner = context.target->owner();
    const std::shared_ptr<DisplayDriver>& driver = owner->driver_handle();
    if (hwnd != nullptr && driver->shows_window(hwnd)) {
        std::unique_ptr<WindowGlContext> gl = context_window_create(*driver, hwnd, &error);
        if (!gl) {
            debug_output_format("OpenGL device: no context on the window: %s\n", error.c_str());
            return nullptr;
        }
        auto renderer = std::make_shared<GlRenderer>(std::move(gl));
        std::weak_ptr<GlRenderer> weak = renderer;
        driver->set_gpu_presenter(hwnd, [weak, owner](const RECT& dirty, bool vsync) {
            std::shared_ptr<GlRenderer> r = weak.lock();
            Surface* primary = owner->primary();
            return r != nullptr && primary != nullptr && r->present(*primary, dirty, vsync);
        });
        return std::make_unique<GlBackend>(std::move(renderer), driver, hwnd);
    }
    std::shared_ptr<GlRenderer> renderer = gl_backend_headless_renderer(&error);
    if (!renderer) {
        debug_output_format("OpenGL device: no headless context: %s\n", error.c_str());
        return nullptr;
    }
    return std::make_unique<GlBackend>(std::move(renderer), nullptr, nullptr);
}

}  // namespace

std::shared_ptr<GlRenderer> gl_backend_headless_renderer(std::string* error)
{
    const std::string platform = context_egl_requested_platform();
    // One renderer per platform and pixel-shift choice (tests switch both through the environment).
    const std::string key = platform + "|" + pixel_shift_override();
    HeadlessRenderers& all = headless_renderers();
    std::lock_guard<std::mutex> lock(all.mutex);
    auto it = all.by_platform.find(key);
    if (it != all.by_platform.end()) return it->second;
    std::unique_ptr<GlContext> context = context_egl_create(platform, error);
    if (!context) return nullptr;
    auto renderer = std::make_shared<GlRenderer>(std::move(context));
    all.by_platform.emplace(key, renderer);
    return renderer;
}

GlBackend::GlBackend(std::shared_ptr<GlRenderer> renderer, std::shared_ptr<DisplayDriver> driver, HWND window)
    : renderer_(std::move(renderer)), driver_(std::move(driver)), window_(window)
{
}

GlBackend::~GlBackend()
{
    if (driver_ != nullptr && window_ != nullptr) driver_->set_gpu_presenter(window_, {});
}

HRESULT GlBackend::clear(const DeviceState&, const DrawBindings& bindings, const ClearRequest& request)
{
    return renderer_->clear(bindings, request);
}

HRESULT GlBackend::draw(const DeviceState& state, std::uint32_t dirty, const DrawBindings& bindings,
                        const DrawBatch& batch)
{
    return renderer_->draw(state, dirty, bindings, batch, this);
}

void GlBackend::scene_end()
{
    renderer_->flush();
}

void GlBackend::finish()
{
    renderer_->flush();
}

DeviceBackendInfo gl_backend_info()
{
    DeviceBackendInfo info;
    info.guid = IID_IDirect3DTnLHalDevice;
    info.description = "Direct3D T&L HAL (OpenGL)";
    info.name = "OpenGL T&L HAL";
    info.caps = gl_device_caps();
    info.texture_formats = {pixel_format_of(PixelKind::A8R8G8B8), pixel_format_of(PixelKind::X8R8G8B8),
                            pixel_format_of(PixelKind::R5G6B5),   pixel_format_of(PixelKind::X1R5G5B5),
                            pixel_format_of(PixelKind::A1R5G5B5), pixel_format_of(PixelKind::A4R4G4B4)};
    info.zbuffer_formats = {pixel_format_of(PixelKind::Z16), pixel_format_of(PixelKind::Z32)};
    info.create = create_backend;
    return info;
}

void gl_backend_register()
{
    d3d_backend_register(gl_backend_info());
}
