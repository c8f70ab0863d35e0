#include "platform/d3d/core/direct_draw.h"

#include <algorithm>
#include <new>

#include "platform/d3d/core/clipper.h"
#include "platform/d3d/core/direct3d.h"
#include "platform/d3d/core/surface.h"

namespace {

// Surfaces larger than this in either direction are refused (DDERR_TOOBIGSIZE), which keeps every
// size product well inside 32 bits.
constexpr DWORD kMaxSurfaceSide = 8192;

}  // namespace

bool surface_desc_size_ok(const DDSURFACEDESC2* desc)
{
    return desc->dwSize == sizeof(DDSURFACEDESC2) || desc->dwSize == DDSURFACEDESC2_PLATFORM_SIZE;
}

void display_mode_desc(const DisplayMode& mode, bool with_refresh, DDSURFACEDESC2* desc)
{
    const DWORD size = desc->dwSize;
    *desc = DDSURFACEDESC2{};
    desc->dwSize = size;
    desc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    desc->dwWidth = mode.width;
    desc->dwHeight = mode.height;
    desc->lPitch = static_cast<LONG>(mode.width * ((mode.bits_per_pixel + 7) / 8));
    desc->dwRefreshRate = with_refresh ? mode.refresh_rate : 0;
    if (mode.bits_per_pixel == 16) {
        desc->ddpfPixelFormat = pixel_format_of(PixelKind::R5G6B5);
    } else if (mode.bits_per_pixel == 32) {
        desc->ddpfPixelFormat = pixel_format_of(PixelKind::X8R8G8B8);
    } else {
        desc->ddpfPixelFormat = DDPIXELFORMAT{};
        desc->ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
        desc->ddpfPixelFormat.dwFlags = DDPF_RGB | (mode.bits_per_pixel <= 8 ? DDPF_PALETTEINDEXED8 : 0);
        desc->ddpfPixelFormat.dwRGBBitCount = mode.bits_per_pixel;
        if (mode.bits_per_pixel == 24) {
            desc->ddpfPixelFormat.dwRBitMask = 0xFF0000;
            desc->ddpfPixelFormat.dwGBitMask = 0x00FF00;
            desc->ddpfPixelFormat.dwBBitMask = 0x0000FF;
        }
    }
}

DirectDraw::DirectDraw(std::shared_ptr<DisplayDriver> driver) : driver_(std::move(driver)) {}

DirectDraw::~DirectDraw() = default;

HRESULT DirectDraw::query_other(REFIID riid, void** object)
{
    if (riid != IID_IDirect3D7) return E_NOINTERFACE;
    if (direct3d_ != nullptr) {
        direct3d_->AddRef();
    } else {
        direct3d_ = new (std::nothrow) Direct3D(this);
        if (direct3d_ == nullptr) return DDERR_OUTOFMEMORY;
    }
    *object = static_cast<IDirect3D7*>(direct3d_);
    return S_OK;
}

void DirectDraw::last_release()
{
    if (coop_flags_ & DDSCL_EXCLUSIVE) driver_->set_cooperative_level(window_, DDSCL_NORMAL);
}
HRESULT DirectDraw::CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer)
{
    if (clipper == nullptr || flags != 0) return DDERR_INVALIDPARAMS;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    Clipper* c = new (std::nothrow) Clipper();
    if (c == nullptr) return DDERR_OUTOFMEMORY;
    *clipper = c;
    return DD_OK;
}

PixelKind DirectDraw::mode_kind() const
{
    return driver_->current_mode().bits_per_pixel == 16 ? PixelKind::R5G6B5 : PixelKind::X8R8G8B8;
}

HRESULT DirectDraw::create_primary(const DDSURFACEDESC2& desc, IDirectDrawSurface7** out)
{
    if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT)) return DDERR_INVALIDPARAMS;
    if (primary_ != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;
    const DisplayMode mode = driver_->current_mode();
    if (mode.bits_per_pixel != 16 && mode.bits_per_pixel != 32) return DDERR_INVALIDPIXELFORMAT;
    const DWORD caps = desc.ddsCaps.dwCaps;
    const bool chain = (caps & DDSCAPS_FLIP) != 0;
    DWORD back_buffers = 0;
    if (chain) {
        if (!(caps & DDSCAPS_COMPLEX) || !(desc.dwFlags & DDSD_BACKBUFFERCOUNT) || desc.dwBackBufferCount == 0) {
            return DDERR_INVALIDCAPS;
        }
        if (!exclusive()) return DDERR_NOEXCLUSIVEMODE;
        back_buffers = desc.dwBackBufferCount;
        if (back_buffers > 1) return DDERR_INVALIDPARAMS;  // the layer keeps one persistent back buffer
    }
    const DWORD memory = DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
    DWORD front_caps = (caps & (DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE)) |
                       DDSCAPS_VISIBLE | memory;
    if (chain) front_caps |= DDSCAPS_FRONTBUFFER;
    Surface* front = new (std::nothrow) Surface(this, mode.width, mode.height, mode_kind(), front_caps, 0);
    if (front == nullptr || front->pixels() == nullptr) {
        if (front != nullptr) front->Release();
        return DDERR_OUTOFMEMORY;
    }
    if (chain) {
        const DWORD back_caps = (caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE)) | DDSCAPS_BACKBUFFER | memory;
        Surface* back = new (std::nothrow) Surface(this, mode.width, mode.height, mode_kind(), back_caps, 0);
        if (back == nullptr || back->pixels() == nullptr) {
            if (back != nullptr) back->Release();
            front->Release();
            return DDERR_OUTOFMEMORY;
        }
        back->implicit_ = true;
        back->attached_to_ = front;
        front->attached_.push_back(back);  // the chain's reference to its back buffer
    }
    primary_ = front;
    *out = front;
    return DD_OK;
}

