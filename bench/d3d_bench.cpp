// Throughput of the device layer's software backend on the demo's representative loads, in triangles
// and pixels per second: a 640 × 480 full-screen textured quad with alpha blending; 20 000 lit,
// textured triangles with depth test; ten additively blended copies of a 2 000-triangle sphere. Each
// runs on the default thread count (argument 0) and on one thread (argument 1). "pixels" counts the
// pixels rasterised per frame (before depth rejection), measured once by drawing the same geometry
// additively with depth off.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "d3d/scene_meshes.h"
#include "platform/d3d/core/surface_capture.h"
#include "platform/d3d/d3d.h"
#include "platform/d3d/soft/soft_backend.h"

namespace {

struct Bench {
    IDirectDraw7* dd = nullptr;
    IDirect3D7* d3d = nullptr;
    IDirectDrawSurface7* target = nullptr;
    IDirectDrawSurface7* zbuffer = nullptr;
    IDirectDrawSurface7* texture = nullptr;
    IDirect3DDevice7* device = nullptr;

    Bench(unsigned threads, DWORD tex_size)
    {
        soft_backend_set_options(SoftBackendOptions{threads, true});
        void* p = nullptr;
        DirectDrawCreateEx(nullptr, &p, IID_IDirectDraw7, nullptr);
        dd = static_cast<IDirectDraw7*>(p);
        dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
        dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d));
        target = surface(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 640, 480, DDPF_RGB, 32, 0);
        zbuffer = surface(DDSCAPS_ZBUFFER, 640, 480, DDPF_ZBUFFER, 32, 0);
        target->AddAttachedSurface(zbuffer);
        d3d->CreateDevice(IID_IDirect3DRGBDevice, target, &device);
        D3DVIEWPORT7 vp{0, 0, 640, 480, 0.0f, 1.0f};
        device->SetViewport(&vp);
        texture = surface(DDSCAPS_TEXTURE, tex_size, tex_size, DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF000000);
        const std::vector<std::uint32_t> texels = texture_checker(static_cast<int>(tex_size), static_cast<int>(tex_size),
                                                                  static_cast<int>(tex_size / 8), 0xC0E0C040, 0xFF4060C0);
        DDSURFACEDESC2 d{};
        d.dwSize = sizeof(d);
        texture->Lock(nullptr, &d, DDLOCK_WAIT, nullptr);
        for (DWORD y = 0; y < tex_size; ++y) {
            std::memcpy(static_cast<BYTE*>(d.lpSurface) + y * d.lPitch, &texels[y * tex_size], tex_size * 4);
        }
        texture->Unlock(nullptr);
        soft_backend_set_options(SoftBackendOptions{});
    }
    ~Bench()
    {
        device->Release();
        texture->Release();
        zbuffer->Release();
        target->Release();
        d3d->Release();
        dd->Release();
    }
    IDirectDrawSurface7* surface(DWORD caps, DWORD w, DWORD h, DWORD flags, DWORD bits, DWORD alpha)
    {
        DDSURFACEDESC2 d{};
        d.dwSize = sizeof(d);
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
        dd->CreateSurface(&d, &s, nullptr);
        return s;
    }
    void states_common()
    {
        device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
        device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
        device->SetTexture(0, texture);
    }
    // Pixels rasterised by draw() with depth off: each adds 1 to blue.
    template <typename Draw>
    double count_pixels(Draw draw)
    {
        DWORD block = 0;
        device->CreateStateBlock(D3DSBT_ALL, &block);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        device->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
        device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
        device->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
        device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, FALSE);
        device->SetRenderState(D3DRENDERSTATE_TEXTUREFACTOR, 0x00000001);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
        device->BeginScene();
        draw(true);
        device->EndScene();
        device->ApplyStateBlock(block);
        device->DeleteStateBlock(block);
        SurfaceImage image;
        surface_capture(target, &image);
        double pixels = 0;
        for (std::uint32_t p : image.argb) pixels += p & 0xFF;
        return pixels;
    }
};

