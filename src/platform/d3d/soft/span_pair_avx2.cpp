// The specialised pixel loops two rows at a time, for processors with AVX2: lanes 0–3 are four pixels
// of row y and lanes 4–7 four pixels of row y + 1, each row's from the start of its own span, so a
// triangle only a few pixels wide fills the eight lanes that a one-row loop would mostly leave idle. The shading is span_shade8.h's, the same
// per lane as the one-row loops (each lane gets its own row's plane values), so the pixels are those
// of the generic loop. Loads and stores are masked per row: nothing outside the two spans is touched.
// Only this file and span_fast_avx2.cpp are compiled for AVX2; the choice is made at run time.
#include <algorithm>
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

using namespace simd8;

// Two 4-lane halves loaded or stored through their own row's pointer.
inline u8 load_pair(const std::uint32_t* r0, const std::uint32_t* r1, int x, i8 active)
{
    const __m256i m = raw(active);
    const __m128i lo = _mm_maskload_epi32(reinterpret_cast<const int*>(r0 + x), _mm256_castsi256_si128(m));
    const __m128i hi = _mm_maskload_epi32(reinterpret_cast<const int*>(r1 + x), _mm256_extracti128_si256(m, 1));
    return reinterpret_cast<u8>(_mm256_set_m128i(hi, lo));
}

inline void store_pair(std::uint32_t* r0, std::uint32_t* r1, int x, i8 active, u8 v)
{
    const __m256i m = raw(active);
    const __m256i d = raw(v);
    _mm_maskstore_epi32(reinterpret_cast<int*>(r0 + x), _mm256_castsi256_si128(m), _mm256_castsi256_si128(d));
    _mm_maskstore_epi32(reinterpret_cast<int*>(r1 + x), _mm256_extracti128_si256(m, 1), _mm256_extracti128_si256(d, 1));
}

inline f8 load_pair(const float* r0, const float* r1, int x, i8 active)
{
    const __m256i m = raw(active);
    const __m128 lo = _mm_maskload_ps(r0 + x, _mm256_castsi256_si128(m));
    const __m128 hi = _mm_maskload_ps(r1 + x, _mm256_extracti128_si256(m, 1));
    return reinterpret_cast<f8>(_mm256_set_m128(hi, lo));
}

inline void store_pair(float* r0, float* r1, int x, i8 active, f8 v)
{
    const __m256i m = raw(active);
    const __m256 d = reinterpret_cast<__m256>(v);
    _mm_maskstore_ps(r0 + x, _mm256_castsi256_si128(m), _mm256_castps256_ps128(d));
    _mm_maskstore_ps(r1 + x, _mm256_extracti128_si256(m, 1), _mm256_extractf128_ps(d, 1));
}

