// Specialised pixel loops for the frequent state combinations, and the choice between them and the
// generic loop. Each loop is the generic one with the state fixed at compile time, four pixels at a
// time: simd4.h computes every value exactly as pixel_ops.h and texture_sampler.h do for one pixel, so
// the pixels are identical.
#include <array>
#include <utility>

#include "platform/d3d/soft/pixel_ops.h"
#include "platform/d3d/soft/simd4.h"
#include "platform/d3d/soft/span_fast_states.h"
#include "platform/d3d/soft/span_kernels.h"

namespace soft {
namespace {

// The same loop four pixels at a time. A last group of fewer than four pixels runs with its missing
// lanes masked off; memory outside the span is never touched.
template <int Shader, bool Bilinear, int BlendMode, int DepthMode_>
void span_fast(const DrawConstants& k, const SetupTriangle& t, int y, int x0, int x1)
{
    using namespace simd;
    constexpr Source color_source = kShaders[Shader].first;
    constexpr Source alpha_source = kShaders[Shader].second;
    constexpr bool textured = color_source != Source::Diffuse || alpha_source != Source::Diffuse;
    constexpr bool diffuse_rgb = color_source != Source::Texture;
    constexpr bool diffuse_a = alpha_source != Source::Texture;
    constexpr Blend blend_mode = static_cast<Blend>(BlendMode);
    constexpr Depth depth_mode = static_cast<Depth>(DepthMode_);

    const float dy = static_cast<float>(y) - t.oy;
    const f4 q_row = splat(t.q.c + t.q.b * dy);
    const f4 q_a = splat(t.q.a);
    const f4 z_row = splat(t.depth.c + t.depth.b * dy);
    const f4 z_a = splat(t.depth.a);
    const bool specular = k.specular_add;
    f4 row[kAttributes];
    f4 slope[kAttributes];
    auto prepare = [&](unsigned i) {
        row[i] = splat(t.attr[i].c + t.attr[i].b * dy);
        slope[i] = splat(t.attr[i].a);
    };
    if constexpr (diffuse_rgb) {
        for (unsigned i = 0; i < 3; ++i) prepare(kAttrDiffuse + i);
    }
    if constexpr (diffuse_a) prepare(kAttrDiffuse + 3);
    if (specular) {
        for (unsigned i = 0; i < 3; ++i) prepare(kAttrSpecular + i);
    }
    if constexpr (textured) {
        prepare(kAttrTex);
        prepare(kAttrTex + 1);
    }
    std::uint32_t* crow = reinterpret_cast<std::uint32_t*>(k.color + static_cast<std::ptrdiff_t>(y) * k.color_pitch);
    float* drow = depth_mode != Depth::Off ? k.depth + static_cast<std::ptrdiff_t>(y) * k.depth_pitch : nullptr;
    const TextureView& tex = k.stages[0].texture;
    const bool use_w = k.depth_mode == DepthMode::W;
    const f4 inv_w_far = splat(k.inv_w_far);
    const u4 keep_alpha = splat_u(k.target_alpha ? 0u : 0xFF000000u);
    const u4 store_mask = splat_u(k.target_alpha ? 0xFFFFFFFFu : 0x00FFFFFFu);
    const f4 lane = f4{0.0f, 1.0f, 2.0f, 3.0f};
    const i4 lane_i = i4{0, 1, 2, 3};
    for (int x = x0; x < x1; x += 4) {
        const int count = x1 - x < 4 ? x1 - x : 4;
        const i4 active = lane_i < splat_i(count);
        const f4 dx = splat(static_cast<float>(x)) + lane - splat(t.ox);
        const f4 q = q_row + q_a * dx;
        const f4 w = splat(1.0f) / q;
        f4 depth = splat(0.0f);
        i4 pass = active;
        f4 stored = splat(0.0f);
        if constexpr (depth_mode != Depth::Off) {
            const f4 z = z_row + z_a * dx;
            if (k.reject_outside_depth_range) pass &= ~((z < splat(0.0f)) | (z > splat(1.0f)));
            const f4 raw = use_w ? w * inv_w_far : z;
            depth = select(raw > splat(0.0f), select(raw < splat(1.0f), raw, splat(1.0f)), splat(0.0f));
            if (count == 4) {
                std::memcpy(&stored, drow + x, sizeof(stored));
            } else {
                for (int i = 0; i < count; ++i) stored[i] = drow[x + i];
            }
            pass &= depth <= stored;
            if (!(pass[0] | pass[1] | pass[2] | pass[3])) continue;
        }
        u4 texel = splat_u(0);
        if constexpr (textured) {
            const f4 u = (row[kAttrTex] + slope[kAttrTex] * dx) * w;
            const f4 v = (row[kAttrTex + 1] + slope[kAttrTex + 1] * dx) * w;
            texel = sample_wrap_pow2(tex, u, v, Bilinear);
        }
        const i4 tr = reinterpret_cast<i4>((texel >> 16) & 0xFF);
        const i4 tg = reinterpret_cast<i4>((texel >> 8) & 0xFF);
        const i4 tb = reinterpret_cast<i4>(texel & 0xFF);
        const i4 ta = reinterpret_cast<i4>(texel >> 24);
        i4 cr, cg, cb, ca;
        if constexpr (color_source == Source::Texture) {
            cr = tr;
            cg = tg;
            cb = tb;
        } else {
            const i4 dr = to8((row[kAttrDiffuse] + slope[kAttrDiffuse] * dx) * w);
            const i4 dg = to8((row[kAttrDiffuse + 1] + slope[kAttrDiffuse + 1] * dx) * w);
            const i4 db = to8((row[kAttrDiffuse + 2] + slope[kAttrDiffuse + 2] * dx) * w);
            if constexpr (color_source == Source::Diffuse) {
                cr = dr;
                cg = dg;
                cb = db;
            } else {
                cr = mul8(tr, dr);
                cg = mul8(tg, dg);
                cb = mul8(tb, db);
            }
        }
        if constexpr (alpha_source == Source::Texture) {
            ca = ta;
        } else {
            const i4 da = to8((row[kAttrDiffuse + 3] + slope[kAttrDiffuse + 3] * dx) * w);
            ca = alpha_source == Source::Diffuse ? da : mul8(ta, da);
        }
        if (specular) {
            cr = sat8(cr + to8((row[kAttrSpecular] + slope[kAttrSpecular] * dx) * w));
            cg = sat8(cg + to8((row[kAttrSpecular + 1] + slope[kAttrSpecular + 1] * dx) * w));
            cb = sat8(cb + to8((row[kAttrSpecular + 2] + slope[kAttrSpecular + 2] * dx) * w));
        }
        u4 old = splat_u(0);
        if (count == 4) {
            std::memcpy(&old, crow + x, sizeof(old));
        } else {
            for (int i = 0; i < count; ++i) old[i] = crow[x + i];
        }
        if constexpr (blend_mode != Blend::None) {
            const u4 d = old | keep_alpha;
            const i4 dr = reinterpret_cast<i4>((d >> 16) & 0xFF);
            const i4 dg = reinterpret_cast<i4>((d >> 8) & 0xFF);
            const i4 db = reinterpret_cast<i4>(d & 0xFF);
            const i4 da = reinterpret_cast<i4>(d >> 24);
            if constexpr (blend_mode == Blend::Alpha) {
                const i4 ia = 255 - ca;
                cr = sat8(mul8(cr, ca) + mul8(dr, ia));
                cg = sat8(mul8(cg, ca) + mul8(dg, ia));
                cb = sat8(mul8(cb, ca) + mul8(db, ia));
                ca = sat8(mul8(ca, ca) + mul8(da, ia));
            } else if constexpr (blend_mode == Blend::Add) {
                cr = sat8(cr + dr);
                cg = sat8(cg + dg);
                cb = sat8(cb + db);
                ca = sat8(ca + da);
            } else {
                cr = sat8(mul8(cr, ca) + dr);
                cg = sat8(mul8(cg, ca) + dg);
                cb = sat8(mul8(cb, ca) + db);
                ca = sat8(mul8(ca, ca) + da);
            }
        }
        const u4 packed = ((reinterpret_cast<u4>(ca) << 24) | (reinterpret_cast<u4>(cr) << 16) |
                           (reinterpret_cast<u4>(cg) << 8) | reinterpret_cast<u4>(cb)) &
                          store_mask;
        const u4 out = select(pass, packed, old);
        if (count == 4) {
            std::memcpy(crow + x, &out, sizeof(out));
        } else {
            for (int i = 0; i < count; ++i) crow[x + i] = out[i];
        }
        if constexpr (depth_mode == Depth::TestWrite) {
            const f4 new_depth = select(pass, depth, stored);
            if (count == 4) {
                std::memcpy(drow + x, &new_depth, sizeof(new_depth));
            } else {
                for (int i = 0; i < count; ++i) drow[x + i] = new_depth[i];
            }
        }
    }
}

template <int Index>
constexpr SpanFn kernel_at()
{
    using S = SpanStatesAt<Index>;
    return &span_fast<S::shader, S::bilinear, S::blend, S::depth>;
}

template <std::size_t... I>
constexpr std::array<SpanFn, sizeof...(I)> make_table(std::index_sequence<I...>)
{
    return {kernel_at<static_cast<int>(I)>()...};
}

constexpr std::array<SpanFn, kKernelCount> kKernels = make_table(std::make_index_sequence<kKernelCount>());

bool is_diffuse_arg(std::uint8_t arg, unsigned stage)
{
    return arg == D3DTA_DIFFUSE || (stage == 0 && arg == D3DTA_CURRENT);
}

// The source a stage operation computes, if it is one of the three the fast loops know.
bool classify(const StageOp& op, bool alpha, Source* out)
{
    (void)alpha;
    auto source_of = [](std::uint8_t arg, Source* s) {
        if (arg == D3DTA_TEXTURE) {
            *s = Source::Texture;
            return true;
        }
        if (is_diffuse_arg(arg, 0)) {
            *s = Source::Diffuse;
            return true;
        }
        return false;
    };
    switch (op.op) {
    case D3DTOP_SELECTARG1: return source_of(op.arg1, out);
    case D3DTOP_SELECTARG2: return source_of(op.arg2, out);
    case D3DTOP_MODULATE: {
        Source a, b;
        if (!source_of(op.arg1, &a) || !source_of(op.arg2, &b) || a == b) return false;
        *out = Source::TextureTimesDiffuse;
        return true;
    }
    default: return false;
    }
}

}  // namespace

int span_fast_index(const DrawConstants& k)
{
    if (k.color_kind != PixelKind::X8R8G8B8 && k.color_kind != PixelKind::A8R8G8B8) return -1;
    if (k.alpha_test || k.flat || k.stage_count > 1) return -1;
    Source color = Source::Diffuse;
    Source alpha = Source::Diffuse;
    bool bilinear = false;
    if (k.stage_count == 1) {
        const StageProgram& s = k.stages[0];
        if (!classify(s.color, false, &color)) return -1;
        if (!s.alpha_passthrough && !classify(s.alpha, true, &alpha)) return -1;
        if (color != Source::Diffuse || alpha != Source::Diffuse) {
            const TextureView& t = s.texture;
            if (!s.reads_texture || t.texels == nullptr) return -1;
            if ((t.width & (t.width - 1)) != 0 || (t.height & (t.height - 1)) != 0) return -1;
            if (t.address_u != D3DTADDRESS_WRAP || t.address_v != D3DTADDRESS_WRAP) return -1;
            bilinear = t.bilinear;
        }
    }
    int shader = -1;
    for (int i = 0; i < kShaderCount; ++i) {
        if (kShaders[i].first == color && kShaders[i].second == alpha) shader = i;
    }
    if (shader < 0) return -1;
    int blend = static_cast<int>(Blend::None);
    if (k.blend) {
        if (k.src_blend == D3DBLEND_SRCALPHA && k.dst_blend == D3DBLEND_INVSRCALPHA) {
            blend = static_cast<int>(Blend::Alpha);
        } else if (k.src_blend == D3DBLEND_ONE && k.dst_blend == D3DBLEND_ONE) {
            blend = static_cast<int>(Blend::Add);
        } else if (k.src_blend == D3DBLEND_SRCALPHA && k.dst_blend == D3DBLEND_ONE) {
            blend = static_cast<int>(Blend::AlphaAdd);
        } else if (!(k.src_blend == D3DBLEND_ONE && k.dst_blend == D3DBLEND_ZERO)) {
            return -1;
        }
    }
    int depth = static_cast<int>(Depth::Off);
    if (k.depth_mode != DepthMode::Off) {
        if (k.depth_func == D3DCMP_ALWAYS && !k.depth_write) {
            depth = static_cast<int>(Depth::Off);
        } else if (k.depth_func != D3DCMP_LESSEQUAL) {
            return -1;
        } else {
            depth = static_cast<int>(k.depth_write ? Depth::TestWrite : Depth::Test);
        }
    }
    // The loops test the depth range where they test depth; a draw that skips the depth test keeps it.
    if (k.reject_outside_depth_range && depth == static_cast<int>(Depth::Off)) return -1;
    return kernel_index(shader, bilinear, blend, depth);
}

bool span_kernel_is_specialised(const DrawConstants& k)
{
    return span_fast_index(k) >= 0;
}

SpanFn span_kernel_of_width(const DrawConstants& k, SpanWidth width)
{
    const int index = span_fast_index(k);
    if (index < 0) return nullptr;
    if (width == SpanWidth::Eight) return span_fast_avx2_at(index);
    return kKernels[static_cast<std::size_t>(index)];
}

SpanFn select_span_kernel(const DrawConstants& k, bool allow_specialised)
{
    if (allow_specialised) {
        if (const SpanFn wide = span_kernel_of_width(k, SpanWidth::Eight)) return wide;
        if (const SpanFn narrow = span_kernel_of_width(k, SpanWidth::Four)) return narrow;
    }
    return &span_generic;
}

}  // namespace soft
