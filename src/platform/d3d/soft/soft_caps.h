// What the software device reports of itself (D3DDEVICEDESC7): no hardware rasterisation or transform,
// every comparison and blend factor, two texture stages, the operations of the stage cascade it
// blends, eight lights and a guard band of D3D_GUARD_BAND pixels.
#pragma once

#include "platform/d3d/d3d_types.h"

D3DDEVICEDESC7 soft_device_caps();
