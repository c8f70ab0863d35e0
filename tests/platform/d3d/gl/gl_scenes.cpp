#include "gl_scenes.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <map>
#include <tuple>
#include <utility>

#include "math/matrix.h"

namespace {

constexpr float kPi = 3.14159265f;

struct Mesh { std::vector<D3DVERTEX> vertices; std::vector<WORD> indices; };

// A torus around the y axis: major radius R, minor r, with normals and wrapped coordinates.
Mesh torus(float R, float r, int rings, int sides)
{
    Mesh m;
    for (int i = 0; i <= rings; ++i) {
        const float u = static_cast<float>(i) / rings, a = u * 2.0f * kPi;
        for (int j = 0; j <= sides; ++j) {
            const float v = static_cast<float>(j) / sides, b = v * 2.0f * kPi, ring = R + r * std::cos(b);
            m.vertices.push_back(D3DVERTEX{ring * std::cos(a), r * std::sin(b), ring * std::sin(a),
                                           std::cos(a) * std::cos(b), std::sin(b), std::sin(a) * std::cos(b),
                                           u * 4.0f, v * 2.0f});
            if (i == rings || j == sides) continue;
            const auto p = static_cast<WORD>(i * (sides + 1) + j), q = static_cast<WORD>(p + sides + 1);
            m.indices.insert(m.indices.end(), {p, static_cast<WORD>(p + 1), q, q, static_cast<WORD>(p + 1),
                                               static_cast<WORD>(q + 1)});
        }
    }
    return m;
}

// The scenes' textures by DirectDraw object and name, kept until gl_scenes_release.
std::map<std::pair<IDirectDraw7*, std::string>, IDirectDrawSurface7*> texture_store;

IDirectDrawSurface7* cached_texture(IDirectDraw7* dd, const std::string& name, DWORD w, DWORD h, PixelKind kind,
                                    std::uint32_t (*fill)(DWORD, DWORD), DWORD caps = DDSCAPS_TEXTURE)
{
    IDirectDrawSurface7*& s = texture_store[{dd, name}];
    if (s == nullptr) s = scene_surface(dd, w, h, kind, fill, caps);
    return s;
}

std::uint32_t fill_marble(DWORD x, DWORD y)
{
    const float v = 0.5f + 0.5f * std::sin(static_cast<float>(x) * 0.4f + 3.0f * std::sin(static_cast<float>(y) * 0.15f));
    const auto c = static_cast<std::uint32_t>(60 + 180 * v);
    return 0xFF000000u | c << 16 | (c * 3 / 4) << 8 | (255 - c / 2);
}

std::uint32_t fill_checker(DWORD x, DWORD y) { return ((x / 8 + y / 8) & 1) ? 0xFFF0E020u : 0xFF2040A0u; }
std::uint32_t fill_two_by_two(DWORD x, DWORD y) { return ((x + y) & 1) ? 0xFFFFFFFFu : 0xFF000000u; }
std::uint32_t fill_alpha_ramp(DWORD x, DWORD y)
{
    return (x * 255) / 63 << 24 | ((y * 4) & 0xFF) << 16 | 0x80u << 8 | ((x * 4) & 0xFF);
}

void set_default_stages(IDirect3DDevice7* d)
{
    scene_stages(d, {{0, D3DTSS_COLOROP, D3DTOP_MODULATE}, {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
                     {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE}, {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
                     {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {0, D3DTSS_MAGFILTER, D3DTFG_LINEAR},
                     {0, D3DTSS_MINFILTER, D3DTFN_LINEAR}, {1, D3DTSS_COLOROP, D3DTOP_DISABLE},
                     {1, D3DTSS_ALPHAOP, D3DTOP_DISABLE}});
}

void camera(IDirect3DDevice7* d, DWORD width, DWORD height, float fov, float zn, float zf, const Vector3& eye)
{
    Matrix view, proj;
    const Vector3 at(0, 0, 0), up(0, 1, 0);
    matrix_look_at(&view, &eye, &at, &up);
    matrix_perspective(&proj, fov, static_cast<float>(height) / static_cast<float>(width), zn, zf);
    d->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
}

// Sets and enables a light with a white specular, a faint ambient and no attenuation beyond attenuation1.
void set_light(IDirect3DDevice7* d, DWORD index, D3DLIGHTTYPE type, D3DCOLORVALUE diffuse, Vector3 position,
               Vector3 direction, float attenuation1 = 0.0f, float range = D3DLIGHT_RANGE_MAX)
{
    // Then the range, falloff, the three attenuation factors and the spot's inner and outer cone angles.
    D3DLIGHT7 l{type,  diffuse, {{1}, {1}, {1}, {1}}, {{0.1f}, {0.1f}, {0.1f}, {1}}, position, direction,
                range, 1.0f,    1.0f,                 attenuation1,                  0.0f,     0.5f,      1.2f};
    d->SetLight(index, &l);
    d->LightEnable(index, TRUE);
}

void set_material(IDirect3DDevice7* d, float r, float g, float b, float power)
{
    D3DMATERIAL7 m{};
    m.diffuse = m.ambient = D3DCOLORVALUE{{r}, {g}, {b}, {1.0f}};
    m.specular = D3DCOLORVALUE{{0.8f}, {0.8f}, {0.8f}, {1.0f}};
    m.power = power;
    d->SetMaterial(&m);
}

void set_world(IDirect3DDevice7* d, float yaw, float pitch, float roll, float x = 0, float y = 0, float z = 0)
{
    Matrix world, spin, place;
    matrix_rotation_yaw_pitch_roll(&spin, yaw, pitch, roll);
    matrix_translation(&place, x, y, z);
    matrix_multiply(&world, &spin, &place);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
}

void begin(SceneTarget& t, D3DCOLOR background)
{
    t.device->BeginScene();
    t.device->Clear(0, nullptr, D3DCLEAR_TARGET | (t.zbuffer != nullptr ? D3DCLEAR_ZBUFFER : 0u), background, 1.0f, 0);
}

void draw_mesh(IDirect3DDevice7* d, const Mesh& m)
{
    d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, const_cast<D3DVERTEX*>(m.vertices.data()),
                            static_cast<DWORD>(m.vertices.size()), const_cast<WORD*>(m.indices.data()),
                            static_cast<DWORD>(m.indices.size()), 0);
}

void draw_strip(IDirect3DDevice7* d, std::vector<D3DTLVERTEX> v)
{
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v.data(), static_cast<DWORD>(v.size()), 0);
}

// Lit scenes start the same way: default stages, the given depth mode, lighting with the given ambient.
void lit_begin(SceneTarget& t, D3DCOLOR background, DWORD zmode, D3DCOLOR ambient)
{
    begin(t, background);
    set_default_stages(t.device);
    scene_states(t.device,
                 {{D3DRENDERSTATE_ZENABLE, zmode}, {D3DRENDERSTATE_LIGHTING, TRUE}, {D3DRENDERSTATE_AMBIENT, ambient}});
}

// Three lit tori under a point, a spot and a directional light, textured with bilinear wrap.
void scene_lights(SceneTarget& t, int frame)
{
    static const Mesh mesh = torus(1.0f, 0.4f, 32, 16);
    IDirect3DDevice7* d = t.device;
    lit_begin(t, 0xFF101020, D3DZB_TRUE, 0xFF202020);
    scene_states(d, {{D3DRENDERSTATE_SPECULARENABLE, TRUE}, {D3DRENDERSTATE_NORMALIZENORMALS, TRUE}});
    camera(d, t.width, t.height, 0.9f, 0.5f, 50.0f, Vector3(0, 2.5f, -6.0f));
    set_light(d, 0, D3DLIGHT_POINT, {{1.0f}, {0.6f}, {0.3f}, {1}}, Vector3(-3, 2, -2), Vector3(), 0.1f, 9.0f);
    set_light(d, 1, D3DLIGHT_SPOT, {{0.3f}, {0.6f}, {1.0f}, {1}}, Vector3(2, 4, -1), Vector3(-0.3f, -1, 0.2f));
    set_light(d, 2, D3DLIGHT_DIRECTIONAL, {{0.4f}, {0.4f}, {0.4f}, {1}}, Vector3(), Vector3(1, -0.5f, 1));
    d->SetTexture(0, cached_texture(t.ddraw, "marble", 64, 64, PixelKind::X8R8G8B8, fill_marble));
    for (int i = 0; i < 3; ++i) {
        const auto f = static_cast<float>(i);
        set_world(d, 0.05f * static_cast<float>(frame) + f, 0.6f + 0.3f * f, 0.2f, -2.2f + 2.2f * f, 0.0f, 0.5f * f);
        set_material(d, 0.8f, 0.7f + 0.1f * f, 0.6f, i == 1 ? 0.0f : 20.0f);
        draw_mesh(d, mesh);
    }
    d->EndScene();
}

// Screen-space overlays: a full-target quad of a 2×2 checker under bilinear filtering (the half-texel
// blend and the wrap at the left and top edges), alpha-blended and additive quads, one partly above
// the viewport's top edge.
void scene_overlays(SceneTarget& t, int)
{
    IDirect3DDevice7* d = t.device;
    begin(t, 0xFF000000);
    set_default_stages(d);
    scene_states(d, {{D3DRENDERSTATE_ZENABLE, D3DZB_FALSE}, {D3DRENDERSTATE_LIGHTING, FALSE}});
    const float W = static_cast<float>(t.width), H = static_cast<float>(t.height);
    d->SetTexture(0, cached_texture(t.ddraw, "two", 2, 2, PixelKind::X8R8G8B8, fill_two_by_two));
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    // A 2×2 texture stretched over the target is mostly flat colour; sample it at its own scale instead.
    std::vector<D3DTLVERTEX> full = tl_quad(0, 0, W, H, 0xFFFFFFFF);
    for (D3DTLVERTEX& v : full) v = tl_vertex(v.sx, v.sy, v.sz, v.color, v.tu * W / 16.0f, v.tv * H / 16.0f, 0.5f);
    draw_strip(d, full);

    scene_states(d, {{D3DRENDERSTATE_ALPHABLENDENABLE, TRUE}, {D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA},
                     {D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA}});
    d->SetTexture(0, cached_texture(t.ddraw, "ramp", 64, 64, PixelKind::A8R8G8B8, fill_alpha_ramp));
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    std::vector<D3DTLVERTEX> quad = tl_quad(W * 0.1f, H * 0.2f, W * 0.7f, H * 0.9f, 0xFFFFC080);
    quad[2].color = quad[3].color = 0xFF80C0FF;
    draw_strip(d, quad);

    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    d->SetTexture(0, cached_texture(t.ddraw, "checker", 64, 64, PixelKind::R5G6B5, fill_checker));
    scene_stages(d, {{0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2}, {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE}});
    // Partly above the top edge: the lower part shows, texture placed as for the whole quad.
    draw_strip(d, tl_quad(W * 0.4f, -H * 0.3f, W * 0.95f, H * 0.5f, 0x80FFFFFF, 0.5f, 2.0f));
    d->EndScene();
}

// One depth buffer shared by a w-buffered near scene (far 100) and a far box drawn with another
// projection (far 10000): under a true w-buffer the box stands in front.
void scene_wbuffer(SceneTarget& t, int frame)
{
    static const Mesh mesh = torus(3.0f, 1.5f, 24, 12);
    IDirect3DDevice7* d = t.device;
    lit_begin(t, 0xFF203040, D3DZB_USEW, 0xFF404040);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    d->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, FALSE);
    set_light(d, 0, D3DLIGHT_DIRECTIONAL, {{0.9f}, {0.9f}, {0.8f}, {1}}, Vector3(), Vector3(0.3f, -0.5f, 1));
    camera(d, t.width, t.height, 1.0f, 0.1f, 100.0f, Vector3(0, 3, -12));
    set_world(d, 0.03f * static_cast<float>(frame), 1.1f, 0.0f);
    set_material(d, 0.3f, 0.8f, 0.4f, 0.0f);
    draw_mesh(d, mesh);
    // The box: far away under a deep projection, drawn after the scene.
    camera(d, t.width, t.height, 0.05f, 1.0f, 10000.0f, Vector3(0, 0, -300));
    set_world(d, 0.7f, 0.4f, 0.0f);
    set_material(d, 0.9f, 0.2f, 0.2f, 0.0f);
    draw_mesh(d, mesh);
    d->EndScene();
}

// Render to a 128×64 texture with the target's z-buffer moved onto it, then back: the texture is
// laid over the target through a bilinear quad, and depth on the target still works afterwards.
void scene_render_to_texture(SceneTarget& t, int frame)
{
    static const Mesh mesh = torus(1.0f, 0.5f, 24, 12);
    IDirect3DDevice7* d = t.device;
    IDirectDrawSurface7* rt = cached_texture(t.ddraw, "rt", 128, 64, PixelKind::X8R8G8B8, nullptr,
                                             DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE);
    set_default_stages(d);
    scene_states(d, {{D3DRENDERSTATE_LIGHTING, TRUE}, {D3DRENDERSTATE_ZENABLE, D3DZB_TRUE},
                     {D3DRENDERSTATE_AMBIENT, 0xFF303030}});
    set_light(d, 0, D3DLIGHT_DIRECTIONAL, {{1}, {1}, {1}, {1}}, Vector3(), Vector3(0.5f, -0.7f, 1));
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);

