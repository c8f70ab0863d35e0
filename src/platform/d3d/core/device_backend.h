// How a rendering backend plugs into the device layer. The core (device.cpp and friends) implements
// every IDirect3DDevice7 method once: it validates arguments, stores state, records state blocks and
// marks what changed. A backend only draws: it receives validated draw and clear requests with the
// complete device state, the target surfaces and the mask of state categories changed since its last
// draw. Backends are listed in a registry; IDirect3D7::EnumDevices reports them in registration order
// and CreateDevice picks one by device GUID. See README in this folder for the steps.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d/core/device_state.h"
#include "platform/d3d/core/vertex_format.h"
#include "platform/d3d/d3d_types.h"
#include "platform/d3d/ddraw_types.h"

class Surface;

// The surfaces one draw or clear touches.
struct DrawBindings {
    Surface* target = nullptr;  // colour render target (never null)
    Surface* depth = nullptr;   // z-buffer attached to the target, or null; may be larger than target
    // Textures per stage, null where none is bound or the bound surface is not a texture
    // (a surface without DDSCAPS_TEXTURE counts as none).
    Surface* textures[D3D_MAX_TEXTURE_STAGES] = {};
};

// One validated DrawPrimitive-family call.
struct DrawBatch {
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    VertexLayout layout;
    const BYTE* vertices = nullptr;  // first vertex of the call (start vertex applied)
    DWORD vertex_count = 0;
    const WORD* indices = nullptr;   // null for non-indexed draws; every index is < vertex_count
    DWORD index_count = 0;
    DWORD flags = 0;                 // D3DDP_*
};

// One validated Clear: rectangles already clipped to the viewport and the target (and, for depth,
// to the depth surface); empty rectangles removed.
struct ClearRequest {
    const D3DRECT* rects = nullptr;
    DWORD rect_count = 0;
    DWORD flags = 0;  // D3DCLEAR_TARGET / D3DCLEAR_ZBUFFER; ZBUFFER only when bindings.depth is set
    D3DCOLOR color = 0;
    float z = 1.0f;
};

class DeviceBackend {
public:
    virtual ~DeviceBackend() = default;
    virtual HRESULT clear(const DeviceState& state, const DrawBindings& bindings, const ClearRequest& request) = 0;
    // dirty: DeviceStateDirty bits changed since this backend's previous draw (DIRTY_ALL at first).
    virtual HRESULT draw(const DeviceState& state, std::uint32_t dirty, const DrawBindings& bindings,
                         const DrawBatch& batch) = 0;
    virtual void scene_begin() {}
    virtual void scene_end() {}
    // All queued work is complete and visible in surface memory (called before CPU access).
    virtual void finish() {}
};

// What CreateDevice hands a backend's factory.
struct BackendCreateContext {
    Surface* target = nullptr;
};

struct DeviceBackendInfo {
    GUID guid{};
    std::string description;
    std::string name;
    D3DDEVICEDESC7 caps{};  // deviceGUID is set from guid on registration
    // Offered texture formats in the order EnumTextureFormats reports them, and depth formats.
    std::vector<DDPIXELFORMAT> texture_formats;
    std::vector<DDPIXELFORMAT> zbuffer_formats;
    std::function<std::unique_ptr<DeviceBackend>(const BackendCreateContext&)> create;
};

// Adds (or replaces, by GUID) a backend.
void d3d_backend_register(DeviceBackendInfo info);
// Snapshot of the registered backends in registration order.
std::vector<DeviceBackendInfo> d3d_backend_list();
// The backend registered under guid; false if none.
bool d3d_backend_find(REFCLSID guid, DeviceBackendInfo* info);
