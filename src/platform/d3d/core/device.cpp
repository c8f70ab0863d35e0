// Device lifetime, description, scenes, render targets, Clear and the draw calls.
#include "platform/d3d/core/device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/d3d/core/direct3d.h"
#include "platform/d3d/core/sphere_visibility.h"
#include "platform/d3d/core/surface.h"
#include "platform/d3d/core/vertex_buffer.h"
#include "platform/d3d/draw_discard.h"

namespace {

// Bounds on one draw call, which keep every count product far inside 32 bits.
constexpr DWORD kMaxDrawVertices = 1u << 20;
constexpr DWORD kMaxDrawIndices = 1u << 22;

bool primitive_type_valid(D3DPRIMITIVETYPE type)
{
    return type >= D3DPT_POINTLIST && type <= D3DPT_TRIANGLEFAN;
}

}  // namespace

float projection_w_far(const D3DMATRIX& p)
{
    if (p.m[2][3] != 1.0f || p.m[3][3] != 0.0f) return 1.0f;
    const double denom = 1.0 - static_cast<double>(p.m[2][2]);
    if (denom == 0.0) return 1.0f;
    const float far = static_cast<float>(p.m[3][2] / denom);
    if (!std::isfinite(far) || far <= 0.0f) return 1.0f;
    return far;
}

Device::Device(Direct3D* direct3d, DeviceBackendInfo info, std::unique_ptr<DeviceBackend> backend, Surface* target)
    : direct3d_(direct3d), info_(std::move(info)), backend_(std::move(backend)), target_(target)
{
    direct3d_->AddRef();
    target_->AddRef();
    device_state_defaults(&state_, target_->attached_zbuffer() != nullptr, target_->width(), target_->height());
}

Device::~Device()
{
    backend_->finish();
    backend_.reset();
    blocks_.clear();
    recording_.reset();
    for (Surface*& t : state_.textures) {
        if (t != nullptr) t->Release();
        t = nullptr;
    }
    target_->Release();
    direct3d_->Release();
}

HRESULT Device::GetCaps(D3DDEVICEDESC7* desc)
{
    if (desc == nullptr) return DDERR_INVALIDPARAMS;
    *desc = info_.caps;
    return D3D_OK;
}

HRESULT Device::EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context)
{
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    for (DDPIXELFORMAT format : info_.texture_formats) {
        if (callback(&format, context) == D3DENUMRET_CANCEL) break;
    }
    return D3D_OK;
}

HRESULT Device::BeginScene()
{
    if (in_scene_) return D3DERR_SCENE_IN_SCENE;
    if (target_->lost()) return DDERR_SURFACELOST;
    in_scene_ = true;
    backend_->scene_begin();
    return D3D_OK;
}

HRESULT Device::EndScene()
{
    if (!in_scene_) return D3DERR_SCENE_NOT_IN_SCENE;
    in_scene_ = false;
    backend_->scene_end();
    return D3D_OK;
}

HRESULT Device::GetDirect3D(IDirect3D7** direct3d)
{
    if (direct3d == nullptr) return DDERR_INVALIDPARAMS;
    direct3d_->AddRef();
    *direct3d = direct3d_;
    return D3D_OK;
}

HRESULT Device::SetRenderTarget(IDirectDrawSurface7* target, DWORD)
{
    Surface* s = surface_from_interface(target);
    if (s == nullptr) return DDERR_INVALIDPARAMS;
    if (!s->is_render_target() || s->is_zbuffer()) return DDERR_INVALIDCAPS;
    if (s->owner() != target_->owner()) return DDERR_INVALIDPARAMS;
    if (s == target_) {
        dirty_ |= DIRTY_TARGET;  // re-binds whatever z-buffer is attached now
        return D3D_OK;
    }
    backend_->finish();
    s->AddRef();
    target_->Release();
    target_ = s;
    dirty_ |= DIRTY_TARGET;
    return D3D_OK;
}

HRESULT Device::GetRenderTarget(IDirectDrawSurface7** target)
{
    if (target == nullptr) return DDERR_INVALIDPARAMS;
    target_->AddRef();
    *target = target_;
    return D3D_OK;
}

DrawBindings Device::bindings() const
{
    DrawBindings b;
    b.target = target_;
    b.depth = target_->attached_zbuffer();
    for (DWORD i = 0; i < D3D_MAX_TEXTURE_STAGES; ++i) {
        Surface* t = state_.textures[i];
        b.textures[i] = (t != nullptr && t->is_texture() && !pixel_kind_is_depth(t->kind())) ? t : nullptr;
    }
    return b;
}

