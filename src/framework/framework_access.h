// How the rest of the program reaches the render framework's objects: the DirectDraw object, the
// Direct3D object, the device, the back buffer (the normal render target) and the window of the one
// program-wide application. The texture manager, the render helpers, the scene object and the demo
// parts read them here at the moment they need them, so a device the framework has re-created is
// followed without caching. Each accessor returns a plain pointer with no reference added, or null
// while the framework has no such object (before set-up, after cleanup, or with no application).
#pragma once

#include "platform/d3d/d3d.h"
#include "platform/d3d/ddraw.h"
#include "platform/win_types.h"

class Application;

// The program-wide application (published by its constructor, withdrawn by its destructor), or null.
Application* app_instance();

IDirectDraw7* app_direct_draw();
IDirect3D7* app_direct3d();
IDirect3DDevice7* app_device();
IDirectDrawSurface7* app_back_buffer();
HWND app_window();
