#include "scene3ds/mesh_normals.h"

#include <cmath>
#include <initializer_list>

void compute_mesh_normals(SceneVertex* vertices, std::uint32_t vertex_count, const std::uint16_t* indices,
                          std::uint32_t index_count) {
    for (std::uint32_t i = 0; i < vertex_count; ++i) vertices[i].nx = vertices[i].ny = vertices[i].nz = 0.0f;

    for (std::uint32_t k = 0; k + 3 <= index_count; k += 3) {
        const std::uint32_t ia = indices[k], ib = indices[k + 1], ic = indices[k + 2];
        if (ia >= vertex_count || ib >= vertex_count || ic >= vertex_count) continue;
        SceneVertex& a = vertices[ia];
        SceneVertex& b = vertices[ib];
        SceneVertex& c = vertices[ic];
        const float e1x = b.x - a.x, e1y = b.y - a.y, e1z = b.z - a.z;
        const float e2x = c.x - a.x, e2y = c.y - a.y, e2z = c.z - a.z;
        const float nx = e1y * e2z - e1z * e2y;
        const float ny = e1z * e2x - e1x * e2z;
        const float nz = e1x * e2y - e1y * e2x;
        float len = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (len == 0.0f) len = -1.0f;
        const float ux = nx / len, uy = ny / len, uz = nz / len;
        for (SceneVertex* v : {&a, &b, &c}) {
            v->nx += ux;
            v->ny += uy;
            v->nz += uz;
        }
    }

    for (std::uint32_t i = 0; i < vertex_count; ++i) {
        SceneVertex& v = vertices[i];
        const double sum = std::pow(static_cast<double>(v.nx), 2) + std::pow(static_cast<double>(v.ny), 2) +
                           std::pow(static_cast<double>(v.nz), 2);
        float len = static_cast<float>(std::sqrt(sum));
        if (len == 0.0f) len = -1.0f;
        v.nx /= len;
        v.ny /= len;
        v.nz /= len;
    }
}
