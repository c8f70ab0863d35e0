// The vertex stage of the software backend: world·view·projection transform (or the pass-through of
// pre-transformed XYZRHW vertices), lighting in camera space with materials, colour sources, point,
// spot and directional lights, attenuation, range and specular highlights, the selection of texture
// coordinates per stage (D3DTSS_TEXCOORDINDEX; a missing set reads as (0, 0)), and the clip outcodes.
#pragma once

#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/core/state_reading.h"
#include "platform/d3d/soft/clip_vertex.h"

namespace soft {

struct PreparedLight {
    DWORD type;
    float diffuse[3];
    float specular[3];
    float ambient[3];
    Vector3 position;   // camera space (point, spot)
    Vector3 direction;  // camera space, unit: spot axis, or the vector toward a directional light
    float range;
    float att0, att1, att2;
    float cos_inner, cos_outer, falloff;
};

struct LightingSetup {
    Matrix world_view;
    float normal_matrix[3][3];  // inverse transpose of world·view's 3×3
    bool normalize;
    bool specular;
    bool local_viewer;
    float global_ambient[3];
    PreparedLight lights[D3D_MAX_ACTIVE_LIGHTS];
    unsigned light_count;
    // Material colour sources: 0 material, 1 vertex diffuse, 2 vertex specular.
    int source_diffuse, source_ambient, source_specular, source_emissive;
    D3DMATERIAL7 material;
};

// What the vertex stage takes from the device state for one draw, prepared once per draw; a copy
// transforms the draw's vertices later, on any thread, exactly as at the time of the call.
struct VertexStage {
    VertexLayout layout;
    bool lighting = false;
    LightingSetup lights;
    Matrix wvp;  // world·view·projection (transformed vertices)
    float half_w = 0, half_h = 0, centre_x = 0, centre_y = 0;
    DWORD coordinate_set[kStages] = {};
};

void prepare_vertex_stage(const DeviceState& state, const VertexLayout& layout, DWORD flags, VertexStage* out);

// Transforms and lights vertices [first, first + count) of vertices (laid out as stage.layout says)
// into out[first, first + count): eight at a time where the processor can, the rest one by one, with
// the same bits either way.
void transform_vertices(const VertexStage& stage, const BYTE* vertices, DWORD first, DWORD count,
                        const GuardBand& guard, ClipVertex* out);

// The one-vertex loop, which defines the results.
void transform_vertices_one_by_one(const VertexStage& stage, const BYTE* vertices, DWORD first, DWORD count,
                                   const GuardBand& guard, ClipVertex* out);

// The eight-lane loop (transform_lighting_avx2.cpp): does the first whole groups of eight of the range
// and returns how many vertices that is; 0 without AVX2 and for pre-transformed vertices.
DWORD transform_vertices8(const VertexStage& stage, const BYTE* vertices, DWORD first, DWORD count,
                          const GuardBand& guard, ClipVertex* out);

// The viewport depth mapping for transformed vertices: depth = min_z + (z / w)·(max_z − min_z).
struct DepthRange {
    float min_z = 0.0f;
    float scale = 1.0f;
};

}  // namespace soft
