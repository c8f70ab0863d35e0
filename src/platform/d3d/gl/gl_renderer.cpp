#include "platform/d3d/gl/gl_renderer.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/d3d/core/state_reading.h"
#include "platform/d3d/gl/gl_enums.h"
#include "platform/d3d/gl/pixel_shift.h"
#include "platform/d3d/gl/shader_gen.h"
#include "platform/debug_output.h"

namespace {

float current_pixel_shift(GlContext& context, GlShadowState& gl)
{
    context.make_current();
    return pixel_shift_probe(gl);
}

}  // namespace

GlRenderer::GlRenderer(std::unique_ptr<GlContext> context)
    : context_(std::move(context)),
      pixel_shift_(current_pixel_shift(*context_, gl_)),
      textures_(*context_, gl_),
      shaders_(gl_, pixel_shift_),
      stream_(gl_),
      quantizer_(gl_)
{
    init();
}

GlRenderer::GlRenderer(std::unique_ptr<WindowGlContext> context)
    : context_(std::move(context)),
      pixel_shift_(current_pixel_shift(*context_, gl_)),
      textures_(*context_, gl_),
      shaders_(gl_, pixel_shift_),
      stream_(gl_),
      quantizer_(gl_)
{
    window_ = static_cast<WindowGlContext*>(context_.get());
    init();
}

void GlRenderer::init()
{
    context_->make_current();
    glGenBuffers(1, &constants_buffer_);
    // Fixed for the life of the context: GL's front face matches the device's clockwise triangles (see
    // gl_cull), flat shading takes the first vertex's colours, depth is clamped rather than clipped
    // (clip distances clip it where the device does).
    gl_.front_face(GL_CCW);
    gl_.provoking_vertex(GL_FIRST_VERTEX_CONVENTION);
    gl_.enable(GlShadowState::CAP_DEPTH_CLAMP, true);
}

GlRenderer::~GlRenderer()
{
    // The members' destructors delete GL objects: they need the context, which is destroyed last.
    context_->make_current();
    glDeleteBuffers(1, &constants_buffer_);
}

void GlRenderer::upload_constants(const DeviceState& state, std::uint32_t dirty, const void* device)
{
    if (constants_valid_ && dirty == 0 && device == last_device_) return;
    FfConstants fresh;
    ff_constants_compute(state, pixel_shift_, &fresh);
    last_device_ = device;
    if (constants_valid_ && std::memcmp(&fresh, &constants_, sizeof fresh) == 0) return;
    constants_ = fresh;
    constants_valid_ = true;
    gl_.bind_uniform_buffer(SHADER_BLOCK_BINDING, constants_buffer_);
    glBufferData(GL_UNIFORM_BUFFER, sizeof constants_, &constants_, GL_STREAM_DRAW);
}

void GlRenderer::apply_fixed_state(const DeviceState& state, const Surface& target, bool depth_active,
                                   const ShaderKey& key)
{
    const DWORD* rs = state.render;
    const D3DVIEWPORT7& vp = state.viewport;
    gl_.viewport(static_cast<GLint>(vp.dwX), static_cast<GLint>(vp.dwY), static_cast<GLsizei>(vp.dwWidth),
                 static_cast<GLsizei>(vp.dwHeight));
    // Everything the device draws stays inside the viewport and the target.
    const DWORD x2 = std::min(vp.dwX + vp.dwWidth, target.width());
    const DWORD y2 = std::min(vp.dwY + vp.dwHeight, target.height());
    gl_.enable(GlShadowState::CAP_SCISSOR_TEST, true);
    gl_.scissor(static_cast<GLint>(vp.dwX), static_cast<GLint>(vp.dwY),
                static_cast<GLsizei>(x2 > vp.dwX ? x2 - vp.dwX : 0), static_cast<GLsizei>(y2 > vp.dwY ? y2 - vp.dwY : 0));

    gl_.enable(GlShadowState::CAP_DEPTH_TEST, depth_active);
    if (depth_active) {
        gl_.depth_func(gl_compare_func(state_compare(rs[D3DRENDERSTATE_ZFUNC])));
        gl_.depth_mask(rs[D3DRENDERSTATE_ZWRITEENABLE] != 0);
    }
    if (key.pretransformed) {
        gl_.clip_distances(key.depth_clip ? 2 : 0);
    } else {
        gl_.clip_distances(2 + static_cast<unsigned>(std::popcount(static_cast<unsigned>(key.clip_planes))));
    }

    const bool blend = rs[D3DRENDERSTATE_ALPHABLENDENABLE] != 0;
    gl_.enable(GlShadowState::CAP_BLEND, blend);
    if (blend) {
        D3DBLEND source, destination;
        state_blend_factors(rs[D3DRENDERSTATE_SRCBLEND], rs[D3DRENDERSTATE_DESTBLEND], &source, &destination);
        gl_.blend_func(gl_blend_factor(source), gl_blend_factor(destination));
    }
    // A target without alpha bits keeps alpha 1 (it reads back as opaque and DESTALPHA sees 1).
    gl_.color_mask(true, true, true, pixel_kind_has_alpha(target.kind()));

    const GlCull cull = gl_cull(state_cull(rs[D3DRENDERSTATE_CULLMODE]));
    gl_.enable(GlShadowState::CAP_CULL_FACE, cull.enabled);
    if (cull.enabled) gl_.cull_face(cull.face);
    gl_.polygon_mode(gl_polygon_mode(state_fill(rs[D3DRENDERSTATE_FILLMODE])));
}

