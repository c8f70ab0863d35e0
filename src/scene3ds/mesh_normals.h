// Vertex normals of a triangle mesh as the reader computes them when a face list is read: every
// triangle adds its unit face normal once to each of its three corners (no area or angle weighting),
// and the sums are scaled to unit length.
#pragma once

#include <cstdint>

#include "scene3ds/scene_vertex.h"

// A triangle or a summed normal of length exactly 0 is divided by -1 (so a vertex used only by
// collinear triangles keeps a zero normal, possibly with negative zeros). Triangles with an index at
// or beyond vertex_count are left out; a trailing partial triangle is ignored.
void compute_mesh_normals(SceneVertex* vertices, std::uint32_t vertex_count, const std::uint16_t* indices,
                          std::uint32_t index_count);
