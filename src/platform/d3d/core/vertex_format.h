// Decoding of flexible vertex formats (FVF codes) into byte offsets: where the position, 1/w, normal,
// diffuse and specular colours and each texture-coordinate pair sit in a vertex, and its stride. The
// device validates every format through here before drawing; backends read vertices with the offsets.
#pragma once

#include "platform/d3d/d3d_types.h"

struct VertexLayout {
    DWORD fvf = 0;
    DWORD stride = 0;
    bool pretransformed = false;  // D3DFVF_XYZRHW: screen x, y, z and 1/w
    bool has_normal = false;
    bool has_diffuse = false;
    bool has_specular = false;
    DWORD texcoord_count = 0;        // pairs of (u, v); each coordinate set is two floats
    DWORD blend_weights = 0;         // XYZB1..B5 weights after the position (skipped by this layer)
    DWORD offset_rhw = 0;            // pretransformed only
    DWORD offset_normal = 0;
    DWORD offset_diffuse = 0;
    DWORD offset_specular = 0;
    DWORD offset_texcoord[D3DDP_MAXTEXCOORD] = {};
};

// Fills layout for fvf; false (layout untouched) for codes the layer does not draw: no position,
// reserved bits, more than eight coordinate sets, or coordinate sets other than two floats.
bool vertex_layout_decode(DWORD fvf, VertexLayout* layout);
