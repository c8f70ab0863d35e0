// Golden-image checks for tests. A golden picture lives in the source tree as a PNG; a test renders
// its picture and calls expect_matches_golden(). On a mismatch the actual, expected and difference
// pictures are written beside each other under <build>/test-output/ so a person can look at them.
//
// Approving new pictures: run the test with VIRELINE_APPROVE=1 in the environment, e.g.
//     VIRELINE_APPROVE=1 ctest -R GoldenScene
// Every golden check then (re)writes its PNG in the source tree and passes; review and commit them.
#pragma once

#include <string>

#include "support/image_compare.h"
#include "support/test_image.h"

struct GoldenResult {
    bool passed = false;
    std::string message;
};

// golden_path: relative to the source root, e.g. "tests/platform/d3d/golden/lit_box.png".
GoldenResult golden_check(const std::string& golden_path, const TestImage& actual, const ImageTolerance& tolerance);

// Writes actual/expected/diff PNGs for a failed comparison; returns the folder written to.
std::string golden_write_failure(const std::string& name, const TestImage& actual, const TestImage& expected);

// Where failure pictures go: <build>/test-output.
std::string test_output_dir();

bool golden_approving();

// GoogleTest form: records a failure with the message when the picture does not match.
#define EXPECT_MATCHES_GOLDEN(path, image, tolerance)                   \
    do {                                                                \
        const GoldenResult golden_result_ = golden_check(path, image, tolerance); \
        EXPECT_TRUE(golden_result_.passed) << golden_result_.message;  \
    } while (0)
