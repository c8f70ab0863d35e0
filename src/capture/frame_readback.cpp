#include "capture/frame_readback.h"

#include <cstring>

#include "platform/d3d/core/pixel_format.h"

HRESULT frame_readback(IDirectDrawSurface7* surface, FrameImage* image)
{
    if (surface == nullptr || image == nullptr) return DDERR_INVALIDPARAMS;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    HRESULT hr = surface->Lock(nullptr, &desc, DDLOCK_READONLY | DDLOCK_WAIT, nullptr);
    if (FAILED(hr)) return hr;
    PixelKind kind;
    if (!pixel_kind_from_format(desc.ddpfPixelFormat, &kind)) {
        surface->Unlock(nullptr);
        return DDERR_UNSUPPORTEDFORMAT;
    }
    image->width = static_cast<int>(desc.dwWidth);
    image->height = static_cast<int>(desc.dwHeight);
    image->argb.resize(static_cast<std::size_t>(desc.dwWidth) * desc.dwHeight);
    const DWORD bpp = pixel_kind_bytes(kind);
    for (DWORD y = 0; y < desc.dwHeight; ++y) {
        const BYTE* row = static_cast<const BYTE*>(desc.lpSurface) + static_cast<std::ptrdiff_t>(y) * desc.lPitch;
        for (DWORD x = 0; x < desc.dwWidth; ++x) {
            image->argb[static_cast<std::size_t>(y) * desc.dwWidth + x] = pixel_to_argb(kind, row + x * bpp);
        }
    }
    return surface->Unlock(nullptr);
}

HRESULT frame_readback_depth(IDirectDrawSurface7* surface, std::vector<float>* depth, DWORD* width, DWORD* height)
{
    if (surface == nullptr || depth == nullptr || width == nullptr || height == nullptr) return DDERR_INVALIDPARAMS;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    HRESULT hr = surface->Lock(nullptr, &desc, DDLOCK_READONLY | DDLOCK_WAIT, nullptr);
    if (FAILED(hr)) return hr;
    if (!(desc.ddpfPixelFormat.dwFlags & DDPF_ZBUFFER)) {
        surface->Unlock(nullptr);
        return DDERR_INVALIDPIXELFORMAT;
    }
    *width = desc.dwWidth;
    *height = desc.dwHeight;
    depth->resize(static_cast<std::size_t>(desc.dwWidth) * desc.dwHeight);
    for (DWORD y = 0; y < desc.dwHeight; ++y) {
        const BYTE* row = static_cast<const BYTE*>(desc.lpSurface) + static_cast<std::ptrdiff_t>(y) * desc.lPitch;
        std::memcpy(depth->data() + static_cast<std::size_t>(y) * desc.dwWidth, row, desc.dwWidth * sizeof(float));
    }
    return surface->Unlock(nullptr);
}
