// The golden scenes: each draws one frame through the device interface only, as the demo would.
#include "platform/d3d/golden_scenes.h"

#include <cmath>

#include "platform/d3d/scene_meshes.h"

namespace {

D3DCOLORVALUE rgba(float r, float g, float b, float a = 1.0f)
{
    return D3DCOLORVALUE{{r}, {g}, {b}, {a}};
}

D3DMATERIAL7 material(D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient, D3DCOLORVALUE specular = {}, float power = 0.0f)
{
    return D3DMATERIAL7{{diffuse}, {ambient}, {specular}, {}, {power}};
}

D3DLIGHT7 light(D3DLIGHTTYPE type, D3DCOLORVALUE diffuse, const Vector3& position, const Vector3& direction, float range,
                float attenuation0)
{
    D3DLIGHT7 l{};
    l.dltType = type;
    l.dcvDiffuse = diffuse;
    l.dvPosition = position;
    l.dvDirection = direction;
    l.dvRange = range;
    l.dvAttenuation0 = attenuation0;
    return l;
}

void camera(IDirect3DDevice7* d, float aspect, const Vector3& eye, float zn, float zf)
{
    D3DMATRIX view, proj;
    const Vector3 at(0, 0, 0), up(0, 1, 0);
    matrix_look_at(&view, &eye, &at, &up);
    matrix_perspective(&proj, 0.9f, aspect, zn, zf);
    d->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
}

bool draw_mesh(IDirect3DDevice7* d, const Mesh& m)
{
    return SUCCEEDED(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, const_cast<MeshVertex*>(m.vertices.data()),
                                             static_cast<DWORD>(m.vertices.size()), const_cast<WORD*>(m.indices.data()),
                                             static_cast<DWORD>(m.indices.size()), 0));
}

