// Eight-lane vector forms of the pixel arithmetic for the AVX2 pixel loops and vertex stage (the
// *_avx2.cpp files and span_shade8.h: everything here is compiled for AVX2 and must not run elsewhere).
// Each function is its four-lane namesake of simd4.h on eight lanes — the same operations in the same
// order, IEEE single precision, no contraction (AVX2 alone brings no fused multiply-add) — so a pixel
// comes out the same whichever loop draws it. Texels are fetched with hardware gathers.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "platform/d3d/soft/draw_constants.h"
#include "platform/d3d/soft/avx2_region.h"

SOFT_AVX2_BEGIN

namespace soft::simd8 {

typedef float f8 __attribute__((vector_size(32)));
typedef std::int32_t i8 __attribute__((vector_size(32)));
typedef std::uint32_t u8 __attribute__((vector_size(32)));
typedef std::uint16_t u16x16 __attribute__((vector_size(32)));

inline f8 splat(float v)
{
    return f8{v, v, v, v, v, v, v, v};
}

inline i8 splat_i(std::int32_t v)
{
    return i8{v, v, v, v, v, v, v, v};
}

inline u8 splat_u(std::uint32_t v)
{
    return u8{v, v, v, v, v, v, v, v};
}

inline __m256i raw(i8 v)
{
    return reinterpret_cast<__m256i>(v);
}

inline __m256i raw(u8 v)
{
    return reinterpret_cast<__m256i>(v);
}

inline bool none(i8 mask)
{
    return _mm256_testz_si256(raw(mask), raw(mask)) != 0;
}

// Lane-wise choice: mask lanes are all ones (take a) or all zeros (take b), one blend instruction.
inline i8 select(i8 mask, i8 a, i8 b)
{
    return reinterpret_cast<i8>(_mm256_blendv_epi8(raw(b), raw(a), raw(mask)));
}

inline u8 select(i8 mask, u8 a, u8 b)
{
    return reinterpret_cast<u8>(_mm256_blendv_epi8(raw(b), raw(a), raw(mask)));
}

inline f8 select(i8 mask, f8 a, f8 b)
{
    return reinterpret_cast<f8>(select(mask, reinterpret_cast<i8>(a), reinterpret_cast<i8>(b)));
}

inline i8 to_int(f8 v)  // truncation; callers keep v in range
{
    return __builtin_convertvector(v, i8);
}

inline f8 to_float(i8 v)
{
    return __builtin_convertvector(v, f8);
}

// The clamp is max then min: MAXPS takes its second operand when the first is NaN, so NaN reads as 0,
// and 0 and 255 themselves round to 0 and 255, as the compare-and-select of simd4.h gives.
inline i8 to8(f8 v)
{
    const __m256 low = _mm256_max_ps(reinterpret_cast<__m256>(v), _mm256_setzero_ps());
    const f8 clamped = reinterpret_cast<f8>(_mm256_min_ps(low, _mm256_set1_ps(255.0f)));
    return to_int(clamped + splat(0.5f));
}

inline i8 mul8(i8 a, i8 b)
{
    const u16x16 p = reinterpret_cast<u16x16>(a) * reinterpret_cast<u16x16>(b) + static_cast<std::uint16_t>(128);
    return reinterpret_cast<i8>((p + (p >> 8)) >> 8);
}

// mul8 of the two 16-bit halves of each lane at once (values 0..255 in each half: the steps fit 16
// bits exactly as in mul8).
inline u8 mul8_pairs(u8 a, u8 b)
{
    const u16x16 p = reinterpret_cast<u16x16>(a) * reinterpret_cast<u16x16>(b) + static_cast<std::uint16_t>(128);
    return reinterpret_cast<u8>((p + (p >> 8)) >> 8);
}

// mul8 of each of the four byte channels of c by the level f (0..255) of its lane.
inline u8 mul8_bytes(u8 c, u8 f)
{
    const u8 f2 = f | (f << 16);
    return mul8_pairs(c & 0x00FF00FFu, f2) | (mul8_pairs((c >> 8) & 0x00FF00FFu, f2) << 8);
}

// sat8(a + b) of each byte channel of non-negative channels: the unsigned saturating byte add.
inline u8 add_saturated(u8 a, u8 b)
{
    return reinterpret_cast<u8>(_mm256_adds_epu8(raw(a), raw(b)));
}

// Clamp to 0..255, as the compare-and-select of simd4.h.
inline i8 sat8(i8 v)
{
    return reinterpret_cast<i8>(_mm256_min_epi32(_mm256_max_epi32(raw(v), _mm256_setzero_si256()), _mm256_set1_epi32(255)));
}

inline f8 floor8(f8 v)
{
    return reinterpret_cast<f8>(_mm256_floor_ps(reinterpret_cast<__m256>(v)));
}

// u − floor(u) by the rounding instruction, 0 where |u| ≥ 2²³, infinite or NaN. (Of −0 it gives +0
// where the four-lane form gives −0; both round to the same texel.)
inline f8 wrap_fraction(f8 u)
{
    const f8 magnitude = reinterpret_cast<f8>(reinterpret_cast<i8>(u) & splat_i(0x7FFFFFFF));
    const i8 finite_small = magnitude < splat(8388608.0f);
    return select(finite_small, u - floor8(u), splat(0.0f));
}

// floor(v + 0.5); callers keep v in range.
inline i8 round_to_int(f8 v)
{
    return to_int(floor8(v + splat(0.5f)));
}

[[gnu::always_inline]] inline u8 lerp_argb(u8 a, u8 b, u8 f)
{
    const u8 g = splat_u(256) - f;
    const u16x16 f16 = reinterpret_cast<u16x16>(f | (f << 16));
    const u16x16 g16 = reinterpret_cast<u16x16>(g | (g << 16));
    const u8 mask = splat_u(0x00FF00FFu);
    const u16x16 rb = (reinterpret_cast<u16x16>(a & mask) * g16 + reinterpret_cast<u16x16>(b & mask) * f16 +
                       static_cast<std::uint16_t>(128)) >>
                      8;
    const u16x16 ag = (reinterpret_cast<u16x16>((a >> 8) & mask) * g16 +
                       reinterpret_cast<u16x16>((b >> 8) & mask) * f16 + static_cast<std::uint16_t>(128)) &
                      static_cast<std::uint16_t>(0xFF00);
    return reinterpret_cast<u8>(rb) | reinterpret_cast<u8>(ag);
}

[[gnu::always_inline]] inline u8 gather(const TextureView& t, i8 index)
{
    return reinterpret_cast<u8>(_mm256_i32gather_epi32(reinterpret_cast<const int*>(t.texels), raw(index), 4));
}

// sample_wrap_pow2 of simd4.h: every index is masked into the texture, so every gathered address is
// inside it.
// Always inlined: the loops call it once per group of lanes, and bilinear is a constant there.
[[gnu::always_inline]] inline u8 sample_wrap_pow2(const TextureView& t, f8 u, f8 v, bool bilinear)
{
    const float w = static_cast<float>(t.width);
    const float h = static_cast<float>(t.height);
    const i8 tx = round_to_int(wrap_fraction(u) * splat(w) * splat(256.0f)) - (bilinear ? 128 : 0);
    const i8 ty = round_to_int(wrap_fraction(v) * splat(h) * splat(256.0f)) - (bilinear ? 128 : 0);
    const i8 wm = splat_i(t.width - 1);
    const i8 hm = splat_i(t.height - 1);
    const i8 pitch = splat_i(t.pitch);
    const i8 x0 = (tx >> 8) & wm;
    const i8 y0 = (ty >> 8) & hm;
    const u8 alpha = splat_u(t.alpha_or);
    // Rows start at y·pitch: a shift where the pitch is a power of two, as it is for most textures.
    const bool shift_rows = t.pitch > 0 && (t.pitch & (t.pitch - 1)) == 0;
    const i8 pitch_log2 = splat_i(shift_rows ? __builtin_ctz(static_cast<unsigned>(t.pitch)) : 0);
    auto row_start = [&](i8 y) { return shift_rows ? y << pitch_log2 : y * pitch; };
    if (!bilinear) return gather(t, row_start(y0) + x0) | alpha;
    const i8 x1 = (x0 + 1) & wm;
    const i8 r0 = row_start(y0);
    const i8 r1 = row_start((y0 + 1) & hm);
    const u8 a = gather(t, r0 + x0) | alpha;
    const u8 b = gather(t, r0 + x1) | alpha;
    const u8 c = gather(t, r1 + x0) | alpha;
    const u8 d = gather(t, r1 + x1) | alpha;
    const u8 fx = reinterpret_cast<u8>(tx & 255);
    const u8 fy = reinterpret_cast<u8>(ty & 255);
    return lerp_argb(lerp_argb(a, b, fx), lerp_argb(c, d, fx), fy);
}

}  // namespace soft::simd8

SOFT_AVX2_END
