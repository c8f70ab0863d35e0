// Shaders: the key records the texture-stage rules (DISABLE ends the cascade, a stage without its
// texture or with an operation not offered reads CURRENT), coordinate sets and material sources, and
// changes only with the state's structure; every key compiles and links, the cache compiles each key
// once, and the start-up probe's rule accepts only the device's pixels.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <algorithm>
#include <array>

#include "gl_test_rig.h"
#include "platform/d3d/gl/pixel_shift.h"
#include "platform/d3d/gl/shader_cache.h"
#include "platform/d3d/gl/shader_gen.h"
#include "platform/d3d/gl/shader_key.h"

namespace {

class ShaderKeyTest : public ::testing::Test {
protected:
    ShaderKeyTest() : rig_(IID_IDirect3DRGBDevice, 16, 16, false)
    {
        device_state_defaults(&state_, false, 16, 16);
        texture_ = rig_.texture(4, 4, PixelKind::X8R8G8B8, [](DWORD, DWORD) { return 0xFFFFFFFFu; });
        bindings_.target = surface_from_interface(rig_.target());
        vertex_decode(D3DFVF_VERTEX);
    }
    ~ShaderKeyTest() override { if (texture_ != nullptr) texture_->Release(); }

    void vertex_decode(DWORD fvf) { ASSERT_TRUE(vertex_layout_decode(fvf, &layout_)); }
    void bind_texture(DWORD stage) { bindings_.textures[stage] = surface_from_interface(texture_); }
    void stage(DWORD s, DWORD op, DWORD arg1, DWORD arg2, DWORD aop, DWORD a1, DWORD a2)
    {
        const DWORD words[] = {op, arg1, arg2, aop, a1, a2};
        const D3DTEXTURESTAGESTATETYPE names[] = {D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2,
                                                  D3DTSS_ALPHAOP, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2};
        for (int i = 0; i < 6; ++i) state_.stage[s][names[i]] = words[i];
    }
    ShaderKey key(DWORD flags = 0, bool depth = false) { return shader_key_build(state_, layout_, flags, bindings_, depth); }
    // Stage 0's colour operation and first argument, alpha operation and first argument, and whether it samples.
    using Words = std::array<int, 5>;
    Words stage0()
    {
        const ShaderStageKey s = key().stages[0];
        return {s.color_op, s.color_arg1, s.alpha_op, s.alpha_arg1, s.sampled};
    }
    static constexpr Words kSelectCurrent = {D3DTOP_SELECTARG1, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_CURRENT, 0};

    GlTestRig rig_;
    DeviceState state_;
    VertexLayout layout_;
    DrawBindings bindings_;
    IDirectDrawSurface7* texture_ = nullptr;
};

class ShaderCacheTest : public HeadlessGlTest {
protected:
    // Compiles key on its own; the failure message carries the compiler's log.
    static ::testing::AssertionResult compiles(const ShaderKey& key, float shift = GL_PIXEL_SHIFT_EXACT)
    {
        const ShaderSource source = shader_generate(key, shift);
        std::string error;
        const GLuint program = shader_compile_program(source.vertex, source.fragment, &error);
        if (program == 0) return ::testing::AssertionFailure() << error << "\n" << source.vertex << source.fragment;
        glDeleteProgram(program);
        return ::testing::AssertionSuccess();
    }
    static ShaderKey base()
    {
        ShaderKey k;
        k.has_normal = k.stage_count = 1;
        k.texcoord_count = 2;
        k.stages[0] = ShaderStageKey{D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, 0, 0, 1};
        return k;
    }
};

}  // namespace

TEST_F(ShaderKeyTest, DefaultStagesWithAndWithoutTheirTexture)
{
    // MODULATE(TEXTURE, CURRENT) and SELECTARG1(TEXTURE) without a texture: SELECTARG1(CURRENT).
    ASSERT_EQ(key().stage_count, 1);
    EXPECT_EQ(stage0(), kSelectCurrent);
    bind_texture(0);
    EXPECT_EQ(stage0(), (Words{D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, 1}));
    EXPECT_EQ(key().stages[0].texcoord, 0);
    // A set the vertex does not have reads as (0, 0).
    state_.stage[0][D3DTSS_TEXCOORDINDEX] = 1;
    EXPECT_EQ(key().stages[0].texcoord, SHADER_NO_TEXCOORD);
    vertex_decode(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2);
    EXPECT_EQ(key().stages[0].texcoord, 1);
}

