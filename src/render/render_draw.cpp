#include "render/render_draw.h"

#include "render/render_context.h"

HRESULT begin_scene() {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->BeginScene();
}

HRESULT end_scene() {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->EndScene();
}

HRESULT clear(DWORD rect_count, D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->Clear(rect_count, rects, flags, color, z, stencil);
}

HRESULT draw_primitive(D3DPRIMITIVETYPE type, DWORD vertex_format, void* vertices, DWORD vertex_count, DWORD flags) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->DrawPrimitive(type, vertex_format, vertices, vertex_count, flags);
}

HRESULT draw_indexed(D3DPRIMITIVETYPE type, DWORD vertex_format, void* vertices, DWORD vertex_count, WORD* indices,
                     DWORD index_count, DWORD flags) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->DrawIndexedPrimitive(type, vertex_format, vertices, vertex_count, indices, index_count,
                                                 flags);
}

HRESULT draw_indexed_vb(D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* buffer, DWORD first_vertex,
                        DWORD vertex_count, WORD* indices, DWORD index_count, DWORD flags) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->DrawIndexedPrimitiveVB(type, buffer, first_vertex, vertex_count, indices, index_count,
                                                  flags);
}

HRESULT sphere_visibility(D3DVECTOR* centres, float* radii, DWORD count, DWORD flags, DWORD* results) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->ComputeSphereVisibility(centres, radii, count, flags, results);
}