HRESULT GlRenderer::draw(const DeviceState& state, std::uint32_t dirty, const DrawBindings& bindings,
                         const DrawBatch& batch, const void* device)
{
    if (!context_->make_current()) return E_FAIL;
    // First, whatever happens below: the device counts the state as handed over once draw returns.
    upload_constants(state, dirty, device);
    Surface& target = *bindings.target;
    Surface* depth = bindings.depth;
    const bool depth_active = state_depth(state, depth != nullptr) != DepthRead::Off;
    const ShaderKey key = shader_key_build(state, batch.layout, batch.flags, bindings, depth_active);
    const GLuint program = shaders_.program(key);
    if (program == 0) return E_FAIL;

    for (unsigned s = 0; s < key.stage_count; ++s) {
        if (!key.stages[s].sampled) continue;
        Surface* texture = bindings.textures[s];
        // Sampling the target being drawn reads it as it was before this draw.
        const GLuint name = texture == &target ? textures_.snapshot(*texture) : textures_.texture(*texture);
        gl_.bind_texture(s, name);
        gl_.bind_sampler(s, samplers_.sampler(state.stage[s]));
    }
    const GLuint fbo = textures_.framebuffer(target, depth);
    if (fbo == 0) {
        textures_.release_transients();
        return E_FAIL;
    }
    gl_.bind_draw_framebuffer(fbo);
    gl_.use_program(program);
    apply_fixed_state(state, target, depth_active, key);
    const bool last_pixel = state.render[D3DRENDERSTATE_LASTPIXEL] != 0;
    const D3DFILLMODE fill = state_fill(state.render[D3DRENDERSTATE_FILLMODE]);
    if (primitive_filter(batch, state.viewport, key.flat, &filtered_)) {
        stream_.bind(batch.layout, batch.vertices, batch.vertex_count, batch.indices,
                     batch.indices != nullptr ? batch.index_count * sizeof(WORD) : 0);
        submit(batch.type, batch.vertex_count, batch.indices, batch.index_count, false, last_pixel, fill);
    } else if (!filtered_.indices.empty()) {
        const auto count = static_cast<DWORD>(filtered_.vertices.size() / batch.layout.stride);
        stream_.bind(batch.layout, filtered_.vertices.data(), count, filtered_.indices.data(),
                     filtered_.indices.size() * sizeof(std::uint32_t));
        submit(filtered_.type, count, filtered_.indices.data(), static_cast<DWORD>(filtered_.indices.size()), true,
               last_pixel, fill);
    }
    if (quantize_needed(target.kind()) && state.render[D3DRENDERSTATE_ALPHABLENDENABLE]) {
        const D3DVIEWPORT7& vp = state.viewport;
        quantizer_.run(target, fbo, static_cast<int>(vp.dwX), static_cast<int>(vp.dwY),
                       static_cast<int>(std::min(vp.dwX + vp.dwWidth, target.width())),
                       static_cast<int>(std::min(vp.dwY + vp.dwHeight, target.height())));
    }
    textures_.drawn(target);
    if (depth != nullptr) textures_.drawn(*depth);
    textures_.release_transients();
    return D3D_OK;
}