bool golden_lit_box(DeviceHarness& h)
{
    IDirect3DDevice7* d = h.device();
    ComRef<IDirectDrawSurface7> checker(h.create_texture(16, 16, texture_checker(16, 16, 4, 0xFFE0C040, 0xFF4060C0)));
    if (!checker) return false;
    bool ok = SUCCEEDED(d->BeginScene());
    ok &= SUCCEEDED(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0));
    camera(d, 0.75f, Vector3(0.0f, 2.0f, -5.0f), 1.0f, 50.0f);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
    d->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_NORMALIZENORMALS, TRUE);
    d->SetRenderState(D3DRENDERSTATE_AMBIENT, 0x00202020);
    D3DLIGHT7 point = light(D3DLIGHT_POINT, rgba(1.0f, 0.9f, 0.8f, 0), Vector3(-3.0f, 3.0f, -3.0f), Vector3(0, 0, 0), 20.0f, 0.5f);
    point.dcvSpecular = rgba(1, 1, 1, 0);
    point.dvAttenuation1 = 0.05f;
    D3DLIGHT7 spot = light(D3DLIGHT_SPOT, rgba(0.2f, 0.4f, 1.0f, 0), Vector3(2.5f, 3.0f, -1.0f), Vector3(-2.5f, -3.5f, 1.0f),
                           D3DLIGHT_RANGE_MAX, 1.0f);
    spot.dvTheta = 0.5f;
    spot.dvPhi = 1.2f;
    spot.dvFalloff = 1.0f;
    ok &= SUCCEEDED(d->SetLight(0, &point)) && SUCCEEDED(d->LightEnable(0, TRUE));
    ok &= SUCCEEDED(d->SetLight(1, &spot)) && SUCCEEDED(d->LightEnable(1, TRUE));
    // Floor: an untextured large box seen from above.
    D3DMATERIAL7 floor = material(rgba(0.6f, 0.6f, 0.6f), rgba(1, 1, 1));
    d->SetMaterial(&floor);
    d->SetTexture(0, nullptr);
    D3DMATRIX world;
    matrix_translation(&world, 0.0f, -11.0f, 0.0f);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    ok &= draw_mesh(d, mesh_box(10.0f));
    // The textured, specular box.
    D3DMATERIAL7 shiny = material(rgba(1, 1, 1), rgba(1, 1, 1), rgba(0.8f, 0.8f, 0.8f), 20.0f);
    d->SetMaterial(&shiny);
    d->SetTexture(0, checker.get());
    set_color_stage(d, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(d, 0, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    matrix_rotation_yaw_pitch_roll(&world, 0.6f, 0.3f, 0.0f);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    ok &= draw_mesh(d, mesh_box(1.0f));
    // A fading overlay over the right third, as the demo's fades draw it.
    set_diffuse_only(d);
    set_blend(d, true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    D3DTLVERTEX quad[4];
    screen_quad(quad, kGoldenWidth * 2.0f / 3.0f, 0, static_cast<float>(kGoldenWidth), static_cast<float>(kGoldenHeight), 0.5f,
                0x80000000);
    ok &= SUCCEEDED(draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4));
    ok &= SUCCEEDED(d->EndScene());
    d->SetTexture(0, nullptr);
    return ok;
}

bool golden_echo_shells(DeviceHarness& h)
{
    IDirect3DDevice7* d = h.device();
    ComRef<IDirectDrawSurface7> metal(h.create_texture(32, 32, texture_checker(32, 32, 8, 0xFFFFD080, 0xFF6080FF)));
    if (!metal) return false;
    const Mesh sphere = mesh_sphere(10, 14, 1.0f);
    std::vector<D3DLVERTEX> shell(sphere.vertices.size());
    bool ok = SUCCEEDED(d->BeginScene());
    ok &= SUCCEEDED(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0));
    camera(d, 0.75f, Vector3(0.0f, 0.0f, -4.0f), 0.5f, 20.0f);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    set_blend(d, true, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
    set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(d, 0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    d->SetTexture(0, metal.get());
    float alpha_scale = 0.85f;
    for (int pass = 0; pass < 10; ++pass) {
        const float scale = 1.0f + 0.05f * static_cast<float>(pass);
        for (std::size_t i = 0; i < shell.size(); ++i) {
            const MeshVertex& v = sphere.vertices[i];
            const float plasma = 0.5f + 0.5f * std::sin(v.x * 3.0f + v.y * 2.0f) * std::cos(v.z * 2.5f);
            const DWORD a = static_cast<DWORD>(plasma * 120.0f * alpha_scale);
            shell[i] = D3DLVERTEX{v.x * scale, v.y * scale, v.z * scale, 0, (a << 24) | 0x204080, 0, v.u, v.v};
        }
        alpha_scale *= 0.85f;
        ok &= SUCCEEDED(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, shell.data(),
                                                static_cast<DWORD>(shell.size()), const_cast<WORD*>(sphere.indices.data()),
                                                static_cast<DWORD>(sphere.indices.size()), 0));
    }
    ok &= SUCCEEDED(d->EndScene());
    d->SetTexture(0, nullptr);
    return ok;
}

bool golden_render_to_texture(DeviceHarness& h)
{
    IDirect3DDevice7* d = h.device();
    const DDPIXELFORMAT x8 = format_x8r8g8b8();
    ComRef<IDirectDrawSurface7> blur(h.create_surface(DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE, 64, 32, &x8));
    if (!blur) return false;
    bool ok = SUCCEEDED(d->BeginScene());
    // The background: a wireframe box over a dark target.
    ok &= SUCCEEDED(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF101820, 1.0f, 0));
    camera(d, 0.75f, Vector3(1.0f, 1.5f, -4.0f), 1.0f, 30.0f);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetRenderState(D3DRENDERSTATE_FILLMODE, D3DFILL_WIREFRAME);
    set_color_stage(d, 0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    const Mesh box = mesh_box(1.2f);
    std::vector<D3DLVERTEX> lbox;
    for (const MeshVertex& v : box.vertices) lbox.push_back({v.x, v.y, v.z, 0, 0xFF40FF80, 0, v.u, v.v});
    ok &= SUCCEEDED(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, lbox.data(), static_cast<DWORD>(lbox.size()),
                                            const_cast<WORD*>(box.indices.data()), static_cast<DWORD>(box.indices.size()), 0));
    // Into the texture target: a lit sphere with depth.
    ok &= SUCCEEDED(switch_target(d, blur.get()));
    ok &= SUCCEEDED(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0));
    d->SetRenderState(D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, TRUE);
    camera(d, 0.5f, Vector3(0.0f, 0.0f, -3.0f), 1.0f, 30.0f);
    D3DLIGHT7 sun = light(D3DLIGHT_DIRECTIONAL, rgba(1, 0.8f, 0.6f, 0), Vector3(0, 0, 0), Vector3(1, -1, 1), 0.0f, 0.0f);
    d->SetLight(0, &sun);
    d->LightEnable(0, TRUE);
    D3DMATERIAL7 m = material(rgba(1, 1, 1), rgba(0.2f, 0.2f, 0.3f));
    d->SetMaterial(&m);
    d->SetRenderState(D3DRENDERSTATE_AMBIENT, 0x00FFFFFF);
    D3DMATRIX world;
    matrix_identity(&world);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    set_color_stage(d, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    ok &= draw_mesh(d, mesh_sphere(8, 12, 1.0f));
    ok &= SUCCEEDED(switch_target(d, h.target()));
    d->SetRenderState(D3DRENDERSTATE_FILLMODE, D3DFILL_WIREFRAME);
    // The motion-blur composite: everything changed inside a captured state block.
    DWORD block = 0;
    ok &= SUCCEEDED(d->CreateStateBlock(D3DSBT_ALL, &block));
    set_blend(d, true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_DIFFUSE);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetRenderState(D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    d->SetTexture(0, blur.get());
    D3DTLVERTEX quad[4];
    screen_quad(quad, 0, 0, static_cast<float>(kGoldenWidth), static_cast<float>(kGoldenHeight), 0.5f, 0x99FFFFFF);
    ok &= SUCCEEDED(draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4));
    ok &= SUCCEEDED(d->ApplyStateBlock(block));
    ok &= SUCCEEDED(d->DeleteStateBlock(block));
    // After the block: wireframe again, untextured.
    D3DTLVERTEX tri[3] = {tl_vertex(8, 60, 0.1f, 1, 0xFFFFFF00), tl_vertex(20, 40, 0.1f, 1, 0xFFFFFF00),
                          tl_vertex(32, 60, 0.1f, 1, 0xFFFFFF00)};
    ok &= SUCCEEDED(draw_tl(d, D3DPT_TRIANGLELIST, tri, 3));
    ok &= SUCCEEDED(d->EndScene());
    return ok;
}

}  // namespace

const std::vector<GoldenScene>& golden_scenes()
{
    static const std::vector<GoldenScene> scenes = {
        {"lit_box", &golden_lit_box}, {"echo_shells", &golden_echo_shells}, {"render_to_texture", &golden_render_to_texture}};
    return scenes;
}
