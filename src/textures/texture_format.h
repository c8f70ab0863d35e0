// The two device rules a texture surface must follow: its size (power-of-two rounding, the maximum
// width and height, square-only devices) and its pixel format (the first format the device lists
// with the wanted total bits and exactly the wanted number of alpha bits).
#pragma once

#include "platform/d3d/d3d.h"

// Rounds and clamps width and height for the device: with D3DPTEXTURECAPS_POW2 each goes up to the
// next power of two; then each is limited to dwMaxTextureWidth / dwMaxTextureHeight (a reported 0
// counts as 256); then with D3DPTEXTURECAPS_SQUAREONLY both become the larger.
void texture_fit_size(const D3DDEVICEDESC7& caps, DWORD* width, DWORD* height);

// The first format of the device's EnumTextureFormats list whose dwRGBBitCount is `bits`, that is no
// luminance or bump-map format, and whose alpha mask has exactly `alpha_bits` bits set. False if none.
bool texture_find_format(IDirect3DDevice7* device, DWORD bits, DWORD alpha_bits, DDPIXELFORMAT* format);

// The 16-bit alpha count tried when the wanted format is missing: 8 → 4, 1 → 1, 0 → 0, others kept.
DWORD texture_fallback_alpha_bits(DWORD alpha_bits);
