// Conversion of a decoded picture into the memory of a locked surface of any 16- or 32-bit RGB
// format. The destination is described only by a pointer, a row pitch, a bit count and four channel
// masks; the memory must hold the picture's width × height pixels in that format. The two variants
// of a picture use two different methods, which give slightly different values for the same colour:
// the pixel buffer keeps the top bits of each channel (shift method), the bitmap scales each channel
// to its mask and truncates (scale method).
#pragma once

#include "platform/win_types.h"
#include "textures/image_decoded.h"

// The locked surface as its description gives it (`lpSurface`, `lPitch`, and from the pixel format
// `dwRGBBitCount` and the red, green, blue and alpha masks).
struct SurfaceDestination {
    void* lpSurface = nullptr;
    LONG lPitch = 0;
    DWORD dwRGBBitCount = 0;
    DWORD dwRBitMask = 0;
    DWORD dwGBitMask = 0;
    DWORD dwBBitMask = 0;
    DWORD dwRGBAlphaBitMask = 0;
};

// Shift method for the pixel buffer: each channel's top bits go to the position of its mask (a zero
// mask drops the channel). 32-bit words are stored when the bit count is 32, 16-bit words otherwise.
// S_OK; E_INVALIDARG without pixels or destination memory.
HRESULT pixels_to_surface(const DecodedImage& image, const SurfaceDestination& destination);

// Scale method for the bitmap: each channel c becomes the integer part of mask × c / 255, alpha is
// the whole alpha mask; rows are stored bottom to top in the bitmap, so they are turned upright.
// Only 8-bit (through the colour table) and 24-bit bitmaps are converted, into 16- or 32-bit
// surfaces; S_FALSE with nothing written for any other depth or bit count. E_INVALIDARG without a
// bitmap or destination memory.
HRESULT bitmap_to_surface(const DecodedImage& image, const SurfaceDestination& destination);
