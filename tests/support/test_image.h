// The picture record the test utilities share: width, height and 0xAARRGGBB pixels, rows top first.
// Tests of any area (device layer, image decoders, demo captures) hand their pictures over in it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TestImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;

    TestImage() = default;
    TestImage(int w, int h, std::uint32_t fill = 0xFF000000u)
        : width(w), height(h), argb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill)
    {
    }
    std::uint32_t at(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t& at(int x, int y) { return argb[static_cast<std::size_t>(y) * width + x]; }
    bool empty() const { return width <= 0 || height <= 0; }
};

// "#AARRGGBB" text of a pixel, for failure messages.
std::string argb_text(std::uint32_t argb);
