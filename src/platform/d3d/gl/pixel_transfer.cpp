#include "platform/d3d/gl/pixel_transfer.h"

#include <cstring>

void pixel_rows_to_argb(PixelKind kind, const BYTE* pixels, LONG pitch, DWORD width, DWORD height,
                        std::uint32_t* out)
{
    const DWORD bytes = pixel_kind_bytes(kind);
    for (DWORD y = 0; y < height; ++y) {
        const BYTE* row = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
        std::uint32_t* dst = out + static_cast<std::size_t>(y) * width;
        if (kind == PixelKind::A8R8G8B8) {
            std::memcpy(dst, row, static_cast<std::size_t>(width) * 4);
        } else if (kind == PixelKind::X8R8G8B8) {
            std::memcpy(dst, row, static_cast<std::size_t>(width) * 4);
            for (DWORD x = 0; x < width; ++x) dst[x] |= 0xFF000000u;
        } else {
            for (DWORD x = 0; x < width; ++x) dst[x] = pixel_to_argb(kind, row + x * bytes);
        }
    }
}

void pixel_rows_from_argb(PixelKind kind, const std::uint32_t* in, DWORD width, DWORD height, BYTE* pixels,
                          LONG pitch)
{
    const DWORD bytes = pixel_kind_bytes(kind);
    for (DWORD y = 0; y < height; ++y) {
        BYTE* row = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
        const std::uint32_t* src = in + static_cast<std::size_t>(y) * width;
        for (DWORD x = 0; x < width; ++x) pixel_from_argb(kind, src[x], row + x * bytes);
    }
}

void pixel_rows_clear_x8(BYTE* pixels, LONG pitch, DWORD width, DWORD height)
{
    for (DWORD y = 0; y < height; ++y) {
        BYTE* row = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
        for (DWORD x = 0; x < width; ++x) row[x * 4 + 3] = 0;
    }
}
