#include "textures/bmp_read.h"

#include <cstring>
#include <vector>

#include "textures/image_file.h"

namespace {
constexpr std::size_t kFileHeaderBytes = 14;
constexpr DWORD kCoreHeaderBytes = 12;
constexpr DWORD kInfoHeaderBytes = 40;
constexpr DWORD kCompressionNone = 0;   // BI_RGB
constexpr DWORD kCompressionMasks = 3;  // BI_BITFIELDS

DWORD read_le16(const BYTE* p) { return static_cast<DWORD>(p[0] | p[1] << 8); }
DWORD read_le32(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 | static_cast<DWORD>(p[2]) << 16 |
           static_cast<DWORD>(p[3]) << 24;
}

bool known_info_header(DWORD size) {
    // BITMAPINFOHEADER, its two bit-field extensions, BITMAPV4HEADER and BITMAPV5HEADER. The 64-byte
    // OS/2 2.x header gives compression values other meanings and is not taken.
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // positive; `top_down` carries the sign of the file's height
    bool top_down = false;
    DWORD bits = 0;
    DWORD compression = kCompressionNone;
    DWORD colours_used = 0;
    std::size_t palette_offset = 0;
    std::size_t palette_entry_bytes = 4;
    std::size_t pixel_offset = 0;
    std::size_t headers_end = 0;  // end of the file and information headers
};

HRESULT fail(std::string* reason, std::string text) {
    image_set_reason(reason, std::move(text));
    return DDERR_NOTFOUND;
}

// Reads and checks the headers; every field used later is validated here.
HRESULT read_layout(std::span<const BYTE> data, BmpLayout& layout, std::string* reason) {
    if (data.size() < kFileHeaderBytes + 4 || data[0] != 'B' || data[1] != 'M')
        return fail(reason, "not a bitmap file (no \"BM\" header)");
    layout.pixel_offset = read_le32(&data[10]);
    const DWORD header_size = read_le32(&data[14]);
    if (header_size == kCoreHeaderBytes) {
        if (data.size() < kFileHeaderBytes + kCoreHeaderBytes) return fail(reason, "bitmap header is cut short");
        layout.width = read_le16(&data[18]);
        layout.height = read_le16(&data[20]);
        layout.bits = read_le16(&data[24]);
        layout.palette_entry_bytes = 3;
    } else if (known_info_header(header_size)) {
        if (data.size() < kFileHeaderBytes + header_size) return fail(reason, "bitmap header is cut short");
        layout.width = static_cast<std::int32_t>(read_le32(&data[18]));
        layout.height = static_cast<std::int32_t>(read_le32(&data[22]));
        layout.bits = read_le16(&data[28]);
        layout.compression = read_le32(&data[30]);
        layout.colours_used = read_le32(&data[46]);
        if (layout.height < 0) {
            layout.top_down = true;
            layout.height = -layout.height;
        }
    } else {
        return fail(reason, "unknown bitmap header size " + std::to_string(header_size));
    }
    layout.headers_end = kFileHeaderBytes + header_size;
    layout.palette_offset = layout.headers_end;
    if (header_size == kInfoHeaderBytes && layout.compression == kCompressionMasks)
        layout.palette_offset += 12;  // the three masks follow the short header

    const DWORD bits = layout.bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return fail(reason, "bitmap depth " + std::to_string(bits) + " is not supported");
    const bool masks_allowed = bits == 16 || bits == 32;
    if (layout.compression != kCompressionNone && !(layout.compression == kCompressionMasks && masks_allowed))
        return fail(reason, "bitmap compression " + std::to_string(layout.compression) + " is not supported");
    if (layout.width <= 0) return fail(reason, "bitmap width " + std::to_string(layout.width) + " is not positive");
    return S_OK;
}
}  // namespace

HRESULT bmp_decode(std::span<const BYTE> data, DecodedImage& image, const ImageLimits& limits,
                   std::string* reason) {
    image.clear();
    BmpLayout layout;
    if (const HRESULT hr = read_layout(data, layout, reason); FAILED(hr)) return hr;
    if (!image_size_acceptable(static_cast<std::uint64_t>(layout.width), static_cast<std::uint64_t>(layout.height),
                               limits, reason))
        return DDERR_NOTFOUND;
    const LONG width = static_cast<LONG>(layout.width);
    const LONG height = static_cast<LONG>(layout.height);
    const WORD bits = static_cast<WORD>(layout.bits);

    // Colour table: 2^bits entries unless the header names fewer. More than 2^bits can never be
    // indexed, so only the first 2^bits are read.
    std::vector<RGBQUAD> colours;
    if (bits <= 8) {
        const std::size_t most = std::size_t{1} << bits;
        std::size_t count = layout.colours_used == 0 ? most : layout.colours_used;
        if (count > most) count = most;
        const std::size_t bytes = count * layout.palette_entry_bytes;
        if (layout.palette_offset > data.size() || data.size() - layout.palette_offset < bytes)
            return fail(reason, "colour table runs past the end of the file");
        colours.resize(count);
        const BYTE* entry = data.data() + layout.palette_offset;
        for (RGBQUAD& colour : colours) {
            colour = RGBQUAD{entry[0], entry[1], entry[2], 0};
            entry += layout.palette_entry_bytes;
        }
    }

    const std::size_t stride = ImageBitmap::row_stride(width, bits);
    const std::size_t pixel_bytes = stride * static_cast<std::size_t>(height);
    if (layout.pixel_offset < layout.headers_end || layout.pixel_offset > data.size() || data.size() - layout.pixel_offset < pixel_bytes)
        return fail(reason, "pixel data at offset " + std::to_string(layout.pixel_offset) + " (" +
                                std::to_string(pixel_bytes) + " bytes) lies outside the file of " +
                                std::to_string(data.size()) + " bytes");
    const BYTE* file_rows = data.data() + layout.pixel_offset;

    if (bits == 8) {
        for (LONG y = 0; y < height; ++y) {
            const BYTE* row = file_rows + static_cast<std::size_t>(y) * stride;
            for (LONG x = 0; x < width; ++x) {
                if (row[x] >= colours.size())
                    return fail(reason, "pixel value " + std::to_string(row[x]) + " is beyond the colour table of " +
                                            std::to_string(colours.size()) + " entries");
            }
        }
    }

    std::unique_ptr<ImageBitmap> bitmap = ImageBitmap::create(width, height, bits, colours);
    if (!bitmap) return fail(reason, "out of memory for the bitmap");
    for (LONG k = 0; k < height; ++k) {
        // Stored rows run bottom to top; a top-down file's first row is the top one.
        const LONG file_row = layout.top_down ? height - 1 - k : k;
        std::memcpy(bitmap->row(k), file_rows + static_cast<std::size_t>(file_row) * stride, stride);
    }
    image.width = static_cast<DWORD>(width);
    image.height = static_cast<DWORD>(height);
    image.bitmap = std::move(bitmap);
    return S_OK;
}

HRESULT bmp_read(const std::string& path, DecodedImage& image, std::string* reason) {
    image.clear();
    std::vector<BYTE> data;
    if (!image_file_read(path, data, reason)) return DDERR_NOTFOUND;
    return bmp_decode(data, image, ImageLimits{}, reason);
}
