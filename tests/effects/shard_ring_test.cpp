// The shard ring: its construction's random draws, the shard layout, spin and tip animation.
#include "effects/shard_ring.h"

#include <cmath>
#include <cstring>

#include "effects_fixture.h"
#include "math/matrix.h"

namespace {

constexpr float kPi = 3.1415927f;

class ShardRingTest : public RecordingEffectTest {};

TEST_F(ShardRingTest, ConstructionDrawsFourValuesPerShardInItsOrder) {
    const auto ring = shard_ring_create(64);
    ASSERT_NE(ring, nullptr);
    ASSERT_EQ(ring->vertex_count, 384);
    RandomGenerator g;
    const auto r100 = [&] { return static_cast<float>(g.next() % 100); };
    const float step = 2 * kPi / 64;
    float theta = step;
    for (int i = 0; i < 64; ++i) {
        const float f = r100() * 0.01f;
        const D3DLVERTEX* v = &ring->rest_vertices[static_cast<std::size_t>(6 * i)];
        EXPECT_NEAR(v[0].x, (4 * f + 6) * std::cos(theta), 1e-4) << i;
        EXPECT_NEAR(v[0].y, (4 * f + 6) * std::sin(theta), 1e-4) << i;
        EXPECT_NEAR(v[1].x, 2 * f * std::cos(theta - 0.4f * kPi), 1e-4) << i;
        EXPECT_NEAR(v[4].y, 2 * f * std::sin(theta + 0.4f * kPi), 1e-4) << i;
        EXPECT_EQ(std::memcmp(&v[0], &v[5], sizeof v[0]), 0);
        EXPECT_EQ((std::vector<D3DCOLOR>{v[0].color, v[1].color, v[2].color, v[3].color, v[4].color, v[5].color}),
                  (std::vector<D3DCOLOR>{0x44444444, 0x88888888, 0xFFFFFFFF, 0xFFFFFFFF, 0x88888888, 0x44444444}));
        EXPECT_EQ((std::vector<float>{v[2].x, v[2].y, v[3].x, v[3].y, v[0].z}), (std::vector<float>(5, 0.0f)));
        theta = theta + r100() * 0.01f * 1.5f + step;
    }
    for (int i = 0; i < 64; ++i) {
        EXPECT_FLOAT_EQ(ring->tip_phase[static_cast<std::size_t>(i)], r100() * kPi * 0.01f) << i;
        const float speed = ring->spin_speed[static_cast<std::size_t>(i)];
        EXPECT_FLOAT_EQ(speed, r100() * 0.01f * 0.002f + 0.0002f) << i;
        EXPECT_GE(speed, 0.0002f);
        EXPECT_LE(speed, 0.00218f + 1e-9f);
        EXPECT_EQ(ring->spin_angle[static_cast<std::size_t>(i)], 0.0f);
    }
    EXPECT_EQ(random_next(), g.next()) << "256 draws in all";
    EXPECT_EQ(shard_ring_create(0), nullptr);
}

TEST_F(ShardRingTest, UpdateSpinsPerFrameAndScalesOnlyTheTips) {
    const auto ring = shard_ring_create(64);
    ring->tip_phase[0] = kPi;        // exactly π: kept
    ring->tip_phase[1] = kPi - 0.01f;  // passes π with the step below: back to 0
    const std::vector<float> speeds = ring->spin_speed;
    shard_ring_update(ring.get(), 0.0f);
    EXPECT_EQ(ring->tip_phase[0], kPi) << "only a phase above π resets";
    EXPECT_EQ(ring->spin_angle[0], speeds[0]) << "the spin is per frame, even with no time";
    shard_ring_update(ring.get(), 0.01f);
    EXPECT_EQ(ring->tip_phase[1], 0.0f);
    EXPECT_FLOAT_EQ(ring->spin_angle[2], 2 * speeds[2]);

    for (int i : {2, 40}) {
        Matrix spin;
        matrix_rotation_z(&spin, ring->spin_angle[static_cast<std::size_t>(i)]);
        const float reach = std::sin(ring->tip_phase[static_cast<std::size_t>(i)]);
        for (int k = 0; k < 6; ++k) {
            const D3DLVERTEX& rest = ring->rest_vertices[static_cast<std::size_t>(6 * i + k)];
            const D3DLVERTEX& drawn = ring->vertices[static_cast<std::size_t>(6 * i + k)];
            Vector3 p{rest.x, rest.y, rest.z};
            vector3_transform_point(&p, &spin);
            const float scale = (k == 0 || k == 5) ? reach : 1.0f;
            EXPECT_NEAR(drawn.x, p.x * scale, 1e-5) << i << "/" << k;
            EXPECT_NEAR(drawn.y, p.y * scale, 1e-5) << i << "/" << k;
            EXPECT_EQ(drawn.color, rest.color);
        }
    }
    device.clear_calls();
    shard_ring_draw(ring.get());
    EXPECT_EQ(device.calls, (std::vector<std::string>{"DrawPrimitive 4 482 384 0"}));
}

TEST_F(ShardRingTest, SpinAngleAboveTwoPiStartsAgainAtZero) {
    const auto ring = shard_ring_create(4);
    ring->spin_angle[0] = 2 * kPi - ring->spin_speed[0] / 2;
    shard_ring_update(ring.get(), 0.0f);
    EXPECT_EQ(ring->spin_angle[0], 0.0f);
}

}  // namespace
