#include "gl_scenes.h"

#include <cmath>
#include <map>
#include <utility>

#include "math/matrix.h"
#include "platform/d3d/core/pixel_format.h"

namespace {

constexpr float kPi = 3.14159265f;

struct Mesh {
    std::vector<D3DVERTEX> vertices;
    std::vector<WORD> indices;
};

// A torus around the y axis: major radius R, minor r, with normals and wrapped coordinates.
Mesh torus(float R, float r, int rings, int sides)
{
    Mesh m;
    for (int i = 0; i <= rings; ++i) {
        const float u = static_cast<float>(i) / rings;
        const float a = u * 2.0f * kPi;
        for (int j = 0; j <= sides; ++j) {
            const float v = static_cast<float>(j) / sides;
            const float b = v * 2.0f * kPi;
            const float nx = std::cos(a) * std::cos(b), ny = std::sin(b), nz = std::sin(a) * std::cos(b);
            D3DVERTEX p{};
            p.x = (R + r * std::cos(b)) * std::cos(a);
            p.y = r * std::sin(b);
            p.z = (R + r * std::cos(b)) * std::sin(a);
            p.nx = nx;
            p.ny = ny;
            p.nz = nz;
            p.tu = u * 4.0f;
            p.tv = v * 2.0f;
            m.vertices.push_back(p);
        }
    }
    for (int i = 0; i < rings; ++i) {
        for (int j = 0; j < sides; ++j) {
            const WORD a = static_cast<WORD>(i * (sides + 1) + j);
            const WORD b = static_cast<WORD>((i + 1) * (sides + 1) + j);
            m.indices.insert(m.indices.end(), {a, static_cast<WORD>(a + 1), b, b, static_cast<WORD>(a + 1),
                                               static_cast<WORD>(b + 1)});
        }
    }
    return m;
}

std::map<std::pair<IDirectDraw7*, std::string>, IDirectDrawSurface7*>& texture_store()
{
    static std::map<std::pair<IDirectDraw7*, std::string>, IDirectDrawSurface7*> store;
    return store;
}

IDirectDrawSurface7* make_texture(IDirectDraw7* dd, DWORD w, DWORD h, PixelKind kind, std::uint32_t (*fill)(DWORD, DWORD),
                                  DWORD caps = DDSCAPS_TEXTURE)
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
    if (fill != nullptr) {
        DDSURFACEDESC2 locked{};
        locked.dwSize = sizeof locked;
        if (SUCCEEDED(s->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) {
            for (DWORD y = 0; y < h; ++y) {
                BYTE* row = static_cast<BYTE*>(locked.lpSurface) + static_cast<std::ptrdiff_t>(y) * locked.lPitch;
                for (DWORD x = 0; x < w; ++x) pixel_from_argb(kind, fill(x, y), row + x * pixel_kind_bytes(kind));
            }
            s->Unlock(nullptr);
        }
    }
    return s;
}

IDirectDrawSurface7* cached_texture(IDirectDraw7* dd, const std::string& name, DWORD w, DWORD h, PixelKind kind,
                                    std::uint32_t (*fill)(DWORD, DWORD), DWORD caps = DDSCAPS_TEXTURE)
{
    auto& store = texture_store();
    auto it = store.find({dd, name});
    if (it != store.end()) return it->second;
    IDirectDrawSurface7* s = make_texture(dd, w, h, kind, fill, caps);
    store[{dd, name}] = s;
    return s;
}

std::uint32_t fill_marble(DWORD x, DWORD y)
{
    const float v = 0.5f + 0.5f * std::sin(static_cast<float>(x) * 0.4f + 3.0f * std::sin(static_cast<float>(y) * 0.15f));
    const auto c = static_cast<std::uint32_t>(60 + 180 * v);
    return 0xFF000000u | c << 16 | (c * 3 / 4) << 8 | (255 - c / 2);
}

std::uint32_t fill_checker(DWORD x, DWORD y)
{
    return ((x / 8 + y / 8) & 1) ? 0xFFF0E020u : 0xFF2040A0u;
}

std::uint32_t fill_two_by_two(DWORD x, DWORD y)
{
    return ((x + y) & 1) ? 0xFFFFFFFFu : 0xFF000000u;
}

std::uint32_t fill_alpha_ramp(DWORD x, DWORD y)
{
    const std::uint32_t a = (x * 255) / 63;
    return a << 24 | ((y * 4) & 0xFF) << 16 | 0x80u << 8 | ((x * 4) & 0xFF);
}

D3DTLVERTEX tl(float x, float y, float z, float rhw, D3DCOLOR c, float u, float v, D3DCOLOR spec_color = 0)
{
    D3DTLVERTEX t{};
    t.sx = x;
    t.sy = y;
    t.sz = z;
    t.rhw = rhw;
    t.color = c;
    t.specular = spec_color;
    t.tu = u;
    t.tv = v;
    return t;
}

void set_default_stages(IDirect3DDevice7* d)
{
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

void camera(IDirect3DDevice7* d, const SceneTarget& t, float fov, float zn, float zf, const Vector3& eye)
{
    Matrix view, proj;
    const Vector3 at(0, 0, 0), up(0, 1, 0);
    matrix_look_at(&view, &eye, &at, &up);
    matrix_perspective(&proj, fov, static_cast<float>(t.height) / static_cast<float>(t.width), zn, zf);
    d->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
}

D3DLIGHT7 light(D3DLIGHTTYPE type, D3DCOLORVALUE diffuse, Vector3 position, Vector3 direction)
{
    D3DLIGHT7 l{};
    l.dltType = type;
    l.dcvDiffuse = diffuse;
    l.dcvSpecular = D3DCOLORVALUE{{1.0f}, {1.0f}, {1.0f}, {1.0f}};
    l.dcvAmbient = D3DCOLORVALUE{{0.1f}, {0.1f}, {0.1f}, {1.0f}};
    l.dvPosition = position;
    l.dvDirection = direction;
    l.dvRange = D3DLIGHT_RANGE_MAX;
    l.dvFalloff = 1.0f;
    l.dvAttenuation0 = 1.0f;
    l.dvTheta = 0.5f;
    l.dvPhi = 1.2f;
    return l;
}

D3DMATERIAL7 material(float r, float g, float b, float power)
{
    D3DMATERIAL7 m{};
    m.diffuse = D3DCOLORVALUE{{r}, {g}, {b}, {1.0f}};
    m.ambient = D3DCOLORVALUE{{r}, {g}, {b}, {1.0f}};
    m.specular = D3DCOLORVALUE{{0.8f}, {0.8f}, {0.8f}, {1.0f}};
    m.power = power;
    return m;
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

// Three lit tori under a point, a spot and a directional light, textured with bilinear wrap.
void scene_lights(SceneTarget& t, int frame)
{
    static const Mesh mesh = torus(1.0f, 0.4f, 32, 16);
    IDirect3DDevice7* d = t.device;
    begin(t, 0xFF101020);
    set_default_stages(d);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_NORMALIZENORMALS, TRUE);
    d->SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFF202020);
    camera(d, t, 0.9f, 0.5f, 50.0f, Vector3(0, 2.5f, -6.0f));
    D3DLIGHT7 point = light(D3DLIGHT_POINT, D3DCOLORVALUE{{1.0f}, {0.6f}, {0.3f}, {1}}, Vector3(-3, 2, -2), Vector3());
    point.dvAttenuation1 = 0.1f;
    point.dvRange = 9.0f;
    D3DLIGHT7 spot = light(D3DLIGHT_SPOT, D3DCOLORVALUE{{0.3f}, {0.6f}, {1.0f}, {1}}, Vector3(2, 4, -1), Vector3(-0.3f, -1, 0.2f));
    D3DLIGHT7 sun = light(D3DLIGHT_DIRECTIONAL, D3DCOLORVALUE{{0.4f}, {0.4f}, {0.4f}, {1}}, Vector3(), Vector3(1, -0.5f, 1));
    d->SetLight(0, &point);
    d->SetLight(1, &spot);
    d->SetLight(2, &sun);
    for (DWORD i = 0; i < 3; ++i) d->LightEnable(i, TRUE);
    d->SetTexture(0, cached_texture(t.ddraw, "marble", 64, 64, PixelKind::X8R8G8B8, fill_marble));
    const float angle = 0.05f * static_cast<float>(frame);
    for (int i = 0; i < 3; ++i) {
        Matrix world, spin, place;
        matrix_rotation_yaw_pitch_roll(&spin, angle + static_cast<float>(i), 0.6f + 0.3f * static_cast<float>(i), 0.2f);
        matrix_translation(&place, -2.2f + 2.2f * static_cast<float>(i), 0.0f, 0.5f * static_cast<float>(i));
        matrix_multiply(&world, &spin, &place);
        d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
        D3DMATERIAL7 m = material(0.8f, 0.7f + 0.1f * static_cast<float>(i), 0.6f, i == 1 ? 0.0f : 20.0f);
        d->SetMaterial(&m);
        draw_mesh(d, mesh);
    }
    for (DWORD i = 0; i < 3; ++i) d->LightEnable(i, FALSE);
    d->SetTexture(0, nullptr);
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
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    const float W = static_cast<float>(t.width), H = static_cast<float>(t.height);
    d->SetTexture(0, cached_texture(t.ddraw, "two", 2, 2, PixelKind::X8R8G8B8, fill_two_by_two));
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    D3DTLVERTEX full[4] = {tl(0, H, 0.5f, 0.5f, 0xFFFFFFFF, 0, 1), tl(0, 0, 0.5f, 0.5f, 0xFFFFFFFF, 0, 0),
                           tl(W, H, 0.5f, 0.5f, 0xFFFFFFFF, 1, 1), tl(W, 0, 0.5f, 0.5f, 0xFFFFFFFF, 1, 0)};
    // A 2×2 texture stretched over the target is mostly flat colour; sample it at its own scale instead.
    for (D3DTLVERTEX& v : full) {
        v.tu *= W / 2.0f / 8.0f;
        v.tv *= H / 2.0f / 8.0f;
    }
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, full, 4, 0);

    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetTexture(0, cached_texture(t.ddraw, "ramp", 64, 64, PixelKind::A8R8G8B8, fill_alpha_ramp));
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    D3DTLVERTEX quad[4] = {tl(W * 0.1f, H * 0.9f, 0.5f, 1, 0xFFFFC080, 0, 1), tl(W * 0.1f, H * 0.2f, 0.5f, 1, 0xFFFFC080, 0, 0),
                           tl(W * 0.7f, H * 0.9f, 0.5f, 1, 0xFF80C0FF, 1, 1), tl(W * 0.7f, H * 0.2f, 0.5f, 1, 0xFF80C0FF, 1, 0)};
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, quad, 4, 0);

    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    d->SetTexture(0, cached_texture(t.ddraw, "checker", 64, 64, PixelKind::R5G6B5, fill_checker));
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    // Partly above the top edge: the lower part shows, texture placed as for the whole quad.
    D3DTLVERTEX add[4] = {tl(W * 0.4f, H * 0.5f, 0.5f, 1, 0x80FFFFFF, 0, 2), tl(W * 0.4f, -H * 0.3f, 0.5f, 1, 0x80FFFFFF, 0, 0),
                          tl(W * 0.95f, H * 0.5f, 0.5f, 1, 0x80FFFFFF, 2, 2), tl(W * 0.95f, -H * 0.3f, 0.5f, 1, 0x80FFFFFF, 2, 0)};
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, add, 4, 0);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    d->SetTexture(0, nullptr);
    d->EndScene();
}

