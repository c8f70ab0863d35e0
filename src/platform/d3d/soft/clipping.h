// The clipping stage: outcodes of a vertex against the guard band (left, right, top, bottom), the near
// and far planes (transformed vertices only) and w > 0, and Sutherland–Hodgman clipping of a triangle to
// those planes in homogeneous space. New vertices are always interpolated from the inside end of an
// edge toward the outside end, so an edge shared by two triangles is cut at bit-identical points.
#pragma once

#include <cstdint>

#include "platform/d3d/soft/clip_vertex.h"
#include "platform/d3d/soft/transform_lighting.h"

namespace soft {

enum ClipPlaneBit : std::uint32_t {
    CLIP_LEFT = 1u << 0,
    CLIP_RIGHT = 1u << 1,
    CLIP_TOP = 1u << 2,
    CLIP_BOTTOM = 1u << 3,
    CLIP_NEAR = 1u << 4,
    CLIP_FAR = 1u << 5,
    CLIP_W = 1u << 6,
    CLIP_INVALID = 1u << 31,  // a coordinate is not finite or beyond 1e18: the vertex is never drawn
};

std::uint32_t clip_outcode(const ClipVertex& v, const GuardBand& guard, bool depth_planes);

// Clips the triangle (a, b, c) to the planes in mask. Writes the polygon (at most kMaxClipped vertices)
// to out and returns its vertex count (0 when nothing is left).
constexpr unsigned kMaxClipped = 3 + 7;
unsigned clip_triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c, std::uint32_t mask,
                       const GuardBand& guard, ClipVertex* out);

// Clips the segment (a, b) in place to the planes in mask; false when nothing is left.
bool clip_segment(ClipVertex* a, ClipVertex* b, std::uint32_t mask, const GuardBand& guard);

}  // namespace soft
