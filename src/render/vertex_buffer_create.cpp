#include "render/vertex_buffer_create.h"

#include "render/render_context.h"

HRESULT create_vertex_buffer(IDirect3DVertexBuffer7** buffer, DWORD vertex_count, DWORD vertex_format) {
    IDirect3D7* direct3d = render_objects().direct3d;
    if (direct3d == nullptr) return RENDER_E_NODIRECT3D;
    if (current_device == nullptr) return RENDER_E_NODEVICE;

    D3DDEVICEDESC7 caps{};
    const HRESULT caps_result = current_device->GetCaps(&caps);
    if (FAILED(caps_result)) return caps_result;

    D3DVERTEXBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwCaps = (caps.dwDevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0 ? 0 : D3DVBCAPS_SYSTEMMEMORY;
    desc.dwFVF = vertex_format;
    desc.dwNumVertices = vertex_count;
    const HRESULT result = direct3d->CreateVertexBuffer(&desc, buffer, 0);
    return FAILED(result) ? result : 0;
}
