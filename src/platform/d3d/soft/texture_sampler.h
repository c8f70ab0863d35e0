// Texture sampling of the software backend, shared by every pixel loop. Coordinates are reduced to
// their fraction in float first (so ever-growing coordinates repeat), then scaled to texels in 1/256
// steps, rounded to nearest:
//   point:    texel floor(u·W)                          (texel k covers [k/W, (k+1)/W))
//   bilinear: t = u·W − 1/2; texels floor(t), floor(t)+1, weight frac(t) in 1/256 steps
// Wrap, mirror, clamp and border addressing are applied to the texel index after it is found, so
// bilinear neighbours at an edge come from the opposite edge under wrap.
#pragma once

#include <cmath>
#include <cstdint>

#include "platform/d3d/soft/draw_constants.h"

namespace soft {

// Index of texel i on an axis of n texels under an addressing mode; -1 means the border colour.
inline int texel_address(int i, int n, std::uint8_t mode)
{
    switch (mode) {
    case 2: {  // mirror
        const int period = 2 * n;
        int m = i % period;
        if (m < 0) m += period;
        return m < n ? m : period - 1 - m;
    }
    case 3: return i < 0 ? 0 : (i >= n ? n - 1 : i);  // clamp
    case 4: return (i < 0 || i >= n) ? -1 : i;        // border
    default: {                                          // wrap
        int m = i % n;
        return m < 0 ? m + n : m;
    }
    }
}

// floor(v) as an integer for |v| < 2^31 (callers keep v far inside that), without a library call.
inline std::int32_t floor_to_int(float v)
{
    const std::int32_t i = static_cast<std::int32_t>(v);
    return i - (static_cast<float>(i) > v ? 1 : 0);
}

// Nearest integer, halves rounded up.
inline std::int32_t round_to_int(float v)
{
    return floor_to_int(v + 0.5f);
}

// The fraction of u in [0, 1), exactly u − floor(u); 0 for values that are not finite. Floats of
// magnitude 2^23 and more are integers, so their fraction is 0.
inline float wrap_fraction(float u)
{
    if (!(std::fabs(u) < 8388608.0f)) return 0.0f;
    const float f = static_cast<float>(static_cast<std::int32_t>(u));
    return u - (f > u ? f - 1.0f : f);
}

// Fixed-point texel coordinate (1/256 texel) of u on an axis of n texels. Wrap and mirror keep only
// the fraction (wrap) or the fraction within a period of 2 (mirror); clamp and border keep u as is.
inline std::int32_t texel_coordinate(float u, int n, std::uint8_t mode)
{
    if (!std::isfinite(u)) return 0;
    if (mode == 1 || mode == 0 || mode > 4) {
        u = wrap_fraction(u);
    } else if (mode == 2) {
        u = 2.0f * wrap_fraction(u * 0.5f);
    } else {
        u = u < -4.0f ? -4.0f : (u > 5.0f ? 5.0f : u);
    }
    return round_to_int(u * static_cast<float>(n) * 256.0f);
}

inline std::uint32_t texel_fetch(const TextureView& t, int x, int y)
{
    x = texel_address(x, t.width, t.address_u);
    y = texel_address(y, t.height, t.address_v);
    if (x < 0 || y < 0) return t.border | t.alpha_or;
    return t.texels[static_cast<std::ptrdiff_t>(y) * t.pitch + x] | t.alpha_or;
}

// a·(256 − f) + b·f, rounded, per byte channel; f in 0..256.
inline std::uint32_t lerp_argb(std::uint32_t a, std::uint32_t b, std::uint32_t f)
{
    const std::uint32_t g = 256 - f;
    const std::uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f + 0x00800080u) >> 8) & 0x00FF00FFu;
    const std::uint32_t ag = ((((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f + 0x00800080u)) & 0xFF00FF00u;
    return rb | ag;
}

inline std::uint32_t sample_point(const TextureView& t, float u, float v)
{
    const int x = texel_coordinate(u, t.width, t.address_u) >> 8;
    const int y = texel_coordinate(v, t.height, t.address_v) >> 8;
    return texel_fetch(t, x, y);
}

inline std::uint32_t sample_bilinear(const TextureView& t, float u, float v)
{
    const std::int32_t tx = texel_coordinate(u, t.width, t.address_u) - 128;
    const std::int32_t ty = texel_coordinate(v, t.height, t.address_v) - 128;
    const int x = tx >> 8;  // arithmetic shift: floor
    const int y = ty >> 8;
    const std::uint32_t fx = static_cast<std::uint32_t>(tx & 255);
    const std::uint32_t fy = static_cast<std::uint32_t>(ty & 255);
    const std::uint32_t top = lerp_argb(texel_fetch(t, x, y), texel_fetch(t, x + 1, y), fx);
    const std::uint32_t bottom = lerp_argb(texel_fetch(t, x, y + 1), texel_fetch(t, x + 1, y + 1), fx);
    return lerp_argb(top, bottom, fy);
}

// The fast path for power-of-two textures under wrap in both directions.
inline std::uint32_t sample_bilinear_wrap_pow2(const TextureView& t, float u, float v)
{
    const std::int32_t tx = round_to_int(wrap_fraction(u) * static_cast<float>(t.width) * 256.0f) - 128;
    const std::int32_t ty = round_to_int(wrap_fraction(v) * static_cast<float>(t.height) * 256.0f) - 128;
    const int wm = t.width - 1;
    const int hm = t.height - 1;
    const int x0 = (tx >> 8) & wm;
    const int y0 = (ty >> 8) & hm;
    const int x1 = (x0 + 1) & wm;
    const int y1 = (y0 + 1) & hm;
    const std::uint32_t* r0 = t.texels + static_cast<std::ptrdiff_t>(y0) * t.pitch;
    const std::uint32_t* r1 = t.texels + static_cast<std::ptrdiff_t>(y1) * t.pitch;
    const std::uint32_t fx = static_cast<std::uint32_t>(tx & 255);
    const std::uint32_t fy = static_cast<std::uint32_t>(ty & 255);
    const std::uint32_t top = lerp_argb(r0[x0] | t.alpha_or, r0[x1] | t.alpha_or, fx);
    const std::uint32_t bottom = lerp_argb(r1[x0] | t.alpha_or, r1[x1] | t.alpha_or, fx);
    return lerp_argb(top, bottom, fy);
}

inline std::uint32_t sample_point_wrap_pow2(const TextureView& t, float u, float v)
{
    const std::int32_t tx = round_to_int(wrap_fraction(u) * static_cast<float>(t.width) * 256.0f);
    const std::int32_t ty = round_to_int(wrap_fraction(v) * static_cast<float>(t.height) * 256.0f);
    const int x = (tx >> 8) & (t.width - 1);
    const int y = (ty >> 8) & (t.height - 1);
    return t.texels[static_cast<std::ptrdiff_t>(y) * t.pitch + x] | t.alpha_or;
}

inline std::uint32_t sample(const TextureView& t, float u, float v)
{
    return t.bilinear ? sample_bilinear(t, u, v) : sample_point(t, u, v);
}

}  // namespace soft
