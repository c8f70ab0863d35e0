#include "effects/soft_blob.h"

#include <cmath>
#include <initializer_list>

#include "effects/sphere_map.h"
#include "effects/vertex_normals.h"
#include "math/matrix.h"
#include "math/random.h"
#include "render/render.h"
#include "textures/texture_manager.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = kPi * 2.0f;

int random1000() { return random_next() % 1000; }

void wrap_angle(float* angle) {
    if (*angle > kTwoPi) *angle -= kTwoPi;
    if (*angle < 0.0f) *angle += kTwoPi;
}

void build_sphere(SoftBlob* blob) {
    blob->vertices.assign(SOFT_BLOB_ALLOCATED_VERTICES, SceneVertex{});
    blob->vertices[SOFT_BLOB_NORTH_POLE] = SceneVertex{0, 1, 0, 0, 1, 0, 0, 0, 0, 0};
    // The angles in extended precision, as the rings and slices were laid out: the last ring lies on
    // pi and the last slice on 2 pi exactly.
    const long double pi = 3.141592653589793238462643383279502884L;
    for (int j = 1; j <= SOFT_BLOB_RINGS; ++j) {
        const long double phi = pi / 32 + (j - 1) * (31 * pi / 1024);
        for (int k = 0; k <= SOFT_BLOB_SLICES; ++k) {
            const long double theta = k * (pi / 16);
            SceneVertex& v = blob->vertices[static_cast<std::size_t>(1 + 33 * (j - 1) + k)];
            v.x = static_cast<float>(std::cos(theta) * std::sin(phi));
            v.y = static_cast<float>(std::cos(phi));
            v.z = static_cast<float>(std::sin(theta) * std::sin(phi));
            const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
            v.nx = v.x / length;
            v.ny = v.y / length;
            v.nz = v.z / length;
            v.tu = v.nx;
            v.tv = static_cast<float>(phi / pi);
        }
    }
    blob->vertices[SOFT_BLOB_SOUTH_POLE] = SceneVertex{0, -1, 0, 0, -1, 0, 0, 1, 0, 0};
    blob->vertex_count = SOFT_BLOB_VERTEX_COUNT;

    blob->indices.clear();
    blob->indices.reserve(SOFT_BLOB_INDEX_COUNT);
    for (int k = 0; k < SOFT_BLOB_SLICES; ++k) {
        const int next = (k + 1) % SOFT_BLOB_SLICES;
        for (int c = 0; c < 32; ++c) {
            for (int index : {soft_blob_vertex_at(k, c), soft_blob_vertex_at(next, c + 1), soft_blob_vertex_at(k, c + 1),
                              soft_blob_vertex_at(k, c), soft_blob_vertex_at(next, c), soft_blob_vertex_at(next, c + 1)}) {
                blob->indices.push_back(static_cast<std::uint16_t>(index));
            }
        }
    }
    blob->index_count = static_cast<int>(blob->indices.size());
}

void build_nodes(SoftBlob* blob) {
    blob->nodes.assign(static_cast<std::size_t>(blob->vertex_count), BlobNode{});
    for (int i = 0; i < blob->vertex_count; ++i) {
        const SceneVertex& v = blob->vertices[static_cast<std::size_t>(i)];
        BlobNode& node = blob->nodes[static_cast<std::size_t>(i)];
        node.rest_position = Vector3{v.x, v.y, v.z};
        node.rest_radius = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        node.rest_normal = Vector3{v.nx, v.ny, v.nz};
        for (std::int32_t& neighbour : node.neighbours) neighbour = i;
    }
    for (int k = 0; k < SOFT_BLOB_SLICES; ++k) {
        const int before = (k + SOFT_BLOB_SLICES - 1) % SOFT_BLOB_SLICES;
        const int after = (k + 1) % SOFT_BLOB_SLICES;
        for (int c = 1; c <= 31; ++c) {
            BlobNode& node = blob->nodes[static_cast<std::size_t>(soft_blob_vertex_at(k, c))];
            const int around[8] = {
                soft_blob_vertex_at(k, c - 1),      soft_blob_vertex_at(after, c),
                soft_blob_vertex_at(k, c + 1),      soft_blob_vertex_at(before, c),
                soft_blob_vertex_at(before, c - 1), soft_blob_vertex_at(after, c - 1),
                soft_blob_vertex_at(before, c + 1), soft_blob_vertex_at(after, c + 1),
            };
            for (int n = 0; n < 8; ++n) node.neighbours[n] = around[n];
        }
    }
}

