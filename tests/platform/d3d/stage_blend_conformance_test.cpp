// Texture-stage and blending conformance on every device: each blend factor the program uses (and a
// few more), each stage operation and argument, the defined results of a stage without a texture, of
// COLOROP and ALPHAOP DISABLE, the specular add, textures without alpha bits, bilinear sampling at
// pixel centres, Gouraud and flat shading.
#include <gtest/gtest.h>

#include "platform/d3d/device_fixture.h"

namespace {

class StageBlendConformance : public DeviceTest {};

TEST_P(StageBlendConformance, BlendFactors)
{
    // One screen quad of colour src over a target cleared to dst; channels are c/255 (0x80 ≈ 0.502).
    struct BlendCase {
        DWORD src_factor, dst_factor;
        D3DCOLOR src, dst, expected;  // alpha of an A8R8G8B8 target included
    } cases[] = {
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
    for (const BlendCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "src " << c.src_factor << " dst " << c.dst_factor);
        DeviceHarness h(guid(), 4, 4, false, format_a8r8g8b8());
        ASSERT_TRUE(h.ok());
        begin_diffuse(h.device(), c.dst);
        set_blend(h.device(), true, c.src_factor, c.dst_factor);
        ASSERT_EQ(draw_quad(h.device(), 0, 0, 4, 4, 0.5f, c.src), D3D_OK);
        h.device()->EndScene();
        const std::uint32_t got = h.pixel(2, 2);
        EXPECT_LE(color_distance(got, c.expected, true), 1) << "got " << argb_text(got) << ", expected " << argb_text(c.expected);
    }
    // Blending off replaces the destination whatever the factors; alpha 0 is still drawn, and an
    // X8R8G8B8 target reads alpha 0xFF.
    DeviceHarness h(guid(), 4, 4, false);
    ASSERT_TRUE(h.ok());
    begin_diffuse(h.device(), 0xFFFFFFFF);
    set_blend(h.device(), false, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
    draw_quad(h.device(), 0, 0, 4, 4, 0.5f, 0x00102030);
    h.device()->EndScene();
    EXPECT_EQ(h.pixel(1, 1), 0xFF102030u);
}

TEST_P(StageBlendConformance, StageOperations)
{
    // One quad over a 1 × 1 texture of colour kTexel, diffuse kDiffuse; stage 0 colour takes
    // (carg1, DIFFUSE), alpha (TEXTURE, DIFFUSE); stage 1 runs stage1_cop(TEXTURE, CURRENT) with no texture.
    constexpr D3DCOLOR kTexel = 0x80FF8040, kDiffuse = 0x40808080, kSpecular = 0x00204060;
    constexpr DWORD T = D3DTA_TEXTURE, kSel1 = D3DTOP_SELECTARG1, kSel2 = D3DTOP_SELECTARG2, kMod = D3DTOP_MODULATE;
    constexpr DWORD kOff = D3DTOP_DISABLE;
    struct StageCase {
        const char* what;
        bool texture;  // stage 0 has the texture bound
        DWORD cop, carg1, aop, stage1_cop;
        bool specular;
        D3DCOLOR expected;
    } cases[] = {
        {"select texture, diffuse alpha", true, kSel1, T, kSel2, kOff, false, 0x40FF8040},
        {"select diffuse", true, kSel2, T, kSel2, kOff, false, 0x40808080},
        {"modulate", true, kMod, T, kMod, kOff, false, 0x20804020},
        {"texture alpha", true, kSel1, T, kSel1, kOff, false, 0x80FF8040},
        {"complement", true, kSel1, T | D3DTA_COMPLEMENT, kSel1, kOff, false, 0x80007FBF},
        {"alpha replicate", true, kSel1, T | D3DTA_ALPHAREPLICATE, kSel1, kOff, false, 0x80808080},
        {"add", true, D3DTOP_ADD, T, kSel2, kOff, false, 0x40FFFFC0},
        // COLOROP DISABLE at stage 0 ends the cascade at once: the diffuse colour and alpha.
        {"colour disabled at stage 0", true, kOff, T, kSel1, kOff, false, 0x40808080},
        // ALPHAOP DISABLE with colour enabled passes CURRENT's alpha through (the diffuse alpha at stage 0).
        {"alpha disabled", true, kMod, T, kOff, kOff, false, 0x40804020},
        // No texture: an operation reading TEXTURE becomes SELECTARG1(CURRENT) = diffuse, colour and alpha.
        {"untextured select texture", false, kSel1, T, kSel1, kOff, false, 0x40808080},
        {"untextured modulate", false, kMod, T, kSel2, kOff, false, 0x40808080},
        // Stage 1 left at MODULATE(TEXTURE, CURRENT) without a texture passes stage 0's result through.
        {"stage 1 modulate without texture", true, kSel1, T, kSel2, kMod, false, 0x40FF8040},
        // The specular add after the stages, clamped, alpha untouched.
        {"specular add", true, kSel1, T, kSel2, kOff, true, 0x40FFC0A0},
        {"specular off", true, kSel2, T, kSel2, kOff, false, 0x40808080},
    };
    for (const StageCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceHarness h(guid(), 4, 4, false, format_a8r8g8b8());
        ASSERT_TRUE(h.ok());
        IDirect3DDevice7* d = h.device();
        ComRef<IDirectDrawSurface7> tex(h.create_texture(1, 1, {kTexel}));
        ASSERT_TRUE(tex);
        begin_diffuse(d, 0);
        set_color_stage(d, 0, c.cop, c.carg1, D3DTA_DIFFUSE);
        set_alpha_stage(d, 0, c.aop, D3DTA_TEXTURE, D3DTA_DIFFUSE);
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
        EXPECT_LE(color_distance(got, c.expected, true), 1) << "got " << argb_text(got) << ", expected " << argb_text(c.expected);
    }
}

// Draws a quad over the w × h target with stage 0 selecting the texture's colour and alpha.
TestImage draw_textured(DeviceHarness& h, IDirectDrawSurface7* tex, float w, float hh, D3DCOLOR diffuse, bool bilinear = false)
{
    IDirect3DDevice7* d = h.device();
    d->BeginScene();
    set_diffuse_only(d);
    set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, bilinear ? D3DTFG_LINEAR : D3DTFG_POINT);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, bilinear ? D3DTFN_LINEAR : D3DTFN_POINT);
    EXPECT_EQ(d->SetTexture(0, tex), D3D_OK);
    EXPECT_EQ(draw_quad(d, 0, 0, w, hh, 0.5f, diffuse), D3D_OK);
    d->EndScene();
    return h.capture();
}