    // Pass 1: into the texture with the z-buffer moved over.
    scene_switch_target(d, t.target, rt, t.zbuffer, 128, 64);
    d->BeginScene();
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF402010, 1.0f, 0);
    camera(d, 128, 64, 1.0f, 0.5f, 20.0f, Vector3(0, 1, -4));
    set_world(d, 0.1f * static_cast<float>(frame), 0.8f, 0.0f);
    set_material(d, 1.0f, 0.9f, 0.3f, 0.0f);
    draw_mesh(d, mesh);
    d->EndScene();

    // Pass 2: back onto the target with the z-buffer, a lit mesh, then the texture as an overlay.
    scene_switch_target(d, rt, t.target, t.zbuffer, t.width, t.height);
    begin(t, 0xFF000020);
    camera(d, t.width, t.height, 0.9f, 0.5f, 20.0f, Vector3(0, 0, -3.5f));
    set_world(d, 0.5f, 0.3f + 0.05f * static_cast<float>(frame), 0.0f);
    set_material(d, 0.3f, 0.5f, 1.0f, 0.0f);
    draw_mesh(d, mesh);
    scene_states(d, {{D3DRENDERSTATE_LIGHTING, FALSE}, {D3DRENDERSTATE_ZENABLE, D3DZB_FALSE},
                     {D3DRENDERSTATE_ALPHABLENDENABLE, TRUE}, {D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA},
                     {D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA}});
    d->SetTexture(0, rt);
    scene_stages(d, {{0, D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2},
                     {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE}});
    draw_strip(d, tl_quad(0, 0, static_cast<float>(t.width) * 0.5f, static_cast<float>(t.height) * 0.5f, 0xB0FFFFFF));
    d->SetTexture(0, nullptr);
    d->EndScene();
}