// One depth buffer shared by a w-buffered near scene (far 100) and a far box drawn with another
// projection (far 10000): under a true w-buffer the box stands in front.
void scene_wbuffer(SceneTarget& t, int frame)
{
    static const Mesh mesh = torus(3.0f, 1.5f, 24, 12);
    IDirect3DDevice7* d = t.device;
    begin(t, 0xFF203040);
    set_default_stages(d);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, FALSE);
    d->SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFF404040);
    D3DLIGHT7 sun = light(D3DLIGHT_DIRECTIONAL, D3DCOLORVALUE{{0.9f}, {0.9f}, {0.8f}, {1}}, Vector3(), Vector3(0.3f, -0.5f, 1));
    d->SetLight(0, &sun);
    d->LightEnable(0, TRUE);
    camera(d, t, 1.0f, 0.1f, 100.0f, Vector3(0, 3, -12));
    Matrix world;
    matrix_rotation_yaw_pitch_roll(&world, 0.03f * static_cast<float>(frame), 1.1f, 0.0f);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    D3DMATERIAL7 m = material(0.3f, 0.8f, 0.4f, 0.0f);
    d->SetMaterial(&m);
    draw_mesh(d, mesh);
    // The box: far away under a deep projection, drawn after the scene.
    camera(d, t, 0.05f, 1.0f, 10000.0f, Vector3(0, 0, -300));
    matrix_rotation_yaw_pitch_roll(&world, 0.7f, 0.4f, 0.0f);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    D3DMATERIAL7 red = material(0.9f, 0.2f, 0.2f, 0.0f);
    d->SetMaterial(&red);
    draw_mesh(d, mesh);
    d->LightEnable(0, FALSE);
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
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, TRUE);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFF303030);
    D3DLIGHT7 sun = light(D3DLIGHT_DIRECTIONAL, D3DCOLORVALUE{{1}, {1}, {1}, {1}}, Vector3(), Vector3(0.5f, -0.7f, 1));
    d->SetLight(0, &sun);
    d->LightEnable(0, TRUE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);

    // Pass 1: into the texture with the z-buffer moved over.
    t.target->DeleteAttachedSurface(0, t.zbuffer);
    rt->AddAttachedSurface(t.zbuffer);
    d->SetRenderTarget(rt, 0);
    D3DVIEWPORT7 small{0, 0, 128, 64, 0.0f, 1.0f};
    d->SetViewport(&small);
    d->BeginScene();
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF402010, 1.0f, 0);
    SceneTarget small_target = t;
    small_target.width = 128;
    small_target.height = 64;
    camera(d, small_target, 1.0f, 0.5f, 20.0f, Vector3(0, 1, -4));
    Matrix world;
    matrix_rotation_yaw_pitch_roll(&world, 0.1f * static_cast<float>(frame), 0.8f, 0.0f);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    D3DMATERIAL7 m = material(1.0f, 0.9f, 0.3f, 0.0f);
    d->SetMaterial(&m);
    draw_mesh(d, mesh);
    d->EndScene();

    // Pass 2: back onto the target with the z-buffer, a lit mesh, then the texture as an overlay.
    rt->DeleteAttachedSurface(0, t.zbuffer);
    t.target->AddAttachedSurface(t.zbuffer);
    d->SetRenderTarget(t.target, 0);
    D3DVIEWPORT7 full{0, 0, t.width, t.height, 0.0f, 1.0f};
    d->SetViewport(&full);
    begin(t, 0xFF000020);
    camera(d, t, 0.9f, 0.5f, 20.0f, Vector3(0, 0, -3.5f));
    matrix_rotation_yaw_pitch_roll(&world, 0.5f, 0.3f + 0.05f * static_cast<float>(frame), 0.0f);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    D3DMATERIAL7 blue = material(0.3f, 0.5f, 1.0f, 0.0f);
    d->SetMaterial(&blue);
    draw_mesh(d, mesh);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d->SetTexture(0, rt);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    const float W = static_cast<float>(t.width), H = static_cast<float>(t.height);
    D3DTLVERTEX quad[4] = {tl(0, H * 0.5f, 0.5f, 1, 0xB0FFFFFF, 0, 1), tl(0, 0, 0.5f, 1, 0xB0FFFFFF, 0, 0),
                           tl(W * 0.5f, H * 0.5f, 0.5f, 1, 0xB0FFFFFF, 1, 1), tl(W * 0.5f, 0, 0.5f, 1, 0xB0FFFFFF, 1, 0)};
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, quad, 4, 0);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    d->SetTexture(0, nullptr);
    d->LightEnable(0, FALSE);
    d->EndScene();
}

