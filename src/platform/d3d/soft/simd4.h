// Four-lane vector forms of the pixel arithmetic (GCC/Clang vector extensions, SSE2 on x86-64), for
// the specialised pixel loops. Every function computes per lane exactly what its scalar namesake in
// pixel_ops.h or texture_sampler.h computes — same operations, same order, IEEE single precision, no
// contraction — so a pixel comes out the same whichever loop draws it.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/d3d/soft/draw_constants.h"
#include "platform/d3d/soft/texture_sampler.h"

namespace soft::simd {

typedef float f4 __attribute__((vector_size(16)));
typedef std::int32_t i4 __attribute__((vector_size(16)));
typedef std::uint32_t u4 __attribute__((vector_size(16)));
// The same 16 bytes as eight 16-bit lanes: products of 8-bit channels fit, and SSE2 multiplies them
// natively.
typedef std::uint16_t u8x16 __attribute__((vector_size(16)));

inline f4 splat(float v)
{
    return f4{v, v, v, v};
}

inline i4 splat_i(std::int32_t v)
{
    return i4{v, v, v, v};
}

inline u4 splat_u(std::uint32_t v)
{
    return u4{v, v, v, v};
}

// Lane-wise choice: mask lanes are all ones (take a) or all zeros (take b).
inline i4 select(i4 mask, i4 a, i4 b)
{
    return (mask & a) | (~mask & b);
}

inline u4 select(i4 mask, u4 a, u4 b)
{
    const u4 m = reinterpret_cast<u4>(mask);
    return (m & a) | (~m & b);
}

inline f4 select(i4 mask, f4 a, f4 b)
{
    return reinterpret_cast<f4>(select(mask, reinterpret_cast<i4>(a), reinterpret_cast<i4>(b)));
}

inline i4 to_int(f4 v)  // truncation; callers keep v in range
{
    return __builtin_convertvector(v, i4);
}

inline f4 to_float(i4 v)
{
    return __builtin_convertvector(v, f4);
}

// to8 of pixel_ops.h.
inline i4 to8(f4 v)
{
    const i4 positive = v > splat(0.0f);
    const i4 high = v >= splat(255.0f);
    const f4 safe = select(positive & ~high, v, splat(0.0f));
    const i4 level = to_int(safe + splat(0.5f));
    return select(high, splat_i(255), select(positive, level, splat_i(0)));
}

// mul8 and sat8 of pixel_ops.h. Channels are 0..255, so a·b + 128 ≤ 65153 and p + (p >> 8) ≤ 65407:
// every step fits a 16-bit lane (the upper half of each 32-bit lane stays 0).
inline i4 mul8(i4 a, i4 b)
{
    const u8x16 p = reinterpret_cast<u8x16>(a) * reinterpret_cast<u8x16>(b) + static_cast<std::uint16_t>(128);
    return reinterpret_cast<i4>((p + (p >> 8)) >> 8);
}

inline i4 sat8(i4 v)
{
    v = select(v < splat_i(0), splat_i(0), v);
    return select(v > splat_i(255), splat_i(255), v);
}

// wrap_fraction and round_to_int of texture_sampler.h.
inline f4 wrap_fraction(f4 u)
{
    const f4 magnitude = reinterpret_cast<f4>(reinterpret_cast<i4>(u) & splat_i(0x7FFFFFFF));
    const i4 finite_small = magnitude < splat(8388608.0f);
    const f4 us = select(finite_small, u, splat(0.0f));
    const f4 f = to_float(to_int(us));
    const f4 r = us - select(f > us, f - splat(1.0f), f);
    return select(finite_small, r, splat(0.0f));
}

inline i4 round_to_int(f4 v)
{
    const f4 w = v + splat(0.5f);
    const i4 i = to_int(w);
    return i + (to_float(i) > w);  // the comparison is -1 where the truncation rounded up
}

// lerp_argb of texture_sampler.h on four lanes. With weights f + g = 256, each channel sum
// c·g + d·f + 128 ≤ 255·256 + 128 fits a 16-bit lane, so the two channels of a 32-bit lane are
// worked in its two 16-bit halves at once.
inline u4 lerp_argb(u4 a, u4 b, u4 f)
{
    const u4 g = splat_u(256) - f;
    const u8x16 f16 = reinterpret_cast<u8x16>(f | (f << 16));
    const u8x16 g16 = reinterpret_cast<u8x16>(g | (g << 16));
    const u4 mask = splat_u(0x00FF00FFu);
    const u8x16 rb = (reinterpret_cast<u8x16>(a & mask) * g16 + reinterpret_cast<u8x16>(b & mask) * f16 +
                      static_cast<std::uint16_t>(128)) >>
                     8;
    const u8x16 ag = (reinterpret_cast<u8x16>((a >> 8) & mask) * g16 + reinterpret_cast<u8x16>((b >> 8) & mask) * f16 +
                      static_cast<std::uint16_t>(128)) &
                     static_cast<std::uint16_t>(0xFF00);
    return reinterpret_cast<u4>(rb) | reinterpret_cast<u4>(ag);
}

// sample_bilinear_wrap_pow2 / sample_point_wrap_pow2 on four lanes.
inline u4 sample_wrap_pow2(const TextureView& t, f4 u, f4 v, bool bilinear)
{
    const float w = static_cast<float>(t.width);
    const float h = static_cast<float>(t.height);
    const i4 tx = round_to_int(wrap_fraction(u) * splat(w) * splat(256.0f)) - (bilinear ? 128 : 0);
    const i4 ty = round_to_int(wrap_fraction(v) * splat(h) * splat(256.0f)) - (bilinear ? 128 : 0);
    const i4 x0 = (tx >> 8) & (t.width - 1);
    const i4 y0 = (ty >> 8) & (t.height - 1);
    alignas(16) std::uint32_t t00[4], t10[4], t01[4], t11[4];
    if (!bilinear) {
        for (int i = 0; i < 4; ++i) t00[i] = t.texels[static_cast<std::ptrdiff_t>(y0[i]) * t.pitch + x0[i]];
        u4 out;
        std::memcpy(&out, t00, sizeof(out));
        return out | splat_u(t.alpha_or);
    }
    const i4 x1 = (x0 + 1) & (t.width - 1);
    const i4 y1 = (y0 + 1) & (t.height - 1);
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t* r0 = t.texels + static_cast<std::ptrdiff_t>(y0[i]) * t.pitch;
        const std::uint32_t* r1 = t.texels + static_cast<std::ptrdiff_t>(y1[i]) * t.pitch;
        t00[i] = r0[x0[i]];
        t10[i] = r0[x1[i]];
        t01[i] = r1[x0[i]];
        t11[i] = r1[x1[i]];
    }
    u4 a, b, c, d;
    std::memcpy(&a, t00, sizeof(a));
    std::memcpy(&b, t10, sizeof(b));
    std::memcpy(&c, t01, sizeof(c));
    std::memcpy(&d, t11, sizeof(d));
    const u4 alpha = splat_u(t.alpha_or);
    const u4 fx = reinterpret_cast<u4>(tx & 255);
    const u4 fy = reinterpret_cast<u4>(ty & 255);
    return lerp_argb(lerp_argb(a | alpha, b | alpha, fx), lerp_argb(c | alpha, d | alpha, fx), fy);
}

}  // namespace soft::simd
