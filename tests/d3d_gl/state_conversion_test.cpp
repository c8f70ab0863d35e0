// State conversion: every stored word becomes a member of its enumeration the way the software device
// reads it, each member has its GL value, and the shadow state reaches GL only when something changes
// (checked against GL's own state).
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include "platform/d3d/gl/context_egl.h"
#include "platform/d3d/gl/gl_enums.h"
#include "platform/d3d/gl/shadow_state.h"

TEST(StateReaders, OutOfRangeWordsReadAsTheSoftwareDeviceReadsThem)
{
    EXPECT_EQ(d3d_compare_of(0), D3DCMP_NEVER);
    EXPECT_EQ(d3d_compare_of(D3DCMP_GREATER), D3DCMP_GREATER);
    EXPECT_EQ(d3d_compare_of(1000), D3DCMP_ALWAYS);
    EXPECT_EQ(d3d_address_of(0), D3DTADDRESS_WRAP);
    EXPECT_EQ(d3d_address_of(D3DTADDRESS_MIRROR), D3DTADDRESS_MIRROR);
    EXPECT_EQ(d3d_address_of(9), D3DTADDRESS_BORDER);
    EXPECT_EQ(d3d_cull_of(D3DCULL_CW), D3DCULL_CW);
    EXPECT_EQ(d3d_cull_of(0), D3DCULL_NONE);
    EXPECT_EQ(d3d_cull_of(77), D3DCULL_NONE);
    EXPECT_EQ(d3d_fill_of(D3DFILL_POINT), D3DFILL_POINT);
    EXPECT_EQ(d3d_fill_of(0), D3DFILL_SOLID);
    EXPECT_EQ(d3d_filter_of(D3DTFG_POINT), D3DTFG_POINT);
    EXPECT_EQ(d3d_filter_of(0), D3DTFG_POINT);
    EXPECT_EQ(d3d_filter_of(D3DTFG_ANISOTROPIC), D3DTFG_LINEAR);
}

TEST(StateReaders, BlendPairs)
{
    D3DBLEND s, d;
    d3d_blend_of(D3DBLEND_BOTHSRCALPHA, D3DBLEND_ONE, &s, &d);
    EXPECT_EQ(s, D3DBLEND_SRCALPHA);
    EXPECT_EQ(d, D3DBLEND_INVSRCALPHA);
    d3d_blend_of(D3DBLEND_BOTHINVSRCALPHA, D3DBLEND_ZERO, &s, &d);
    EXPECT_EQ(s, D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(d, D3DBLEND_SRCALPHA);
    d3d_blend_of(0, 99, &s, &d);
    EXPECT_EQ(s, D3DBLEND_ONE);
    EXPECT_EQ(d, D3DBLEND_ZERO);
    // The "both" factors mean nothing as a destination.
    d3d_blend_of(D3DBLEND_SRCALPHA, D3DBLEND_BOTHSRCALPHA, &s, &d);
    EXPECT_EQ(d, D3DBLEND_ZERO);
}

TEST(GlConversions, EveryMemberHasItsGlValue)
{
    const GLenum compare[] = {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    for (DWORD f = D3DCMP_NEVER; f <= D3DCMP_ALWAYS; ++f) EXPECT_EQ(gl_compare_func(static_cast<D3DCMPFUNC>(f)), compare[f - 1]);
    const GLenum blend[] = {GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                            GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA_SATURATE};
    for (DWORD f = D3DBLEND_ZERO; f <= D3DBLEND_SRCALPHASAT; ++f) EXPECT_EQ(gl_blend_factor(static_cast<D3DBLEND>(f)), blend[f - 1]);
    EXPECT_EQ(gl_address_mode(D3DTADDRESS_WRAP), static_cast<GLenum>(GL_REPEAT));
    EXPECT_EQ(gl_address_mode(D3DTADDRESS_MIRROR), static_cast<GLenum>(GL_MIRRORED_REPEAT));
    EXPECT_EQ(gl_address_mode(D3DTADDRESS_CLAMP), static_cast<GLenum>(GL_CLAMP_TO_EDGE));
    EXPECT_EQ(gl_address_mode(D3DTADDRESS_BORDER), static_cast<GLenum>(GL_CLAMP_TO_BORDER));
    EXPECT_EQ(gl_primitive(D3DPT_TRIANGLEFAN), static_cast<GLenum>(GL_TRIANGLE_FAN));
    EXPECT_EQ(gl_primitive(D3DPT_LINESTRIP), static_cast<GLenum>(GL_LINE_STRIP));
    EXPECT_EQ(gl_polygon_mode(D3DFILL_WIREFRAME), static_cast<GLenum>(GL_LINE));
    EXPECT_EQ(gl_filter(D3DTFG_LINEAR), static_cast<GLenum>(GL_LINEAR));
    // Culling: the device's clockwise triangles are GL's counter-clockwise (front) ones.
    EXPECT_FALSE(gl_cull(D3DCULL_NONE).enabled);
    EXPECT_EQ(gl_cull(D3DCULL_CCW).face, static_cast<GLenum>(GL_BACK));
    EXPECT_EQ(gl_cull(D3DCULL_CW).face, static_cast<GLenum>(GL_FRONT));
}

class ShadowStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        context_ = context_egl_create("", &error);
        ASSERT_NE(context_, nullptr) << error;
        ASSERT_TRUE(context_->make_current());
    }
    std::unique_ptr<GlContext> context_;
};

