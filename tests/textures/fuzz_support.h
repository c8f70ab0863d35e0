// Shared pieces of the picture-reader fuzz targets: smaller size limits than the program's, so that
// a header alone cannot ask for a gigabyte, a silent diagnostics channel, and a conversion of every
// accepted picture into a surface so that the converters walk what the readers produced.
#pragma once

#include <string>
#include <vector>

#include "platform/debug_output.h"
#include "textures/surface_convert.h"

inline constexpr ImageLimits kFuzzLimits{1024, 1024};

inline void fuzz_silence_diagnostics() {
    debug_output_set_sink([](const std::string&) {});
}

// Converts the picture into a 32-bit and a 16-bit surface of exactly its size.
inline void fuzz_convert(const DecodedImage& image) {
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    if (count == 0) __builtin_trap();  // an accepted picture always has pixels
    std::vector<DWORD> wide(count);
    std::vector<WORD> narrow(count);
    SurfaceDestination a8r8g8b8{wide.data(), static_cast<LONG>(image.width * 4), 32,
                                0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    SurfaceDestination a4r4g4b4{narrow.data(), static_cast<LONG>(image.width * 2), 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
    if (image.has_bitmap()) {
        bitmap_to_surface(image, a8r8g8b8);
        bitmap_to_surface(image, a4r4g4b4);
    } else {
        if (image.pixels.size() != count) __builtin_trap();
        pixels_to_surface(image, a8r8g8b8);
        pixels_to_surface(image, a4r4g4b4);
    }
}
