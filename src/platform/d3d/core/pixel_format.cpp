#include "platform/d3d/core/pixel_format.h"

#include <cstring>

namespace {

struct KindInfo {
    PixelKind kind;
    DWORD bytes;
    DWORD flags;
    DWORD bits;
    DWORD r, g, b, a;
};

// Masks of each kind; depth kinds announce their bit depth and a full z mask.
constexpr KindInfo kKinds[] = {
    {PixelKind::X8R8G8B8, 4, DDPF_RGB, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0},
    {PixelKind::A8R8G8B8, 4, DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
    {PixelKind::R5G6B5, 2, DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0},
    {PixelKind::X1R5G5B5, 2, DDPF_RGB, 16, 0x7C00, 0x03E0, 0x001F, 0},
    {PixelKind::A1R5G5B5, 2, DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x7C00, 0x03E0, 0x001F, 0x8000},
    {PixelKind::A4R4G4B4, 2, DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000},
    {PixelKind::Z16, 4, DDPF_ZBUFFER, 16, 0, 0xFFFF, 0, 0},
    {PixelKind::Z32, 4, DDPF_ZBUFFER, 32, 0, 0xFFFFFFFF, 0, 0},
};

const KindInfo& info_of(PixelKind kind)
{
    return kKinds[static_cast<unsigned>(kind)];
}

// Widens an n-bit channel to 8 bits by replicating its top bits.
constexpr std::uint32_t widen(std::uint32_t v, unsigned bits)
{
    switch (bits) {
    case 1: return v ? 0xFFu : 0u;
    case 4: return (v << 4) | v;
    case 5: return (v << 3) | (v >> 2);
    case 6: return (v << 2) | (v >> 4);
    default: return v;
    }
}

}  // namespace

DWORD pixel_kind_bytes(PixelKind kind)
{
    return info_of(kind).bytes;
}

DDPIXELFORMAT pixel_format_of(PixelKind kind)
{
    const KindInfo& k = info_of(kind);
    DDPIXELFORMAT f{};
    f.dwSize = sizeof(DDPIXELFORMAT);
    f.dwFlags = k.flags;
    if (pixel_kind_is_depth(kind)) {
        f.dwZBufferBitDepth = k.bits;
        f.dwZBitMask = k.g;
    } else {
        f.dwRGBBitCount = k.bits;
        f.dwRBitMask = k.r;
        f.dwGBitMask = k.g;
        f.dwBBitMask = k.b;
        f.dwRGBAlphaBitMask = k.a;
    }
    return f;
}

bool pixel_kind_from_format(const DDPIXELFORMAT& format, PixelKind* kind)
{
    if (format.dwFlags & DDPF_ZBUFFER) {
        if (format.dwFlags & DDPF_STENCILBUFFER) return false;
        if (format.dwZBufferBitDepth == 16) { *kind = PixelKind::Z16; return true; }
        if (format.dwZBufferBitDepth == 32 || format.dwZBufferBitDepth == 24) { *kind = PixelKind::Z32; return true; }
        return false;
    }
    if (!(format.dwFlags & DDPF_RGB)) return false;
    if (format.dwFlags & (DDPF_FOURCC | DDPF_PALETTEINDEXED1 | DDPF_PALETTEINDEXED2 | DDPF_PALETTEINDEXED4 |
                          DDPF_PALETTEINDEXED8 | DDPF_PALETTEINDEXEDTO8 | DDPF_LUMINANCE | DDPF_BUMPDUDV |
                          DDPF_BUMPLUMINANCE | DDPF_YUV)) {
        return false;
    }
    const bool alpha = (format.dwFlags & DDPF_ALPHAPIXELS) != 0;
    for (const KindInfo& k : kKinds) {
        if (pixel_kind_is_depth(k.kind) || k.bits != format.dwRGBBitCount) continue;
        if (k.r != format.dwRBitMask || k.g != format.dwGBitMask || k.b != format.dwBBitMask) continue;
        if (alpha != (k.a != 0)) continue;
        if (alpha && k.a != format.dwRGBAlphaBitMask) continue;
        *kind = k.kind;
        return true;
    }
    return false;
}

std::uint32_t pixel_to_argb(PixelKind kind, const BYTE* pixel)
{
    switch (kind) {
    case PixelKind::X8R8G8B8: {
        std::uint32_t v;
        std::memcpy(&v, pixel, 4);
        return v | 0xFF000000u;
    }
    case PixelKind::A8R8G8B8: {
        std::uint32_t v;
        std::memcpy(&v, pixel, 4);
        return v;
    }
    case PixelKind::R5G6B5: {
        std::uint16_t v;
        std::memcpy(&v, pixel, 2);
        return 0xFF000000u | widen((v >> 11) & 31, 5) << 16 | widen((v >> 5) & 63, 6) << 8 | widen(v & 31, 5);
    }
    case PixelKind::X1R5G5B5:
    case PixelKind::A1R5G5B5: {
        std::uint16_t v;
        std::memcpy(&v, pixel, 2);
        const std::uint32_t a = kind == PixelKind::A1R5G5B5 ? widen(v >> 15, 1) : 0xFFu;
        return a << 24 | widen((v >> 10) & 31, 5) << 16 | widen((v >> 5) & 31, 5) << 8 | widen(v & 31, 5);
    }
    case PixelKind::A4R4G4B4: {
        std::uint16_t v;
        std::memcpy(&v, pixel, 2);
        return widen(v >> 12, 4) << 24 | widen((v >> 8) & 15, 4) << 16 | widen((v >> 4) & 15, 4) << 8 |
               widen(v & 15, 4);
    }
    case PixelKind::Z16:
    case PixelKind::Z32: {
        float d;
        std::memcpy(&d, pixel, 4);
        const float c = d < 0.0f ? 0.0f : (d > 1.0f ? 1.0f : d);
        const std::uint32_t g = static_cast<std::uint32_t>(c * 255.0f + 0.5f);
        return 0xFF000000u | g << 16 | g << 8 | g;
    }
    }
    return 0;
}

std::uint32_t pixel_pack_argb(PixelKind kind, std::uint32_t argb)
{
    const std::uint32_t a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    switch (kind) {
    case PixelKind::X8R8G8B8: return argb & 0x00FFFFFFu;
    case PixelKind::A8R8G8B8: return argb;
    case PixelKind::R5G6B5: return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    case PixelKind::X1R5G5B5: return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    case PixelKind::A1R5G5B5: return (a >> 7) << 15 | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    case PixelKind::A4R4G4B4: return (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4);
    case PixelKind::Z16:
    case PixelKind::Z32: return 0;
    }
    return 0;
}

void pixel_from_argb(PixelKind kind, std::uint32_t argb, BYTE* pixel)
{
    const std::uint32_t bits = pixel_pack_argb(kind, argb);
    if (pixel_kind_bytes(kind) == 4) {
        std::memcpy(pixel, &bits, 4);
    } else {
        const std::uint16_t v = static_cast<std::uint16_t>(bits);
        std::memcpy(pixel, &v, 2);
    }
}
