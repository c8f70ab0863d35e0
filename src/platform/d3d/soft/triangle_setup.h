// Triangle setup: snaps screen positions to 1/256 pixel, decides culling by the sign of the snapped
// area, builds the three integer edge functions with the top-left bias, the pixel bounding box inside
// the scissor, and the plane equations of 1/w, depth and every attribute·(1/w) for perspective-correct
// interpolation at pixel centres (integer coordinates). See fixed_point.h for the bounds.
#pragma once

#include <cstdint>

#include "platform/d3d/soft/clip_vertex.h"
#include "platform/d3d/soft/draw_constants.h"

namespace soft {

// A vertex after clipping and projection.
struct ScreenVertex {
    float x, y;    // target pixels
    float q;       // 1/w
    float depth;   // z-buffer value (transformed: MinZ + z/w·(MaxZ − MinZ); pre-transformed: sz)
    float attr[kAttributes];  // attribute · q
    // The clip vertex's outcode, kept here so that assembly reads one record per unclipped vertex;
    // where it is not 0 the fields above are not set.
    std::uint32_t outcode;
};
static_assert(sizeof(ScreenVertex) == 64, "a screen vertex fills one cache line");

// f(x, y) = c + a·(x − ox) + b·(y − oy), with (ox, oy) the triangle's origin.
struct Plane {
    float a, b, c;
};

struct SetupTriangle {
    // Nothing is initialised on construction (set-up writes every field), so the assembly can set up
    // triangles straight into its output.
    SetupTriangle() {}

    std::int64_t edge_a[3];  // change of the edge function per pixel step in x
    std::int64_t edge_b[3];  // per pixel step in y
    std::int64_t edge_c[3];  // value at pixel (0, 0), top-left bias included: covered iff value ≥ 0
    int x0, y0, x1, y1;      // pixel bounding box inside the scissor, [x0, x1) × [y0, y1)
    float ox, oy;
    Plane q;
    Plane depth;
    Plane attr[kAttributes];
};

// Culling by the sign of the screen area A (y down; A > 0 is clockwise on screen).
enum class CullSign : std::uint8_t { None, RemovePositive, RemoveNegative };

// Sets up (a, b, c); provoking is the vertex whose colours flat shading uses. False when the triangle
// is culled, has no area, or covers no pixel centre inside the scissor box.
bool setup_triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                    const ScreenVertex& provoking, CullSign cull, const DrawConstants& k, SetupTriangle* out);

// Covered span of row y inside [x_begin, x_end): writes [*span0, *span1); false if empty.
inline bool triangle_row_span(const SetupTriangle& t, int y, int x_begin, int x_end, int* span0, int* span1)
{
    int lo = x_begin;
    int hi = x_end;  // exclusive
    for (int e = 0; e < 3; ++e) {
        const std::int64_t a = t.edge_a[e];
        const std::int64_t v = t.edge_a[e] * x_begin + t.edge_b[e] * y + t.edge_c[e];  // value at x_begin
        if (a == 0) {
            if (v < 0) return false;
        } else if (a > 0) {
            if (v < 0) {
                const std::int64_t steps = (-v + a - 1) / a;  // first x with value ≥ 0
                if (steps > x_end - x_begin) return false;
                const int first = x_begin + static_cast<int>(steps);
                if (first > lo) lo = first;
            }
        } else {
            if (v < 0) return false;
            const std::int64_t steps = v / -a;  // last x with value ≥ 0
            if (steps < x_end - x_begin) {
                const int last = x_begin + static_cast<int>(steps) + 1;
                if (last < hi) hi = last;
            }
        }
    }
    if (lo >= hi) return false;
    *span0 = lo;
    *span1 = hi;
    return true;
}

}  // namespace soft
