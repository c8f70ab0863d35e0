#include "effects/water_grid.h"

#include <climits>
#include <cmath>
#include <initializer_list>

#include "effects/vertex_normals.h"
#include "render/render.h"

bool water_grid_usable(const WaterGrid& grid) {
    return grid.vertex_buffer != nullptr && grid.vertex_count > 0 && grid.vertex_count <= WATER_GRID_MAX_POINTS &&
           grid.index_count == 6 * grid.vertex_count && grid.indices.size() == static_cast<std::size_t>(grid.index_count);
}

void water_grid_build(WaterGrid* grid) {
    const int points = grid->points_per_row;
    const int rows = grid->rows;
    const long long n = static_cast<long long>(rows) * points;
    grid->vertex_count = n > INT_MAX ? INT_MAX : static_cast<int>(n < 0 ? 0 : n);
    if (n <= 0 || n > WATER_GRID_MAX_POINTS) return;
    create_vertex_buffer(&grid->vertex_buffer, static_cast<DWORD>(n), D3DFVF_VERTEX);
    if (grid->vertex_buffer == nullptr) return;

    void* data = nullptr;
    if (SUCCEEDED(grid->vertex_buffer->Lock(DDLOCK_WAIT, &data, nullptr)) && data != nullptr) {
        auto* vertices = static_cast<D3DVERTEX*>(data);
        const float w = grid->width;
        const float d = grid->depth;
        const float sx = (w - 1.0f) / static_cast<float>(points);
        const float sy = (d - 1.0f) / static_cast<float>(rows);
        for (int i = 0; i < rows; ++i) {
            for (int j = 0; j < points; ++j) {
                const float x = static_cast<float>(j) * sx;
                const float y = static_cast<float>(i) * sy;
                vertices[i * points + j] =
                    D3DVERTEX{x - (w - 1.0f) / 2.0f, y - (d - 1.0f) / 2.0f, 0.0f, 0.0f, 0.0f, 0.0f, x / w, -(y / d)};
            }
        }
        grid->vertex_buffer->Unlock();
    }

    grid->index_count = 6 * grid->vertex_count;
    grid->indices.assign(static_cast<std::size_t>(grid->index_count), 0);
    std::size_t at = 0;
    for (int i = 0; i + 1 < rows; ++i) {
        for (int j = 0; j + 1 < points; ++j) {
            const auto a = static_cast<std::uint16_t>(i * points + j);
            const auto b = static_cast<std::uint16_t>((i + 1) * points + j);
            const auto c = static_cast<std::uint16_t>((i + 1) * points + j + 1);
            const auto e = static_cast<std::uint16_t>(i * points + j + 1);
            for (std::uint16_t index : {a, b, c, c, e, a}) grid->indices[at++] = index;
        }
    }
}

void water_grid_wave(WaterGrid* grid, float t, float amplitude) {
    if (!water_grid_usable(*grid)) return;
    void* data = nullptr;
    if (FAILED(grid->vertex_buffer->Lock(0, &data, nullptr)) || data == nullptr) return;
    auto* vertices = static_cast<D3DVERTEX*>(data);
    const int points = grid->points_per_row;
    for (int i = 1; i + 1 < grid->rows; ++i) {
        for (int j = 1; j + 1 < points; ++j) {
            D3DVERTEX& v = vertices[i * points + j];
            const float r = std::sqrt(v.x * v.x + v.y * v.y);
            float f = 1.0f - 0.1f * r;
            if (f < 0.0f) f = 0.0f;
            v.z = amplitude * f * std::sin(8.0f * t + r);
        }
    }
    compute_vertex_normals(vertices, grid->vertex_count, grid->indices.data(), grid->index_count);
    grid->vertex_buffer->Unlock();
}

void water_grid_draw(WaterGrid* grid) {
    if (!water_grid_usable(*grid)) return;
    draw_indexed_vb(D3DPT_TRIANGLELIST, grid->vertex_buffer, 0, static_cast<DWORD>(grid->vertex_count),
                    grid->indices.data(), static_cast<DWORD>(grid->index_count), 0);
}

void water_grid_release(WaterGrid* grid) {
    if (grid->vertex_buffer != nullptr) grid->vertex_buffer->Release();
    grid->vertex_buffer = nullptr;
}
