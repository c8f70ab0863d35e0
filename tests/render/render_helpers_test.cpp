// The render helpers against a recording device: the exact calls each helper makes on the device
// current at the moment of the call (and "no device" without one), the transform round trip, the
// viewport aspect, and where vertex buffers are placed.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "support/recording_device.h"
#include "render/render.h"

namespace {

using Calls = std::vector<std::string>;

class RenderHelpers : public ::testing::Test {
protected:
    void SetUp() override { render_objects_set({nullptr, &direct3d, &device, nullptr}); }
    void TearDown() override { render_objects_set({}); }

    RecordingDirect3D direct3d;
    RecordingDevice device;
};

struct HelperCase {
    std::function<HRESULT()> call;
    Calls expected;
};

TEST_F(RenderHelpers, EachHelperMakesItsCallsInOrderOnTheCurrentDeviceOrReportsNoDevice) {
    const HelperCase cases[] = {
        {[] { return set_blend(1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA); },
         {"SetRenderState 27 1", "SetRenderState 19 5", "SetRenderState 20 6"}},
        {[] { return set_color_stage(1, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT); },
         {"SetTextureStageState 1 1 4", "SetTextureStageState 1 2 2", "SetTextureStageState 1 3 1"}},
        {[] { return set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE); },
         {"SetTextureStageState 0 4 3", "SetTextureStageState 0 5 2", "SetTextureStageState 0 6 0"}},
        {[] { return set_render_state(D3DRENDERSTATE_ZENABLE, D3DZB_USEW); }, {"SetRenderState 7 2"}},
        {[] { return set_stage_state(0, D3DTSS_TEXCOORDINDEX, 1); }, {"SetTextureStageState 0 11 1"}},
        {[] { return set_texture(1, nullptr); }, {"SetTexture 1 null"}},
        {[] { return set_material(D3DMATERIAL7{}); }, {"SetMaterial"}},
        {[] { return set_light(2, D3DLIGHT7{}); }, {"SetLight 2"}},
        {[] { return enable_light(3, true); }, {"LightEnable 3 1"}},
        {[] { return begin_scene(); }, {"BeginScene"}},
        {[] { return end_scene(); }, {"EndScene"}},
        {[] { return clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00102030, 1.0f, 0); },
         {"Clear 0 3 1056816 1.000000 0"}},
        {[] { return draw_primitive(D3DPT_TRIANGLESTRIP, 0x1C4, nullptr, 4, 0); }, {"DrawPrimitive 5 452 4 0"}},
        {[] { return draw_indexed(D3DPT_TRIANGLELIST, 0x112, nullptr, 8, nullptr, 36, 0); },
         {"DrawIndexedPrimitive 4 274 8 36 0"}},
        {[] { return draw_indexed_vb(D3DPT_TRIANGLELIST, nullptr, 2, 8, nullptr, 36, 0); },
         {"DrawIndexedPrimitiveVB 4 null 2 8 36 0"}},
        {[] { return set_projection_matrix(Matrix()); }, {"SetTransform 3"}},
        {[] { return sphere_visibility(nullptr, nullptr, 0, 0, nullptr); }, {"ComputeSphereVisibility 0 0"}},
    };
    for (const HelperCase& c : cases) {
        RecordingDevice fresh;  // a device replaced since the last call is followed
        current_device = &fresh;
        EXPECT_EQ(c.call(), D3D_OK);
        EXPECT_EQ(fresh.calls, c.expected);
        current_device = nullptr;
        EXPECT_EQ(c.call(), RENDER_E_NODEVICE) << c.expected[0];
    }
    EXPECT_TRUE(device.calls.empty());
}

TEST_F(RenderHelpers, TransformsRoundTripAndAreIdentityWithoutDevice) {
    Matrix world, view, identity, out;
    set_world_matrix(*matrix_translation(&world, 1.0f, 2.0f, 3.0f));
    set_view_matrix(*matrix_scaling(&view, 2.0f, 2.0f, 2.0f));
    EXPECT_EQ(*get_world_matrix(&out), world);
    EXPECT_EQ(*get_view_matrix(&out), view);
    EXPECT_EQ(device.calls_starting("SetTransform"), (Calls{"SetTransform 1", "SetTransform 2"}));
    current_device = nullptr;
    EXPECT_EQ(*get_world_matrix(&out), *matrix_identity(&identity));
}

TEST_F(RenderHelpers, ViewportAspectIsHeightOverWidthAndOneWhenThatCannotBe) {
    const std::tuple<DWORD, DWORD, float> viewports[] = {{640, 480, 0.75f}, {256, 256, 1.0f}, {0, 256, 1.0f}};
    for (auto [width, height, aspect] : viewports) {
        device.viewport.dwWidth = width;
        device.viewport.dwHeight = height;
        EXPECT_FLOAT_EQ(viewport_aspect(), aspect) << width << "x" << height;
    }
    current_device = nullptr;
    EXPECT_FLOAT_EQ(viewport_aspect(), 1.0f);
}

TEST_F(RenderHelpers, VertexBuffersGoToSystemMemoryOnlyWithoutHardwareTransformAndLighting) {
    IDirect3DVertexBuffer7* buffer = nullptr;
    for (DWORD device_caps : {DWORD{0}, D3DDEVCAPS_HWTRANSFORMANDLIGHT}) {
        D3DDEVICEDESC7 caps{};
        caps.dwDevCaps = device_caps;
        device.caps = caps;
        ASSERT_EQ(create_vertex_buffer(&buffer, 10, 0x212), 0);
        const D3DVERTEXBUFFERDESC& desc = direct3d.buffers.back()->desc;
        EXPECT_EQ(desc.dwCaps, device_caps == 0 ? D3DVBCAPS_SYSTEMMEMORY : 0u);
        EXPECT_EQ(std::tuple(desc.dwSize, desc.dwFVF, desc.dwNumVertices), std::tuple(DWORD{sizeof desc}, 0x212u, 10u));
    }
    EXPECT_EQ(create_vertex_buffer(&buffer, 0, 0x212), DDERR_INVALIDPARAMS);  // the Direct3D object's refusal
    current_device = nullptr;
    EXPECT_EQ(create_vertex_buffer(&buffer, 3, 0x212), make_hresult(0x82000004u));
    render_objects_set({});
    EXPECT_EQ(create_vertex_buffer(&buffer, 3, 0x212), make_hresult(0x82000003u));
}

}  // namespace
