#include "platform/d3d/soft/soft_backend.h"

#include <mutex>
#include <vector>

#include "platform/d3d/core/pixel_format.h"
#include "platform/d3d/core/surface.h"
#include "platform/d3d/soft/soft_caps.h"
#include "platform/d3d/soft/draw_queue.h"
#include "platform/d3d/soft/draw_state.h"
#include "platform/d3d/soft/pending_surfaces.h"
#include "platform/d3d/soft/primitive_assembly.h"
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
    // Runs work queued for a target other than this one.
    void use_target(Surface* target)
    {
        if (queue_.target() != nullptr && queue_.target() != target) run_queue();
    }
    // Holds the surfaces of work just queued; runs the queue when one cannot be held, when the queue is
    // full, or when deferring is off.
    void after_queueing(const DrawBindings& b, bool reads_textures);
    // Points, lines, wireframe and point fill, and draws that read their own target: drawn before the
    // call returns, on this thread, after everything queued.
    void draw_at_once(const DrawBatch& batch);

    TilePool pool_;
    bool specialised_;
    bool deferred_;
    TextureCache textures_;
    DrawQueue queue_;
    PendingSurfaces pending_;
    // Per-draw working storage, kept between draws so that drawing does not allocate.
    DrawConstants k_;
    VertexStage vertex_stage_;
    PrimitiveConstants primitives_;
    SpanFn span_ = nullptr;
    SpanPairFn span_pair_ = nullptr;
    std::vector<ClipVertex> clip_;
    std::vector<ScreenVertex> screen_;
    std::vector<SetupTriangle> setups_;
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
    use_target(b.target);
    for (DWORD i = 0; i < request.rect_count; ++i) {
        queue_.add_clear(b.target, b.depth, request.rects[i], request.flags, request.color, request.z);
    }
    after_queueing(b, false);
    return D3D_OK;
}

void SoftBackend::draw_at_once(const DrawBatch& batch)
{
    run_queue();
    const PrimitiveConstants& p = primitives_;
    clip_.resize(batch.vertex_count);
    screen_.resize(batch.vertex_count);
    transform_vertices(vertex_stage_, batch.vertices, 0, batch.vertex_count, p.guard, clip_.data());
    project_vertices(p, clip_.data(), 0, batch.vertex_count, screen_.data());
    const DWORD n = batch.indices != nullptr ? batch.index_count : batch.vertex_count;
    auto index = [&](DWORD i) -> std::uint32_t { return batch.indices != nullptr ? batch.indices[i] : i; };
    switch (batch.type) {
    case D3DPT_POINTLIST:
        for (DWORD i = 0; i < n; ++i) {
            if (clip_[index(i)].outcode == 0) draw_point(k_, span_, screen_[index(i)]);
        }
        return;
    case D3DPT_LINELIST:
        for (DWORD i = 0; i + 1 < n; i += 2) assemble_line(p, k_, span_, clip_[index(i)], clip_[index(i + 1)]);
        return;
    case D3DPT_LINESTRIP:
        for (DWORD i = 0; i + 1 < n; ++i) assemble_line(p, k_, span_, clip_[index(i)], clip_[index(i + 1)]);
        return;
    case D3DPT_TRIANGLELIST:
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: break;
    }
    AssemblyInput in;
    in.type = batch.type;
    in.clip = clip_.data();
    in.screen = screen_.data();
    in.indices = batch.indices;
    setups_.clear();
    assemble_triangles(p, k_, span_, in, 0, triangle_count(batch.type, n), &setups_);
    for (const SetupTriangle& t : setups_) raster_triangle(k_, span_, span_pair_, t, t.x0, t.y0, t.x1, t.y1);
}

HRESULT SoftBackend::draw(const DeviceState& state, std::uint32_t, const DrawBindings& b, const DrawBatch& batch)
{
    const VertexLayout& layout = batch.layout;
    use_target(b.target);
    resolve_draw_constants(state, b, layout.pretransformed, textures_, &k_);
    if (k_.scissor_x0 >= k_.scissor_x1 || k_.scissor_y0 >= k_.scissor_y1) return D3D_OK;
    span_ = select_span_kernel(k_, specialised_);
    span_pair_ = select_span_pair_kernel(k_, specialised_);
    const D3DVIEWPORT7& vp = state.viewport;
    PrimitiveConstants& p = primitives_;
    p.guard = state_guard_band(vp);
    p.transformed = !layout.pretransformed;
    p.depth_min = vp.dvMinZ;
    p.depth_scale = vp.dvMaxZ - vp.dvMinZ;
    switch (state_cull(state.render[D3DRENDERSTATE_CULLMODE])) {
    case D3DCULL_CW: p.cull = CullSign::RemovePositive; break;
    case D3DCULL_CCW: p.cull = CullSign::RemoveNegative; break;
    case D3DCULL_NONE: p.cull = CullSign::None; break;
    }
    p.fill = state_fill(state.render[D3DRENDERSTATE_FILLMODE]);
    p.last_pixel = state.render[D3DRENDERSTATE_LASTPIXEL] != 0;
    prepare_vertex_stage(state, layout, batch.flags, &vertex_stage_);

    // A texture that is also the target would be read while it is written: such a draw runs at once, on
    // this thread, in the order of its triangles.
    bool self_read = false;
    for (unsigned s = 0; s < k_.stage_count; ++s) {
        if (k_.stages[s].reads_texture && b.textures[s] == b.target) self_read = true;
    }
    const bool triangles = batch.type == D3DPT_TRIANGLELIST || batch.type == D3DPT_TRIANGLESTRIP ||
                           batch.type == D3DPT_TRIANGLEFAN;
    if (!triangles || p.fill != D3DFILL_SOLID || self_read) {
        draw_at_once(batch);
        return D3D_OK;
    }
    QueuedDraw d;
    d.k = &k_;
    d.span = span_;
    d.pair = span_pair_;
    d.vertex_stage = &vertex_stage_;
    d.primitives = &p;
    d.type = batch.type;
    d.vertices = batch.vertices;
    d.vertex_count = batch.vertex_count;
    d.indices = batch.indices;
    d.index_count = batch.index_count;
    queue_.add_draw(b.target, d);
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
