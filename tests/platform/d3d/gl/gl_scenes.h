// Composed scenes drawn the same way on any device: lit and textured meshes under every light type,
// screen-space overlays with blending and the half-texel bilinear look, a w-buffered pair of
// projections sharing one depth buffer, a render-to-texture pass with the depth buffer moved onto the
// texture and back, wireframe, culling and flat shading, and a texture-stage cascade with a missing
// texture. The cross-backend comparison renders each on both backends; the benchmark draws the heavy one.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/d3d/core/pixel_format.h"
#include "platform/d3d/d3d.h"
#include "platform/d3d/ddraw.h"

struct SceneTarget {
    IDirectDraw7* ddraw = nullptr;
    IDirect3DDevice7* device = nullptr;
    IDirectDrawSurface7* target = nullptr;
    IDirectDrawSurface7* zbuffer = nullptr;  // attached to target
    DWORD width = 0;
    DWORD height = 0;
};

// One frame of a scene, between BeginScene and EndScene on target (which it clears first). frame
// moves the animation. Textures are made on the first call and kept by the scene's own state.
struct GlScene { std::string name; void (*draw)(SceneTarget& t, int frame); };

const std::vector<GlScene>& gl_comparison_scenes();

// The benchmark scene: about triangles lit, textured triangles (a grid of tori under two lights).
void gl_scene_lit_textured(SceneTarget& t, int frame, int triangles);

// Releases the textures the scenes keep (call before the DirectDraw object they were made on goes).
void gl_scenes_release();

// Shared with the tests' rig: a surface with the given caps, filled by fill(x, y) → 0xAARRGGBB unless
// fill is null (caller releases); a screen-space vertex; and a quad as a strip of two clockwise
// triangles (x0,y1) (x0,y0) (x1,y1) (x1,y0) with texture coordinates 0..uv.
IDirectDrawSurface7* scene_surface(IDirectDraw7* dd, DWORD w, DWORD h, PixelKind kind,
                                   std::uint32_t (*fill)(DWORD x, DWORD y), DWORD caps = DDSCAPS_TEXTURE);
// Sets render states, and texture-stage states as (stage, type, value), in order.
void scene_states(IDirect3DDevice7* d, std::initializer_list<std::pair<D3DRENDERSTATETYPE, DWORD>> words);
void scene_stages(IDirect3DDevice7* d, std::initializer_list<std::tuple<DWORD, D3DTEXTURESTAGESTATETYPE, DWORD>> words);
D3DTLVERTEX tl_vertex(float x, float y, float z, D3DCOLOR color, float u = 0.0f, float v = 0.0f, float rhw = 1.0f);
// Moves zbuffer to another target, draws on it and sets a viewport over all of it; the first failure.
HRESULT scene_switch_target(IDirect3DDevice7* d, IDirectDrawSurface7* from, IDirectDrawSurface7* to,
                            IDirectDrawSurface7* zbuffer, DWORD width, DWORD height);
std::vector<D3DTLVERTEX> tl_quad(float x0, float y0, float x1, float y1, D3DCOLOR color, float z = 0.5f,
                                 float uv = 1.0f);
