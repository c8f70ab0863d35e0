// The software rasterizer backend: exact, deterministic and headless. It registers itself as the
// software device IID_IDirect3DRGBDevice (no hardware rasterisation, no hardware transform and
// lighting) and renders into the surfaces' system memory with fixed-point edge functions over tiles
// shared by the machine's cores. The stages live in their own files: transform_lighting (vertices),
// clipping, triangle_setup, draw_queue (tiles: the work of a frame binned and run together),
// rasterizer (triangle rows, lines, points), span_* (shading, texturing, blending and depth per pixel).
#pragma once

#include "platform/d3d/core/device_backend.h"

// Registers the backend with the device registry (d3d_backend_register).
void soft_backend_register();

// The description, formats and factory the backend registers.
DeviceBackendInfo soft_backend_info();

// Options for software devices created from now on (tests and benchmarks use them).
struct SoftBackendOptions {
    unsigned threads = 0;           // 0: tile_pool_default_threads()
    bool specialised_loops = true;  // false: every draw uses the generic pixel loop
    bool deferred = true;           // false: each clear and draw is rasterised before the call returns
};
void soft_backend_set_options(const SoftBackendOptions& options);
SoftBackendOptions soft_backend_options();
