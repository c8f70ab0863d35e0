#include "effects/sphere_map.h"

#include "effects/water_grid.h"
#include "math/matrix.h"
#include "render/render.h"

namespace {

Matrix world_view() {
    Matrix world, view, m;
    get_world_matrix(&world);
    get_view_matrix(&view);
    matrix_multiply(&m, &world, &view);
    return m;
}

}  // namespace

bool sphere_map_coordinates(const Matrix& m, float nx, float ny, float nz, float* u, float* v) {
    const float depth = nx * m.m[0][2] + ny * m.m[1][2] + nz * m.m[2][2];
    if (depth > 0.0f) return false;
    *u = (nx * m.m[0][0] + ny * m.m[1][0] + nz * m.m[2][0] + 1.0f) * 0.5f;
    *v = (1.0f - (nx * m.m[0][1] + ny * m.m[1][1] + nz * m.m[2][1])) * 0.5f;
    return true;
}

void apply_sphere_map(WaterGrid* grid) {
    if (!water_grid_usable(*grid)) return;
    const Matrix m = world_view();
    void* data = nullptr;
    if (FAILED(grid->vertex_buffer->Lock(DDLOCK_WAIT | DDLOCK_WRITEONLY, &data, nullptr)) || data == nullptr) return;
    auto* vertices = static_cast<D3DVERTEX*>(data);
    for (int i = 0; i < grid->vertex_count; ++i) {
        D3DVERTEX& vertex = vertices[i];
        sphere_map_coordinates(m, vertex.nx, vertex.ny, vertex.nz, &vertex.tu, &vertex.tv);
    }
    grid->vertex_buffer->Unlock();
}

void apply_sphere_map(SceneVertex* vertices, int vertex_count) {
    const Matrix m = world_view();
    for (int i = 0; i < vertex_count; ++i) {
        SceneVertex& vertex = vertices[i];
        sphere_map_coordinates(m, vertex.nx, vertex.ny, vertex.nz, &vertex.tu2, &vertex.tv2);
    }
}
