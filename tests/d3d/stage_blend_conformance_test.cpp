// Texture-stage and blending conformance on every device: each blend factor the program uses (and a
// few more), each stage operation and argument, the defined results of a stage without a texture, of
// COLOROP and ALPHAOP DISABLE, the specular add, and point and bilinear sampling at pixel centres.
#include <gtest/gtest.h>

#include "d3d/device_fixture.h"

namespace {

class StageBlendConformance : public testing::TestWithParam<ConformanceDevice> {
protected:
    void SetUp() override
    {
        if (!device_available(*GetParam().guid)) GTEST_SKIP() << GetParam().name << " is not in this build";
    }
    const GUID& guid() const { return *GetParam().guid; }
};

// Blending one screen quad of colour src over a target cleared to dst.
struct BlendCase {
    DWORD src_factor, dst_factor;
    D3DCOLOR src, dst;
    D3DCOLOR expected;  // alpha of an A8R8G8B8 target included
};

// Values by hand: channels are c/255; 0x80 is 128/255 ≈ 0.502.
const BlendCase kBlendCases[] = {
    {D3DBLEND_ONE, D3DBLEND_ZERO, 0x80C08040, 0x40204060, 0x80C08040},
    {D3DBLEND_ZERO, D3DBLEND_ONE, 0x80C08040, 0x40204060, 0x40204060},
    {D3DBLEND_ONE, D3DBLEND_ONE, 0x80C08040, 0x40204060, 0xC0E0C0A0},
    {D3DBLEND_ONE, D3DBLEND_ONE, 0x80C0C0C0, 0x80808080, 0xFFFFFFFF},  // saturates
    // SRCALPHA / INVSRCALPHA with a = 0x80: red 0xC0·0.502 + 0x20·0.498 = 96.4 + 15.9 → 0x70
    {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0x80C08040, 0x40204060, 0x60706050},
    // SRCALPHA / ONE (the additive overlays): red 0xC0·0.502 + 0x20 = 0x80
    {D3DBLEND_SRCALPHA, D3DBLEND_ONE, 0x80C08040, 0x40204060, 0x80808080},
    {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 0xFF808080, 0xFF4080FF, 0xFF204080},
    {D3DBLEND_DESTCOLOR, D3DBLEND_ZERO, 0xFF808080, 0xFF4080FF, 0xFF204080},
    // a = 0x40: alpha 0x40·0.749 + 0xFF·0.251 = 112; red 0xFF·0.749 = 191; blue 0xFF·0.251 = 64
    {D3DBLEND_INVSRCALPHA, D3DBLEND_SRCALPHA, 0x40FF0000, 0xFF0000FF, 0x70BF0040},
};

TEST_P(StageBlendConformance, BlendFactors)
{
    for (const BlendCase& c : kBlendCases) {
        DeviceHarness h(guid(), 4, 4, false, format_a8r8g8b8());
        ASSERT_TRUE(h.ok());
        IDirect3DDevice7* d = h.device();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, c.dst, 1.0f, 0);
        d->BeginScene();
        set_diffuse_only(d);
        set_blend(d, true, c.src_factor, c.dst_factor);
        D3DTLVERTEX quad[4];
        screen_quad(quad, 0, 0, 4, 4, 0.5f, c.src);
        ASSERT_EQ(draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4), D3D_OK);
        d->EndScene();
        const std::uint32_t got = h.pixel(2, 2);
        EXPECT_LE(color_distance(got, c.expected, true), 1)
            << "src " << c.src_factor << " dst " << c.dst_factor << ": got " << argb_text(got) << ", expected "
            << argb_text(c.expected);
    }
}

TEST_P(StageBlendConformance, BlendingOffReplacesTheDestination)
{
    DeviceHarness h(guid(), 4, 4, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    d->BeginScene();
    set_diffuse_only(d);
    set_blend(d, false, D3DBLEND_SRCALPHA, D3DBLEND_ONE);  // factors ignored while disabled
    D3DTLVERTEX quad[4];
    screen_quad(quad, 0, 0, 4, 4, 0.5f, 0x00102030);  // alpha 0 is still drawn
    draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4);
    d->EndScene();
    EXPECT_EQ(h.pixel(1, 1), 0xFF102030u);  // X8R8G8B8 target: alpha reads as 0xFF
}

// One quad through stage set-ups over a 1 × 1 texture of colour kTexel, diffuse kDiffuse.
constexpr D3DCOLOR kTexel = 0x80FF8040;
constexpr D3DCOLOR kDiffuse = 0x40808080;
constexpr D3DCOLOR kSpecular = 0x00204060;

struct StageCase {
    const char* what;
    bool texture;             // stage 0 has the texture bound
    DWORD cop, carg1, carg2;  // stage 0 colour
    DWORD aop, aarg1, aarg2;  // stage 0 alpha
    DWORD stage1_cop;         // stage 1 colour op (MODULATE TEXTURE, CURRENT), no texture on stage 1
    bool specular;
    D3DCOLOR expected;
};

