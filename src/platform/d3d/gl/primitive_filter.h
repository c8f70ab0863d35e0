// What a batch becomes before GL sees it, where GL alone would draw it differently from the device:
// a primitive that touches a vertex whose position is not a finite number is dropped whole (GL would
// clip it into a sliver), and pre-transformed primitives reaching beyond the guard band (D3D_GUARD_BAND
// pixels around the viewport, core/state_reading.h) are cut there first, in the homogeneous space the attributes interpolate in,
// because GL's own clipper loses the picture to rounding at such coordinates. Most batches pass
// unchanged; the scan costs one look at each position.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/core/device_backend.h"

struct FilteredBatch {
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;  // POINTLIST, LINELIST or TRIANGLELIST
    std::vector<BYTE> vertices;                   // the batch's layout
    std::vector<std::uint32_t> indices;
};

// True when batch can be drawn as it is. Otherwise fills out with the equivalent primitives (possibly
// none). flat: the draw uses flat shading, so a cut triangle keeps its first vertex's colours.
bool primitive_filter(const DrawBatch& batch, const D3DVIEWPORT7& viewport, bool flat, FilteredBatch* out);