// Wireframe with CCW culling, flat shading with CW culling, and no culling, side by side.
void scene_raster_modes(SceneTarget& t, int frame)
{
    static const Mesh mesh = torus(1.0f, 0.45f, 16, 8);
    IDirect3DDevice7* d = t.device;
    begin(t, 0xFF000000);
    set_default_stages(d);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, TRUE);
    d->SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFF303030);
    D3DLIGHT7 sun = light(D3DLIGHT_DIRECTIONAL, D3DCOLORVALUE{{1}, {0.9f}, {0.8f}, {1}}, Vector3(), Vector3(-0.4f, -0.6f, 1));
    d->SetLight(0, &sun);
    d->LightEnable(0, TRUE);
    camera(d, t, 0.9f, 0.5f, 30.0f, Vector3(0, 1.5f, -7.0f));
    const DWORD fills[3] = {D3DFILL_WIREFRAME, D3DFILL_SOLID, D3DFILL_SOLID};
    const DWORD culls[3] = {D3DCULL_CCW, D3DCULL_CW, D3DCULL_NONE};
    const DWORD shades[3] = {D3DSHADE_GOURAUD, D3DSHADE_FLAT, D3DSHADE_GOURAUD};
    for (int i = 0; i < 3; ++i) {
        d->SetRenderState(D3DRENDERSTATE_FILLMODE, fills[i]);
        d->SetRenderState(D3DRENDERSTATE_CULLMODE, culls[i]);
        d->SetRenderState(D3DRENDERSTATE_SHADEMODE, shades[i]);
        Matrix world, spin, place;
        matrix_rotation_yaw_pitch_roll(&spin, 0.04f * static_cast<float>(frame) + static_cast<float>(i), 0.9f, 0.0f);
        matrix_translation(&place, -2.6f + 2.6f * static_cast<float>(i), 0.0f, 0.0f);
        matrix_multiply(&world, &spin, &place);
        d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
        D3DMATERIAL7 m = material(0.9f - 0.3f * static_cast<float>(i), 0.5f, 0.3f + 0.3f * static_cast<float>(i), 0.0f);
        d->SetMaterial(&m);
        draw_mesh(d, mesh);
    }
    d->SetRenderState(D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID);
    d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    d->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD);
    d->LightEnable(0, FALSE);
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
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    set_default_stages(d);
    d->SetRenderState(D3DRENDERSTATE_TEXTUREFACTOR, 0x80408040);
    d->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    IDirectDrawSurface7* a = cached_texture(t.ddraw, "marble", 64, 64, PixelKind::X8R8G8B8, fill_marble);
    IDirectDrawSurface7* b = cached_texture(t.ddraw, "checker", 64, 64, PixelKind::R5G6B5, fill_checker);
    d->SetTexture(0, a);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATEALPHA_ADDCOLOR);  // not offered: SELECTARG1(CURRENT)
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
    d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
    d->SetTextureStageState(1, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
    d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
    d->SetTextureStageState(1, D3DTSS_MAGFILTER, D3DTFG_POINT);
    const float W = static_cast<float>(t.width), H = static_cast<float>(t.height);
    const float s = 0.01f * static_cast<float>(frame);
    struct Vertex2 {
        float x, y, z, rhw;
        D3DCOLOR diffuse, specular;
        float u0, v0, u1, v1;
    };
    auto quad = [&](float x0, float x1, D3DCOLOR c0, D3DCOLOR c1, D3DCOLOR spec_color) {
        Vertex2 v[4] = {{x0, H * 0.9f, 0.5f, 1, c0, spec_color, s, 1.5f, 0, 3},
                        {x0, H * 0.1f, 0.5f, 1, c0, 0, s, 0, 0, 0},
                        {x1, H * 0.9f, 0.5f, 1, c1, spec_color, s + 1.5f, 1.5f, 3, 3},
                        {x1, H * 0.1f, 0.5f, 1, c1, 0, s + 1.5f, 0, 3, 0}};
        d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2, v, 4, 0);
    };
    d->SetTexture(1, b);
    quad(W * 0.05f, W * 0.45f, 0xC0FF8040, 0x60FFFFFF, 0xFF202040);
    d->SetTexture(1, nullptr);  // stage 1 now passes stage 0 through, colour and alpha alike
    quad(W * 0.55f, W * 0.95f, 0xA04080FF, 0xFFFF8080, 0xFF404020);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, FALSE);
    d->SetTexture(0, nullptr);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
    d->EndScene();
}

}  // namespace

