// State conversion: every stored word becomes a member of its enumeration the way the software device
// reads it (out-of-range words included), and the shadow state reaches GL only when something changes
// (checked against GL's own state). The mappings to GL values are left to the drawing tests.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <iterator>
#include <utility>

#include "gl_test_rig.h"
#include "platform/d3d/core/state_reading.h"
#include "platform/d3d/gl/gl_enums.h"
#include "platform/d3d/gl/shadow_state.h"

TEST(StateReaders, OutOfRangeWordsReadAsTheSoftwareDeviceReadsThem)
{
    // Each row: what a reader makes of a word, and what the software device makes of it.
    const std::pair<DWORD, DWORD> words[] = {
        {state_compare(0), D3DCMP_NEVER},        {state_compare(D3DCMP_GREATER), D3DCMP_GREATER},
        {state_compare(1000), D3DCMP_ALWAYS},    {state_address(0), D3DTADDRESS_WRAP},
        {state_address(9), D3DTADDRESS_BORDER},  {state_address(D3DTADDRESS_MIRROR), D3DTADDRESS_MIRROR},
        {state_cull(D3DCULL_CW), D3DCULL_CW},    {state_cull(0), D3DCULL_NONE},
        {state_cull(77), D3DCULL_NONE},          {state_fill(D3DFILL_POINT), D3DFILL_POINT},
        {state_fill(0), D3DFILL_SOLID},          {state_filter(D3DTFG_POINT), D3DTFG_POINT},
        {state_filter(0), D3DTFG_POINT},         {state_filter(D3DTFG_ANISOTROPIC), D3DTFG_LINEAR}};
    for (std::size_t i = 0; i < std::size(words); ++i) EXPECT_EQ(words[i].first, words[i].second) << "row " << i;
    // Blend words (source, destination), the factors read; "both" means nothing as a destination.
    const DWORD blends[][4] = {{D3DBLEND_BOTHSRCALPHA, D3DBLEND_ONE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                               {D3DBLEND_BOTHINVSRCALPHA, D3DBLEND_ZERO, D3DBLEND_INVSRCALPHA, D3DBLEND_SRCALPHA},
                               {0, 99, D3DBLEND_ONE, D3DBLEND_ZERO},
                               {D3DBLEND_SRCALPHA, D3DBLEND_BOTHSRCALPHA, D3DBLEND_SRCALPHA, D3DBLEND_ZERO}};
    for (const DWORD* b : blends) {
        D3DBLEND s, d;
        state_blend_factors(b[0], b[1], &s, &d);
        EXPECT_EQ(s, b[2]) << b[0] << " " << b[1];
        EXPECT_EQ(d, b[3]) << b[0] << " " << b[1];
    }
}

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
