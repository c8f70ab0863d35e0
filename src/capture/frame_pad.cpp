#include "capture/frame_pad.h"

#include <algorithm>

void frame_pad_centred(const FrameImage& frame, int width, int height, FrameImage* out)
{
    out->width = width;
    out->height = height;
    out->argb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0xFF000000u);
    const int w = std::min(frame.width, width);
    const int h = std::min(frame.height, height);
    const int x0 = (width - w) / 2;
    const int y0 = (height - h) / 2;
    for (int y = 0; y < h; ++y) {
        const auto src = frame.argb.begin() + static_cast<std::ptrdiff_t>(y) * frame.width;
        std::copy(src, src + w, out->argb.begin() + static_cast<std::ptrdiff_t>(y0 + y) * width + x0);
    }
}
