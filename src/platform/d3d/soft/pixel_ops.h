// Per-pixel arithmetic of the software backend, shared by the generic pixel loop and every specialised
// one so that all of them give bit-identical results. Colours are 8-bit channels (0..255 for 0..1):
//   product          mul8(a, b) = round(a·b / 255), exactly
//   stage operations MODULATE = mul8, ADD saturates, SUBTRACT clamps at 0, …
//   blending         min(255, mul8(src, Fs) + mul8(dst, Fd)) per channel, alpha included
// Interpolated colours are rounded to the nearest level and clamped; depth is a float in [0, 1].
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/d3d/d3d_states.h"
#include "platform/d3d/soft/draw_constants.h"
#include "platform/d3d/soft/texture_sampler.h"

namespace soft {

struct Rgba {
    int r, g, b, a;
};

inline int mul8(int a, int b)
{
    const int p = a * b + 128;
    return (p + (p >> 8)) >> 8;
}

inline int sat8(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Nearest 8-bit level of an interpolated value on the 0..255 scale (NaN reads as 0).
inline int to8(float v)
{
    if (!(v > 0.0f)) return 0;
    if (v >= 255.0f) return 255;
    return static_cast<int>(v + 0.5f);
}

inline Rgba unpack(std::uint32_t argb)
{
    return Rgba{static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                static_cast<int>(argb & 0xFF), static_cast<int>(argb >> 24)};
}

inline std::uint32_t pack(const Rgba& c)
{
    return static_cast<std::uint32_t>(c.a) << 24 | static_cast<std::uint32_t>(c.r) << 16 |
           static_cast<std::uint32_t>(c.g) << 8 | static_cast<std::uint32_t>(c.b);
}

inline bool compare(std::uint8_t func, float value, float stored)
{
    switch (func) {
    case D3DCMP_NEVER: return false;
    case D3DCMP_LESS: return value < stored;
    case D3DCMP_EQUAL: return value == stored;
    case D3DCMP_LESSEQUAL: return value <= stored;
    case D3DCMP_GREATER: return value > stored;
    case D3DCMP_NOTEQUAL: return value != stored;
    case D3DCMP_GREATEREQUAL: return value >= stored;
    default: return true;
    }
}

inline bool compare_alpha(std::uint8_t func, int alpha, int ref)
{
    return compare(func, static_cast<float>(alpha), static_cast<float>(ref));
}

inline float clamp01(float v)
{
    return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
}

// The stage inputs one pixel offers.
struct StageInputs {
    Rgba diffuse;
    Rgba specular;
    Rgba texture;
    Rgba factor;
};

inline Rgba stage_argument(std::uint8_t arg, const StageInputs& in, const Rgba& current)
{
    Rgba v;
    switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_CURRENT: v = current; break;
    case D3DTA_TEXTURE: v = in.texture; break;
    case D3DTA_TFACTOR: v = in.factor; break;
    case D3DTA_SPECULAR: v = in.specular; break;
    default: v = in.diffuse; break;
    }
    if (arg & D3DTA_COMPLEMENT) v = Rgba{255 - v.r, 255 - v.g, 255 - v.b, 255 - v.a};
    if (arg & D3DTA_ALPHAREPLICATE) v = Rgba{v.a, v.a, v.a, v.a};
    return v;
}

// One channel of a stage operation; blend_alpha is the alpha the BLEND* operations use.
inline int stage_channel(std::uint8_t op, int x, int y, int blend_alpha)
{
    switch (op) {
    case D3DTOP_SELECTARG1: return x;
    case D3DTOP_SELECTARG2: return y;
    case D3DTOP_MODULATE: return mul8(x, y);
    case D3DTOP_MODULATE2X: return sat8(2 * mul8(x, y));
    case D3DTOP_MODULATE4X: return sat8(4 * mul8(x, y));
    case D3DTOP_ADD: return sat8(x + y);
    case D3DTOP_ADDSIGNED: return sat8(x + y - 128);
    case D3DTOP_ADDSIGNED2X: return sat8(2 * (x + y - 128));
    case D3DTOP_SUBTRACT: return sat8(x - y);
    case D3DTOP_ADDSMOOTH: return sat8(x + y - mul8(x, y));
    case D3DTOP_BLENDDIFFUSEALPHA:
    case D3DTOP_BLENDTEXTUREALPHA:
    case D3DTOP_BLENDFACTORALPHA:
    case D3DTOP_BLENDCURRENTALPHA: return sat8(mul8(x, blend_alpha) + mul8(y, 255 - blend_alpha));
    case D3DTOP_BLENDTEXTUREALPHAPM: return sat8(x + mul8(y, 255 - blend_alpha));
    default: return x;
    }
}

inline int stage_blend_alpha(std::uint8_t op, const StageInputs& in, const Rgba& current)
{
    switch (op) {
    case D3DTOP_BLENDDIFFUSEALPHA: return in.diffuse.a;
    case D3DTOP_BLENDTEXTUREALPHA:
    case D3DTOP_BLENDTEXTUREALPHAPM: return in.texture.a;
    case D3DTOP_BLENDFACTORALPHA: return in.factor.a;
    case D3DTOP_BLENDCURRENTALPHA: return current.a;
    default: return 0;
    }
}

// Runs one enabled stage on current.
inline Rgba run_stage(const StageProgram& s, const StageInputs& in, const Rgba& current)
{
    const Rgba c1 = stage_argument(s.color.arg1, in, current);
    const Rgba c2 = stage_argument(s.color.arg2, in, current);
    const int cb = stage_blend_alpha(s.color.op, in, current);
    Rgba out;
    out.r = stage_channel(s.color.op, c1.r, c2.r, cb);
    out.g = stage_channel(s.color.op, c1.g, c2.g, cb);
    out.b = stage_channel(s.color.op, c1.b, c2.b, cb);
    if (s.alpha_passthrough) {
        out.a = current.a;
    } else {
        const Rgba a1 = stage_argument(s.alpha.arg1, in, current);
        const Rgba a2 = stage_argument(s.alpha.arg2, in, current);
        out.a = stage_channel(s.alpha.op, a1.a, a2.a, stage_blend_alpha(s.alpha.op, in, current));
    }
    return out;
}

inline int blend_factor(std::uint8_t factor, int src_c, int dst_c, int src_a, int dst_a, bool alpha_channel)
{
    switch (factor) {
    case D3DBLEND_ZERO: return 0;
    case D3DBLEND_ONE: return 255;
    case D3DBLEND_SRCCOLOR: return src_c;
    case D3DBLEND_INVSRCCOLOR: return 255 - src_c;
    case D3DBLEND_SRCALPHA: return src_a;
    case D3DBLEND_INVSRCALPHA: return 255 - src_a;
    case D3DBLEND_DESTALPHA: return dst_a;
    case D3DBLEND_INVDESTALPHA: return 255 - dst_a;
    case D3DBLEND_DESTCOLOR: return dst_c;
    case D3DBLEND_INVDESTCOLOR: return 255 - dst_c;
    case D3DBLEND_SRCALPHASAT: return alpha_channel ? 255 : (src_a < 255 - dst_a ? src_a : 255 - dst_a);
    default: return 255;
    }
}

inline Rgba blend(const DrawConstants& k, const Rgba& s, const Rgba& d)
{
    auto channel = [&](int sc, int dc, bool alpha) {
        const int fs = blend_factor(k.src_blend, sc, dc, s.a, d.a, alpha);
        const int fd = blend_factor(k.dst_blend, sc, dc, s.a, d.a, alpha);
        return sat8(mul8(sc, fs) + mul8(dc, fd));
    };
    return Rgba{channel(s.r, d.r, false), channel(s.g, d.g, false), channel(s.b, d.b, false), channel(s.a, d.a, true)};
}

// Target pixels of any colour kind.
inline std::uint32_t load_target(PixelKind kind, const BYTE* p)
{
    return pixel_to_argb(kind, p);
}

inline void store_target(PixelKind kind, BYTE* p, std::uint32_t argb)
{
    pixel_from_argb(kind, argb, p);
}

// 32-bit targets: the stored word of a colour (no alpha bits are kept by X8R8G8B8).
inline std::uint32_t target32_bits(bool target_alpha, std::uint32_t argb)
{
    return target_alpha ? argb : (argb & 0x00FFFFFFu);
}

}  // namespace soft
