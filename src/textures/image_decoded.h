// The decoded picture that the texture manager keeps for each texture entry, and the size limits
// every decoder applies before it allocates anything. A picture is either a bitmap (".bmp" files)
// or a buffer of 32-bit words 0xRRGGBBAA (red in the top byte, alpha in the bottom byte), rows top
// first, `width` words per row without padding. Decoders that have no alpha store 255.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win_types.h"
#include "textures/image_bitmap.h"

struct DecodedImage {
    DWORD width = 0;
    DWORD height = 0;
    std::unique_ptr<ImageBitmap> bitmap;  // set for the bitmap variant
    std::vector<DWORD> pixels;            // width × height words for the buffer variant

    bool has_bitmap() const { return bitmap != nullptr; }
    bool has_pixels() const { return !pixels.empty(); }
    void clear() {
        width = height = 0;
        bitmap.reset();
        pixels.clear();
        pixels.shrink_to_fit();
    }
};

// Largest picture any decoder accepts. A size of 0 in either direction is always refused.
struct ImageLimits {
    DWORD max_width = 16384;
    DWORD max_height = 16384;
};

// Longest joined directory and file name the loaders open (the platform's path buffer holds 256
// characters with the terminator).
inline constexpr std::size_t kImageMaxPath = 255;

// Checks a size from a file header against the limits; on refusal writes a reason if asked.
bool image_size_acceptable(std::uint64_t width, std::uint64_t height, const ImageLimits& limits,
                           std::string* reason);

// Writes `text` into `reason` when a reason was asked for; used by every decoder.
void image_set_reason(std::string* reason, std::string text);
