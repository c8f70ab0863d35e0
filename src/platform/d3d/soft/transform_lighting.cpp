#include "platform/d3d/soft/transform_lighting.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/d3d/soft/clipping.h"

namespace soft {
namespace {

float channel(DWORD color, int shift)
{
    return static_cast<float>((color >> shift) & 0xFF) * (1.0f / 255.0f);
}

void color_to_float4(DWORD color, float out[4])
{
    out[0] = channel(color, 16);
    out[1] = channel(color, 8);
    out[2] = channel(color, 0);
    out[3] = channel(color, 24);
}

Vector3 transform_direction(const Vector3& v, const Matrix& m)
{
    return Vector3(v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
                   v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
                   v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]);
}

Vector3 transform_position(const Vector3& v, const Matrix& m)
{
    return Vector3(v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0],
                   v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1],
                   v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2]);
}

Vector3 normalized(const Vector3& v)
{
    const float len = std::sqrt(vector3_dot(v, v));
    return len > 0.0f ? v * (1.0f / len) : Vector3();
}

void prepare_lighting(const DeviceState& s, const VertexLayout& layout, LightingSetup* L)
{
    matrix_multiply(&L->world_view, &s.world(), &s.view());
    // Inverse transpose of the upper 3×3 by cofactors; a singular matrix leaves normals as they are.
    const float(*m)[4] = L->world_view.m;
    const float c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const float c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const float c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const float det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    if (det != 0.0f && std::isfinite(det)) {
        const float inv = 1.0f / det;
        // (M⁻¹)ᵀ = cofactor matrix / det; row-vector convention: n' = n·(M⁻¹)ᵀ.
        L->normal_matrix[0][0] = c00 * inv;
        L->normal_matrix[0][1] = c01 * inv;
        L->normal_matrix[0][2] = c02 * inv;
        L->normal_matrix[1][0] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) * inv;
        L->normal_matrix[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) * inv;
        L->normal_matrix[1][2] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) * inv;
        L->normal_matrix[2][0] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) * inv;
        L->normal_matrix[2][1] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) * inv;
        L->normal_matrix[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) * inv;
    } else {
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) L->normal_matrix[r][c] = m[r][c];
        }
    }
    L->normalize = s.render[D3DRENDERSTATE_NORMALIZENORMALS] != 0;
    L->specular = s.render[D3DRENDERSTATE_SPECULARENABLE] != 0;
    L->local_viewer = s.render[D3DRENDERSTATE_LOCALVIEWER] != 0;
    const DWORD ambient = s.render[D3DRENDERSTATE_AMBIENT];
    L->global_ambient[0] = channel(ambient, 16);
    L->global_ambient[1] = channel(ambient, 8);
    L->global_ambient[2] = channel(ambient, 0);
    L->source_diffuse = state_material_source(s, D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, layout);
    L->source_ambient = state_material_source(s, D3DRENDERSTATE_AMBIENTMATERIALSOURCE, layout);
    L->source_specular = state_material_source(s, D3DRENDERSTATE_SPECULARMATERIALSOURCE, layout);
    L->source_emissive = state_material_source(s, D3DRENDERSTATE_EMISSIVEMATERIALSOURCE, layout);
    L->material = s.material;

    const Matrix& view = s.view();
    const LightSlot* active[D3D_MAX_ACTIVE_LIGHTS];
    L->light_count = state_active_lights(s, active);
    for (unsigned n = 0; n < L->light_count; ++n) {
        const D3DLIGHT7& l = active[n]->light;
        PreparedLight& p = L->lights[n];
        p.type = l.dltType;
        const D3DCOLORVALUE* colours[3] = {&l.dcvDiffuse, &l.dcvSpecular, &l.dcvAmbient};
        float* targets[3] = {p.diffuse, p.specular, p.ambient};
        for (int i = 0; i < 3; ++i) {
            targets[i][0] = colours[i]->r;
            targets[i][1] = colours[i]->g;
            targets[i][2] = colours[i]->b;
        }
        p.position = transform_position(l.dvPosition, view);
        p.direction = normalized(transform_direction(l.dvDirection, view));
        if (l.dltType == D3DLIGHT_DIRECTIONAL) p.direction = -p.direction;
        p.range = l.dvRange;
        p.att0 = l.dvAttenuation0;
        p.att1 = l.dvAttenuation1;
        p.att2 = l.dvAttenuation2;
        p.cos_inner = std::cos(l.dvTheta * 0.5f);
        p.cos_outer = std::cos(l.dvPhi * 0.5f);
        p.falloff = l.dvFalloff;
    }
}

