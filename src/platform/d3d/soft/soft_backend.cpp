#include "platform/d3d/soft/soft_backend.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "platform/d3d/core/pixel_format.h"
#include "platform/d3d/core/surface.h"
#include "platform/d3d/soft/clipping.h"
#include "platform/d3d/soft/soft_caps.h"
#include "platform/d3d/soft/draw_queue.h"
#include "platform/d3d/soft/draw_state.h"
#include "platform/d3d/soft/fixed_point.h"
#include "platform/d3d/soft/pending_surfaces.h"
#include "platform/d3d/soft/rasterizer.h"
#include "platform/d3d/soft/span_kernels.h"
#include "platform/d3d/soft/texture_cache.h"
#include "platform/d3d/soft/tile_pool.h"
#include "platform/d3d/soft/transform_lighting.h"
#include "platform/d3d/soft/triangle_setup.h"

namespace {

std::mutex g_options_mutex;
SoftBackendOptions g_options;

using namespace soft;

class SoftBackend final : public DeviceBackend {
public:
    explicit SoftBackend(const SoftBackendOptions& options)
        : pool_(options.threads == 0 ? tile_pool_default_threads() : options.threads),
          specialised_(options.specialised_loops),
          deferred_(options.deferred),
          pending_(&SoftBackend::run_queue_hook, this)
    {
        textures_.set_before_rewrite(&SoftBackend::run_queue_hook, this);
    }
    ~SoftBackend() override { run_queue(); }

    HRESULT clear(const DeviceState&, const DrawBindings& b, const ClearRequest& request) override;
    HRESULT draw(const DeviceState& state, std::uint32_t, const DrawBindings& b, const DrawBatch& batch) override;
    void finish() override { run_queue(); }

private:
    static void run_queue_hook(void* self) { static_cast<SoftBackend*>(self)->run_queue(); }
    void run_queue();
    // Holds the surfaces of work just queued; runs the queue when one cannot be held, when the queue is
    // full, or when deferring is off.
    void after_queueing(const DrawBindings& b, bool reads_textures);
    ScreenVertex project(const ClipVertex& v) const;
    void emit_triangle(std::uint32_t i0, std::uint32_t i1, std::uint32_t i2, std::uint32_t provoking);
    void emit_clipped(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c, const ClipVertex& provoking,
                      std::uint32_t mask);
    void emit_wire(const ScreenVertex* polygon, unsigned count, CullSign cull);
    void emit_line(std::uint32_t i0, std::uint32_t i1);

