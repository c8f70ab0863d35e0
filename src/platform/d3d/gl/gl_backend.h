// The OpenGL device backend, registered as the hardware transform-and-lighting device
// (IID_IDirect3DTnLHalDevice, D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_HWTRANSFORMANDLIGHT), so the
// framework's default selection picks it. On a device whose DirectDraw object presents to a window of
// its display driver it draws with a context that the driver makes on that window and presents frames
// itself (core/gpu_present.h); everywhere else it draws headless through EGL (context_egl.h), sharing
// one context per process. When no context can be made, creation fails with a line on the debug
// output and CreateDevice reports D3DERR_INVALID_DEVICE, which is the framework's cue to fall back to
// the software device. This header is all the rest of the program needs: the registration.
#pragma once

#include "platform/d3d/core/device_backend.h"

// Registers the backend with the device layer's registry.
void gl_backend_register();
// The registration record (GUID, names, capabilities, formats, factory).
DeviceBackendInfo gl_backend_info();
