// Smooth vertex normals of an indexed triangle list, recomputed every frame by the effects that move
// their vertices (the water grid and the soft-body blob): each face's unit normal is added to its three
// vertices and the sums are normalised. Zero-length face or vertex normals are divided by −1 and so
// stay zero. Two variants walk the two vertex layouts; note their different argument orders.
#pragma once

#include <cstdint>

#include "platform/d3d/d3d.h"
#include "scene3ds/scene_vertex.h"

// 32-byte grid vertices (format 0x112).
void compute_vertex_normals(D3DVERTEX* vertices, int vertex_count, const std::uint16_t* indices, int index_count);
// 40-byte blob vertices (format 0x212).
void compute_vertex_normals(SceneVertex* vertices, const std::uint16_t* indices, int vertex_count, int index_count);