template <int Shader, bool Bilinear, int BlendMode, int DepthMode_>
void span_pair8(const DrawConstants& k, const SetupTriangle& t, int y, const int* x0, const int* x1)
{
    constexpr Depth depth_mode = static_cast<Depth>(DepthMode_);
    // Each row's lanes start at its own span's first pixel, so two short spans that do not line up
    // still share one group of lanes; a row without pixels keeps its lanes off.
    const int w0 = x1[0] > x0[0] ? x1[0] - x0[0] : 0;
    const int w1 = x1[1] > x0[1] ? x1[1] - x0[1] : 0;
    if (w0 == 0 && w1 == 0) return;
    const int start0 = w0 > 0 ? x0[0] : x0[1];
    const int start1 = w1 > 0 ? x0[1] : x0[0];
    const int groups = ((w0 > w1 ? w0 : w1) + 3) / 4;
    const i8 width = i8{w0, w0, w0, w0, w1, w1, w1, w1};

    const float dy0 = static_cast<float>(y) - t.oy;
    const float dy1 = static_cast<float>(y + 1) - t.oy;
    const bool specular = k.specular_add;
    Interpolants8 ip;
    prepare8<Shader>(t, f8{dy0, dy0, dy0, dy0, dy1, dy1, dy1, dy1}, specular, &ip);
    // A row without pixels never has an active lane; its pointer stands in for the other row's.
    const int y0 = w0 > 0 ? y : y + 1;
    const int y1 = w1 > 0 ? y + 1 : y;
    std::uint32_t* crow0 = reinterpret_cast<std::uint32_t*>(k.color + static_cast<std::ptrdiff_t>(y0) * k.color_pitch);
    std::uint32_t* crow1 = reinterpret_cast<std::uint32_t*>(k.color + static_cast<std::ptrdiff_t>(y1) * k.color_pitch);
    float* drow0 = depth_mode != Depth::Off ? k.depth + static_cast<std::ptrdiff_t>(y0) * k.depth_pitch : nullptr;
    float* drow1 = depth_mode != Depth::Off ? k.depth + static_cast<std::ptrdiff_t>(y1) * k.depth_pitch : nullptr;
    const TextureView& tex = k.stages[0].texture;
    const bool use_w = k.depth_mode == DepthMode::W;
    const f8 inv_w_far = splat(k.inv_w_far);
    const u8 keep_alpha = splat_u(k.target_alpha ? 0u : 0xFF000000u);
    const u8 store_mask = splat_u(k.target_alpha ? 0xFFFFFFFFu : 0x00FFFFFFu);
    const i8 column_i = i8{0, 1, 2, 3, 0, 1, 2, 3};
    const f8 start = f8{static_cast<float>(start0), static_cast<float>(start0), static_cast<float>(start0),
                        static_cast<float>(start0), static_cast<float>(start1), static_cast<float>(start1),
                        static_cast<float>(start1), static_cast<float>(start1)};
    for (int g = 0; g < groups; ++g) {
        const int offset = 4 * g;
        const i8 column = splat_i(offset) + column_i;
        const i8 active = column < width;
        // start + column is exact (pixel coordinates are far below 2²⁴), so each lane's dx is its
        // pixel's x minus the origin, as the one-row loops compute it.
        const f8 dx = start + to_float(column) - splat(t.ox);
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
            stored = load_pair(drow0 + start0, drow1 + start1, offset, active);
            pass &= depth <= stored;
            if (none(pass)) continue;
        }
        // Without blending the target is only written.
        const u8 old = static_cast<Blend>(BlendMode) == Blend::None ? splat_u(0)
                                                                    : load_pair(crow0 + start0, crow1 + start1, offset, active);
        const u8 blended = shade8<Shader, Bilinear, BlendMode>(ip, tex, dx, w, old, keep_alpha, specular);
        store_pair(crow0 + start0, crow1 + start1, offset, pass, blended & store_mask);
        if constexpr (depth_mode == Depth::TestWrite) store_pair(drow0 + start0, drow1 + start1, offset, pass, depth);
    }
}

template <int Index>
constexpr SpanPairFn kernel_at()
{
    using S = SpanStatesAt<Index>;
    return &span_pair8<S::shader, S::bilinear, S::blend, S::depth>;
}

template <std::size_t... I>
constexpr std::array<SpanPairFn, sizeof...(I)> make_table(std::index_sequence<I...>)
{
    return {kernel_at<static_cast<int>(I)>()...};
}

constexpr std::array<SpanPairFn, kKernelCount> kPairKernels = make_table(std::make_index_sequence<kKernelCount>());

}  // namespace
}  // namespace soft

SOFT_AVX2_END

namespace soft {

SpanPairFn select_span_pair_kernel(const DrawConstants& k, bool allow_specialised)
{
    if (!cpu_has_avx2() || !allow_specialised) return nullptr;
    const int index = span_fast_index(k);
    if (index < 0) return nullptr;
    return kPairKernels[static_cast<std::size_t>(index)];
}

}  // namespace soft