const StageCase kStageCases[] = {
    {"select texture, diffuse alpha", true, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2,
     D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_DISABLE, false, 0x40FF8040},
    {"select diffuse", true, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
     D3DTA_DIFFUSE, D3DTOP_DISABLE, false, 0x40808080},
    {"modulate", true, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
     D3DTOP_DISABLE, false, 0x20804020},
    {"texture alpha", true, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
     D3DTA_DIFFUSE, D3DTOP_DISABLE, false, 0x80FF8040},
    {"complement and alpha replicate", true, D3DTOP_SELECTARG1, D3DTA_TEXTURE | D3DTA_COMPLEMENT, D3DTA_DIFFUSE,
     D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_DISABLE, false, 0x80007FBF},
    {"alpha replicate", true, D3DTOP_SELECTARG1, D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE, D3DTA_DIFFUSE,
     D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_DISABLE, false, 0x80808080},
    {"add", true, D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE,
     D3DTOP_DISABLE, false, 0x40FFFFC0},
    // COLOROP DISABLE at stage 0 ends the cascade at once: the diffuse colour and alpha.
    {"colour disabled at stage 0", true, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1,
     D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_DISABLE, false, 0x40808080},
    // ALPHAOP DISABLE with colour enabled passes CURRENT's alpha through (the diffuse alpha at stage 0).
    {"alpha disabled", true, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_DISABLE, D3DTA_TEXTURE,
     D3DTA_DIFFUSE, D3DTOP_DISABLE, false, 0x40804020},
    // No texture: an operation reading TEXTURE becomes SELECTARG1(CURRENT) = diffuse, colour and alpha.
    {"untextured select texture", false, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1,
     D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_DISABLE, false, 0x40808080},
    {"untextured modulate", false, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
     D3DTA_DIFFUSE, D3DTOP_DISABLE, false, 0x40808080},
    // Stage 1 left at MODULATE(TEXTURE, CURRENT) without a texture passes stage 0's result through.
    {"stage 1 modulate without texture", true, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2,
     D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, false, 0x40FF8040},
    // The specular add after the stages, clamped, alpha untouched.
    {"specular add", true, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
     D3DTA_DIFFUSE, D3DTOP_DISABLE, true, 0x40FFC0A0},
    {"specular off", true, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE,
     D3DTA_DIFFUSE, D3DTOP_DISABLE, false, 0x40808080},
};

TEST_P(StageBlendConformance, StageOperations)
{
    for (const StageCase& c : kStageCases) {
        DeviceHarness h(guid(), 4, 4, false, format_a8r8g8b8());
        ASSERT_TRUE(h.ok());
        IDirect3DDevice7* d = h.device();
        ComRef<IDirectDrawSurface7> tex(h.create_texture(1, 1, {kTexel}));
        ASSERT_TRUE(tex);
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
        d->BeginScene();
        set_diffuse_only(d);
        set_color_stage(d, 0, c.cop, c.carg1, c.carg2);
        set_alpha_stage(d, 0, c.aop, c.aarg1, c.aarg2);
        set_color_stage(d, 1, c.stage1_cop, D3DTA_TEXTURE, D3DTA_CURRENT);
        set_alpha_stage(d, 1, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_CURRENT);
        d->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, c.specular ? TRUE : FALSE);
        d->SetTexture(0, c.texture ? tex.get() : nullptr);
        D3DTLVERTEX quad[4];
        screen_quad(quad, 0, 0, 4, 4, 0.5f, kDiffuse);
        for (D3DTLVERTEX& v : quad) v.specular = kSpecular;
        ASSERT_EQ(draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4), D3D_OK);
        d->EndScene();
        const std::uint32_t got = h.pixel(2, 2);
        EXPECT_LE(color_distance(got, c.expected, true), 1)
            << c.what << ": got " << argb_text(got) << ", expected " << argb_text(c.expected);
    }
}

TEST_P(StageBlendConformance, SurfaceWithoutTextureCapsCountsAsNoTexture)
{
    DeviceHarness h(guid(), 4, 4, false, format_a8r8g8b8());
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    const DDPIXELFORMAT f = format_a8r8g8b8();
    ComRef<IDirectDrawSurface7> plain(h.create_surface(DDSCAPS_OFFSCREENPLAIN, 4, 4, &f));
    ASSERT_TRUE(plain);
    d->BeginScene();
    set_diffuse_only(d);
    set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    ASSERT_EQ(d->SetTexture(0, plain.get()), D3D_OK);
    D3DTLVERTEX quad[4];
    screen_quad(quad, 0, 0, 4, 4, 0.5f, 0x8011AA22);
    draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4);
    d->EndScene();
    EXPECT_EQ(h.pixel(0, 0), 0x8011AA22u);
}