// Lights one vertex; colours in [0, 1], written as 0..255.
void light_vertex(const LightingSetup& L, const Vector3& position, const Vector3* normal, const float vdiffuse[4],
                  const float vspecular[4], bool has_vertex_diffuse, bool has_vertex_specular, float* out_diffuse,
                  float* out_specular)
{
    const Vector3 P = transform_position(position, L.world_view);
    Vector3 N;
    if (normal != nullptr) {
        const float(*nm)[3] = L.normal_matrix;
        N = Vector3(normal->x * nm[0][0] + normal->y * nm[1][0] + normal->z * nm[2][0],
                    normal->x * nm[0][1] + normal->y * nm[1][1] + normal->z * nm[2][1],
                    normal->x * nm[0][2] + normal->y * nm[1][2] + normal->z * nm[2][2]);
        if (L.normalize) N = normalized(N);
    }
    float ambient[3] = {L.global_ambient[0], L.global_ambient[1], L.global_ambient[2]};
    float diffuse[3] = {0, 0, 0};
    float specular[3] = {0, 0, 0};
    Vector3 V;
    if (L.specular && normal != nullptr) V = L.local_viewer ? normalized(-P) : Vector3(0.0f, 0.0f, -1.0f);
    for (unsigned i = 0; i < L.light_count; ++i) {
        const PreparedLight& l = L.lights[i];
        Vector3 dir;
        float att = 1.0f;
        float spot = 1.0f;
        if (l.type == D3DLIGHT_DIRECTIONAL) {
            dir = l.direction;
        } else {
            const Vector3 to_light = l.position - P;
            const float d = std::sqrt(vector3_dot(to_light, to_light));
            if (d > l.range) continue;  // beyond range: nothing at all, not even ambient
            dir = d > 0.0f ? to_light * (1.0f / d) : Vector3();
            const float denom = l.att0 + l.att1 * d + l.att2 * d * d;
            att = denom > 0.0f ? 1.0f / denom : 1.0f;
            if (l.type == D3DLIGHT_SPOT) {
                const float rho = -vector3_dot(dir, l.direction);
                if (rho > l.cos_inner) {
                    spot = 1.0f;
                } else if (rho <= l.cos_outer) {
                    spot = 0.0f;
                } else {
                    const float ramp = (rho - l.cos_outer) / (l.cos_inner - l.cos_outer);
                    spot = l.falloff == 1.0f ? ramp : std::pow(ramp, l.falloff);
                }
            }
        }
        const float scale = att * spot;
        for (int c = 0; c < 3; ++c) ambient[c] += l.ambient[c] * scale;
        if (normal == nullptr) continue;
        const float ndotl = vector3_dot(N, dir);
        if (ndotl <= 0.0f) continue;
        for (int c = 0; c < 3; ++c) diffuse[c] += l.diffuse[c] * ndotl * scale;
        if (L.specular) {
            const Vector3 H = normalized(dir + V);
            const float ndoth = vector3_dot(N, H);
            if (ndoth > 0.0f) {
                const float p = L.material.power == 0.0f ? 1.0f : std::pow(ndoth, L.material.power);
                for (int c = 0; c < 3; ++c) specular[c] += l.specular[c] * p * scale;
            }
        }
    }
    auto pick = [&](int source, const D3DCOLORVALUE& m, float out[4]) {
        if (source == 1 && has_vertex_diffuse) {
            for (int c = 0; c < 4; ++c) out[c] = vdiffuse[c];
        } else if (source == 2 && has_vertex_specular) {
            for (int c = 0; c < 4; ++c) out[c] = vspecular[c];
        } else {
            out[0] = m.r;
            out[1] = m.g;
            out[2] = m.b;
            out[3] = m.a;
        }
    };
    float cd[4], ca[4], cs[4], ce[4];
    pick(L.source_diffuse, L.material.diffuse, cd);
    pick(L.source_ambient, L.material.ambient, ca);
    pick(L.source_specular, L.material.specular, cs);
    pick(L.source_emissive, L.material.emissive, ce);
    for (int c = 0; c < 3; ++c) {
        const float v = ca[c] * ambient[c] + cd[c] * diffuse[c] + ce[c];
        out_diffuse[c] = std::clamp(v, 0.0f, 1.0f) * 255.0f;
        out_specular[c] = std::clamp(cs[c] * specular[c], 0.0f, 1.0f) * 255.0f;
    }
    out_diffuse[3] = std::clamp(cd[3], 0.0f, 1.0f) * 255.0f;
}

template <typename T>
T read(const BYTE* p)
{
    T v;
    std::memcpy(&v, p, sizeof(T));
    return v;
}

}  // namespace