void gl_scene_lit_textured(SceneTarget& t, int frame, int triangles)
{
    static std::map<int, Mesh> meshes;
    // A 6×4 grid of tori; each torus has 2·rings·sides triangles.
    const int per = std::max(8, triangles / 24);
    const int sides = 12;
    const int rings = std::max(4, per / (2 * sides));
    auto it = meshes.find(rings);
    if (it == meshes.end()) it = meshes.emplace(rings, torus(0.6f, 0.25f, rings, sides)).first;
    const Mesh& mesh = it->second;
    IDirect3DDevice7* d = t.device;
    begin(t, 0xFF000010);
    set_default_stages(d);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_NORMALIZENORMALS, TRUE);
    d->SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFF202020);
    camera(d, t, 0.8f, 0.5f, 50.0f, Vector3(0, 0, -9.0f));
    D3DLIGHT7 point = light(D3DLIGHT_POINT, D3DCOLORVALUE{{1}, {0.8f}, {0.6f}, {1}}, Vector3(-3, 3, -4), Vector3());
    D3DLIGHT7 sun = light(D3DLIGHT_DIRECTIONAL, D3DCOLORVALUE{{0.3f}, {0.3f}, {0.5f}, {1}}, Vector3(), Vector3(1, -1, 1));
    d->SetLight(0, &point);
    d->SetLight(1, &sun);
    d->LightEnable(0, TRUE);
    d->LightEnable(1, TRUE);
    d->SetTexture(0, cached_texture(t.ddraw, "marble", 64, 64, PixelKind::X8R8G8B8, fill_marble));
    D3DMATERIAL7 m = material(0.9f, 0.8f, 0.7f, 16.0f);
    d->SetMaterial(&m);
    for (int i = 0; i < 24; ++i) {
        Matrix world, spin, place;
        matrix_rotation_yaw_pitch_roll(&spin, 0.05f * static_cast<float>(frame) + static_cast<float>(i), 0.7f, 0.1f * static_cast<float>(i));
        matrix_translation(&place, -3.75f + 1.5f * static_cast<float>(i % 6), -2.25f + 1.5f * static_cast<float>(i / 6), 0.0f);
        matrix_multiply(&world, &spin, &place);
        d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
        draw_mesh(d, mesh);
    }
    d->LightEnable(0, FALSE);
    d->LightEnable(1, FALSE);
    d->SetTexture(0, nullptr);
    d->EndScene();
}

const std::vector<GlScene>& gl_comparison_scenes()
{
    static const std::vector<GlScene> scenes = {
        {"lights", scene_lights},
        {"overlays", scene_overlays},
        {"wbuffer", scene_wbuffer},
        {"render_to_texture", scene_render_to_texture},
        {"raster_modes", scene_raster_modes},
        {"stages", scene_stages},
        {"lit_textured", [](SceneTarget& t, int frame) { gl_scene_lit_textured(t, frame, 20000); }},
    };
    return scenes;
}

void gl_scenes_release()
{
    for (auto& [key, surface] : texture_store()) {
        if (surface != nullptr) surface->Release();
    }
    texture_store().clear();
}
