// Device enumeration on constructed drivers, devices and mode lists, and through the device layer's
// DirectDrawEnumerateExA on headless drivers with chosen mode lists.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/device_enumeration.h"
#include "framework/framework_errors.h"
#include "framework/settings_dialog.h"
#include "framework_test_util.h"

namespace {

std::vector<std::string> mode_texts(const DeviceInfo& device)
{
    std::vector<std::string> texts;
    for (const DDSURFACEDESC2& m : device.modes) texts.push_back(settings_mode_text(m));
    return texts;
}

HRESULT reject_everything(DDCAPS*, D3DDEVICEDESC7*) { return E_FAIL; }

// Offers the software device (or the hardware one) rendering to the given depths.
void offer(DeviceTable& table, const DriverRecord& driver, DWORD depths, bool hardware = false,
           const char* name = "RGB", ConfirmDeviceFn confirm = nullptr)
{
    const GUID& guid = hardware ? IID_IDirect3DHALDevice : IID_IDirect3DRGBDevice;
    device_table_offer(table, driver, guid, name, make_device_desc(hardware, depths, guid), confirm);
}

}  // namespace

// The stereo mode is one only the second device renders to.
TEST(DeviceEnumeration, ModesSortedAndOnlyDepthsTheDeviceRendersTo)
{
    DeviceTable table;
    const DriverRecord driver =
        make_driver("Primary", true,
                    {make_mode(1024, 768, 8), make_mode(800, 600, 16), make_mode(640, 480, 32), make_mode(640, 480, 8),
                     make_mode(640, 480, 24, true), make_mode(640, 480, 16)});
    offer(table, driver, DDBD_16 | DDBD_8);
    offer(table, driver, DDBD_8 | DDBD_16 | DDBD_24 | DDBD_32, true);
    ASSERT_EQ(table.accepted, 2u);
    EXPECT_EQ(mode_texts(table.devices[0]), (std::vector<std::string>{"640 x 480 x 16", "800 x 600 x 16"}));
    // 8-bit modes never, whatever the device claims.
    EXPECT_EQ(mode_texts(table.devices[1]),
              (std::vector<std::string>{"640 x 480 x 16", "640 x 480 x 24", "640 x 480 x 32", "800 x 600 x 16"}));
    EXPECT_FALSE(table.devices[0].stereo_compatible);
    EXPECT_TRUE(table.devices[1].stereo_compatible);
    EXPECT_EQ(device_table_result(table), S_OK);
}

TEST(DeviceEnumeration, DefaultModeIsTheLast640x480x16ElseZero)
{
    DeviceTable table;
    offer(table,
          make_driver("Primary", true,
                      {make_mode(640, 480, 16, false, 60), make_mode(320, 200, 16), make_mode(640, 480, 16, false, 85),
                       make_mode(640, 480, 32)}),
          DDBD_16 | DDBD_32);
    offer(table, make_driver("Primary", true, {make_mode(800, 600, 32), make_mode(640, 480, 32)}), DDBD_16 | DDBD_32);
    const DeviceInfo& d = table.devices[0];
    ASSERT_EQ(d.modes.size(), 4u);
    EXPECT_EQ(d.current_mode, 2u);  // 320x200, then the two 640x480x16 in their stable order
    EXPECT_EQ(d.fullscreen_mode.dwRefreshRate, 85u);
    EXPECT_TRUE(d.windowed);
    EXPECT_TRUE(d.desktop_compatible);
    const DeviceInfo& none = table.devices[1];
    EXPECT_EQ(none.current_mode, 0u);
    EXPECT_EQ(none.fullscreen_mode.dwWidth, 0u);
    EXPECT_EQ(none.fullscreen_mode.ddpfPixelFormat.dwRGBBitCount, 0u);
}

