// The render helpers against a recording device: the exact calls of the grouped setters, the
// transform round trip, the viewport aspect, vertex-buffer placement and the behaviour without a
// device.
#include <gtest/gtest.h>

#include "render/recording_device.h"
#include "render/render.h"

namespace {

using Calls = std::vector<std::string>;

class RenderHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        RenderObjects objects;
        objects.direct3d = &direct3d;
        objects.device = &device;
        render_objects_set(objects);
    }
    void TearDown() override { render_objects_set({}); }

    RecordingDirect3D direct3d;
    RecordingDevice device;
};

TEST_F(RenderHelpers, GroupedSettersIssueTheirThreeCallsInOrder) {
    set_blend(1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    set_color_stage(1, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT);
    set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    EXPECT_EQ(device.calls, (Calls{"SetRenderState 27 1", "SetRenderState 19 5", "SetRenderState 20 6",
                                   "SetTextureStageState 1 1 4", "SetTextureStageState 1 2 2",
                                   "SetTextureStageState 1 3 1", "SetTextureStageState 0 4 3",
                                   "SetTextureStageState 0 5 2", "SetTextureStageState 0 6 0"}));
}

TEST_F(RenderHelpers, SingleForwardersReachTheCurrentDevice) {
    set_render_state(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
    set_stage_state(0, D3DTSS_TEXCOORDINDEX, 1);
    set_texture(1, nullptr);
    enable_light(3, true);
    begin_scene();
    clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00102030, 1.0f, 0);
    end_scene();
    EXPECT_EQ(device.calls, (Calls{"SetRenderState 7 2", "SetTextureStageState 0 11 1", "SetTexture 1 null",
                                   "LightEnable 3 1", "BeginScene", "Clear 0 3 1056816 1.000000 0", "EndScene"}));
}

TEST_F(RenderHelpers, HelpersFollowTheDeviceSetAtTheMomentOfTheCall) {
    RecordingDevice second;
    set_render_state(D3DRENDERSTATE_LIGHTING, 1);
    current_device = &second;  // the driver refreshes it after every frame
    set_render_state(D3DRENDERSTATE_LIGHTING, 0);
    EXPECT_EQ(device.calls, (Calls{"SetRenderState 137 1"}));
    EXPECT_EQ(second.calls, (Calls{"SetRenderState 137 0"}));
}

TEST_F(RenderHelpers, TransformsRoundTripThroughTheDevice) {
    Matrix world;
    matrix_translation(&world, 1.0f, 2.0f, 3.0f);
    Matrix view;
    matrix_scaling(&view, 2.0f, 2.0f, 2.0f);
    set_world_matrix(world);
    set_view_matrix(view);
    set_projection_matrix(world);
    Matrix out;
    EXPECT_EQ(*get_world_matrix(&out), world);
    EXPECT_EQ(*get_view_matrix(&out), view);
    EXPECT_EQ(device.calls_starting("SetTransform"),
              (Calls{"SetTransform 1", "SetTransform 2", "SetTransform 3"}));
}

TEST_F(RenderHelpers, ViewportAspectIsHeightOverWidth) {
    EXPECT_FLOAT_EQ(viewport_aspect(), 0.75f);
    device.viewport.dwWidth = 256;
    device.viewport.dwHeight = 256;
    EXPECT_FLOAT_EQ(viewport_aspect(), 1.0f);
    device.viewport.dwWidth = 0;
    EXPECT_FLOAT_EQ(viewport_aspect(), 1.0f);  // no division by zero
}

TEST_F(RenderHelpers, VertexBuffersGoToSystemMemoryWithoutHardwareTransformAndLighting) {
    D3DDEVICEDESC7 caps{};
    device.caps = caps;
    IDirect3DVertexBuffer7* buffer = nullptr;
    ASSERT_EQ(create_vertex_buffer(&buffer, 10, 0x212), 0);
    ASSERT_EQ(direct3d.descriptions.size(), 1u);
    EXPECT_EQ(direct3d.descriptions[0].dwSize, 16u);
    EXPECT_EQ(direct3d.descriptions[0].dwCaps, D3DVBCAPS_SYSTEMMEMORY);
    EXPECT_EQ(direct3d.descriptions[0].dwFVF, 0x212u);
    EXPECT_EQ(direct3d.descriptions[0].dwNumVertices, 10u);

    caps.dwDevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    device.caps = caps;
    ASSERT_EQ(create_vertex_buffer(&buffer, 4, 0x1E2), 0);
    EXPECT_EQ(direct3d.descriptions[1].dwCaps, 0u);
}

TEST_F(RenderHelpers, VertexBufferCreationReportsMissingObjectsAndFailures) {
    IDirect3DVertexBuffer7* buffer = nullptr;
    EXPECT_EQ(create_vertex_buffer(&buffer, 0, 0x212), DDERR_INVALIDPARAMS);  // the device's refusal
    current_device = nullptr;
    EXPECT_EQ(create_vertex_buffer(&buffer, 3, 0x212), make_hresult(0x82000004u));
    render_objects_set({});
    EXPECT_EQ(create_vertex_buffer(&buffer, 3, 0x212), make_hresult(0x82000003u));
}

TEST(RenderHelpersWithoutDevice, ReportNoDeviceAndNeverCrash) {
    render_objects_set({});
    EXPECT_EQ(set_blend(1, 2, 2), RENDER_E_NODEVICE);
    EXPECT_EQ(set_color_stage(0, 1, 2, 0), RENDER_E_NODEVICE);
    EXPECT_EQ(begin_scene(), RENDER_E_NODEVICE);
    EXPECT_EQ(draw_indexed_vb(D3DPT_TRIANGLELIST, nullptr, 0, 0, nullptr, 0, 0), RENDER_E_NODEVICE);
    EXPECT_EQ(set_render_target(nullptr), 0);
    Matrix out;
    out.m[0][1] = 5.0f;
    Matrix identity;
    matrix_identity(&identity);
    EXPECT_EQ(*get_world_matrix(&out), identity);
    EXPECT_FLOAT_EQ(viewport_aspect(), 1.0f);
}

}  // namespace
