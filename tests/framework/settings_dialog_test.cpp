// The Settings dialog's logic without a toolkit: filling, the enable rules, the refill on a device
// change, OK and Cancel.
#include <gtest/gtest.h>

#include "framework/settings_dialog.h"
#include "framework_test_util.h"
#include "platform/message_box.h"

namespace {

// Two devices on the primary driver: a stereo-capable hardware device and the software device, plus a
// full-screen-only hardware device of a second card.
class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const DriverRecord primary = make_driver(
            "Primary", true,
            {make_mode(640, 480, 16), make_mode(640, 480, 32), make_mode(800, 600, 16, true), make_mode(1024, 768, 32, true)});
        device_table_offer(table, primary, IID_IDirect3DHALDevice, "Hardware",
                           make_device_desc(true, DDBD_16 | DDBD_32, IID_IDirect3DHALDevice), nullptr);
        device_table_offer(table, primary, IID_IDirect3DRGBDevice, "Software",
                           make_device_desc(false, DDBD_16 | DDBD_32, IID_IDirect3DRGBDevice), nullptr);
        device_table_offer(table, make_driver("Card two", false, {make_mode(640, 480, 16), make_mode(800, 600, 16)}),
                           IID_IDirect3DHALDevice, "HAL", make_device_desc(true, DDBD_16, IID_IDirect3DHALDevice),
                           nullptr);
        ASSERT_EQ(table.accepted, 3u);
        selected = &table.devices[1];
        ASSERT_TRUE(dialog.init(table, &selected));
    }

    std::vector<std::string> mode_texts() const
    {
        std::vector<std::string> texts;
        for (const auto& item : dialog.controls().modes) texts.push_back(item.text);
        return texts;
    }

    DeviceTable table;
    DeviceInfo* selected = nullptr;
    SettingsDialog dialog;
};

}  // namespace

TEST_F(SettingsDialogTest, FillsFromTheSelectedDeviceAndOkWithoutChangesEndsAsCancel)
{
    const SettingsControls& c = dialog.controls();
    EXPECT_EQ(c.devices, (std::vector<std::string>{"Hardware", "Software", "Card two"}));
    EXPECT_EQ(c.device_selection, 1);
    EXPECT_EQ(mode_texts(),
              (std::vector<std::string>{"640 x 480 x 16", "640 x 480 x 32", "800 x 600 x 16", "1024 x 768 x 32"}));
    EXPECT_EQ(c.mode_selection, 0);
    EXPECT_TRUE(c.windowed_checked);
    EXPECT_TRUE(c.windowed_enabled);
    EXPECT_FALSE(c.mode_enabled);  // windowed: no mode choice
    EXPECT_FALSE(c.stereo_enabled);
    const DWORD before = selected->current_mode;
    EXPECT_EQ(dialog.press_ok(), IDCANCEL);  // nothing written
    EXPECT_EQ(selected, &table.devices[1]);
    EXPECT_EQ(selected->current_mode, before);
    EXPECT_TRUE(selected->windowed);
}

TEST_F(SettingsDialogTest, UntickingWindowedEnablesModesAndOkStoresTheChoice)
{
    EXPECT_FALSE(dialog.click_windowed().has_value());
    EXPECT_TRUE(dialog.controls().mode_enabled);
    EXPECT_TRUE(dialog.controls().stereo_enabled);  // the driver offers stereo modes and windowed is off
    EXPECT_FALSE(dialog.choose_mode(3).has_value());
    EXPECT_EQ(dialog.controls().mode_selection, 3);
    EXPECT_EQ(dialog.press_ok(), IDOK);
    EXPECT_EQ(selected, &table.devices[1]);
    EXPECT_FALSE(selected->windowed);
    EXPECT_EQ(selected->current_mode, 3u);
    EXPECT_EQ(selected->fullscreen_mode.dwWidth, 1024u);
    EXPECT_EQ(selected->fullscreen_mode.ddpfPixelFormat.dwRGBBitCount, 32u);
}

