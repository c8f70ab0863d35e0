// Software-backend internals: the picture does not depend on the number of threads, on whether a
// specialised pixel loop or the generic one draws it, or on whether calls are queued or drawn at once; the integer span computation agrees with
// evaluating the edge functions pixel by pixel; degenerate triangles are refused at set-up;
// the tile pool runs every job exactly once.
#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "platform/d3d/golden_scenes.h"
#include "platform/d3d/soft/soft_backend.h"
#include "platform/d3d/soft/tile_pool.h"
#include "platform/d3d/soft/triangle_setup.h"

namespace {

class SoftOptions : public testing::Test {
protected:
    void TearDown() override { soft_backend_set_options(SoftBackendOptions{}); }

    TestImage render(const GoldenScene& scene, unsigned threads, bool specialised, bool deferred = true)
    {
        soft_backend_set_options(SoftBackendOptions{threads, specialised, deferred});
        DeviceHarness harness(IID_IDirect3DRGBDevice, 320, 240, true);
        EXPECT_TRUE(harness.ok());
        EXPECT_TRUE(scene.draw(harness)) << scene.name;
        return harness.capture();
    }
};

TEST_F(SoftOptions, PictureIsTheSameForAnyThreadCountAndPixelLoop)
{
    for (const GoldenScene& scene : golden_scenes()) {
        const TestImage reference = render(scene, 1, false, false);
        for (auto [threads, specialised] : {std::pair{1u, true}, {2u, true}, {3u, true}, {7u, true}, {2u, false}}) {
            const TestImage image = render(scene, threads, specialised);
            long differing = 0;
            for (std::size_t i = 0; i < image.argb.size(); ++i) differing += image.argb[i] != reference.argb[i] ? 1 : 0;
            EXPECT_EQ(differing, 0) << scene.name << " with " << threads << " threads, specialised " << specialised;
        }
    }
}

TEST(SoftTriangleSetup, RowSpansMatchEdgeFunctionsPixelByPixel)
{
    soft::DrawConstants k;
    k.scissor_x0 = k.scissor_y0 = 0;
    k.scissor_x1 = k.scissor_y1 = 64;
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> coord(-8.0f, 72.0f);
    std::uniform_int_distribution<int> snap(0, 1);
    int checked = 0;
    for (int n = 0; n < 400; ++n) {
        soft::ScreenVertex v[3] = {};
        for (auto& p : v) {
            p.x = coord(rng);
            p.y = coord(rng);
            if (snap(rng)) {  // many vertices exactly on pixel centres or half pixels
                p.x = std::round(p.x * 2.0f) * 0.5f;
                p.y = std::round(p.y * 2.0f) * 0.5f;
            }
            p.q = 1.0f;
        }
        soft::SetupTriangle t;
        if (!soft::setup_triangle(v[0], v[1], v[2], v[0], soft::CullSign::None, k, &t)) continue;
        for (int y = t.y0; y < t.y1; ++y) {
            int s0 = 0, s1 = 0;
            const bool any = soft::triangle_row_span(t, y, t.x0, t.x1, &s0, &s1);
            for (int x = t.x0; x < t.x1; ++x) {
                bool inside = true;
                for (int e = 0; e < 3; ++e) inside &= t.edge_a[e] * x + t.edge_b[e] * y + t.edge_c[e] >= 0;
                const bool in_span = any && x >= s0 && x < s1;
                ASSERT_EQ(inside, in_span) << "triangle " << n << " pixel " << x << "," << y;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 10000);
}

TEST(SoftTriangleSetup, TriangleCollinearAfterSnappingIsRefused)
{
    soft::DrawConstants k;
    k.scissor_x1 = k.scissor_y1 = 16;
    soft::ScreenVertex a{}, b{}, d{};
    b.x = 8, d.x = 4, d.y = 0.001f;  // collinear after snapping to 1/256 pixel
    a.q = b.q = d.q = 1.0f;
    soft::SetupTriangle t;
    EXPECT_FALSE(soft::setup_triangle(a, b, d, a, soft::CullSign::None, k, &t));
}

TEST(SoftTilePool, RunsEveryJobExactlyOnce)
{
    for (unsigned threads : {1u, 2u, 5u}) {
        soft::TilePool pool(threads);
        EXPECT_EQ(pool.threads(), threads);
        for (unsigned round = 0; round < 50; ++round) {
            std::vector<std::atomic<int>> hits(37 + round);
            pool.run(static_cast<unsigned>(hits.size()),
                     [](void* context, unsigned job) {
                         (*static_cast<std::vector<std::atomic<int>>*>(context))[job].fetch_add(1);
                     },
                     &hits);
            for (std::size_t i = 0; i < hits.size(); ++i) ASSERT_EQ(hits[i].load(), 1) << "job " << i;
        }
    }
}

}  // namespace
