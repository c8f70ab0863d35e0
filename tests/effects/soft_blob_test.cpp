// The soft-body blob: its sphere, index list and neighbour table, the random draws of construction
// and of the first frame, the surface simulation's limits, and the two passes on a recording device.
#include "effects/soft_blob.h"

#include <cmath>
#include <set>

#include "effects_fixture.h"

namespace {

constexpr float kPi = 3.1415927f;

class SoftBlobTest : public RecordingEffectTest {
protected:
    void SetUp() override {
        RecordingEffectTest::SetUp();
        soft_blob_create(&blob, "base.tga", "reflection.tga");
    }
    // The vertex of slice k (0 … 32) and ring c (1 … 33) as the sphere was laid out.
    static int laid_out(int k, int c) { return 1 + 33 * (c - 1) + k; }
    SoftBlob blob;
};

TEST_F(SoftBlobTest, SphereHasItsCountsPolesAndRings) {
    EXPECT_EQ(blob.vertex_count, 1091);
    EXPECT_EQ(blob.vertices.size(), 1296u);
    EXPECT_EQ(blob.index_count, 6144);
    ASSERT_EQ(blob.indices.size(), 6144u);
    const std::set<int> referenced(blob.indices.begin(), blob.indices.end());
    EXPECT_EQ(referenced.size(), 994u);
    EXPECT_EQ(*referenced.begin(), 0);
    EXPECT_EQ(*referenced.rbegin(), 1090);

    const SceneVertex& north = blob.vertices[0];
    const SceneVertex& south = blob.vertices[1090];
    EXPECT_EQ((std::vector<float>{north.x, north.y, north.z, north.tu, north.tv}), (std::vector<float>{0, 1, 0, 0, 0}));
    EXPECT_EQ((std::vector<float>{south.x, south.y, south.z, south.tu, south.tv}), (std::vector<float>{0, -1, 0, 0, 1}));

    struct Case {
        int k, c;
        float phi, theta;
    };
    const Case cases[] = {{0, 1, kPi / 32, 0}, {8, 1, kPi / 32, kPi / 2}, {5, 17, kPi / 32 + 16 * 31 * kPi / 1024, 5 * kPi / 16},
                          {0, 33, kPi, 0}, {32, 20, kPi / 32 + 19 * 31 * kPi / 1024, 2 * kPi}};
    for (const Case& c : cases) {
        const SceneVertex& v = blob.vertices[static_cast<std::size_t>(laid_out(c.k, c.c))];
        EXPECT_NEAR(v.x, std::cos(c.theta) * std::sin(c.phi), 1e-6) << c.k << "," << c.c;
        EXPECT_NEAR(v.y, std::cos(c.phi), 1e-6) << c.k << "," << c.c;
        EXPECT_NEAR(v.z, std::sin(c.theta) * std::sin(c.phi), 1e-6) << c.k << "," << c.c;
        EXPECT_FLOAT_EQ(v.tu, v.nx);
        EXPECT_NEAR(v.tv, c.phi / kPi, 1e-6);
    }
    EXPECT_NEAR(blob.vertices[static_cast<std::size_t>(laid_out(0, 2))].y - blob.vertices[1].y,
                std::cos(kPi / 32 + 0.0951068f) - std::cos(kPi / 32), 1e-6);
}

TEST_F(SoftBlobTest, IndexListWalksSlicesThenBands) {
    // Slice 0, band 0: north pole, then slice 1 and slice 0 of ring 1 (one triangle degenerate).
    EXPECT_EQ(std::vector<int>(blob.indices.begin(), blob.indices.begin() + 6),
              (std::vector<int>{0, laid_out(1, 1), laid_out(0, 1), 0, 0, laid_out(1, 1)}));
    // Slice 31 wraps to slice 0; band 31 ends at the south pole.
    const std::size_t last = 6144 - 6;
    EXPECT_EQ(std::vector<int>(blob.indices.begin() + static_cast<long>(last), blob.indices.end()),
              (std::vector<int>{laid_out(31, 31), 1090, 1090, laid_out(31, 31), laid_out(0, 31), 1090}));
}

TEST_F(SoftBlobTest, NeighbourTableAroundRingsAndPoles) {
    const auto neighbours = [&](int vertex) {
        const BlobNode& n = blob.nodes[static_cast<std::size_t>(vertex)];
        return std::vector<int>(n.neighbours, n.neighbours + 8);
    };
    EXPECT_EQ(blob.nodes.size(), 1091u);
    EXPECT_EQ(neighbours(0), std::vector<int>(8, 0));
    EXPECT_EQ(neighbours(1090), std::vector<int>(8, 1090));
    EXPECT_EQ(neighbours(laid_out(32, 5)), std::vector<int>(8, laid_out(32, 5))) << "slice 32 is never linked";
    EXPECT_EQ(neighbours(laid_out(3, 32)), std::vector<int>(8, laid_out(3, 32))) << "ring 32 is never linked";
    // Order: up, next, down, previous, previous-up, next-up, previous-down, next-down.
    EXPECT_EQ(neighbours(laid_out(10, 7)), (std::vector<int>{laid_out(10, 6), laid_out(11, 7), laid_out(10, 8),
                                                               laid_out(9, 7), laid_out(9, 6), laid_out(11, 6),
                                                               laid_out(9, 8), laid_out(11, 8)}));
    EXPECT_EQ(neighbours(laid_out(0, 1)),
              (std::vector<int>{0, laid_out(1, 1), laid_out(0, 2), laid_out(31, 1), 0, 0, laid_out(31, 2), laid_out(1, 2)}));
    EXPECT_EQ(neighbours(laid_out(31, 31)), (std::vector<int>{laid_out(31, 30), laid_out(0, 31), 1090, laid_out(30, 31),
                                                                laid_out(30, 30), laid_out(0, 30), 1090, 1090}));
    const BlobNode& node = blob.nodes[static_cast<std::size_t>(laid_out(4, 9))];
    EXPECT_NEAR(node.rest_radius, 1.0f, 1e-6);
    EXPECT_EQ(node.offset, 0.0f);
    EXPECT_EQ(node.speed, 0.0f);
}

TEST_F(SoftBlobTest, ConstructionDrawsFiftyOneValuesAndTheFirstFrameSixteen) {
    RandomGenerator g;
    const auto r1000 = [&] { return static_cast<float>(g.next() % 1000); };
    for (int b = 0; b < 8; ++b) {
        const BlobBumper& bumper = blob.bumpers[b];
        EXPECT_FLOAT_EQ(bumper.ax, r1000() * kPi * 0.002f) << b;
        EXPECT_FLOAT_EQ(bumper.ay, r1000() * kPi * 0.002f) << b;
        EXPECT_FLOAT_EQ(bumper.az, r1000() * kPi * 0.002f) << b;
        EXPECT_FLOAT_EQ(bumper.sx, (r1000() - 500) * kPi * 0.004f * 0.02f) << b;
        EXPECT_FLOAT_EQ(bumper.sy, (r1000() - 500) * kPi * 0.004f * 0.02f) << b;
        EXPECT_FLOAT_EQ(bumper.sz, (r1000() - 500) * kPi * 0.004f * 0.02f) << b;
        EXPECT_EQ(bumper.active, 0.0f);
    }
    for (int i = 0; i < 3; ++i) g.next();
    {
        RandomGenerator probe = g;
        random_reset();
        for (int i = 0; i < 51; ++i) random_next();
        EXPECT_EQ(random_next(), probe.next()) << "construction draws 51 values";
        random_reset();
        for (int i = 0; i < 51; ++i) random_next();
    }

    soft_blob_update(&blob, 1.0f);
    soft_blob_render(&blob, 0, 0, 0);
    for (int b = 0; b < 8; ++b) {
        const BlobBumper& bumper = blob.bumpers[b];
        EXPECT_EQ(bumper.active, 1.0f);
        EXPECT_FLOAT_EQ(bumper.distance, r1000() * 0.0001f + 1.0f) << b;
        EXPECT_FLOAT_EQ(bumper.radius, r1000() * 0.00025f + 0.2f) << b;
        EXPECT_EQ(bumper.direction, Vector3{}) << "the direction waits for the next frame";
    }
    RandomGenerator after_first_frame = g;
    EXPECT_EQ(random_next(), g.next()) << "67 draws in all";
    for (const BlobNode& node : blob.nodes) ASSERT_EQ(node.offset, 0.0f) << "zero directions touch nothing";

    // The second frame draws nothing more and moves the bumpers by k = 0.3 × delta.
    random_reset();
    for (int i = 0; i < 67; ++i) random_next();
    const float ax = blob.bumpers[0].ax;
    soft_blob_render(&blob, 0, 0, 0);
    EXPECT_EQ(random_next(), after_first_frame.next());
    EXPECT_NEAR(blob.bumpers[0].ax, std::fmod(ax + 0.3f * blob.bumpers[0].sx + 2 * kPi, 2 * kPi), 1e-5);
    EXPECT_NEAR(vector3_length(blob.bumpers[0].direction), 1.0f, 1e-6);
}

TEST_F(SoftBlobTest, OffsetsNeverFallBelowTheFloorOverManyFrames) {
    bool dented = false;
    for (int frame = 0; frame < 300; ++frame) {
        soft_blob_update(&blob, 1.0f + 0.5f * static_cast<float>(frame % 3));
        soft_blob_render(&blob, 0, 0, 0);
        for (std::size_t i = 0; i < blob.nodes.size(); ++i) {
            // The floor holds before smoothing; the average of nine offsets at the floor may round one
            // step below it.
            ASSERT_GE(blob.nodes[i].offset, -0.8f - 1e-6f) << "node " << i << " at frame " << frame;
            const SceneVertex& v = blob.vertices[i];
            ASSERT_GE(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 0.2f - 1e-5f);
            dented = dented || blob.nodes[i].offset < -0.01f;
        }
    }
    EXPECT_TRUE(dented) << "the bumpers never reached the surface";
}

TEST_F(SoftBlobTest, BumpersStopOutwardVerticesAndPolesKeepTheirOffset) {
    for (BlobBumper& bumper : blob.bumpers) bumper = BlobBumper{};
    const int outward = laid_out(0, 16), inward = laid_out(16, 16);
    for (int i : {outward, inward}) {
        BlobBumper& bumper = blob.bumpers[i == outward ? 0 : 1];
        bumper.active = 1.0f;
        bumper.direction = blob.nodes[static_cast<std::size_t>(i)].rest_normal;
        bumper.distance = 1.1f;
        bumper.radius = 0.3f;
    }
    blob.nodes[static_cast<std::size_t>(outward)].speed = 0.01f;
    blob.nodes[static_cast<std::size_t>(inward)].speed = -0.01f;
    blob.nodes[0].offset = -0.3f;
    blob.step = 0.0f;  // k = 0: no spring, bumpers still push, smoothing still runs
    soft_blob_simulate(&blob);
    EXPECT_EQ(blob.nodes[static_cast<std::size_t>(outward)].speed, 0.0f);
    EXPECT_EQ(blob.nodes[static_cast<std::size_t>(inward)].speed, -0.01f);
    EXPECT_LT(blob.nodes[static_cast<std::size_t>(outward)].offset, 0.0f);
    EXPECT_NEAR(blob.nodes[0].offset, -0.3f, 1e-6) << "a pole is its own neighbourhood";
    EXPECT_NEAR(blob.vertices[0].y, 0.7f, 1e-6);
}

TEST_F(SoftBlobTest, RenderLightsTheBlobAndDrawsTheBaseThenTheAdditiveReflection) {
    soft_blob_update(&blob, 1.0f);
    device.clear_calls();
    soft_blob_render(&blob, 0.0f, 3.2f, 0.0f);
    // Two draws of the whole sphere: the lit base, then the additive reflection.
    EXPECT_EQ(calls_of({"Draw"}), (std::vector<std::string>{"DrawIndexedPrimitive 4 530 1091 6144 0",
                                               "DrawIndexedPrimitive 4 530 1091 6144 1"}));
    const D3DLIGHT7& light = device.lights.at(0);
    EXPECT_EQ(light.dltType, D3DLIGHT_POINT);
    EXPECT_EQ((std::vector<float>{light.dvPosition.x, light.dvPosition.y, light.dvPosition.z, light.dvRange,
                                  light.dvAttenuation0, light.dvAttenuation1, light.dcvDiffuse.r, light.dcvDiffuse.a}),
              (std::vector<float>{4, 4, -4, 64, 1, 0, 1, 0}));
    EXPECT_EQ(device.transforms.at(D3DTRANSFORMSTATE_WORLD).m[3][1], 3.2f);
}

}  // namespace
