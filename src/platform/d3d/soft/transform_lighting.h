// The vertex stage of the software backend: world·view·projection transform (or the pass-through of
// pre-transformed XYZRHW vertices), lighting in camera space with materials, colour sources, point,
// spot and directional lights, attenuation, range and specular highlights, the selection of texture
// coordinates per stage (D3DTSS_TEXCOORDINDEX; a missing set reads as (0, 0)), and the clip outcodes.
#pragma once

#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/core/state_reading.h"
#include "platform/d3d/soft/clip_vertex.h"

namespace soft {

// Transforms and lights batch.vertex_count vertices of batch into out (same count).
void transform_and_light(const DeviceState& state, const DrawBatch& batch, const GuardBand& guard, ClipVertex* out);

// The viewport depth mapping for transformed vertices: depth = min_z + (z / w)·(max_z − min_z).
struct DepthRange {
    float min_z = 0.0f;
    float scale = 1.0f;
};

}  // namespace soft
