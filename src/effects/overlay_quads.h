// The simplest shared effects: a quad over the whole viewport in screen coordinates (full-screen
// pictures and every fade), the same quad over a rectangle given as fractions of the viewport, the two
// fades that turn a clock into the overlay's opacity, and a textured square placed in 3D space (the
// logo sprite). Each draws exactly one quad and sets no state of its own: the caller selects texture,
// blending and stage operations first. Colours given as four floats are packed without clamping.
#pragma once

#include "platform/d3d/d3d.h"

struct Matrix;

// trunc(c × 255) of each component, packed 0xAARRGGBB by OR. Nothing clamps: a component outside
// [0, 1] spills into its neighbours' bits.
DWORD pack_colour(float a, float r, float g, float b);

// A strip over the viewport's width and height from pixel (0, 0) (the viewport's origin is ignored).
void draw_screen_quad(float a, float r, float g, float b);
// The same over [left, right] × [top, bottom] as fractions of the viewport's width and height.
void draw_screen_rect(float left, float top, float right, float bottom, float a, float r, float g, float b);
// A screen quad with alpha time / duration (fade_to_colour) or 1 − time / duration (fade_from_colour).
void fade_to_colour(float time, float duration, float r, float g, float b);
void fade_from_colour(float time, float duration, float r, float g, float b);

// Four untransformed, pre-lit vertices in strip order, owned by the caller.
struct SpriteQuad {
    D3DLVERTEX vertices[4];
};

// The corners (−a, b), (a, b), (−a, −b), (a, −b) of the x–y plane, each transformed by the matrix,
// with the colour and texture coordinates (0,0), (1,0), (0,1), (1,1).
void build_sprite_quad(SpriteQuad* quad, float half_width, float half_height, const Matrix* matrix, DWORD colour);
// Only the four diffuse words change, to the packed colour.
void set_sprite_colour(SpriteQuad* quad, float a, float r, float g, float b);
// One strip under the current world, view and projection transforms.
void draw_sprite_quad(SpriteQuad* quad);
