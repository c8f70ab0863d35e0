// Sphere-map (environment) texture coordinates from vertex normals as the current camera sees them:
// the normal, turned by world · view without translation, gives u from its x and v from its y, so a
// reflective texture slides over a surface as it deforms or turns. Vertices whose normal faces away
// from the camera keep the coordinates they had. The grid variant works through the water grid's
// vertex buffer; the blob variant writes the second texture pair of 40-byte vertices.
#pragma once

#include "scene3ds/scene_vertex.h"

struct Matrix;
struct WaterGrid;

// Locks the grid's buffer (DDLOCK_WAIT | DDLOCK_WRITEONLY); a failed lock, or a grid that was never
// built, changes nothing.
void apply_sphere_map(WaterGrid* grid);
void apply_sphere_map(SceneVertex* vertices, int vertex_count);

// The coordinates for one normal under M = world · view; false (and nothing written) when it faces
// away from the camera.
bool sphere_map_coordinates(const Matrix& m, float nx, float ny, float nz, float* u, float* v);
