// libFuzzer target for the picture reader named by FUZZ_DECODE (tga_decode, bmp_decode, jpeg_decode):
// arbitrary bytes under limits that keep a header alone from asking for a gigabyte, then whatever it
// accepts converted into a 32- and a 16-bit surface of exactly its size, walking what it produced.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/debug_output.h"
#include "textures/bmp_read.h"
#include "textures/jpeg_read.h"
#include "textures/surface_convert.h"
#include "textures/tga_read.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    debug_output_set_sink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DecodedImage image;
    std::string reason;
    if (FAILED(FUZZ_DECODE({data, size}, image, ImageLimits{1024, 1024}, &reason))) {
        // A refusal always says why and leaves nothing behind.
        if (reason.empty() || image.width != 0 || image.has_pixels() || image.has_bitmap()) __builtin_trap();
        return 0;
    }
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    if (count == 0 || (!image.has_bitmap() && image.pixels.size() != count)) __builtin_trap();
    std::vector<DWORD> wide(count);
    std::vector<WORD> narrow(count);
    const SurfaceDestination surfaces[] = {
        {wide.data(), static_cast<LONG>(image.width * 4), 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
        {narrow.data(), static_cast<LONG>(image.width * 2), 16, 0x0F00, 0x00F0, 0x000F, 0xF000}};
    for (const SurfaceDestination& surface : surfaces) {
        if (image.has_bitmap())
            bitmap_to_surface(image, surface);
        else
            pixels_to_surface(image, surface);
    }
    return 0;
}
