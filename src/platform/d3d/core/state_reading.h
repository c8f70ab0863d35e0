// How the device reads each stored state word when it draws. The application may store any DWORD in
// a render or texture-stage state; this module is the one place that says what a draw makes of it,
// and every backend asks it rather than deciding for itself:
//   texture stages   the cascade ends at the first COLOROP DISABLE; an operation the device does not
//                    offer, or one that reads the texture of a stage that has none, becomes
//                    SELECTARG1(CURRENT) (colour and alpha apart); ALPHAOP DISABLE passes CURRENT's
//                    alpha through; which operations read the texture
//   blending         BOTHSRCALPHA / BOTHINVSRCALPHA as the source set both factors; unknown factors
//                    read as ONE (source) and ZERO (destination)
//   comparisons      ZFUNC and ALPHAFUNC clamp into NEVER … ALWAYS; ADDRESSU/V into WRAP … BORDER;
//                    MAGFILTER LINEAR and above is bilinear (one filter for magnification and
//                    minification)
//   cull, fill       CW and CCW cull, anything else NONE; POINT and WIREFRAME, anything else SOLID
//   depth            ZENABLE with no z-buffer, or FALSE, is off; USEW is the w-buffer; any other
//                    value is z
//   lighting         the enabled lights in index order, at most D3D_MAX_ACTIVE_LIGHTS; the material
//                    colour sources, which take a vertex colour only when COLORVERTEX is on and the
//                    vertex format has that colour
//   clipping         the guard band of D3D_GUARD_BAND pixels around the viewport that geometry is
//                    clipped to, and the signed distance of a homogeneous point from its planes
#pragma once

#include <cstdint>

#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/core/device_state.h"

// ---- texture stages ----

// One stage operation as drawn: a D3DTOP_* (never DISABLE) and its two D3DTA_* arguments with their
// COMPLEMENT and ALPHAREPLICATE bits.
struct StageOpRead {
    std::uint8_t op = D3DTOP_SELECTARG1;
    std::uint8_t arg1 = D3DTA_CURRENT;
    std::uint8_t arg2 = D3DTA_CURRENT;
};

struct StageRead {
    StageOpRead color;
    StageOpRead alpha;
    bool alpha_passthrough = false;  // ALPHAOP DISABLE: the alpha is CURRENT's
    bool samples = false;            // the stage has a texture and reads it
};

// The operations the device offers (its dwTextureOpCaps): SELECTARG1 up to BLENDCURRENTALPHA.
bool state_stage_op_offered(DWORD op);
// Whether an operation reads its texture: through an argument it uses, or through the texture's alpha.
bool state_stage_op_reads_texture(DWORD op, DWORD arg1, DWORD arg2);
// An operation as the stage carries it out with or without a texture.
StageOpRead state_stage_op(DWORD op, DWORD arg1, DWORD arg2, bool has_texture);
// The stages of a draw up to the first disabled one, with textures[i] bound to stage i (null: none).
// Returns how many stages are enabled.
unsigned state_stages(const DeviceState& state, Surface* const textures[D3D_MAX_TEXTURE_STAGES],
                      StageRead out[D3D_MAX_TEXTURE_STAGES]);

// ---- blending, comparisons, sampling, rasterisation modes ----

// SRCBLEND and DESTBLEND as drawn.
void state_blend_factors(DWORD source, DWORD destination, D3DBLEND* out_source, D3DBLEND* out_destination);
D3DCMPFUNC state_compare(DWORD value);
D3DTEXTUREADDRESS state_address(DWORD value);
D3DTEXTUREMAGFILTER state_filter(DWORD magfilter);  // POINT or LINEAR
D3DCULL state_cull(DWORD value);
D3DFILLMODE state_fill(DWORD value);

// ---- depth ----

enum class DepthRead : std::uint8_t { Off, Z, W };
// The depth test of a draw: has_zbuffer says whether a z-buffer is bound to the target.
DepthRead state_depth(const DeviceState& state, bool has_zbuffer);

// ---- lighting ----

enum MaterialSourceRead : std::uint8_t {
    MATERIAL_SOURCE_MATERIAL = 0,
    MATERIAL_SOURCE_DIFFUSE = 1,   // the vertex's diffuse colour
    MATERIAL_SOURCE_SPECULAR = 2,  // the vertex's specular colour
};
// Where one of the four material colours comes from: which is D3DRENDERSTATE_*MATERIALSOURCE.
MaterialSourceRead state_material_source(const DeviceState& state, DWORD which, const VertexLayout& layout);
// The lights that shine, in index order; returns how many (at most D3D_MAX_ACTIVE_LIGHTS).
unsigned state_active_lights(const DeviceState& state, const LightSlot* out[D3D_MAX_ACTIVE_LIGHTS]);

// ---- clipping ----

// Geometry is clipped to this many pixels beyond each edge of the viewport; inside it the
// rasterisers' fixed-point arithmetic cannot overflow.
constexpr float D3D_GUARD_BAND = 4096.0f;

struct GuardBand {
    float left, top, right, bottom;  // in target pixels
};
GuardBand state_guard_band(const D3DVIEWPORT7& viewport);

// Signed distance of the homogeneous point (x·w, y·w, ·, w) from guard plane 0 (left), 1 (right),
// 2 (top) or 3 (bottom): not negative inside. T is float or double, as the caller computes.
template <typename T>
T guard_plane_distance(const T h[4], unsigned plane, const GuardBand& g)
{
    switch (plane) {
    case 0: return h[0] - static_cast<T>(g.left) * h[3];
    case 1: return static_cast<T>(g.right) * h[3] - h[0];
    case 2: return h[1] - static_cast<T>(g.top) * h[3];
    default: return static_cast<T>(g.bottom) * h[3] - h[1];
    }
}
