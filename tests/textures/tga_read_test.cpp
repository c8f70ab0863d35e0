#include <gtest/gtest.h>

#include "image_test_files.h"
#include "textures/tga_read.h"

namespace {
constexpr int kRaw = 2;
constexpr int kRle = 10;

// Three-byte pixels blue, green, red for rows given as 0xRRGGBB values.
Bytes bgr(std::initializer_list<std::uint32_t> colours) {
    Bytes out;
    for (const std::uint32_t c : colours) {
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c >> 16));
    }
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

HRESULT decode(const Bytes& file, DecodedImage& image, std::string* reason = nullptr) {
    return tga_decode(file, image, ImageLimits{}, reason);
}
}  // namespace

TEST(TgaRead, RunPacketRepeatsOnePixel) {
    // h = 0x83: a run of four copies of blue 10, green 20, red 30.
    DecodedImage image;
    ASSERT_EQ(decode(tga_file(kRle, 4, 1, 24, 0x20, {0x83, 10, 20, 30}), image), S_OK);
    EXPECT_EQ(image.pixels, (std::vector<DWORD>(4, 0x1E140AFFu)));
    EXPECT_FALSE(image.has_bitmap());
}

TEST(TgaRead, RowOrderFollowsDescriptorBit5) {
    const Bytes rows = bgr({0x010203, 0x040506, 0x0A0B0C, 0x0D0E0F});  // file rows: first, second
    DecodedImage bottom_up;
    ASSERT_EQ(decode(tga_file(kRaw, 2, 2, 24, 0x00, rows), bottom_up), S_OK);
    EXPECT_EQ(bottom_up.pixels, (std::vector<DWORD>{0x0A0B0CFF, 0x0D0E0FFF, 0x010203FF, 0x040506FF}));

    DecodedImage top_down;
    ASSERT_EQ(decode(tga_file(kRaw, 2, 2, 24, 0x20, rows), top_down), S_OK);
    EXPECT_EQ(top_down.pixels, (std::vector<DWORD>{0x010203FF, 0x040506FF, 0x0A0B0CFF, 0x0D0E0FFF}));

    // Bit 4 (right to left) is not honoured: the row still fills left to right.
    DecodedImage right_to_left;
    ASSERT_EQ(decode(tga_file(kRaw, 2, 2, 24, 0x30, rows), right_to_left), S_OK);
    EXPECT_EQ(right_to_left.pixels, top_down.pixels);
}

TEST(TgaRead, ThirtyTwoBitKeepsAlphaTwentyFourBitGets255) {
    DecodedImage image;
    ASSERT_EQ(decode(tga_file(kRaw, 2, 1, 32, 0x28, {1, 2, 3, 0x00, 4, 5, 6, 0x7F}), image), S_OK);
    EXPECT_EQ(image.pixels, (std::vector<DWORD>{0x03020100, 0x0605047F}));

    ASSERT_EQ(decode(tga_file(kRaw, 2, 1, 24, 0x20, {1, 2, 3, 4, 5, 6}), image), S_OK);
    EXPECT_EQ(image.pixels, (std::vector<DWORD>{0x030201FF, 0x060504FF}));
}

TEST(TgaRead, IdFieldIsSkipped) {
    Bytes body = {'n', 'a', 'm', 'e', 'x'};
    const Bytes pixel = bgr({0x112233});
    body.insert(body.end(), pixel.begin(), pixel.end());
    DecodedImage image;
    ASSERT_EQ(decode(tga_file(kRaw, 1, 1, 24, 0x20, body, 5), image), S_OK);
    EXPECT_EQ(image.pixels, (std::vector<DWORD>{0x112233FF}));
}

TEST(TgaRead, PacketsRunAcrossRowEnds) {
    // 3 × 2, top-down: one raw packet of 2, then a run of 3 that covers the end of row 0 and the
    // start of row 1, then a raw packet of 1.
    const Bytes body = concat({{0x01}, bgr({0xAA0000, 0x00BB00}), {0x82}, bgr({0x0000CC}), {0x00}, bgr({0x123456})});
    DecodedImage image;
    ASSERT_EQ(decode(tga_file(kRle, 3, 2, 24, 0x20, body), image), S_OK);
    EXPECT_EQ(image.pixels,
              (std::vector<DWORD>{0xAA0000FF, 0x00BB00FF, 0x0000CCFF, 0x0000CCFF, 0x0000CCFF, 0x123456FF}));

    // The same stream bottom-up: the second file row is the top of the picture.
    ASSERT_EQ(decode(tga_file(kRle, 3, 2, 24, 0x00, body), image), S_OK);
    EXPECT_EQ(image.pixels,
              (std::vector<DWORD>{0x0000CCFF, 0x0000CCFF, 0x123456FF, 0xAA0000FF, 0x00BB00FF, 0x0000CCFF}));
}

