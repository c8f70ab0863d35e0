#include "platform/d3d/core/sphere_visibility.h"

#include <cmath>

void sphere_visibility(const DeviceState& state, const D3DVECTOR* centers, const D3DVALUE* radii, DWORD count,
                       DWORD* results)
{
    D3DMATRIX wv;
    D3DMATRIX m;
    matrix_multiply(&wv, &state.world(), &state.view());
    matrix_multiply(&m, &wv, &state.projection());
    // Column n of M as (m1n, m2n, m3n, m4n).
    auto column = [&m](int n, float out[4]) {
        for (int r = 0; r < 4; ++r) out[r] = m.m[r][n];
    };
    float c1[4], c2[4], c3[4], c4[4];
    column(0, c1);
    column(1, c2);
    column(2, c3);
    column(3, c4);
    float planes[6 + D3D_MAX_CLIP_PLANES][4];
    for (int i = 0; i < 4; ++i) {
        planes[0][i] = c4[i] + c1[i];  // left
        planes[1][i] = c4[i] - c1[i];  // right
        planes[2][i] = c4[i] - c2[i];  // top
        planes[3][i] = c4[i] + c2[i];  // bottom
        planes[4][i] = c3[i];          // front
        planes[5][i] = c4[i] - c3[i];  // back
    }
    DWORD plane_bits[6 + D3D_MAX_CLIP_PLANES];
    int plane_count = 6;
    for (int k = 0; k < 6; ++k) plane_bits[k] = 1u << k;
    const DWORD enabled = state.render[D3DRENDERSTATE_CLIPPLANEENABLE];
    for (DWORD i = 0; i < D3D_MAX_CLIP_PLANES; ++i) {
        if (!(enabled & (1u << i))) continue;
        for (int k = 0; k < 4; ++k) planes[plane_count][k] = state.clip_planes[i][k];
        plane_bits[plane_count] = D3DSTATUS_CLIPUNIONGEN0 << i;
        ++plane_count;
    }
    for (DWORD s = 0; s < count; ++s) {
        DWORD result = 0;
        const D3DVECTOR& c = centers[s];
        const float r = radii[s];
        for (int k = 0; k < plane_count; ++k) {
            const float* p = planes[k];
            const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
            const float dist = (p[0] * c.x + p[1] * c.y + p[2] * c.z + p[3]) / length;
            if (dist < -r) {
                result |= plane_bits[k] | (plane_bits[k] << 12);
            } else if (std::fabs(dist) < r) {
                result |= plane_bits[k];
            }
        }
        results[s] = result;
    }
}
