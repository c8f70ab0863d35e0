#include <gtest/gtest.h>

#include <cstring>

#include "textures/surface_convert.h"

namespace {
SurfaceDestination format(void* bits, LONG pitch, DWORD bit_count, DWORD r, DWORD g, DWORD b, DWORD a) {
    SurfaceDestination d;
    d.lpSurface = bits;
    d.lPitch = pitch;
    d.dwRGBBitCount = bit_count;
    d.dwRBitMask = r;
    d.dwGBitMask = g;
    d.dwBBitMask = b;
    d.dwRGBAlphaBitMask = a;
    return d;
}

DecodedImage pixel_image(DWORD width, DWORD height, std::vector<DWORD> pixels) {
    DecodedImage image;
    image.width = width;
    image.height = height;
    image.pixels = std::move(pixels);
    return image;
}

// A bitmap whose stored rows (bottom first) are given, each already padded.
DecodedImage bitmap_image(LONG width, WORD bits, const std::vector<std::vector<BYTE>>& stored_rows,
                          std::vector<RGBQUAD> colours = {}) {
    DecodedImage image;
    image.bitmap = ImageBitmap::create(width, static_cast<LONG>(stored_rows.size()), bits, colours);
    for (std::size_t k = 0; k < stored_rows.size(); ++k) {
        EXPECT_EQ(stored_rows[k].size(), image.bitmap->stride());
        std::memcpy(image.bitmap->row(static_cast<LONG>(k)), stored_rows[k].data(), stored_rows[k].size());
    }
    image.width = static_cast<DWORD>(width);
    image.height = static_cast<DWORD>(stored_rows.size());
    return image;
}

constexpr DWORD kA8R8G8B8[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
constexpr DWORD kR5G6B5[] = {0xF800, 0x07E0, 0x001F, 0};
}  // namespace

TEST(PixelsToSurface, ShiftMethodKeepsTopBits) {
    // 0xFF8040C0 into A4R4G4B4 (masks 0x0F00, 0x00F0, 0x000F, 0xF000) gives 0xCF84.
    const DecodedImage image = pixel_image(1, 1, {0xFF8040C0});
    WORD out[2] = {0xAAAA, 0xAAAA};
    ASSERT_EQ(pixels_to_surface(image, format(out, 4, 16, 0x0F00, 0x00F0, 0x000F, 0xF000)), S_OK);
    EXPECT_EQ(out[0], 0xCF84);
    EXPECT_EQ(out[1], 0xAAAA);  // 16-bit formats get 16-bit stores only

    // 128 in a 5-bit channel becomes 16.
    const DecodedImage red128 = pixel_image(1, 1, {0x800000FF});
    ASSERT_EQ(pixels_to_surface(red128, format(out, 4, 16, kR5G6B5[0], kR5G6B5[1], kR5G6B5[2], kR5G6B5[3])), S_OK);
    EXPECT_EQ(out[0] >> 11, 16);
    EXPECT_EQ(out[0] & 0x07FF, 0);
}

TEST(PixelsToSurface, ThirtyTwoBitFormatsAndZeroMasks) {
    const DecodedImage image = pixel_image(2, 1, {0x11223344, 0xAABBCCDD});
    DWORD out[2] = {};
    const auto& m = kA8R8G8B8;
    ASSERT_EQ(pixels_to_surface(image, format(out, 8, 32, m[0], m[1], m[2], m[3])), S_OK);
    EXPECT_EQ(out[0], 0x44112233u);
    EXPECT_EQ(out[1], 0xDDAABBCCu);

    // X8R8G8B8: no alpha mask, so alpha contributes nothing.
    ASSERT_EQ(pixels_to_surface(image, format(out, 8, 32, m[0], m[1], m[2], 0)), S_OK);
    EXPECT_EQ(out[0], 0x00112233u);

    // A8B8G8R8 ordering works by masks alone.
    ASSERT_EQ(pixels_to_surface(image, format(out, 8, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000)), S_OK);
    EXPECT_EQ(out[0], 0x44332211u);
}

TEST(PixelsToSurface, RowsFollowThePitchAndPaddingIsLeftAlone) {
    const DecodedImage image = pixel_image(2, 2, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFFFFFF});
    std::vector<WORD> out(3 * 2, 0x5555);  // pitch of 3 pixels
    ASSERT_EQ(pixels_to_surface(image, format(out.data(), 6, 16, 0xF800, 0x07E0, 0x001F, 0)), S_OK);
    EXPECT_EQ(out, (std::vector<WORD>{0xF800, 0x07E0, 0x5555, 0x001F, 0xFFFF, 0x5555}));
}

TEST(PixelsToSurface, RefusesMissingInput) {
    DWORD out = 0;
    DecodedImage empty;
    EXPECT_EQ(pixels_to_surface(empty, format(&out, 4, 32, 0xFF0000, 0xFF00, 0xFF, 0)), E_INVALIDARG);
    const DecodedImage image = pixel_image(1, 1, {0x01020304});
    EXPECT_EQ(pixels_to_surface(image, format(nullptr, 4, 32, 0xFF0000, 0xFF00, 0xFF, 0)), E_INVALIDARG);
    const DecodedImage inconsistent = pixel_image(2, 2, {0x01020304});
    EXPECT_EQ(pixels_to_surface(inconsistent, format(&out, 4, 32, 0xFF0000, 0xFF00, 0xFF, 0)), E_INVALIDARG);
}

