// libFuzzer target: arbitrary bytes become render states, vertex data of the demo's four vertex formats,
// indices and a primitive type, drawn by the software device into a small target. Whatever the bytes,
// drawing must return a result code and never crash or read outside the data it was given.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/d3d/d3d.h"

namespace {

// The device, a 32 × 24 target with a 32-bit z-buffer and an 8 × 4 texture, made once.
struct Fixture {
    IDirectDraw7* dd = nullptr;
    IDirect3D7* d3d = nullptr;
    IDirectDrawSurface7* target = nullptr;
    IDirectDrawSurface7* zbuffer = nullptr;
    IDirectDrawSurface7* texture = nullptr;
    IDirect3DDevice7* device = nullptr;

    Fixture()
    {
        void* p = nullptr;
        if (FAILED(DirectDrawCreateEx(nullptr, &p, IID_IDirectDraw7, nullptr))) return;
        dd = static_cast<IDirectDraw7*>(p);
        dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
        dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d));
        DDSURFACEDESC2 d{};
        d.dwSize = sizeof(d);
        d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        auto make = [&](DWORD caps, DWORD w, DWORD h, IDirectDrawSurface7** out) {
            d.ddsCaps.dwCaps = caps;
            d.dwWidth = w;
            d.dwHeight = h;
            return dd->CreateSurface(&d, out, nullptr);
        };
        make(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 32, 24, &target);
        make(DDSCAPS_TEXTURE, 8, 4, &texture);
        d.dwFlags |= DDSD_PIXELFORMAT;
        d.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
        d.ddpfPixelFormat.dwFlags = DDPF_ZBUFFER;
        d.ddpfPixelFormat.dwZBufferBitDepth = 32;
        make(DDSCAPS_ZBUFFER, 32, 24, &zbuffer);
        if (d3d == nullptr || target == nullptr || zbuffer == nullptr || FAILED(target->AddAttachedSurface(zbuffer))) return;
        d3d->CreateDevice(IID_IDirect3DRGBDevice, target, &device);
    }
};

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    template <typename T>
    T take()
    {
        T v{};
        if (at + sizeof(T) <= size) std::memcpy(&v, data + at, sizeof(T));
        at = std::min(at + sizeof(T), size);
        return v;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture f;
    if (f.device == nullptr || size < 8) return 0;
    Reader r{data, size};
    IDirect3DDevice7* d = f.device;
    const DWORD fvfs[4] = {D3DFVF_TLVERTEX, D3DFVF_LVERTEX, D3DFVF_VERTEX, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2};
    const DWORD strides[4] = {32, 32, 32, 40};
    const int format = r.take<std::uint8_t>() & 3;
    const auto type = static_cast<D3DPRIMITIVETYPE>(1 + r.take<std::uint8_t>() % 6);
    // A handful of states from the bytes, any values.
    const D3DRENDERSTATETYPE states[] = {D3DRENDERSTATE_CULLMODE,  D3DRENDERSTATE_FILLMODE,  D3DRENDERSTATE_ZENABLE,
                                         D3DRENDERSTATE_ALPHABLENDENABLE, D3DRENDERSTATE_SRCBLEND, D3DRENDERSTATE_DESTBLEND,
                                         D3DRENDERSTATE_LIGHTING, D3DRENDERSTATE_SPECULARENABLE, D3DRENDERSTATE_ZFUNC,
                                         D3DRENDERSTATE_SHADEMODE, D3DRENDERSTATE_ALPHATESTENABLE};
    for (D3DRENDERSTATETYPE s : states) d->SetRenderState(s, r.take<std::uint8_t>() % 16);
    for (DWORD stage = 0; stage < 2; ++stage) {
        for (DWORD s = D3DTSS_COLOROP; s <= D3DTSS_ALPHAARG2; ++s) {
            d->SetTextureStageState(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(s), r.take<std::uint8_t>() % 40);
        }
        d->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, r.take<std::uint8_t>() % 4);
        d->SetTextureStageState(stage, D3DTSS_ADDRESS, r.take<std::uint8_t>() % 6);
        d->SetTextureStageState(stage, D3DTSS_MAGFILTER, r.take<std::uint8_t>() % 4);
        d->SetTexture(stage, (r.take<std::uint8_t>() & 1) ? f.texture : nullptr);
    }
    D3DLIGHT7 light{};
    light.dltType = static_cast<D3DLIGHTTYPE>(1 + r.take<std::uint8_t>() % 3);
    light.dvPosition = D3DVECTOR(r.take<float>(), r.take<float>(), r.take<float>());
    light.dvDirection = D3DVECTOR(r.take<float>(), r.take<float>(), r.take<float>());
    light.dvRange = 100.0f;
    light.dvAttenuation0 = r.take<float>();
    light.dvTheta = r.take<float>();
    light.dvPhi = r.take<float>();
    d->SetLight(0, &light);
    d->LightEnable(0, TRUE);
    D3DMATRIX m;
    for (auto& row : m.m) {
        for (float& v : row) v = r.take<float>();
    }
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &m);

    const DWORD count = 1 + r.take<std::uint8_t>() % 24;
    std::vector<std::uint8_t> vertices(static_cast<std::size_t>(count) * strides[format]);
    for (std::uint8_t& b : vertices) b = r.take<std::uint8_t>();
    std::vector<WORD> indices(r.take<std::uint8_t>() % 40);
    for (WORD& i : indices) i = r.take<WORD>();
    d->BeginScene();
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    d->DrawPrimitive(type, fvfs[format], vertices.data(), count, 0);
    if (!indices.empty()) {
        d->DrawIndexedPrimitive(type, fvfs[format], vertices.data(), count, indices.data(), static_cast<DWORD>(indices.size()), 0);
    }
    d->EndScene();
    return 0;
}
