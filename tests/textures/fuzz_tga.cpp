// libFuzzer target: the TGA reader on arbitrary bytes, then the conversion of what it accepted.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "textures/tga_read.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_silence_diagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DecodedImage image;
    std::string reason;
    const HRESULT hr = tga_decode({data, size}, image, kFuzzLimits, &reason);
    if (SUCCEEDED(hr)) {
        fuzz_convert(image);
    } else if (reason.empty() || image.width != 0 || image.has_pixels() || image.has_bitmap()) {
        __builtin_trap();  // a refusal always says why and leaves nothing behind
    }
    return 0;
}