TEST(BitmapToSurface, ScaleMethodTruncates) {
    // 128 in the 5-bit red channel with mask 0xF800 becomes 15 (0xF800 × 128 / 255 = 0x7C7C).
    const DecodedImage image = bitmap_image(1, 24, {{0x00, 0x00, 0x80, 0x00}});
    WORD out = 0;
    ASSERT_EQ(bitmap_to_surface(image, format(&out, 2, 16, kR5G6B5[0], kR5G6B5[1], kR5G6B5[2], kR5G6B5[3])), S_OK);
    EXPECT_EQ(out >> 11, 15);
    EXPECT_EQ(out & 0x07FF, 0);

    // Into A8R8G8B8 every 8-bit value comes through unchanged; alpha is the whole alpha mask.
    std::vector<BYTE> row(256 * 3);
    for (int c = 0; c < 256; ++c) row[3 * c] = row[3 * c + 1] = row[3 * c + 2] = static_cast<BYTE>(c);
    const DecodedImage ramp = bitmap_image(256, 24, {row});
    std::vector<DWORD> words(256);
    const auto& m = kA8R8G8B8;
    ASSERT_EQ(bitmap_to_surface(ramp, format(words.data(), 1024, 32, m[0], m[1], m[2], m[3])), S_OK);
    for (DWORD c = 0; c < 256; ++c) ASSERT_EQ(words[c], 0xFF000000u | c << 16 | c << 8 | c) << c;

    // 4-4-4-4: alpha is 0xF000, the other channels scale.
    const DecodedImage one = bitmap_image(1, 24, {{0xFF, 0x80, 0x40, 0}});
    ASSERT_EQ(bitmap_to_surface(one, format(&out, 2, 16, 0x0F00, 0x00F0, 0x000F, 0xF000)), S_OK);
    EXPECT_EQ(out, 0xF37F);  // red 0x40 → 3, green 0x80 → 7, blue 0xFF → 15
}

TEST(BitmapToSurface, RowStrideAndUprightRows) {
    // A 3-pixel 24-bit bitmap: 9 bytes of pixels and 3 of padding, so each row starts 12 bytes on.
    // Stored rows run bottom to top; the padding bytes (0x99) must never show up.
    const DecodedImage image = bitmap_image(3, 24,
                                            {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x99, 0x99, 0x99},
                                             {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x99, 0x99, 0x99}});
    EXPECT_EQ(image.bitmap->object().bmWidthBytes, 12);
    std::vector<DWORD> out(4 * 2, 0xDEADBEEF);  // pitch of 4 pixels
    const auto& m = kA8R8G8B8;
    ASSERT_EQ(bitmap_to_surface(image, format(out.data(), 16, 32, m[0], m[1], m[2], m[3])), S_OK);
    EXPECT_EQ(out, (std::vector<DWORD>{0xFF131211, 0xFF161514, 0xFF191817, 0xDEADBEEF,  // top: stored row 1
                                       0xFF030201, 0xFF060504, 0xFF090807, 0xDEADBEEF}));
}

TEST(BitmapToSurface, EightBitGoesThroughTheColourTable) {
    const std::vector<RGBQUAD> colours = {{0, 0, 0, 0}, {0x10, 0x20, 0x30, 0}, {0xFF, 0xFF, 0xFF, 0}};
    const DecodedImage image = bitmap_image(2, 8, {{1, 2, 0, 0}});
    DecodedImage coloured = bitmap_image(2, 8, {{1, 2, 0, 0}}, colours);
    std::vector<DWORD> out(2);
    const auto& m = kA8R8G8B8;
    ASSERT_EQ(bitmap_to_surface(coloured, format(out.data(), 8, 32, m[0], m[1], m[2], m[3])), S_OK);
    EXPECT_EQ(out, (std::vector<DWORD>{0xFF302010, 0xFFFFFFFF}));
    // Entries the bitmap does not have read as black, never as stray memory.
    ASSERT_EQ(bitmap_to_surface(image, format(out.data(), 8, 32, m[0], m[1], m[2], m[3])), S_OK);
    EXPECT_EQ(out, (std::vector<DWORD>{0xFF000000, 0xFF000000}));
}

TEST(BitmapToSurface, OtherDepthsAndBitCountsWriteNothing) {
    const auto& m = kA8R8G8B8;
    for (const WORD bits : {1, 4, 16, 32}) {
        const std::size_t stride = ImageBitmap::row_stride(2, bits);
        const DecodedImage image = bitmap_image(2, bits, {std::vector<BYTE>(stride, 0x77)});
        std::vector<DWORD> out(2, 0x12345678);
        EXPECT_EQ(bitmap_to_surface(image, format(out.data(), 8, 32, m[0], m[1], m[2], m[3])), S_FALSE) << bits;
        EXPECT_EQ(out, (std::vector<DWORD>(2, 0x12345678))) << bits;
    }
    const DecodedImage image = bitmap_image(1, 24, {{1, 2, 3, 0}});
    DWORD out = 0x12345678;
    EXPECT_EQ(bitmap_to_surface(image, format(&out, 4, 24, 0xFF0000, 0xFF00, 0xFF, 0)), S_FALSE);
    EXPECT_EQ(out, 0x12345678u);

    DecodedImage empty;
    EXPECT_EQ(bitmap_to_surface(empty, format(&out, 4, 32, m[0], m[1], m[2], m[3])), E_INVALIDARG);
}
