// The BMP reader on files laid out byte by byte: what the shared test pictures do not show, and
// refusals of malformed files. Row order, padding, colour tables and depths are checked against an
// independent decoder on the shared test pictures.
#include <gtest/gtest.h>

#include "decode_checks.h"
#include "textures/bmp_read.h"

namespace {
Bytes with(Bytes file, std::size_t at, std::uint32_t value) {
    put_le32(file, at, value);
    return file;
}
}  // namespace

TEST(BmpRead, TakesWhatTheSharedPicturesDoNotShow) {
    // Colours-used 300 with only the 256 entries that 8 bits can index present: the pixels follow.
    DecodedImage image;
    ASSERT_EQ(bmp_decode(bmp_file(1, 1, 8, {{255, 0, 0, 0}}, Bytes(1024, 9), 0, 300), image), S_OK);
    EXPECT_EQ(image.bitmap->colour_count(), 256u);
    // 16 bits with the three bit-field masks (0xF800, 0x07E0, 0x001F) after the 40-byte header.
    const Bytes masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    ASSERT_EQ(bmp_decode(bmp_file(2, 1, 16, {{0x1F, 0, 0xE0, 0x07}}, masks, 3), image), S_OK);
    EXPECT_EQ(Bytes(image.bitmap->row(0), image.bitmap->row(0) + 4), (Bytes{0x1F, 0, 0xE0, 0x07}));
}

TEST(BmpRead, RefusesMalformedFiles) {
    const Bytes palette = {0, 0, 0, 0, 10, 10, 10, 0, 20, 20, 20, 0, 30, 30, 30, 0};  // four greys
    const Bytes good = bmp_file(3, 2, 24, {Bytes(12, 1), Bytes(12, 2)});  // rows of 9 bytes padded to 12
    const Bytes eight_bit = bmp_file(3, 1, 8, {}, palette, 0, 4);
    Bytes no_signature = good;
    no_signature[1] = 'A';
    expect_refusals(bmp_decode, DDERR_NOTFOUND,
                    {
                        {"empty", {}},
                        {"no BM signature", no_signature},
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
                        {"colour table past the end", Bytes(eight_bit.begin(), eight_bit.begin() + 60)},
                        {"pixel index beyond the colour table", bmp_file(3, 1, 8, {{0, 4, 1, 0}}, palette, 0, 4)},
                    });
    // An index in the row padding is not a pixel and is not checked.
    DecodedImage image;
    EXPECT_EQ(bmp_decode(bmp_file(3, 1, 8, {{0, 1, 2, 200}}, palette, 0, 4), image), S_OK);
}