TEST_F(SettingsDialogTest, ChoosingADeviceShowsItsOwnStoredValues)
{
    table.devices[0].windowed = 0;
    table.devices[0].current_mode = 2;
    EXPECT_FALSE(dialog.choose_device(0).has_value());
    const SettingsControls& c = dialog.controls();
    EXPECT_EQ(c.device_selection, 0);
    EXPECT_FALSE(c.windowed_checked);
    EXPECT_TRUE(c.mode_enabled);
    EXPECT_EQ(c.mode_selection, 2);
    EXPECT_TRUE(c.stereo_enabled);  // stereo-capable and not windowed
    // A full-screen-only device: windowed forced off and disabled.
    EXPECT_FALSE(dialog.choose_device(2).has_value());
    EXPECT_FALSE(dialog.controls().windowed_checked);
    EXPECT_FALSE(dialog.controls().windowed_enabled);
    EXPECT_EQ(dialog.press_ok(), IDOK);
    EXPECT_EQ(selected, &table.devices[2]);
    EXPECT_FALSE(selected->windowed);
}

TEST_F(SettingsDialogTest, StereoIsDisabledWhileWindowedAndNarrowsTheModeList)
{
    EXPECT_FALSE(dialog.choose_device(0).has_value());
    EXPECT_TRUE(dialog.controls().windowed_checked);
    EXPECT_FALSE(dialog.controls().stereo_enabled);
    EXPECT_FALSE(dialog.click_stereo().has_value());  // disabled: nothing happens
    EXPECT_FALSE(dialog.controls().stereo_checked);
    dialog.click_windowed();
    ASSERT_TRUE(dialog.controls().stereo_enabled);
    dialog.click_stereo();
    EXPECT_TRUE(dialog.controls().stereo_checked);
    EXPECT_EQ(mode_texts(), (std::vector<std::string>{"800 x 600 x 16", "1024 x 768 x 32"}));
    EXPECT_EQ(dialog.controls().mode_selection, 0);  // the first stereo mode
    EXPECT_EQ(dialog.controls().modes[0].mode_index, 2u);
    EXPECT_EQ(dialog.press_ok(), IDOK);
    EXPECT_TRUE(table.devices[0].stereo);
    EXPECT_EQ(table.devices[0].current_mode, 2u);
}

TEST_F(SettingsDialogTest, CancelWritesNothingAndTheDialogStaysEnded)
{
    dialog.click_windowed();
    dialog.choose_mode(2);
    EXPECT_EQ(dialog.press_cancel(), IDCANCEL);
    EXPECT_TRUE(selected->windowed);
    EXPECT_EQ(selected->current_mode, 0u);
    EXPECT_EQ(dialog.press_ok(), IDCANCEL);  // already ended
    EXPECT_EQ(dialog.result(), IDCANCEL);
}

TEST_F(SettingsDialogTest, AStoredModeOutsideTheListKeepsTheDevicesOwnMode)
{
    // A device whose remembered mode index points past its list: nothing is selected in the mode list,
    // and OK must not read beyond the list.
    table.devices[1].current_mode = 99;
    SettingsDialog fresh;
    ASSERT_TRUE(fresh.init(table, &selected));
    EXPECT_EQ(fresh.controls().mode_selection, -1);
    fresh.click_windowed();
    EXPECT_EQ(fresh.press_ok(), IDOK);
    EXPECT_EQ(selected->current_mode, 99u);
    EXPECT_FALSE(selected->windowed);
}

TEST(SettingsDialog, WithoutARecordTheDialogIsNotHandled)
{
    DeviceTable table;
    SettingsDialog dialog;
    EXPECT_FALSE(dialog.init(table, nullptr));
    DeviceInfo* none = nullptr;
    EXPECT_FALSE(dialog.init(table, &none));
    EXPECT_FALSE(dialog.press_ok().has_value());
}