void report(benchmark::State& state, double triangles, double pixels)
{
    state.counters["triangles/s"] = benchmark::Counter(triangles * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pixels/s"] = benchmark::Counter(pixels * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FullScreenTexturedAlphaQuad(benchmark::State& state)
{
    Bench b(state.range(0) == 1 ? 1 : 0, 256);
    IDirect3DDevice7* d = b.device;
    b.states_common();
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    D3DTLVERTEX quad[4] = {{0, 480, 0.5f, 0.5f, 0x80FFFFFF, 0, 0, 1}, {0, 0, 0.5f, 0.5f, 0x80FFFFFF, 0, 0, 0},
                           {640, 480, 0.5f, 0.5f, 0x80FFFFFF, 0, 1, 1}, {640, 0, 0.5f, 0.5f, 0x80FFFFFF, 0, 1, 0}};
    for (auto _ : state) {
        d->BeginScene();
        d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, quad, 4, 0);
        d->EndScene();
    }
    report(state, 2, 640.0 * 480.0);
}

void BM_LitTexturedTriangles20k(benchmark::State& state)
{
    Bench b(state.range(0) == 1 ? 1 : 0, 128);
    IDirect3DDevice7* d = b.device;
    b.states_common();
    const Mesh sphere = mesh_sphere(20, 50, 1.0f);  // 2000 triangles
    D3DMATRIX view, proj;
    const Vector3 eye(0, 0, -9), at(0, 0, 0), up(0, 1, 0);
    matrix_look_at(&view, &eye, &at, &up);
    matrix_perspective(&proj, 0.9f, 0.75f, 0.5f, 100.0f);
    d->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
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
    auto draw = [&](bool) {
        for (int i = 0; i < 10; ++i) {
            D3DMATRIX world;
            matrix_translation(&world, static_cast<float>(i % 5) * 2.6f - 5.2f, static_cast<float>(i / 5) * 2.6f - 1.3f,
                               static_cast<float>(i % 3));
            d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
            d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, const_cast<MeshVertex*>(sphere.vertices.data()),
                                    static_cast<DWORD>(sphere.vertices.size()), const_cast<WORD*>(sphere.indices.data()),
                                    static_cast<DWORD>(sphere.indices.size()), 0);
        }
    };
    const double pixels = b.count_pixels(draw);
    for (auto _ : state) {
        d->BeginScene();
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        draw(false);
        d->EndScene();
    }
    report(state, 20000, pixels);
}

void BM_AdditiveSphereEchoes(benchmark::State& state)
{
    Bench b(state.range(0) == 1 ? 1 : 0, 256);
    IDirect3DDevice7* d = b.device;
    b.states_common();
    const Mesh sphere = mesh_sphere(20, 50, 1.0f);
    std::vector<D3DLVERTEX> shell(sphere.vertices.size());
    for (std::size_t i = 0; i < shell.size(); ++i) {
        const MeshVertex& v = sphere.vertices[i];
        const DWORD a = static_cast<DWORD>(40 + 40 * std::sin(v.x * 3 + v.y * 2));
        shell[i] = D3DLVERTEX{v.x, v.y, v.z, 0, (a << 24) | 0x204080, 0, v.u, v.v};
    }
    D3DMATRIX view, proj;
    const Vector3 eye(0, 0, -3.2f), at(0, 0, 0), up(0, 1, 0);
    matrix_look_at(&view, &eye, &at, &up);
    matrix_perspective(&proj, 0.9f, 0.75f, 0.5f, 100.0f);
    d->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    auto draw = [&](bool) {
        for (int pass = 0; pass < 10; ++pass) {
            D3DMATRIX world;
            const float s = 1.0f + 0.05f * static_cast<float>(pass);
            matrix_scaling(&world, s, s, s);
            d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
            d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, shell.data(), static_cast<DWORD>(shell.size()),
                                    const_cast<WORD*>(sphere.indices.data()), static_cast<DWORD>(sphere.indices.size()), 0);
        }
    };
    const double pixels = b.count_pixels(draw);
    for (auto _ : state) {
        d->BeginScene();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        draw(false);
        d->EndScene();
    }
    report(state, 20000, pixels);
}

}  // namespace

BENCHMARK(BM_FullScreenTexturedAlphaQuad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LitTexturedTriangles20k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AdditiveSphereEchoes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