HRESULT Device::Clear(DWORD rect_count, D3DRECT* rects, DWORD flags, D3DCOLOR color, D3DVALUE z, DWORD)
{
    if (flags == 0 || (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL))) return DDERR_INVALIDPARAMS;
    if (rect_count > 0 && rects == nullptr) return DDERR_INVALIDPARAMS;
    const DrawBindings b = bindings();
    if ((flags & D3DCLEAR_ZBUFFER) && b.depth == nullptr) return D3DERR_ZBUFFER_NOTPRESENT;
    if (flags & D3DCLEAR_STENCIL) return D3DERR_STENCILBUFFER_NOTPRESENT;  // no format has stencil bits
    if (!std::isfinite(z)) return DDERR_INVALIDPARAMS;

    const D3DVIEWPORT7& vp = state_.viewport;
    const LONG vx1 = static_cast<LONG>(vp.dwX), vy1 = static_cast<LONG>(vp.dwY);
    const LONG vx2 = std::min<LONG>(static_cast<LONG>(vp.dwX + vp.dwWidth), static_cast<LONG>(target_->width()));
    const LONG vy2 = std::min<LONG>(static_cast<LONG>(vp.dwY + vp.dwHeight), static_cast<LONG>(target_->height()));
    std::vector<D3DRECT> clipped;
    if (rect_count == 0) {
        if (vx1 < vx2 && vy1 < vy2) clipped.push_back(D3DRECT{vx1, vy1, vx2, vy2});
    } else {
        for (DWORD i = 0; i < rect_count; ++i) {
            D3DRECT r{std::max(rects[i].x1, vx1), std::max(rects[i].y1, vy1), std::min(rects[i].x2, vx2),
                      std::min(rects[i].y2, vy2)};
            if (r.x1 < r.x2 && r.y1 < r.y2) clipped.push_back(r);
        }
    }
    if (clipped.empty() || d3d_draws_discarded()) return D3D_OK;
    ClearRequest request;
    request.rects = clipped.data();
    request.rect_count = static_cast<DWORD>(clipped.size());
    request.flags = flags & (D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    request.color = color;
    request.z = std::clamp(z, 0.0f, 1.0f);
    const HRESULT hr = backend_->clear(state_, b, request);
    if (SUCCEEDED(hr)) {
        if (flags & D3DCLEAR_TARGET) target_->mark_written();
        if ((flags & D3DCLEAR_ZBUFFER) && b.depth != nullptr) b.depth->mark_written();
    }
    return hr;
}

HRESULT Device::draw(D3DPRIMITIVETYPE type, const VertexLayout& layout, const BYTE* vertices, DWORD vertex_count,
                     const WORD* indices, DWORD index_count, DWORD flags)
{
    if (d3d_draws_discarded()) return D3D_OK;
    DrawBatch batch;
    batch.type = type;
    batch.layout = layout;
    batch.vertices = vertices;
    batch.vertex_count = vertex_count;
    batch.indices = indices;
    batch.index_count = index_count;
    batch.flags = flags;
    const DrawBindings b = bindings();
    const HRESULT hr = backend_->draw(state_, dirty_, b, batch);
    dirty_ = 0;
    target_->mark_written();
    if (b.depth != nullptr) b.depth->mark_written();
    return hr;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, void* vertices, DWORD vertex_count, DWORD flags)
{
    if (!in_scene_) return D3DERR_SCENE_NOT_IN_SCENE;
    if (!primitive_type_valid(type)) return D3DERR_INVALIDPRIMITIVETYPE;
    VertexLayout layout;
    if (!vertex_layout_decode(fvf, &layout)) return D3DERR_INVALIDVERTEXTYPE;
    if (vertex_count == 0) return D3D_OK;
    if (vertices == nullptr || vertex_count > kMaxDrawVertices) return DDERR_INVALIDPARAMS;
    return draw(type, layout, static_cast<const BYTE*>(vertices), vertex_count, nullptr, 0, flags);
}

