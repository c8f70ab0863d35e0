// The shadow state reaches GL only when something changes (checked against GL's own state). How stored
// words are read is the device core's (state_reading_test.cpp); the mappings to GL values are left to
// the drawing tests.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include "gl_test_rig.h"
#include "platform/d3d/gl/gl_enums.h"
#include "platform/d3d/gl/shadow_state.h"

using ShadowStateTest = HeadlessGlTest;

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
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    gl.clip_distances(3);  // the first three planes
    EXPECT_TRUE(glIsEnabled(GL_CLIP_DISTANCE2));
    EXPECT_FALSE(glIsEnabled(GL_CLIP_DISTANCE3));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Once invalidated, the next request reaches GL even though the shadow believed it held the value.
    GLint value = 0;
    gl.depth_func(GL_LESS);
    glDepthFunc(GL_ALWAYS);  // changed behind the shadow's back
    gl.depth_func(GL_LESS);  // skipped
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
