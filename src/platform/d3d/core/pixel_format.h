// The pixel layouts surfaces can have, and conversion between them and 0xAARRGGBB. Every surface the
// device layer creates has one of these kinds; DDPIXELFORMAT records are mapped onto them on creation
// and produced from them for descriptions and enumerations. Depth surfaces store a 32-bit float per
// pixel (0 nearest, 1 farthest) whatever bit depth they announce, so that z- and w-buffered draws
// compare alike in every backend.
#pragma once

#include <cstdint>

#include "platform/d3d/ddraw_types.h"

enum class PixelKind : std::uint8_t {
    X8R8G8B8,
    A8R8G8B8,
    R5G6B5,
    X1R5G5B5,
    A1R5G5B5,
    A4R4G4B4,
    Z16,  // announced 16-bit depth, stored as float
    Z32,  // announced 32-bit depth, stored as float
};

constexpr bool pixel_kind_is_depth(PixelKind kind) { return kind == PixelKind::Z16 || kind == PixelKind::Z32; }
constexpr bool pixel_kind_has_alpha(PixelKind kind)
{
    return kind == PixelKind::A8R8G8B8 || kind == PixelKind::A1R5G5B5 || kind == PixelKind::A4R4G4B4;
}
DWORD pixel_kind_bytes(PixelKind kind);

// The platform description of a kind (dwSize set, flags, bit count and masks).
DDPIXELFORMAT pixel_format_of(PixelKind kind);
// Maps a description onto a kind; false for formats the layer does not offer (palettes, FOURCC, 24-bit).
bool pixel_kind_from_format(const DDPIXELFORMAT& format, PixelKind* kind);

// One pixel of a colour kind to 0xAARRGGBB and back. Channels narrower than 8 bits widen by bit
// replication (so 0x1F becomes 0xFF); kinds without alpha read as alpha 0xFF. Packing truncates.
std::uint32_t pixel_to_argb(PixelKind kind, const BYTE* pixel);
void pixel_from_argb(PixelKind kind, std::uint32_t argb, BYTE* pixel);
std::uint32_t pixel_pack_argb(PixelKind kind, std::uint32_t argb);  // the stored bits (low bytes)
