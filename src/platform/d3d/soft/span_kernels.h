// The pixel loops of the software backend: one generic loop that honours every state, and specialised
// loops for the state combinations drawn most (untextured Gouraud; one point or bilinear texture
// selected or modulated with the diffuse colour; no blending, alpha blending, additive and
// alpha-additive blending; depth off or LESSEQUAL with and without writes, z or w, with or without the
// depth-range test of pre-transformed vertices). A span is the run of
// covered pixels of one triangle on one row; the loop shades, tests, blends and writes them.
#pragma once

#include "platform/d3d/soft/draw_constants.h"
#include "platform/d3d/soft/triangle_setup.h"

namespace soft {

using SpanFn = void (*)(const DrawConstants& k, const SetupTriangle& t, int y, int x0, int x1);

// The loop for a draw: a specialised one when the state allows and allow_specialised is set (eight
// lanes where the processor has AVX2, else four), else the generic one. Every choice gives the same
// pixels.
SpanFn select_span_kernel(const DrawConstants& k, bool allow_specialised);

// Whether select_span_kernel would pick a specialised loop (for tests and benchmarks).
bool span_kernel_is_specialised(const DrawConstants& k);

// The specialised loop of the given lane count for a draw; nullptr when the state has none, or for
// eight lanes when the processor lacks AVX2 (for tests and benchmarks).
enum class SpanWidth { Four, Eight };
SpanFn span_kernel_of_width(const DrawConstants& k, SpanWidth width);

// Two rows at once: row y draws [x0[0], x1[0]) and row y + 1 draws [x0[1], x1[1]) (an empty range
// draws nothing on its row). The same pixels as a SpanFn on each row; cheaper for narrow spans.
using SpanPairFn = void (*)(const DrawConstants& k, const SetupTriangle& t, int y, const int* x0, const int* x1);

// The two-row loop for a draw, when allow_specialised is set, the state has a specialised loop and the
// processor has AVX2; else nullptr (draw row by row).
SpanPairFn select_span_pair_kernel(const DrawConstants& k, bool allow_specialised);

void span_generic(const DrawConstants& k, const SetupTriangle& t, int y, int x0, int x1);

}  // namespace soft
