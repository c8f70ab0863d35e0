// Every message of the framework's codes and the three kinds of report.
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/framework_errors.h"
#include "platform/d3d/d3d_results.h"
#include "platform/message_box.h"

TEST(FrameworkErrors, EveryCodeHasItsMessage)
{
    const std::pair<std::uint32_t, const char*> table[] = {
        {0x8007000E, "Not enough memory!"},
        {0x81000001, "Could not create DirectDraw!"},
        {0x81000002, "Enumeration failed. Your system may be in an\nunstable state and need to be rebooted"},
        {0x81000003,
         "Could not find any compatible devices.\n\nTry enabling the reference rasterizer using\nEnableRefRast.reg."},
        {0x81000004, "Could not find any compatible Direct3D\ndevices."},
        {0x82000000, "Generic initialization error.\n\nEnable debug output for detailed information."},
        {0x82000001, "No DirectDraw"},
        {0x82000002, "Could not set Cooperative Level"},
        {0x82000003, "No Direct3D"},
        {0x82000004, "Could not create the Direct3DDevice object."},
        {0x82000005, "No ZBuffer"},
        {0x82000006, "Invalid Z-buffer depth. Try switching modes\nfrom 16- to 32-bit (or vice versa)"},
        {0x82000007, "No Viewport"},
        {0x82000008, "No primary"},
        {0x82000009, "No Clipper"},
        {0x8200000A, "Bad display mode"},
        {0x8200000B, "No backbuffer"},
        {0x8200000C, "A DDraw object has a non-zero reference\ncount (meaning it was not properly cleaned up)."},
        {0x8200000D, "No RenderFunc target"},
        {0x8200000E,
         "This program requires a 16-bit (or higher) display mode\nto run in a window.\n\nPlease switch your desktop "
         "settings accordingly."},
        {0x8876017C, "There was insufficient video memory to use the\nhardware device."},
        {0x8876080D, "Vbuffer creation failed!"},
        {0x80004005, "Generic application error.\n\nEnable debug output for detailed information."},
        {0x8200000F, "Generic application error.\n\nEnable debug output for detailed information."},
        {0x80070057, "Generic application error.\n\nEnable debug output for detailed information."},
    };
    for (const auto& [code, message] : table) {
        EXPECT_STREQ(framework_error_message(make_hresult(code)), message) << std::hex << code;
    }
}

TEST(FrameworkErrors, KindsAppendTheirEndingAndIcon)
{
    EXPECT_EQ(framework_error_text(FWERR_NO_ZBUFFER, ErrorKind::Fatal), "No ZBuffer\n\nExiting...");
    EXPECT_EQ(framework_error_text(FWERR_NO_ZBUFFER, ErrorKind::Switching),
              "No ZBuffer\n\nSwitching to software rasterizer.");
    EXPECT_EQ(framework_error_text(FWERR_NO_ZBUFFER, ErrorKind::Plain), "No ZBuffer");
    EXPECT_EQ(framework_error_icon(ErrorKind::Fatal), MB_ICONERROR);
    EXPECT_EQ(framework_error_icon(ErrorKind::Switching), MB_ICONWARNING);
    EXPECT_EQ(framework_error_icon(ErrorKind::Plain), MB_ICONWARNING);
}

TEST(FrameworkErrors, NoDeviceWhileSwitchingExplainsTheChipset)
{
    EXPECT_EQ(framework_error_text(FWERR_NO_DEVICE, ErrorKind::Switching),
              "Could not create the Direct3DDevice object.\nThe 3D hardware chipset may not support\n"
              "RenderFuncing in the current display mode.\n\nSwitching to software rasterizer.");
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
