#include "platform/d3d/device_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

DDSURFACEDESC2 surface_desc(DWORD caps, DWORD width, DWORD height, const DDPIXELFORMAT* format)
{
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof(d);
    d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | (format != nullptr ? DDSD_PIXELFORMAT : 0);
    d.ddsCaps.dwCaps = caps;
    d.dwWidth = width;
    d.dwHeight = height;
    if (format != nullptr) d.ddpfPixelFormat = *format;
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

DDPIXELFORMAT format_x8r8g8b8() { return rgb_format(DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0); }
DDPIXELFORMAT format_a8r8g8b8() { return rgb_format(DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000); }
DDPIXELFORMAT format_r5g6b5() { return rgb_format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0); }

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
    ComRef<IDirect3D7> d3d;
    if (FAILED(create_direct_draw(dd.out())) ||
        FAILED(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(d3d.out())))) {
        return false;
    }
    std::pair<const GUID*, bool> search{&guid, false};
    d3d->EnumDevices(
        [](LPSTR, LPSTR, D3DDEVICEDESC7* desc, void* context) -> HRESULT {
            auto* s = static_cast<std::pair<const GUID*, bool>*>(context);
            s->second |= desc->deviceGUID == *s->first;
            return D3DENUMRET_OK;
        },
        &search);
    return search.second;
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
    DDSURFACEDESC2 d = surface_desc(caps, width, height, format);
    IDirectDrawSurface7* s = nullptr;
    return SUCCEEDED(dd_->CreateSurface(&d, &s, nullptr)) ? s : nullptr;
}

bool write_texture(IDirectDrawSurface7* t, const std::vector<std::uint32_t>& argb)
{
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof(d);
    if (t == nullptr || FAILED(t->Lock(nullptr, &d, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr))) return false;
    for (DWORD y = 0; y < d.dwHeight; ++y) {
        BYTE* row = static_cast<BYTE*>(d.lpSurface) + static_cast<std::ptrdiff_t>(y) * d.lPitch;
        for (DWORD x = 0; x < d.dwWidth; ++x) {
            const std::uint32_t p = argb[y * d.dwWidth + x];
            if (d.ddpfPixelFormat.dwRGBBitCount == 32) {
                std::memcpy(row + x * 4, &p, 4);
            } else {  // R5G6B5
                const auto v = static_cast<std::uint16_t>(((p >> 19) & 31) << 11 | ((p >> 10) & 63) << 5 | ((p >> 3) & 31));
                std::memcpy(row + x * 2, &v, 2);
            }
        }
    }
    t->Unlock(nullptr);
    return true;
}

IDirectDrawSurface7* DeviceHarness::create_texture(DWORD width, DWORD height, const std::vector<std::uint32_t>& argb,
                                                   DDPIXELFORMAT format)
{
    IDirectDrawSurface7* t = create_surface(DDSCAPS_TEXTURE, width, height, &format);
    if (t != nullptr && !write_texture(t, argb)) {
        t->Release();
        return nullptr;
    }
    return t;
}

TestImage DeviceHarness::capture() const
{
    TestImage image;
    if (FAILED(frame_readback(target_.get(), &image))) return TestImage();
    return image;
}

float DeviceHarness::depth_at(int x, int y) const
{
    std::vector<float> depth;
    DWORD w = 0, h = 0;
    if (FAILED(frame_readback_depth(zbuffer_.get(), &depth, &w, &h))) return -1.0f;
    return depth[static_cast<std::size_t>(y) * w + x];
}

void screen_quad(D3DTLVERTEX out[4], float x0, float y0, float x1, float y1, float z, D3DCOLOR color)
{
    out[0] = D3DTLVERTEX{x0, y1, z, 0.5f, color, 0, 0.0f, 1.0f};
    out[1] = D3DTLVERTEX{x0, y0, z, 0.5f, color, 0, 0.0f, 0.0f};
    out[2] = D3DTLVERTEX{x1, y1, z, 0.5f, color, 0, 1.0f, 1.0f};
    out[3] = D3DTLVERTEX{x1, y0, z, 0.5f, color, 0, 1.0f, 0.0f};
}

HRESULT draw_tl(IDirect3DDevice7* device, D3DPRIMITIVETYPE type, D3DTLVERTEX* vertices, DWORD count)
{
    return device->DrawPrimitive(type, D3DFVF_TLVERTEX, vertices, count, 0);
}

HRESULT draw_quad(IDirect3DDevice7* d, float x0, float y0, float x1, float y1, float z, D3DCOLOR color)
{
    D3DTLVERTEX quad[4];
    screen_quad(quad, x0, y0, x1, y1, z, color);
    return draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4);
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

void begin_diffuse(IDirect3DDevice7* d, D3DCOLOR clear, DWORD flags)
{
    EXPECT_EQ(d->BeginScene(), D3D_OK);
    EXPECT_EQ(d->Clear(0, nullptr, flags, clear, 1.0f, 0), D3D_OK);
    set_diffuse_only(d);
}

HRESULT switch_target(IDirect3DDevice7* d, IDirectDrawSurface7* target)
{
    ComRef<IDirectDrawSurface7> current;
    HRESULT hr = d->GetRenderTarget(current.out());
    if (FAILED(hr)) return hr;
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_ZBUFFER;
    ComRef<IDirectDrawSurface7> z;
    if (SUCCEEDED(current->GetAttachedSurface(&caps, z.out()))) {
        if (FAILED(hr = current->DeleteAttachedSurface(0, z.get())) || FAILED(hr = target->AddAttachedSurface(z.get()))) return hr;
    }
    if (FAILED(hr = d->SetRenderTarget(target, 0))) return hr;
    D3DVIEWPORT7 vp{};
    d->GetViewport(&vp);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    target->GetSurfaceDesc(&desc);
    vp.dwWidth = desc.dwWidth;
    vp.dwHeight = desc.dwHeight;
    return d->SetViewport(&vp);
}

int color_distance(std::uint32_t a, std::uint32_t b, bool with_alpha)
{
    int worst = 0;
    for (int shift : {16, 8, 0, 24}) {
        if (shift == 24 && !with_alpha) continue;
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    }
    return worst;
}
