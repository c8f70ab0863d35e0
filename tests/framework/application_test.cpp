// The application's start-up without a display: the software device with no dialog, the accessors the
// rest of the program uses, the fallback from a failing hardware device with its warning, and the fatal
// box when nothing can start.
#include <gtest/gtest.h>

#include "fake_backends.h"
#include "framework/application.h"
#include "framework_test_util.h"
#include "platform/message_box.h"

namespace {

class ApplicationStart : public ::testing::Test {
protected:
    void SetUp() override { register_failing_tnl_device(); }
    MessageBoxCapture boxes;
};

}  // namespace

TEST_F(ApplicationStart, HeadlessStartsTheSoftwareDeviceWithoutADialog)
{
    HeadlessScope scope;
    Application app;
    EXPECT_EQ(app_instance(), &app);
    EXPECT_EQ(app.device(), nullptr);
    ASSERT_EQ(app.create(GetModuleHandleA(nullptr), "Vireline", 640, 480, true), S_OK);
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_TRUE(app.headless());
    EXPECT_TRUE(app.ready());
    EXPECT_TRUE(app.active());
    ASSERT_NE(app.device_info(), nullptr);
    EXPECT_EQ(app.device_info()->device_guid, IID_IDirect3DRGBDevice);
    EXPECT_TRUE(app.device_info()->windowed);
    EXPECT_EQ(app.device(), app.framework()->device());
    EXPECT_EQ(app.back_buffer(), app.framework()->back_buffer());
    EXPECT_EQ(app.back_buffer_desc().dwWidth, 640u);
    EXPECT_EQ(app.back_buffer_desc().dwHeight, 480u);
    EXPECT_EQ(app.present_frame(), S_OK);
    EXPECT_EQ(app.cleanup_3d(), S_OK);
    EXPECT_FALSE(app.ready());
    EXPECT_EQ(app.device(), nullptr);
    EXPECT_EQ(app.back_buffer(), nullptr);
}

TEST_F(ApplicationStart, AFailingHardwareDeviceFallsBackToSoftwareAfterAWarning)
{
    HeadlessScope scope({}, [](FrameworkOptions& o) { o.device = DeviceChoice::OpenGL; });
    Application app;
    ASSERT_EQ(app.create(nullptr, "Vireline", 640, 480, false), S_OK);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Vireline");
    EXPECT_EQ(boxes.boxes()[0].text,
              "Could not create the Direct3DDevice object.\nThe 3D hardware chipset may not support\n"
              "RenderFuncing in the current display mode.\n\nSwitching to software rasterizer.");
    EXPECT_EQ(boxes.boxes()[0].type, MB_OK | MB_ICONWARNING);
    EXPECT_EQ(app.device_info()->device_guid, IID_IDirect3DRGBDevice);
    EXPECT_FALSE(app.device_info()->hardware);
    EXPECT_NE(app.device(), nullptr);
}

TEST_F(ApplicationStart, WhenSoftwareFailsTooTheFatalBoxEndsCreate)
{
    HeadlessDisplayConfig paletted;
    paletted.desktop = DisplayMode{640, 480, 8, 60};
    HeadlessScope scope({std::make_shared<HeadlessDisplayDriver>(paletted)},
                        [](FrameworkOptions& o) { o.device = DeviceChoice::OpenGL; });
    Application app;
    EXPECT_EQ(app.create(nullptr, "Vireline", 640, 480, false), E_FAIL);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    const std::string paletted_text = "This program requires a 16-bit (or higher) display mode\nto run in a window.\n\n"
                                      "Please switch your desktop settings accordingly.\n\n";
    EXPECT_EQ(boxes.boxes()[0].text, paletted_text + "Switching to software rasterizer.");
    EXPECT_EQ(boxes.boxes()[1].text, paletted_text + "Exiting...");
    EXPECT_EQ(boxes.boxes()[1].type, MB_OK | MB_ICONERROR);
    EXPECT_FALSE(app.ready());
    EXPECT_EQ(app.framework(), nullptr);
    EXPECT_EQ(app.device(), nullptr);
    EXPECT_TRUE(IsWindow(app.window()));  // a failed create leaves the window to the program's end
}

TEST_F(ApplicationStart, NoAcceptedDeviceIsFatalBeforeAnyWindow)
{
    HeadlessDisplayConfig paletted_only;
    paletted_only.modes = {{640, 480, 8, 60}};
    HeadlessScope scope({std::make_shared<HeadlessDisplayDriver>(paletted_only)});
    Application app;
    EXPECT_EQ(app.create(nullptr, "Vireline", 640, 480, false), ENUMERR_NO_COMPATIBLE_DEVICE);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "Could not find any compatible devices.\n\nTry enabling the reference rasterizer using\n"
              "EnableRefRast.reg.\n\nExiting...");
    EXPECT_EQ(app.window(), nullptr);
}

TEST_F(ApplicationStart, CommandLineChoicesReachTheDevice)
{
    HeadlessScope scope({}, [](FrameworkOptions& o) {
        o.screen = ScreenChoice::Fullscreen;
        o.has_mode = true;
        o.mode_width = 800;
        o.mode_height = 600;
        o.mode_bits = 32;
    });
    Application app;
    ASSERT_EQ(app.create(nullptr, "Vireline", 640, 480, false), S_OK);
    EXPECT_FALSE(app.device_info()->windowed);
    EXPECT_EQ(app.framework()->width(), 800u);
    EXPECT_EQ(app.back_buffer_desc().dwHeight, 600u);
    EXPECT_EQ(app.back_buffer_desc().ddpfPixelFormat.dwRGBBitCount, 32u);
    EXPECT_EQ(app.present_frame(), S_OK);
}