TEST(DeviceEnumeration, RejectionsAndNames)
{
    DeviceTable table;
    const DriverRecord secondary = make_driver("Second card", false, {make_mode(640, 480, 16)});
    const DriverRecord primary = make_driver("Primary", true, {make_mode(640, 480, 32)});
    offer(table, secondary, DDBD_16);  // software on a secondary driver: offered, not accepted
    // Hardware on a secondary driver: named after the driver, carries its GUID, full screen only.
    offer(table, secondary, DDBD_16, true, "HAL");
    offer(table, primary, DDBD_16, true, "16-bit HAL");  // no mode it can render to
    offer(table, primary, DDBD_32, false, "refused", reject_everything);
    // A long device name is cut to 39 characters.
    offer(table, primary, DDBD_32, false, "A software rasterizer with a very long name indeed, longer than forty");
    EXPECT_EQ(table.offered, 5u);
    ASSERT_EQ(table.accepted, 2u);
    const DeviceInfo& hal = table.devices[0];
    EXPECT_STREQ(hal.description, "Second card");
    EXPECT_EQ(hal.driver_guid_ptr, &hal.driver_guid);
    EXPECT_EQ(hal.driver_guid, secondary.guid);
    EXPECT_FALSE(hal.desktop_compatible);
    EXPECT_FALSE(hal.windowed);
    EXPECT_TRUE(hal.hardware);
    const DeviceInfo& soft = table.devices[1];
    EXPECT_EQ(std::strlen(soft.description), 39u);
    EXPECT_EQ(soft.driver_guid_ptr, nullptr);
    EXPECT_EQ(soft.device_guid_ptr, &soft.device_guid);
    EXPECT_EQ(soft.device_guid, IID_IDirect3DRGBDevice);
    // Rejected records leave nothing behind.
    EXPECT_EQ(table.devices[2].description[0], '\0');
    EXPECT_TRUE(table.devices[2].modes.empty());
}

TEST(DeviceEnumeration, ResultCodesAndTheTableNeverGrowsBeyondTwentyRecords)
{
    DeviceTable table;
    EXPECT_EQ(device_table_result(table), ENUMERR_NOTHING_ENUMERATED);
    offer(table, make_driver("Primary", true, {make_mode(640, 480, 8)}), DDBD_16 | DDBD_32);
    EXPECT_EQ(device_table_result(table), ENUMERR_NO_COMPATIBLE_DEVICE);
    const DriverRecord driver = make_driver("Primary", true, {make_mode(640, 480, 16)});
    for (int i = 0; i < 25; ++i) offer(table, driver, DDBD_16);
    EXPECT_EQ(table.offered, 26u);
    EXPECT_EQ(table.accepted, static_cast<DWORD>(kMaxDevices));
    EXPECT_EQ(device_table_result(table), S_OK);
}

TEST(DeviceEnumeration, ThroughTheDeviceLayerOnHeadlessDrivers)
{
    HeadlessDisplayConfig primary;
    primary.modes = {{800, 600, 16, 60}, {640, 480, 8, 60}, {640, 480, 32, 60}, {640, 480, 16, 60}};
    HeadlessDisplayConfig second;
    second.description = "Second display";
    second.modes = {{1024, 768, 32, 60}};
    // A second display: the headless driver's behaviour under a GUID of its own.
    struct SecondDriver final : DisplayDriver {
        explicit SecondDriver(HeadlessDisplayConfig c) : inner(std::move(c)) {}
        const GUID* guid() const override { return &id; }
        std::string description() const override { return inner.description(); }
        std::string name() const override { return inner.name(); }
        DWORD caps2() const override { return inner.caps2(); }
        std::vector<DisplayMode> modes() const override { return inner.modes(); }
        DisplayMode current_mode() const override { return inner.current_mode(); }
        HRESULT set_cooperative_level(HWND w, DWORD f) override { return inner.set_cooperative_level(w, f); }
        HRESULT set_mode(const DisplayMode& m) override { return inner.set_mode(m); }
        HRESULT restore_mode() override { return inner.restore_mode(); }
        HRESULT test_cooperative_level() override { return inner.test_cooperative_level(); }
        std::uint64_t loss_generation() const override { return inner.loss_generation(); }
        void present(const PresentImage& image, const RECT& dirty) override { inner.present(image, dirty); }
        HeadlessDisplayDriver inner;
        GUID id{0xABCDEF01, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    };
    HeadlessScope scope({std::make_shared<HeadlessDisplayDriver>(primary), std::make_shared<SecondDriver>(second)});

    DeviceTable table;
    ASSERT_EQ(enumerate_devices_into(table, nullptr), S_OK);
    // The software device is accepted on the primary driver only.
    DWORD software = 0;
    for (DWORD i = 0; i < table.accepted; ++i) {
        const DeviceInfo& d = table.devices[i];
        if (d.hardware) continue;
        ++software;
        EXPECT_EQ(d.driver_guid_ptr, nullptr);
        EXPECT_TRUE(d.desktop_compatible);
        EXPECT_EQ(mode_texts(d), (std::vector<std::string>{"640 x 480 x 16", "640 x 480 x 32", "800 x 600 x 16"}));
        EXPECT_EQ(d.current_mode, 0u);
    }
    EXPECT_EQ(software, 1u);
    EXPECT_GT(table.offered, table.accepted);  // the second driver's software device was offered too
    device_table_reset(table);
    EXPECT_EQ(table.accepted, 0u);
}
