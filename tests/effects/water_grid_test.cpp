// The water grid: the load-time grid's points and indices, the ripple, and the oversized grid that is
// never waved or drawn.
#include "effects/water_grid.h"

#include <cmath>

#include "effects_fixture.h"

namespace {

class WaterGridTest : public RecordingEffectTest {
protected:
    void TearDown() override {
        water_grid_release(&grid);
        RecordingEffectTest::TearDown();
    }
    D3DVERTEX* vertices() { return reinterpret_cast<D3DVERTEX*>(direct3d.buffers.at(0)->bytes.data()); }
    WaterGrid grid;
};

TEST_F(WaterGridTest, LoadTimeGridPointsAndIndexTail) {
    water_grid_build(&grid);
    EXPECT_EQ(grid.vertex_count, 1024);
    EXPECT_EQ(grid.index_count, 6144);
    ASSERT_EQ(direct3d.buffers.size(), 1u);
    EXPECT_EQ(direct3d.buffers[0]->desc.dwFVF, 0x112u);
    EXPECT_EQ(direct3d.buffers[0]->desc.dwNumVertices, 1024u);
    EXPECT_EQ(direct3d.buffers[0]->lock_flags, (std::vector<DWORD>{DDLOCK_WAIT}));

    struct Case {
        int row, point;
        float x, y, u, v;
    };
    const Case cases[] = {{0, 0, -7.5f, -7.5f, 0.0f, 0.0f}, {0, 31, 7.03125f, -7.5f, 0.908203125f, 0.0f},
                          {31, 31, 7.03125f, 7.03125f, 0.908203125f, -0.908203125f}, {16, 16, 0.0f, 0.0f, 0.46875f, -0.46875f}};
    for (const Case& c : cases) {
        const D3DVERTEX& v = vertices()[c.row * 32 + c.point];
        EXPECT_EQ((std::vector<float>{v.x, v.y, v.z, v.nx, v.ny, v.nz, v.tu, v.tv}),
                  (std::vector<float>{c.x, c.y, 0, 0, 0, 0, c.u, c.v})) << c.row << ", " << c.point;
    }

    ASSERT_EQ(grid.indices.size(), 6144u);
    EXPECT_EQ(std::vector<int>(grid.indices.begin(), grid.indices.begin() + 12),
              (std::vector<int>{0, 32, 33, 33, 1, 0, 1, 33, 34, 34, 2, 1}));
    const int last_quad = 5766 - 6;  // row 30, point 30
    EXPECT_EQ(std::vector<int>(grid.indices.begin() + last_quad, grid.indices.begin() + 5766),
              (std::vector<int>{990, 1022, 1023, 1023, 991, 990}));
    EXPECT_EQ(std::count(grid.indices.begin() + 5766, grid.indices.end(), 0), 378);

    device.clear_calls();
    water_grid_draw(&grid);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"DrawIndexedPrimitiveVB 4 vb0 0 1024 6144 0"}));
}

TEST_F(WaterGridTest, RippleAtTheOriginTheBorderAndBeyondRadiusTen) {
    water_grid_build(&grid);
    const float t = 0.3f, amplitude = 0.1f;
    water_grid_wave(&grid, t, amplitude);
    EXPECT_EQ(direct3d.buffers[0]->lock_flags.back(), 0u);
    EXPECT_FALSE(direct3d.buffers[0]->locked);
    EXPECT_FLOAT_EQ(vertices()[16 * 32 + 16].z, amplitude * std::sin(8 * t));
    const D3DVERTEX& inner = vertices()[5 * 32 + 9];
    const float r = std::sqrt(inner.x * inner.x + inner.y * inner.y);
    EXPECT_FLOAT_EQ(inner.z, amplitude * (1 - 0.1f * r) * std::sin(8 * t + r));
    for (int i = 0; i < 32; ++i) {
        for (int border : {i, 31 * 32 + i, i * 32, i * 32 + 31}) ASSERT_EQ(vertices()[border].z, 0.0f) << border;
    }
    for (int i = 0; i < 1024; ++i) {
        const D3DVERTEX& v = vertices()[i];
        ASSERT_NEAR(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz, 1.0f, 1e-5) << "every vertex is in some triangle";
    }
}

TEST_F(WaterGridTest, PointsAtRadiusTenOrMoreStayFlat) {
    grid.width = grid.depth = 40.0f;
    grid.points_per_row = grid.rows = 40;
    water_grid_build(&grid);
    water_grid_wave(&grid, 0.7f, 1.0f);
    int flat = 0;
    for (int i = 1; i < 39; ++i)
        for (int j = 1; j < 39; ++j) {
            const D3DVERTEX& v = vertices()[i * 40 + j];
            if (std::sqrt(v.x * v.x + v.y * v.y) >= 10.0f) {
                ASSERT_EQ(v.z, 0.0f) << i << ", " << j;
                ++flat;
            }
        }
    EXPECT_GT(flat, 100);
}

TEST_F(WaterGridTest, AGridBeyondSixteenBitIndicesIsNeverWavedOrDrawn) {
    grid.points_per_row = grid.rows = 300;
    water_grid_build(&grid);
    EXPECT_EQ(grid.vertex_count, 90000);
    EXPECT_TRUE(direct3d.buffers.empty());
    EXPECT_FALSE(water_grid_usable(grid));
    device.clear_calls();
    water_grid_wave(&grid, 1.0f, 0.1f);
    water_grid_draw(&grid);
    EXPECT_TRUE(device.calls.empty());
}

TEST_F(WaterGridTest, AFailedBufferLeavesAGridThatIsNeverDrawn) {
    direct3d.fail_after = 0;
    water_grid_build(&grid);
    EXPECT_FALSE(water_grid_usable(grid));
    device.clear_calls();
    water_grid_draw(&grid);
    EXPECT_TRUE(device.calls_starting("Draw").empty());
}

}  // namespace
