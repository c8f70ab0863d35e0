// The bitmap variant of a decoded picture: our stand-in for a device-independent bitmap section as
// the platform's bitmap loader hands it out. It carries the platform's own records (BITMAP, RGBQUAD)
// so that the conversion can walk it exactly as it would walk the real thing: rows stored bottom to
// top, each `bmWidthBytes` (a multiple of 4) after the previous one, and for palettised depths a
// colour table of up to 256 entries. The pixel memory and the table belong to the object.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "platform/win_types.h"

// The platform's bitmap header as its object query returns it.
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

// One colour-table entry, blue first, as the platform stores it.
struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

class ImageBitmap {
public:
    static constexpr UINT kMaxColours = 256;

    // Bytes per stored row for a width and depth: padded to a multiple of 4.
    static std::size_t row_stride(LONG width, WORD bits_per_pixel);

    // A zero-filled bitmap of the given size and depth, with `colours` as its colour table (at most
    // kMaxColours entries are kept). Returns null if the size is not positive or memory runs out.
    static std::unique_ptr<ImageBitmap> create(LONG width, LONG height, WORD bits_per_pixel,
                                               std::span<const RGBQUAD> colours);

    // The header as the platform's object query fills it (bmBits points at the bottom row).
    BITMAP object() const;

    // Copies colour-table entries [start, start + count) that exist into `out` and returns how many
    // were copied, like the platform's colour-table query.
    UINT colour_table(UINT start, UINT count, RGBQUAD* out) const;
    UINT colour_count() const { return static_cast<UINT>(colours_.size()); }

    // Row `k` of the stored rows (0 is the bottom row of the picture).
    BYTE* row(LONG k) { return bits_.data() + static_cast<std::size_t>(k) * stride_; }
    const BYTE* row(LONG k) const { return bits_.data() + static_cast<std::size_t>(k) * stride_; }

    LONG width() const { return width_; }
    LONG height() const { return height_; }
    WORD bits_per_pixel() const { return bits_per_pixel_; }
    std::size_t stride() const { return stride_; }

private:
    ImageBitmap() = default;

    LONG width_ = 0;
    LONG height_ = 0;
    WORD bits_per_pixel_ = 0;
    std::size_t stride_ = 0;
    std::vector<BYTE> bits_;
    std::vector<RGBQUAD> colours_;
};
