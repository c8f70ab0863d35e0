#include "d3d_loads.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/d3d/scene_meshes.h"

LoadTarget::LoadTarget(const GUID& device_kind, DWORD texture_size)
{
    void* p = nullptr;
    DirectDrawCreateEx(nullptr, &p, IID_IDirectDraw7, nullptr);
    dd_ = static_cast<IDirectDraw7*>(p);
    dd_->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    dd_->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d_));
    target_ = surface(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 640, 480, DDPF_RGB, 32, 0);
    zbuffer_ = surface(DDSCAPS_ZBUFFER, 640, 480, DDPF_ZBUFFER, 32, 0);
    target_->AddAttachedSurface(zbuffer_);
    if (FAILED(d3d_->CreateDevice(device_kind, target_, &device_))) device_ = nullptr;
    if (device_ == nullptr) return;
    D3DVIEWPORT7 vp{0, 0, 640, 480, 0.0f, 1.0f};
    device_->SetViewport(&vp);
    texture_ = surface(DDSCAPS_TEXTURE, texture_size, texture_size, DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF000000);
    const int n = static_cast<int>(texture_size);
    const std::vector<std::uint32_t> texels = texture_checker(n, n, n / 8, 0xC0E0C040, 0xFF4060C0);
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    texture_->Lock(nullptr, &d, DDLOCK_WAIT, nullptr);
    for (DWORD y = 0; y < texture_size; ++y) {
        std::memcpy(static_cast<BYTE*>(d.lpSurface) + y * d.lPitch, &texels[y * texture_size], texture_size * 4);
    }
    texture_->Unlock(nullptr);
    device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    device_->SetTexture(0, texture_);
}

LoadTarget::~LoadTarget()
{
    if (device_ != nullptr) device_->Release();
    if (texture_ != nullptr) texture_->Release();
    zbuffer_->Release();
    target_->Release();
    d3d_->Release();
    dd_->Release();
}

