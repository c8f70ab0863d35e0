// Meshes as the generator builds them: world-axis positions in world units, texture coordinates in
// the device's sense (v grows down the picture) and triangles whose front, the side seen, is the one
// (B − A) × (C − A) points to. to_file() turns a draft into the 3DS writer's terms: file units
// (× 100), the file's axes (Y and Z exchanged), the file's winding and texture v, with the mesh's
// local axes and origin. The builders below are the shapes the scenes are made of.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "content/vec3.h"
#include "scene3ds_writer/scene3ds_file.h"

struct MeshDraft {
    std::vector<V3> positions;
    std::vector<std::array<float, 2>> uvs;
    std::vector<std::array<std::uint32_t, 3>> triangles;

    std::uint32_t vertex(V3 p, float u, float v);
    void triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) { triangles.push_back({a, b, c}); }
    // Two triangles a-b-c and a-c-d of a quad given in order around its edge.
    void quad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d);
    // Turns every triangle so that its front faces along `facing`(centroid); degenerate ones stay.
    void orient(const std::function<V3(V3)>& facing);
    void append(const MeshDraft& other);
    void transform(const std::function<V3(V3)>& f);
};

// The file's form of a draft placed with its local origin at `origin` (world units): vertices stay
// where they are in the world; the local axes are the identity at that origin.
File3dsMesh mesh_to_file(const MeshDraft& draft, const std::string& name, const std::string& material, V3 origin = {});
// A world point in file units and axes.
File3dsPoint point_to_file(V3 p);

// Shapes. Texture coordinates are described with each.
// Sphere: u once around (from −x, eastwards), v from the top pole to the bottom; front outside.
MeshDraft make_sphere(V3 centre, float radius, int slices, int stacks, float u_repeat = 1.0f, float v_repeat = 1.0f);
// Grid over x ∈ [x0, x1], z ∈ [z0, z1] with height(x, z), front up; uv(x, z, height) gives coordinates.
MeshDraft make_heightfield(float x0, float z0, float x1, float z1, int nx, int nz,
                           const std::function<float(float, float)>& height,
                           const std::function<std::array<float, 2>(float, float, float)>& uv);
// A surface of revolution about the y axis through the profile (radius, height) points; u around,
// v along the profile's length in units of v_unit. Front away from the axis (or towards, inward).
MeshDraft make_lathe(const std::vector<std::array<float, 2>>& profile, int segments, float u_repeat, float v_unit,
                     bool inward = false);
// Box of half sizes (hx, hy, hz) about the origin, each face an n × n grid mapped 0..1 once; front out.
MeshDraft make_box(float hx, float hy, float hz, int n);
