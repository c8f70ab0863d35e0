// Primitive assembly: a draw's transformed vertices are projected, its triangles gathered from the
// primitive type and indices, trivially rejected or clipped by their outcodes, culled by their screen
// area and set up for the rasteriser (solid fill), or drawn as edges or points at once (wireframe and
// point fill). A range of a draw's triangles can be assembled on its own, so a large draw can be shared
// among threads; the triangles come out in the order the draw gives them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/soft/clip_vertex.h"
#include "platform/d3d/soft/span_kernels.h"
#include "platform/d3d/soft/transform_lighting.h"
#include "platform/d3d/soft/triangle_setup.h"

namespace soft {

struct PrimitiveConstants {
    GuardBand guard{};
    CullSign cull = CullSign::None;
    DWORD fill = D3DFILL_SOLID;
    bool transformed = true;  // false for pre-transformed vertices
    bool last_pixel = true;
    float depth_min = 0.0f;
    float depth_scale = 1.0f;
};

// A clipped vertex in target pixels, with its attributes divided by w.
ScreenVertex project_vertex(const ClipVertex& v, const PrimitiveConstants& p);

// Projects the vertices [first, first + count) whose outcode is 0, and copies every outcode.
void project_vertices(const PrimitiveConstants& p, const ClipVertex* clip, DWORD first, DWORD count,
                      ScreenVertex* screen);

// The triangles of a triangle list, strip or fan of index_count indices (0 for other types).
DWORD triangle_count(D3DPRIMITIVETYPE type, DWORD index_count);

// The vertices and indices of one draw after the vertex stage.
struct AssemblyInput {
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    const ClipVertex* clip = nullptr;
    const ScreenVertex* screen = nullptr;  // outcodes; the rest valid where the outcode is 0
    const WORD* indices = nullptr;         // null: vertices in order
};

// Assembles triangles [first, first + count) of the draw. Solid fill appends the set-up triangles to
// out; wireframe and point fill draw through span at once.
void assemble_triangles(const PrimitiveConstants& p, const DrawConstants& k, SpanFn span, const AssemblyInput& in,
                        DWORD first, DWORD count, std::vector<SetupTriangle>* out);

// Draws a line from clip vertex a to b at once (clipped to the guard band first).
void assemble_line(const PrimitiveConstants& p, const DrawConstants& k, SpanFn span, ClipVertex a, ClipVertex b);

}  // namespace soft
