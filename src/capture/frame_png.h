// One frame of a surface written as a PNG file (8-bit RGB): its readback and the PNG writer in one
// call, as the scene viewer, the screenshot key and PNG-sequence capture need it.
#pragma once

#include <string>

#include "platform/d3d/ddraw.h"

// True when the file was written; otherwise false with a reason.
bool frame_png_write(IDirectDrawSurface7* surface, const std::string& path, std::string* reason);
