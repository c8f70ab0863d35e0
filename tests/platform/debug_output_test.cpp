#include <gtest/gtest.h>

#include "platform/debug_output.h"

TEST(DebugOutput, CaptureSeesTextUnchangedAndReleasesOnScopeExit) {
    {
        DebugOutputCapture capture;
        OutputDebugStringA("camera target\n");
        debug_output_format("%d, %d joo\n", 24, 36);
        OutputDebugStringA(nullptr);  // ignored, not a crash
        EXPECT_EQ(capture.text(), "camera target\n24, 36 joo\n");
    }
    testing::internal::CaptureStderr();
    OutputDebugStringA("Texture a.jpg load failed!\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Texture a.jpg load failed!\n");
}

TEST(DebugOutput, LongFormattedLinesAreNotCut) {
    DebugOutputCapture capture;
    const std::string name(5000, 'x');
    debug_output_format("Texture %s load failed!\n", name.c_str());
    EXPECT_EQ(capture.text(), "Texture " + name + " load failed!\n");
}
