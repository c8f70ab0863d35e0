// The framework's error messages: codes of other facilities, the fallback for codes without a message,
// the three kinds of report and the box the application shows (its icon by kind). The framework's own
// codes are pinned where they are raised (application_test.cpp) and below.
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/framework_errors.h"
#include "platform/d3d/d3d_results.h"
#include "platform/message_box.h"

TEST(FrameworkErrors, CodesOfOtherFacilitiesAndTheFallback)
{
    const char* generic = "Generic application error.\n\nEnable debug output for detailed information.";
    const std::pair<std::uint32_t, const char*> table[] = {
        {0x8007000E, "Not enough memory!"},
        {0x8876017C, "There was insufficient video memory to use the\nhardware device."},
        {0x8876080D, "Vbuffer creation failed!"},
        {0x82000000, "Generic initialization error.\n\nEnable debug output for detailed information."},
        {0x80004005, generic},
        {0x8200000F, generic},  // one past the framework's last code
        {0x81000005, generic},
        {0x80070057, generic},
    };
    for (const auto& [code, message] : table) {
        EXPECT_STREQ(framework_error_message(make_hresult(code)), message) << std::hex << code;
    }
}

TEST(FrameworkErrors, KindsAppendTheirEnding)
{
    EXPECT_EQ(framework_error_text(FWERR_NO_ZBUFFER, ErrorKind::Fatal), "No ZBuffer\n\nExiting...");
    EXPECT_EQ(framework_error_text(FWERR_NO_ZBUFFER, ErrorKind::Switching),
              "No ZBuffer\n\nSwitching to software rasterizer.");
    EXPECT_EQ(framework_error_text(FWERR_NO_ZBUFFER, ErrorKind::Plain), "No ZBuffer");
    // The chipset explanation only while switching (application_test.cpp pins that text).
    EXPECT_EQ(framework_error_text(FWERR_NO_DEVICE, ErrorKind::Fatal),
              "Could not create the Direct3DDevice object.\n\nExiting...");
}

TEST(FrameworkErrors, ReportErrorShowsTheBoxCaptionedWithTheTitle)
{
    MessageBoxCapture capture;
    {
        Application app;
        app.report_error(E_FAIL, ErrorKind::Plain);
        app.report_error(ENUMERR_NO_DEVICE_TO_SELECT, ErrorKind::Fatal);
    }
    ASSERT_EQ(capture.boxes().size(), 2u);
    EXPECT_EQ(capture.boxes()[0].caption, "Kestra Rendering Window");
    EXPECT_EQ(capture.boxes()[0].text, "Generic application error.\n\nEnable debug output for detailed information.");
    EXPECT_EQ(capture.boxes()[0].type, MB_OK | MB_ICONWARNING);
    EXPECT_EQ(capture.boxes()[1].text, "Could not find any compatible Direct3D\ndevices.\n\nExiting...");
    EXPECT_EQ(capture.boxes()[1].type, MB_OK | MB_ICONERROR);
}
