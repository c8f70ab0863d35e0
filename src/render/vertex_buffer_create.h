// Creating a vertex buffer that suits current_device: in system memory when the device transforms
// and lights in software (no D3DDEVCAPS_HWTRANSFORMANDLIGHT), so that the CPU can read it back
// cheaply; in the device's own memory otherwise. Created through the Direct3D object of
// render_objects().
#pragma once

#include "platform/d3d/d3d.h"

// 0 on success; RENDER_E_NODIRECT3D (0x82000003) without a Direct3D object, RENDER_E_NODEVICE
// (0x82000004) without a device, else the failure of GetCaps or CreateVertexBuffer.
HRESULT create_vertex_buffer(IDirect3DVertexBuffer7** buffer, DWORD vertex_count, DWORD vertex_format);
