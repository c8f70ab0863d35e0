// Draws the device's validated requests with OpenGL: it owns one context and the GL objects made in it
// (shadow state, programs, samplers, surface copies, vertex stream, constant buffer) and turns a clear
// or a draw with the full device state into GL calls. Several devices may share one renderer (all
// headless devices of a process use the same context); a window device has its own and presents the
// primary surface on the window through it.
#pragma once

#include <memory>

#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/core/surface.h"
#include "platform/d3d/gl/context_window.h"
#include "platform/d3d/gl/ff_constants.h"
#include "platform/d3d/gl/gl_context.h"
#include "platform/d3d/gl/primitive_filter.h"
#include "platform/d3d/gl/sampler_cache.h"
#include "platform/d3d/gl/shader_cache.h"
#include "platform/d3d/gl/shadow_state.h"
#include "platform/d3d/gl/target_quantize.h"
#include "platform/d3d/gl/texture_cache.h"
#include "platform/d3d/gl/vertex_stream.h"

class GlRenderer {
public:
    // Takes a context that is current and has passed gl_context_check_current.
    explicit GlRenderer(std::unique_ptr<GlContext> context);
    // For a context on the program window, which can also present.
    explicit GlRenderer(std::unique_ptr<WindowGlContext> context);
    ~GlRenderer();
    GlRenderer(const GlRenderer&) = delete;
    GlRenderer& operator=(const GlRenderer&) = delete;

    // device identifies the caller: a change of device re-sends every constant whatever dirty says.
    HRESULT clear(const DrawBindings& bindings, const ClearRequest& request);
    HRESULT draw(const DeviceState& state, std::uint32_t dirty, const DrawBindings& bindings, const DrawBatch& batch,
                 const void* device);
    // Starts the queued GL work (surfaces are read back when the CPU asks for them).
    void flush();

    // Shows rect of the primary surface on the window (all of its drawable area) and swaps, waiting
    // for vertical sync when vsync. False without a window context.
    bool present(Surface& primary, const RECT& rect, bool vsync);
    bool has_window() const { return window_ != nullptr; }
    // Frames shown on the window so far.
    std::uint64_t presents() const { return presents_; }

    GlContext& context() { return *context_; }
    // How far geometry is moved to put the device's pixel centres onto GL's (pixel_shift.h).
    float pixel_shift() const { return pixel_shift_; }
    TextureCache& textures() { return textures_; }
    ShaderCache& shaders() { return shaders_; }
    GlShadowState& shadow() { return gl_; }

private:
    void init();
    void upload_constants(const DeviceState& state, std::uint32_t dirty, const void* device);
    void apply_fixed_state(const DeviceState& state, const Surface& target, bool depth_active, const ShaderKey& key);
    // Issues the GL draw calls of a batch whose vertices are bound (indices: 16- or 32-bit, or none),
    // with the end points of lines and wireframe edges added where the device draws them (LASTPIXEL).
    void submit(D3DPRIMITIVETYPE type, DWORD vertex_count, const void* indices, DWORD index_count, bool wide_indices,
                bool last_pixel, D3DFILLMODE fill);

    std::unique_ptr<GlContext> context_;  // first member: destroyed after every GL object below
    WindowGlContext* window_ = nullptr;
    GlShadowState gl_;
    float pixel_shift_;
    TextureCache textures_;
    ShaderCache shaders_;
    SamplerCache samplers_;
    VertexStream stream_;
    TargetQuantizer quantizer_;
    GLuint constants_buffer_ = 0;
    FfConstants constants_{};
    bool constants_valid_ = false;
    const void* last_device_ = nullptr;
    std::uint64_t presents_ = 0;
    FilteredBatch filtered_;
    std::vector<std::uint32_t> line_ends_;
};
