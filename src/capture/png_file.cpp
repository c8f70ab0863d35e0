#include "capture/png_file.h"

#include <png.h>

#include <cstring>
#include <vector>

bool png_write(const std::string& path, const FrameImage& image, PngChannels channels, std::string* error)
{
    if (image.empty() || image.argb.size() != static_cast<std::size_t>(image.width) * image.height) {
        if (error != nullptr) *error = "cannot write " + path + ": no picture";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    const bool alpha = channels == PngChannels::Rgba;
    png.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    const std::size_t n = alpha ? 4 : 3;
    std::vector<unsigned char> bytes(image.argb.size() * n);
    for (std::size_t i = 0; i < image.argb.size(); ++i) {
        const std::uint32_t p = image.argb[i];
        bytes[i * n + 0] = static_cast<unsigned char>(p >> 16);
        bytes[i * n + 1] = static_cast<unsigned char>(p >> 8);
        bytes[i * n + 2] = static_cast<unsigned char>(p);
        if (alpha) bytes[i * n + 3] = static_cast<unsigned char>(p >> 24);
    }
    if (!png_image_write_to_file(&png, path.c_str(), 0, bytes.data(), 0, nullptr)) {
        if (error != nullptr) *error = std::string("cannot write ") + path + ": " + png.message;
        return false;
    }
    return true;
}

bool png_read(const std::string& path, FrameImage* image, std::string* error)
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
    *image = FrameImage(static_cast<int>(png.width), static_cast<int>(png.height));
    for (std::size_t i = 0; i < image->argb.size(); ++i) {
        image->argb[i] = static_cast<std::uint32_t>(rgba[i * 4 + 3]) << 24 | static_cast<std::uint32_t>(rgba[i * 4]) << 16 |
                         static_cast<std::uint32_t>(rgba[i * 4 + 1]) << 8 | rgba[i * 4 + 2];
    }
    return true;
}
