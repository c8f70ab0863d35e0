// Rasterisation conformance, written once against the device interface and run on every device of
// conformance_devices.h: fill convention and pixel centres, culling of each winding, z- and w-buffer
// ordering, clipping at the near plane and to the viewport, depth range of pre-transformed vertices,
// and coordinates that must not crash the rasteriser.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3d/device_fixture.h"

namespace {

class RasterConformance : public DeviceTest {};

// Additive drawing with 0x40 per channel: a pixel covered twice reads 0x80.
constexpr D3DCOLOR kQuarter = 0xFF404040;
void begin_additive(IDirect3DDevice7* d)
{
    begin_diffuse(d);
    set_blend(d, true, D3DBLEND_ONE, D3DBLEND_ONE);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
}

TEST_P(RasterConformance, EdgesOnPixelCentresFollowTheTopLeftRule)
{
    // Corners exactly on pixel centres: the left and top edges include their pixels, the right and
    // bottom edges do not; the shared diagonal is drawn once (the whole-target quad covers each pixel once).
    struct Case {
        float x0, y0, x1, y1;
    } cases[] = {{0, 0, 4, 4}, {1, 1, 3, 3}, {0, 0, 4, 1}, {2, 0, 3, 4}, {0.5f, 0.5f, 2.5f, 2.5f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "quad " << c.x0 << "," << c.y0 << "-" << c.x1 << "," << c.y1);
        DeviceHarness h(guid(), 4, 4, false);
        ASSERT_TRUE(h.ok());
        begin_additive(h.device());
        ASSERT_EQ(draw_quad(h.device(), c.x0, c.y0, c.x1, c.y1, 0.5f, kQuarter), D3D_OK);
        h.device()->EndScene();
        const TestImage image = h.capture();
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                const bool inside = x >= std::ceil(c.x0) && x < std::ceil(c.x1) && y >= std::ceil(c.y0) && y < std::ceil(c.y1);
                EXPECT_EQ(image.at(x, y), inside ? 0xFF404040u : 0xFF000000u) << "pixel " << x << "," << y;
            }
        }
    }
}

