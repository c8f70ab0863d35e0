// Switching the surface current_device renders into. The program has one depth buffer; it travels
// with the render target: it is detached from the old target and attached to the new one, and the
// viewport is resized to the new target, keeping its origin and depth range. Effects that draw into
// texture targets and the return to the back buffer both go through here.
#pragma once

#include "platform/d3d/d3d.h"

// Always 0; the results of the calls it makes are not reported. A null target changes nothing. If
// the new target refuses the depth buffer, the buffer goes back onto the old target so that it is
// never lost (the switch itself still happens, without depth).
HRESULT set_render_target(IDirectDrawSurface7* target);
