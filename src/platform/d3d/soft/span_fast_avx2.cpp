// The specialised pixel loops eight pixels at a time, for processors with AVX2: the loops of
// span_fast.cpp for the same state combinations at the same table indices, on the eight-lane
// arithmetic of simd8.h, which computes every value exactly as the four-lane and scalar forms do, so
// the pixels are identical. Colours stay packed four channels to a lane from the texel to the store:
// products run two channels at a time in 16-bit halves, and min(255, a + b) of two channels is the
// saturating byte add. Partial groups at the end of a span use masked loads and stores, so memory
// outside the span is never touched. Only this file is compiled for AVX2; the choice is made at run
// time (span_fast_avx2_at).
#include <array>
#include <cstring>
#include <utility>

#include "platform/d3d/soft/span_fast_states.h"
#include "platform/d3d/soft/span_kernels.h"
#include "platform/d3d/soft/span_shade8.h"
#include "platform/d3d/soft/avx2_region.h"

SOFT_AVX2_BEGIN

namespace soft {
namespace {

template <int Shader, bool Bilinear, int BlendMode, int DepthMode_>
void span_fast8(const DrawConstants& k, const SetupTriangle& t, int y, int x0, int x1)
{
    using namespace simd8;
    constexpr Depth depth_mode = static_cast<Depth>(DepthMode_);
    constexpr bool overwrite = static_cast<Blend>(BlendMode) == Blend::None;

    const float dy = static_cast<float>(y) - t.oy;
    const bool specular = k.specular_add;
    Interpolants8 ip;
    prepare8<Shader>(t, splat(dy), specular, &ip);
    std::uint32_t* crow = reinterpret_cast<std::uint32_t*>(k.color + static_cast<std::ptrdiff_t>(y) * k.color_pitch);
    float* drow = depth_mode != Depth::Off ? k.depth + static_cast<std::ptrdiff_t>(y) * k.depth_pitch : nullptr;
    const TextureView& tex = k.stages[0].texture;
    const bool use_w = k.depth_mode == DepthMode::W;
    const f8 inv_w_far = splat(k.inv_w_far);
    const u8 keep_alpha = splat_u(k.target_alpha ? 0u : 0xFF000000u);
    const u8 store_mask = splat_u(k.target_alpha ? 0xFFFFFFFFu : 0x00FFFFFFu);
    const f8 lane = f8{0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f};
    const i8 lane_i = i8{0, 1, 2, 3, 4, 5, 6, 7};
    for (int x = x0; x < x1; x += 8) {
        const int count = x1 - x < 8 ? x1 - x : 8;
        const i8 active = lane_i < splat_i(count);
        const f8 dx = splat(static_cast<float>(x)) + lane - splat(t.ox);
        const f8 q = ip.q_row + ip.q_a * dx;
        const f8 w = splat(1.0f) / q;
        f8 depth = splat(0.0f);
        i8 pass = active;
        f8 stored = splat(0.0f);
        if constexpr (depth_mode != Depth::Off) {
            const f8 z = ip.z_row + ip.z_a * dx;
            if (k.reject_outside_depth_range) pass &= ~((z < splat(0.0f)) | (z > splat(1.0f)));
            const f8 raw_depth = use_w ? w * inv_w_far : z;
            depth = select(raw_depth > splat(0.0f), select(raw_depth < splat(1.0f), raw_depth, splat(1.0f)),
                           splat(0.0f));
            if (count == 8) {
                std::memcpy(&stored, drow + x, sizeof(stored));
            } else {
                stored = reinterpret_cast<f8>(_mm256_maskload_ps(drow + x, raw(active)));
            }
            pass &= depth <= stored;
            if (none(pass)) continue;
        }
        if constexpr (overwrite) {
            // Without blending the target is only written: every passing lane, and no other.
            const u8 packed = shade8<Shader, Bilinear, BlendMode>(ip, tex, dx, w, splat_u(0), keep_alpha, specular) &
                              store_mask;
            if (_mm256_movemask_ps(reinterpret_cast<__m256>(pass)) == 0xFF) {
                std::memcpy(crow + x, &packed, sizeof(packed));
            } else {
                _mm256_maskstore_epi32(reinterpret_cast<int*>(crow + x), raw(pass), raw(packed));
            }
        } else {
            u8 old;
            if (count == 8) {
                std::memcpy(&old, crow + x, sizeof(old));
            } else {
                old = reinterpret_cast<u8>(_mm256_maskload_epi32(reinterpret_cast<const int*>(crow + x), raw(active)));
            }
            const u8 blended = shade8<Shader, Bilinear, BlendMode>(ip, tex, dx, w, old, keep_alpha, specular);
            const u8 out = select(pass, blended & store_mask, old);
            if (count == 8) {
                std::memcpy(crow + x, &out, sizeof(out));
            } else {
                _mm256_maskstore_epi32(reinterpret_cast<int*>(crow + x), raw(active), raw(out));
            }
        }
        if constexpr (depth_mode == Depth::TestWrite) {
            const f8 new_depth = select(pass, depth, stored);
            if (count == 8) {
                std::memcpy(drow + x, &new_depth, sizeof(new_depth));
            } else {
                _mm256_maskstore_ps(drow + x, raw(active), reinterpret_cast<__m256>(new_depth));
            }
        }
    }
}

template <int Index>
constexpr SpanFn kernel_at()
{
    using S = SpanStatesAt<Index>;
    return &span_fast8<S::shader, S::bilinear, S::blend, S::depth>;
}

template <std::size_t... I>
constexpr std::array<SpanFn, sizeof...(I)> make_table(std::index_sequence<I...>)
{
    return {kernel_at<static_cast<int>(I)>()...};
}

constexpr std::array<SpanFn, kKernelCount> kKernels8 = make_table(std::make_index_sequence<kKernelCount>());

}  // namespace
}  // namespace soft

SOFT_AVX2_END

namespace soft {

SpanFn span_fast_avx2_at(int index)
{
    if (!cpu_has_avx2() || index < 0 || index >= kKernelCount) return nullptr;
    return kKernels8[static_cast<std::size_t>(index)];
}

}  // namespace soft
