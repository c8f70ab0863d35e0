#include "textures/surface_convert.h"

#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

namespace {
struct ShiftChannel {
    DWORD mask = 0;
    int right = 8;  // bits dropped from the 8-bit channel
    int left = 0;   // position of the mask's lowest bit (plus any bits beyond 8)
};

ShiftChannel shift_channel(DWORD mask) {
    ShiftChannel channel;
    if (mask == 0) return channel;  // contributes nothing
    channel.mask = mask;
    const int lowest = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    if (bits <= 8) {
        channel.right = 8 - bits;
        channel.left = lowest;
    } else {  // wider than the source channel: its top bits go to the top of the mask
        channel.right = 0;
        channel.left = lowest + bits - 8;
    }
    return channel;
}

DWORD shift_part(const ShiftChannel& channel, DWORD value) {
    return ((value >> channel.right) << channel.left) & channel.mask;
}

BYTE* destination_row(const SurfaceDestination& destination, std::size_t row) {
    return static_cast<BYTE*>(destination.lpSurface) + static_cast<std::ptrdiff_t>(row) * destination.lPitch;
}

void store(BYTE* at, DWORD value, bool wide) {
    if (wide) {
        std::memcpy(at, &value, sizeof value);
    } else {
        const WORD narrow = static_cast<WORD>(value);
        std::memcpy(at, &narrow, sizeof narrow);
    }
}

// Integer part of mask × (c / 255), computed exactly, then ANDed with the mask.
std::array<DWORD, 256> scale_table(DWORD mask) {
    std::array<DWORD, 256> table{};
    for (unsigned c = 0; c < 256; ++c)
        table[c] = static_cast<DWORD>(static_cast<std::uint64_t>(mask) * c / 255u) & mask;
    return table;
}
}  // namespace

namespace {
// The shift method's result for every value of each channel, built once per call; a pixel is then
// four table lookups ORed together.
template <typename Word>
struct ShiftTables {
    explicit ShiftTables(const SurfaceDestination& destination) {
        const ShiftChannel channels[4] = {shift_channel(destination.dwRBitMask), shift_channel(destination.dwGBitMask),
                                          shift_channel(destination.dwBBitMask),
                                          shift_channel(destination.dwRGBAlphaBitMask)};
        for (int c = 0; c < 4; ++c)
            for (DWORD v = 0; v < 256; ++v) table[c][v] = static_cast<Word>(shift_part(channels[c], v));
    }
    Word convert(DWORD pixel) const {
        return static_cast<Word>(table[0][pixel >> 24] | table[1][(pixel >> 16) & 0xFF] |
                                 table[2][(pixel >> 8) & 0xFF] | table[3][pixel & 0xFF]);
    }
    Word table[4][256];
};

bool is_a8r8g8b8(const SurfaceDestination& d) {
    return d.dwRGBBitCount == 32 && d.dwRBitMask == 0x00FF0000 && d.dwGBitMask == 0x0000FF00 &&
           d.dwBBitMask == 0x000000FF && d.dwRGBAlphaBitMask == 0xFF000000;
}

// Rows are built in a buffer of their own and copied, so the surface needs no alignment.
template <typename Word, typename Convert>
void convert_rows(const DecodedImage& image, const SurfaceDestination& destination, Convert convert) {
    std::vector<Word> row(image.width);
    for (std::size_t y = 0; y < image.height; ++y) {
        const DWORD* source = image.pixels.data() + y * image.width;
        for (std::size_t x = 0; x < image.width; ++x) row[x] = convert(source[x]);
        std::memcpy(destination_row(destination, y), row.data(), row.size() * sizeof(Word));
    }
}
}  // namespace

HRESULT pixels_to_surface(const DecodedImage& image, const SurfaceDestination& destination) {
    if (!image.has_pixels() || destination.lpSurface == nullptr ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        return E_INVALIDARG;
    if (is_a8r8g8b8(destination)) {
        // The most common texture format: the shift method reduces to moving alpha to the top.
        convert_rows<DWORD>(image, destination, [](DWORD pixel) { return std::rotr(pixel, 8); });
    } else if (destination.dwRGBBitCount == 32) {
        const auto tables = std::make_unique<ShiftTables<DWORD>>(destination);
        convert_rows<DWORD>(image, destination, [&](DWORD pixel) { return tables->convert(pixel); });
    } else {
        const auto tables = std::make_unique<ShiftTables<WORD>>(destination);
        convert_rows<WORD>(image, destination, [&](DWORD pixel) { return tables->convert(pixel); });
    }
    return S_OK;
}

HRESULT bitmap_to_surface(const DecodedImage& image, const SurfaceDestination& destination) {
    if (!image.has_bitmap() || destination.lpSurface == nullptr) return E_INVALIDARG;
    const BITMAP header = image.bitmap->object();
    if (header.bmBitsPixel != 8 && header.bmBitsPixel != 24) return S_FALSE;
    if (destination.dwRGBBitCount != 32 && destination.dwRGBBitCount != 16) return S_FALSE;
    const bool wide = destination.dwRGBBitCount == 32;
    const std::size_t step = wide ? 4 : 2;

    // The colour table is read whole; entries the bitmap does not have stay black.
    RGBQUAD colours[ImageBitmap::kMaxColours] = {};
    if (header.bmBitsPixel == 8) image.bitmap->colour_table(0, ImageBitmap::kMaxColours, colours);

    const std::array<DWORD, 256> red = scale_table(destination.dwRBitMask);
    const std::array<DWORD, 256> green = scale_table(destination.dwGBitMask);
    const std::array<DWORD, 256> blue = scale_table(destination.dwBBitMask);
    const DWORD alpha = destination.dwRGBAlphaBitMask;

    const std::size_t height = static_cast<std::size_t>(header.bmHeight);
    const std::size_t width = static_cast<std::size_t>(header.bmWidth);
    const BYTE* bits = static_cast<const BYTE*>(header.bmBits);
    for (std::size_t k = 0; k < height; ++k) {
        const BYTE* in = bits + k * static_cast<std::size_t>(header.bmWidthBytes);
        BYTE* out = destination_row(destination, height - 1 - k);
        for (std::size_t x = 0; x < width; ++x, out += step) {
            BYTE b, g, r;
            if (header.bmBitsPixel == 24) {
                b = in[3 * x];
                g = in[3 * x + 1];
                r = in[3 * x + 2];
            } else {
                const RGBQUAD& colour = colours[in[x]];
                b = colour.rgbBlue;
                g = colour.rgbGreen;
                r = colour.rgbRed;
            }
            store(out, red[r] + green[g] + blue[b] + alpha, wide);
        }
    }
    return S_OK;
}
