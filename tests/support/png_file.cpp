#include "support/png_file.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

bool png_write(const std::string& path, const TestImage& image, std::string* error)
{
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(image.width) * image.height * 4);
    for (std::size_t i = 0; i < image.argb.size(); ++i) {
        const std::uint32_t p = image.argb[i];
        rgba[i * 4 + 0] = static_cast<unsigned char>(p >> 16);
        rgba[i * 4 + 1] = static_cast<unsigned char>(p >> 8);
        rgba[i * 4 + 2] = static_cast<unsigned char>(p);
        rgba[i * 4 + 3] = static_cast<unsigned char>(p >> 24);
    }
    if (!png_image_write_to_file(&png, path.c_str(), 0, rgba.data(), 0, nullptr)) {
        if (error != nullptr) *error = std::string("cannot write ") + path + ": " + png.message;
        return false;
    }
    return true;
}

bool png_read(const std::string& path, TestImage* image, std::string* error)
{
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        if (error != nullptr) *error = std::string("cannot read ") + path + ": " + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr)) {
        if (error != nullptr) *error = std::string("cannot decode ") + path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    *image = TestImage(static_cast<int>(png.width), static_cast<int>(png.height));
    for (std::size_t i = 0; i < image->argb.size(); ++i) {
        image->argb[i] = static_cast<std::uint32_t>(rgba[i * 4 + 3]) << 24 | static_cast<std::uint32_t>(rgba[i * 4]) << 16 |
                         static_cast<std::uint32_t>(rgba[i * 4 + 1]) << 8 | rgba[i * 4 + 2];
    }
    return true;
}
