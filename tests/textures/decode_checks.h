// The promise every picture reader makes about a file it refuses: the reader's own failure code, a
// reason, and nothing left behind in the picture it was handed, even one that held a picture before.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "image_test_files.h"
#include "textures/image_decoded.h"

using Decoder = HRESULT (*)(std::span<const BYTE>, DecodedImage&, const ImageLimits&, std::string*);

struct Refusal {
    const char* what;
    Bytes file;
    ImageLimits limits = {};
};

inline void expect_refusals(Decoder decode, HRESULT code, std::initializer_list<Refusal> cases) {
    for (const Refusal& c : cases) {
        DecodedImage image;
        image.width = image.height = 1;
        image.pixels = {0x12345678};
        std::string reason;
        const Bytes exact = c.file;  // no spare capacity: AddressSanitizer sees any read past the end
        EXPECT_EQ(decode(exact, image, c.limits, &reason), code) << c.what;
        EXPECT_NE(reason, "") << c.what;
        EXPECT_TRUE(image.width == 0 && image.height == 0 && !image.has_pixels() && !image.has_bitmap()) << c.what;
    }
}
