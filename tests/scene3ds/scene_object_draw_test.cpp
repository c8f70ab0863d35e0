// The scene object's draw: draw order by material, the transparent list, culling, the projection,
// the lights, the material and reflection states, and the open points mended (missing cameras,
// material indices past the list, more meshes than the old tables held).
#include <algorithm>
#include <cmath>
#include <tuple>

#include "platform/debug_output.h"
#include "scene3ds/scene_object_fixture.h"

namespace {

using SceneDraw = SceneObjectTest;

TEST_F(SceneDraw, OpaqueMeshesAreDrawnByMaterialWithEachMaterialAppliedOncePerFrame) {
    b.material();
    b.material();
    b.quad(1);
    b.quad(0);
    b.quad(1);
    b.camera({0, 0, -5}, {0, 0, 0});
    load();
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh1", "mesh0", "mesh2"}));
    EXPECT_EQ(device.calls_starting("SetMaterial").size(), 2u);
    draw_frame();  // the next frame applies them again
    EXPECT_EQ(device.calls_starting("SetMaterial").size(), 2u);
}

TEST_F(SceneDraw, TransparentMeshesComeAfterOpaqueOnesWithDepthWritesOffAndBlending) {
    b.material(0.5f);
    b.material();
    b.material(0.0f, MATERIAL_MAP_OPACITY);  // transparent even when fully opaque
    b.quad(0, 0, 0, 1);                      // first in the file
    b.quad(1);
    b.quad(2);
    b.camera({0, 0, -5}, {0, 0, 0});
    DebugOutputCapture output;  // the opacity picture does not exist
    load();
    EXPECT_EQ(output.text(), "Texture map.tga load failed!\nFailed to set alpha for map.tga!\n");
    EXPECT_EQ(object.transparent_meshes, (std::vector<std::size_t>{0, 2}));
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh1", "mesh0", "mesh2"}));
    const long opaque_draw = find_call("DrawIndexedPrimitiveVB 4 mesh1 0 4 6 0");
    const long z_off = find_call("SetRenderState 14 0");
    const long blend = find_call("SetRenderState 27 1", z_off);
    ASSERT_GT(z_off, opaque_draw);  // the opaque mesh wrote depth
    ASSERT_GE(blend, 0);
    EXPECT_LT(blend, find_call("DrawIndexedPrimitiveVB 4 mesh0 0 4 6 0"));
    EXPECT_EQ(device.calls[blend + 1], "SetRenderState 19 5");
    EXPECT_EQ(device.calls[blend + 2], "SetRenderState 20 6");
}

TEST_F(SceneDraw, CullingTestsEveryMeshsTransformedBoundsAndSkipsThoseWhollyOutside) {
    b.material();
    for (int i = 0; i < 300; ++i) b.quad(0, static_cast<float>(i % 10), static_cast<float>(i / 10));
    b.camera({0, 0, -5}, {0, 0, 0});
    load();
    Vector3 centre;
    float radius = 0.0f;
    device.sphere_results = [&](const D3DVECTOR* centres, const float* radii, DWORD count, DWORD* results) {
        ASSERT_EQ(count, 300u);  // more meshes than the old 256-entry tables
        centre = centres[13];
        radius = radii[13];
        results[1] = D3DSTATUS_CLIPINTERSECTIONBACK | D3DSTATUS_CLIPUNIONBACK;  // wholly outside
        results[2] = D3DSTATUS_CLIPUNIONLEFT;                                    // straddling
        results[3] = D3DSTATUS_CLIPINTERSECTIONLEFT;
        results[299] = D3DSTATUS_CLIPINTERSECTIONTOP;
    };
    draw_frame();
    const Strings meshes = drawn();
    EXPECT_EQ(meshes.size(), 297u);
    for (const char* culled : {"mesh1", "mesh3", "mesh299"}) EXPECT_EQ(std::ranges::count(meshes, culled), 0);
    EXPECT_EQ(std::ranges::count(meshes, "mesh2"), 1);
    EXPECT_EQ(centre, Vector3(3.0f, 1.0f, 0.0f));
    EXPECT_NEAR(radius, std::sqrt(0.5f), 1e-6f);  // to a corner of the quad
}

TEST_F(SceneDraw, TheProjectionFollowsTheCameraFieldOfViewAndTheAspect) {
    b.camera({0, 0, -5}, {0, 0, 0}, 90.0f);
    load();
    draw_frame();
    const Matrix& p = device.transforms[D3DTRANSFORMSTATE_PROJECTION];
    EXPECT_NEAR(p.m[1][1], 1.0f, 2e-7f);
    EXPECT_FLOAT_EQ(p.m[0][0], 0.75f * p.m[1][1]);
    EXPECT_NEAR(p.m[2][2], 100.0f / (100.0f - 0.001f), 1e-6f);
    EXPECT_NEAR(p.m[3][2], -0.001f * 100.0f / (100.0f - 0.001f), 1e-9f);
    EXPECT_FLOAT_EQ(device.transforms[D3DTRANSFORMSTATE_VIEW].m[3][2], 5.0f);  // the eye 5 before the origin
}

TEST_F(SceneDraw, WithoutMaterialsNothingOfTheMaterialsIsApplied) {
    one_quad(MATERIAL_MAP_REFLECTION);
    DebugOutputCapture quiet;
    load();
    draw_frame(0, false);
    for (const char* call : {"SetMaterial", "SetTexture", "SetRenderState"}) {
        EXPECT_TRUE(device.calls_starting(call).empty()) << call;
    }
    EXPECT_EQ(drawn(), (Strings{"mesh0"}));  // no reflection pass either
}

TEST_F(SceneDraw, EveryFrameStartsFromTheDefaultStatesAndASceneWithoutLightsKeepsTheDefaultLight) {
    one_quad();
    load();
    object.set_default_states();
    // Ambient 0, lighting, specular, counter-clockwise culling, no blending, w-buffer, normalised
    // normals, clipping (what the pictures cannot show); the default material.
    EXPECT_EQ(device.calls_starting("SetRenderState"),
              (Strings{"SetRenderState 139 0", "SetRenderState 137 1", "SetRenderState 29 1", "SetRenderState 22 3",
                       "SetRenderState 27 0", "SetRenderState 7 2", "SetRenderState 143 1", "SetRenderState 136 1"}));
    EXPECT_EQ(device.materials.back().power, 50.0f);
    EXPECT_EQ(device.calls_starting("LightEnable"),
              (Strings{"LightEnable 0 0", "LightEnable 1 0", "LightEnable 2 0", "LightEnable 3 0", "LightEnable 4 0",
                       "LightEnable 5 0", "LightEnable 6 0", "LightEnable 7 0", "LightEnable 0 1"}));
    EXPECT_EQ(std::tuple(device.lights[0].dltType, device.lights[0].dvPosition, device.lights[0].dcvAmbient.r),
              std::tuple(D3DLIGHT_POINT, Vector3(100, 100, -500), 1.0f));
    device.clear_calls();
    object.draw(0, true, 0.75f);
    for (const char* call : {"SetLight", "LightEnable"}) EXPECT_TRUE(device.calls_starting(call).empty()) << call;
}

TEST_F(SceneDraw, TheFirstSevenOfNineLightsAreSetAndSpotsAimFromTheirSpotNode) {
    b.spot({0, 5, 0}, {1, 0, 2}, 40.0f, 60.0f);
    for (int i = 1; i < 9; ++i) b.omni({static_cast<float>(i), 1, 0}, 0.1f * static_cast<float>(i), 0.5f, 1.0f);
    b.camera({0, 0, -5}, {0, 0, 0});
    load();
    draw_frame();
    EXPECT_EQ(device.calls_starting("SetLight"), (Strings{"SetLight 0", "SetLight 1", "SetLight 2", "SetLight 3",
                                                          "SetLight 4", "SetLight 5", "SetLight 6"}));
    EXPECT_EQ(device.calls_starting("LightEnable").size(), 7u);
    const D3DLIGHT7& spot = device.lights[0];
    EXPECT_EQ(spot.dltType, D3DLIGHT_SPOT);
    EXPECT_NEAR(spot.dvTheta, 0.6981318f, 2e-7f);
    EXPECT_NEAR(spot.dvPhi, 1.0471977f, 2e-7f);
    EXPECT_EQ(std::tuple(spot.dvPosition, spot.dvDirection), std::tuple(Vector3(0, 5, 0), Vector3(1, -5, 2)));
    const D3DLIGHT7& omni = device.lights[6];
    EXPECT_EQ(std::tuple(omni.dltType, omni.dvPosition), std::tuple(D3DLIGHT_POINT, Vector3(6, 1, 0)));
    EXPECT_FLOAT_EQ(omni.dcvDiffuse.r, 0.6f);
}

TEST_F(SceneDraw, AMaterialSetsItsColoursTexturesAndFill) {
    one_quad(MATERIAL_MAP_TEXTURE);
    b.scene().materials[0]->transparency = 0.25f;
    b.scene().materials[0]->wire = 1;
    DebugOutputCapture quiet;
    load();
    draw_frame();
    const D3DMATERIAL7& m = device.materials.back();
    EXPECT_FLOAT_EQ(m.diffuse.r, 0.8f);
    EXPECT_FLOAT_EQ(m.diffuse.a, 0.75f);
    EXPECT_FLOAT_EQ(m.specular.r, 0.5f);  // specular × shininess strength
    EXPECT_FLOAT_EQ(m.power, 25.0f);
    const long fill = find_call("SetRenderState 8 2");
    ASSERT_GE(fill, 2);
    EXPECT_EQ(device.calls[fill - 2], "SetTexture 0 null");
    EXPECT_EQ(device.calls[fill - 1], "SetTexture 1 null");
    EXPECT_EQ(device.calls[fill + 1], "SetRenderState 14 1");
    // The texture map could not be loaded: selecting it leaves stage 0 untextured.
    EXPECT_EQ(device.calls_starting("SetTexture "),
              (Strings{"SetTexture 0 null", "SetTexture 1 null", "SetTexture 0 null"}));
}

TEST_F(SceneDraw, AMaterialIndexPastTheListUsesTheDefaultMaterial) {
    b.quad(5);  // the scene has no materials at all
    b.camera({0, 0, -5}, {0, 0, 0});
    load();
    draw_frame();
    ASSERT_EQ(device.materials.size(), 2u);  // the default states', then the default material
    EXPECT_EQ(std::tuple(device.materials[1].diffuse.r, device.materials[1].diffuse.g), std::tuple(1.0f, 0.0f));
    EXPECT_EQ(drawn(), (Strings{"mesh0"}));
}

TEST_F(SceneDraw, TheReflectionPassSphereMapsFromTheMeshNormalsUnlessTheLockFails) {
    MeshNode* mesh = one_quad(MATERIAL_MAP_REFLECTION);
    mesh->vertices[1].nz = 0.0f;
    mesh->vertices[1].nx = 1.0f;  // edge-on: n'z = 0 still counts as facing the viewer
    mesh->vertices[2].nz = 1.0f;  // facing away: keeps its previous value
    DebugOutputCapture quiet;
    load();
    RecordingVertexBuffer* buffer = direct3d.buffers[0].get();
    auto* stored = reinterpret_cast<SceneVertex*>(buffer->bytes.data());
    for (int i = 0; i < 4; ++i) {
        stored[i].nx = stored[i].ny = stored[i].nz = 7.0f;  // what a write-only lock may hand back
        stored[i].tu2 = stored[i].tv2 = -3.0f;
    }
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh0", "mesh0"}));
    EXPECT_EQ(buffer->lock_flags, (std::vector<DWORD>{0x21, 0x21}));
    // World identity, view from (0,0,-5) at the origin: view-space normals equal the mesh's.
    EXPECT_EQ(std::tuple(stored[0].tu2, stored[0].tv2, stored[1].tu2, stored[1].tv2, stored[2].tu2),
              std::tuple(0.5f, 0.5f, 1.0f, 0.5f, -3.0f));
    const long second_pass = find_call("SetRenderState 27 1", find_call("DrawIndexedPrimitiveVB 4 mesh0 0 4 6 0"));
    ASSERT_GE(second_pass, 0);
    EXPECT_EQ(device.calls[second_pass + 1], "SetRenderState 19 2");
    EXPECT_EQ(device.calls[second_pass + 2], "SetRenderState 20 2");
    EXPECT_GE(find_call("SetTextureStageState 0 11 1", second_pass), 0);

    buffer->refuse_locks = true;
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh0"}));
}

TEST_F(SceneDraw, ACameraThatIsMissingOrHasNoTargetDrawsNothingAndSaysSoOnce) {
    const struct {
        int camera;
        bool target;
        const char* said;
    } cases[] = {{3, true, "Scene camera 3 does not exist; nothing is drawn\n"},
                 {-1, true, "Scene camera -1 does not exist; nothing is drawn\n"},
                 {0, false, "Scene camera 0 has no target; nothing is drawn\n"}};
    for (const auto& c : cases) {
        b = SceneBuilder();
        one_quad(0, c.target);
        load();
        DebugOutputCapture output;
        draw_frame(c.camera);
        draw_frame(c.camera);
        EXPECT_TRUE(device.calls.empty()) << c.said;
        EXPECT_EQ(output.text(), c.said);
    }
}

}  // namespace
