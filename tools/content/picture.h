// A picture being made: linear RGB floats, rows top first, with the few whole-picture operations the
// recipes use (filling from a function of position, soft glow by repeated box blur, additive and
// masked layering) and the JPEG writer (libjpeg-turbo, fixed quality, no metadata that could vary).
// Positions given to fill functions are in display units: x in [0, aspect), y in [0, 1), where the
// aspect is the width/height the picture is seen at, not its pixel ratio (a 1024 × 512 full-screen
// picture is seen at 4:3).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "content/colour.h"

class Picture {
public:
    Picture(int width, int height, float aspect);

    int width() const { return width_; }
    int height() const { return height_; }
    float aspect() const { return aspect_; }
    // Horizontal pixels per vertical pixel of the same displayed length.
    float pixel_stretch() const { return static_cast<float>(width_) / static_cast<float>(height_) / aspect_; }

    Rgb& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)]; }
    const Rgb& at(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    }

    // Every pixel from f(x, y) at the pixel's centre, in display units.
    void fill(const std::function<Rgb(float, float)>& f);
    // Every pixel from f(x, y, current colour).
    void shade(const std::function<Rgb(float, float, Rgb)>& f);

    // Separable box blur, `passes` times (three passes are close to a Gaussian); radius in pixels,
    // edges clamped or wrapped.
    void blur(int radius_x, int radius_y, int passes, bool wrap = false);

    void add(const Picture& other, float weight = 1.0f);

    bool write_jpeg(const std::string& path, int quality = 92) const;

private:
    int width_, height_;
    float aspect_;
    std::vector<Rgb> pixels_;
};

// A single-channel layer the same size as a picture (text coverage, masks).
class Mask {
public:
    Mask(int width, int height) : width_(width), height_(height), values_(static_cast<std::size_t>(width) * height, 0.0f) {}
    int width() const { return width_; }
    int height() const { return height_; }
    float& at(int x, int y) { return values_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)]; }
    float at(int x, int y) const {
        return values_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    }
    // Clamped read for any position.
    float sample(int x, int y) const;
    void blur(int radius_x, int radius_y, int passes);

private:
    int width_, height_;
    std::vector<float> values_;
};
