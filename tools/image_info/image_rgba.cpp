#include "image_rgba.h"

#include "textures/surface_convert.h"

bool image_rgba_bytes(const DecodedImage& image, std::vector<std::uint8_t>& rgba) {
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    rgba.assign(count * 4, 0);
    std::vector<DWORD> words;
    bool converted = false;
    if (image.has_pixels()) {
        words = image.pixels;  // 0xRRGGBBAA
        converted = true;
    } else if (image.has_bitmap()) {
        std::vector<DWORD> surface(count, 0);
        SurfaceDestination destination;
        destination.lpSurface = surface.data();
        destination.lPitch = static_cast<LONG>(image.width * 4);
        destination.dwRGBBitCount = 32;
        destination.dwRBitMask = 0x00FF0000;
        destination.dwGBitMask = 0x0000FF00;
        destination.dwBBitMask = 0x000000FF;
        destination.dwRGBAlphaBitMask = 0xFF000000;
        converted = bitmap_to_surface(image, destination) == S_OK;
        words.resize(count);
        for (std::size_t i = 0; i < count; ++i) words[i] = surface[i] << 8 | surface[i] >> 24;  // to 0xRRGGBBAA
    }
    if (words.size() != count) return false;
    for (std::size_t i = 0; i < count; ++i) {
        rgba[4 * i + 0] = static_cast<std::uint8_t>(words[i] >> 24);
        rgba[4 * i + 1] = static_cast<std::uint8_t>(words[i] >> 16);
        rgba[4 * i + 2] = static_cast<std::uint8_t>(words[i] >> 8);
        rgba[4 * i + 3] = static_cast<std::uint8_t>(words[i]);
    }
    return converted;
}
