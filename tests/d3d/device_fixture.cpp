#include "d3d/device_fixture.h"

#include <cstdlib>
#include <cstring>

DDSURFACEDESC2 surface_desc(DWORD caps, DWORD width, DWORD height)
{
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof(d);
    d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    d.ddsCaps.dwCaps = caps;
    d.dwWidth = width;
    d.dwHeight = height;
    return d;
}

namespace {

DDPIXELFORMAT rgb_format(DWORD flags, DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a)
{
    DDPIXELFORMAT f{};
    f.dwSize = sizeof(f);
    f.dwFlags = flags;
    f.dwRGBBitCount = bits;
    f.dwRBitMask = r;
    f.dwGBitMask = g;
    f.dwBBitMask = b;
    f.dwRGBAlphaBitMask = a;
    return f;
}

}  // namespace

DDPIXELFORMAT format_x8r8g8b8()
{
    return rgb_format(DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0);
}

DDPIXELFORMAT format_a8r8g8b8()
{
    return rgb_format(DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
}

DDPIXELFORMAT format_r5g6b5()
{
    return rgb_format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0);
}

DDPIXELFORMAT format_z(DWORD bits)
{
    DDPIXELFORMAT f{};
    f.dwSize = sizeof(f);
    f.dwFlags = DDPF_ZBUFFER;
    f.dwZBufferBitDepth = bits;
    f.dwZBitMask = bits == 16 ? 0xFFFF : 0xFFFFFFFF;
    return f;
}

HRESULT create_direct_draw(IDirectDraw7** out)
{
    void* dd = nullptr;
    HRESULT hr = DirectDrawCreateEx(nullptr, &dd, IID_IDirectDraw7, nullptr);
    if (FAILED(hr)) return hr;
    *out = static_cast<IDirectDraw7*>(dd);
    hr = (*out)->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    if (FAILED(hr)) {
        (*out)->Release();
        *out = nullptr;
    }
    return hr;
}

bool device_available(const GUID& guid)
{
    ComRef<IDirectDraw7> dd;
    if (FAILED(create_direct_draw(dd.out()))) return false;
    ComRef<IDirect3D7> d3d;
    if (FAILED(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(d3d.out())))) return false;
    struct Search {
        const GUID* guid;
        bool found;
    } search{&guid, false};
    d3d->EnumDevices(
        [](LPSTR, LPSTR, D3DDEVICEDESC7* desc, void* context) -> HRESULT {
            auto* s = static_cast<Search*>(context);
            if (desc->deviceGUID == *s->guid) s->found = true;
            return D3DENUMRET_OK;
        },
        &search);
    return search.found;
}

DeviceHarness::DeviceHarness(const GUID& device, DWORD width, DWORD height, bool zbuffer, DDPIXELFORMAT format)
{
    if (FAILED(create_direct_draw(dd_.out()))) return;
    if (FAILED(dd_->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(d3d_.out())))) return;
    target_.adopt(create_surface(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, width, height, &format));
    if (!target_) return;
    if (zbuffer) {
        const DDPIXELFORMAT z = format_z(32);
        zbuffer_.adopt(create_surface(DDSCAPS_ZBUFFER, width, height, &z));
        if (!zbuffer_ || FAILED(target_->AddAttachedSurface(zbuffer_.get()))) return;
    }
    if (FAILED(d3d_->CreateDevice(device, target_.get(), device_.out()))) return;
    D3DVIEWPORT7 vp{0, 0, width, height, 0.0f, 1.0f};
    ok_ = SUCCEEDED(device_->SetViewport(&vp));
}

IDirectDrawSurface7* DeviceHarness::create_surface(DWORD caps, DWORD width, DWORD height, const DDPIXELFORMAT* format)
{
    DDSURFACEDESC2 d = surface_desc(caps, width, height);
    if (format != nullptr) {
        d.dwFlags |= DDSD_PIXELFORMAT;
        d.ddpfPixelFormat = *format;
    }
    IDirectDrawSurface7* s = nullptr;
    if (FAILED(dd_->CreateSurface(&d, &s, nullptr))) return nullptr;
    return s;
}

