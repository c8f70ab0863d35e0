#include "textures/texture_upload.h"

#include "textures/surface_convert.h"

namespace {

constexpr int kMaxStillDrawingTries = 1000;

SurfaceDestination destination_of(const DDSURFACEDESC2& locked) {
    SurfaceDestination destination;
    destination.lpSurface = locked.lpSurface;
    destination.lPitch = locked.lPitch;
    destination.dwRGBBitCount = locked.ddpfPixelFormat.dwRGBBitCount;
    destination.dwRBitMask = locked.ddpfPixelFormat.dwRBitMask;
    destination.dwGBitMask = locked.ddpfPixelFormat.dwGBitMask;
    destination.dwBBitMask = locked.ddpfPixelFormat.dwBBitMask;
    destination.dwRGBAlphaBitMask = locked.ddpfPixelFormat.dwRGBAlphaBitMask;
    return destination;
}

HRESULT lock_staging(IDirectDrawSurface7* staging, bool bitmap, DDSURFACEDESC2* locked) {
    if (bitmap) return staging->Lock(nullptr, locked, DDLOCK_WAIT, nullptr);
    HRESULT result = DDERR_WASSTILLDRAWING;
    for (int tries = 0; result == DDERR_WASSTILLDRAWING && tries < kMaxStillDrawingTries; ++tries) {
        result = staging->Lock(nullptr, locked, 0, nullptr);
    }
    return result;
}

}  // namespace

HRESULT texture_upload(TextureEntry* entry) {
    IDirectDrawSurface7* texture = entry->surface;
    const DecodedImage& image = entry->image;
    const bool bitmap = image.has_bitmap();
    if (texture == nullptr || (!bitmap && !image.has_pixels())) return S_OK;

    void* direct_draw_pointer = nullptr;
    if (FAILED(texture->GetDDInterface(&direct_draw_pointer)) || direct_draw_pointer == nullptr) {
        return bitmap ? DDERR_NOTINITIALIZED : S_OK;
    }
    auto* direct_draw = static_cast<IDirectDraw7*>(direct_draw_pointer);
    DDSURFACEDESC2 texture_desc{};
    texture_desc.dwSize = sizeof texture_desc;
    texture->GetSurfaceDesc(&texture_desc);

    DDSURFACEDESC2 staging_desc{};
    staging_desc.dwSize = sizeof staging_desc;
    staging_desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE;
    staging_desc.dwWidth = image.width;
    staging_desc.dwHeight = image.height;
    staging_desc.ddpfPixelFormat = texture_desc.ddpfPixelFormat;
    staging_desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
    IDirectDrawSurface7* staging = nullptr;
    HRESULT result = direct_draw->CreateSurface(&staging_desc, &staging, nullptr);
    if (FAILED(result) || staging == nullptr) {
        direct_draw->Release();
        return bitmap ? result : S_OK;
    }

    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    result = lock_staging(staging, bitmap, &locked);
    if (SUCCEEDED(result) && locked.lpSurface != nullptr) {
        const SurfaceDestination destination = destination_of(locked);
        if (bitmap) {
            bitmap_to_surface(image, destination);
        } else {
            pixels_to_surface(image, destination);
        }
        staging->Unlock(nullptr);
        texture->Blt(nullptr, staging, nullptr, DDBLT_WAIT, nullptr);
        result = S_OK;
    } else if (!bitmap) {
        result = S_OK;  // an unfilled texture, as when the staging surface cannot be made
    }
    staging->Release();
    direct_draw->Release();
    return result;
}
