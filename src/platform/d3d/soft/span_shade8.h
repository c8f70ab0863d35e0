// The shading of eight pixels for the AVX2 pixel loops (span_fast_avx2.cpp for one row,
// span_pair_avx2.cpp for two rows at once): the interpolants of a triangle prepared for the rows the
// lanes are on, and the texture lookup, stage operation, specular add and blend of one group of
// lanes, on the packed arithmetic of simd8.h. Each lane computes exactly what the scalar loop computes
// for its pixel, whatever row or column the lane stands for. Compiled for AVX2 only, like simd8.h.
#pragma once

#include "platform/d3d/soft/simd8.h"
#include "platform/d3d/soft/span_fast_states.h"
#include "platform/d3d/soft/triangle_setup.h"
#include "platform/d3d/soft/avx2_region.h"

SOFT_AVX2_BEGIN

namespace soft::simd8 {

// Plane values at x = ox on each lane's row (row) and their change per pixel in x (slope).
struct Interpolants8 {
    f8 q_row, q_a, z_row, z_a;
    f8 row[kAttributes];
    f8 slope[kAttributes];
};

// dy: each lane's row minus the triangle's origin. Only the attributes the shader reads are prepared.
template <int Shader>
[[gnu::always_inline]] inline void prepare8(const SetupTriangle& t, f8 dy, bool specular, Interpolants8* out)
{
    constexpr Source color_source = kShaders[Shader].first;
    constexpr Source alpha_source = kShaders[Shader].second;
    constexpr bool textured = color_source != Source::Diffuse || alpha_source != Source::Diffuse;
    Interpolants8& ip = *out;
    ip.q_row = splat(t.q.c) + splat(t.q.b) * dy;
    ip.q_a = splat(t.q.a);
    ip.z_row = splat(t.depth.c) + splat(t.depth.b) * dy;
    ip.z_a = splat(t.depth.a);
    auto prepare = [&](unsigned i) {
        ip.row[i] = splat(t.attr[i].c) + splat(t.attr[i].b) * dy;
        ip.slope[i] = splat(t.attr[i].a);
    };
    if constexpr (color_source != Source::Texture) {
        for (unsigned i = 0; i < 3; ++i) prepare(kAttrDiffuse + i);
    }
    if constexpr (alpha_source != Source::Texture) prepare(kAttrDiffuse + 3);
    if (specular) {
        for (unsigned i = 0; i < 3; ++i) prepare(kAttrSpecular + i);
    }
    if constexpr (textured) {
        prepare(kAttrTex);
        prepare(kAttrTex + 1);
    }
}

// The blended colour of the lanes at dx (pixel x minus the origin) with w = 1/q, over the target
// pixels old (the lanes' alpha read as 255 where keep_alpha says the target has none).
template <int Shader, bool Bilinear, int BlendMode>
[[gnu::always_inline]] inline u8 shade8(const Interpolants8& ip, const TextureView& tex, f8 dx, f8 w, u8 old, u8 keep_alpha, bool specular)
{
    constexpr Source color_source = kShaders[Shader].first;
    constexpr Source alpha_source = kShaders[Shader].second;
    constexpr bool textured = color_source != Source::Diffuse || alpha_source != Source::Diffuse;
    constexpr Blend blend_mode = static_cast<Blend>(BlendMode);
    u8 texel = splat_u(0);
    if constexpr (textured) {
        const f8 u = (ip.row[kAttrTex] + ip.slope[kAttrTex] * dx) * w;
        const f8 v = (ip.row[kAttrTex + 1] + ip.slope[kAttrTex + 1] * dx) * w;
        texel = sample_wrap_pow2(tex, u, v, Bilinear);
    }
    // The colour as packed bytes: 0x00RRGGBB, then the alpha on top.
    u8 rgb;
    if constexpr (color_source == Source::Texture) {
        rgb = texel & 0x00FFFFFFu;
    } else {
        const i8 dr = to8((ip.row[kAttrDiffuse] + ip.slope[kAttrDiffuse] * dx) * w);
        const i8 dg = to8((ip.row[kAttrDiffuse + 1] + ip.slope[kAttrDiffuse + 1] * dx) * w);
        const i8 db = to8((ip.row[kAttrDiffuse + 2] + ip.slope[kAttrDiffuse + 2] * dx) * w);
        if constexpr (color_source == Source::Diffuse) {
            rgb = reinterpret_cast<u8>((dr << 16) | (dg << 8) | db);
        } else {
            const u8 rb = mul8_pairs(texel & 0x00FF00FFu, reinterpret_cast<u8>((dr << 16) | db));
            const u8 g = mul8_pairs((texel >> 8) & 0xFFu, reinterpret_cast<u8>(dg));
            rgb = rb | (g << 8);
        }
    }
    i8 ca;
    if constexpr (alpha_source == Source::Texture) {
        ca = reinterpret_cast<i8>(texel >> 24);
    } else {
        const i8 da = to8((ip.row[kAttrDiffuse + 3] + ip.slope[kAttrDiffuse + 3] * dx) * w);
        ca = alpha_source == Source::Diffuse ? da : mul8(reinterpret_cast<i8>(texel >> 24), da);
    }
    if (specular) {
        const i8 sr = to8((ip.row[kAttrSpecular] + ip.slope[kAttrSpecular] * dx) * w);
        const i8 sg = to8((ip.row[kAttrSpecular + 1] + ip.slope[kAttrSpecular + 1] * dx) * w);
        const i8 sb = to8((ip.row[kAttrSpecular + 2] + ip.slope[kAttrSpecular + 2] * dx) * w);
        rgb = add_saturated(rgb, reinterpret_cast<u8>((sr << 16) | (sg << 8) | sb));
    }
    const u8 source = rgb | (reinterpret_cast<u8>(ca) << 24);
    u8 blended = source;
    if constexpr (blend_mode != Blend::None) {
        const u8 d = old | keep_alpha;
        const u8 alpha = reinterpret_cast<u8>(ca);
        if constexpr (blend_mode == Blend::Alpha) {
            blended = add_saturated(mul8_bytes(source, alpha), mul8_bytes(d, splat_u(255) - alpha));
        } else if constexpr (blend_mode == Blend::Add) {
            blended = add_saturated(source, d);
        } else {
            blended = add_saturated(mul8_bytes(source, alpha), d);
        }
    }
    return blended;
}

}  // namespace soft::simd8

SOFT_AVX2_END
