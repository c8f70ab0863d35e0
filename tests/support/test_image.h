// The picture record the tests share is the program's own frame record (capture/frame_image.h), so a
// picture read back, decoded or loaded from a golden PNG compares directly with any other.
#pragma once

#include <cstdint>
#include <string>

#include "capture/frame_image.h"

using TestImage = FrameImage;

// "#AARRGGBB" text of a pixel, for failure messages.
std::string argb_text(std::uint32_t argb);