std::uint32_t LoadTarget::read_back()
{
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    if (FAILED(target_->Lock(nullptr, &d, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) return 0;
    std::uint32_t centre;
    std::memcpy(&centre, static_cast<BYTE*>(d.lpSurface) + 240 * d.lPitch + 320 * 4, 4);
    target_->Unlock(nullptr);
    return centre;
}

IDirectDrawSurface7* LoadTarget::surface(DWORD caps, DWORD w, DWORD h, DWORD flags, DWORD bits, DWORD alpha)
{
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    d.ddsCaps.dwCaps = caps;
    d.dwWidth = w;
    d.dwHeight = h;
    d.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    d.ddpfPixelFormat.dwFlags = flags;
    if (flags & DDPF_ZBUFFER) {
        d.ddpfPixelFormat.dwZBufferBitDepth = bits;
        d.ddpfPixelFormat.dwZBitMask = 0xFFFFFFFF;
    } else {
        d.ddpfPixelFormat.dwRGBBitCount = bits;
        d.ddpfPixelFormat.dwRBitMask = 0xFF0000;
        d.ddpfPixelFormat.dwGBitMask = 0xFF00;
        d.ddpfPixelFormat.dwBBitMask = 0xFF;
        d.ddpfPixelFormat.dwRGBAlphaBitMask = alpha;
    }
    IDirectDrawSurface7* s = nullptr;
    dd_->CreateSurface(&d, &s, nullptr);
    return s;
}

namespace {

void look_at_origin(IDirect3DDevice7* d, float distance)
{
    D3DMATRIX view, proj;
    const Vector3 eye(0, 0, -distance), at(0, 0, 0), up(0, 1, 0);
    matrix_look_at(&view, &eye, &at, &up);
    matrix_perspective(&proj, 0.9f, 0.75f, 0.5f, 100.0f);
    d->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
}

}  // namespace

Load load_alpha_quad(IDirect3DDevice7* d)
{
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    auto quad = std::make_shared<std::vector<D3DTLVERTEX>>(std::vector<D3DTLVERTEX>{
        {0, 480, 0.5f, 0.5f, 0x80FFFFFF, 0, 0, 1},
        {0, 0, 0.5f, 0.5f, 0x80FFFFFF, 0, 0, 0},
        {640, 480, 0.5f, 0.5f, 0x80FFFFFF, 0, 1, 1},
        {640, 0, 0.5f, 0.5f, 0x80FFFFFF, 0, 1, 0}});
    return Load{2, 0, [d, quad] { d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, quad->data(), 4, 0); }};
}

Load load_lit_spheres(IDirect3DDevice7* d)
{
    look_at_origin(d, 9.0f);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
    d->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_NORMALIZENORMALS, TRUE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    D3DLIGHT7 l0{}, l1{};
    l0.dltType = D3DLIGHT_POINT;
    l0.dcvDiffuse = {{1}, {1}, {1}, {0}};
    l0.dcvSpecular = {{1}, {1}, {1}, {0}};
    l0.dvPosition = Vector3(100, 100, -500);
    l0.dvRange = D3DLIGHT_RANGE_MAX;
    l0.dvAttenuation0 = 1;
    l1.dltType = D3DLIGHT_DIRECTIONAL;
    l1.dcvDiffuse = {{0.3f}, {0.3f}, {0.6f}, {0}};
    l1.dvDirection = Vector3(1, -1, 1);
    d->SetLight(0, &l0);
    d->LightEnable(0, TRUE);
    d->SetLight(1, &l1);
    d->LightEnable(1, TRUE);
    D3DMATERIAL7 m{};
    m.diffuse = {{1}, {0.8f}, {0.8f}, {1}};
    m.ambient = {{0.2f}, {0.2f}, {0.2f}, {1}};
    m.specular = {{1}, {1}, {1}, {1}};
    m.power = 50;
    d->SetMaterial(&m);
    auto sphere = std::make_shared<Mesh>(mesh_sphere(20, 50, 1.0f));  // 2000 triangles
    return Load{20000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, [d, sphere] {
                    for (int i = 0; i < 10; ++i) {
                        D3DMATRIX world;
                        matrix_translation(&world, static_cast<float>(i % 5) * 2.6f - 5.2f,
                                           static_cast<float>(i / 5) * 2.6f - 1.3f, static_cast<float>(i % 3));
                        d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
                        d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, sphere->vertices.data(),
                                                static_cast<DWORD>(sphere->vertices.size()), sphere->indices.data(),
                                                static_cast<DWORD>(sphere->indices.size()), 0);
                    }
                }};
}

Load load_sphere_echoes(IDirect3DDevice7* d)
{
    look_at_origin(d, 3.2f);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    auto sphere = std::make_shared<Mesh>(mesh_sphere(20, 50, 1.0f));
    auto shell = std::make_shared<std::vector<D3DLVERTEX>>(sphere->vertices.size());
    for (std::size_t i = 0; i < shell->size(); ++i) {
        const MeshVertex& v = sphere->vertices[i];
        const DWORD a = static_cast<DWORD>(40 + 40 * std::sin(v.x * 3 + v.y * 2));
        (*shell)[i] = D3DLVERTEX{v.x, v.y, v.z, 0, (a << 24) | 0x204080, 0, v.u, v.v};
    }
    return Load{20000, D3DCLEAR_TARGET, [d, sphere, shell] {
                    for (int pass = 0; pass < 10; ++pass) {
                        D3DMATRIX world;
                        const float s = 1.0f + 0.05f * static_cast<float>(pass);
                        matrix_scaling(&world, s, s, s);
                        d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
                        d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, shell->data(),
                                                static_cast<DWORD>(shell->size()), sphere->indices.data(),
                                                static_cast<DWORD>(sphere->indices.size()), 0);
                    }
                }};
}

void draw_frame(IDirect3DDevice7* d, const Load& load)
{
    d->BeginScene();
    if (load.clear_flags != 0) d->Clear(0, nullptr, load.clear_flags, 0xFF000000, 1.0f, 0);
    load.draw();
    d->EndScene();
}
