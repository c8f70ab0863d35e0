// Reading and writing test pictures as PNG files (8-bit RGBA), through libpng.
#pragma once

#include <string>

#include "support/test_image.h"

// Writes image; false (with the reason in *error when given) if the file cannot be written.
bool png_write(const std::string& path, const TestImage& image, std::string* error = nullptr);
// Reads any PNG libpng can expand to 8-bit RGBA; false if the file is missing or malformed.
bool png_read(const std::string& path, TestImage* image, std::string* error = nullptr);
