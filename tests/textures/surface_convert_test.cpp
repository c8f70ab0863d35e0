// Both conversion methods on tiny pictures, each into a surface pre-filled with a marker so that
// stray stores, pitch padding and 16- against 32-bit stores show up in the words compared.
#include <gtest/gtest.h>

#include <cstring>

#include "textures/surface_convert.h"

namespace {
// Formats without memory: `convert` supplies it.
constexpr SurfaceDestination kA8R8G8B8{nullptr, 0, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
constexpr SurfaceDestination kX8R8G8B8{nullptr, 0, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0};
constexpr SurfaceDestination kA8B8G8R8{nullptr, 0, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
constexpr SurfaceDestination kR5G6B5{nullptr, 0, 16, 0xF800, 0x07E0, 0x001F, 0};
constexpr SurfaceDestination kA4R4G4B4{nullptr, 0, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
constexpr DWORD kFill = 0xAAAAAAAA;  // what the surface held before; 0xAAAA in 16-bit words

using Words = std::vector<DWORD>;
using Result = std::pair<HRESULT, Words>;

DecodedImage pixels(DWORD width, DWORD height, Words words) { return {width, height, nullptr, std::move(words)}; }

// A bitmap from its stored rows (bottom first), each already padded.
DecodedImage bitmap(LONG width, WORD bits, const std::vector<std::vector<BYTE>>& rows,
                    std::vector<RGBQUAD> colours = {}) {
    DecodedImage image;
    image.bitmap = ImageBitmap::create(width, static_cast<LONG>(rows.size()), bits, colours);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k].size(), image.bitmap->stride());
        std::memcpy(image.bitmap->row(static_cast<LONG>(k)), rows[k].data(), rows[k].size());
    }
    image.width = static_cast<DWORD>(width);
    image.height = static_cast<DWORD>(rows.size());
    return image;
}

// Converts into a surface of `pitch` words per row (the picture's width unless given) and returns
// the result code and every word of the surface.
Result convert(const DecodedImage& image, SurfaceDestination d, std::size_t pitch = 0) {
    if (pitch == 0) pitch = image.width;
    const std::size_t word = d.dwRGBBitCount == 32 ? 4 : 2;
    std::vector<BYTE> memory(pitch * image.height * word, 0xAA);
    d.lpSurface = memory.data();
    d.lPitch = static_cast<LONG>(pitch * word);
    const HRESULT hr = image.has_bitmap() ? bitmap_to_surface(image, d) : pixels_to_surface(image, d);
    Words words(memory.size() / word, 0);
    for (std::size_t i = 0; i < words.size(); ++i) std::memcpy(&words[i], memory.data() + i * word, word);
    return {hr, words};
}
}  // namespace

TEST(PixelsToSurface, ShiftMethodKeepsTheTopBitsOfEachChannel) {
    // 0xFF8040C0 into 4-4-4-4 gives 0xCF84, stored as a 16-bit word only.
    EXPECT_EQ(convert(pixels(1, 1, {0xFF8040C0}), kA4R4G4B4, 2), (Result{S_OK, {0xCF84, 0xAAAA}}));
    // 128 in a 5-bit channel becomes 16.
    EXPECT_EQ(convert(pixels(1, 1, {0x800000FF}), kR5G6B5), (Result{S_OK, {16 << 11}}));
    const DecodedImage two = pixels(2, 1, {0x11223344, 0xAABBCCDD});
    EXPECT_EQ(convert(two, kA8R8G8B8), (Result{S_OK, {0x44112233, 0xDDAABBCC}}));
    EXPECT_EQ(convert(two, kX8R8G8B8), (Result{S_OK, {0x00112233, 0x00AABBCC}}));  // no alpha mask
    EXPECT_EQ(convert(two, kA8B8G8R8), (Result{S_OK, {0x44332211, 0xDDCCBBAA}}));
    // Channels wider than 8 bits get the 8 bits at their top.
    const SurfaceDestination a2r10g10b10{nullptr, 0, 32, 0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000};
    EXPECT_EQ(convert(pixels(1, 1, {0x80FF40C0}), a2r10g10b10), (Result{S_OK, {0xE00FF100}}));
    // Rows follow the pitch; the words beyond the picture are left alone.
    EXPECT_EQ(convert(pixels(2, 2, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFFFFFF}), kR5G6B5, 3),
              (Result{S_OK, {0xF800, 0x07E0, 0xAAAA, 0x001F, 0xFFFF, 0xAAAA}}));
}

