// The JPEG reader on damaged pictures written with libjpeg: files that lose picture data fail, harmless
// warnings only reach the diagnostics, and the size is checked from the header. How pictures decode is
// checked against an independent decoder on the shared test pictures.
#include <gtest/gtest.h>

#include "decode_checks.h"
#include "platform/debug_output.h"
#include "textures/jpeg_read.h"

namespace {
// A colour picture with fine detail, so that there is plenty of entropy-coded data.
Bytes busy_picture(int width, int height) {
    Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 7);
    return rgb;
}
}  // namespace

TEST(JpegRead, RefusesFilesThatLosePictureData) {
    DebugOutputCapture quiet;
    const Bytes good = jpeg_encode(64, 64, 3, busy_picture(64, 64));
    Bytes corrupt = good;
    for (std::size_t i = good.size() / 2; i < good.size() / 2 + 40; ++i) corrupt[i] = 0xFF;  // marker-like junk
    Bytes no_start = good;
    no_start[1] = 0x00;
    expect_refusals(jpeg_decode, E_FAIL,
                    {
                        {"empty", {}},
                        {"start marker only", {0xFF, 0xD8}},
                        {"no start of image", no_start},
                        {"text", {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'}},
                        {"cut after the headers", Bytes(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 3))},
                        {"cut before the end marker", Bytes(good.begin(), good.end() - 2)},
                        {"corrupt entropy-coded data", corrupt},
                    });
    DecodedImage image;
    std::string reason;
    EXPECT_EQ(jpeg_decode(good, image, ImageLimits{63, 100}, &reason), E_FAIL);
    EXPECT_NE(reason.find("64 x 64"), std::string::npos) << reason;  // the size from the header
}

TEST(JpegRead, HarmlessWarningsKeepThePictureAndGoToTheDiagnostics) {
    // Stray bytes after the 18-byte JFIF segment that follows the start marker.
    Bytes file = jpeg_encode(16, 16, 3, busy_picture(16, 16));
    ASSERT_EQ(file[20], 0xFF);
    file.insert(file.begin() + 20, {0x12, 0x34, 0x56});
    DebugOutputCapture capture;
    DecodedImage image;
    ASSERT_EQ(jpeg_decode(file, image), S_OK);
    EXPECT_EQ(image.pixels.size(), 256u);
    EXPECT_NE(capture.text().find("extraneous bytes"), std::string::npos) << capture.text();
}
