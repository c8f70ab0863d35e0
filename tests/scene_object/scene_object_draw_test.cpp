// The scene object's draw on a recording device: draw order by material, the transparent list, the
// lights, culling answers, the projection, the material and reflection states, and the open points
// mended (missing cameras, material indices past the list, more meshes than the old tables held).
#include <cmath>

#include "platform/debug_output.h"
#include "scene_object/scene_object_fixture.h"

namespace {

using Strings = std::vector<std::string>;
using SceneDraw = SceneObjectTest;
using SceneLights = SceneObjectTest;
using SceneMaterials = SceneObjectTest;
using SceneCameras = SceneObjectTest;

TEST_F(SceneDraw, OpaqueMeshesAreDrawnByMaterialWithEachMaterialAppliedOnce) {
    SceneBuilder b;
    b.material();
    b.material();
    b.quad(1);
    b.quad(0);
    b.quad(1);
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    EXPECT_EQ(object.opaque_meshes, (std::vector<std::size_t>{1, 0, 2}));
    EXPECT_TRUE(object.transparent_meshes.empty());
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh1", "mesh0", "mesh2"}));
    EXPECT_EQ(device.calls_starting("SetMaterial").size(), 2u);
    device.clear_calls();
    object.draw(0, true, 0.75f);  // the next frame applies them again, once each
    EXPECT_EQ(device.calls_starting("SetMaterial").size(), 2u);
}

TEST_F(SceneDraw, TransparentMeshesComeAfterOpaqueOnesWithDepthWritesOffAndBlending) {
    SceneBuilder b;
    b.material(0.5f);
    b.material();
    b.quad(0, 0, 0, 1);  // transparent, first in the file
    b.quad(1);
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    EXPECT_EQ(object.transparent_meshes, (std::vector<std::size_t>{0}));
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh1", "mesh0"}));
    const long opaque_draw = find_call("DrawIndexedPrimitiveVB 4 mesh1 0 4 6 0");
    const long z_off = find_call("SetRenderState 14 0", opaque_draw);
    const long blend = find_call("SetRenderState 27 1", z_off);
    const long transparent_draw = find_call("DrawIndexedPrimitiveVB 4 mesh0 0 4 6 0");
    ASSERT_GE(z_off, 0);
    ASSERT_GE(blend, 0);
    EXPECT_LT(blend, transparent_draw);
    EXPECT_EQ(device.calls[blend + 1], "SetRenderState 19 5");
    EXPECT_EQ(device.calls[blend + 2], "SetRenderState 20 6");
    EXPECT_FLOAT_EQ(device.materials.back().diffuse.a, 0.5f);
    EXPECT_EQ(find_call("SetRenderState 14 0"), z_off);  // the opaque mesh wrote depth
}

TEST_F(SceneDraw, AnOpacityMapMakesAMeshTransparentEvenWhenFullyOpaque) {
    SceneBuilder b;
    b.material(0.0f, MATERIAL_MAP_OPACITY);
    b.material();
    b.quad(0);
    b.quad(1);
    b.camera({0, 0, -5}, {0, 0, 0});
    DebugOutputCapture quiet;  // the picture does not exist
    load(b);
    EXPECT_EQ(object.transparent_meshes, (std::vector<std::size_t>{0}));
    EXPECT_EQ(object.opaque_meshes, (std::vector<std::size_t>{1}));
    EXPECT_EQ(quiet.text(), "Texture map.tga load failed!\nFailed to set alpha for map.tga!\n");
}

TEST_F(SceneDraw, MeshesCulledBySphereVisibilityAreSkipped) {
    SceneBuilder b;
    b.material();
    for (int i = 0; i < 4; ++i) b.quad(0, static_cast<float>(i));
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    device.sphere_results = [](const D3DVECTOR*, const float*, DWORD count, DWORD* results) {
        ASSERT_EQ(count, 4u);
        results[1] = D3DSTATUS_CLIPINTERSECTIONBACK | D3DSTATUS_CLIPUNIONBACK;  // wholly outside
        results[2] = D3DSTATUS_CLIPUNIONLEFT;                                    // straddling
        results[3] = D3DSTATUS_CLIPINTERSECTIONLEFT;
    };
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh0", "mesh2"}));
    // The culling spheres are the transformed bounds: centre at the quad's place, radius to a corner.
    EXPECT_EQ(device.calls_starting("ComputeSphereVisibility"), (Strings{"ComputeSphereVisibility 4 0"}));
}

TEST_F(SceneDraw, SpheresAreTheTransformedBoundsOfEachMesh) {
    SceneBuilder b;
    b.material();
    b.quad(0, 3.0f, 2.0f, 1.0f);
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    Vector3 centre;
    float radius = 0.0f;
    device.sphere_results = [&](const D3DVECTOR* centres, const float* radii, DWORD, DWORD*) {
        centre = centres[0];
        radius = radii[0];
    };
    draw_frame();
    EXPECT_EQ(centre, Vector3(3.0f, 2.0f, 1.0f));
    EXPECT_NEAR(radius, std::sqrt(0.5f), 1e-6f);
}

TEST_F(SceneDraw, ScenesWithMoreMeshesThanTheOldTablesAreCulledAndDrawnWhole) {
    SceneBuilder b;
    b.material();
    for (int i = 0; i < 300; ++i) b.quad(0, static_cast<float>(i % 10), static_cast<float>(i / 10));
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    device.sphere_results = [](const D3DVECTOR*, const float*, DWORD count, DWORD* results) {
        results[count - 1] = D3DSTATUS_CLIPINTERSECTIONTOP;
    };
    draw_frame();
    EXPECT_EQ(drawn().size(), 299u);
    EXPECT_EQ(device.calls_starting("ComputeSphereVisibility"), (Strings{"ComputeSphereVisibility 300 0"}));
}

TEST_F(SceneDraw, MeshesWithoutGeometryGetNoBufferAndAreNeverDrawn) {
    SceneBuilder b;
    b.material();
    b.quad(0);
    b.scene().add_mesh();  // an empty triangle-mesh chunk, as some files have
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    EXPECT_EQ(direct3d.buffers.size(), 1u);
    EXPECT_EQ(object.vertex_buffer(1), nullptr);
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh0"}));
}

TEST_F(SceneDraw, TheProjectionFollowsTheCameraFieldOfViewAndAspect) {
    SceneBuilder b;
    b.camera({0, 0, -5}, {0, 0, 0}, 90.0f);
    load(b);
    draw_frame();
    const Matrix& p = device.transforms[D3DTRANSFORMSTATE_PROJECTION];
    EXPECT_NEAR(p.m[1][1], 0.99999984f, 2e-7f);
    EXPECT_FLOAT_EQ(p.m[0][0], 0.75f * p.m[1][1]);
    EXPECT_NEAR(p.m[2][2], 100.0f / (100.0f - 0.001f), 1e-6f);
    EXPECT_EQ(p.m[2][3], 1.0f);
    EXPECT_NEAR(p.m[3][2], -0.001f * 100.0f / (100.0f - 0.001f), 1e-9f);
    const Matrix& view = device.transforms[D3DTRANSFORMSTATE_VIEW];
    EXPECT_FLOAT_EQ(view.m[3][2], 5.0f);  // the eye at z = -5 looking at the origin
}

TEST_F(SceneDraw, WithoutMaterialsNothingOfTheMaterialsIsApplied) {
    SceneBuilder b;
    b.material(0.0f, MATERIAL_MAP_REFLECTION);
    b.quad(0);
    b.camera({0, 0, -5}, {0, 0, 0});
    DebugOutputCapture quiet;
    load(b);
    draw_frame(0, false);
    EXPECT_TRUE(device.calls_starting("SetMaterial").empty());
    EXPECT_TRUE(device.calls_starting("SetTexture ").empty());
    EXPECT_TRUE(device.calls_starting("SetRenderState").empty());
    EXPECT_EQ(drawn(), (Strings{"mesh0"}));  // no reflection pass either
}

TEST_F(SceneLights, ASceneWithoutLightsKeepsTheDefaultLight) {
    SceneBuilder b;
    b.material();
    b.quad(0);
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    object.set_default_states();
    const Strings light_calls = device.calls_starting("LightEnable");
    EXPECT_EQ(light_calls, (Strings{"LightEnable 0 0", "LightEnable 1 0", "LightEnable 2 0", "LightEnable 3 0",
                                    "LightEnable 4 0", "LightEnable 5 0", "LightEnable 6 0", "LightEnable 7 0",
                                    "LightEnable 0 1"}));
    const D3DLIGHT7& light = device.lights[0];
    EXPECT_EQ(light.dltType, D3DLIGHT_POINT);
    EXPECT_EQ(light.dvPosition, Vector3(100.0f, 100.0f, -500.0f));
    EXPECT_EQ(light.dvRange, D3DLIGHT_RANGE_MAX);
    EXPECT_EQ(light.dvAttenuation0, 1.0f);
    EXPECT_EQ(light.dcvAmbient.r, 1.0f);
    device.clear_calls();
    object.draw(0, true, 0.75f);
    EXPECT_TRUE(device.calls_starting("SetLight").empty());
    EXPECT_TRUE(device.calls_starting("LightEnable").empty());
}

TEST_F(SceneLights, OnlyTheFirstSevenOfNineLightsAreSet) {
    SceneBuilder b;
    for (int i = 0; i < 9; ++i) b.omni({static_cast<float>(i), 1, 0}, 0.1f * static_cast<float>(i), 0.5f, 1.0f);
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    draw_frame();
    EXPECT_EQ(device.calls_starting("SetLight"), (Strings{"SetLight 0 1", "SetLight 1 1", "SetLight 2 1", "SetLight 3 1",
                                                          "SetLight 4 1", "SetLight 5 1", "SetLight 6 1"}));
    EXPECT_EQ(device.calls_starting("LightEnable").size(), 7u);
    const D3DLIGHT7& sixth = device.lights[6];
    EXPECT_EQ(sixth.dvPosition, Vector3(6.0f, 1.0f, 0.0f));
    EXPECT_FLOAT_EQ(sixth.dcvDiffuse.r, 0.6f);
    EXPECT_EQ(sixth.dcvDiffuse.a, 0.0f);
    EXPECT_EQ(sixth.dcvSpecular.g, 1.0f);
}

TEST_F(SceneLights, SpotLightsAimFromTheirSpotNodeAtTheLightNode) {
    SceneBuilder b;
    b.spot({0, 5, 0}, {1, 0, 2}, 40.0f, 60.0f);
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    draw_frame();
    const D3DLIGHT7& light = device.lights[0];
    EXPECT_EQ(light.dltType, D3DLIGHT_SPOT);
    EXPECT_NEAR(light.dvTheta, 0.6981318f, 2e-7f);
    EXPECT_NEAR(light.dvPhi, 1.0471977f, 2e-7f);
    EXPECT_EQ(light.dvFalloff, 1.0f);
    EXPECT_EQ(light.dvPosition, Vector3(0.0f, 5.0f, 0.0f));
    EXPECT_EQ(light.dvDirection, Vector3(1.0f, -5.0f, 2.0f));
}

TEST_F(SceneMaterials, DefaultStatesAreSetInTheirOrder) {
    object.set_default_states();
    EXPECT_EQ(device.calls_starting("SetRenderState"),
              (Strings{"SetRenderState 139 0", "SetRenderState 137 1", "SetRenderState 29 1", "SetRenderState 22 3",
                       "SetRenderState 27 0", "SetRenderState 7 2", "SetRenderState 143 1", "SetRenderState 136 1"}));
    EXPECT_EQ(device.calls_starting("SetTextureStageState"),
              (Strings{"SetTextureStageState 0 1 4", "SetTextureStageState 0 2 2", "SetTextureStageState 0 3 0",
                       "SetTextureStageState 0 1 2", "SetTextureStageState 0 2 2", "SetTextureStageState 0 3 0",
                       "SetTextureStageState 0 16 2", "SetTextureStageState 0 17 2", "SetTextureStageState 0 18 2"}));
    ASSERT_EQ(device.materials.size(), 1u);
    EXPECT_EQ(device.materials[0].diffuse.r, 1.0f);
    EXPECT_EQ(device.materials[0].diffuse.a, 0.5f);
    EXPECT_EQ(device.materials[0].power, 50.0f);
}

TEST_F(SceneMaterials, AMaterialSetsItsColoursTexturesAndFill) {
    SceneBuilder b;
    b.material(0.25f, MATERIAL_MAP_TEXTURE);
    b.scene().materials[0]->wire = 1;
    b.quad(0);
    b.camera({0, 0, -5}, {0, 0, 0});
    DebugOutputCapture quiet;
    load(b);
    draw_frame();
    const D3DMATERIAL7& m = device.materials.back();
    EXPECT_FLOAT_EQ(m.diffuse.r, 0.8f);
    EXPECT_FLOAT_EQ(m.diffuse.a, 0.75f);
    EXPECT_FLOAT_EQ(m.specular.r, 0.5f);  // specular × shininess strength
    EXPECT_FLOAT_EQ(m.power, 25.0f);
    EXPECT_EQ(m.emissive.r, 0.0f);
    const long fill = find_call("SetRenderState 8 2");
    ASSERT_GE(fill, 0);
    EXPECT_EQ(device.calls[fill - 2], "SetTexture 0 null");
    EXPECT_EQ(device.calls[fill - 1], "SetTexture 1 null");
    EXPECT_EQ(device.calls[fill + 1], "SetRenderState 14 1");
    // The texture map could not be loaded: selecting it leaves stage 0 untextured.
    EXPECT_EQ(device.calls_starting("SetTexture "), (Strings{"SetTexture 0 null", "SetTexture 1 null", "SetTexture 0 null"}));
}

TEST_F(SceneMaterials, AMaterialIndexPastTheListUsesTheDefaultMaterial) {
    SceneBuilder b;
    b.quad(5);  // the scene has no materials at all
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    EXPECT_EQ(object.opaque_meshes, (std::vector<std::size_t>{0}));
    draw_frame();
    ASSERT_EQ(device.materials.size(), 2u);  // the default states' and the default material
    EXPECT_EQ(device.materials[1].diffuse.r, 1.0f);
    EXPECT_EQ(device.materials[1].diffuse.g, 0.0f);
    EXPECT_EQ(device.materials[1].diffuse.a, 1.0f);
    EXPECT_EQ(drawn(), (Strings{"mesh0"}));
}

TEST_F(SceneMaterials, ReflectionPassSphereMapsFromTheMeshNormals) {
    SceneBuilder b;
    b.material(0.0f, MATERIAL_MAP_REFLECTION);
    MeshNode* mesh = b.quad(0);
    mesh->vertices[1].nz = 0.0f;
    mesh->vertices[1].nx = 1.0f;   // edge-on: n'z = 0 still counts as facing the viewer
    mesh->vertices[2].nz = 1.0f;   // facing away: keeps its previous value
    b.camera({0, 0, -5}, {0, 0, 0});
    DebugOutputCapture quiet;
    load(b);
    RecordingVertexBuffer* buffer = direct3d.buffers[0];
    auto* stored = reinterpret_cast<SceneVertex*>(buffer->bytes.data());
    for (int i = 0; i < 4; ++i) {
        stored[i].nx = stored[i].ny = stored[i].nz = 7.0f;  // what a write-only lock may hand back
        stored[i].tu2 = stored[i].tv2 = -3.0f;
    }
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh0", "mesh0"}));
    EXPECT_EQ(buffer->lock_flags, (std::vector<DWORD>{0x21, 0x21}));
    // World identity, view from (0,0,-5) at the origin: view-space normals equal the mesh's.
    EXPECT_FLOAT_EQ(stored[0].tu2, 0.5f);
    EXPECT_FLOAT_EQ(stored[0].tv2, 0.5f);
    EXPECT_FLOAT_EQ(stored[1].tu2, 1.0f);
    EXPECT_FLOAT_EQ(stored[1].tv2, 0.5f);
    EXPECT_EQ(stored[2].tu2, -3.0f);
    const long second_pass = find_call("SetRenderState 27 1", find_call("DrawIndexedPrimitiveVB 4 mesh0 0 4 6 0"));
    ASSERT_GE(second_pass, 0);
    EXPECT_EQ(device.calls[second_pass + 1], "SetRenderState 19 2");
    EXPECT_EQ(device.calls[second_pass + 2], "SetRenderState 20 2");
    EXPECT_GE(find_call("SetTextureStageState 0 11 1", second_pass), 0);
}

TEST_F(SceneMaterials, AFailedReflectionLockSkipsOnlyThePass) {
    SceneBuilder b;
    b.material(0.0f, MATERIAL_MAP_REFLECTION);
    b.quad(0);
    b.camera({0, 0, -5}, {0, 0, 0});
    DebugOutputCapture quiet;
    load(b);
    direct3d.buffers[0]->refuse_locks = true;
    draw_frame();
    EXPECT_EQ(drawn(), (Strings{"mesh0"}));
}

TEST_F(SceneCameras, AMissingCameraDrawsNothingAndSaysSoOnce) {
    SceneBuilder b;
    b.material();
    b.quad(0);
    b.camera({0, 0, -5}, {0, 0, 0});
    load(b);
    DebugOutputCapture output;
    draw_frame(3);
    draw_frame(3);
    EXPECT_TRUE(device.calls.empty());
    EXPECT_EQ(output.text(), "Scene camera 3 does not exist; nothing is drawn\n");
    draw_frame(-1);
    EXPECT_TRUE(device.calls.empty());
}

TEST_F(SceneCameras, ACameraWithoutTargetDrawsNothingAndSaysSoOnce) {
    SceneBuilder b;
    b.material();
    b.quad(0);
    b.camera({0, 0, -5}, {0, 0, 0}, 90.0f, false);
    load(b);
    DebugOutputCapture output;
    draw_frame(0);
    draw_frame(0);
    EXPECT_TRUE(device.calls.empty());
    EXPECT_EQ(output.text(), "Scene camera 0 has no target; nothing is drawn\n");
}

}  // namespace