TEST(TgaRead, PacketsBeyondTheLastPixelAreDropped) {
    // A run of 128 and a raw packet of 128 into a 2 × 1 picture: nothing is written past it
    // (AddressSanitizer would see it), the picture holds the first pixels.
    Bytes body = concat({{0x00}, bgr({0x010101}), {0xFF}, bgr({0x020202})});
    DecodedImage image;
    ASSERT_EQ(decode(tga_file(kRle, 2, 1, 24, 0x20, body), image), S_OK);
    EXPECT_EQ(image.pixels, (std::vector<DWORD>{0x010101FF, 0x020202FF}));

    Bytes raw = {0x7F};
    for (int i = 0; i < 128; ++i) raw.insert(raw.end(), {7, 8, 9});
    ASSERT_EQ(decode(tga_file(kRle, 1, 1, 24, 0x20, raw), image), S_OK);
    EXPECT_EQ(image.pixels, (std::vector<DWORD>{0x090807FF}));
}

TEST(TgaRead, MissingBytesReadAs255) {
    DecodedImage image;
    // Uncompressed: one and a half pixels present out of four.
    ASSERT_EQ(decode(tga_file(kRaw, 2, 2, 32, 0x28, {1, 2, 3, 4, 5, 6}), image), S_OK);
    EXPECT_EQ(image.pixels, (std::vector<DWORD>{0x03020104, 0xFF0605FF, 0xFFFFFFFF, 0xFFFFFFFF}));

    // Run-length: the file ends inside the stream; a missing packet header reads as a run.
    ASSERT_EQ(decode(tga_file(kRle, 3, 1, 24, 0x20, {0x80, 1, 2, 3}), image), S_OK);
    EXPECT_EQ(image.pixels, (std::vector<DWORD>{0x030201FF, 0xFFFFFFFF, 0xFFFFFFFF}));

    // An ID field longer than the file: every pixel is missing.
    ASSERT_EQ(decode(tga_file(kRaw, 2, 1, 24, 0x20, {}, 200), image), S_OK);
    EXPECT_EQ(image.pixels, (std::vector<DWORD>(2, 0xFFFFFFFF)));
}

TEST(TgaRead, RefusesWhatItDoesNotTake) {
    struct Case {
        const char* what;
        Bytes file;
    };
    const Bytes pixel = bgr({0x123456});
    const Case cases[] = {
        {"shorter than the header", Bytes(17, 0)},
        {"colour-mapped", tga_file(1, 1, 1, 8, 0, {0})},
        {"type 2 with a colour map", tga_file(kRaw, 1, 1, 24, 0, pixel, 0, 1)},
        {"grey-scale", tga_file(3, 1, 1, 8, 0, {0})},
        {"grey-scale run-length", tga_file(11, 1, 1, 8, 0, {0})},
        {"16-bit", tga_file(kRaw, 1, 1, 16, 0, {0, 0})},
        {"zero width", tga_file(kRaw, 0, 1, 24, 0, pixel)},
        {"zero height", tga_file(kRle, 1, 0, 24, 0, pixel)},
        {"wider than the limit", tga_file(kRaw, 16385, 1, 24, 0, pixel)},
    };
    for (const Case& c : cases) {
        DecodedImage image;
        image.width = 9;
        std::string reason;
        EXPECT_EQ(decode(c.file, image, &reason), E_FAIL) << c.what;
        EXPECT_FALSE(reason.empty()) << c.what;
        EXPECT_EQ(image.width, 0u) << c.what;
        EXPECT_FALSE(image.has_pixels()) << c.what;
    }
    DecodedImage image;
    EXPECT_EQ(tga_decode(tga_file(kRaw, 5, 5, 24, 0, {}), image, ImageLimits{4, 4}), E_FAIL);
    EXPECT_EQ(tga_decode(tga_file(kRaw, 4, 4, 24, 0, {}), image, ImageLimits{4, 4}), S_OK);
}

TEST(TgaRead, LargestPictureWithinTheLimitIsBoundedByItsHeader) {
    // A header alone can ask for the largest picture; the result is a fully defined buffer.
    DecodedImage image;
    ASSERT_EQ(decode(tga_file(kRle, 16384, 4, 32, 0, {}), image), S_OK);
    ASSERT_EQ(image.pixels.size(), 16384u * 4u);
    for (const DWORD p : image.pixels) ASSERT_EQ(p, 0xFFFFFFFFu);
}
