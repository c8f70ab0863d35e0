// The specialised pixel loops against the generic one, bit for bit: every state combination that has
// a specialised loop (colour and alpha source, point or bilinear filter, each blend, each depth test,
// with and without target alpha and specular add) draws random triangles with random colours,
// texture coordinates (some far outside the texture, some not finite), depths and 1/w into a random
// target and depth buffer through the generic loop, the four-lane loop and, where the processor has
// AVX2, the eight-lane loop and the two-row loop. The whole colour surface (its row padding included) and the depth buffer
// must come out the same, so a loop that shades a pixel differently, writes outside its span or skips
// a partial group fails.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "platform/d3d/d3d_states.h"
#include "platform/d3d/soft/avx2_region.h"
#include "platform/d3d/soft/span_kernels.h"
#include "platform/d3d/soft/triangle_setup.h"

namespace {

using namespace soft;

constexpr int kWidth = 45;
constexpr int kHeight = 29;
constexpr int kPitch = kWidth + 3;  // in pixels: padding the loops must never touch

enum class Src { Diffuse, Texture, Modulate, Passthrough };

StageOp op_of(Src s)
{
    switch (s) {
    case Src::Diffuse: return StageOp{D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_CURRENT};
    case Src::Texture: return StageOp{D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    case Src::Modulate: return StageOp{D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    case Src::Passthrough: break;
    }
    return StageOp{};
}

struct Surfaces {
    std::vector<std::uint32_t> color;
    std::vector<float> depth;
};

struct Case {
    DrawConstants k;
    std::vector<std::uint32_t> texels;
    std::vector<SetupTriangle> triangles;
    Surfaces start;
};

float uniform(std::mt19937& rng, float lo, float hi)
{
    return std::uniform_real_distribution<float>(lo, hi)(rng);
}

// A random target, depth buffer, texture and triangles for the given state.
void fill_case(std::mt19937& rng, Case* c)
{
    DrawConstants& k = c->k;
    c->start.color.resize(static_cast<std::size_t>(kPitch) * kHeight);
    c->start.depth.resize(static_cast<std::size_t>(kPitch) * kHeight);
    for (std::uint32_t& p : c->start.color) p = static_cast<std::uint32_t>(rng());
    for (float& d : c->start.depth) d = uniform(rng, 0.0f, 1.0f);
    k.color_pitch = kPitch * 4;
    k.depth_pitch = kPitch;
    k.scissor_x0 = static_cast<int>(rng() % 4);
    k.scissor_y0 = static_cast<int>(rng() % 4);
    k.scissor_x1 = kWidth - static_cast<int>(rng() % 4);
    k.scissor_y1 = kHeight - static_cast<int>(rng() % 4);
    k.inv_w_far = uniform(rng, 0.05f, 1.5f);

    TextureView& t = k.stages[0].texture;
    t.width = 1 << (rng() % 8);
    t.height = 1 << (rng() % 8);
    t.pitch = t.width + static_cast<int>(rng() % 3);
    c->texels.resize(static_cast<std::size_t>(t.pitch) * t.height);
    for (std::uint32_t& texel : c->texels) texel = static_cast<std::uint32_t>(rng());
    t.texels = c->texels.data();
    t.alpha_or = rng() % 2 ? 0xFF000000u : 0u;
    t.address_u = D3DTADDRESS_WRAP;
    t.address_v = D3DTADDRESS_WRAP;

    for (int n = 0; n < 6; ++n) {
        ScreenVertex v[3];
        for (ScreenVertex& s : v) {
            s.x = uniform(rng, -8.0f, kWidth + 8.0f);
            s.y = uniform(rng, -8.0f, kHeight + 8.0f);
            s.q = uniform(rng, 0.05f, 3.0f);
            s.depth = uniform(rng, -0.3f, 1.3f);
            for (unsigned i = 0; i < kAttrTex; ++i) s.attr[i] = uniform(rng, -30.0f, 290.0f) * s.q;
            const float range = rng() % 4 == 0 ? 5.0e7f : 6.0f;
            for (unsigned i = kAttrTex; i < kAttributes; ++i) s.attr[i] = uniform(rng, -range, range) * s.q;
        }
        if (rng() % 40 == 0) v[0].attr[kAttrTex] = std::numeric_limits<float>::infinity();
        SetupTriangle setup;
        if (setup_triangle(v[0], v[1], v[2], v[0], CullSign::None, k, &setup)) c->triangles.push_back(setup);
    }
}

Surfaces draw(const Case& c, SpanFn span)
{
    Surfaces s = c.start;
    DrawConstants k = c.k;
    k.color = reinterpret_cast<BYTE*>(s.color.data());
    k.depth = k.depth_mode != DepthMode::Off ? s.depth.data() : nullptr;
    for (const SetupTriangle& t : c.triangles) {
        for (int y = t.y0; y < t.y1; ++y) {
            int x0, x1;
            if (triangle_row_span(t, y, t.x0, t.x1, &x0, &x1)) span(k, t, y, x0, x1);
        }
    }
    return s;
}

// The same triangles two rows at a time; every third pair leaves its first row out and draws it alone
// afterwards, so pairs with only their second row (and lone rows at a triangle's bottom) are drawn too.
Surfaces draw_pairs(const Case& c, SpanPairFn pair, SpanFn span)
{
    Surfaces s = c.start;
    DrawConstants k = c.k;
    k.color = reinterpret_cast<BYTE*>(s.color.data());
    k.depth = k.depth_mode != DepthMode::Off ? s.depth.data() : nullptr;
    int n = 0;
    for (const SetupTriangle& t : c.triangles) {
        for (int y = t.y0; y < t.y1; y += 2) {
            int x0[2] = {0, 0};
            int x1[2] = {0, 0};
            if (!triangle_row_span(t, y, t.x0, t.x1, &x0[0], &x1[0])) x0[0] = x1[0] = 0;
            if (y + 1 >= t.y1 || !triangle_row_span(t, y + 1, t.x0, t.x1, &x0[1], &x1[1])) x0[1] = x1[1] = 0;
            const bool split = ++n % 3 == 0 && x0[0] < x1[0];
            const int first[2] = {x0[0], x1[0]};
            if (split) x1[0] = x0[0];
            pair(k, t, y, x0, x1);
            if (split) span(k, t, y, first[0], first[1]);
        }
    }
    return s;
}

long differing_pixels(const Surfaces& a, const Surfaces& b)
{
    long n = 0;
    for (std::size_t i = 0; i < a.color.size(); ++i) {
        n += a.color[i] != b.color[i] || std::memcmp(&a.depth[i], &b.depth[i], sizeof(float)) != 0 ? 1 : 0;
    }
    return n;
}

TEST(SoftSpanKernels, EveryLoopDrawsTheGenericLoopsPixels)
{
    std::mt19937 rng(20261208);
    const bool eight_lanes = cpu_has_avx2();
    int specialised = 0;
    const Src colors[] = {Src::Diffuse, Src::Texture, Src::Modulate};
    const Src alphas[] = {Src::Diffuse, Src::Texture, Src::Modulate, Src::Passthrough};
    for (Src color : colors) {
        for (Src alpha : alphas) {
            for (int bilinear = 0; bilinear < 2; ++bilinear) {
                for (int blend = 0; blend < 5; ++blend) {
                    for (int depth = 0; depth < 5; ++depth) {
                        for (int flags = 0; flags < 8; ++flags) {
                            Case c;
                            DrawConstants& k = c.k;
                            const bool textured = color != Src::Diffuse || alpha == Src::Texture || alpha == Src::Modulate;
                            k.stage_count = textured || rng() % 2 ? 1 : 0;
                            StageProgram& s = k.stages[0];
                            s.color = op_of(color);
                            s.alpha = op_of(alpha);
                            s.alpha_passthrough = alpha == Src::Passthrough;
                            s.reads_texture = textured;
                            s.texture.bilinear = bilinear != 0;
                            k.target_alpha = (flags & 1) != 0;
                            k.color_kind = k.target_alpha ? PixelKind::A8R8G8B8 : PixelKind::X8R8G8B8;
                            k.specular_add = (flags & 2) != 0;
                            k.reject_outside_depth_range = (flags & 4) != 0;
                            k.blend = blend != 0;
                            const std::uint8_t factors[5][2] = {{D3DBLEND_ONE, D3DBLEND_ZERO},
                                                                {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                                                {D3DBLEND_ONE, D3DBLEND_ONE},
                                                                {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                                                                {D3DBLEND_ONE, D3DBLEND_ZERO}};
                            k.src_blend = factors[blend][0];
                            k.dst_blend = factors[blend][1];
                            k.depth_mode = depth == 0 ? DepthMode::Off : (depth == 3 ? DepthMode::W : DepthMode::Z);
                            k.depth_func = depth == 4 ? D3DCMP_ALWAYS : D3DCMP_LESSEQUAL;
                            k.depth_write = depth == 1 || depth == 3;
                            fill_case(rng, &c);
                            const SpanFn four = span_kernel_of_width(k, SpanWidth::Four);
                            const SpanFn eight = span_kernel_of_width(k, SpanWidth::Eight);
                            EXPECT_EQ(four == nullptr, eight == nullptr || !eight_lanes);
                            if (four == nullptr) continue;
                            ++specialised;
                            const Surfaces reference = draw(c, &span_generic);
                            EXPECT_EQ(differing_pixels(draw(c, four), reference), 0)
                                << "four lanes: colour " << static_cast<int>(color) << " alpha " << static_cast<int>(alpha)
                                << " bilinear " << bilinear << " blend " << blend << " depth " << depth << " flags " << flags;
                            if (eight_lanes) {
                                ASSERT_NE(eight, nullptr);
                                EXPECT_EQ(differing_pixels(draw(c, eight), reference), 0)
                                    << "eight lanes: colour " << static_cast<int>(color) << " alpha "
                                    << static_cast<int>(alpha) << " bilinear " << bilinear << " blend " << blend
                                    << " depth " << depth << " flags " << flags;
                                const SpanPairFn pair = select_span_pair_kernel(k, true);
                                ASSERT_NE(pair, nullptr);
                                EXPECT_EQ(differing_pixels(draw_pairs(c, pair, four), reference), 0)
                                    << "two rows: colour " << static_cast<int>(color) << " alpha "
                                    << static_cast<int>(alpha) << " bilinear " << bilinear << " blend " << blend
                                    << " depth " << depth << " flags " << flags;
                            }
                        }
                    }
                }
            }
        }
    }
    // Of the 12 source pairs, 11 have loops (the passthrough alpha reads as diffuse); the depth-range
    // test has them only where the depth test runs (3 of the 5 depth cases).
    EXPECT_EQ(specialised, 11 * 2 * 5 * (5 * 4 + 3 * 4));
}

TEST(SoftSpanKernels, StatesWithoutALoopGetTheGenericOne)
{
    DrawConstants k;
    k.stage_count = 1;
    k.stages[0].color = StageOp{D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    k.stages[0].alpha_passthrough = true;
    k.stages[0].reads_texture = true;
    std::uint32_t texel = 0;
    k.stages[0].texture.texels = &texel;
    k.stages[0].texture.width = 1;
    k.stages[0].texture.height = 1;
    EXPECT_EQ(span_kernel_of_width(k, SpanWidth::Four), nullptr);
    EXPECT_EQ(span_kernel_of_width(k, SpanWidth::Eight), nullptr);
    EXPECT_EQ(select_span_kernel(k, true), &span_generic);
    EXPECT_EQ(select_span_pair_kernel(k, true), nullptr);
    k.stages[0].color = StageOp{D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    EXPECT_NE(select_span_kernel(k, true), &span_generic);
    EXPECT_EQ(select_span_kernel(k, false), &span_generic);
    EXPECT_EQ(select_span_pair_kernel(k, false), nullptr);
    k.stages[0].texture.width = 3;  // not a power of two
    EXPECT_EQ(select_span_kernel(k, true), &span_generic);
}

}  // namespace
