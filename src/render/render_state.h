// Render-state and texture-stage helpers: single states, and the grouped setters that keep every
// demo part's set-up short (blending as enable + source + destination, a stage's colour or alpha
// operation with its two arguments). Each forwards to current_device unconditionally, in a fixed
// order, and returns the device's result of the last call it made (RENDER_E_NODEVICE without one).
#pragma once

#include "platform/d3d/d3d.h"

HRESULT set_render_state(D3DRENDERSTATETYPE state, DWORD value);
// ALPHABLENDENABLE ← enable, SRCBLEND ← source, DESTBLEND ← destination, in that order.
HRESULT set_blend(DWORD enable, DWORD source, DWORD destination);
// COLOROP, COLORARG1, COLORARG2 of the stage, in that order.
HRESULT set_color_stage(DWORD stage, DWORD operation, DWORD argument1, DWORD argument2);
// ALPHAOP, ALPHAARG1, ALPHAARG2 of the stage, in that order.
HRESULT set_alpha_stage(DWORD stage, DWORD operation, DWORD argument1, DWORD argument2);
HRESULT set_stage_state(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value);
// The stage's texture; null unbinds it.
HRESULT set_texture(DWORD stage, IDirectDrawSurface7* texture);
