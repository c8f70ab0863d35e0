#include <gtest/gtest.h>

#include <cstring>

#include "image_test_files.h"
#include "textures/bmp_read.h"

namespace {
HRESULT decode(const Bytes& file, DecodedImage& image, std::string* reason = nullptr) {
    return bmp_decode(file, image, ImageLimits{}, reason);
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes stored_row(const DecodedImage& image, LONG k) {
    const BYTE* row = image.bitmap->row(k);
    return Bytes(row, row + image.bitmap->stride());
}

// Three 24-bit pixels (9 bytes) padded to 12; the padding bytes are marked so they can be told apart.
Bytes row24(std::uint8_t base) { return {base, 1, 2, base, 3, 4, base, 5, 6, 0xEE, 0xEE, 0xEE}; }

// Four grey entries: index i is (i * 10) in every channel.
Bytes grey_palette(int entries) {
    Bytes palette;
    for (int i = 0; i < entries; ++i) palette.insert(palette.end(), {std::uint8_t(i * 10), std::uint8_t(i * 10), std::uint8_t(i * 10), 0});
    return palette;
}
}  // namespace

TEST(BmpRead, TwentyFourBitRowsArePaddedAndStoredBottomUp) {
    // File rows of a bottom-up bitmap: first the bottom row (base 0x10), then the top (0x20).
    DecodedImage image;
    ASSERT_EQ(decode(bmp_file(3, 2, 24, {row24(0x10), row24(0x20)}), image), S_OK);
    ASSERT_TRUE(image.has_bitmap());
    EXPECT_FALSE(image.has_pixels());
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    const BITMAP header = image.bitmap->object();
    EXPECT_EQ(header.bmWidth, 3);
    EXPECT_EQ(header.bmHeight, 2);
    EXPECT_EQ(header.bmWidthBytes, 12);
    EXPECT_EQ(header.bmBitsPixel, 24);
    EXPECT_EQ(header.bmPlanes, 1);
    EXPECT_EQ(stored_row(image, 0), row24(0x10));
    EXPECT_EQ(stored_row(image, 1), row24(0x20));
    EXPECT_EQ(header.bmBits, image.bitmap->row(0));
}

TEST(BmpRead, TopDownFilesAreStoredBottomUpToo) {
    // Negative height: the file's first row is the top of the picture, so it is stored last.
    DecodedImage image;
    ASSERT_EQ(decode(bmp_file(3, -2, 24, {row24(0x20), row24(0x10)}), image), S_OK);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.bitmap->object().bmHeight, 2);
    EXPECT_EQ(stored_row(image, 0), row24(0x10));
    EXPECT_EQ(stored_row(image, 1), row24(0x20));
}

TEST(BmpRead, EightBitKeepsItsColourTable) {
    DecodedImage image;
    const Bytes palette = grey_palette(4);
    ASSERT_EQ(decode(bmp_file(5, 1, 8, {{0, 1, 2, 3, 1, 0, 0, 0}}, palette, 0, 4), image), S_OK);
    EXPECT_EQ(image.bitmap->object().bmWidthBytes, 8);
    EXPECT_EQ(image.bitmap->colour_count(), 4u);
    RGBQUAD table[256] = {};
    EXPECT_EQ(image.bitmap->colour_table(0, 256, table), 4u);
    EXPECT_EQ(table[3].rgbRed, 30);
    EXPECT_EQ(table[3].rgbBlue, 30);
    EXPECT_EQ(image.bitmap->colour_table(2, 1, table), 1u);
    EXPECT_EQ(table[0].rgbGreen, 20);
    EXPECT_EQ(image.bitmap->colour_table(4, 1, table), 0u);

    // Colours-used 0 means the whole 2^8 table.
    Bytes full = grey_palette(256);
    ASSERT_EQ(decode(bmp_file(1, 1, 8, {{255, 0, 0, 0}}, full, 0, 0), image), S_OK);
    EXPECT_EQ(image.bitmap->colour_count(), 256u);

    // More entries than 8 bits can index: only 256 are kept.
    Bytes oversize = grey_palette(26);
    for (int i = 0; i < 274; ++i) oversize.insert(oversize.end(), {1, 2, 3, 0});
    ASSERT_EQ(decode(bmp_file(1, 1, 8, {{25, 0, 0, 0}}, oversize, 0, 300), image), S_OK);
    EXPECT_EQ(image.bitmap->colour_count(), 256u);
}