// Wireframe with CCW culling, flat shading with CW culling, and no culling, side by side.
void scene_raster_modes(SceneTarget& t, int frame)
{
    static const Mesh mesh = torus(1.0f, 0.45f, 16, 8);
    IDirect3DDevice7* d = t.device;
    lit_begin(t, 0xFF000000, D3DZB_TRUE, 0xFF303030);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    set_light(d, 0, D3DLIGHT_DIRECTIONAL, {{1}, {0.9f}, {0.8f}, {1}}, Vector3(), Vector3(-0.4f, -0.6f, 1));
    camera(d, t.width, t.height, 0.9f, 0.5f, 30.0f, Vector3(0, 1.5f, -7.0f));
    const DWORD fills[3] = {D3DFILL_WIREFRAME, D3DFILL_SOLID, D3DFILL_SOLID};
    const DWORD culls[3] = {D3DCULL_CCW, D3DCULL_CW, D3DCULL_NONE};
    const DWORD shades[3] = {D3DSHADE_GOURAUD, D3DSHADE_FLAT, D3DSHADE_GOURAUD};
    for (int i = 0; i < 3; ++i) {
        const auto f = static_cast<float>(i);
        scene_states(d, {{D3DRENDERSTATE_FILLMODE, fills[i]}, {D3DRENDERSTATE_CULLMODE, culls[i]},
                         {D3DRENDERSTATE_SHADEMODE, shades[i]}});
        set_world(d, 0.04f * static_cast<float>(frame) + f, 0.9f, 0.0f, -2.6f + 2.6f * f);
        set_material(d, 0.9f - 0.3f * f, 0.5f, 0.3f + 0.3f * f, 0.0f);
        draw_mesh(d, mesh);
    }
    d->EndScene();
}

