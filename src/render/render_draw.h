// Scene bracketing, clearing and drawing through current_device: BeginScene/EndScene, Clear, the
// three primitive calls the program uses (user-memory vertices with or without indices, and indexed
// vertex buffers) and the sphere-visibility test for culling. Indices are 16-bit triangle lists.
#pragma once

#include "platform/d3d/d3d.h"

HRESULT begin_scene();
HRESULT end_scene();
HRESULT clear(DWORD rect_count, D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil);
HRESULT draw_primitive(D3DPRIMITIVETYPE type, DWORD vertex_format, void* vertices, DWORD vertex_count, DWORD flags);
HRESULT draw_indexed(D3DPRIMITIVETYPE type, DWORD vertex_format, void* vertices, DWORD vertex_count, WORD* indices,
                     DWORD index_count, DWORD flags);
HRESULT draw_indexed_vb(D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* buffer, DWORD first_vertex,
                        DWORD vertex_count, WORD* indices, DWORD index_count, DWORD flags);
HRESULT sphere_visibility(D3DVECTOR* centres, float* radii, DWORD count, DWORD flags, DWORD* results);
