// Vertex lighting conformance on every device: a lit vertex's colour against the lighting equations,
// case by case with hand-computed values (point, spot and directional lights, attenuation, range,
// global and light ambient, specular with its power, vertices without normals, material colour sources,
// non-uniform scaling with NORMALIZENORMALS, lighting off). World, view and projection are identity and the probed
// vertex sits exactly on the centre of pixel (0, 0), so that pixel shows the vertex's lit colour.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "platform/d3d/device_fixture.h"

namespace {

class LightingConformance : public DeviceTest {};

D3DCOLORVALUE rgba(float r, float g, float b, float a = 0.0f) { return D3DCOLORVALUE{{r}, {g}, {b}, {a}}; }

// The probed vertex in camera space; its normal faces the camera.
const Vector3 kP(-1.0f, 1.0f, 0.5f);

D3DLIGHT7 point_light(const Vector3& position, float a0, float a1, float a2, float range = D3DLIGHT_RANGE_MAX)
{
    D3DLIGHT7 l{};
    l.dltType = D3DLIGHT_POINT;
    l.dcvDiffuse = rgba(1, 1, 1);
    l.dvPosition = position;
    l.dvRange = range;
    l.dvAttenuation0 = a0;
    l.dvAttenuation1 = a1;
    l.dvAttenuation2 = a2;
    return l;
}

D3DLIGHT7 spot_light(float axis_angle)
{
    D3DLIGHT7 l = point_light(kP + Vector3(0, 0, -2), 1, 0, 0);
    l.dltType = D3DLIGHT_SPOT;
    l.dvDirection = Vector3(std::sin(axis_angle), 0.0f, std::cos(axis_angle));
    l.dvTheta = 0.5f;
    l.dvPhi = 1.0f;
    l.dvFalloff = 1.0f;
    return l;
}

struct LightCase {
    const char* what = "";
    D3DLIGHT7 light{};
    D3DMATERIAL7 material{};
    DWORD ambient = 0;
    bool specular = false;
    DWORD fvf = D3DFVF_VERTEX;  // with a normal (0, 0, -1)
    D3DCOLOR vertex_diffuse = 0;
    bool color_vertex = true;
    float world_scale_z = 1.0f;
    bool normalize = false;
    bool lighting = true;
    D3DCOLOR expected = 0;  // diffuse + specular as drawn, alpha = diffuse alpha
};

D3DMATERIAL7 material(D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient = {}, D3DCOLORVALUE specular = {},
                      D3DCOLORVALUE emissive = {}, float power = 0.0f)
{
    return D3DMATERIAL7{{diffuse}, {ambient}, {specular}, {emissive}, {power}};
}

std::vector<LightCase> light_cases()
{
    std::vector<LightCase> c;
    auto add = [&c](const char* what, const D3DLIGHT7& light, const D3DMATERIAL7& m, D3DCOLOR expected) -> LightCase& {
        return c.emplace_back(LightCase{what, light, m, 0, false, D3DFVF_VERTEX, 0, true, 1.0f, false, true, expected});
    };
    const D3DLIGHT7 front = point_light(kP + Vector3(0, 0, -2), 1, 0, 0);
    const D3DMATERIAL7 warm = material(rgba(1.0f, 0.5f, 0.25f, 0.75f));
    const D3DMATERIAL7 white = material(rgba(1, 1, 1, 1));
    // Distance 2, attenuation 1/(0 + 1·2): half of (1, 0.5, 0.25), alpha from the material.
    add("point, linear attenuation", point_light(kP + Vector3(0, 0, -2), 0, 1, 0), warm, 0xBF804020);
    add("point, quadratic attenuation", point_light(kP + Vector3(0, 0, -2), 1, 0, 0.25f), warm, 0xBF804020);
    add("point beyond range", point_light(kP + Vector3(0, 0, -2), 1, 0, 0, 1.5f), warm, 0xBF000000);
    {
        D3DLIGHT7 l = point_light(kP + Vector3(0, 0, -2), 0, 1, 0);
        l.dcvDiffuse = rgba(0, 0, 0);
        l.dcvAmbient = rgba(0.5f, 0, 0);  // × attenuation 1/2 = 0.25, plus the global 0.251
        add("global and light ambient", l, material(rgba(0, 0, 0, 1), rgba(1, 1, 1)), 0xFF804040).ambient = 0x00404040;
        D3DLIGHT7 far = point_light(kP + Vector3(0, 0, -2), 1, 0, 0, 1.0f);
        far.dcvAmbient = rgba(1, 1, 1);
        add("ambient light beyond range adds nothing", far, material(rgba(0, 0, 0, 1), rgba(1, 1, 1)), 0xFF404040).ambient =
            0x00404040;
    }
    add("spot inside the inner cone", spot_light(0.1f), white, 0xFFFFFFFF);
    // Axis 0.375 rad away: (cos 0.375 − cos 0.5) / (cos 0.25 − cos 0.5) = 0.5795 → 148.
    add("spot between the cones", spot_light(0.375f), white, 0xFF949494);
    add("spot outside the outer cone", spot_light(0.6f), white, 0xFF000000);
    {
        D3DLIGHT7 l{};
        l.dltType = D3DLIGHT_DIRECTIONAL;
        l.dcvDiffuse = rgba(0.2f, 0.4f, 0.6f);
        l.dvDirection = Vector3(0, 0, 2);  // shining along +z, onto the normal (0, 0, -1)
        add("directional", l, white, 0xFF336699);
    }
    {
        // V = normalize(−P) = (2, −2, −1)/3, L = (0, 0, −1): N·H = 0.8165.
        D3DLIGHT7 l = front;
        l.dcvDiffuse = rgba(0, 0, 0);
        l.dcvSpecular = rgba(1, 1, 1);
        add("specular power 0", l, material(rgba(0, 0, 0, 1), rgba(0, 0, 0), rgba(0.5f, 0.25f, 1.0f)), 0xFF8040FF).specular = true;
        // 0.8165^4 = 0.4444: (0.222, 0.111, 0.444).
        add("specular power 4", l, material(rgba(0, 0, 0, 1), rgba(0, 0, 0), rgba(0.5f, 0.25f, 1.0f), rgba(0, 0, 0), 4.0f),
            0xFF391C71)
            .specular = true;
        add("specular power 50", l, material(rgba(0, 0, 0, 1), rgba(0, 0, 0), rgba(1, 1, 1), rgba(0, 0, 0), 50.0f), 0xFF000000)
            .specular = true;
        add("specular disabled", l, material(rgba(0, 0, 0, 1), rgba(0, 0, 0), rgba(1, 1, 1)), 0xFF000000);
    }
    {
        // No normal: ambient and emissive only, alpha from the vertex.
        LightCase& n = add("lit vertex without normal", front,
                           material(rgba(1, 1, 1, 1), rgba(0.5f, 0.5f, 0.5f), rgba(1, 1, 1), rgba(0.1f, 0.2f, 0.3f)), 0x8099B3CC);
        n.ambient = 0x00FFFFFF;
        n.specular = true;
        n.fvf = D3DFVF_LVERTEX;
        n.vertex_diffuse = 0x80FF0000;
    }
    {
        // Diffuse from the vertex colour (COLORVERTEX, DIFFUSEMATERIALSOURCE = COLOR1), or the material.
        LightCase& v = add("diffuse from vertex colour", front, white, 0x4000FF00);
        v.fvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE;
        v.vertex_diffuse = 0x4000FF00;
        LightCase& m = add("COLORVERTEX off uses the material", front, warm, 0xBFFF8040);
        m.fvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE;
        m.vertex_diffuse = 0x4000FF00;
        m.color_vertex = false;
    }
    {
        // World scale 1.5 in z: the transformed normal has length 2/3 unless normalised.
        LightCase& a = add("uneven scale, normals not normalised", point_light(Vector3(-1, 1, -1.25f), 1, 0, 0), white, 0xFFAAAAAA);
        a.world_scale_z = 1.5f;
        LightCase& b = add("uneven scale, normals normalised", point_light(Vector3(-1, 1, -1.25f), 1, 0, 0), white, 0xFFFFFFFF);
        b.world_scale_z = 1.5f;
        b.normalize = true;
    }
    {
        // Lighting off: vertices without a colour are white, coloured ones keep theirs.
        add("unlit without colour", front, warm, 0xFFFFFFFF).lighting = false;
        LightCase& u = add("unlit with colour", front, warm, 0x80123456);
        u.lighting = false;
        u.fvf = D3DFVF_LVERTEX;
        u.vertex_diffuse = 0x80123456;
    }
    return c;
}

std::uint32_t lit_probe(const GUID& device, const LightCase& c)
{
    DeviceHarness h(device, 4, 4, false, format_a8r8g8b8());
    EXPECT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    D3DMATRIX world;
    matrix_scaling(&world, 1.0f, 1.0f, c.world_scale_z);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    D3DLIGHT7 light = c.light;
    D3DMATERIAL7 mat = c.material;
    EXPECT_EQ(d->SetLight(0, &light), D3D_OK);
    EXPECT_EQ(d->LightEnable(0, TRUE), D3D_OK);
    d->SetMaterial(&mat);
    d->SetRenderState(D3DRENDERSTATE_AMBIENT, c.ambient);
    d->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, c.specular ? TRUE : FALSE);
    d->SetRenderState(D3DRENDERSTATE_COLORVERTEX, c.color_vertex ? TRUE : FALSE);
    d->SetRenderState(D3DRENDERSTATE_NORMALIZENORMALS, c.normalize ? TRUE : FALSE);
    d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, c.lighting ? TRUE : FALSE);
    // Three vertices of the case's format as 32-bit words; the probed one first.
    const auto f = [](float x) { return std::bit_cast<std::uint32_t>(x); };
    const float z = kP.z / c.world_scale_z;
    std::vector<std::uint32_t> words;
    for (auto [x, y] : {std::pair{-1.0f, 1.0f}, {1.0f, 1.0f}, {-1.0f, -1.0f}}) {
        words.insert(words.end(), {f(x), f(y), f(z)});
        if (c.fvf == D3DFVF_LVERTEX) {
            words.insert(words.end(), {0, c.vertex_diffuse, 0xFFFFFFFF, 0, 0});
        } else {
            words.insert(words.end(), {0, 0, f(-1.0f)});  // the normal (0, 0, -1)
            if (c.fvf == D3DFVF_VERTEX) words.insert(words.end(), {0, 0});
            else words.push_back(c.vertex_diffuse);
        }
    }
    d->BeginScene();
    const HRESULT hr = d->DrawPrimitive(D3DPT_TRIANGLELIST, c.fvf, words.data(), 3, 0);
    EXPECT_EQ(hr, D3D_OK);
    d->EndScene();
    return h.pixel(0, 0);
}

TEST_P(LightingConformance, LitVertexColourFollowsTheLightingEquations)
{
    for (const LightCase& c : light_cases()) {
        SCOPED_TRACE(c.what);
        const std::uint32_t got = lit_probe(*GetParam().guid, c);
        EXPECT_LE(color_distance(got, c.expected, true), 1)
            << "got " << argb_text(got) << ", expected " << argb_text(c.expected);
    }
}

INSTANTIATE_ON_DEVICES(LightingConformance);

}  // namespace