// Two stages: stage 0 modulates a texture with the lit colour, stage 1 adds a second texture's colour
// scaled by the texture factor; then the same with stage 1's texture missing (it passes stage 0
// through), ALPHAOP DISABLE keeping the diffuse alpha, and the specular added after the stages. Drawn
// over a blended background so the alpha shows.
void scene_stages(SceneTarget& t, int frame)
{
    IDirect3DDevice7* d = t.device;
    begin(t, 0xFF306030);
    set_default_stages(d);
    scene_states(d, {{D3DRENDERSTATE_ZENABLE, D3DZB_FALSE}, {D3DRENDERSTATE_LIGHTING, FALSE},
                     {D3DRENDERSTATE_TEXTUREFACTOR, 0x80408040}, {D3DRENDERSTATE_SPECULARENABLE, TRUE},
                     {D3DRENDERSTATE_ALPHABLENDENABLE, TRUE}, {D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA},
                     {D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA}});
    d->SetTexture(0, cached_texture(t.ddraw, "marble", 64, 64, PixelKind::X8R8G8B8, fill_marble));
    scene_stages(d, {{0, D3DTSS_ALPHAOP, D3DTOP_DISABLE}, {1, D3DTSS_COLOROP, D3DTOP_ADD},
                     {1, D3DTSS_COLORARG1, D3DTA_TEXTURE}, {1, D3DTSS_COLORARG2, D3DTA_CURRENT},
                     {1, D3DTSS_ALPHAOP, D3DTOP_MODULATE}, {1, D3DTSS_ALPHAARG1, D3DTA_TFACTOR},
                     {1, D3DTSS_ALPHAARG2, D3DTA_CURRENT}, {1, D3DTSS_TEXCOORDINDEX, 1}, {1, D3DTSS_MAGFILTER, D3DTFG_POINT}});
    const float H = static_cast<float>(t.height), s = 0.01f * static_cast<float>(frame);
    struct Vertex2 { float x, y, z, rhw; D3DCOLOR diffuse, specular; float u0, v0, u1, v1; };
    auto quad = [&](float x0, float x1, D3DCOLOR c0, D3DCOLOR c1, D3DCOLOR specular) {
        Vertex2 v[4] = {{x0, H * 0.9f, 0.5f, 1, c0, specular, s, 1.5f, 0, 3},
                        {x0, H * 0.1f, 0.5f, 1, c0, 0, s, 0, 0, 0},
                        {x1, H * 0.9f, 0.5f, 1, c1, specular, s + 1.5f, 1.5f, 3, 3},
                        {x1, H * 0.1f, 0.5f, 1, c1, 0, s + 1.5f, 0, 3, 0}};
        d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2, v, 4, 0);
    };
    const float W = static_cast<float>(t.width);
    d->SetTexture(1, cached_texture(t.ddraw, "checker", 64, 64, PixelKind::R5G6B5, fill_checker));
    quad(W * 0.05f, W * 0.45f, 0xC0FF8040, 0x60FFFFFF, 0xFF202040);
    d->SetTexture(1, nullptr);  // stage 1 now passes stage 0 through, colour and alpha alike
    quad(W * 0.55f, W * 0.95f, 0xA04080FF, 0xFFFF8080, 0xFF404020);
    d->SetTexture(0, nullptr);
    d->EndScene();
}

}  // namespace