HRESULT DirectDraw::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, IUnknown* outer)
{
    if (desc == nullptr || surface == nullptr || !surface_desc_size_ok(desc)) return DDERR_INVALIDPARAMS;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    *surface = nullptr;
    if (coop_flags_ == 0) return DDERR_NOCOOPERATIVELEVELSET;
    DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : DDSCAPS_OFFSCREENPLAIN;
    const DWORD caps2 = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps2 : 0;
    if ((caps & DDSCAPS_SYSTEMMEMORY) && (caps & DDSCAPS_VIDEOMEMORY)) return DDERR_INVALIDCAPS;
    if ((caps & DDSCAPS_ZBUFFER) && (caps & (DDSCAPS_TEXTURE | DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE))) {
        return DDERR_INVALIDCAPS;
    }
    if ((caps & DDSCAPS_MIPMAP) || (caps & DDSCAPS_OVERLAY) || (caps & DDSCAPS_PALETTE)) return DDERR_INVALIDCAPS;
    if (caps & DDSCAPS_PRIMARYSURFACE) return create_primary(*desc, surface);
    if (caps & (DDSCAPS_FLIP | DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER)) return DDERR_INVALIDCAPS;

    if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
    if (desc->dwWidth == 0 || desc->dwHeight == 0) return DDERR_INVALIDPARAMS;
    if (desc->dwWidth > kMaxSurfaceSide || desc->dwHeight > kMaxSurfaceSide) return DDERR_TOOBIGSIZE;

    PixelKind kind = mode_kind();
    if (caps & DDSCAPS_ZBUFFER) {
        if (desc->dwFlags & DDSD_PIXELFORMAT) {
            if (!pixel_kind_from_format(desc->ddpfPixelFormat, &kind) || !pixel_kind_is_depth(kind)) {
                return DDERR_INVALIDPIXELFORMAT;
            }
        } else if (desc->dwFlags & DDSD_ZBUFFERBITDEPTH) {
            DDPIXELFORMAT f{};
            f.dwFlags = DDPF_ZBUFFER;
            f.dwZBufferBitDepth = desc->dwMipMapCount;  // the old dwZBufferBitDepth shares this word
            if (!pixel_kind_from_format(f, &kind)) return DDERR_INVALIDPIXELFORMAT;
        } else {
            return DDERR_INVALIDPIXELFORMAT;
        }
    } else if (desc->dwFlags & DDSD_PIXELFORMAT) {
        if (!pixel_kind_from_format(desc->ddpfPixelFormat, &kind) || pixel_kind_is_depth(kind)) {
            return DDERR_INVALIDPIXELFORMAT;
        }
    }
    if (!(caps & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY)) && !(caps2 & DDSCAPS2_TEXTUREMANAGE)) {
        caps |= DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
    }
    if (!(caps & (DDSCAPS_TEXTURE | DDSCAPS_ZBUFFER | DDSCAPS_3DDEVICE | DDSCAPS_OFFSCREENPLAIN))) {
        caps |= DDSCAPS_OFFSCREENPLAIN;
    }
    Surface* s = new (std::nothrow) Surface(this, desc->dwWidth, desc->dwHeight, kind, caps, caps2);
    if (s == nullptr) return DDERR_OUTOFMEMORY;
    if (s->pixels() == nullptr) {
        s->Release();
        return (caps & DDSCAPS_SYSTEMMEMORY) ? DDERR_OUTOFMEMORY : DDERR_OUTOFVIDEOMEMORY;
    }
    *surface = s;
    return DD_OK;
}

HRESULT DirectDraw::EnumDisplayModes(DWORD flags, DDSURFACEDESC2* filter, void* context,
                                     LPDDENUMMODESCALLBACK2 callback)
{
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    if (filter != nullptr && !surface_desc_size_ok(filter)) return DDERR_INVALIDPARAMS;
    for (const DisplayMode& mode : driver_->modes()) {
        if (filter != nullptr) {
            if ((filter->dwFlags & DDSD_WIDTH) && filter->dwWidth != mode.width) continue;
            if ((filter->dwFlags & DDSD_HEIGHT) && filter->dwHeight != mode.height) continue;
            if ((filter->dwFlags & DDSD_PIXELFORMAT) && filter->ddpfPixelFormat.dwRGBBitCount != mode.bits_per_pixel) {
                continue;
            }
            if ((filter->dwFlags & DDSD_REFRESHRATE) && filter->dwRefreshRate != mode.refresh_rate) continue;
        }
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof(DDSURFACEDESC2);
        display_mode_desc(mode, (flags & DDEDM_REFRESHRATES) != 0, &desc);
        if (callback(&desc, context) == DDENUMRET_CANCEL) break;
    }
    return DD_OK;
}

