// PNG files of frames, through libpng: the one PNG writer and reader that the scene viewer,
// screenshots, capture and the golden-image tests share, so a golden frame and a captured frame agree
// bit for bit. Frames are written as 8-bit RGB (what is shown has no transparency); pictures whose
// alpha matters (test images, differences) as 8-bit RGBA.
#pragma once

#include <string>

#include "capture/frame_image.h"

enum class PngChannels { Rgb, Rgba };

// Writes image; false with the reason in *error (when given) if the file cannot be written.
bool png_write(const std::string& path, const FrameImage& image, PngChannels channels = PngChannels::Rgba,
               std::string* error = nullptr);
// Reads any PNG libpng can expand to 8-bit RGBA; false if the file is missing or malformed.
bool png_read(const std::string& path, FrameImage* image, std::string* error = nullptr);
