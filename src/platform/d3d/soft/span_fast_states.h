// The state combinations that have specialised pixel loops, shared by the four-lane loops
// (span_fast.cpp) and the eight-lane ones (span_fast_avx2.cpp): the colour and alpha sources of the one
// texture stage, the blend and the depth test, and the index of a combination in either loop table.
// Both tables hold the same combinations at the same indices, so the choice of a loop for a draw is
// made once, here, and only the lane count differs.
#pragma once

#include <utility>

#include "platform/d3d/soft/draw_constants.h"
#include "platform/d3d/soft/span_kernels.h"

namespace soft {

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
    {Source::Texture, Source::TextureTimesDiffuse},
};
constexpr int kShaderCount = static_cast<int>(sizeof(kShaders) / sizeof(kShaders[0]));
constexpr int kBlendCount = 4;
constexpr int kDepthCount = 3;
constexpr int kKernelCount = kShaderCount * 2 * kBlendCount * kDepthCount;

// The state combination that stands at a table index (the inverse of the index below): every family
// of specialised loops builds its table from it, so all of them share one order.
template <int Index>
struct SpanStatesAt {
    static constexpr int depth = Index % kDepthCount;
    static constexpr int blend = (Index / kDepthCount) % kBlendCount;
    static constexpr bool bilinear = ((Index / kDepthCount / kBlendCount) % 2) != 0;
    static constexpr int shader = Index / kDepthCount / kBlendCount / 2;
};

constexpr int kernel_index(int shader, bool bilinear, int blend, int depth)
{
    return ((shader * 2 + (bilinear ? 1 : 0)) * kBlendCount + blend) * kDepthCount + depth;
}

// The combination a draw's state is, or -1 when only the generic loop can draw it.
int span_fast_index(const DrawConstants& k);

// The eight-lane loop of a combination; nullptr where the processor lacks AVX2.
SpanFn span_fast_avx2_at(int index);

}  // namespace soft
