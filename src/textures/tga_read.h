// Reader of Truevision TGA pictures into the 32-bit pixel buffer (0xRRGGBBAA, rows top first). It
// takes uncompressed (type 2) and run-length-encoded (type 10) true-colour files without a colour
// map, 24 bits (alpha 255) or 32 bits (alpha kept) deep, in either row order; pixels of a row always
// fill it left to right. Run-length packets may run on across row ends. A file cut short is not an
// error: every missing byte reads as 255, which is bounded by the header's size.
#pragma once

#include <span>
#include <string>

#include "platform/win_types.h"
#include "textures/image_decoded.h"

// S_OK with `image` holding the pixels, or E_FAIL (file missing, another kind of TGA, a size of
// zero or beyond the limits, out of memory); `image` is left empty on failure.
HRESULT tga_read(const std::string& path, DecodedImage& image, std::string* reason = nullptr);

// The same, from the bytes of a file.
HRESULT tga_decode(std::span<const BYTE> data, DecodedImage& image, const ImageLimits& limits = {},
                   std::string* reason = nullptr);
