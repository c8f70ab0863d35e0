// Moving surface pixels between system memory and the GL copies: every colour kind becomes 32-bit
// 0xAARRGGBB words for upload (kinds without alpha read alpha 0xFF, narrow channels widen by bit
// replication) and comes back packed the way the software backend stores it (truncating, the unused
// top byte of X8R8G8B8 zero). Depth surfaces hold floats and move unchanged.
#pragma once

#include <cstdint>

#include "platform/d3d/core/pixel_format.h"

// Converts width × height pixels of a colour kind into tightly packed ARGB words.
void pixel_rows_to_argb(PixelKind kind, const BYTE* pixels, LONG pitch, DWORD width, DWORD height,
                        std::uint32_t* out);
// Stores tightly packed ARGB words into width × height pixels of a colour kind.
void pixel_rows_from_argb(PixelKind kind, const std::uint32_t* in, DWORD width, DWORD height, BYTE* pixels,
                          LONG pitch);
// Clears the unused top byte of X8R8G8B8 rows read back from GL (which returns alpha 0xFF there).
void pixel_rows_clear_x8(BYTE* pixels, LONG pitch, DWORD width, DWORD height);
