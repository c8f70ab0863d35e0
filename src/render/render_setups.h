// The three named stage and blend combinations the demo parts switch between before a screen quad or
// a mesh: "blended overlay" (alpha blending from the vertex colour's alpha), "diffuse only" (colour and
// alpha from the vertex colour, the texture ignored) and "textured" (colour from the texture, alpha from
// the vertex colour). Each is a short run of render-helper calls on stage 0.
#pragma once

#include "platform/d3d/d3d.h"

// set_blend(1, SRCALPHA, INVSRCALPHA).
HRESULT set_blended_overlay();
// Colour and alpha SELECTARG2 of the diffuse colour.
HRESULT set_diffuse_only();
// Colour SELECTARG1 of the texture, alpha SELECTARG2 of the diffuse colour.
HRESULT set_textured();