HRESULT DirectDraw::FlipToGDISurface()
{
    if (!exclusive()) return DDERR_NOTFOUND;
    return DD_OK;
}

HRESULT DirectDraw::GetCaps(DDCAPS* driver_caps, DDCAPS* emulation_caps)
{
    if (driver_caps == nullptr && emulation_caps == nullptr) return DDERR_INVALIDPARAMS;
    for (DDCAPS* caps : {driver_caps, emulation_caps}) {
        if (caps == nullptr) continue;
        if (caps->dwSize != sizeof(DDCAPS)) return DDERR_INVALIDPARAMS;
    }
    for (DDCAPS* caps : {driver_caps, emulation_caps}) {
        if (caps == nullptr) continue;
        *caps = DDCAPS{};
        caps->dwSize = sizeof(DDCAPS);
        caps->dwCaps = DDCAPS_3D | DDCAPS_BLT | DDCAPS_BLTCOLORFILL | DDCAPS_BLTSTRETCH | DDCAPS_ZBLTS;
        caps->dwCaps2 = driver_->caps2() | DDCAPS2_NOPAGELOCKREQUIRED | DDCAPS2_WIDESURFACES;
        caps->dwZBufferBitDepths = DDBD_16 | DDBD_32;
        caps->ddsCaps.dwCaps = DDSCAPS_3DDEVICE | DDSCAPS_BACKBUFFER | DDSCAPS_COMPLEX | DDSCAPS_FLIP |
                               DDSCAPS_FRONTBUFFER | DDSCAPS_OFFSCREENPLAIN | DDSCAPS_PRIMARYSURFACE |
                               DDSCAPS_SYSTEMMEMORY | DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY | DDSCAPS_ZBUFFER;
        caps->dwVidMemTotal = 256u << 20;
        caps->dwVidMemFree = 256u << 20;
    }
    return DD_OK;
}

HRESULT DirectDraw::GetDisplayMode(DDSURFACEDESC2* desc)
{
    if (desc == nullptr || !surface_desc_size_ok(desc)) return DDERR_INVALIDPARAMS;
    display_mode_desc(driver_->current_mode(), true, desc);
    return DD_OK;
}

HRESULT DirectDraw::GetAvailableVidMem(DDSCAPS2* caps, DWORD* total, DWORD* free)
{
    if (caps == nullptr || (total == nullptr && free == nullptr)) return DDERR_INVALIDPARAMS;
    if (total != nullptr) *total = 256u << 20;
    if (free != nullptr) *free = 256u << 20;
    return DD_OK;
}

HRESULT DirectDraw::RestoreAllSurfaces()
{
    for (Surface* s : surfaces_) {
        if (s->lost()) s->Restore();
    }
    return DD_OK;
}

HRESULT DirectDraw::RestoreDisplayMode()
{
    return driver_->restore_mode();
}

HRESULT DirectDraw::SetCooperativeLevel(HWND window, DWORD flags)
{
    constexpr DWORD known = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_NOWINDOWCHANGES | DDSCL_NORMAL |
                            DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX | DDSCL_SETFOCUSWINDOW | DDSCL_SETDEVICEWINDOW |
                            DDSCL_CREATEDEVICEWINDOW | DDSCL_MULTITHREADED | DDSCL_FPUSETUP | DDSCL_FPUPRESERVE;
    if (flags & ~known) return DDERR_INVALIDPARAMS;
    const bool normal = (flags & DDSCL_NORMAL) != 0;
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    if (normal == exclusive) return DDERR_INVALIDPARAMS;
    if (exclusive && (!(flags & DDSCL_FULLSCREEN) || window == nullptr)) return DDERR_INVALIDPARAMS;
    if (normal && (flags & DDSCL_FULLSCREEN)) return DDERR_INVALIDPARAMS;
    const HRESULT hr = driver_->set_cooperative_level(window, flags);
    if (FAILED(hr)) return hr;
    window_ = window;
    coop_flags_ = flags;
    return DD_OK;
}

HRESULT DirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bits_per_pixel, DWORD refresh_rate, DWORD flags)
{
    if (width == 0 || height == 0 || bits_per_pixel == 0 || flags & ~DDSCL_FPUSETUP) return DDERR_INVALIDPARAMS;
    if (coop_flags_ == 0) return DDERR_NOCOOPERATIVELEVELSET;
    return driver_->set_mode(DisplayMode{width, height, bits_per_pixel, refresh_rate});
}

HRESULT DirectDraw::TestCooperativeLevel()
{
    return driver_->test_cooperative_level();
}

void DirectDraw::surface_created(Surface* surface)
{
    surfaces_.push_back(surface);
}

void DirectDraw::surface_destroyed(Surface* surface)
{
    surfaces_.erase(std::remove(surfaces_.begin(), surfaces_.end(), surface), surfaces_.end());
    if (primary_ == surface) primary_ = nullptr;
}
