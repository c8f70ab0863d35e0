// The picture record of the program's frames and of every tool and test that looks at them: width,
// height and 0xAARRGGBB pixels, rows top first. A frame read back from a surface, a PNG read from
// disk and a golden image are all one of these, so they compare pixel for pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct FrameImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;

    FrameImage() = default;
    FrameImage(int w, int h, std::uint32_t fill = 0xFF000000u)
        : width(w), height(h), argb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill)
    {
    }
    std::uint32_t at(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t& at(int x, int y) { return argb[static_cast<std::size_t>(y) * width + x]; }
    bool empty() const { return width <= 0 || height <= 0; }
};