void seed_bumpers(SoftBlob* blob) {
    for (BlobBumper& bumper : blob->bumpers) {
        bumper = BlobBumper{};
        bumper.ax = static_cast<float>(random1000()) * kPi * 0.002f;
        bumper.ay = static_cast<float>(random1000()) * kPi * 0.002f;
        bumper.az = static_cast<float>(random1000()) * kPi * 0.002f;
        bumper.sx = static_cast<float>(random1000() - 500) * kPi * 0.004f * 0.02f;
        bumper.sy = static_cast<float>(random1000() - 500) * kPi * 0.004f * 0.02f;
        bumper.sz = static_cast<float>(random1000() - 500) * kPi * 0.004f * 0.02f;
    }
    for (int i = 0; i < 3; ++i) random_next();
}

D3DLIGHT7 blob_light() {
    D3DLIGHT7 light{};
    light.dltType = D3DLIGHT_POINT;
    for (D3DCOLORVALUE* c : {&light.dcvDiffuse, &light.dcvSpecular, &light.dcvAmbient}) {
        c->r = 1.0f;
        c->g = 1.0f;
        c->b = 1.0f;
        c->a = 0.0f;
    }
    light.dvPosition = Vector3(4.0f, 4.0f, -4.0f);
    light.dvDirection = Vector3(0.0f, 0.0f, 0.0f);
    light.dvRange = 64.0f;
    light.dvFalloff = 0.0f;
    light.dvAttenuation0 = 1.0f;
    return light;
}

}  // namespace

int soft_blob_vertex_at(int slice, int ring) {
    if (ring == 0) return SOFT_BLOB_NORTH_POLE;
    if (ring == 32 && slice < SOFT_BLOB_SLICES) return SOFT_BLOB_SOUTH_POLE;
    return 1 + 33 * (ring - 1) + slice;
}

SoftBlob& soft_blob() {
    static SoftBlob instance;
    return instance;
}

void soft_blob_create(const char* base_texture, const char* reflection_texture) {
    soft_blob_create(&soft_blob(), base_texture, reflection_texture);
}
void soft_blob_update(float delta) { soft_blob_update(&soft_blob(), delta); }
void soft_blob_render(float x, float y, float z) { soft_blob_render(&soft_blob(), x, y, z); }

void soft_blob_create(SoftBlob* blob, const char* base_texture, const char* reflection_texture) {
    blob->base_texture = base_texture != nullptr ? base_texture : "";
    blob->reflection_texture = reflection_texture != nullptr ? reflection_texture : "";
    texture_load(blob->base_texture.c_str(), 32, 8);
    texture_load(blob->reflection_texture.c_str(), 32, 8);
    build_sphere(blob);
    build_nodes(blob);
    seed_bumpers(blob);
    blob->step = 0.0f;
}

void soft_blob_update(SoftBlob* blob, float delta) { blob->step = delta * 30.0f; }

void soft_blob_move_bumpers(SoftBlob* blob) {
    const float k = blob->step * 0.01f;
    for (BlobBumper& bumper : blob->bumpers) {
        if (bumper.active != 1.0f) {
            bumper.active = 1.0f;
            bumper.distance = static_cast<float>(random1000()) * 0.0001f + 1.0f;
            bumper.reserved = 0.0f;
            bumper.radius = static_cast<float>(random1000()) * 0.00025f + 0.2f;
            continue;
        }
        bumper.ax += k * bumper.sx;
        bumper.ay += k * bumper.sy;
        bumper.az += k * bumper.sz;
        wrap_angle(&bumper.ax);
        wrap_angle(&bumper.ay);
        wrap_angle(&bumper.az);
        const Vector3 towards{std::cos(bumper.ax), std::sin(bumper.ay), std::cos(bumper.az)};
        const float length = vector3_length(towards);
        if (length > 0.0f) bumper.direction = Vector3{towards.x / length, towards.y / length, towards.z / length};
        bumper.distance = std::cos(bumper.ay) * std::sin(bumper.ax) * 0.4f + 1.0f;
    }
}

