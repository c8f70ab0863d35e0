#include "textures/image_bitmap.h"

#include <algorithm>
#include <stdexcept>

std::size_t ImageBitmap::row_stride(LONG width, WORD bits_per_pixel) {
    const std::size_t bits = static_cast<std::size_t>(width) * bits_per_pixel;
    return (bits + 31) / 32 * 4;
}

std::unique_ptr<ImageBitmap> ImageBitmap::create(LONG width, LONG height, WORD bits_per_pixel,
                                                 std::span<const RGBQUAD> colours) {
    if (width <= 0 || height <= 0 || bits_per_pixel == 0) return nullptr;
    try {
        std::unique_ptr<ImageBitmap> bitmap(new ImageBitmap);
        bitmap->width_ = width;
        bitmap->height_ = height;
        bitmap->bits_per_pixel_ = bits_per_pixel;
        bitmap->stride_ = row_stride(width, bits_per_pixel);
        bitmap->bits_.assign(bitmap->stride_ * static_cast<std::size_t>(height), 0);
        const std::size_t kept = std::min<std::size_t>(colours.size(), kMaxColours);
        bitmap->colours_.assign(colours.begin(), colours.begin() + static_cast<std::ptrdiff_t>(kept));
        return bitmap;
    } catch (const std::exception&) {  // bad_alloc or length_error
        return nullptr;
    }
}

BITMAP ImageBitmap::object() const {
    BITMAP header{};
    header.bmType = 0;
    header.bmWidth = width_;
    header.bmHeight = height_;
    header.bmWidthBytes = static_cast<LONG>(stride_);
    header.bmPlanes = 1;
    header.bmBitsPixel = bits_per_pixel_;
    header.bmBits = const_cast<BYTE*>(bits_.data());
    return header;
}

UINT ImageBitmap::colour_table(UINT start, UINT count, RGBQUAD* out) const {
    if (out == nullptr || start >= colours_.size()) return 0;
    const UINT available = static_cast<UINT>(colours_.size()) - start;
    const UINT copied = std::min(count, available);
    std::copy_n(colours_.begin() + start, copied, out);
    return copied;
}