    TilePool pool_;
    bool specialised_;
    bool deferred_;
    TextureCache textures_;
    DrawQueue queue_;
    PendingSurfaces pending_;
    // Per-draw working storage, kept between draws so that drawing does not allocate.
    std::vector<ClipVertex> clip_;
    std::vector<ScreenVertex> screen_;
    std::vector<SetupTriangle> setups_;
    DrawConstants k_;
    SpanFn span_ = nullptr;
    SpanPairFn span_pair_ = nullptr;
    GuardBand guard_{};
    CullSign cull_ = CullSign::None;
    DWORD fill_ = D3DFILL_SOLID;
    bool transformed_ = true;
    bool last_pixel_ = true;
    float depth_min_ = 0.0f;
    float depth_scale_ = 1.0f;
};

void SoftBackend::run_queue()
{
    queue_.run(pool_);
    pending_.release_all();
}

void SoftBackend::after_queueing(const DrawBindings& b, bool reads_textures)
{
    bool held = pending_.hold(b.target) && pending_.hold(b.depth);
    if (reads_textures) {
        for (unsigned s = 0; s < k_.stage_count; ++s) {
            if (k_.stages[s].reads_texture) held = pending_.hold(b.textures[s]) && held;
        }
    }
    if (!held || !deferred_ || queue_.full()) run_queue();
}

HRESULT SoftBackend::clear(const DeviceState&, const DrawBindings& b, const ClearRequest& request)
{
    if (queue_.target() != nullptr && queue_.target() != b.target) run_queue();
    for (DWORD i = 0; i < request.rect_count; ++i) {
        queue_.add_clear(b.target, b.depth, request.rects[i], request.flags, request.color, request.z);
    }
    after_queueing(b, false);
    return D3D_OK;
}

ScreenVertex SoftBackend::project(const ClipVertex& v) const
{
    ScreenVertex s;
    const float q = 1.0f / v.h[3];
    s.x = v.h[0] * q;
    s.y = v.h[1] * q;
    s.q = q;
    s.depth = transformed_ ? depth_min_ + v.h[2] * q * depth_scale_ : v.h[2] * q;
    for (unsigned i = 0; i < kAttributes; ++i) s.attr[i] = v.attr[i] * q;
    return s;
}

float polygon_area(const ScreenVertex* p, unsigned count)
{
    double area = 0.0;
    for (unsigned i = 0; i < count; ++i) {
        const ScreenVertex& a = p[i];
        const ScreenVertex& b = p[(i + 1) % count];
        area += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return static_cast<float>(area);
}

bool culled(CullSign cull, float area)
{
    return area == 0.0f || (cull == CullSign::RemovePositive && area > 0.0f) ||
           (cull == CullSign::RemoveNegative && area < 0.0f);
}

void SoftBackend::emit_wire(const ScreenVertex* polygon, unsigned count, CullSign cull)
{
    if (culled(cull, polygon_area(polygon, count))) return;
    for (unsigned i = 0; i < count; ++i) {
        if (fill_ == D3DFILL_POINT) {
            draw_point(k_, span_, polygon[i]);
        } else {
            draw_line(k_, span_, polygon[i], polygon[(i + 1) % count], last_pixel_);
        }
    }
}

void SoftBackend::emit_clipped(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c,
                               const ClipVertex& provoking, std::uint32_t mask)
{
    ClipVertex clipped[kMaxClipped];
    const unsigned count = clip_triangle(a, b, c, mask, guard_, clipped);
    if (count < 3) return;
    ScreenVertex polygon[kMaxClipped];
    for (unsigned i = 0; i < count; ++i) polygon[i] = project(clipped[i]);
    if (fill_ != D3DFILL_SOLID) {
        emit_wire(polygon, count, cull_);
        return;
    }
    if (culled(cull_, polygon_area(polygon, count))) return;
    const ScreenVertex pv = project(provoking);
    for (unsigned i = 1; i + 1 < count; ++i) {
        SetupTriangle t;
        if (setup_triangle(polygon[0], polygon[i], polygon[i + 1], pv, CullSign::None, k_, &t)) setups_.push_back(t);
    }
}

void SoftBackend::emit_triangle(std::uint32_t i0, std::uint32_t i1, std::uint32_t i2, std::uint32_t provoking)
{
    const ClipVertex& a = clip_[i0];
    const ClipVertex& b = clip_[i1];
    const ClipVertex& c = clip_[i2];
    const std::uint32_t any = a.outcode | b.outcode | c.outcode;
    if ((a.outcode & b.outcode & c.outcode) != 0 || (any & CLIP_INVALID)) return;
    if (any != 0) {
        emit_clipped(a, b, c, clip_[provoking], any);
        return;
    }
    if (fill_ != D3DFILL_SOLID) {
        const ScreenVertex polygon[3] = {screen_[i0], screen_[i1], screen_[i2]};
        emit_wire(polygon, 3, cull_);
        return;
    }
    SetupTriangle t;
    if (setup_triangle(screen_[i0], screen_[i1], screen_[i2], screen_[provoking], cull_, k_, &t)) setups_.push_back(t);
}

void SoftBackend::emit_line(std::uint32_t i0, std::uint32_t i1)
{
    ClipVertex a = clip_[i0];
    ClipVertex b = clip_[i1];
    const std::uint32_t any = a.outcode | b.outcode;
    if ((a.outcode & b.outcode) != 0 || (any & CLIP_INVALID)) return;
    if (any != 0 && !clip_segment(&a, &b, any, guard_)) return;
    draw_line(k_, span_, project(a), project(b), last_pixel_);
}

HRESULT SoftBackend::draw(const DeviceState& state, std::uint32_t, const DrawBindings& b, const DrawBatch& batch)
{
    const VertexLayout& layout = batch.layout;
    if (queue_.target() != nullptr && queue_.target() != b.target) run_queue();
    transformed_ = !layout.pretransformed;
    resolve_draw_constants(state, b, layout.pretransformed, textures_, &k_);
    if (k_.scissor_x0 >= k_.scissor_x1 || k_.scissor_y0 >= k_.scissor_y1) return D3D_OK;
    span_ = select_span_kernel(k_, specialised_);
    span_pair_ = select_span_pair_kernel(k_, specialised_);
    const D3DVIEWPORT7& vp = state.viewport;
    guard_ = state_guard_band(vp);
    depth_min_ = vp.dvMinZ;
    depth_scale_ = vp.dvMaxZ - vp.dvMinZ;
    switch (state_cull(state.render[D3DRENDERSTATE_CULLMODE])) {
    case D3DCULL_CW: cull_ = CullSign::RemovePositive; break;
    case D3DCULL_CCW: cull_ = CullSign::RemoveNegative; break;
    case D3DCULL_NONE: cull_ = CullSign::None; break;
    }
    fill_ = state_fill(state.render[D3DRENDERSTATE_FILLMODE]);
    last_pixel_ = state.render[D3DRENDERSTATE_LASTPIXEL] != 0;

    clip_.resize(batch.vertex_count);
    screen_.resize(batch.vertex_count);
    transform_and_light(state, batch, guard_, clip_.data());
    for (DWORD i = 0; i < batch.vertex_count; ++i) {
        if (clip_[i].outcode == 0) screen_[i] = project(clip_[i]);
    }

    const DWORD n = batch.indices != nullptr ? batch.index_count : batch.vertex_count;
    auto index = [&](DWORD i) -> std::uint32_t { return batch.indices != nullptr ? batch.indices[i] : i; };
    setups_.clear();
    // Points and lines (and wireframe triangles) are drawn at once, after everything queued before them.
    if (batch.type == D3DPT_POINTLIST || batch.type == D3DPT_LINELIST || batch.type == D3DPT_LINESTRIP ||
        fill_ != D3DFILL_SOLID) {
        run_queue();
    }
    switch (batch.type) {
    case D3DPT_POINTLIST:
        for (DWORD i = 0; i < n; ++i) {
            if (clip_[index(i)].outcode == 0) draw_point(k_, span_, screen_[index(i)]);
        }
        return D3D_OK;
    case D3DPT_LINELIST:
        for (DWORD i = 0; i + 1 < n; i += 2) emit_line(index(i), index(i + 1));
        return D3D_OK;
    case D3DPT_LINESTRIP:
        for (DWORD i = 0; i + 1 < n; ++i) emit_line(index(i), index(i + 1));
        return D3D_OK;
    case D3DPT_TRIANGLELIST:
        for (DWORD i = 0; i + 2 < n; i += 3) emit_triangle(index(i), index(i + 1), index(i + 2), index(i));
        break;
    case D3DPT_TRIANGLESTRIP:
        for (DWORD i = 0; i + 2 < n; ++i) {
            if (i & 1) {
                emit_triangle(index(i + 1), index(i), index(i + 2), index(i));
            } else {
                emit_triangle(index(i), index(i + 1), index(i + 2), index(i));
            }
        }
        break;
    case D3DPT_TRIANGLEFAN:
        for (DWORD i = 1; i + 1 < n; ++i) emit_triangle(index(0), index(i), index(i + 1), index(i));
        break;
    }
    // A texture that is also the target would be read while it is written: such a draw runs at once, on
    // this thread, in the order of its triangles.
    bool self_read = false;
    for (unsigned s = 0; s < k_.stage_count; ++s) {
        if (k_.stages[s].reads_texture && b.textures[s] == b.target) self_read = true;
    }
    if (self_read) {
        run_queue();
        for (const SetupTriangle& t : setups_) raster_triangle(k_, span_, span_pair_, t, t.x0, t.y0, t.x1, t.y1);
        return D3D_OK;
    }
    if (setups_.empty()) return D3D_OK;
    queue_.add_triangles(b.target, k_, span_, span_pair_, setups_.data(), setups_.size());
    after_queueing(b, true);
    return D3D_OK;
}

}  // namespace

DeviceBackendInfo soft_backend_info()
{
    DeviceBackendInfo info;
    info.guid = IID_IDirect3DRGBDevice;
    info.description = "Vireline software rasterizer";
    info.name = "Software Rasterizer";
    info.caps = soft_device_caps();
    // Texture formats, in the order EnumTextureFormats lists them: 32-bit with and without alpha, then
    // 16-bit with 4-bit alpha, 1-bit alpha and none.
    for (PixelKind kind : {PixelKind::A8R8G8B8, PixelKind::X8R8G8B8, PixelKind::A4R4G4B4, PixelKind::A1R5G5B5,
                           PixelKind::R5G6B5, PixelKind::X1R5G5B5}) {
        info.texture_formats.push_back(pixel_format_of(kind));
    }
    info.zbuffer_formats = {pixel_format_of(PixelKind::Z16), pixel_format_of(PixelKind::Z32)};
    info.create = [](const BackendCreateContext&) -> std::unique_ptr<DeviceBackend> {
        return std::make_unique<SoftBackend>(soft_backend_options());
    };
    return info;
}

void soft_backend_register()
{
    d3d_backend_register(soft_backend_info());
}

void soft_backend_set_options(const SoftBackendOptions& options)
{
    std::lock_guard<std::mutex> lock(g_options_mutex);
    g_options = options;
}

SoftBackendOptions soft_backend_options()
{
    std::lock_guard<std::mutex> lock(g_options_mutex);
    return g_options;
}
