// Comparing two pictures: the largest per-channel difference, how many pixels differ beyond a
// tolerance, the PSNR over the colour channels, and a difference picture for people to look at.
#pragma once

#include <string>

#include "support/test_image.h"

struct ImageTolerance {
    int channel = 0;            // largest allowed difference of one channel (0..255)
    double bad_fraction = 0.0;  // share of pixels allowed beyond it (0: none)
    double min_psnr = 0.0;      // dB over R, G, B; 0: not checked
    bool compare_alpha = false;
};

struct ImageComparison {
    bool same_size = false;
    int max_difference = 0;  // over the compared channels
    long bad_pixels = 0;     // pixels with a channel beyond the tolerance
    double psnr = 0.0;       // infinity for identical pictures
    int first_bad_x = -1, first_bad_y = -1;
    bool passed = false;
    std::string summary() const;
};

ImageComparison image_compare(const TestImage& actual, const TestImage& expected, const ImageTolerance& tolerance);

// |actual − expected| per channel, amplified ×4 and opaque, black where equal.
TestImage image_difference(const TestImage& actual, const TestImage& expected);
