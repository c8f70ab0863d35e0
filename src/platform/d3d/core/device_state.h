// Everything a Direct3D 7 device remembers between calls, in one record: render states, texture-stage
// states, bound textures, transforms, material, lights, viewport and user clip planes, with the
// platform's creation defaults. The device keeps one; state blocks keep copies; backends read it on
// every draw together with a mask of the categories changed since their previous draw.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/d3d_types.h"

class Surface;

// Categories of state, as bits of the "changed since the last draw" mask handed to backends.
enum DeviceStateDirty : std::uint32_t {
    DIRTY_RENDER_STATE = 1u << 0,
    DIRTY_STAGE_STATE = 1u << 1,
    DIRTY_TEXTURE = 1u << 2,
    DIRTY_TRANSFORM = 1u << 3,
    DIRTY_MATERIAL = 1u << 4,
    DIRTY_LIGHT = 1u << 5,
    DIRTY_VIEWPORT = 1u << 6,
    DIRTY_CLIP_PLANE = 1u << 7,
    DIRTY_TARGET = 1u << 8,
    DIRTY_ALL = 0x1FFu,
};

// Transform slots kept by the device: world, view, projection, world 1–3 and eight texture matrices.
enum TransformSlot : unsigned {
    TRANSFORM_WORLD,
    TRANSFORM_VIEW,
    TRANSFORM_PROJECTION,
    TRANSFORM_WORLD1,
    TRANSFORM_WORLD2,
    TRANSFORM_WORLD3,
    TRANSFORM_TEXTURE0,
    TRANSFORM_SLOT_COUNT = TRANSFORM_TEXTURE0 + 8,
};
// The slot of a transform-state number, or false for numbers the platform does not define.
bool transform_slot_of(DWORD state, unsigned* slot);

struct LightSlot {
    D3DLIGHT7 light{};
    bool enabled = false;
};

// Lights are addressed by index; the device accepts indices below this bound.
constexpr DWORD D3D_MAX_LIGHT_INDEX = 4096;
// At most this many lights may be enabled at once (the device description's dwMaxActiveLights).
constexpr DWORD D3D_MAX_ACTIVE_LIGHTS = 8;
// User clip planes kept by the device (the description's wMaxUserClipPlanes).
constexpr DWORD D3D_MAX_CLIP_PLANES = 6;

struct DeviceState {
    DWORD render[D3D_RENDERSTATE_COUNT] = {};
    DWORD stage[D3D_MAX_TEXTURE_STAGES][D3D_TEXTURESTAGESTATE_COUNT] = {};
    // Bound textures. The device holds one reference to each; a state block holds its own.
    Surface* textures[D3D_MAX_TEXTURE_STAGES] = {};
    D3DMATRIX transforms[TRANSFORM_SLOT_COUNT] = {};
    D3DMATERIAL7 material{};
    std::vector<LightSlot> lights;  // index = light number; grows on SetLight/LightEnable
    D3DVIEWPORT7 viewport{};
    float clip_planes[D3D_MAX_CLIP_PLANES][4] = {};

    const D3DMATRIX& world() const { return transforms[TRANSFORM_WORLD]; }
    const D3DMATRIX& view() const { return transforms[TRANSFORM_VIEW]; }
    const D3DMATRIX& projection() const { return transforms[TRANSFORM_PROJECTION]; }
};

// Fills the platform's creation defaults. zbuffer_attached decides ZENABLE (TRUE only if the target had
// a z-buffer when the device was made); the viewport covers the whole target with depth range 0..1.
void device_state_defaults(DeviceState* state, bool zbuffer_attached, DWORD target_width, DWORD target_height);

// Whether a render-state number is one Direct3D 7 defines (others are refused with DDERR_INVALIDPARAMS).
bool render_state_is_valid(DWORD state);
// Whether a texture-stage-state number is defined (1–24).
bool stage_state_is_valid(DWORD state);
// Which render states and stage states count as "pixel" and "vertex" state for D3DSBT_PIXELSTATE and
// D3DSBT_VERTEXSTATE blocks.
bool render_state_is_pixel_state(DWORD state);
bool render_state_is_vertex_state(DWORD state);
bool stage_state_is_pixel_state(DWORD state);
