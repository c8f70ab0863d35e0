// Small procedural meshes and textures shared by the golden scenes, the software-backend tests and the
// benchmark: a UV sphere and a box (positions, normals, one texture pair; format 0x112, or LVERTEX
// with a colour), a flat grid, and procedural textures. Header-only so benchmarks can use it without
// the test libraries.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/d3d/d3d_types.h"

struct MeshVertex {  // D3DFVF_VERTEX
    float x, y, z, nx, ny, nz, u, v;
};

struct Mesh {
    std::vector<MeshVertex> vertices;
    std::vector<WORD> indices;
};

// rings × segments quads; (rings+1)·(segments+1) vertices, 2·rings·segments triangles wound clockwise
// seen from outside (front-facing under the default CCW culling).
inline Mesh mesh_sphere(int rings, int segments, float radius)
{
    Mesh m;
    const float pi = 3.14159265f;
    for (int r = 0; r <= rings; ++r) {
        const float phi = pi * static_cast<float>(r) / static_cast<float>(rings);
        for (int s = 0; s <= segments; ++s) {
            const float theta = 2.0f * pi * static_cast<float>(s) / static_cast<float>(segments);
            const float nx = std::sin(phi) * std::cos(theta);
            const float ny = std::cos(phi);
            const float nz = std::sin(phi) * std::sin(theta);
            m.vertices.push_back({nx * radius, ny * radius, nz * radius, nx, ny, nz,
                                  static_cast<float>(s) / static_cast<float>(segments) * 2.0f,
                                  static_cast<float>(r) / static_cast<float>(rings)});
        }
    }
    const int row = segments + 1;
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            const WORD a = static_cast<WORD>(r * row + s), b = static_cast<WORD>(a + 1);
            const WORD c = static_cast<WORD>(a + row), d = static_cast<WORD>(c + 1);
            m.indices.insert(m.indices.end(), {a, b, c, b, d, c});
        }
    }
    return m;
}

// An axis-aligned box of half size h: 24 vertices with face normals; each face's two triangles are
// clockwise seen from outside, so they survive the default CCW culling.
inline Mesh mesh_box(float h)
{
    Mesh m;
    const float n[6][3] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    const float up_of[6][3] = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int f = 0; f < 6; ++f) {
        const float* nn = n[f];
        const float* u = up_of[f];
        const float d[3] = {-nn[0], -nn[1], -nn[2]};  // looking at the face from outside
        const float r[3] = {u[1] * d[2] - u[2] * d[1], u[2] * d[0] - u[0] * d[2], u[0] * d[1] - u[1] * d[0]};
        const WORD base = static_cast<WORD>(m.vertices.size());
        const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};  // (right, up): BL, TL, TR, BR
        for (const auto& c : corners) {
            m.vertices.push_back({(nn[0] + c[0] * r[0] + c[1] * u[0]) * h, (nn[1] + c[0] * r[1] + c[1] * u[1]) * h,
                                  (nn[2] + c[0] * r[2] + c[1] * u[2]) * h, nn[0], nn[1], nn[2], (c[0] + 1) * 0.5f,
                                  (1 - c[1]) * 0.5f});
        }
        m.indices.insert(m.indices.end(), {base, static_cast<WORD>(base + 1), static_cast<WORD>(base + 2), base,
                                           static_cast<WORD>(base + 2), static_cast<WORD>(base + 3)});
    }
    return m;
}

// A w × h checker of two colours in cells of `cell` texels, with a soft diagonal gradient.
inline std::vector<std::uint32_t> texture_checker(int w, int h, int cell, std::uint32_t a, std::uint32_t b)
{
    std::vector<std::uint32_t> t(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = ((x / cell + y / cell) & 1) ? a : b;
            const std::uint32_t shade = static_cast<std::uint32_t>((x + y) * 64 / (w + h));
            t[static_cast<std::size_t>(y) * w + x] = (c & 0xFF00FFFFu) | (((c >> 8) & 0xFF) + shade > 255 ? 0xFF00u : ((((c >> 8) & 0xFF) + shade) << 8));
        }
    }
    return t;
}
