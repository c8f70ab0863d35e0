// What the OpenGL device reports of itself (D3DDEVICEDESC7): hardware rasterisation and transform and
// lighting, every comparison, the blend factors GL offers, eight texture stages, eight lights and the
// user clip planes.
#pragma once

#include "platform/d3d/d3d_types.h"

D3DDEVICEDESC7 gl_device_caps();