TEST_P(StageBlendConformance, TextureWithoutAlphaBitsGivesOpaqueAlpha)
{
    DeviceHarness h(guid(), 4, 4, false, format_a8r8g8b8());
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    for (const DDPIXELFORMAT& f : {format_x8r8g8b8(), format_r5g6b5()}) {
        ComRef<IDirectDrawSurface7> tex(h.create_texture(1, 1, {0x00FF0000}, f));
        ASSERT_TRUE(tex);
        d->BeginScene();
        set_diffuse_only(d);
        set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        d->SetTexture(0, tex.get());
        D3DTLVERTEX quad[4];
        screen_quad(quad, 0, 0, 4, 4, 0.5f, 0x10000000);
        draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4);
        d->EndScene();
        EXPECT_EQ(h.pixel(1, 1), 0xFFFF0000u) << f.dwRGBBitCount << "-bit texture";
    }
}

// A 2 × 2 checker (black at (0,0)) over a 4 × 4 screen quad: pixel i samples u = i/4, so under
// bilinear filtering t = u·2 − 1/2 falls between texels on even pixels, on a texel centre on odd
// ones, and the left column and top row mix in the opposite edge through wrapping.
TEST_P(StageBlendConformance, BilinearFilteringAtPixelCentres)
{
    DeviceHarness h(guid(), 4, 4, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    ComRef<IDirectDrawSurface7> tex(h.create_texture(2, 2, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}));
    ASSERT_TRUE(tex);
    d->BeginScene();
    set_diffuse_only(d);
    set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    d->SetTexture(0, tex.get());
    D3DTLVERTEX quad[4];
    screen_quad(quad, 0, 0, 4, 4, 0.5f, 0xFFFFFFFF);
    draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4);
    d->EndScene();
    const TestImage image = h.capture();
    const int expected[4][4] = {{128, 128, 128, 128}, {128, 0, 128, 255}, {128, 128, 128, 128}, {128, 255, 128, 0}};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const int grey = expected[y][x];
            const std::uint32_t want = 0xFF000000u | static_cast<std::uint32_t>(grey) * 0x010101u;
            EXPECT_LE(color_distance(image.at(x, y), want), 1) << x << "," << y << ": " << argb_text(image.at(x, y));
        }
    }
}

TEST_P(StageBlendConformance, PointSamplingTakesTheTexelUnderThePixelCentre)
{
    DeviceHarness h(guid(), 8, 2, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    std::vector<std::uint32_t> texels(4);
    for (int i = 0; i < 4; ++i) texels[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 60) << 16;
    ComRef<IDirectDrawSurface7> tex(h.create_texture(4, 1, texels));
    ASSERT_TRUE(tex);
    d->BeginScene();
    set_diffuse_only(d);
    set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    d->SetTexture(0, tex.get());
    D3DTLVERTEX quad[4];
    screen_quad(quad, 0, 0, 8, 2, 0.5f, 0xFFFFFFFF);
    draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4);
    d->EndScene();
    // Pixel i samples u = i/8: texel floor(i/2).
    for (int x = 0; x < 8; ++x) EXPECT_EQ(h.pixel(x, 0), texels[x / 2]) << "pixel " << x;
}

TEST_P(StageBlendConformance, GouraudShadingInterpolatesVertexColours)
{
    DeviceHarness h(guid(), 9, 1, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    d->BeginScene();
    set_diffuse_only(d);
    D3DTLVERTEX quad[4] = {tl_vertex(0, 2, 0.5f, 1, 0xFF000000), tl_vertex(0, -1, 0.5f, 1, 0xFF000000),
                           tl_vertex(8, 2, 0.5f, 1, 0xFF0000FF), tl_vertex(8, -1, 0.5f, 1, 0xFF0000FF)};
    draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4);
    d->EndScene();
    for (int x = 0; x < 8; ++x) {
        const int blue = (255 * x + 4) / 8;
        EXPECT_LE(color_distance(h.pixel(x, 0), 0xFF000000u | static_cast<std::uint32_t>(blue)), 1) << "pixel " << x;
    }
}

TEST_P(StageBlendConformance, FlatShadingUsesTheFirstVertex)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    d->BeginScene();
    set_diffuse_only(d);
    d->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
    D3DTLVERTEX tri[3] = {tl_vertex(0, 0, 0.5f, 1, 0xFF00FF00), tl_vertex(8, 0, 0.5f, 1, 0xFFFF0000),
                          tl_vertex(0, 8, 0.5f, 1, 0xFF0000FF)};
    draw_tl(d, D3DPT_TRIANGLELIST, tri, 3);
    d->EndScene();
    EXPECT_EQ(h.pixel(1, 1), 0xFF00FF00u);
    EXPECT_EQ(h.pixel(5, 1), 0xFF00FF00u);
    EXPECT_EQ(h.pixel(1, 5), 0xFF00FF00u);
}

INSTANTIATE_TEST_SUITE_P(Devices, StageBlendConformance, testing::ValuesIn(conformance_devices()), DeviceParamName());

}  // namespace
