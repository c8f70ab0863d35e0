#include "effects/shard_ring.h"

#include <cmath>
#include <initializer_list>

#include "math/matrix.h"
#include "math/random.h"
#include "math/vector3.h"
#include "render/render.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = kPi * 2.0f;

int random100() { return random_next() % 100; }

D3DLVERTEX shard_vertex(float radius, float angle, D3DCOLOR colour) {
    return D3DLVERTEX{radius * std::cos(angle), radius * std::sin(angle), 0.0f, 0, colour, 0, 0.0f, 0.0f};
}

}  // namespace

std::unique_ptr<ShardRing> shard_ring_create(int shard_count) {
    if (shard_count < 1) return nullptr;
    auto ring = std::make_unique<ShardRing>();
    ring->shard_count = shard_count;
    ring->vertex_count = 6 * shard_count;
    ring->rest_vertices.reserve(static_cast<std::size_t>(ring->vertex_count));

    const float step = kTwoPi / static_cast<float>(shard_count);
    const float w = kTwoPi * 0.2f;
    float theta = step;
    for (int i = 0; i < shard_count; ++i) {
        const float f = static_cast<float>(random100()) * 0.01f;
        const float r = 2.0f * f;
        const float tip = 4.0f * f + 6.0f;
        const D3DLVERTEX centre{0.0f, 0.0f, 0.0f, 0, SHARD_CENTRE_COLOUR, 0, 0.0f, 0.0f};
        ring->rest_vertices.push_back(shard_vertex(tip, theta, SHARD_TIP_COLOUR));
        ring->rest_vertices.push_back(shard_vertex(r, theta - w, SHARD_SIDE_COLOUR));
        ring->rest_vertices.push_back(centre);
        ring->rest_vertices.push_back(centre);
        ring->rest_vertices.push_back(shard_vertex(r, theta + w, SHARD_SIDE_COLOUR));
        ring->rest_vertices.push_back(shard_vertex(tip, theta, SHARD_TIP_COLOUR));
        theta = theta + static_cast<float>(random100()) * 0.01f * 1.5f + step;
    }
    ring->vertices = ring->rest_vertices;

    for (int i = 0; i < shard_count; ++i) {
        ring->tip_phase.push_back(static_cast<float>(random100()) * kPi * 0.01f);
        ring->spin_speed.push_back(static_cast<float>(random100()) * 0.01f * 0.002f + 0.0002f);
        ring->spin_angle.push_back(0.0f);
    }
    return ring;
}

void shard_ring_update(ShardRing* ring, float seconds) {
    for (int i = 0; i < ring->shard_count; ++i) {
        float& phase = ring->tip_phase[static_cast<std::size_t>(i)];
        phase += 2.0f * seconds;
        if (phase > kPi) phase = 0.0f;
        float& angle = ring->spin_angle[static_cast<std::size_t>(i)];
        angle += ring->spin_speed[static_cast<std::size_t>(i)];
        if (angle > kTwoPi) angle = 0.0f;

        Matrix spin;
        matrix_rotation_z(&spin, angle);
        for (int k = 0; k < 6; ++k) {
            const std::size_t at = static_cast<std::size_t>(6 * i + k);
            const D3DLVERTEX& rest = ring->rest_vertices[at];
            Vector3 p{rest.x, rest.y, rest.z};
            vector3_transform_point(&p, &spin);
            ring->vertices[at].x = p.x;
            ring->vertices[at].y = p.y;
        }
        const float reach = std::sin(phase);
        for (int k : {0, 5}) {
            D3DLVERTEX& tip = ring->vertices[static_cast<std::size_t>(6 * i + k)];
            tip.x *= reach;
            tip.y *= reach;
        }
    }
}

void shard_ring_draw(ShardRing* ring) {
    if (ring == nullptr || ring->vertex_count == 0) return;
    draw_primitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, ring->vertices.data(), static_cast<DWORD>(ring->vertex_count), 0);
}
