#include "textures/texture_format.h"

#include <algorithm>
#include <bit>

namespace {

constexpr DWORD kDefaultMaxSide = 256;
constexpr DWORD kExcludedFormatFlags = DDPF_LUMINANCE | DDPF_BUMPLUMINANCE | DDPF_BUMPDUDV;  // 0xE0000

DWORD next_power_of_two(DWORD value) {
    if (value <= 1) return 1;
    if (value > 0x80000000u) return 0x80000000u;
    return std::bit_ceil(value);
}

DWORD clamp_side(DWORD side, DWORD maximum) {
    const DWORD limit = maximum == 0 ? kDefaultMaxSide : maximum;
    return side >= limit ? limit : side;
}

struct FormatSearch {
    DWORD bits;
    DWORD alpha_bits;
    bool found = false;
    DDPIXELFORMAT format{};
};

HRESULT match_format(DDPIXELFORMAT* format, void* context) {
    auto* search = static_cast<FormatSearch*>(context);
    if (format == nullptr) return D3DENUMRET_OK;
    if (format->dwRGBBitCount != search->bits) return D3DENUMRET_OK;
    if ((format->dwFlags & kExcludedFormatFlags) != 0) return D3DENUMRET_OK;
    if (static_cast<DWORD>(std::popcount(format->dwRGBAlphaBitMask)) != search->alpha_bits) return D3DENUMRET_OK;
    search->format = *format;
    search->found = true;
    return D3DENUMRET_CANCEL;
}

}  // namespace

void texture_fit_size(const D3DDEVICEDESC7& caps, DWORD* width, DWORD* height) {
    const DWORD texture_caps = caps.dpcTriCaps.dwTextureCaps;
    if ((texture_caps & D3DPTEXTURECAPS_POW2) != 0) {
        *width = next_power_of_two(*width);
        *height = next_power_of_two(*height);
    }
    *width = clamp_side(*width, caps.dwMaxTextureWidth);
    *height = clamp_side(*height, caps.dwMaxTextureHeight);
    if ((texture_caps & D3DPTEXTURECAPS_SQUAREONLY) != 0) *width = *height = std::max(*width, *height);
}

bool texture_find_format(IDirect3DDevice7* device, DWORD bits, DWORD alpha_bits, DDPIXELFORMAT* format) {
    FormatSearch search{bits, alpha_bits};
    device->EnumTextureFormats(match_format, &search);
    if (search.found) *format = search.format;
    return search.found;
}

DWORD texture_fallback_alpha_bits(DWORD alpha_bits) {
    switch (alpha_bits) {
        case 8: return 4;
        case 1: return 1;
        case 0: return 0;
        default: return alpha_bits;
    }
}
