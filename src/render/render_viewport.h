// The viewport of current_device and the aspect value the perspective projection expects from it.
#pragma once

#include "platform/d3d/d3d.h"

HRESULT get_viewport(D3DVIEWPORT7* viewport);
// Viewport height divided by width (0.75 for 640 × 480). Without a device, or with a viewport of
// width 0, the answer is 1 (square) rather than a division by zero.
float viewport_aspect();
