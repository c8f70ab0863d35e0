#include "scene_view/png_frame.h"

#include <bit>
#include <cstdint>
#include <png.h>
#include <vector>

namespace {

// A channel's bits widened to 8 by replication (5 bits 0x1F become 0xFF).
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    std::uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<std::uint8_t>(value >> (bits - 8));
    std::uint32_t wide = 0;
    for (int filled = 0; filled < 8; filled += bits) wide = (wide << bits) | value;
    const int total = ((8 + bits - 1) / bits) * bits;
    return static_cast<std::uint8_t>(wide >> (total - 8));
}

}  // namespace

bool png_frame_write(IDirectDrawSurface7* surface, const std::string& path, std::string* reason) {
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    if (surface == nullptr || FAILED(surface->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) {
        *reason = "the frame could not be read back";
        return false;
    }
    const DDPIXELFORMAT& format = locked.ddpfPixelFormat;
    const DWORD width = locked.dwWidth;
    const DWORD height = locked.dwHeight;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (DWORD y = 0; y < height; ++y) {
        const auto* row = static_cast<const BYTE*>(locked.lpSurface) + static_cast<std::ptrdiff_t>(y) * locked.lPitch;
        for (DWORD x = 0; x < width; ++x) {
            const std::uint32_t pixel = format.dwRGBBitCount == 32 ? reinterpret_cast<const std::uint32_t*>(row)[x]
                                                                   : reinterpret_cast<const std::uint16_t*>(row)[x];
            std::uint8_t* out = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            out[0] = channel(pixel, format.dwRBitMask);
            out[1] = channel(pixel, format.dwGBitMask);
            out[2] = channel(pixel, format.dwBBitMask);
        }
    }
    surface->Unlock(nullptr);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) == 0) {
        *reason = std::string("cannot write ") + path + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}
