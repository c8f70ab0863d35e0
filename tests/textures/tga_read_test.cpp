// The TGA reader on files laid out byte by byte: packets cut at the last pixel, missing bytes, the size
// limits, and refusals. Row orders, ID fields, alpha and packets across rows are checked against an
// independent decoder on the shared test pictures.
#include <gtest/gtest.h>

#include "decode_checks.h"
#include "textures/tga_read.h"

namespace {
constexpr int kRaw = 2;
constexpr int kRle = 10;
using Pixels = std::vector<DWORD>;

// Three-byte pixels blue, green, red from 0xRRGGBB values.
Bytes bgr(std::initializer_list<std::uint32_t> colours) {
    Bytes out;
    for (const std::uint32_t c : colours)
        out.insert(out.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
    return out;
}
}  // namespace

TEST(TgaRead, ShortFilesAndLongPacketsStayInside) {
    Bytes raw_128 = {0x7F};
    for (int i = 0; i < 128; ++i) raw_128.insert(raw_128.end(), {7, 8, 9});
    const struct {
        const char* what;
        Bytes file;
        Pixels pixels;
    } cases[] = {
        {"run of 128 past the last pixel", tga_file(kRle, 2, 1, 24, 0, concat({{0x00}, bgr({1}), {0xFF}, bgr({2})})),
         {0x000001FF, 0x000002FF}},
        {"raw packet of 128 into one pixel", tga_file(kRle, 1, 1, 24, 0, raw_128), {0x090807FF}},
        // Bytes past the end of the file read as 255; a missing packet header reads as a run.
        {"raw pixels cut short", tga_file(kRaw, 2, 2, 32, 0x28, {1, 2, 3, 4, 5, 6, 7}),
         {0x03020104, 0x070605FF, 0xFFFFFFFF, 0xFFFFFFFF}},
        {"packets cut short", tga_file(kRle, 3, 1, 24, 0, {0x80, 1, 2, 3}), {0x030201FF, 0xFFFFFFFF, 0xFFFFFFFF}},
        {"ID field longer than the file", tga_file(kRaw, 2, 1, 24, 0, {}, 200), Pixels(2, 0xFFFFFFFF)},
        {"largest width from a header alone", tga_file(kRle, 16384, 4, 32, 0, {}), Pixels(16384 * 4, 0xFFFFFFFF)},
    };
    for (const auto& c : cases) {
        DecodedImage image;
        const Bytes exact = c.file;  // no spare capacity: AddressSanitizer sees any read past the end
        ASSERT_EQ(tga_decode(exact, image), S_OK) << c.what;
        EXPECT_TRUE(image.pixels == c.pixels) << c.what << ": " << testing::PrintToString(image.pixels);
        EXPECT_EQ(static_cast<std::size_t>(image.width) * image.height, c.pixels.size()) << c.what;
        EXPECT_FALSE(image.has_bitmap()) << c.what;
    }
}

TEST(TgaRead, RefusesWhatItDoesNotTake) {
    const Bytes pixel = bgr({0x123456});
    expect_refusals(tga_decode, E_FAIL,
                    {
                        {"shorter than the header", Bytes(17, 0)},
                        {"colour-mapped", tga_file(1, 1, 1, 24, 0, pixel)},
                        {"type 2 with a colour map", tga_file(kRaw, 1, 1, 24, 0, pixel, 0, 1)},
                        {"grey-scale", tga_file(3, 1, 1, 24, 0, pixel)},
                        {"grey-scale run-length", tga_file(11, 1, 1, 24, 0, pixel)},
                        {"16-bit", tga_file(kRaw, 1, 1, 16, 0, {0, 0})},
                        {"zero width", tga_file(kRaw, 0, 1, 24, 0, pixel)},
                        {"zero height", tga_file(kRle, 1, 0, 24, 0, pixel)},
                        {"wider than the default limit", tga_file(kRaw, 16385, 1, 24, 0, pixel)},
                        {"taller than the limit given", tga_file(kRaw, 4, 5, 24, 0, {}), {4, 4}},
                    });
    DecodedImage image;
    EXPECT_EQ(tga_decode(tga_file(kRaw, 4, 4, 24, 0, {}), image, ImageLimits{4, 4}, nullptr), S_OK);
}