TEST_F(ShadowStateTest, RepeatedRequestsAreSkippedAndGlHoldsTheLastValue)
{
    GlShadowState gl;
    gl.blend_func(GL_SRC_ALPHA, GL_ONE);
    gl.enable(GlShadowState::CAP_BLEND, true);
    const std::uint64_t made = gl.calls_made();
    gl.blend_func(GL_SRC_ALPHA, GL_ONE);
    gl.enable(GlShadowState::CAP_BLEND, true);
    EXPECT_EQ(gl.calls_made(), made);
    EXPECT_EQ(gl.calls_skipped(), 2u);
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &src);
    glGetIntegerv(GL_BLEND_DST_RGB, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    gl.depth_func(GL_GREATER);
    gl.depth_mask(false);
    gl.cull_face(GL_FRONT);
    gl.viewport(1, 2, 3, 4);
    gl.scissor(5, 6, 7, 8);
    gl.clip_distances(3);
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_GREATER);
    GLboolean mask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_FALSE);
    GLint box[4] = {};
    glGetIntegerv(GL_VIEWPORT, box);
    EXPECT_EQ(box[2], 3);
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[1], 6);
    EXPECT_TRUE(glIsEnabled(GL_CLIP_DISTANCE2));
    EXPECT_FALSE(glIsEnabled(GL_CLIP_DISTANCE3));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShadowStateTest, InvalidateMakesTheNextRequestReachGl)
{
    GlShadowState gl;
    gl.depth_func(GL_LESS);
    glDepthFunc(GL_ALWAYS);  // someone else changed it behind the shadow's back
    gl.depth_func(GL_LESS);  // skipped: the shadow believes GL holds LESS
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_ALWAYS);
    gl.invalidate();
    gl.depth_func(GL_LESS);
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LESS);
}

TEST_F(ShadowStateTest, EditTextureSelectsItsUnitEvenWhenTheBindingIsKnown)
{
    GlShadowState gl;
    GLuint textures[2] = {};
    glGenTextures(2, textures);
    gl.edit_texture(textures[0]);
    gl.bind_texture(3, textures[1]);  // leaves unit 3 active
    gl.edit_texture(textures[0]);     // binding unchanged, the unit must still become active
    GLint active = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(active, static_cast<GLint>(GL_TEXTURE0 + GlShadowState::kEditUnit));
    EXPECT_EQ(static_cast<GLuint>(bound), textures[0]);
    glDeleteTextures(2, textures);
}