void scene_states(IDirect3DDevice7* d, std::initializer_list<std::pair<D3DRENDERSTATETYPE, DWORD>> words)
{
    for (const auto& [type, value] : words) d->SetRenderState(type, value);
}

void scene_stages(IDirect3DDevice7* d, std::initializer_list<std::tuple<DWORD, D3DTEXTURESTAGESTATETYPE, DWORD>> words)
{
    for (const auto& [stage, type, value] : words) d->SetTextureStageState(stage, type, value);
}

IDirectDrawSurface7* scene_surface(IDirectDraw7* dd, DWORD w, DWORD h, PixelKind kind,
                                   std::uint32_t (*fill)(DWORD, DWORD), DWORD caps)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = w;
    desc.dwHeight = h;
    desc.ddsCaps.dwCaps = caps;
    desc.ddpfPixelFormat = pixel_format_of(kind);
    IDirectDrawSurface7* s = nullptr;
    if (FAILED(dd->CreateSurface(&desc, &s, nullptr))) return nullptr;
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    if (fill != nullptr && SUCCEEDED(s->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) {
        for (DWORD y = 0; y < h; ++y) {
            BYTE* row = static_cast<BYTE*>(locked.lpSurface) + static_cast<std::ptrdiff_t>(y) * locked.lPitch;
            for (DWORD x = 0; x < w; ++x) pixel_from_argb(kind, fill(x, y), row + x * pixel_kind_bytes(kind));
        }
        s->Unlock(nullptr);
    }
    return s;
}

