#include "framework/display_framework.h"

#include "framework/framework_errors.h"
#include "platform/window/window.h"

namespace {

template <typename T>
void release(T*& object)
{
    if (object != nullptr) object->Release();
    object = nullptr;
}

HRESULT surface_failure(HRESULT hr, HRESULT otherwise)
{
    return hr == DDERR_OUTOFVIDEOMEMORY ? hr : otherwise;
}

struct ZFormatSearch {
    DWORD bits;
    bool found;
    DDPIXELFORMAT format;
};

HRESULT find_z_format(DDPIXELFORMAT* format, void* context)
{
    auto* search = static_cast<ZFormatSearch*>(context);
    if (format == nullptr || format->dwZBufferBitDepth != search->bits) return D3DENUMRET_OK;
    search->format = *format;
    search->found = true;
    return D3DENUMRET_CANCEL;
}

}  // namespace

bool display_choose_z_format(IDirect3D7* direct3d, const GUID& device_guid, DWORD colour_bits, DDPIXELFORMAT* format)
{
    for (DWORD bits : {colour_bits, 16u}) {
        ZFormatSearch search{bits, false, {}};
        direct3d->EnumZBufferFormats(device_guid, find_z_format, &search);
        if (search.found) {
            *format = search.format;
            return true;
        }
    }
    return false;
}

DisplayFramework::~DisplayFramework()
{
    release_all();
}

HRESULT DisplayFramework::start(HWND window, GUID* driver_guid, GUID* device_guid, DDSURFACEDESC2* mode, DWORD flags)
{
    const bool fullscreen = (flags & FRAMEWORK_FULLSCREEN) != 0;
    if (window == nullptr || device_guid == nullptr || (fullscreen && mode == nullptr)) return E_INVALIDARG;
    window_ = window;
    fullscreen_ = fullscreen;
    const bool hardware_memory = *device_guid == IID_IDirect3DHALDevice || *device_guid == IID_IDirect3DTnLHalDevice;
    z_buffer_memory_ = hardware_memory ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY;

    HRESULT hr = S_OK;
    if (FAILED(DirectDrawCreateEx(driver_guid, reinterpret_cast<void**>(&direct_draw_), IID_IDirectDraw7, nullptr)) ||
        direct_draw_ == nullptr) {
        direct_draw_ = nullptr;
        hr = FWERR_NO_DIRECTDRAW;
    }
    if (SUCCEEDED(hr)) {
        const DWORD level = fullscreen_ ? (DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT) : DDSCL_NORMAL;
        if (FAILED(direct_draw_->SetCooperativeLevel(window_, level | DDSCL_FPUSETUP))) hr = FWERR_COOPERATIVE_LEVEL;
    }
    if (SUCCEEDED(hr)) {
        DDSURFACEDESC2 desktop{};
        desktop.dwSize = sizeof desktop;
        if (FAILED(direct_draw_->GetDisplayMode(&desktop)) || desktop.ddpfPixelFormat.dwRGBBitCount <= 8) {
            hr = FWERR_PALETTED_DESKTOP;
        }
    }
    if (SUCCEEDED(hr)) hr = fullscreen_ ? create_buffers_fullscreen(*mode) : create_buffers_windowed();
    if (SUCCEEDED(hr)) hr = create_device(*device_guid);
    if (SUCCEEDED(hr) && (flags & FRAMEWORK_ZBUFFER)) hr = create_z_buffer(*device_guid);
    if (FAILED(hr)) release_all();
    return hr;
}

HRESULT DisplayFramework::create_buffers_fullscreen(const DDSURFACEDESC2& mode)
{
    width_ = mode.dwWidth;
    height_ = mode.dwHeight;
    if (FAILED(direct_draw_->SetDisplayMode(width_, height_, mode.ddpfPixelFormat.dwRGBBitCount, mode.dwRefreshRate,
                                            0))) {
        return FWERR_BAD_DISPLAY_MODE;
    }
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    desc.dwBackBufferCount = 1;
    HRESULT hr = direct_draw_->CreateSurface(&desc, &primary_, nullptr);
    if (FAILED(hr)) {
        primary_ = nullptr;
        return surface_failure(hr, FWERR_NO_PRIMARY);
    }
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(primary_->GetAttachedSurface(&caps, &back_buffer_)) || back_buffer_ == nullptr) {
        back_buffer_ = nullptr;
        return FWERR_NO_BACK_BUFFER;
    }
    return S_OK;
}