TEST_F(ShaderKeyTest, ColourDisableEndsTheCascadeAlphaDisablePassesThrough)
{
    bind_texture(0);
    bind_texture(1);
    stage(1, D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_CURRENT);
    stage(2, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT);
    stage(3, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT);
    const ShaderKey k = key();
    ASSERT_EQ(k.stage_count, 2);
    EXPECT_EQ(k.stages[1].color_op, D3DTOP_ADD);
    EXPECT_EQ(k.stages[1].alpha_op, D3DTOP_DISABLE);
    EXPECT_EQ(k.stages[2].color_op, 0);  // past the end
}

TEST_F(ShaderKeyTest, MissingTextureTurnsColourAndAlphaIntoCurrentSeparately)
{
    // Colour does not read the texture (SELECTARG2 of DIFFUSE); alpha does.
    stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    const ShaderKey k = key();
    EXPECT_EQ(k.stages[0].color_op, D3DTOP_SELECTARG2);
    EXPECT_EQ(k.stages[0].color_arg2, D3DTA_DIFFUSE);
    EXPECT_EQ(k.stages[0].alpha_op, D3DTOP_SELECTARG1);
    EXPECT_EQ(k.stages[0].alpha_arg1, D3DTA_CURRENT);
    // BLENDTEXTUREALPHA reads the texture's alpha whatever its arguments are.
    stage(0, D3DTOP_BLENDTEXTUREALPHA, D3DTA_DIFFUSE, D3DTA_TFACTOR, D3DTOP_DISABLE, 0, 0);
    EXPECT_EQ(stage0()[0], D3DTOP_SELECTARG1);
    bind_texture(0);
    EXPECT_EQ(stage0()[0], D3DTOP_BLENDTEXTUREALPHA);
    EXPECT_EQ(stage0()[4], 1);
}

