#include "seam.h"

namespace soundtrack {

void seam_fold(Stereo& rendered, std::int64_t length, std::int64_t extension) {
    const std::size_t n = static_cast<std::size_t>(length);
    const std::size_t x = static_cast<std::size_t>(extension);
    for (std::size_t i = 0; i < x && n + i < rendered.frames(); ++i) {
        const float w = static_cast<float>(i) / static_cast<float>(x);  // 0: the continuation, 1: the clean start
        rendered.left[i] = rendered.left[n + i] * (1.0f - w) + rendered.left[i] * w;
        rendered.right[i] = rendered.right[n + i] * (1.0f - w) + rendered.right[i] * w;
    }
    rendered.left.resize(n);
    rendered.right.resize(n);
}

}  // namespace soundtrack
