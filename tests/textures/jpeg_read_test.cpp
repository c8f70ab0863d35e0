#include <gtest/gtest.h>

#include <cstdlib>

#include "image_test_files.h"
#include "platform/debug_output.h"
#include "textures/jpeg_read.h"

namespace {
// A smooth colour picture: red rises to the right, green downwards, blue is constant.
Bytes gradient(int width, int height) {
    Bytes rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rgb.insert(rgb.end(), {std::uint8_t(x * 255 / (width - 1)), std::uint8_t(y * 255 / (height - 1)), 100});
    return rgb;
}

int channel(DWORD pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }
}  // namespace

TEST(JpegRead, ColourPictureDecodesTopRowFirstWithOpaqueAlpha) {
    const int width = 40, height = 24;
    const Bytes rgb = gradient(width, height);
    for (const bool progressive : {false, true}) {
        DecodedImage image;
        ASSERT_EQ(jpeg_decode(jpeg_encode(width, height, 3, rgb, 98, progressive), image), S_OK);
        EXPECT_EQ(image.width, 40u);
        EXPECT_EQ(image.height, 24u);
        ASSERT_EQ(image.pixels.size(), 40u * 24u);
        int worst = 0;
        for (int i = 0; i < width * height; ++i) {
            const DWORD p = image.pixels[i];
            ASSERT_EQ(p & 0xFF, 0xFFu);
            worst = std::max({worst, std::abs(channel(p, 24) - rgb[3 * i]), std::abs(channel(p, 16) - rgb[3 * i + 1]),
                              std::abs(channel(p, 8) - rgb[3 * i + 2])});
        }
        EXPECT_LE(worst, 6) << (progressive ? "progressive" : "baseline");
        // Corners tell the orientation apart: top-left dark red, bottom-right full red and green.
        EXPECT_LT(channel(image.pixels.front(), 24), 10);
        EXPECT_GT(channel(image.pixels.back(), 24), 245);
        EXPECT_GT(channel(image.pixels.back(), 16), 245);
    }
}

TEST(JpegRead, GreyPictureHasEqualChannels) {
    Bytes grey;
    for (int i = 0; i < 16 * 8; ++i) grey.push_back(static_cast<std::uint8_t>(i * 2));
    DecodedImage image;
    ASSERT_EQ(jpeg_decode(jpeg_encode(16, 8, 1, grey), image), S_OK);
    ASSERT_EQ(image.pixels.size(), 128u);
    for (const DWORD p : image.pixels) {
        EXPECT_EQ(channel(p, 24), channel(p, 16));
        EXPECT_EQ(channel(p, 24), channel(p, 8));
        EXPECT_EQ(p & 0xFF, 0xFFu);
    }
}

TEST(JpegRead, DamagedFilesFailCleanly) {
    const Bytes good = jpeg_encode(64, 64, 3, gradient(64, 64));
    struct Case {
        const char* what;
        Bytes file;
    };
    Bytes corrupt = good;
    for (std::size_t i = good.size() / 2; i < good.size() / 2 + 40; ++i) corrupt[i] = 0xFF;  // marker-like junk
    Bytes bad_marker = good;
    bad_marker[1] = 0x00;  // not an SOI
    const Case cases[] = {
        {"empty", {}},
        {"two bytes", {0xFF, 0xD8}},
        {"no start of image", bad_marker},
        {"cut after the headers", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 3))},
        {"cut before the end marker", Bytes(good.begin(), good.end() - 2)},
        {"corrupt entropy-coded data", corrupt},
        {"text", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'}},
    };
    for (const Case& c : cases) {
        DebugOutputCapture quiet;
        DecodedImage image;
        std::string reason;
        EXPECT_EQ(jpeg_decode(c.file, image, ImageLimits{}, &reason), E_FAIL) << c.what;
        EXPECT_FALSE(reason.empty()) << c.what;
        EXPECT_FALSE(image.has_pixels()) << c.what;
        EXPECT_EQ(image.width, 0u) << c.what;
    }
}

TEST(JpegRead, HarmlessWarningsKeepThePictureAndGoToTheDiagnostics) {
    // Stray bytes between two marker segments (after the 18-byte JFIF segment that follows the
    // start marker): the library warns, the picture is complete.
    Bytes file = jpeg_encode(16, 16, 3, gradient(16, 16));
    ASSERT_EQ(file[2], 0xFF);
    ASSERT_EQ(file[3], 0xE0);
    ASSERT_EQ(file[20], 0xFF);
    file.insert(file.begin() + 20, {0x12, 0x34, 0x56});
    DebugOutputCapture capture;
    DecodedImage image;
    ASSERT_EQ(jpeg_decode(file, image), S_OK);
    EXPECT_EQ(image.pixels.size(), 256u);
    EXPECT_NE(capture.text().find("extraneous bytes"), std::string::npos) << capture.text();
}

TEST(JpegRead, SizeLimitIsCheckedBeforeDecoding) {
    const Bytes file = jpeg_encode(64, 32, 3, gradient(64, 32));
    DecodedImage image;
    std::string reason;
    EXPECT_EQ(jpeg_decode(file, image, ImageLimits{63, 100}, &reason), E_FAIL);
    EXPECT_NE(reason.find("64 x 32"), std::string::npos) << reason;
    EXPECT_EQ(jpeg_decode(file, image, ImageLimits{64, 32}), S_OK);
}
