// The compact key of one fixed-function state combination: everything that changes the text of the
// generated shaders (vertex format, lighting set-up, colour sources, the texture-stage cascade after the
// platform's rules for DISABLE and missing textures, specular add, alpha test, w-buffering). Values
// that only change numbers (matrices, colours, light positions) are not in the key; they travel in the
// constant block. Two draws with equal keys share one program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/d3d/core/device_backend.h"

// What a stage reads as its coordinate set when the vertex has no such set: (0, 0).
constexpr std::uint8_t SHADER_NO_TEXCOORD = 0xFF;

struct ShaderStageKey {
    std::uint8_t color_op = 0;    // D3DTEXTUREOP as drawn (SELECTARG1 … BLENDCURRENTALPHA); 0 past the last stage
    std::uint8_t color_arg1 = 0;  // D3DTA selector plus COMPLEMENT / ALPHAREPLICATE bits
    std::uint8_t color_arg2 = 0;
    std::uint8_t alpha_op = 0;    // D3DTOP_DISABLE: the alpha passes through unchanged
    std::uint8_t alpha_arg1 = 0;
    std::uint8_t alpha_arg2 = 0;
    std::uint8_t texcoord = 0;    // the coordinate set the stage samples with, or SHADER_NO_TEXCOORD
    std::uint8_t sampled = 0;     // 1 when the stage reads its texture
};

// Sources of the four material colours as resolved for the vertex format in use.
enum ShaderColorSource : std::uint8_t {
    SHADER_SOURCE_MATERIAL = 0,
    SHADER_SOURCE_DIFFUSE = 1,   // the vertex's diffuse colour
    SHADER_SOURCE_SPECULAR = 2,  // the vertex's specular colour
};

struct ShaderKey {
    // Vertex format.
    std::uint8_t pretransformed = 0;
    std::uint8_t has_normal = 0;
    std::uint8_t has_diffuse = 0;
    std::uint8_t has_specular = 0;
    std::uint8_t texcoord_count = 0;
    // Lighting.
    std::uint8_t lighting = 0;
    std::uint8_t light_count = 0;
    std::uint8_t light_types[D3D_MAX_ACTIVE_LIGHTS] = {};  // D3DLIGHTTYPE of each enabled light, in index order
    std::uint8_t specular = 0;                             // SPECULARENABLE: computed and added after the stages
    std::uint8_t local_viewer = 0;
    std::uint8_t normalize_normals = 0;
    std::uint8_t diffuse_source = 0;  // ShaderColorSource
    std::uint8_t ambient_source = 0;
    std::uint8_t specular_source = 0;
    std::uint8_t emissive_source = 0;
    // Rasterisation.
    std::uint8_t flat = 0;            // SHADEMODE FLAT: colours of the first vertex
    std::uint8_t depth_clip = 0;      // pre-transformed vertices clipped to 0 <= z <= 1
    std::uint8_t clip_planes = 0;     // CLIPPLANEENABLE bits
    std::uint8_t wbuffer = 0;         // depth written as w / wfar
    std::uint8_t alpha_func = 0;      // D3DCMPFUNC of the alpha test, 0 when off
    std::uint8_t quantize = 0;        // a 16-bit target written without blending: its PixelKind + 1
    // The texture stages up to the first disabled one.
    std::uint8_t stage_count = 0;
    ShaderStageKey stages[D3D_MAX_TEXTURE_STAGES] = {};

    bool operator==(const ShaderKey& other) const { return std::memcmp(this, &other, sizeof *this) == 0; }
};
static_assert(sizeof(ShaderKey) == 21 + D3D_MAX_ACTIVE_LIGHTS + D3D_MAX_TEXTURE_STAGES * sizeof(ShaderStageKey),
              "ShaderKey must stay free of padding: it is hashed and compared as bytes");

struct ShaderKeyHash {
    std::size_t operator()(const ShaderKey& key) const;
};

// The key of a draw: device state, the vertex layout, the draw's D3DDP_* flags (DONOTLIGHT turns
// lighting off), the bound textures, and whether a depth buffer is in use (bound and ZENABLE not FALSE).
ShaderKey shader_key_build(const DeviceState& state, const VertexLayout& layout, DWORD flags,
                           const DrawBindings& bindings, bool depth_active);