void GlRenderer::submit(D3DPRIMITIVETYPE type, DWORD vertex_count, const void* indices, DWORD index_count,
                        bool wide_indices, bool last_pixel, D3DFILLMODE fill)
{
    const GLenum index_type = wide_indices ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
    const DWORD count = indices != nullptr ? index_count : vertex_count;
    if (indices != nullptr) {
        glDrawElements(gl_primitive(type), static_cast<GLsizei>(count), index_type, nullptr);
    } else {
        glDrawArrays(gl_primitive(type), 0, static_cast<GLsizei>(count));
    }
    if (!last_pixel) return;
    if (fill == D3DFILL_WIREFRAME && type != D3DPT_POINTLIST && type != D3DPT_LINELIST && type != D3DPT_LINESTRIP) {
        // Each edge of a wireframe triangle ends on the next edge's first pixel, which the device draws
        // once more as the edge's last pixel: draw the surviving triangles' corners as points too.
        gl_.polygon_mode(GL_POINT);
        if (indices != nullptr) {
            glDrawElements(gl_primitive(type), static_cast<GLsizei>(count), index_type, nullptr);
        } else {
            glDrawArrays(gl_primitive(type), 0, static_cast<GLsizei>(count));
        }
        gl_.polygon_mode(GL_LINE);
        return;
    }
    if ((type != D3DPT_LINELIST && type != D3DPT_LINESTRIP) || count < 2) return;
    // GL leaves out a line's last pixel; the device draws it as part of the line (so a strip's inner
    // points are drawn twice, once by each segment).
    auto index = [&](DWORD i) -> std::uint32_t {
        if (indices == nullptr) return i;
        return wide_indices ? static_cast<const std::uint32_t*>(indices)[i] : static_cast<const WORD*>(indices)[i];
    };
    line_ends_.clear();
    if (type == D3DPT_LINELIST) {
        for (DWORD i = 1; i < count; i += 2) line_ends_.push_back(index(i));
    } else {
        for (DWORD i = 1; i < count; ++i) line_ends_.push_back(index(i));
    }
    stream_.replace_indices(line_ends_.data(), line_ends_.size() * sizeof(std::uint32_t));
    glDrawElements(GL_POINTS, static_cast<GLsizei>(line_ends_.size()), GL_UNSIGNED_INT, nullptr);
}

HRESULT GlRenderer::clear(const DrawBindings& bindings, const ClearRequest& request)
{
    if (!context_->make_current()) return E_FAIL;
    Surface& target = *bindings.target;
    Surface* depth = bindings.depth;
    const GLuint fbo = textures_.framebuffer(target, depth);
    if (fbo == 0) return E_FAIL;
    gl_.bind_draw_framebuffer(fbo);
    float colour[4];
    ff_color_unpack(quantize_argb(target.kind(), request.color), colour);
    if (!pixel_kind_has_alpha(target.kind())) colour[3] = 1.0f;
    const bool clear_target = (request.flags & D3DCLEAR_TARGET) != 0;
    const bool clear_depth = (request.flags & D3DCLEAR_ZBUFFER) != 0 && depth != nullptr;
    gl_.color_mask(true, true, true, true);
    gl_.depth_mask(true);
    gl_.enable(GlShadowState::CAP_SCISSOR_TEST, true);
    for (DWORD i = 0; i < request.rect_count; ++i) {
        const D3DRECT& r = request.rects[i];
        gl_.scissor(r.x1, r.y1, r.x2 - r.x1, r.y2 - r.y1);
        if (clear_target) glClearBufferfv(GL_COLOR, 0, colour);
        if (clear_depth) glClearBufferfv(GL_DEPTH, 0, &request.z);
    }
    if (clear_target) textures_.drawn(target);
    if (depth != nullptr) textures_.drawn(*depth);
    textures_.release_transients();
    return D3D_OK;
}

void GlRenderer::flush()
{
    if (context_->make_current()) glFlush();
}

bool GlRenderer::present(Surface& primary, const RECT& rect, bool vsync)
{
    if (window_ == nullptr) return false;
    if (rect.left >= rect.right || rect.top >= rect.bottom) return false;
    if (!context_->make_current()) return false;
    const GLuint fbo = textures_.framebuffer(primary, nullptr);  // uploads what the CPU put there
    if (fbo == 0) return false;
    int width = 0, height = 0;
    window_->drawable_size(&width, &height);
    if (width <= 0 || height <= 0) return false;
    gl_.bind_read_framebuffer(fbo);
    gl_.bind_draw_framebuffer(0);
    gl_.enable(GlShadowState::CAP_SCISSOR_TEST, false);
    gl_.color_mask(true, true, true, true);
    const bool same_size = rect.right - rect.left == width && rect.bottom - rect.top == height;
    // The surface's row 0 is its top; the window's GL row 0 is its bottom.
    glBlitFramebuffer(rect.left, rect.top, rect.right, rect.bottom, 0, height, width, 0, GL_COLOR_BUFFER_BIT,
                      same_size ? GL_NEAREST : GL_LINEAR);
    window_->swap(vsync);
    ++presents_;
    return true;
}
