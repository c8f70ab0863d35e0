#include "gl_test_rig.h"

#include <cstring>
#include <initializer_list>
#include <mutex>

#include "platform/d3d/core/device.h"
#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/gl/gl_backend.h"
#include "platform/d3d/gl/gl_device_backend.h"

GlTestRig::GlTestRig(const GUID& device, DWORD width, DWORD height, bool zbuffer, PixelKind kind)
{
    static std::once_flag once;
    std::call_once(once, [] {
        // The entry points register the built-in backends first; the OpenGL one is added if missing.
        IDirectDraw7* probe = nullptr;
        if (SUCCEEDED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&probe), IID_IDirectDraw7, nullptr))) {
            probe->Release();
        }
        DeviceBackendInfo info;
        if (!d3d_backend_find(IID_IDirect3DTnLHalDevice, &info)) gl_backend_register();
    });
    if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&ddraw_), IID_IDirectDraw7, nullptr))) return;
    ddraw_->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    target_ = texture(width, height, kind, nullptr, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
    if (target_ == nullptr) return;
    if (FAILED(ddraw_->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d_)))) return;
    if (zbuffer) {
        zbuffer_ = texture(width, height, PixelKind::Z32, nullptr, DDSCAPS_ZBUFFER);
        if (zbuffer_ == nullptr || FAILED(target_->AddAttachedSurface(zbuffer_))) return;
    }
    create_result_ = d3d_->CreateDevice(device, target_, &device_);
    if (FAILED(create_result_)) device_ = nullptr;
}

GlTestRig::~GlTestRig()
{
    for (IUnknown* p : std::initializer_list<IUnknown*>{device_, zbuffer_, target_, d3d_, ddraw_}) {
        if (p != nullptr) p->Release();
    }
}

GlRenderer* GlTestRig::renderer()
{
    auto* gl = dynamic_cast<GlBackend*>(&static_cast<Device*>(device_)->backend());
    return gl != nullptr ? &gl->renderer() : nullptr;
}

void GlTestRig::clear(D3DCOLOR color, float z)
{
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | (zbuffer_ != nullptr ? D3DCLEAR_ZBUFFER : 0u), color, z, 0);
}

void GlTestRig::draw_tl(D3DPRIMITIVETYPE type, std::vector<D3DTLVERTEX> vertices)
{
    device_->BeginScene();
    device_->DrawPrimitive(type, D3DFVF_TLVERTEX, vertices.data(), static_cast<DWORD>(vertices.size()), 0);
    device_->EndScene();
}

static Surface* readable(IDirectDrawSurface7* surface)
{
    Surface* s = surface_from_interface(surface);
    s->prepare_cpu_access(false);
    return s;
}

std::uint32_t GlTestRig::pixel(DWORD x, DWORD y, IDirectDrawSurface7* surface)
{
    return readable(surface != nullptr ? surface : target_)->read_argb(x, y);
}

float GlTestRig::depth(DWORD x, DWORD y) { return readable(zbuffer_)->read_depth(x, y); }

TestImage GlTestRig::image()
{
    Surface* s = readable(target_);
    TestImage out(static_cast<int>(s->width()), static_cast<int>(s->height()));
    for (DWORD y = 0; y < s->height(); ++y) {
        for (DWORD x = 0; x < s->width(); ++x) out.at(static_cast<int>(x), static_cast<int>(y)) = s->read_argb(x, y);
    }
    return out;
}

void GlTestRig::unlit(D3DCOLOR clear_color)
{
    clear(clear_color);
    device_->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    scene_stages(device_, {{0, D3DTSS_COLOROP, D3DTOP_SELECTARG2}, {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
                           {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2}, {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE}});
}

void lock_write(IDirectDrawSurface7* surface, DWORD x, DWORD y, DWORD width, DWORD height, std::uint32_t value)
{
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    ASSERT_EQ(surface->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DD_OK);
    for (DWORD row = y; row < y + height; ++row) {
        for (DWORD column = x; column < x + width; ++column) {
            std::memcpy(static_cast<BYTE*>(d.lpSurface) + row * d.lPitch + column * 4, &value, 4);
        }
    }
    surface->Unlock(nullptr);
}