D3DTLVERTEX tl_vertex(float x, float y, float z, D3DCOLOR color, float u, float v, float rhw)
{
    return D3DTLVERTEX{x, y, z, rhw, color, 0, u, v};
}

HRESULT scene_switch_target(IDirect3DDevice7* d, IDirectDrawSurface7* from, IDirectDrawSurface7* to,
                            IDirectDrawSurface7* zbuffer, DWORD width, DWORD height)
{
    D3DVIEWPORT7 all{0, 0, width, height, 0.0f, 1.0f};
    HRESULT hr = from->DeleteAttachedSurface(0, zbuffer);
    if (SUCCEEDED(hr)) hr = to->AddAttachedSurface(zbuffer);
    if (SUCCEEDED(hr)) hr = d->SetRenderTarget(to, 0);
    return SUCCEEDED(hr) ? d->SetViewport(&all) : hr;
}

std::vector<D3DTLVERTEX> tl_quad(float x0, float y0, float x1, float y1, D3DCOLOR color, float z, float uv)
{
    return {tl_vertex(x0, y1, z, color, 0, uv), tl_vertex(x0, y0, z, color, 0, 0), tl_vertex(x1, y1, z, color, uv, uv),
            tl_vertex(x1, y0, z, color, uv, 0)};
}

void gl_scene_lit_textured(SceneTarget& t, int frame, int triangles)
{
    static std::map<int, Mesh> meshes;
    // A 6×4 grid of tori; each torus has 2·rings·sides triangles.
    const int sides = 12, rings = std::max(4, std::max(8, triangles / 24) / (2 * sides));
    auto it = meshes.find(rings);
    if (it == meshes.end()) it = meshes.emplace(rings, torus(0.6f, 0.25f, rings, sides)).first;
    IDirect3DDevice7* d = t.device;
    lit_begin(t, 0xFF000010, D3DZB_TRUE, 0xFF202020);
    scene_states(d, {{D3DRENDERSTATE_SPECULARENABLE, TRUE}, {D3DRENDERSTATE_NORMALIZENORMALS, TRUE}});
    camera(d, t.width, t.height, 0.8f, 0.5f, 50.0f, Vector3(0, 0, -9.0f));
    set_light(d, 0, D3DLIGHT_POINT, {{1}, {0.8f}, {0.6f}, {1}}, Vector3(-3, 3, -4), Vector3());
    set_light(d, 1, D3DLIGHT_DIRECTIONAL, {{0.3f}, {0.3f}, {0.5f}, {1}}, Vector3(), Vector3(1, -1, 1));
    d->SetTexture(0, cached_texture(t.ddraw, "marble", 64, 64, PixelKind::X8R8G8B8, fill_marble));
    set_material(d, 0.9f, 0.8f, 0.7f, 16.0f);
    for (int i = 0; i < 24; ++i) {
        set_world(d, 0.05f * static_cast<float>(frame) + static_cast<float>(i), 0.7f, 0.1f * static_cast<float>(i),
                  -3.75f + 1.5f * static_cast<float>(i % 6), -2.25f + 1.5f * static_cast<float>(i / 6));
        draw_mesh(d, it->second);
    }
    // The benchmark draws this frame after frame on one device: leave it as it was found.
    d->LightEnable(0, FALSE);
    d->LightEnable(1, FALSE);
    d->SetTexture(0, nullptr);
    d->EndScene();
}

const std::vector<GlScene>& gl_comparison_scenes()
{
    static const std::vector<GlScene> scenes = {
        {"lights", scene_lights}, {"overlays", scene_overlays}, {"wbuffer", scene_wbuffer},
        {"render_to_texture", scene_render_to_texture}, {"raster_modes", scene_raster_modes}, {"stages", scene_stages},
        {"lit_textured", [](SceneTarget& t, int frame) { gl_scene_lit_textured(t, frame, 20000); }}};
    return scenes;
}

void gl_scenes_release()
{
    for (auto& [key, surface] : texture_store) {
        if (surface != nullptr) surface->Release();
    }
    texture_store.clear();
}