TEST_P(StageBlendConformance, PlainSurfacesAndTexturesWithoutAlphaBits)
{
    DeviceHarness h(guid(), 4, 4, false, format_a8r8g8b8());
    ASSERT_TRUE(h.ok());
    // A surface without texture caps counts as no texture: the diffuse colour and alpha.
    const DDPIXELFORMAT f = format_a8r8g8b8();
    ComRef<IDirectDrawSurface7> plain(h.create_surface(DDSCAPS_OFFSCREENPLAIN, 4, 4, &f));
    ASSERT_TRUE(plain);
    EXPECT_EQ(draw_textured(h, plain.get(), 4, 4, 0x8011AA22).at(0, 0), 0x8011AA22u);
    // A texture without alpha bits gives opaque alpha.
    for (const DDPIXELFORMAT& format : {format_x8r8g8b8(), format_r5g6b5()}) {
        ComRef<IDirectDrawSurface7> tex(h.create_texture(1, 1, {0x00FF0000}, format));
        ASSERT_TRUE(tex);
        EXPECT_EQ(draw_textured(h, tex.get(), 4, 4, 0x10000000).at(1, 1), 0xFFFF0000u) << format.dwRGBBitCount << "-bit texture";
    }
}

// A 2 × 2 checker (black at (0,0)) over a 4 × 4 screen quad: pixel i samples u = i/4, so under
// bilinear filtering t = u·2 − 1/2 falls between texels on even pixels, on a texel centre on odd
// ones, and the left column and top row mix in the opposite edge through wrapping.
TEST_P(StageBlendConformance, BilinearFilteringAtPixelCentres)
{
    DeviceHarness h(guid(), 4, 4, false);
    ASSERT_TRUE(h.ok());
    ComRef<IDirectDrawSurface7> tex(h.create_texture(2, 2, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}));
    ASSERT_TRUE(tex);
    const TestImage image = draw_textured(h, tex.get(), 4, 4, 0xFFFFFFFF, true);
    const int expected[4][4] = {{128, 128, 128, 128}, {128, 0, 128, 255}, {128, 128, 128, 128}, {128, 255, 128, 0}};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const std::uint32_t want = 0xFF000000u | static_cast<std::uint32_t>(expected[y][x]) * 0x010101u;
            EXPECT_LE(color_distance(image.at(x, y), want), 1) << x << "," << y << ": " << argb_text(image.at(x, y));
        }
    }
}

TEST_P(StageBlendConformance, GouraudInterpolatesAndFlatUsesTheFirstVertex)
{
    DeviceHarness h(guid(), 9, 1, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    begin_diffuse(d);
    D3DTLVERTEX quad[4] = {tl_vertex(0, 2, 0.5f, 1, 0xFF000000), tl_vertex(0, -1, 0.5f, 1, 0xFF000000),
                           tl_vertex(8, 2, 0.5f, 1, 0xFF0000FF), tl_vertex(8, -1, 0.5f, 1, 0xFF0000FF)};
    draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4);
    d->EndScene();
    for (int x = 0; x < 8; ++x) {
        const auto blue = static_cast<std::uint32_t>((255 * x + 4) / 8);
        EXPECT_LE(color_distance(h.pixel(x, 0), 0xFF000000u | blue), 1) << "pixel " << x;
    }

    DeviceHarness flat(guid(), 8, 8, false);
    ASSERT_TRUE(flat.ok());
    begin_diffuse(flat.device());
    flat.device()->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
    D3DTLVERTEX tri[3] = {tl_vertex(0, 0, 0.5f, 1, 0xFF00FF00), tl_vertex(8, 0, 0.5f, 1, 0xFFFF0000),
                          tl_vertex(0, 8, 0.5f, 1, 0xFF0000FF)};
    draw_tl(flat.device(), D3DPT_TRIANGLELIST, tri, 3);
    flat.device()->EndScene();
    const TestImage image = flat.capture();
    for (auto [x, y] : {std::pair{1, 1}, {5, 1}, {1, 5}}) EXPECT_EQ(image.at(x, y), 0xFF00FF00u) << x << "," << y;
}

INSTANTIATE_ON_DEVICES(StageBlendConformance);

}  // namespace
