// Deforms one mesh each frame by pushing its vertices away from a point that wanders about the origin
// on three phase angles: every frame starts again from the rest mesh, and a vertex at distance d from
// the point moves outward by (80 − d)² / 40, which vanishes at exactly 80 and grows again beyond.
#pragma once

#include "effects/mesh_record.h"
#include "math/vector3.h"

struct VertexRepulsor {
    MeshRecord deformed;
    MeshRecord rest;
    float a = 0.0f, b = 0.0f, c = 0.0f;  // phases, radians
    Vector3 point;
};

// Takes the two meshes and draws the three phases from the program-wide generator (in the order a, b,
// c: each (draw mod 1000) × 0.001 × 2π).
void vertex_repulsor_create(VertexRepulsor* repulsor, MeshRecord deformed, MeshRecord rest);
// What the demo part does before each frame: the phases advance by seconds × their rates and wrap once.
void vertex_repulsor_advance(VertexRepulsor* repulsor, float seconds);
// point = 25 (cos a, sin b, cos c); the deformed positions rebuilt from the rest mesh. Over the smaller
// vertex count of the two meshes; a vertex on the point itself stays where it is.
void repel_vertices(VertexRepulsor* repulsor);
