// The choice of decoder for a texture's picture: the texture directory and the texture name are
// joined into the file's path, and the name's extension (from its last dot, compared without regard
// to case) picks the reader: ".bmp" gives the bitmap variant, ".tga" and ".jpg" the pixel buffer.
// The program carries no bitmap resources of its own, so pictures always come from files.
#pragma once

#include <string>

#include "platform/win_types.h"
#include "textures/image_decoded.h"

// Fills `image` from the file `directory` + `name` (a null directory counts as empty). Results:
// S_OK; E_NOTIMPL for a name without a dot or with any other extension (".jpeg" and ".png" too);
// DDERR_NOTFOUND for a missing or unreadable bitmap; E_FAIL for a TGA or JPEG that cannot be read;
// E_INVALIDARG for no name. `reason` receives a one-line explanation of a failure when given.
HRESULT image_load(DecodedImage& image, const char* directory, const char* name, std::string* reason = nullptr);
