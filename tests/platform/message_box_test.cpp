#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/message_box.h"

TEST(MessageBox, CaptureRecordsTextCaptionAndStyle) {
    MessageBoxCapture capture;
    EXPECT_EQ(MessageBoxA(nullptr, "scenes/boxi.3ds not found!", "Error", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "No primary\n\nExiting...", "Vireline", MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_ICONWARNING), IDOK);
    ASSERT_EQ(capture.boxes().size(), 3u);
    EXPECT_EQ(capture.boxes()[0].text, "scenes/boxi.3ds not found!");
    EXPECT_EQ(capture.boxes()[0].caption, "Error");
    EXPECT_EQ(capture.boxes()[1].type, MB_ICONERROR);
    EXPECT_EQ(capture.boxes()[2].text, "");
}

TEST(MessageBox, WithoutADisplayItWritesToStandardErrorAndReturnsAtOnce) {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
    EXPECT_FALSE(message_box_display_available());
    ::unsetenv("SDL_VIDEODRIVER");
    message_box_set_headless(true);
    EXPECT_FALSE(message_box_display_available());
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Bass error text", "Bass error", MB_OK), IDOK);
    const std::string err = testing::internal::GetCapturedStderr();
    message_box_set_headless(false);
    EXPECT_NE(err.find("Bass error"), std::string::npos);
    EXPECT_NE(err.find("Bass error text"), std::string::npos);
}