IDirectDrawSurface7* DeviceHarness::create_texture(DWORD width, DWORD height, const std::vector<std::uint32_t>& argb,
                                                   DDPIXELFORMAT format, DWORD extra_caps)
{
    IDirectDrawSurface7* t = create_surface(DDSCAPS_TEXTURE | extra_caps, width, height, &format);
    if (t == nullptr) return nullptr;
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof(d);
    if (FAILED(t->Lock(nullptr, &d, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr))) {
        t->Release();
        return nullptr;
    }
    for (DWORD y = 0; y < height; ++y) {
        BYTE* row = static_cast<BYTE*>(d.lpSurface) + static_cast<std::ptrdiff_t>(y) * d.lPitch;
        for (DWORD x = 0; x < width; ++x) {
            const std::uint32_t p = argb[y * width + x];
            if (d.ddpfPixelFormat.dwRGBBitCount == 32) {
                std::memcpy(row + x * 4, &p, 4);
            } else {  // R5G6B5
                const std::uint16_t v = static_cast<std::uint16_t>(((p >> 19) & 31) << 11 | ((p >> 10) & 63) << 5 | ((p >> 3) & 31));
                std::memcpy(row + x * 2, &v, 2);
            }
        }
    }
    t->Unlock(nullptr);
    return t;
}

TestImage DeviceHarness::capture(IDirectDrawSurface7* surface) const
{
    SurfaceImage image;
    if (FAILED(surface_capture(surface != nullptr ? surface : target_.get(), &image))) return TestImage();
    TestImage out(static_cast<int>(image.width), static_cast<int>(image.height));
    out.argb = image.argb;
    return out;
}

std::uint32_t DeviceHarness::pixel(int x, int y) const
{
    const TestImage image = capture();
    return image.at(x, y);
}

float DeviceHarness::depth_at(int x, int y) const
{
    std::vector<float> depth;
    DWORD w = 0, h = 0;
    if (FAILED(surface_capture_depth(zbuffer_.get(), &depth, &w, &h))) return -1.0f;
    return depth[static_cast<std::size_t>(y) * w + x];
}

D3DTLVERTEX tl_vertex(float x, float y, float z, float rhw, D3DCOLOR color, float u, float v, D3DCOLOR specular)
{
    return D3DTLVERTEX{x, y, z, rhw, color, specular, u, v};
}

void screen_quad(D3DTLVERTEX out[4], float x0, float y0, float x1, float y1, float z, D3DCOLOR color)
{
    out[0] = tl_vertex(x0, y1, z, 0.5f, color, 0.0f, 1.0f);
    out[1] = tl_vertex(x0, y0, z, 0.5f, color, 0.0f, 0.0f);
    out[2] = tl_vertex(x1, y1, z, 0.5f, color, 1.0f, 1.0f);
    out[3] = tl_vertex(x1, y0, z, 0.5f, color, 1.0f, 0.0f);
}

HRESULT draw_tl(IDirect3DDevice7* device, D3DPRIMITIVETYPE type, D3DTLVERTEX* vertices, DWORD count)
{
    return device->DrawPrimitive(type, D3DFVF_TLVERTEX, vertices, count, 0);
}

void set_color_stage(IDirect3DDevice7* d, DWORD stage, DWORD op, DWORD arg1, DWORD arg2)
{
    d->SetTextureStageState(stage, D3DTSS_COLOROP, op);
    d->SetTextureStageState(stage, D3DTSS_COLORARG1, arg1);
    d->SetTextureStageState(stage, D3DTSS_COLORARG2, arg2);
}

void set_alpha_stage(IDirect3DDevice7* d, DWORD stage, DWORD op, DWORD arg1, DWORD arg2)
{
    d->SetTextureStageState(stage, D3DTSS_ALPHAOP, op);
    d->SetTextureStageState(stage, D3DTSS_ALPHAARG1, arg1);
    d->SetTextureStageState(stage, D3DTSS_ALPHAARG2, arg2);
}

void set_blend(IDirect3DDevice7* d, bool enable, DWORD src, DWORD dst)
{
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, enable ? TRUE : FALSE);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, src);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, dst);
}

void set_diffuse_only(IDirect3DDevice7* d)
{
    set_color_stage(d, 0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(d, 0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_blend(d, false, D3DBLEND_ONE, D3DBLEND_ZERO);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
}

int color_distance(std::uint32_t a, std::uint32_t b, bool with_alpha)
{
    int worst = 0;
    for (int shift : {16, 8, 0, 24}) {
        if (shift == 24 && !with_alpha) continue;
        const int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        if (d > worst) worst = d;
    }
    return worst;
}
