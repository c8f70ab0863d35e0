// Specialised pixel loops for the frequent state combinations, and the choice between them and the
// generic loop. Each loop is the generic one with the state fixed at compile time: the same helpers from
// pixel_ops.h and texture_sampler.h compute every value, so the pixels are identical.
#include <array>
#include <utility>

#include "platform/d3d/soft/pixel_ops.h"
#include "platform/d3d/soft/span_kernels.h"

namespace soft {
namespace {

enum class Source : int { Diffuse, Texture, TextureTimesDiffuse };
enum class Blend : int { None, Alpha, Add, AlphaAdd };
enum class Depth : int { Off, TestWrite, Test };

// The shader combinations with their own loops: (colour source, alpha source).
constexpr std::pair<Source, Source> kShaders[] = {
    {Source::Diffuse, Source::Diffuse},
    {Source::Texture, Source::Diffuse},
    {Source::Texture, Source::Texture},
    {Source::TextureTimesDiffuse, Source::Diffuse},
    {Source::TextureTimesDiffuse, Source::TextureTimesDiffuse},
    {Source::TextureTimesDiffuse, Source::Texture},
    {Source::Diffuse, Source::TextureTimesDiffuse},
};
constexpr int kShaderCount = static_cast<int>(sizeof(kShaders) / sizeof(kShaders[0]));
constexpr int kBlendCount = 4;
constexpr int kDepthCount = 3;

template <int Shader, bool Bilinear, int BlendMode, int DepthMode_>
void span_fast(const DrawConstants& k, const SetupTriangle& t, int y, int x0, int x1)
{
    constexpr Source color_source = kShaders[Shader].first;
    constexpr Source alpha_source = kShaders[Shader].second;
    constexpr bool textured = color_source != Source::Diffuse || alpha_source != Source::Diffuse;
    constexpr Blend blend_mode = static_cast<Blend>(BlendMode);
    constexpr Depth depth_mode = static_cast<Depth>(DepthMode_);

    const float dy = static_cast<float>(y) - t.oy;
    const float q_row = t.q.c + t.q.b * dy;
    const float z_row = t.depth.c + t.depth.b * dy;
    float attr_row[kAttributes];
    for (unsigned i = 0; i < kAttributes; ++i) attr_row[i] = t.attr[i].c + t.attr[i].b * dy;
    std::uint32_t* crow = reinterpret_cast<std::uint32_t*>(k.color + static_cast<std::ptrdiff_t>(y) * k.color_pitch);
    float* drow = depth_mode != Depth::Off ? k.depth + static_cast<std::ptrdiff_t>(y) * k.depth_pitch : nullptr;
    const TextureView& tex = k.stages[0].texture;
    const bool use_w = k.depth_mode == DepthMode::W;
    const bool specular = k.specular_add;

    for (int x = x0; x < x1; ++x) {
        const float dx = static_cast<float>(x) - t.ox;
        const float q = q_row + t.q.a * dx;
        const float w = 1.0f / q;
        float depth = 0.0f;
        if constexpr (depth_mode != Depth::Off) {
            depth = clamp01(use_w ? w * k.inv_w_far : z_row + t.depth.a * dx);
            if (!(depth <= drow[x])) continue;
        }
        Rgba texel{0, 0, 0, 0};
        if constexpr (textured) {
            const float u = (attr_row[kAttrTex] + t.attr[kAttrTex].a * dx) * w;
            const float v = (attr_row[kAttrTex + 1] + t.attr[kAttrTex + 1].a * dx) * w;
            texel = unpack(Bilinear ? sample_bilinear_wrap_pow2(tex, u, v) : sample_point_wrap_pow2(tex, u, v));
        }
        Rgba diffuse{0, 0, 0, 0};
        if constexpr (color_source != Source::Texture) {
            diffuse.r = to8((attr_row[kAttrDiffuse] + t.attr[kAttrDiffuse].a * dx) * w);
            diffuse.g = to8((attr_row[kAttrDiffuse + 1] + t.attr[kAttrDiffuse + 1].a * dx) * w);
            diffuse.b = to8((attr_row[kAttrDiffuse + 2] + t.attr[kAttrDiffuse + 2].a * dx) * w);
        }
        if constexpr (alpha_source != Source::Texture) {
            diffuse.a = to8((attr_row[kAttrDiffuse + 3] + t.attr[kAttrDiffuse + 3].a * dx) * w);
        }
        Rgba c;
        if constexpr (color_source == Source::Diffuse) {
            c.r = diffuse.r;
            c.g = diffuse.g;
            c.b = diffuse.b;
        } else if constexpr (color_source == Source::Texture) {
            c.r = texel.r;
            c.g = texel.g;
            c.b = texel.b;
        } else {
            c.r = mul8(texel.r, diffuse.r);
            c.g = mul8(texel.g, diffuse.g);
            c.b = mul8(texel.b, diffuse.b);
        }
        if constexpr (alpha_source == Source::Diffuse) {
            c.a = diffuse.a;
        } else if constexpr (alpha_source == Source::Texture) {
            c.a = texel.a;
        } else {
            c.a = mul8(texel.a, diffuse.a);
        }
        if (specular) {
            c.r = sat8(c.r + to8((attr_row[kAttrSpecular] + t.attr[kAttrSpecular].a * dx) * w));
            c.g = sat8(c.g + to8((attr_row[kAttrSpecular + 1] + t.attr[kAttrSpecular + 1].a * dx) * w));
            c.b = sat8(c.b + to8((attr_row[kAttrSpecular + 2] + t.attr[kAttrSpecular + 2].a * dx) * w));
        }
        if constexpr (blend_mode != Blend::None) {
            const Rgba d = unpack(crow[x] | (k.target_alpha ? 0u : 0xFF000000u));
            if constexpr (blend_mode == Blend::Alpha) {
                const int ia = 255 - c.a;
                c = Rgba{sat8(mul8(c.r, c.a) + mul8(d.r, ia)), sat8(mul8(c.g, c.a) + mul8(d.g, ia)),
                         sat8(mul8(c.b, c.a) + mul8(d.b, ia)), sat8(mul8(c.a, c.a) + mul8(d.a, ia))};
            } else if constexpr (blend_mode == Blend::Add) {
                c = Rgba{sat8(c.r + d.r), sat8(c.g + d.g), sat8(c.b + d.b), sat8(c.a + d.a)};
            } else {
                c = Rgba{sat8(mul8(c.r, c.a) + d.r), sat8(mul8(c.g, c.a) + d.g), sat8(mul8(c.b, c.a) + d.b),
                         sat8(mul8(c.a, c.a) + d.a)};
            }
        }
        crow[x] = target32_bits(k.target_alpha, pack(c));
        if constexpr (depth_mode == Depth::TestWrite) drow[x] = depth;
    }
}

constexpr int kKernelCount = kShaderCount * 2 * kBlendCount * kDepthCount;

constexpr int kernel_index(int shader, bool bilinear, int blend, int depth)
{
    return ((shader * 2 + (bilinear ? 1 : 0)) * kBlendCount + blend) * kDepthCount + depth;
}

template <int Index>
constexpr SpanFn kernel_at()
{
    constexpr int depth = Index % kDepthCount;
    constexpr int blend = (Index / kDepthCount) % kBlendCount;
    constexpr bool bilinear = ((Index / kDepthCount / kBlendCount) % 2) != 0;
    constexpr int shader = Index / kDepthCount / kBlendCount / 2;
    return &span_fast<shader, bilinear, blend, depth>;
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

int kernel_for(const DrawConstants& k)
{
    if (k.color_kind != PixelKind::X8R8G8B8 && k.color_kind != PixelKind::A8R8G8B8) return -1;
    if (k.alpha_test || k.flat || k.stage_count > 1 || k.reject_outside_depth_range) return -1;
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
    return kernel_index(shader, bilinear, blend, depth);
}

}  // namespace

bool span_kernel_is_specialised(const DrawConstants& k)
{
    return kernel_for(k) >= 0;
}

SpanFn select_span_kernel(const DrawConstants& k, bool allow_specialised)
{
    if (allow_specialised) {
        const int index = kernel_for(k);
        if (index >= 0) return kKernels[static_cast<std::size_t>(index)];
    }
    return &span_generic;
}

}  // namespace soft
