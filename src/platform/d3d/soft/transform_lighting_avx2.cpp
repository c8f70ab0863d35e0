// The vertex stage eight vertices at a time, for processors with AVX2: the transform, lighting,
// texture-coordinate selection and clip outcodes of transform_lighting.cpp, one vertex to a lane.
// Every lane computes exactly what the one-vertex loop computes, with the same operations in the
// same order (IEEE single precision, no contraction, square roots and divisions correctly rounded),
// so the output is bit for bit the same. Where that loop skips a light for a vertex (beyond its range,
// facing away), the lane keeps its sums unchanged; powers are taken lane by lane with the same powf,
// and only for the lanes that need them. Only whole groups of eight are done here; the one-vertex loop
// does the rest, and all pre-transformed vertices.
#include <immintrin.h>

#include <cmath>

#include "platform/d3d/soft/simd8.h"
#include "platform/d3d/soft/transform_lighting.h"
#include "platform/d3d/soft/avx2_region.h"

SOFT_AVX2_BEGIN

namespace soft {
namespace {

using namespace simd8;

struct V3 {
    f8 x, y, z;
};

V3 operator+(const V3& a, const V3& b)
{
    return V3{a.x + b.x, a.y + b.y, a.z + b.z};
}

V3 operator-(const V3& a, const V3& b)
{
    return V3{a.x - b.x, a.y - b.y, a.z - b.z};
}

V3 operator*(const V3& v, f8 s)
{
    return V3{v.x * s, v.y * s, v.z * s};
}

V3 splat3(const Vector3& v)
{
    return V3{splat(v.x), splat(v.y), splat(v.z)};
}

f8 dot(const V3& a, const V3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

V3 select3(i8 mask, const V3& a, const V3& b)
{
    return V3{select(mask, a.x, b.x), select(mask, a.y, b.y), select(mask, a.z, b.z)};
}

f8 sqrt8(f8 v)
{
    return reinterpret_cast<f8>(_mm256_sqrt_ps(reinterpret_cast<__m256>(v)));
}

V3 normalized(const V3& v)
{
    const f8 len = sqrt8(dot(v, v));
    return select3(len > splat(0.0f), v * (splat(1.0f) / len), V3{splat(0.0f), splat(0.0f), splat(0.0f)});
}

// v · M with the translation row (row-vector convention).
V3 transform_position(const V3& v, const float (*m)[4])
{
    return V3{v.x * splat(m[0][0]) + v.y * splat(m[1][0]) + v.z * splat(m[2][0]) + splat(m[3][0]),
              v.x * splat(m[0][1]) + v.y * splat(m[1][1]) + v.z * splat(m[2][1]) + splat(m[3][1]),
              v.x * splat(m[0][2]) + v.y * splat(m[1][2]) + v.z * splat(m[2][2]) + splat(m[3][2])};
}

// std::clamp(v, 0, 1): v below 0 gives 0, above 1 gives 1, anything else (NaN too) itself.
f8 clamp01(f8 v)
{
    return select(v < splat(0.0f), splat(0.0f), select(splat(1.0f) < v, splat(1.0f), v));
}

// powf(base, exponent) on the lanes of mask, 0 on the others.
f8 power_lanes(f8 base, float exponent, i8 mask)
{
    f8 out = splat(0.0f);
    const int lanes = _mm256_movemask_ps(reinterpret_cast<__m256>(mask));
    for (int i = 0; i < 8; ++i) {
        if (lanes & (1 << i)) out[i] = std::pow(base[i], exponent);
    }
    return out;
}

// The eight vertices' fields, gathered from records stride bytes apart.
struct Gatherer {
    const BYTE* base;
    i8 offsets;  // lane · stride

    f8 real(DWORD offset) const
    {
        return reinterpret_cast<f8>(_mm256_i32gather_ps(reinterpret_cast<const float*>(base + offset),
                                                        raw(offsets), 1));
    }
    u8 word(DWORD offset) const
    {
        return reinterpret_cast<u8>(_mm256_i32gather_epi32(reinterpret_cast<const int*>(base + offset),
                                                           raw(offsets), 1));
    }
};

struct Colour4 {
    f8 c[4];  // r, g, b, a in 0..1
};

f8 channel(u8 colour, int shift)
{
    return to_float(reinterpret_cast<i8>((colour >> shift) & 0xFFu)) * splat(1.0f / 255.0f);
}

Colour4 unpack(u8 colour)
{
    return Colour4{{channel(colour, 16), channel(colour, 8), channel(colour, 0), channel(colour, 24)}};
}

// light_vertex of transform_lighting.cpp on eight lanes. It and the transpose are inlined into the
// group, so that the lanes' results stay in registers on their way out.
[[gnu::always_inline]] inline void light8(const LightingSetup& L, const V3& position, const V3* normal,
                                          const Colour4& vdiffuse, const Colour4& vspecular,
                                          bool has_vertex_diffuse, bool has_vertex_specular, f8* out_diffuse,
                                          f8* out_specular)
{
    const f8 zero = splat(0.0f);
    const V3 P = transform_position(position, L.world_view.m);
    V3 N{zero, zero, zero};
    if (normal != nullptr) {
        const float(*nm)[3] = L.normal_matrix;
        N = V3{normal->x * splat(nm[0][0]) + normal->y * splat(nm[1][0]) + normal->z * splat(nm[2][0]),
               normal->x * splat(nm[0][1]) + normal->y * splat(nm[1][1]) + normal->z * splat(nm[2][1]),
               normal->x * splat(nm[0][2]) + normal->y * splat(nm[1][2]) + normal->z * splat(nm[2][2])};
        if (L.normalize) N = normalized(N);
    }
    f8 ambient[3] = {splat(L.global_ambient[0]), splat(L.global_ambient[1]), splat(L.global_ambient[2])};
    f8 diffuse[3] = {zero, zero, zero};
    f8 specular[3] = {zero, zero, zero};
    V3 V{zero, zero, zero};
    if (L.specular && normal != nullptr) {
        V = L.local_viewer ? normalized(V3{-P.x, -P.y, -P.z}) : V3{zero, zero, splat(-1.0f)};
    }
    const i8 all = splat_i(-1);
    for (unsigned i = 0; i < L.light_count; ++i) {
        const PreparedLight& l = L.lights[i];
        V3 dir;
        f8 att = splat(1.0f);
        f8 spot = splat(1.0f);
        i8 shines = all;  // the lanes the light reaches
        if (l.type == D3DLIGHT_DIRECTIONAL) {
            dir = splat3(l.direction);
        } else {
            const V3 to_light = splat3(l.position) - P;
            const f8 d = sqrt8(dot(to_light, to_light));
            shines = ~(d > splat(l.range));
            if (none(shines)) continue;
            dir = select3(d > zero, to_light * (splat(1.0f) / d), V3{zero, zero, zero});
            const f8 denom = splat(l.att0) + splat(l.att1) * d + splat(l.att2) * d * d;
            att = select(denom > zero, splat(1.0f) / denom, splat(1.0f));
            if (l.type == D3DLIGHT_SPOT) {
                const f8 rho = -dot(dir, splat3(l.direction));
                const i8 inner = rho > splat(l.cos_inner);
                const i8 outer = rho <= splat(l.cos_outer);
                const f8 ramp = (rho - splat(l.cos_outer)) / (splat(l.cos_inner) - splat(l.cos_outer));
                const f8 edge = l.falloff == 1.0f ? ramp : power_lanes(ramp, l.falloff, shines & ~inner & ~outer);
                spot = select(inner, splat(1.0f), select(outer, zero, edge));
            }
        }
        const f8 scale = att * spot;
        for (int c = 0; c < 3; ++c) ambient[c] = select(shines, ambient[c] + splat(l.ambient[c]) * scale, ambient[c]);
        if (normal == nullptr) continue;
        const f8 ndotl = dot(N, dir);
        const i8 lit = shines & ~(ndotl <= zero);
        if (none(lit)) continue;
        for (int c = 0; c < 3; ++c) {
            diffuse[c] = select(lit, diffuse[c] + splat(l.diffuse[c]) * ndotl * scale, diffuse[c]);
        }
        if (L.specular) {
            const V3 H = normalized(dir + V);
            const f8 ndoth = dot(N, H);
            const i8 highlight = lit & (ndoth > zero);
            if (none(highlight)) continue;
            const f8 p = L.material.power == 0.0f ? splat(1.0f) : power_lanes(ndoth, L.material.power, highlight);
            for (int c = 0; c < 3; ++c) {
                specular[c] = select(highlight, specular[c] + splat(l.specular[c]) * p * scale, specular[c]);
            }
        }
    }
    auto pick = [&](int source, const D3DCOLORVALUE& m) {
        if (source == 1 && has_vertex_diffuse) return vdiffuse;
        if (source == 2 && has_vertex_specular) return vspecular;
        return Colour4{{splat(m.r), splat(m.g), splat(m.b), splat(m.a)}};
    };
    const Colour4 cd = pick(L.source_diffuse, L.material.diffuse);
    const Colour4 ca = pick(L.source_ambient, L.material.ambient);
    const Colour4 cs = pick(L.source_specular, L.material.specular);
    const Colour4 ce = pick(L.source_emissive, L.material.emissive);
    for (int c = 0; c < 3; ++c) {
        const f8 v = ca.c[c] * ambient[c] + cd.c[c] * diffuse[c] + ce.c[c];
        out_diffuse[c] = clamp01(v) * splat(255.0f);
        out_specular[c] = clamp01(cs.c[c] * specular[c]) * splat(255.0f);
    }
    out_diffuse[3] = clamp01(cd.c[3]) * splat(255.0f);
}

// clip_outcode of clipping.cpp for transformed vertices (depth planes included).
i8 outcodes(const f8 h[4], const GuardBand& g)
{
    const f8 zero = splat(0.0f);
    const f8 limit = splat(1.0e18f);
    i8 finite = splat_i(-1);
    for (int i = 0; i < 4; ++i) {
        const f8 magnitude = reinterpret_cast<f8>(reinterpret_cast<i8>(h[i]) & splat_i(0x7FFFFFFF));
        finite &= magnitude < limit;
    }
    const i8 code = ((h[0] - splat(g.left) * h[3] < zero) & 1) | ((splat(g.right) * h[3] - h[0] < zero) & 2) |
                    ((h[1] - splat(g.top) * h[3] < zero) & 4) | ((splat(g.bottom) * h[3] - h[1] < zero) & 8) |
                    ((h[2] < zero) & 16) | ((h[3] - h[2] < zero) & 32) | ((h[3] - splat(1e-12f) < zero) & 64);
    return select(finite, code, splat_i(static_cast<std::int32_t>(0x80000000u)));
}

// Rows r[0..7] (one field of eight lanes each) become eight rows of the lanes' eight fields.
[[gnu::always_inline]] inline void transpose8(f8 r[8])
{
    __m256 a[8], b[8];
    for (int i = 0; i < 8; ++i) a[i] = reinterpret_cast<__m256>(r[i]);
    for (int i = 0; i < 4; ++i) {
        b[2 * i] = _mm256_unpacklo_ps(a[2 * i], a[2 * i + 1]);
        b[2 * i + 1] = _mm256_unpackhi_ps(a[2 * i], a[2 * i + 1]);
    }
    for (int i = 0; i < 2; ++i) {
        a[4 * i] = _mm256_shuffle_ps(b[4 * i], b[4 * i + 2], _MM_SHUFFLE(1, 0, 1, 0));
        a[4 * i + 1] = _mm256_shuffle_ps(b[4 * i], b[4 * i + 2], _MM_SHUFFLE(3, 2, 3, 2));
        a[4 * i + 2] = _mm256_shuffle_ps(b[4 * i + 1], b[4 * i + 3], _MM_SHUFFLE(1, 0, 1, 0));
        a[4 * i + 3] = _mm256_shuffle_ps(b[4 * i + 1], b[4 * i + 3], _MM_SHUFFLE(3, 2, 3, 2));
    }
    for (int i = 0; i < 4; ++i) {
        r[i] = reinterpret_cast<f8>(_mm256_permute2f128_ps(a[i], a[i + 4], 0x20));
        r[i + 4] = reinterpret_cast<f8>(_mm256_permute2f128_ps(a[i], a[i + 4], 0x31));
    }
}

[[gnu::always_inline]] inline void transform_group(const VertexStage& g, const Gatherer& in, const GuardBand& guard,
                                                   ClipVertex* out)
{
    static_assert(sizeof(ClipVertex) == 64 && kAttributes == 11, "a clip vertex is two rows of eight");
    const VertexLayout& layout = g.layout;
    const V3 position{in.real(0), in.real(4), in.real(8)};
    f8 rows[16];  // h[0..3], attr[0..10], outcode
    f8* h = rows;
    f8* attr = rows + 4;
    const float(*m)[4] = g.wvp.m;
    const f8 cx = position.x * splat(m[0][0]) + position.y * splat(m[1][0]) + position.z * splat(m[2][0]) +
                  splat(m[3][0]);
    const f8 cy = position.x * splat(m[0][1]) + position.y * splat(m[1][1]) + position.z * splat(m[2][1]) +
                  splat(m[3][1]);
    const f8 cz = position.x * splat(m[0][2]) + position.y * splat(m[1][2]) + position.z * splat(m[2][2]) +
                  splat(m[3][2]);
    const f8 cw = position.x * splat(m[0][3]) + position.y * splat(m[1][3]) + position.z * splat(m[2][3]) +
                  splat(m[3][3]);
    h[0] = cx * splat(g.half_w) + cw * splat(g.centre_x);
    h[1] = -cy * splat(g.half_h) + cw * splat(g.centre_y);
    h[2] = cz;
    h[3] = cw;

    const f8 one = splat(1.0f);
    const f8 zero = splat(0.0f);
    const Colour4 vdiffuse =
        layout.has_diffuse ? unpack(in.word(layout.offset_diffuse)) : Colour4{{one, one, one, one}};
    const Colour4 vspecular =
        layout.has_specular ? unpack(in.word(layout.offset_specular)) : Colour4{{zero, zero, zero, zero}};
    if (g.lighting) {
        V3 normal;
        if (layout.has_normal) {
            const DWORD n = layout.offset_normal;
            normal = V3{in.real(n), in.real(n + 4), in.real(n + 8)};
        }
        light8(g.lights, position, layout.has_normal ? &normal : nullptr, vdiffuse, vspecular, layout.has_diffuse,
               layout.has_specular, attr + kAttrDiffuse, attr + kAttrSpecular);
    } else {
        for (int c = 0; c < 4; ++c) attr[kAttrDiffuse + c] = vdiffuse.c[c] * splat(255.0f);
        for (int c = 0; c < 3; ++c) attr[kAttrSpecular + c] = vspecular.c[c] * splat(255.0f);
    }
    for (unsigned stage = 0; stage < kStages; ++stage) {
        f8* t = attr + kAttrTex + 2 * stage;
        const DWORD set = g.coordinate_set[stage];
        if (set < layout.texcoord_count) {
            t[0] = in.real(layout.offset_texcoord[set]);
            t[1] = in.real(layout.offset_texcoord[set] + 4);
        } else {
            t[0] = zero;
            t[1] = zero;
        }
    }
    rows[15] = reinterpret_cast<f8>(outcodes(h, guard));

    transpose8(rows);
    transpose8(rows + 8);
    for (int i = 0; i < 8; ++i) {
        float* o = reinterpret_cast<float*>(out + i);
        _mm256_storeu_ps(o, reinterpret_cast<__m256>(rows[i]));
        _mm256_storeu_ps(o + 8, reinterpret_cast<__m256>(rows[8 + i]));
    }
}

DWORD transform_groups(const VertexStage& g, const BYTE* vertices, DWORD first, DWORD count, const GuardBand& guard,
                       ClipVertex* out)
{
    const DWORD stride = g.layout.stride;
    const i8 offsets = i8{0, 1, 2, 3, 4, 5, 6, 7} * splat_i(static_cast<std::int32_t>(stride));
    const DWORD groups = count / 8;
    for (DWORD n = 0; n < groups; ++n) {
        const DWORD i = first + 8 * n;
        transform_group(g, Gatherer{vertices + static_cast<std::size_t>(i) * stride, offsets}, guard, out + i);
    }
    return groups * 8;
}

}  // namespace
}  // namespace soft

SOFT_AVX2_END

namespace soft {

DWORD transform_vertices8(const VertexStage& g, const BYTE* vertices, DWORD first, DWORD count,
                          const GuardBand& guard, ClipVertex* out)
{
    // Lane offsets (lane · stride) are 32-bit; a vertex is at most a few hundred bytes.
    if (!cpu_has_avx2() || g.layout.pretransformed || g.layout.stride > (1u << 24)) return 0;
    return transform_groups(g, vertices, first, count, guard, out);
}

}  // namespace soft