TEST_F(ShaderKeyTest, OperationsTheDeviceDoesNotOfferBecomeSelectCurrent)
{
    bind_texture(0);
    for (DWORD op : {static_cast<DWORD>(D3DTOP_PREMODULATE), static_cast<DWORD>(D3DTOP_DOTPRODUCT3), 0u, 99u}) {
        stage(0, op, D3DTA_TEXTURE, D3DTA_DIFFUSE, op, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        EXPECT_EQ(key().stage_count, 1) << op;
        EXPECT_EQ(stage0(), kSelectCurrent) << op;
    }
}

TEST_F(ShaderKeyTest, MaterialSourcesFollowTheVertexFormat)
{
    // Defaults: diffuse from COLOR1, specular from COLOR2, ambient and emissive from the material.
    EXPECT_EQ(key().diffuse_source, SHADER_SOURCE_MATERIAL);  // D3DVERTEX has no colours
    vertex_decode(D3DFVF_LVERTEX);
    ShaderKey k = key();
    EXPECT_EQ(k.diffuse_source, SHADER_SOURCE_DIFFUSE);
    EXPECT_EQ(k.specular_source, SHADER_SOURCE_SPECULAR);
    EXPECT_EQ(k.ambient_source, SHADER_SOURCE_MATERIAL);
    state_.render[D3DRENDERSTATE_AMBIENTMATERIALSOURCE] = D3DMCS_COLOR2;
    state_.render[D3DRENDERSTATE_EMISSIVEMATERIALSOURCE] = 7;  // not a source: the material
    k = key();
    EXPECT_EQ(k.ambient_source, SHADER_SOURCE_SPECULAR);
    EXPECT_EQ(k.emissive_source, SHADER_SOURCE_MATERIAL);
    state_.render[D3DRENDERSTATE_COLORVERTEX] = FALSE;
    k = key();
    EXPECT_EQ(k.diffuse_source, SHADER_SOURCE_MATERIAL);
    EXPECT_EQ(k.ambient_source, SHADER_SOURCE_MATERIAL);
}

TEST_F(ShaderKeyTest, LightingNeedsTransformedVerticesAndNoDoNotLightFlag)
{
    state_.lights.resize(3);
    state_.lights[0].light.dltType = D3DLIGHT_SPOT;
    state_.lights[0].enabled = true;
    state_.lights[2].light.dltType = D3DLIGHT_DIRECTIONAL;
    state_.lights[2].enabled = true;
    ShaderKey k = key();
    EXPECT_EQ(k.lighting, 1);
    ASSERT_EQ(k.light_count, 2);
    EXPECT_EQ(k.light_types[0], D3DLIGHT_SPOT);
    EXPECT_EQ(k.light_types[1], D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(key(D3DDP_DONOTLIGHT).lighting, 0);
    vertex_decode(D3DFVF_TLVERTEX);
    k = key();
    EXPECT_EQ(k.lighting, 0);
    EXPECT_EQ(k.pretransformed, 1);
}

TEST_F(ShaderKeyTest, DepthModesAlphaTestAndSixteenBitTargets)
{
    state_.render[D3DRENDERSTATE_ZENABLE] = D3DZB_USEW;
    EXPECT_EQ(key(0, false).wbuffer, 0);  // no depth buffer in use
    EXPECT_EQ(key(0, true).wbuffer, 1);
    vertex_decode(D3DFVF_TLVERTEX);
    EXPECT_EQ(key(0, true).depth_clip, 1);
    EXPECT_EQ(key(0, false).depth_clip, 0);
    state_.render[D3DRENDERSTATE_ALPHATESTENABLE] = TRUE;
    state_.render[D3DRENDERSTATE_ALPHAFUNC] = D3DCMP_ALWAYS;
    EXPECT_EQ(key().alpha_func, 0);  // passes everything: no test at all
    state_.render[D3DRENDERSTATE_ALPHAFUNC] = 42;  // clamps to ALWAYS
    EXPECT_EQ(key().alpha_func, 0);
    state_.render[D3DRENDERSTATE_ALPHAFUNC] = D3DCMP_GREATER;
    EXPECT_EQ(key().alpha_func, D3DCMP_GREATER);

    EXPECT_EQ(key().quantize, 0);  // 32-bit target
    GlTestRig sixteen(IID_IDirect3DRGBDevice, 8, 8, false, PixelKind::R5G6B5);
    bindings_.target = surface_from_interface(sixteen.target());
    EXPECT_EQ(key().quantize, static_cast<unsigned>(PixelKind::R5G6B5) + 1);
    state_.render[D3DRENDERSTATE_ALPHABLENDENABLE] = TRUE;
    EXPECT_EQ(key().quantize, 0);  // blended draws are narrowed afterwards instead
}

TEST_F(ShaderKeyTest, NumbersDoNotChangeTheKeyButStructureDoes)
{
    const ShaderKey base = key();
    const ShaderKeyHash hash;
    state_.render[D3DRENDERSTATE_TEXTUREFACTOR] = 0x12345678;
    state_.render[D3DRENDERSTATE_AMBIENT] = 0xFF808080;
    state_.material.power = 12.0f;
    state_.viewport.dwWidth = 7;
    EXPECT_TRUE(key() == base);
    EXPECT_EQ(hash(key()), hash(base));
    state_.render[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_FLAT;
    EXPECT_FALSE(key() == base);
}

TEST_F(ShaderCacheTest, EveryOfferedOperationWithEveryArgumentCompiles)
{
    const std::uint8_t args[] = {D3DTA_DIFFUSE, D3DTA_CURRENT, D3DTA_TEXTURE, D3DTA_TFACTOR, D3DTA_SPECULAR,
                                 D3DTA_TEXTURE | D3DTA_COMPLEMENT, D3DTA_DIFFUSE | D3DTA_ALPHAREPLICATE,
                                 D3DTA_CURRENT | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE, 0x0F};
    for (std::uint8_t op = D3DTOP_SELECTARG1; op <= D3DTOP_BLENDCURRENTALPHA; ++op) {
        for (std::uint8_t arg : args) {
            ShaderKey k = base();
            k.stage_count = 2;
            k.stages[1] = ShaderStageKey{op, arg, D3DTA_CURRENT, op, D3DTA_TFACTOR, arg, 1, 1};
            k.stages[0].alpha_op = D3DTOP_DISABLE;
            EXPECT_TRUE(compiles(k)) << "op " << int(op) << " arg " << int(arg);
        }
    }
}

TEST_F(ShaderCacheTest, LightingVertexFormatsAndModesCompile)
{
    for (int variant = 0; variant < 16; ++variant) {
        ShaderKey k = base();
        k.lighting = k.has_diffuse = k.has_specular = 1;
        k.light_count = 3;
        k.light_types[0] = D3DLIGHT_POINT;
        k.light_types[1] = D3DLIGHT_SPOT;
        k.light_types[2] = D3DLIGHT_DIRECTIONAL;
        k.specular = k.wbuffer = variant & 1;
        k.local_viewer = (variant >> 1) & 1;
        k.normalize_normals = k.flat = (variant >> 2) & 1;
        k.has_normal = (variant >> 3) & 1;
        k.diffuse_source = SHADER_SOURCE_DIFFUSE;
        k.specular_source = SHADER_SOURCE_SPECULAR;  // ambient and emissive: the material
        k.clip_planes = 0x21;
        k.alpha_func = D3DCMP_GREATEREQUAL;
        EXPECT_TRUE(compiles(k)) << "variant " << variant;
        EXPECT_TRUE(compiles(k, GL_PIXEL_SHIFT_BIASED)) << "variant " << variant;
    }
    ShaderKey tl = base();
    tl.pretransformed = tl.has_diffuse = tl.has_specular = tl.depth_clip = 1;
    tl.has_normal = 0;
    tl.stages[0].texcoord = SHADER_NO_TEXCOORD;
    EXPECT_TRUE(compiles(tl));
    for (PixelKind kind : {PixelKind::R5G6B5, PixelKind::X1R5G5B5, PixelKind::A1R5G5B5, PixelKind::A4R4G4B4}) {
        tl.quantize = static_cast<std::uint8_t>(static_cast<unsigned>(kind) + 1);
        EXPECT_TRUE(compiles(tl)) << static_cast<int>(kind);
    }
    ShaderKey none;  // no stages at all: the diffuse colour
    EXPECT_TRUE(compiles(none));
}

TEST_F(ShaderCacheTest, EachKeyIsCompiledOnce)
{
    GlShadowState gl;
    ShaderCache cache(gl, GL_PIXEL_SHIFT_EXACT);
    const ShaderKey a = base();
    ShaderKey b = base();
    b.specular = 1;
    const GLuint pa = cache.program(a);
    ASSERT_NE(pa, 0u);
    EXPECT_EQ(cache.program(a), pa);
    const GLuint pb = cache.program(b);
    EXPECT_NE(pb, pa);
    EXPECT_EQ(cache.compiles(), 2u);
    // The program's samplers are tied to their stages' units.
    GLint unit = -1;
    glGetUniformiv(pa, glGetUniformLocation(pa, "texture0"), &unit);
    EXPECT_EQ(unit, 0);
}

TEST(PixelShift, CoverageRuleAcceptsOnlyTheDevicesPixels)
{
    unsigned char covered[8][8] = {};
    for (int y = 2; y < 5; ++y) std::fill_n(&covered[y][2], 3, 255);  // the device's 3 × 3 pixels
    EXPECT_TRUE(pixel_shift_coverage_matches(covered));
    covered[5][3] = 255;  // the bottom edge's row taken as well
    EXPECT_FALSE(pixel_shift_coverage_matches(covered));
    covered[5][3] = 0;
    covered[2][2] = 0;  // the top-left corner left out
    EXPECT_FALSE(pixel_shift_coverage_matches(covered));
}
