// Filling a texture surface from its entry's decoded picture: the picture is converted into a
// system-memory staging surface of its own size in the texture's pixel format, then blitted onto the
// whole texture, which stretches it when the texture is larger (power-of-two and square rounding).
#pragma once

#include "textures/texture_entry.h"

// Bitmap pictures report a failed staging surface or lock; pixel pictures leave the texture unfilled
// and succeed. S_OK otherwise.
HRESULT texture_upload(TextureEntry* entry);