TEST_P(RasterConformance, EdgeSharedByTwoTrianglesIsDrawnOnce)
{
    DeviceHarness h(guid(), 16, 16, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    begin_additive(d);
    // A fan around an interior point: shared edges in every direction, some through pixel centres.
    D3DTLVERTEX fan[8] = {tl_vertex(7, 7, 0.5f, 1, kQuarter),      tl_vertex(1, 1, 0.5f, 1, kQuarter),
                          tl_vertex(14, 2.5f, 0.5f, 1, kQuarter),  tl_vertex(15, 12, 0.5f, 1, kQuarter),
                          tl_vertex(7.3f, 15, 0.5f, 1, kQuarter),  tl_vertex(0, 14.75f, 0.5f, 1, kQuarter),
                          tl_vertex(0.5f, 6, 0.5f, 1, kQuarter),   tl_vertex(1, 1, 0.5f, 1, kQuarter)};
    ASSERT_EQ(draw_tl(d, D3DPT_TRIANGLEFAN, fan, 8), D3D_OK);
    d->EndScene();
    int covered = 0;
    for (std::uint32_t p : h.capture().argb) {
        EXPECT_TRUE(p == 0xFF000000u || p == 0xFF404040u) << argb_text(p);
        covered += p == 0xFF404040u ? 1 : 0;
    }
    EXPECT_GT(covered, 120);
}

TEST_P(RasterConformance, CullingRemovesTheChosenWinding)
{
    // The program's screen strip (0,H), (0,0), (W,H), (W,0) gives two clockwise triangles.
    struct Case {
        DWORD cull;
        bool reversed, drawn;
    } cases[] = {{D3DCULL_CCW, false, true},  {D3DCULL_CW, false, false}, {D3DCULL_NONE, false, true},
                 {D3DCULL_CCW, true, false},  {D3DCULL_CW, true, true},   {D3DCULL_NONE, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cull " << c.cull << " reversed " << c.reversed);
        DeviceHarness h(guid(), 8, 8, false);
        ASSERT_TRUE(h.ok());
        IDirect3DDevice7* d = h.device();
        D3DTLVERTEX quad[4];
        screen_quad(quad, 0, 0, 8, 8, 0.5f, 0xFFFF0000);
        if (c.reversed) std::swap(quad[0], quad[1]), std::swap(quad[2], quad[3]);
        const std::uint32_t expected = c.drawn ? 0xFFFF0000u : 0xFF000000u;
        // A lone triangle list wound like the strip's first triangle, then the strip itself.
        for (DWORD count : {3u, 4u}) {
            begin_diffuse(d);
            d->SetRenderState(D3DRENDERSTATE_CULLMODE, c.cull);
            draw_tl(d, count == 3 ? D3DPT_TRIANGLELIST : D3DPT_TRIANGLESTRIP, quad, count);
            d->EndScene();
            EXPECT_EQ(h.pixel(1, 5), expected) << (count == 3 ? "list" : "strip, first triangle");
            EXPECT_EQ(h.pixel(6, 2), count == 3 ? 0xFF000000u : expected) << "strip, second triangle";
        }
    }
}

TEST_P(RasterConformance, WireframeDrawsEdgesOnly)
{
    DeviceHarness h(guid(), 16, 16, false);
    ASSERT_TRUE(h.ok());
    begin_diffuse(h.device());
    h.device()->SetRenderState(D3DRENDERSTATE_FILLMODE, D3DFILL_WIREFRAME);
    draw_quad(h.device(), 2, 2, 13, 13, 0.5f, 0xFF00FF00);
    h.device()->EndScene();
    const TestImage image = h.capture();
    // Left and top edges, the end pixel (LASTPIXEL), the diagonal; the interior stays empty.
    for (auto [x, y] : {std::pair{2, 7}, {7, 2}, {13, 13}, {7, 7}}) EXPECT_EQ(image.at(x, y), 0xFF00FF00u) << x << "," << y;
    EXPECT_EQ(image.at(5, 10), 0xFF000000u);
    EXPECT_EQ(image.at(10, 5), 0xFF000000u);
}

TEST_P(RasterConformance, ZBufferKeepsTheNearestSurfaceAndFollowsZWriteEnable)
{
    struct Quad {
        float x0, y0, x1, y1, z;
        D3DCOLOR color;
    } near_quad{0, 0, 8, 8, 0.25f, 0xFFFF0000}, far_quad{2, 2, 6, 6, 0.75f, 0xFF00FF00};
    for (bool near_first : {true, false}) {
        DeviceHarness h(guid(), 8, 8, true);
        ASSERT_TRUE(h.ok());
        IDirect3DDevice7* d = h.device();
        begin_diffuse(d, 0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
        for (const Quad& q : {near_first ? near_quad : far_quad, near_first ? far_quad : near_quad}) {
            draw_quad(d, q.x0, q.y0, q.x1, q.y1, q.z, q.color);
        }
        d->EndScene();
        EXPECT_EQ(h.pixel(3, 3), 0xFFFF0000u) << "near first " << near_first;
        EXPECT_FLOAT_EQ(h.depth_at(3, 3), 0.25f);
        EXPECT_FLOAT_EQ(h.depth_at(0, 0), 0.25f);
    }
    DeviceHarness h(guid(), 8, 8, true);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    begin_diffuse(d, 0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
    draw_quad(d, 0, 0, 8, 8, 0.25f, 0xFFFF0000);
    draw_quad(d, 0, 0, 8, 8, 0.75f, 0xFF0000FF);  // still passes: nothing was written
    d->EndScene();
    EXPECT_EQ(h.pixel(4, 4), 0xFF0000FFu);
    EXPECT_FLOAT_EQ(h.depth_at(4, 4), 1.0f);
}

// A W-friendly perspective projection (m34 = 1, m44 = 0) with the given near and far planes.
D3DMATRIX w_projection(float zn, float zf)
{
    D3DMATRIX m{};
    m.m[0][0] = m.m[1][1] = m.m[2][3] = 1.0f;
    m.m[2][2] = zf / (zf - zn);
    m.m[3][2] = -zn * zf / (zf - zn);
    return m;
}

TEST_P(RasterConformance, WBufferStoresViewDepthOverFarPlane)
{
    DeviceHarness h(guid(), 8, 8, true);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    D3DMATRIX proj = w_projection(1.0f, 10.0f);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
    begin_diffuse(d, 0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
    D3DTLVERTEX far_quad[4];
    screen_quad(far_quad, 0, 0, 8, 8, 0.1f, 0xFF00FF00);  // z says nearer, but w = 4
    for (D3DTLVERTEX& v : far_quad) v.rhw = 0.25f;
    draw_quad(d, 0, 0, 8, 8, 0.9f, 0xFFFF0000);  // w = 1 / 0.5 = 2
    draw_tl(d, D3DPT_TRIANGLESTRIP, far_quad, 4);
    d->EndScene();
    EXPECT_EQ(h.pixel(4, 4), 0xFFFF0000u);
    EXPECT_NEAR(h.depth_at(4, 4), 0.2f, 1e-5f);
}

// Demo part 10's case: a scene drawn with far plane 100 and, over it, a box with far plane 10000 about
// 300 units away. Under a true w-buffer the box stores 300/10000 and stands in front.
TEST_P(RasterConformance, WBufferCompareUsesTheFarPlaneOfEachDraw)
{
    DeviceHarness h(guid(), 16, 16, true);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    begin_diffuse(d, 0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
    auto quad_at = [&](float zn, float zf, float z, float half, D3DCOLOR color) {
        D3DMATRIX proj = w_projection(zn, zf);
        d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
        D3DLVERTEX v[4] = {{-half, -half, z, 0, color, 0, 0, 0}, {-half, half, z, 0, color, 0, 0, 0},
                           {half, -half, z, 0, color, 0, 0, 0}, {half, half, z, 0, color, 0, 0, 0}};
        return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, v, 4, 0);
    };
    ASSERT_EQ(quad_at(0.001f, 100.0f, 50.0f, 100.0f, 0xFF0000FF), D3D_OK);
    ASSERT_EQ(quad_at(1.0f, 10000.0f, 300.0f, 30.0f, 0xFFFFFF00), D3D_OK);
    d->EndScene();
    EXPECT_EQ(h.pixel(8, 8), 0xFFFFFF00u);
    EXPECT_NEAR(h.depth_at(8, 8), 0.03f, 1e-4f);
    // wfar = m43 / (1 − m33) from a float matrix with near 0.001 carries about 0.1 % of rounding.
    EXPECT_NEAR(h.depth_at(0, 0), 0.5f, 1e-3f);
}

TEST_P(RasterConformance, TriangleCrossingTheNearPlaneIsClipped)
{
    DeviceHarness h(guid(), 32, 32, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    D3DMATRIX proj = w_projection(1.0f, 100.0f);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
    begin_diffuse(d);
    // A floor triangle at y = -1 reaching from z = 4 to behind the camera (z = -4).
    D3DLVERTEX tri[3] = {{-2, -1, 4, 0, 0xFFFFFFFF, 0, 0, 0}, {2, -1, 4, 0, 0xFFFFFFFF, 0, 0, 0},
                         {0, -1, -4, 0, 0xFFFFFFFF, 0, 0, 0}};
    ASSERT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, tri, 3, 0), D3D_OK);
    d->EndScene();
    const TestImage image = h.capture();
    // (0, -1, 2) is inside and in front: screen (16, 16 + 16 · 0.5) = (16, 24).
    EXPECT_EQ(image.at(16, 24), 0xFFFFFFFFu);
    // Nothing above the horizon: the part behind the camera must not fold over the top of the screen.
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) ASSERT_EQ(image.at(x, y), 0xFF000000u) << x << "," << y;
    }
    // The near edge (z = 1, x in [-1.375, 1.375]) reaches the bottom row at x ≈ 16 ± 16·1.375, clipped.
    EXPECT_EQ(image.at(1, 31), 0xFFFFFFFFu);
    EXPECT_EQ(image.at(30, 31), 0xFFFFFFFFu);
}

TEST_P(RasterConformance, PretransformedQuadAboveTheViewportShowsItsLowerPart)
{
    DeviceHarness h(guid(), 16, 12, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    // A 1 × 16 texture whose row r has the grey level 16·r.
    auto grey = [](int r) { return 0xFF000000u | static_cast<std::uint32_t>(r * 16) * 0x010101u; };
    std::vector<std::uint32_t> rows(16);
    for (int r = 0; r < 16; ++r) rows[r] = grey(r);
    ComRef<IDirectDrawSurface7> tex(h.create_texture(1, 16, rows));
    ASSERT_TRUE(tex);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF00FF, 1.0f, 0);
    D3DVIEWPORT7 vp{0, 4, 16, 8, 0.0f, 1.0f};
    ASSERT_EQ(d->SetViewport(&vp), D3D_OK);
    d->BeginScene();
    set_diffuse_only(d);
    set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    d->SetTexture(0, tex.get());
    ASSERT_EQ(draw_quad(d, 0, -4, 16, 12, 0.5f, 0xFFFFFFFF), D3D_OK);
    d->EndScene();
    const TestImage image = h.capture();
    // Inside the viewport (rows 4..11) pixel row y samples v = (y + 4) / 16: texture row y + 4.
    for (int y = 0; y < 12; ++y) EXPECT_EQ(image.at(5, y), y < 4 ? 0xFFFF00FFu : grey(y + 4)) << "row " << y;
}

TEST_P(RasterConformance, PretransformedDepthOutsideZeroToOneIsDrawnOnlyWithoutDepth)
{
    for (DWORD zenable : {D3DZB_FALSE, D3DZB_TRUE}) {
        DeviceHarness h(guid(), 8, 8, true);
        ASSERT_TRUE(h.ok());
        IDirect3DDevice7* d = h.device();
        begin_diffuse(d, 0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        d->SetRenderState(D3DRENDERSTATE_ZENABLE, zenable);
        d->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_ALWAYS);
        draw_quad(d, 0, 0, 4, 8, -0.5f, 0xFFFF0000);
        draw_quad(d, 4, 0, 8, 8, 1.5f, 0xFF00FF00);
        d->EndScene();
        const bool drawn = zenable == D3DZB_FALSE;
        EXPECT_EQ(h.pixel(1, 4), drawn ? 0xFFFF0000u : 0xFF000000u) << "zenable " << zenable;
        EXPECT_EQ(h.pixel(6, 4), drawn ? 0xFF00FF00u : 0xFF000000u) << "zenable " << zenable;
    }
}

TEST_P(RasterConformance, HugeAndInvalidCoordinatesDoNotCrash)
{
    DeviceHarness h(guid(), 16, 16, true);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    begin_diffuse(d, 0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    const float nan = std::nanf("");
    D3DTLVERTEX big[3] = {tl_vertex(-1e9f, -1e9f, 0.5f, 1, 0xFFFFFFFF), tl_vertex(1e9f, 0, 0.5f, 1, 0xFFFFFFFF),
                          tl_vertex(0, 1e9f, 0.5f, 1, 0xFFFFFFFF)};
    EXPECT_EQ(draw_tl(d, D3DPT_TRIANGLELIST, big, 3), D3D_OK);
    EXPECT_EQ(h.pixel(8, 8), 0xFFFFFFFFu);  // covers the whole target, clipped to the guard band
    D3DTLVERTEX bad[3] = {tl_vertex(nan, 0, 0.5f, 1, 0xFFFF0000), tl_vertex(8, 8, 0.5f, 0, 0xFFFF0000),
                          tl_vertex(0, 8, nan, -1, 0xFFFF0000)};
    EXPECT_EQ(draw_tl(d, D3DPT_TRIANGLELIST, bad, 3), D3D_OK);
    D3DLVERTEX inf[3] = {{INFINITY, 0, 1, 0, 0xFFFF0000, 0, 0, 0}, {0, nan, 1, 0, 0xFFFF0000, 0, 0, 0},
                         {1, 1, 1, 0, 0xFFFF0000, 0, 0, 0}};
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, inf, 3, 0), D3D_OK);
    d->EndScene();
    EXPECT_EQ(h.pixel(8, 8), 0xFFFFFFFFu);
}

INSTANTIATE_ON_DEVICES(RasterConformance);

}  // namespace
