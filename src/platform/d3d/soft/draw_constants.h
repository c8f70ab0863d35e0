// Everything the pixel stage needs about one draw, resolved once from the device state: the target and
// depth surfaces, the texture-stage programme (with the rules for missing textures and DISABLE already
// applied), texture views, the depth and alpha tests, the blend factors and the scissor rectangle.
#pragma once

#include <cstdint>

#include "platform/d3d/core/pixel_format.h"
#include "platform/d3d/soft/clip_vertex.h"

namespace soft {

enum class DepthMode : std::uint8_t { Off, Z, W };

struct TextureView {
    const std::uint32_t* texels = nullptr;  // 0xAARRGGBB rows
    int pitch = 0;                          // in texels
    int width = 0;
    int height = 0;
    std::uint32_t alpha_or = 0;  // 0xFF000000 for textures without alpha bits
    bool bilinear = false;
    std::uint8_t address_u = 1;  // D3DTADDRESS_*
    std::uint8_t address_v = 1;
    std::uint32_t border = 0;
};

// One argument of a stage operation: selector and modifiers as D3DTA_* bits.
struct StageOp {
    std::uint8_t op = 1;  // D3DTOP_*; 1 (DISABLE) never reaches here for colour
    std::uint8_t arg1 = 0;
    std::uint8_t arg2 = 0;
};

struct StageProgram {
    StageOp color;
    StageOp alpha;
    bool alpha_passthrough = false;  // ALPHAOP DISABLE with colour enabled: alpha = CURRENT.alpha
    bool reads_texture = false;
    TextureView texture;
};

struct DrawConstants {
    // Target.
    BYTE* color = nullptr;
    long color_pitch = 0;
    PixelKind color_kind = PixelKind::X8R8G8B8;
    bool target_alpha = false;
    float* depth = nullptr;
    long depth_pitch = 0;  // in floats
    // Scissor: the viewport clipped to the target, [x0, x1) × [y0, y1).
    int scissor_x0 = 0, scissor_y0 = 0, scissor_x1 = 0, scissor_y1 = 0;

    // Attributes the pixel stage reads (bit i: attribute slot i of clip_vertex.h); setup leaves the
    // planes of the others at zero.
    std::uint32_t attr_mask = (1u << kAttributes) - 1;

    // Stages: the first `stage_count` entries are enabled, in order.
    unsigned stage_count = 0;
    StageProgram stages[kStages];
    std::uint32_t texture_factor = 0xFFFFFFFF;
    bool specular_add = false;
    bool flat = false;  // D3DSHADE_FLAT: colours of the first vertex

    // Tests and blending.
    DepthMode depth_mode = DepthMode::Off;
    std::uint8_t depth_func = 4;  // D3DCMP_*
    bool depth_write = false;
    bool reject_outside_depth_range = false;  // pre-transformed with depth on: sz outside [0, 1] not drawn
    float inv_w_far = 1.0f;
    bool alpha_test = false;
    std::uint8_t alpha_func = 8;
    std::uint8_t alpha_ref = 0;
    bool blend = false;
    std::uint8_t src_blend = 2;  // D3DBLEND_*
    std::uint8_t dst_blend = 1;
};

}  // namespace soft