void soft_blob_simulate(SoftBlob* blob) {
    const float k = blob->step * 0.01f;
    const float damping = std::pow(0.95f, k);
    for (BlobNode& node : blob->nodes) {
        float d = node.offset + node.speed;
        float v = node.speed;
        if (d < 0.0f) {
            if (v < 0.0f) v *= damping;
            v += k * 0.01f;
        }
        if (d > 0.0f) {
            if (v > 0.0f) v *= damping;
            v -= k * 0.01f;
        }
        for (const BlobBumper& bumper : blob->bumpers) {
            if (bumper.active == 0.0f) continue;
            const float r = node.rest_radius + d;
            const Vector3 gap = node.rest_position * r - bumper.direction * bumper.distance;
            const float p = bumper.radius - vector3_length(gap);
            if (p > 0.0f) {
                float push = vector3_dot(node.rest_normal, bumper.direction) * (p / bumper.radius);
                if (push < 0.0f) push = 0.0f;
                d -= push;
                if (v > 0.0f) v = 0.0f;
            }
        }
        if (d < SOFT_BLOB_LOWEST_OFFSET) d = SOFT_BLOB_LOWEST_OFFSET;
        node.offset = d;
        node.speed = v;
    }
    for (BlobNode& node : blob->nodes) {
        float sum = 0.0f;
        for (int n = 7; n >= 0; --n) sum += blob->nodes[static_cast<std::size_t>(node.neighbours[n])].offset;
        node.smoothed = (sum + node.offset) * 0.11111111f;
    }
    for (std::size_t i = 0; i < blob->nodes.size(); ++i) {
        BlobNode& node = blob->nodes[i];
        node.offset = node.smoothed;
        const Vector3 position = node.rest_position * (node.rest_radius + node.offset);
        blob->vertices[i].x = position.x;
        blob->vertices[i].y = position.y;
        blob->vertices[i].z = position.z;
    }
}

void soft_blob_render(SoftBlob* blob, float x, float y, float z) {
    if (blob->nodes.empty()) return;  // never built
    set_light(0, blob_light());
    Matrix world;
    set_world_matrix(*matrix_translation(&world, x, y, z));
    soft_blob_move_bumpers(blob);
    soft_blob_simulate(blob);
    compute_vertex_normals(blob->vertices.data(), blob->indices.data(), blob->vertex_count, blob->index_count);
    apply_sphere_map(blob->vertices.data(), blob->vertex_count);

    texture_select(0, blob->base_texture.c_str());
    set_stage_state(0, D3DTSS_TEXCOORDINDEX, 0);
    set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(0, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_blend(FALSE, D3DBLEND_ONE, D3DBLEND_ONE);
    set_render_state(D3DRENDERSTATE_SPECULARENABLE, FALSE);
    set_render_state(D3DRENDERSTATE_LIGHTING, FALSE);
    draw_indexed(D3DPT_TRIANGLELIST, SCENE_VERTEX_FVF, blob->vertices.data(), static_cast<DWORD>(blob->vertex_count),
                 blob->indices.data(), static_cast<DWORD>(blob->index_count), 0);

    texture_select(0, blob->reflection_texture.c_str());
    set_stage_state(0, D3DTSS_TEXCOORDINDEX, 1);
    set_blend(TRUE, D3DBLEND_ONE, D3DBLEND_ONE);
    draw_indexed(D3DPT_TRIANGLELIST, SCENE_VERTEX_FVF, blob->vertices.data(), static_cast<DWORD>(blob->vertex_count),
                 blob->indices.data(), static_cast<DWORD>(blob->index_count), D3DDP_WAIT);
}
