// Writing a rendered frame as a PNG file: the render target is locked read-only, its pixels are
// turned into 8-bit RGB (16- and 32-bit RGB formats, by their masks) and written through libpng.
#pragma once

#include <string>

#include "platform/d3d/ddraw.h"

// True when the file was written; otherwise false with a reason.
bool png_frame_write(IDirectDrawSurface7* surface, const std::string& path, std::string* reason);
