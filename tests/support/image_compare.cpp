#include "support/image_compare.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

int channel(std::uint32_t p, int shift)
{
    return static_cast<int>((p >> shift) & 0xFF);
}

}  // namespace

std::string ImageComparison::summary() const
{
    if (!same_size) return "pictures differ in size";
    char text[200];
    std::snprintf(text, sizeof(text), "max channel difference %d, %ld pixels beyond tolerance (first at %d,%d), PSNR %.2f dB",
                  max_difference, bad_pixels, first_bad_x, first_bad_y, psnr);
    return text;
}

ImageComparison image_compare(const TestImage& actual, const TestImage& expected, const ImageTolerance& tolerance)
{
    ImageComparison r;
    r.same_size = actual.width == expected.width && actual.height == expected.height;
    if (!r.same_size) return r;
    double squared = 0.0;
    const int shifts_rgb[3] = {16, 8, 0};
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            const std::uint32_t a = actual.at(x, y);
            const std::uint32_t e = expected.at(x, y);
            int worst = 0;
            for (int shift : shifts_rgb) {
                const int d = std::abs(channel(a, shift) - channel(e, shift));
                squared += static_cast<double>(d) * d;
                worst = std::max(worst, d);
            }
            if (tolerance.compare_alpha) worst = std::max(worst, std::abs(channel(a, 24) - channel(e, 24)));
            r.max_difference = std::max(r.max_difference, worst);
            if (worst > tolerance.channel) {
                if (r.bad_pixels == 0) {
                    r.first_bad_x = x;
                    r.first_bad_y = y;
                }
                ++r.bad_pixels;
            }
        }
    }
    const double samples = 3.0 * actual.width * actual.height;
    const double mse = samples > 0 ? squared / samples : 0.0;
    r.psnr = mse == 0.0 ? std::numeric_limits<double>::infinity() : 10.0 * std::log10(255.0 * 255.0 / mse);
    const double pixels = static_cast<double>(actual.width) * actual.height;
    r.passed = r.bad_pixels <= static_cast<long>(tolerance.bad_fraction * pixels) &&
               (tolerance.min_psnr <= 0.0 || r.psnr >= tolerance.min_psnr);
    return r;
}

TestImage image_difference(const TestImage& actual, const TestImage& expected)
{
    const int w = std::min(actual.width, expected.width);
    const int h = std::min(actual.height, expected.height);
    TestImage diff(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t out = 0xFF000000u;
            for (int shift : {16, 8, 0}) {
                const int d = std::min(255, 4 * std::abs(channel(actual.at(x, y), shift) - channel(expected.at(x, y), shift)));
                out |= static_cast<std::uint32_t>(d) << shift;
            }
            diff.at(x, y) = out;
        }
    }
    return diff;
}
