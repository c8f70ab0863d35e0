// How the device reads its stored state words, the rules both backends draw by: enumerations read from
// any word, the texture-stage cascade with its stops and fallbacks, depth with and without a z-buffer,
// the lights that shine, the material colour sources per vertex format, and the guard band.
#include <gtest/gtest.h>

#include <iterator>
#include <utility>

#include "platform/d3d/core/device_state.h"
#include "platform/d3d/core/state_reading.h"
#include "platform/d3d/core/vertex_format.h"

TEST(StateReading, OutOfRangeWordsReadAsMembersOfTheirEnumeration)
{
    // Each row: what a reader makes of a word, and what the device draws with.
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

namespace {

DeviceState defaults()
{
    DeviceState s;
    device_state_defaults(&s, true, 64, 64);
    return s;
}

void set_stage(DeviceState& s, unsigned stage, DWORD color_op, DWORD arg1, DWORD arg2, DWORD alpha_op)
{
    s.stage[stage][D3DTSS_COLOROP] = color_op;
    s.stage[stage][D3DTSS_COLORARG1] = arg1;
    s.stage[stage][D3DTSS_COLORARG2] = arg2;
    s.stage[stage][D3DTSS_ALPHAOP] = alpha_op;
    s.stage[stage][D3DTSS_ALPHAARG1] = arg1;
    s.stage[stage][D3DTSS_ALPHAARG2] = arg2;
}

}  // namespace

TEST(StateReading, StageCascadeStopsFallsBackAndPassesAlphaThrough)
{
    DeviceState s = defaults();
    Surface* const some_texture = reinterpret_cast<Surface*>(&s);  // only its presence is read
    Surface* textures[D3D_MAX_TEXTURE_STAGES] = {some_texture, nullptr, some_texture};
    // Stage 0 modulates its texture with the diffuse colour; stage 1 adds a texture it does not have;
    // stage 2 asks for an operation the device does not offer; stage 3 is off, so 4 is never read.
    set_stage(s, 0, D3DTOP_MODULATE, D3DTA_TEXTURE | D3DTA_COMPLEMENT, D3DTA_DIFFUSE, D3DTOP_DISABLE);
    set_stage(s, 1, D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG2);
    set_stage(s, 2, D3DTOP_DOTPRODUCT3, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG1);
    set_stage(s, 3, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG1);
    set_stage(s, 4, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG1);
    StageRead out[D3D_MAX_TEXTURE_STAGES];
    ASSERT_EQ(state_stages(s, textures, out), 3u);

    EXPECT_EQ(out[0].color.op, D3DTOP_MODULATE);
    EXPECT_EQ(out[0].color.arg1, D3DTA_TEXTURE | D3DTA_COMPLEMENT);
    EXPECT_TRUE(out[0].alpha_passthrough);
    EXPECT_TRUE(out[0].samples);
    // Without its texture ADD becomes SELECTARG1(CURRENT); SELECTARG2 of CURRENT reads no texture and stays.
    EXPECT_EQ(out[1].color.op, D3DTOP_SELECTARG1);
    EXPECT_EQ(out[1].color.arg1, D3DTA_CURRENT);
    EXPECT_EQ(out[1].alpha.op, D3DTOP_SELECTARG2);
    EXPECT_FALSE(out[1].samples);
    // Not offered: SELECTARG1(CURRENT) for colour; the alpha operation still samples the texture.
    EXPECT_EQ(out[2].color.op, D3DTOP_SELECTARG1);
    EXPECT_EQ(out[2].color.arg1, D3DTA_CURRENT);
    EXPECT_EQ(out[2].alpha.op, D3DTOP_SELECTARG1);
    EXPECT_EQ(out[2].alpha.arg1, D3DTA_TEXTURE);
    EXPECT_TRUE(out[2].samples);

    // Which operations read the texture: through the arguments they use, or the texture's alpha.
    EXPECT_FALSE(state_stage_op_reads_texture(D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE));
    EXPECT_TRUE(state_stage_op_reads_texture(D3DTOP_SELECTARG2, D3DTA_DIFFUSE, D3DTA_TEXTURE));
    EXPECT_TRUE(state_stage_op_reads_texture(D3DTOP_BLENDTEXTUREALPHA, D3DTA_DIFFUSE, D3DTA_CURRENT));
    EXPECT_FALSE(state_stage_op_reads_texture(D3DTOP_BLENDDIFFUSEALPHA, D3DTA_DIFFUSE, D3DTA_CURRENT));
    EXPECT_FALSE(state_stage_op_offered(D3DTOP_DISABLE));
    EXPECT_FALSE(state_stage_op_offered(D3DTOP_BLENDCURRENTALPHA + 1));
}

TEST(StateReading, DepthNeedsAZBufferAndReadsUsewAsTheWBuffer)
{
    DeviceState s = defaults();
    const std::pair<DWORD, DepthRead> rows[] = {
        {D3DZB_FALSE, DepthRead::Off}, {D3DZB_TRUE, DepthRead::Z}, {D3DZB_USEW, DepthRead::W}, {7, DepthRead::Z}};
    for (const auto& [zenable, with_buffer] : rows) {
        s.render[D3DRENDERSTATE_ZENABLE] = zenable;
        EXPECT_EQ(state_depth(s, true), with_buffer) << zenable;
        EXPECT_EQ(state_depth(s, false), DepthRead::Off) << zenable;
    }
}

TEST(StateReading, AtMostEightEnabledLightsShineInIndexOrder)
{
    DeviceState s = defaults();
    s.lights.resize(12);
    for (std::size_t i = 0; i < s.lights.size(); ++i) s.lights[i].enabled = i != 1;  // all but light 1
    const LightSlot* active[D3D_MAX_ACTIVE_LIGHTS];
    ASSERT_EQ(state_active_lights(s, active), D3D_MAX_ACTIVE_LIGHTS);
    EXPECT_EQ(active[0], &s.lights[0]);
    EXPECT_EQ(active[1], &s.lights[2]);
    EXPECT_EQ(active[7], &s.lights[8]);
    s.lights.clear();
    EXPECT_EQ(state_active_lights(s, active), 0u);
}

TEST(StateReading, MaterialSourcesTakeOnlyColoursTheVertexHas)
{
    DeviceState s = defaults();
    VertexLayout diffuse_only;
    diffuse_only.has_diffuse = true;
    VertexLayout both = diffuse_only;
    both.has_specular = true;
    s.render[D3DRENDERSTATE_AMBIENTMATERIALSOURCE] = D3DMCS_COLOR2;
    s.render[D3DRENDERSTATE_EMISSIVEMATERIALSOURCE] = 9;  // not a source: the material
    EXPECT_EQ(state_material_source(s, D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, diffuse_only), MATERIAL_SOURCE_DIFFUSE);
    EXPECT_EQ(state_material_source(s, D3DRENDERSTATE_AMBIENTMATERIALSOURCE, diffuse_only), MATERIAL_SOURCE_MATERIAL);
    EXPECT_EQ(state_material_source(s, D3DRENDERSTATE_AMBIENTMATERIALSOURCE, both), MATERIAL_SOURCE_SPECULAR);
    EXPECT_EQ(state_material_source(s, D3DRENDERSTATE_EMISSIVEMATERIALSOURCE, both), MATERIAL_SOURCE_MATERIAL);
    s.render[D3DRENDERSTATE_COLORVERTEX] = FALSE;
    EXPECT_EQ(state_material_source(s, D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, both), MATERIAL_SOURCE_MATERIAL);
}

TEST(StateReading, GuardBandSurroundsTheViewport)
{
    D3DVIEWPORT7 vp{};
    vp.dwX = 10;
    vp.dwY = 20;
    vp.dwWidth = 640;
    vp.dwHeight = 480;
    const GuardBand g = state_guard_band(vp);
    EXPECT_EQ(g.left, 10.0f - D3D_GUARD_BAND);
    EXPECT_EQ(g.bottom, 500.0f + D3D_GUARD_BAND);
    // A point at x = 2 inside the left plane, at w = 2 (homogeneous x = 4): distance (2 - left) · 2.
    const double h[4] = {4.0, 0.0, 0.0, 2.0};
    EXPECT_DOUBLE_EQ(guard_plane_distance(h, 0, g), (2.0 - g.left) * 2.0);
    EXPECT_LT(guard_plane_distance(h, 3, GuardBand{0, 0, 0, -1}), 0.0);  // beyond a bottom edge at y = -1
}
