#include "content/picture.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// One box-blur pass along a line of n values spaced `stride` apart.
template <typename T>
void box_line(T* data, int n, std::ptrdiff_t stride, int radius, bool wrap, std::vector<T>& scratch) {
    if (radius <= 0 || n <= 1) return;
    scratch.resize(static_cast<std::size_t>(n));
    auto value = [&](int i) -> T {
        if (wrap) {
            i %= n;
            if (i < 0) i += n;
        } else {
            i = std::clamp(i, 0, n - 1);
        }
        return data[static_cast<std::ptrdiff_t>(i) * stride];
    };
    T sum{};
    for (int i = -radius; i <= radius; ++i) sum = sum + value(i);
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int i = 0; i < n; ++i) {
        scratch[static_cast<std::size_t>(i)] = sum * scale;
        sum = sum + value(i + radius + 1) - value(i - radius);
    }
    for (int i = 0; i < n; ++i) data[static_cast<std::ptrdiff_t>(i) * stride] = scratch[static_cast<std::size_t>(i)];
}

std::uint8_t to_byte(float v) {
    // A little ordered dither would change nothing of value here; round to nearest.
    const float c = clamp01(v) * 255.0f + 0.5f;
    return static_cast<std::uint8_t>(c);
}

}  // namespace

Picture::Picture(int width, int height, float aspect)
    : width_(width), height_(height), aspect_(aspect), pixels_(static_cast<std::size_t>(width) * height) {}

void Picture::fill(const std::function<Rgb(float, float)>& f) {
    shade([&](float x, float y, Rgb) { return f(x, y); });
}

void Picture::shade(const std::function<Rgb(float, float, Rgb)>& f) {
    const float sx = aspect_ / static_cast<float>(width_), sy = 1.0f / static_cast<float>(height_);
    for (int y = 0; y < height_; ++y) {
        const float py = (static_cast<float>(y) + 0.5f) * sy;
        for (int x = 0; x < width_; ++x) at(x, y) = f((static_cast<float>(x) + 0.5f) * sx, py, at(x, y));
    }
}

void Picture::blur(int radius_x, int radius_y, int passes, bool wrap) {
    std::vector<Rgb> scratch;
    for (int p = 0; p < passes; ++p) {
        for (int y = 0; y < height_; ++y) box_line(&at(0, y), width_, 1, radius_x, wrap, scratch);
        for (int x = 0; x < width_; ++x) box_line(&at(x, 0), height_, width_, radius_y, wrap, scratch);
    }
}

void Picture::add(const Picture& other, float weight) {
    for (std::size_t i = 0; i < pixels_.size() && i < other.pixels_.size(); ++i)
        pixels_[i] = pixels_[i] + other.pixels_[i] * weight;
}

bool Picture::write_jpeg(const std::string& path, int quality) const {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width_);
    info.image_height = static_cast<JDIMENSION>(height_);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width_) * 3);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Rgb& c = at(x, y);
            row[static_cast<std::size_t>(x) * 3 + 0] = to_byte(c.r);
            row[static_cast<std::size_t>(x) * 3 + 1] = to_byte(c.g);
            row[static_cast<std::size_t>(x) * 3 + 2] = to_byte(c.b);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

float Mask::sample(int x, int y) const { return at(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1)); }

void Mask::blur(int radius_x, int radius_y, int passes) {
    std::vector<float> scratch;
    for (int p = 0; p < passes; ++p) {
        for (int y = 0; y < height_; ++y) box_line(&at(0, y), width_, 1, radius_x, false, scratch);
        for (int x = 0; x < width_; ++x) box_line(&at(x, 0), height_, width_, radius_y, false, scratch);
    }
}
