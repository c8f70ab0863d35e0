// Vertex normals of both layouts and the sphere-map coordinates of both variants.
#include "effects/vertex_normals.h"

#include <cmath>

#include "effects/sphere_map.h"
#include "effects/water_grid.h"
#include "effects_fixture.h"
#include "math/matrix.h"
#include "render/render.h"

namespace {

// A 2 × 2 square in the x–y plane (four vertices) plus an unused fifth vertex.
template <typename Vertex>
std::vector<Vertex> flat_square() {
    std::vector<Vertex> v(5);
    const float corners[5][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {5, 5}};
    for (int i = 0; i < 5; ++i) {
        v[i].x = corners[i][0];
        v[i].y = corners[i][1];
        v[i].nx = v[i].ny = v[i].nz = 9.0f;  // stale values to be overwritten
    }
    return v;
}

const std::vector<std::uint16_t> kCounterClockwise = {0, 1, 2, 0, 2, 3};  // seen from +z
const std::vector<std::uint16_t> kClockwise = {0, 2, 1, 0, 3, 2};

template <typename Vertex>
void expect_normals(const std::vector<Vertex>& v, float nz, const char* what) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ((std::vector<float>{v[i].nx, v[i].ny, v[i].nz}), (std::vector<float>{0, 0, nz})) << what << " vertex " << i;
    }
    EXPECT_EQ((std::vector<float>{v[4].nx, v[4].ny, v[4].nz}), (std::vector<float>{0, 0, 0})) << what << " unused vertex";
}

TEST(VertexNormals, FlatMeshesOfBothWindingsInBothLayouts) {
    auto grid = flat_square<D3DVERTEX>();
    compute_vertex_normals(grid.data(), 5, kCounterClockwise.data(), 6);
    expect_normals(grid, 1.0f, "grid, counter-clockwise");
    compute_vertex_normals(grid.data(), 5, kClockwise.data(), 6);
    expect_normals(grid, -1.0f, "grid, clockwise");

    auto blob = flat_square<SceneVertex>();
    compute_vertex_normals(blob.data(), kCounterClockwise.data(), 5, 6);
    expect_normals(blob, 1.0f, "blob, counter-clockwise");
    compute_vertex_normals(blob.data(), kClockwise.data(), 5, 6);
    expect_normals(blob, -1.0f, "blob, clockwise");
}

TEST(VertexNormals, DegenerateTrianglesAddNothingAndSharedVerticesAverage) {
    // A fold along the edge 0–2: one face in the x–y plane, one in the x–z plane, plus zero-filled
    // (degenerate) triangles as in the water grid's index tail.
    std::vector<D3DVERTEX> v(4);
    v[0] = {0, 0, 0, 0, 0, 0, 0, 0};
    v[1] = {1, 0, 0, 0, 0, 0, 0, 0};
    v[2] = {0, 1, 0, 0, 0, 0, 0, 0};
    v[3] = {0, 0, 1, 0, 0, 0, 0, 0};
    const std::vector<std::uint16_t> indices = {0, 1, 2, 0, 3, 1, 0, 0, 0, 2, 2, 2};
    compute_vertex_normals(v.data(), 4, indices.data(), static_cast<int>(indices.size()));
    const float h = 1.0f / std::sqrt(2.0f);
    const float expected[4][3] = {{0, h, h}, {0, h, h}, {0, 0, 1}, {0, 1, 0}};  // (0,0,1) + (0,1,0) on the fold
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(v[i].nx, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].ny, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(v[i].nz, expected[i][2]) << i;
    }
}

TEST_F(RecordingEffectTest, SphereMapOfTheFourListedNormalsUnderIdentityMatrices) {
    struct Case {
        float nx, ny, nz;
        float u, v;  // expected; −1: the old coordinates stay
    };
    const Case cases[] = {{0, 0, -1, 0.5f, 0.5f}, {0, 0, 1, -1, -1}, {1, 0, 0, 1.0f, 0.5f}, {0, 1, 0, 0.5f, 0.0f}};
    std::vector<SceneVertex> blob(4);
    for (int i = 0; i < 4; ++i) {
        blob[i] = SceneVertex{0, 0, 0, cases[i].nx, cases[i].ny, cases[i].nz, 0.25f, 0.75f, 7.0f, 8.0f};
    }
    apply_sphere_map(blob.data(), 4);
    for (int i = 0; i < 4; ++i) {
        const Case& c = cases[i];
        const bool kept = c.u < 0.0f;
        EXPECT_FLOAT_EQ(blob[i].tu2, kept ? 7.0f : c.u) << i;
        EXPECT_FLOAT_EQ(blob[i].tv2, kept ? 8.0f : c.v) << i;
        EXPECT_FLOAT_EQ(blob[i].tu, 0.25f) << "the first pair is not the blob's sphere-map pair";
    }
    EXPECT_EQ(calls_of({"GetTransform"}), (std::vector<std::string>{"GetTransform 1", "GetTransform 2"}));
}

TEST_F(RecordingEffectTest, SphereMapFollowsWorldThenView) {
    // World turns +x onto +y; view turns +y onto −z (towards the viewer): a normal (1, 0, 0) ends
    // facing the camera in the centre. View first, then world, would give (0.5, 0) instead.
    Matrix world, view;
    matrix_rotation_z(&world, 3.1415927f / 2.0f);
    matrix_rotation_x(&view, -3.1415927f / 2.0f);
    set_world_matrix(world);
    set_view_matrix(view);
    Matrix m;
    matrix_multiply(&m, &world, &view);
    SceneVertex v{0, 0, 0, 1, 0, 0, 0, 0, 3, 3};
    apply_sphere_map(&v, 1);
    float u = 0, w = 0;
    ASSERT_TRUE(sphere_map_coordinates(m, 1, 0, 0, &u, &w));
    EXPECT_FLOAT_EQ(v.tu2, u);
    EXPECT_FLOAT_EQ(v.tv2, w);
    EXPECT_NEAR(u, 0.5f, 1e-6);
    EXPECT_NEAR(w, 0.5f, 1e-6);
}

TEST_F(RecordingEffectTest, GridSphereMapLocksWriteOnlyAndSkipsOnAFailedLock) {
    WaterGrid grid;
    grid.points_per_row = grid.rows = 2;
    water_grid_build(&grid);
    ASSERT_EQ(direct3d.buffers.size(), 1u);
    RecordingVertexBuffer& buffer = *direct3d.buffers[0];
    auto* vertices = reinterpret_cast<D3DVERTEX*>(buffer.bytes.data());
    for (int i = 0; i < 4; ++i) vertices[i].nz = -1.0f;
    buffer.lock_flags.clear();

    apply_sphere_map(&grid);
    EXPECT_EQ(buffer.lock_flags, (std::vector<DWORD>{0x21}));
    EXPECT_FALSE(buffer.locked);
    EXPECT_FLOAT_EQ(vertices[3].tu, 0.5f);
    EXPECT_FLOAT_EQ(vertices[3].tv, 0.5f);

    vertices[3].nx = 1.0f;
    vertices[3].nz = 0.0f;
    buffer.refuse_locks = true;
    apply_sphere_map(&grid);
    EXPECT_FLOAT_EQ(vertices[3].tu, 0.5f) << "a refused lock changes nothing";
    water_grid_release(&grid);
}

}  // namespace