TEST(PixelsToSurface, RefusesMissingOrInconsistentInput) {
    EXPECT_EQ(convert(pixels(1, 1, {}), kA8R8G8B8).first, E_INVALIDARG);
    EXPECT_EQ(convert(pixels(2, 2, {0x01020304}), kA8R8G8B8).first, E_INVALIDARG);  // fewer words than pixels
    EXPECT_EQ(pixels_to_surface(pixels(1, 1, {0x01020304}), kA8R8G8B8), E_INVALIDARG);  // no memory
}

TEST(BitmapToSurface, ScaleMethodTruncates) {
    // 128 in a 5-bit channel becomes 15: 0xF800 × 128 / 255 = 0x7C7C.
    EXPECT_EQ(convert(bitmap(1, 24, {{0x00, 0x00, 0x80, 0x00}}), kR5G6B5), (Result{S_OK, {15 << 11}}));
    // Alpha is the whole alpha mask; red 0x40 → 3, green 0x80 → 7, blue 0xFF → 15.
    EXPECT_EQ(convert(bitmap(1, 24, {{0xFF, 0x80, 0x40, 0}}), kA4R4G4B4), (Result{S_OK, {0xF37F}}));
}

TEST(BitmapToSurface, RowsComeUprightPastTheirPadding) {
    // A 3-pixel 24-bit row is 9 bytes and 3 of padding, so each stored row starts 12 bytes on; the
    // bottom row is stored first and the padding (0x99) never shows.
    const std::vector<BYTE> bottom = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x99, 0x99, 0x99};
    const std::vector<BYTE> top = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x99, 0x99, 0x99};
    const DecodedImage image = bitmap(3, 24, {bottom, top});
    EXPECT_EQ(image.bitmap->object().bmWidthBytes, 12);
    EXPECT_EQ(convert(image, kA8R8G8B8, 4), (Result{S_OK, {0xFF131211, 0xFF161514, 0xFF191817, kFill,  // top
                                                           0xFF030201, 0xFF060504, 0xFF090807, kFill}}));
}

TEST(BitmapToSurface, EightBitGoesThroughTheColourTable) {
    const std::vector<RGBQUAD> colours = {{0, 0, 0, 0}, {0x10, 0x20, 0x30, 0}, {0xFF, 0xFF, 0xFF, 0}};
    EXPECT_EQ(convert(bitmap(2, 8, {{1, 2, 0, 0}}, colours), kA8R8G8B8), (Result{S_OK, {0xFF302010, 0xFFFFFFFF}}));
    // Entries the bitmap does not have read as black, never as stray memory.
    EXPECT_EQ(convert(bitmap(2, 8, {{1, 2, 0, 0}}), kA8R8G8B8), (Result{S_OK, {0xFF000000, 0xFF000000}}));
}

TEST(BitmapToSurface, OtherDepthsAndBitCountsWriteNothing) {
    for (const WORD bits : {1, 4, 16, 32}) {
        const std::vector<BYTE> row(ImageBitmap::row_stride(2, bits), 0x77);
        EXPECT_EQ(convert(bitmap(2, bits, {row}), kA8R8G8B8), (Result{S_FALSE, {kFill, kFill}})) << bits;
    }
    EXPECT_EQ(convert(bitmap(1, 24, {{1, 2, 3, 0}}), SurfaceDestination{nullptr, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0}),
              (Result{S_FALSE, {0xAAAA}}));
    DWORD out = 0;
    EXPECT_EQ(bitmap_to_surface(DecodedImage{}, SurfaceDestination{&out, 4, 32, 0xFF0000, 0xFF00, 0xFF, 0}),
              E_INVALIDARG);
    EXPECT_EQ(bitmap_to_surface(bitmap(1, 24, {{1, 2, 3, 0}}), kA8R8G8B8), E_INVALIDARG);  // no memory
}
