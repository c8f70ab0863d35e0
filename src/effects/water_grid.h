// A square water surface: a flat grid of points in a device vertex buffer whose heights follow a
// circular ripple spreading from the grid's origin and dying out at radius 10, with normals recomputed
// every frame so that a sphere-mapped picture seems reflected in moving water. The program has one
// grid of 32 × 32 points over 16 × 16 units; its last 6 × (rows + points − 1) − 6 indices stay zero and
// draw as degenerate triangles.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/d3d.h"

struct WaterGrid {
    IDirect3DVertexBuffer7* vertex_buffer = nullptr;
    int vertex_count = 0;  // points per row × rows
    std::vector<std::uint16_t> indices;
    int index_count = 0;  // 6 × vertex_count
    float width = 16.0f;
    float depth = 16.0f;
    int points_per_row = 32;
    int rows = 32;
};

// More points than 16-bit indices can address: such a grid gets only its vertex count.
constexpr int WATER_GRID_MAX_POINTS = 0x10000;

// Creates and fills the vertex buffer and the index list from the grid's size fields.
void water_grid_build(WaterGrid* grid);
// Heights amplitude × max(0, 1 − 0.1 r) × sin(8t + r) inside the border, then the normals.
void water_grid_wave(WaterGrid* grid, float t, float amplitude);
// One indexed triangle list from the vertex buffer.
void water_grid_draw(WaterGrid* grid);
// Releases the vertex buffer (tests and tools; the demo keeps its grid to the end).
void water_grid_release(WaterGrid* grid);

// Whether the grid was built completely and may be waved, mapped and drawn.
bool water_grid_usable(const WaterGrid& grid);
