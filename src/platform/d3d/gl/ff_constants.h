// The numbers the generated shaders read, in the std140 layout of their "FixedFunction" uniform block:
// the world, world·view and world·view·projection matrices and the normal matrix (all in the device's
// row-vector layout, which GLSL reads as the transposed column-major matrix, so M * v is v·M), the
// viewport and depth range, the half-pixel shift, ambient light, texture factor, material, the enabled
// lights moved into camera space, and the user clip planes. Computed on the CPU once per state change.
#pragma once

#include "platform/d3d/core/device_backend.h"

struct alignas(16) FfConstants {
    float world[16];
    float world_view[16];
    float world_view_proj[16];
    float normal_matrix[16];
    float viewport[4];      // x, y, width, height
    float depth_params[4];  // min z, max z, w far, alpha reference
    float pixel_offset[4];  // NDC shift x, y; shift in pixels
    float ambient[4];
    float texture_factor[4];
    float material_diffuse[4];
    float material_ambient[4];
    float material_specular[4];
    float material_emissive[4];
    float material_power[4];
    float light_diffuse[D3D_MAX_ACTIVE_LIGHTS][4];
    float light_specular[D3D_MAX_ACTIVE_LIGHTS][4];
    float light_ambient[D3D_MAX_ACTIVE_LIGHTS][4];
    float light_position[D3D_MAX_ACTIVE_LIGHTS][4];   // camera space
    float light_direction[D3D_MAX_ACTIVE_LIGHTS][4];  // camera space: spot axis, or toward a directional light
    float light_attenuation[D3D_MAX_ACTIVE_LIGHTS][4];
    float light_spot[D3D_MAX_ACTIVE_LIGHTS][4];
    float clip_plane[D3D_MAX_CLIP_PLANES][4];
};
static_assert(sizeof(FfConstants) == 4 * 64 + 10 * 16 + 7 * 8 * 16 + 6 * 16, "FfConstants must match the std140 block");



// Fills constants for a draw with state; pixel_shift: how far geometry moves right and down to put the
// device's pixel centres (integers) onto GL's (half-integers), see pixel_shift.h.
void ff_constants_compute(const DeviceState& state, float pixel_shift, FfConstants* out);

// A D3DCOLOR as four floats r, g, b, a in [0, 1].
void ff_color_unpack(D3DCOLOR color, float out[4]);