namespace {

bool indices_in_range(const WORD* indices, DWORD count, DWORD vertex_count)
{
    // Eight running maxima in one vector register: large meshes are checked on every draw.
    using Lanes = WORD __attribute__((vector_size(16)));
    Lanes lanes = {};
    DWORD i = 0;
    for (; i + 8 <= count; i += 8) {
        Lanes v;
        std::memcpy(&v, indices + i, sizeof(v));
        lanes = lanes > v ? lanes : v;
    }
    WORD highest = 0;
    for (; i < count; ++i) highest = std::max(highest, indices[i]);
    for (int l = 0; l < 8; ++l) highest = std::max(highest, static_cast<WORD>(lanes[l]));
    return highest < vertex_count;
}

}  // namespace

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, void* vertices, DWORD vertex_count,
                                     WORD* indices, DWORD index_count, DWORD flags)
{
    if (!in_scene_) return D3DERR_SCENE_NOT_IN_SCENE;
    if (!primitive_type_valid(type)) return D3DERR_INVALIDPRIMITIVETYPE;
    VertexLayout layout;
    if (!vertex_layout_decode(fvf, &layout)) return D3DERR_INVALIDVERTEXTYPE;
    if (vertex_count == 0 || index_count == 0) return D3D_OK;
    if (vertices == nullptr || indices == nullptr) return DDERR_INVALIDPARAMS;
    if (vertex_count > kMaxDrawVertices || index_count > kMaxDrawIndices) return DDERR_INVALIDPARAMS;
    if (!indices_in_range(indices, index_count, vertex_count)) return DDERR_INVALIDPARAMS;
    return draw(type, layout, static_cast<const BYTE*>(vertices), vertex_count, indices, index_count, flags);
}

HRESULT Device::DrawPrimitiveVB(D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* buffer, DWORD start_vertex,
                                DWORD vertex_count, DWORD flags)
{
    if (!in_scene_) return D3DERR_SCENE_NOT_IN_SCENE;
    if (!primitive_type_valid(type)) return D3DERR_INVALIDPRIMITIVETYPE;
    VertexBuffer* vb = vertex_buffer_from_interface(buffer);
    if (vb == nullptr) return DDERR_INVALIDPARAMS;
    if (vb->locked()) return D3DERR_VERTEXBUFFERLOCKED;
    if (vertex_count == 0) return D3D_OK;
    if (start_vertex >= vb->vertex_count() || vertex_count > vb->vertex_count() - start_vertex) {
        return DDERR_INVALIDPARAMS;
    }
    const BYTE* first = vb->data() + static_cast<std::size_t>(start_vertex) * vb->layout().stride;
    return draw(type, vb->layout(), first, vertex_count, nullptr, 0, flags);
}

HRESULT Device::DrawIndexedPrimitiveVB(D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* buffer, DWORD start_vertex,
                                       DWORD vertex_count, WORD* indices, DWORD index_count, DWORD flags)
{
    if (!in_scene_) return D3DERR_SCENE_NOT_IN_SCENE;
    if (!primitive_type_valid(type)) return D3DERR_INVALIDPRIMITIVETYPE;
    VertexBuffer* vb = vertex_buffer_from_interface(buffer);
    if (vb == nullptr) return DDERR_INVALIDPARAMS;
    if (vb->locked()) return D3DERR_VERTEXBUFFERLOCKED;
    if (vertex_count == 0 || index_count == 0) return D3D_OK;
    if (indices == nullptr || index_count > kMaxDrawIndices) return DDERR_INVALIDPARAMS;
    if (start_vertex >= vb->vertex_count() || vertex_count > vb->vertex_count() - start_vertex) {
        return DDERR_INVALIDPARAMS;
    }
    if (!indices_in_range(indices, index_count, vertex_count)) return DDERR_INVALIDPARAMS;
    const BYTE* first = vb->data() + static_cast<std::size_t>(start_vertex) * vb->layout().stride;
    return draw(type, vb->layout(), first, vertex_count, indices, index_count, flags);
}

HRESULT Device::ComputeSphereVisibility(D3DVECTOR* centers, D3DVALUE* radii, DWORD count, DWORD flags,
                                        DWORD* results)
{
    if (flags != 0) return DDERR_INVALIDPARAMS;
    if (count == 0) return D3D_OK;
    if (centers == nullptr || radii == nullptr || results == nullptr) return DDERR_INVALIDPARAMS;
    sphere_visibility(state_, centers, radii, count, results);
    return D3D_OK;
}

HRESULT Device::ValidateDevice(DWORD* passes)
{
    if (passes == nullptr) return DDERR_INVALIDPARAMS;
    *passes = 1;
    return D3D_OK;
}
