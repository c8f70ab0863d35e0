// Generated shaders: every combination the key can describe compiles and links (operations, arguments
// and modifiers, light types, vertex formats, depth and alpha modes, 16-bit targets, both pixel
// shifts), the cache compiles each key once, and the start-up probe's decision rule.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include "gl_test_rig.h"
#include "platform/d3d/gl/pixel_shift.h"
#include "platform/d3d/gl/shader_cache.h"
#include "platform/d3d/gl/shader_gen.h"

namespace {

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
    EXPECT_EQ(cache.program(b), pb);
    EXPECT_EQ(cache.compiles(), 2u);
    EXPECT_EQ(cache.size(), 2u);
    // The program's samplers are tied to their stages' units.
    GLint unit = -1;
    glGetUniformiv(pa, glGetUniformLocation(pa, "texture0"), &unit);
    EXPECT_EQ(unit, 0);
}

TEST(PixelShift, CoverageRuleAcceptsOnlyTheDevicesPixels)
{
    unsigned char covered[8][8] = {};
    for (int y = 2; y < 5; ++y) {
        for (int x = 2; x < 5; ++x) covered[y][x] = 255;
    }
    EXPECT_TRUE(pixel_shift_coverage_matches(covered));
    covered[5][3] = 255;  // the bottom edge's row taken as well
    EXPECT_FALSE(pixel_shift_coverage_matches(covered));
    covered[5][3] = 0;
    covered[2][2] = 0;  // the top-left corner left out
    EXPECT_FALSE(pixel_shift_coverage_matches(covered));
}
