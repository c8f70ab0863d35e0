#include "textures/image_decoded.h"

bool image_size_acceptable(std::uint64_t width, std::uint64_t height, const ImageLimits& limits,
                           std::string* reason) {
    if (width == 0 || height == 0) {
        image_set_reason(reason, "picture has no pixels (" + std::to_string(width) + " x " +
                                     std::to_string(height) + ")");
        return false;
    }
    if (width > limits.max_width || height > limits.max_height) {
        image_set_reason(reason, "picture of " + std::to_string(width) + " x " + std::to_string(height) +
                                     " is larger than the limit of " + std::to_string(limits.max_width) +
                                     " x " + std::to_string(limits.max_height));
        return false;
    }
    return true;
}

void image_set_reason(std::string* reason, std::string text) {
    if (reason != nullptr) *reason = std::move(text);
}
