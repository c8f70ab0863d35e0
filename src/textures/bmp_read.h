// Reader of Windows bitmap files (".bmp") into the bitmap variant of a decoded picture, standing in
// for the platform's loader of device-independent bitmap sections. It reads uncompressed files of
// 1, 4, 8, 16, 24 and 32 bits (16 and 32 also with bit-field masks) with the 12-byte core header or
// any of the 40- to 124-byte information headers, bottom-up or top-down. The rows always end up
// stored bottom to top, each padded to a multiple of 4 bytes, with the colour table beside them.
// Only 8- and 24-bit bitmaps are later converted; the other depths load but convert nothing.
// Every offset, the colour table and the pixel rows are checked against the file, and every 8-bit
// pixel must index an entry of the colour table.
#pragma once

#include <span>
#include <string>

#include "platform/win_types.h"
#include "textures/image_decoded.h"

// S_OK with `image.bitmap` set (and `image.width`, `image.height` from it), or DDERR_NOTFOUND when
// the file is missing, unreadable or not a bitmap this reader takes; `image` is left empty then.
HRESULT bmp_read(const std::string& path, DecodedImage& image, std::string* reason = nullptr);

// The same, from the bytes of a file.
HRESULT bmp_decode(std::span<const BYTE> data, DecodedImage& image, const ImageLimits& limits = {},
                   std::string* reason = nullptr);
