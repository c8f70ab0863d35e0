// The eight-lane vertex stage against the one-vertex loop, bit for bit: random vertex formats
// (normals, diffuse and specular colours, texture coordinate sets, read by random stages), random
// matrices and viewports, lighting off and on with every light type, ranges that cut some vertices
// off, spot cones with and without a falloff power, attenuations that vanish, zero normals, lights
// standing on a vertex, material powers of 0 and more, each colour source, and some positions and
// normals that are huge or not finite. Ranges start anywhere and need not be whole groups of eight.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "platform/d3d/core/vertex_format.h"
#include "platform/d3d/d3d_states.h"
#include "platform/d3d/soft/avx2_region.h"
#include "platform/d3d/soft/transform_lighting.h"

namespace {

using namespace soft;

float uniform(std::mt19937& rng, float lo, float hi)
{
    return std::uniform_real_distribution<float>(lo, hi)(rng);
}

Vector3 random_vector(std::mt19937& rng, float extent)
{
    return Vector3(uniform(rng, -extent, extent), uniform(rng, -extent, extent), uniform(rng, -extent, extent));
}

void random_matrix(std::mt19937& rng, Matrix* m)
{
    for (auto& row : m->m) {
        for (float& v : row) v = uniform(rng, -2.0f, 2.0f);
    }
}

PreparedLight random_light(std::mt19937& rng)
{
    PreparedLight l{};
    const DWORD types[] = {D3DLIGHT_POINT, D3DLIGHT_SPOT, D3DLIGHT_DIRECTIONAL};
    l.type = types[rng() % 3];
    for (int c = 0; c < 3; ++c) {
        l.diffuse[c] = uniform(rng, 0.0f, 1.5f);
        l.specular[c] = uniform(rng, 0.0f, 1.5f);
        l.ambient[c] = uniform(rng, 0.0f, 0.5f);
    }
    l.position = random_vector(rng, 4.0f);
    const Vector3 d = random_vector(rng, 1.0f);
    const float len = std::sqrt(vector3_dot(d, d));
    l.direction = len > 0.0f ? d * (1.0f / len) : Vector3(0.0f, 0.0f, 1.0f);
    l.range = rng() % 3 == 0 ? D3DLIGHT_RANGE_MAX : uniform(rng, 0.5f, 6.0f);
    l.att0 = rng() % 4 == 0 ? 0.0f : uniform(rng, 0.0f, 1.0f);
    l.att1 = uniform(rng, 0.0f, 0.5f);
    l.att2 = rng() % 3 == 0 ? 0.0f : uniform(rng, 0.0f, 0.2f);
    l.cos_inner = std::cos(uniform(rng, 0.1f, 0.8f));
    l.cos_outer = std::cos(uniform(rng, 0.9f, 1.5f));
    l.falloff = rng() % 2 == 0 ? 1.0f : uniform(rng, 0.2f, 4.0f);
    return l;
}

void random_stage(std::mt19937& rng, VertexStage* g)
{
    const DWORD formats[] = {D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1,
                             D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1,
                             D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX2,
                             D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR,
                             D3DFVF_XYZ};
    ASSERT_TRUE(vertex_layout_decode(formats[rng() % 5], &g->layout));
    random_matrix(rng, &g->wvp);
    g->half_w = uniform(rng, 1.0f, 400.0f);
    g->half_h = uniform(rng, 1.0f, 300.0f);
    g->centre_x = g->half_w + uniform(rng, 0.0f, 50.0f);
    g->centre_y = g->half_h + uniform(rng, 0.0f, 50.0f);
    for (DWORD& set : g->coordinate_set) set = rng() % 3;
    g->lighting = rng() % 4 != 0;
    LightingSetup& L = g->lights;
    random_matrix(rng, &L.world_view);
    for (auto& row : L.normal_matrix) {
        for (float& v : row) v = uniform(rng, -2.0f, 2.0f);
    }
    L.normalize = rng() % 2 == 0;
    L.specular = rng() % 3 != 0;
    L.local_viewer = rng() % 2 == 0;
    for (float& a : L.global_ambient) a = uniform(rng, 0.0f, 0.3f);
    L.light_count = static_cast<unsigned>(rng() % (D3D_MAX_ACTIVE_LIGHTS + 1));
    for (unsigned i = 0; i < L.light_count; ++i) L.lights[i] = random_light(rng);
    int* sources[] = {&L.source_diffuse, &L.source_ambient, &L.source_specular, &L.source_emissive};
    for (int* s : sources) *s = static_cast<int>(rng() % 3);
    D3DCOLORVALUE* colours[] = {&L.material.diffuse, &L.material.ambient, &L.material.specular, &L.material.emissive};
    for (D3DCOLORVALUE* c : colours) {
        *c = D3DCOLORVALUE{uniform(rng, 0, 1), uniform(rng, 0, 1), uniform(rng, 0, 1), uniform(rng, -0.2f, 1.2f)};
    }
    L.material.power = rng() % 4 == 0 ? 0.0f : uniform(rng, 1.0f, 60.0f);
}

// Vertices near the lights and the camera, with a few exact light positions, zero normals and
// coordinates that are huge or not finite.
std::vector<BYTE> random_vertices(std::mt19937& rng, const VertexStage& g, DWORD count)
{
    const VertexLayout& layout = g.layout;
    std::vector<BYTE> bytes(static_cast<std::size_t>(count) * layout.stride);
    for (BYTE& b : bytes) b = static_cast<BYTE>(rng());
    for (DWORD i = 0; i < count; ++i) {
        BYTE* v = bytes.data() + static_cast<std::size_t>(i) * layout.stride;
        Vector3 position = random_vector(rng, 5.0f);
        const unsigned special = rng() % 24;
        if (special == 0 && g.lights.light_count > 0) position = g.lights.lights[0].position;
        if (special == 1) position.x = std::numeric_limits<float>::quiet_NaN();
        if (special == 2) position.y = 3.0e18f;
        if (special == 3) position.z = -std::numeric_limits<float>::infinity();
        std::memcpy(v, &position, sizeof(position));
        if (layout.has_normal) {
            Vector3 normal = special == 4 ? Vector3() : random_vector(rng, 1.5f);
            if (special == 5) normal.z = std::numeric_limits<float>::quiet_NaN();
            std::memcpy(v + layout.offset_normal, &normal, sizeof(normal));
        }
        for (DWORD set = 0; set < layout.texcoord_count; ++set) {
            const float uv[2] = {uniform(rng, -4.0f, 4.0f), uniform(rng, -4.0f, 4.0f)};
            std::memcpy(v + layout.offset_texcoord[set], uv, sizeof(uv));
        }
    }
    return bytes;
}

TEST(VertexStage, EightLanesGiveTheOneByOneBits)
{
    std::mt19937 rng(20261208);
    const bool eight_lanes = cpu_has_avx2();
    const GuardBand guard{-600.0f, -500.0f, 1400.0f, 1100.0f};
    for (int round = 0; round < 400; ++round) {
        VertexStage g;
        random_stage(rng, &g);
        const DWORD count = 1 + static_cast<DWORD>(rng() % 60);
        const DWORD first = static_cast<DWORD>(rng() % 5);
        const std::vector<BYTE> vertices = random_vertices(rng, g, first + count);
        std::vector<ClipVertex> expected(first + count), actual(first + count);
        std::memset(expected.data(), 0xA5, expected.size() * sizeof(ClipVertex));
        std::memset(actual.data(), 0xA5, actual.size() * sizeof(ClipVertex));
        transform_vertices_one_by_one(g, vertices.data(), first, count, guard, expected.data());
        transform_vertices(g, vertices.data(), first, count, guard, actual.data());
        for (DWORD i = 0; i < first + count; ++i) {
            ASSERT_EQ(std::memcmp(&expected[i], &actual[i], sizeof(ClipVertex)), 0)
                << "round " << round << ", vertex " << i << " of [" << first << ", " << first + count << ")";
        }
        if (eight_lanes) {
            EXPECT_EQ(transform_vertices8(g, vertices.data(), first, count, guard, actual.data()), count / 8 * 8);
        }
    }
}

}  // namespace