HRESULT DisplayFramework::create_buffers_windowed()
{
    RECT client{};
    GetClientRect(window_, &client);
    POINT top_left{client.left, client.top};
    POINT bottom_right{client.right, client.bottom};
    ClientToScreen(window_, &top_left);
    ClientToScreen(window_, &bottom_right);
    screen_rect_ = RECT{top_left.x, top_left.y, bottom_right.x, bottom_right.y};
    width_ = static_cast<DWORD>(client.right - client.left);
    height_ = static_cast<DWORD>(client.bottom - client.top);

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    HRESULT hr = direct_draw_->CreateSurface(&desc, &primary_, nullptr);
    if (FAILED(hr)) {
        primary_ = nullptr;
        return surface_failure(hr, FWERR_NO_PRIMARY);
    }
    IDirectDrawClipper* clipper = nullptr;
    if (FAILED(direct_draw_->CreateClipper(0, &clipper, nullptr)) || clipper == nullptr) return FWERR_NO_CLIPPER;
    hr = clipper->SetHWnd(0, window_);
    if (SUCCEEDED(hr)) hr = primary_->SetClipper(clipper);
    clipper->Release();
    if (FAILED(hr)) return FWERR_NO_CLIPPER;

    desc = DDSURFACEDESC2{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = width_;
    desc.dwHeight = height_;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    hr = direct_draw_->CreateSurface(&desc, &back_buffer_, nullptr);
    if (FAILED(hr)) {
        back_buffer_ = nullptr;
        return surface_failure(hr, FWERR_NO_BACK_BUFFER);
    }
    return S_OK;
}

HRESULT DisplayFramework::create_device(const GUID& device_guid)
{
    if (FAILED(direct_draw_->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&direct3d_))) ||
        direct3d_ == nullptr) {
        direct3d_ = nullptr;
        return FWERR_NO_DIRECT3D;
    }
    if (FAILED(direct3d_->CreateDevice(device_guid, back_buffer_, &device_)) || device_ == nullptr) {
        device_ = nullptr;
        return FWERR_NO_DEVICE;
    }
    D3DVIEWPORT7 viewport{0, 0, width_, height_, 0.0f, 1.0f};
    if (FAILED(device_->SetViewport(&viewport))) return FWERR_NO_VIEWPORT;
    return S_OK;
}

HRESULT DisplayFramework::create_z_buffer(const GUID& device_guid)
{
    D3DDEVICEDESC7 caps{};
    device_->GetCaps(&caps);
    if (caps.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_ZBUFFERLESSHSR) return S_OK;

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    back_buffer_->GetSurfaceDesc(&desc);
    const DWORD colour_bits = desc.ddpfPixelFormat.dwRGBBitCount;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.ddsCaps = DDSCAPS2{};
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | z_buffer_memory_;
    if (!display_choose_z_format(direct3d_, device_guid, colour_bits, &desc.ddpfPixelFormat)) return FWERR_NO_ZBUFFER;
    HRESULT hr = direct_draw_->CreateSurface(&desc, &z_buffer_, nullptr);
    if (FAILED(hr)) {
        z_buffer_ = nullptr;
        return surface_failure(hr, FWERR_NO_ZBUFFER);
    }
    if (FAILED(back_buffer_->AddAttachedSurface(z_buffer_))) return FWERR_NO_ZBUFFER;
    if (FAILED(device_->SetRenderTarget(back_buffer_, 0))) return FWERR_NO_ZBUFFER;
    return S_OK;
}

HRESULT DisplayFramework::release_all()
{
    if (direct_draw_ != nullptr) direct_draw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
    ULONG device_left = 0;
    if (device_ != nullptr) device_left = device_->Release();
    device_ = nullptr;
    release(back_buffer_);
    release(z_buffer_);
    release(primary_);
    release(direct3d_);
    ULONG direct_draw_left = 0;
    if (direct_draw_ != nullptr) direct_draw_left = direct_draw_->Release();
    direct_draw_ = nullptr;
    return device_left != 0 || direct_draw_left != 0 ? FWERR_STILL_REFERENCED : S_OK;
}

HRESULT DisplayFramework::show_frame()
{
    if (primary_ == nullptr) return FWERR_NOT_STARTED;
    if (fullscreen_) return primary_->Flip(nullptr, DDFLIP_WAIT);
    RECT target = screen_rect_;
    return primary_->Blt(&target, back_buffer_, nullptr, DDBLT_WAIT, nullptr);
}

HRESULT DisplayFramework::restore_surfaces()
{
    if (direct_draw_ != nullptr) direct_draw_->RestoreAllSurfaces();
    return S_OK;
}

void DisplayFramework::window_moved(int x, int y)
{
    if (fullscreen_) return;
    screen_rect_ = RECT{x, y, x + static_cast<LONG>(width_), y + static_cast<LONG>(height_)};
}

HRESULT DisplayFramework::flip_to_gdi(bool redraw)
{
    if (!fullscreen_ || direct_draw_ == nullptr) return S_OK;
    const HRESULT hr = direct_draw_->FlipToGDISurface();
    if (redraw) {
        DrawMenuBar(window_);
        RedrawWindow(window_, nullptr, nullptr, RDW_FRAME);
    }
    return hr;
}

HRESULT DisplayFramework::present_frame()
{
    if (direct_draw_ == nullptr) return FWERR_NOT_STARTED;
    HRESULT hr = direct_draw_->TestCooperativeLevel();
    if (hr == DDERR_NOEXCLUSIVEMODE || hr == DDERR_EXCLUSIVEMODEALREADYSET) return S_OK;
    if (FAILED(hr)) return hr;
    hr = show_frame();
    if (hr == DDERR_SURFACELOST) {
        restore_surfaces();
        return S_OK;
    }
    return FAILED(hr) ? hr : S_OK;
}
