// The decoded picture as the inspector fingerprints it: top row first, four bytes per pixel in the
// order red, green, blue, alpha. The pixel buffer is taken as it is; a bitmap is taken as the bitmap
// conversion writes it into a 32-bit A8R8G8B8 surface that starts zeroed.
#pragma once

#include <cstdint>
#include <vector>

#include "textures/image_decoded.h"

// Fills `rgba` (width × height × 4 bytes). Returns false when the picture has no pixels at all or
// its bitmap depth is one the conversion leaves alone (the bytes then stay zero).
bool image_rgba_bytes(const DecodedImage& image, std::vector<std::uint8_t>& rgba);
