#include "effects/vertex_normals.h"

#include <cmath>
#include <initializer_list>

#include "math/vector3.h"

namespace {

// The length, or −1 for a length of exactly 0 so that the division leaves a zero vector.
float divisor(float x, float y, float z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    return length == 0.0f ? -1.0f : length;
}

template <typename Vertex>
void normals(Vertex* vertices, int vertex_count, const std::uint16_t* indices, int index_count) {
    for (int i = 0; i < vertex_count; ++i) vertices[i].nx = vertices[i].ny = vertices[i].nz = 0.0f;
    for (int t = 0; t + 2 < index_count; t += 3) {
        Vertex& v0 = vertices[indices[t]];
        Vertex& v1 = vertices[indices[t + 1]];
        Vertex& v2 = vertices[indices[t + 2]];
        const Vector3 e1{v1.x - v0.x, v1.y - v0.y, v1.z - v0.z};
        const Vector3 e2{v2.x - v0.x, v2.y - v0.y, v2.z - v0.z};
        Vector3 n;
        vector3_cross(&n, &e1, &e2);
        const float length = divisor(n.x, n.y, n.z);
        n = {n.x / length, n.y / length, n.z / length};
        for (Vertex* v : {&v0, &v1, &v2}) {
            v->nx += n.x;
            v->ny += n.y;
            v->nz += n.z;
        }
    }
    for (int i = 0; i < vertex_count; ++i) {
        Vertex& v = vertices[i];
        const float length = divisor(v.nx, v.ny, v.nz);
        v.nx /= length;
        v.ny /= length;
        v.nz /= length;
    }
}

}  // namespace

void compute_vertex_normals(D3DVERTEX* vertices, int vertex_count, const std::uint16_t* indices, int index_count) {
    normals(vertices, vertex_count, indices, index_count);
}

void compute_vertex_normals(SceneVertex* vertices, const std::uint16_t* indices, int vertex_count, int index_count) {
    normals(vertices, vertex_count, indices, index_count);
}
