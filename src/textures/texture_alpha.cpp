#include <bit>

#include "textures/texture_manager.h"

namespace {

template <typename Texel>
void copy_blue_to_alpha(const DDSURFACEDESC2& locked) {
    const DDPIXELFORMAT& format = locked.ddpfPixelFormat;
    const DWORD red = format.dwRBitMask;
    const DWORD green = format.dwGBitMask;
    const DWORD blue = format.dwBBitMask;
    const int shift = std::popcount(red) + std::popcount(green) + std::popcount(blue);
    auto* row = static_cast<BYTE*>(locked.lpSurface);
    for (DWORD y = 0; y < locked.dwHeight; ++y, row += locked.lPitch) {
        auto* texels = reinterpret_cast<Texel*>(row);
        for (DWORD x = 0; x < locked.dwWidth; ++x) {
            const DWORD old = texels[x];
            const DWORD alpha = shift < 32 ? (old & blue) << shift : 0;
            texels[x] = static_cast<Texel>((old & red) | (old & green) | (old & blue) | alpha);
        }
    }
}

}  // namespace

HRESULT texture_alpha_from_blue(const char* name) {
    IDirectDrawSurface7* surface = texture_get_surface(name);
    if (surface == nullptr) return E_FAIL;
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    const HRESULT result = surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr);
    if (FAILED(result)) return result;
    if ((locked.ddpfPixelFormat.dwFlags & DDPF_ALPHAPIXELS) != 0 && locked.lpSurface != nullptr) {
        if (locked.ddpfPixelFormat.dwRGBBitCount == 32) {
            copy_blue_to_alpha<std::uint32_t>(locked);
        } else {
            copy_blue_to_alpha<std::uint16_t>(locked);
        }
    }
    surface->Unlock(nullptr);
    return S_OK;
}
