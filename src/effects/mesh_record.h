// One object taken out of a 3D Studio scene as a plain, pre-lit vertex array (D3DLVERTEX) with its
// triangle indices, so that an effect can recolour, scroll or deform it freely every frame without the
// scene machinery. The loader reads the file, converts mesh `index` and releases the scene again. The
// keyframed variant places the vertices by the node's matrix at frame 0 and colours them 0x40404040;
// the positioned variants add the node's first position key, colour 0xFF4080FF or white, and write
// "<vertices>, <indices> joo" to the diagnostics channel. A file that cannot be read or has no such
// mesh gives an empty record (with one diagnostic line naming the file) that every operation skips.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/d3d.h"

struct MeshRecord {
    std::vector<D3DLVERTEX> vertices;
    std::vector<std::uint16_t> indices;  // triangle list, every index below vertices.size()

    int vertex_count() const { return static_cast<int>(vertices.size()); }
    int index_count() const { return static_cast<int>(indices.size()); }
    bool empty() const { return vertices.empty() || indices.empty(); }
};

constexpr D3DCOLOR MESH_KEYFRAMED_COLOUR = 0x40404040;
constexpr D3DCOLOR MESH_POSITIONED_COLOUR = 0xFF4080FF;
constexpr D3DCOLOR MESH_WHITE_COLOUR = 0xFFFFFFFF;

MeshRecord load_mesh_keyframed(const char* file_name, int index);
MeshRecord load_mesh_positioned(const char* file_name, int index);
MeshRecord load_mesh_white(const char* file_name, int index);

// One indexed triangle list of format 0x1E2; nothing for an empty record.
void draw_mesh(MeshRecord* record);
// Every vertex: u += du, v += dv, colour = colour.
void scroll_mesh(MeshRecord* record, float du, float dv, D3DCOLOR colour);