TEST(BmpRead, CoreHeaderWithThreeBytePalette) {
    // 12-byte header: 16-bit width and height, then planes and depth; palette entries are 3 bytes.
    Bytes file(26, 0);
    file[0] = 'B';
    file[1] = 'M';
    put_le32(file, 14, 12);
    put_le16(file, 18, 2);
    put_le16(file, 20, 1);
    put_le16(file, 22, 1);
    put_le16(file, 24, 8);
    for (int i = 0; i < 256; ++i) file.insert(file.end(), {std::uint8_t(i), std::uint8_t(255 - i), 7});
    put_le32(file, 10, static_cast<std::uint32_t>(file.size()));
    file.insert(file.end(), {5, 250, 0, 0});
    DecodedImage image;
    ASSERT_EQ(decode(file, image), S_OK);
    RGBQUAD table[256] = {};
    ASSERT_EQ(image.bitmap->colour_table(0, 256, table), 256u);
    EXPECT_EQ(table[5].rgbBlue, 5);
    EXPECT_EQ(table[5].rgbGreen, 250);
    EXPECT_EQ(table[5].rgbRed, 7);
    EXPECT_EQ(stored_row(image, 0), (Bytes{5, 250, 0, 0}));
}

TEST(BmpRead, OtherDepthsLoadWithTheirBits) {
    DecodedImage image;
    ASSERT_EQ(decode(bmp_file(2, 1, 32, {{1, 2, 3, 4, 5, 6, 7, 8}}), image), S_OK);
    EXPECT_EQ(image.bitmap->bits_per_pixel(), 32);
    EXPECT_EQ(stored_row(image, 0), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));

    // 16 bits with bit-field masks after the 40-byte header.
    Bytes masks(12, 0);
    put_le32(masks, 0, 0xF800);
    put_le32(masks, 4, 0x07E0);
    put_le32(masks, 8, 0x001F);
    Bytes file = bmp_file(2, 1, 16, {{0x1F, 0, 0xE0, 0x07}}, masks, 3);
    ASSERT_EQ(decode(file, image), S_OK);
    EXPECT_EQ(image.bitmap->bits_per_pixel(), 16);

    ASSERT_EQ(decode(bmp_file(9, 1, 1, {{0x80, 0x80, 0, 0}}, grey_palette(2)), image), S_OK);
    EXPECT_EQ(image.bitmap->object().bmWidthBytes, 4);
    ASSERT_EQ(decode(bmp_file(9, 1, 4, {{0x10, 0, 0, 0, 0, 0, 0, 0}}, grey_palette(16)), image), S_OK);
    EXPECT_EQ(image.bitmap->object().bmWidthBytes, 8);
}

TEST(BmpRead, RefusesMalformedFiles) {
    const Bytes palette = grey_palette(4);
    const Bytes good = bmp_file(3, 2, 24, {row24(1), row24(2)});
    const Bytes eight_bit = bmp_file(3, 1, 8, {}, palette, 0, 4);
    auto with = [](Bytes file, std::size_t at, std::uint32_t value) {
        put_le32(file, at, value);
        return file;
    };
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"empty", {}},
        {"no BM signature", Bytes{'B', 'A'} + Bytes(good.begin() + 2, good.end())},
        {"header cut short", Bytes(good.begin(), good.begin() + 30)},
        {"unknown header size", with(good, 14, 44)},
        {"zero width", with(good, 18, 0)},
        {"negative width", with(good, 18, static_cast<std::uint32_t>(-3))},
        {"zero height", with(good, 22, 0)},
        {"height beyond the limit", with(good, 22, 16385)},
        {"most negative height", with(good, 22, 0x80000000u)},
        {"depth 2", bmp_file(3, 1, 2, {{0, 0, 0, 0}}, palette)},
        {"run-length compressed", bmp_file(3, 1, 8, {{0, 0, 0, 0}}, palette, 1, 4)},
        {"bit-field masks on 24 bits", with(good, 30, 3)},
        {"pixel offset past the end", with(good, 10, static_cast<std::uint32_t>(good.size() + 1))},
        {"pixel offset near 4 GiB", with(good, 10, 0xFFFFFFF0u)},
        {"pixel offset inside the header", with(good, 10, 20)},
        {"last row cut short", Bytes(good.begin(), good.end() - 1)},
        {"palette past the end", Bytes(eight_bit.begin(), eight_bit.begin() + 60)},
        {"pixel index beyond the colour table", bmp_file(3, 1, 8, {{0, 4, 1, 0}}, palette, 0, 4)},
    };
    for (const Case& c : cases) {
        DecodedImage image;
        std::string reason;
        EXPECT_EQ(decode(c.file, image, &reason), DDERR_NOTFOUND) << c.what;
        EXPECT_FALSE(reason.empty()) << c.what;
        EXPECT_FALSE(image.has_bitmap()) << c.what;
        EXPECT_EQ(image.width, 0u) << c.what;
    }
    // An index in the row padding is not a pixel and is not checked.
    DecodedImage image;
    EXPECT_EQ(decode(bmp_file(3, 1, 8, {{0, 1, 2, 200}}, palette, 0, 4), image), S_OK);
}
