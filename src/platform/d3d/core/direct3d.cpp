#include "platform/d3d/core/direct3d.h"

#include <new>
#include <vector>

#include "platform/d3d/core/device.h"
#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/core/direct_draw.h"
#include "platform/d3d/core/surface.h"
#include "platform/d3d/core/vertex_buffer.h"

Direct3D::Direct3D(DirectDraw* owner) : owner_(owner)
{
    owner_->AddRef();
}

Direct3D::~Direct3D()
{
    owner_->direct3d_destroyed();
    owner_->Release();
}

HRESULT Direct3D::query_other(REFIID riid, void** object)
{
    if (riid == IID_IDirectDraw7) return owner_->QueryInterface(riid, object);
    return E_NOINTERFACE;
}
HRESULT Direct3D::EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, void* context)
{
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    for (DeviceBackendInfo& info : d3d_backend_list()) {
        std::vector<char> description(info.description.begin(), info.description.end());
        description.push_back('\0');
        std::vector<char> name(info.name.begin(), info.name.end());
        name.push_back('\0');
        D3DDEVICEDESC7 caps = info.caps;
        if (callback(description.data(), name.data(), &caps, context) == D3DENUMRET_CANCEL) break;
    }
    return D3D_OK;
}

HRESULT Direct3D::CreateDevice(REFCLSID device_guid, IDirectDrawSurface7* target, IDirect3DDevice7** device)
{
    if (device == nullptr) return DDERR_INVALIDPARAMS;
    *device = nullptr;
    Surface* s = surface_from_interface(target);
    if (s == nullptr || s->owner() != owner_) return DDERR_INVALIDPARAMS;
    if (!s->is_render_target() || s->is_zbuffer()) return DDERR_INVALIDCAPS;
    DeviceBackendInfo info;
    if (!d3d_backend_find(device_guid, &info) || !info.create) return DDERR_INVALIDPARAMS;
    BackendCreateContext context;
    context.target = s;
    std::unique_ptr<DeviceBackend> backend = info.create(context);
    if (!backend) return D3DERR_INVALID_DEVICE;
    Device* d = new (std::nothrow) Device(this, std::move(info), std::move(backend), s);
    if (d == nullptr) return DDERR_OUTOFMEMORY;
    *device = d;
    return D3D_OK;
}

HRESULT Direct3D::CreateVertexBuffer(D3DVERTEXBUFFERDESC* desc, IDirect3DVertexBuffer7** buffer, DWORD flags)
{
    if (desc == nullptr || buffer == nullptr || flags != 0) return DDERR_INVALIDPARAMS;
    *buffer = nullptr;
    if (desc->dwSize != sizeof(D3DVERTEXBUFFERDESC)) return DDERR_INVALIDPARAMS;
    VertexLayout layout;
    if (!vertex_layout_decode(desc->dwFVF, &layout)) return D3DERR_INVALIDVERTEXFORMAT;
    if (desc->dwNumVertices == 0 || desc->dwNumVertices > D3D_MAX_VERTEX_BUFFER_VERTICES) return DDERR_INVALIDPARAMS;
    const std::size_t bytes = static_cast<std::size_t>(desc->dwNumVertices) * layout.stride;
    std::unique_ptr<BYTE[]> data(new (std::nothrow) BYTE[bytes]());
    if (!data) return DDERR_OUTOFMEMORY;
    D3DVERTEXBUFFERDESC stored = *desc;
    stored.dwCaps &= D3DVBCAPS_SYSTEMMEMORY | D3DVBCAPS_WRITEONLY | D3DVBCAPS_DONOTCLIP;
    VertexBuffer* vb = new (std::nothrow) VertexBuffer(stored, layout, std::move(data));
    if (vb == nullptr) return DDERR_OUTOFMEMORY;
    *buffer = vb;
    return D3D_OK;
}

HRESULT Direct3D::EnumZBufferFormats(REFCLSID device_guid, LPD3DENUMPIXELFORMATSCALLBACK callback, void* context)
{
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    DeviceBackendInfo info;
    if (!d3d_backend_find(device_guid, &info)) return DDERR_INVALIDPARAMS;
    for (DDPIXELFORMAT format : info.zbuffer_formats) {
        if (callback(&format, context) == D3DENUMRET_CANCEL) break;
    }
    return D3D_OK;
}

HRESULT Direct3D::EvictManagedTextures()
{
    return D3D_OK;
}
