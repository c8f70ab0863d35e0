// One named texture of the texture manager: the name it is selected by, the size and pixel format
// it wants, the decoded picture it was loaded from (kept for the life of the entry, so a released
// surface can be made again from the same pixels) and the device surface, when one exists. Render
// targets carry no picture; their size and capabilities come from whoever created them.
#pragma once

#include <memory>

#include "platform/d3d/ddraw.h"
#include "textures/image_decoded.h"

constexpr int TEXTURE_NAME_SIZE = 80;  // name buffer, terminator included (79 characters at most)

struct TextureEntry {
    std::unique_ptr<TextureEntry> next;  // the next (older) entry of the list
    char name[TEXTURE_NAME_SIZE] = {};
    DWORD width = 0;  // the picture's size (render targets: the requested size)
    DWORD height = 0;
    DWORD wanted_bits = 0;        // total bits per pixel wanted
    DWORD wanted_alpha_bits = 0;  // alpha bits wanted
    DWORD extra_desc_flags = 0;   // ORed into the surface description's dwFlags
    DWORD extra_caps = 0;         // ORed into ddsCaps.dwCaps; DDSCAPS_3DDEVICE marks a render target
    IDirectDrawSurface7* surface = nullptr;  // one reference, or none
    DecodedImage image;           // bitmap or pixel buffer; empty for render targets

    bool is_render_target() const { return (extra_caps & DDSCAPS_3DDEVICE) != 0; }
};
