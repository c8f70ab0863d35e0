#include "platform/d3d/core/vertex_format.h"

bool vertex_layout_decode(DWORD fvf, VertexLayout* layout)
{
    // Bits this layer knows: position, normal, reserved1 (the LVERTEX reserved word), colours, count.
    constexpr DWORD known = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_RESERVED1 | D3DFVF_DIFFUSE |
                            D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;
    if (fvf & ~known) return false;  // reserved bits, or coordinate sets other than two floats
    VertexLayout l;
    l.fvf = fvf;
    DWORD offset = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
    case D3DFVF_XYZ: offset = 12; break;
    case D3DFVF_XYZRHW:
        l.pretransformed = true;
        l.offset_rhw = 12;
        offset = 16;
        break;
    case D3DFVF_XYZB1: case D3DFVF_XYZB2: case D3DFVF_XYZB3: case D3DFVF_XYZB4: case D3DFVF_XYZB5:
        l.blend_weights = ((fvf & D3DFVF_POSITION_MASK) - D3DFVF_XYZ) / 2;
        offset = 12 + 4 * l.blend_weights;
        break;
    default: return false;  // no position
    }
    if (fvf & D3DFVF_NORMAL) {
        if (l.pretransformed) return false;
        l.has_normal = true;
        l.offset_normal = offset;
        offset += 12;
    }
    if (fvf & D3DFVF_RESERVED1) offset += 4;
    if (fvf & D3DFVF_DIFFUSE) {
        l.has_diffuse = true;
        l.offset_diffuse = offset;
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        l.has_specular = true;
        l.offset_specular = offset;
        offset += 4;
    }
    l.texcoord_count = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (l.texcoord_count > D3DDP_MAXTEXCOORD) return false;
    for (DWORD i = 0; i < l.texcoord_count; ++i) {
        l.offset_texcoord[i] = offset;
        offset += 8;
    }
    l.stride = offset;
    *layout = l;
    return true;
}
