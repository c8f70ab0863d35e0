// Fixed-point conventions of the software rasterizer, and the bounds that make its integer arithmetic
// exact.
//
// Screen positions are snapped to 1/256 pixel (8 sub-pixel bits). Before snapping, every triangle has
// been clipped to a guard band of kGuardBand pixels around the viewport, and viewports lie inside
// targets of at most 8192 × 8192 pixels, so |x|, |y| < 2^15 pixels = 2^23 sub-pixel units. Edge
// functions E = (X1 − X0)(Py − Y0) − (Y1 − Y0)(Px − X0) then take differences below 2^24 and products
// below 2^48, and a whole edge value below 2^50: 64-bit integers hold them exactly, with no rounding
// anywhere in coverage. Pixel (i, j) is sampled at (i, j) — pixel centres sit at integer coordinates —
// and a sample exactly on an edge belongs to the triangle only for a top or a left edge.
#pragma once

#include <cstdint>

#include "platform/d3d/core/state_reading.h"

namespace soft {

constexpr int kSubpixelBits = 8;
constexpr int kSubpixelOne = 1 << kSubpixelBits;
constexpr float kSubpixelScale = static_cast<float>(kSubpixelOne);
// Triangles are clipped to the viewport grown by this many pixels on each side; the scissor then
// keeps pixels inside the viewport.
constexpr float kGuardBand = D3D_GUARD_BAND;

}  // namespace soft