void prepare_vertex_stage(const DeviceState& s, const VertexLayout& layout, DWORD flags, VertexStage* out)
{
    VertexStage& g = *out;
    g.layout = layout;
    g.lighting = !layout.pretransformed && s.render[D3DRENDERSTATE_LIGHTING] && !(flags & D3DDP_DONOTLIGHT);
    if (g.lighting) prepare_lighting(s, layout, &g.lights);
    if (!layout.pretransformed) {
        Matrix wv;
        matrix_multiply(&wv, &s.world(), &s.view());
        matrix_multiply(&g.wvp, &wv, &s.projection());
    }
    const D3DVIEWPORT7& vp = s.viewport;
    g.half_w = static_cast<float>(vp.dwWidth) * 0.5f;
    g.half_h = static_cast<float>(vp.dwHeight) * 0.5f;
    g.centre_x = static_cast<float>(vp.dwX) + g.half_w;
    g.centre_y = static_cast<float>(vp.dwY) + g.half_h;
    for (unsigned stage = 0; stage < kStages; ++stage) {
        g.coordinate_set[stage] = s.stage[stage][D3DTSS_TEXCOORDINDEX] & 0xFFFF;
    }
}

void transform_vertices(const VertexStage& g, const BYTE* vertices, DWORD first, DWORD count, const GuardBand& guard,
                        ClipVertex* out)
{
    const DWORD done = transform_vertices8(g, vertices, first, count, guard, out);
    transform_vertices_one_by_one(g, vertices, first + done, count - done, guard, out);
}

void transform_vertices_one_by_one(const VertexStage& g, const BYTE* vertices, DWORD first, DWORD count,
                                   const GuardBand& guard, ClipVertex* out)
{
    const VertexLayout& layout = g.layout;
    const bool lighting = g.lighting;
    const LightingSetup& lights = g.lights;
    const Matrix& wvp = g.wvp;
    const float half_w = g.half_w;
    const float half_h = g.half_h;
    const float centre_x = g.centre_x;
    const float centre_y = g.centre_y;
    const DWORD* coordinate_set = g.coordinate_set;

    for (DWORD i = first; i < first + count; ++i) {
        const BYTE* v = vertices + static_cast<std::size_t>(i) * layout.stride;
        ClipVertex& o = out[i];
        const Vector3 position(read<float>(v), read<float>(v + 4), read<float>(v + 8));
        if (layout.pretransformed) {
            const float rhw = read<float>(v + layout.offset_rhw);
            const float w = (rhw > 0.0f && std::isfinite(rhw)) ? 1.0f / rhw : -1.0f;
            o.h[0] = position.x * w;
            o.h[1] = position.y * w;
            o.h[2] = position.z * w;
            o.h[3] = w;
        } else {
            const float(*m)[4] = wvp.m;
            const float cx = position.x * m[0][0] + position.y * m[1][0] + position.z * m[2][0] + m[3][0];
            const float cy = position.x * m[0][1] + position.y * m[1][1] + position.z * m[2][1] + m[3][1];
            const float cz = position.x * m[0][2] + position.y * m[1][2] + position.z * m[2][2] + m[3][2];
            const float cw = position.x * m[0][3] + position.y * m[1][3] + position.z * m[2][3] + m[3][3];
            o.h[0] = cx * half_w + cw * centre_x;
            o.h[1] = -cy * half_h + cw * centre_y;
            o.h[2] = cz;
            o.h[3] = cw;
        }

        float vdiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        float vspecular[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        if (layout.has_diffuse) color_to_float4(read<DWORD>(v + layout.offset_diffuse), vdiffuse);
        if (layout.has_specular) color_to_float4(read<DWORD>(v + layout.offset_specular), vspecular);
        if (lighting) {
            Vector3 normal;
            if (layout.has_normal) {
                const BYTE* n = v + layout.offset_normal;
                normal = Vector3(read<float>(n), read<float>(n + 4), read<float>(n + 8));
            }
            light_vertex(lights, position, layout.has_normal ? &normal : nullptr, vdiffuse, vspecular,
                         layout.has_diffuse, layout.has_specular, o.attr + kAttrDiffuse, o.attr + kAttrSpecular);
        } else {
            for (int c = 0; c < 4; ++c) o.attr[kAttrDiffuse + c] = vdiffuse[c] * 255.0f;
            for (int c = 0; c < 3; ++c) o.attr[kAttrSpecular + c] = vspecular[c] * 255.0f;
        }
        for (unsigned stage = 0; stage < kStages; ++stage) {
            float* t = o.attr + kAttrTex + 2 * stage;
            if (coordinate_set[stage] < layout.texcoord_count) {
                const BYTE* tc = v + layout.offset_texcoord[coordinate_set[stage]];
                t[0] = read<float>(tc);
                t[1] = read<float>(tc + 4);
            } else {
                t[0] = 0.0f;
                t[1] = 0.0f;
            }
        }
        o.outcode = clip_outcode(o, guard, !layout.pretransformed);
    }
}

}  // namespace soft
