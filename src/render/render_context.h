// The device that all drawing goes through, and the few framework objects the render helpers and the
// texture manager need beside it. `current_device` is the program-wide reference to the framework's
// IDirect3DDevice7: the frame loop stores the framework's device here after every frame
// (driver/frame_loop.h), a headless set-up in tools and tests (OffscreenDevice) stores its own, and
// every helper reads it at the moment of the call, so a re-created device is followed. Nothing here holds a reference: the owner keeps the
// objects alive while they are set and clears them before releasing.
#pragma once

#include "platform/d3d/d3d.h"

// Read by every render helper; null while there is no device.
extern IDirect3DDevice7* current_device;

// The objects whose owner makes them available to the render helpers.
struct RenderObjects {
    IDirectDraw7* direct_draw = nullptr;
    IDirect3D7* direct3d = nullptr;
    IDirect3DDevice7* device = nullptr;
    IDirectDrawSurface7* back_buffer = nullptr;  // the normal render target
};

// Stores the objects and sets current_device to objects.device. Passing {} clears everything.
void render_objects_set(const RenderObjects& objects);
const RenderObjects& render_objects();

// The result the helpers give when there is no device to forward to (the framework's "no device").
constexpr HRESULT RENDER_E_NODEVICE = make_hresult(0x82000004u);
// create_vertex_buffer without a Direct3D object (the framework's "no Direct3D").
constexpr HRESULT RENDER_E_NODIRECT3D = make_hresult(0x82000003u);
