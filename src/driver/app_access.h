// The driver's forwarders to the program-wide application's framework objects: the DirectDraw object,
// the Direct3D object, the device, the back buffer (the normal render target) and the window. Each
// returns a plain pointer with no reference added, or null while the framework has no such object
// (before set-up, after cleanup, or with no application). Drawing code never calls them: it reaches
// the device as current_device through the render helpers, which the frame loop refreshes from here
// after every frame (frame_loop.h).
#pragma once

#include "platform/d3d/d3d.h"
#include "platform/d3d/ddraw.h"
#include "platform/win_types.h"

IDirectDraw7* app_direct_draw();
IDirect3D7* app_direct3d();
IDirect3DDevice7* app_device();
IDirectDrawSurface7* app_back_buffer();
HWND app_window();
