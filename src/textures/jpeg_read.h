// Reader of JPEG pictures into the 32-bit pixel buffer (0xRRGGBBAA, rows top first, alpha 255),
// on top of libjpeg. The file's parameters are read first, the picture is decoded into rows of blue,
// green, red bytes, top row first, and then expanded into the buffer; the decoder is released on
// every path. Colour, greyscale (red = green = blue), CMYK/YCCK, progressive and arithmetic-coded
// files are taken. Any library error, and any loss of picture data (a file cut short, a corrupt
// entropy-coded segment), gives E_FAIL; harmless warnings such as stray bytes before a marker are
// written to the diagnostics channel and the picture is kept.
#pragma once

#include <span>
#include <string>

#include "platform/win_types.h"
#include "textures/image_decoded.h"

// S_OK with `image` holding the pixels, or E_FAIL; `image` is left empty on failure.
HRESULT jpeg_read(const std::string& path, DecodedImage& image, std::string* reason = nullptr);

// The same, from the bytes of a file.
HRESULT jpeg_decode(std::span<const BYTE> data, DecodedImage& image, const ImageLimits& limits = {},
                    std::string* reason = nullptr);
