#include "textures/tga_read.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "textures/image_file.h"

namespace {
constexpr std::size_t kHeaderBytes = 18;
constexpr BYTE kTypeTrueColour = 2;
constexpr BYTE kTypeTrueColourRle = 10;
constexpr BYTE kDescriptorTopDown = 0x20;

// Sequential reader over the file's bytes; past the end every byte reads as 255.
class TgaBytes {
public:
    TgaBytes(std::span<const BYTE> data, std::size_t start)
        : next_(data.data() + std::min(start, data.size())), end_(data.data() + data.size()) {}

    BYTE byte() { return next_ < end_ ? *next_++ : 0xFF; }

    DWORD pixel(bool has_alpha) {
        if (end_ - next_ >= 4) {  // common case: no end-of-file checks per byte
            const DWORD b = next_[0], g = next_[1], r = next_[2];
            const DWORD a = has_alpha ? next_[3] : 0xFF;
            next_ += has_alpha ? 4 : 3;
            return r << 24 | g << 16 | b << 8 | a;
        }
        const DWORD b = byte(), g = byte(), r = byte();
        const DWORD a = has_alpha ? byte() : 0xFF;
        return r << 24 | g << 16 | b << 8 | a;
    }

private:
    const BYTE* next_;
    const BYTE* end_;
};

// Receives pixels in file order and puts each file row where the row order says.
class TgaRows {
public:
    TgaRows(DecodedImage& image, bool top_down)
        : image_(image), top_down_(top_down), total_(static_cast<std::size_t>(image.width) * image.height) {
        start_row();
    }

    bool full() const { return written_ == total_; }

    void put(DWORD value) {
        row_[column_] = value;
        ++written_;
        if (++column_ == image_.width) {
            column_ = 0;
            ++file_row_;
            if (!full()) start_row();
        }
    }

private:
    void start_row() {
        const DWORD buffer_row = top_down_ ? file_row_ : image_.height - 1 - file_row_;
        row_ = image_.pixels.data() + static_cast<std::size_t>(buffer_row) * image_.width;
    }

    DecodedImage& image_;
    bool top_down_;
    std::size_t total_;
    std::size_t written_ = 0;
    DWORD file_row_ = 0;
    DWORD column_ = 0;
    DWORD* row_ = nullptr;
};

DWORD read_le16(const BYTE* p) { return static_cast<DWORD>(p[0] | p[1] << 8); }
}  // namespace

HRESULT tga_decode(std::span<const BYTE> data, DecodedImage& image, const ImageLimits& limits,
                   std::string* reason) {
    image.clear();
    if (data.size() < kHeaderBytes) {
        image_set_reason(reason, "file is shorter than the 18-byte TGA header");
        return E_FAIL;
    }
    const BYTE id_length = data[0];
    const BYTE colour_map_type = data[1];
    const BYTE image_type = data[2];
    const DWORD width = read_le16(&data[12]);
    const DWORD height = read_le16(&data[14]);
    const BYTE depth = data[16];
    const BYTE descriptor = data[17];

    if (colour_map_type != 0) {
        image_set_reason(reason, "TGA with a colour map (colour-map type " + std::to_string(colour_map_type) +
                                     ") is not supported");
        return E_FAIL;
    }
    if (image_type != kTypeTrueColour && image_type != kTypeTrueColourRle) {
        image_set_reason(reason, "TGA image type " + std::to_string(image_type) +
                                     " is not supported (only 2 and 10, true colour)");
        return E_FAIL;
    }
    if (depth != 24 && depth != 32) {
        image_set_reason(reason, "TGA depth " + std::to_string(depth) + " is not supported (only 24 and 32)");
        return E_FAIL;
    }
    if (!image_size_acceptable(width, height, limits, reason)) return E_FAIL;

    try {
        image.pixels.resize(static_cast<std::size_t>(width) * height);
    } catch (const std::exception&) {
        image.clear();
        image_set_reason(reason, "out of memory for the pixel buffer");
        return E_FAIL;
    }
    image.width = width;
    image.height = height;

    const bool has_alpha = depth == 32;
    TgaBytes bytes(data, kHeaderBytes + id_length);
    TgaRows rows(image, (descriptor & kDescriptorTopDown) != 0);
    if (image_type == kTypeTrueColour) {
        while (!rows.full()) rows.put(bytes.pixel(has_alpha));
    } else {
        // Packets are decoded as one stream over the whole picture, so a packet that runs past the
        // end of a row goes on in the next one; whatever would run past the last pixel is dropped.
        while (!rows.full()) {
            const BYTE header = bytes.byte();
            const unsigned count = (header & 0x7Fu) + 1;
            if (header & 0x80u) {
                const DWORD value = bytes.pixel(has_alpha);
                for (unsigned i = 0; i < count && !rows.full(); ++i) rows.put(value);
            } else {
                for (unsigned i = 0; i < count && !rows.full(); ++i) rows.put(bytes.pixel(has_alpha));
            }
        }
    }
    return S_OK;
}

HRESULT tga_read(const std::string& path, DecodedImage& image, std::string* reason) {
    image.clear();
    std::vector<BYTE> data;
    if (!image_file_read(path, data, reason)) return E_FAIL;
    return tga_decode(data, image, ImageLimits{}, reason);
}
