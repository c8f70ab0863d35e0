#include "gl_test_rig.h"

#include <mutex>

#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/gl/gl_backend.h"

namespace {

void register_backend_once()
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
}

}  // namespace

D3DTLVERTEX tl_vertex(float x, float y, float z, D3DCOLOR color, float u, float v, float rhw)
{
    D3DTLVERTEX t{};
    t.sx = x;
    t.sy = y;
    t.sz = z;
    t.rhw = rhw;
    t.color = color;
    t.specular = 0;
    t.tu = u;
    t.tv = v;
    return t;
}

GlTestRig::GlTestRig(const GUID& device, DWORD width, DWORD height, bool zbuffer, PixelKind kind)
{
    register_backend_once();
    if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&ddraw_), IID_IDirectDraw7, nullptr))) return;
    ddraw_->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    desc.ddpfPixelFormat = pixel_format_of(kind);
    if (FAILED(ddraw_->CreateSurface(&desc, &target_, nullptr))) return;
    if (FAILED(ddraw_->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d_)))) return;
    if (zbuffer) {
        DDSURFACEDESC2 z{};
        z.dwSize = sizeof z;
        z.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        z.dwWidth = width;
        z.dwHeight = height;
        z.ddsCaps.dwCaps = DDSCAPS_ZBUFFER;
        z.ddpfPixelFormat = pixel_format_of(PixelKind::Z32);
        if (FAILED(ddraw_->CreateSurface(&z, &zbuffer_, nullptr))) return;
        if (FAILED(target_->AddAttachedSurface(zbuffer_))) return;
    }
    create_result_ = d3d_->CreateDevice(device, target_, &device_);
    if (FAILED(create_result_)) device_ = nullptr;
}

GlTestRig::~GlTestRig()
{
    if (device_ != nullptr) device_->Release();
    if (zbuffer_ != nullptr) zbuffer_->Release();
    if (target_ != nullptr) target_->Release();
    if (d3d_ != nullptr) d3d_->Release();
    if (ddraw_ != nullptr) ddraw_->Release();
}

IDirectDrawSurface7* GlTestRig::make_texture(DWORD width, DWORD height, PixelKind kind,
                                             std::uint32_t (*fill)(DWORD x, DWORD y))
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
    desc.ddpfPixelFormat = pixel_format_of(kind);
    IDirectDrawSurface7* texture = nullptr;
    if (FAILED(ddraw_->CreateSurface(&desc, &texture, nullptr))) return nullptr;
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    if (SUCCEEDED(texture->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) {
        for (DWORD y = 0; y < height; ++y) {
            BYTE* row = static_cast<BYTE*>(locked.lpSurface) + static_cast<std::ptrdiff_t>(y) * locked.lPitch;
            for (DWORD x = 0; x < width; ++x) pixel_from_argb(kind, fill(x, y), row + x * pixel_kind_bytes(kind));
        }
        texture->Unlock(nullptr);
    }
    return texture;
}

IDirectDrawSurface7* GlTestRig::make_target_texture(DWORD width, DWORD height)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE;
    desc.ddpfPixelFormat = pixel_format_of(PixelKind::X8R8G8B8);
    IDirectDrawSurface7* texture = nullptr;
    if (FAILED(ddraw_->CreateSurface(&desc, &texture, nullptr))) return nullptr;
    return texture;
}

void GlTestRig::clear(D3DCOLOR color, float z)
{
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | (zbuffer_ != nullptr ? D3DCLEAR_ZBUFFER : 0u), color, z, 0);
}

void GlTestRig::draw_tl(D3DPRIMITIVETYPE type, const std::vector<D3DTLVERTEX>& vertices)
{
    device_->BeginScene();
    device_->DrawPrimitive(type, D3DFVF_TLVERTEX, const_cast<D3DTLVERTEX*>(vertices.data()),
                           static_cast<DWORD>(vertices.size()), 0);
    device_->EndScene();
}

std::uint32_t GlTestRig::pixel(DWORD x, DWORD y, IDirectDrawSurface7* surface)
{
    Surface* s = surface_from_interface(surface != nullptr ? surface : target_);
    s->prepare_cpu_access(false);
    return s->read_argb(x, y);
}

float GlTestRig::depth(DWORD x, DWORD y)
{
    Surface* s = surface_from_interface(zbuffer_);
    s->prepare_cpu_access(false);
    return s->read_depth(x, y);
}

TestImage GlTestRig::image(IDirectDrawSurface7* surface)
{
    Surface* s = surface_from_interface(surface != nullptr ? surface : target_);
    s->prepare_cpu_access(false);
    TestImage out(static_cast<int>(s->width()), static_cast<int>(s->height()));
    for (DWORD y = 0; y < s->height(); ++y) {
        for (DWORD x = 0; x < s->width(); ++x) out.at(static_cast<int>(x), static_cast<int>(y)) = s->read_argb(x, y);
    }
    return out;
}
