// The default device: its four classes, software-only selection and the windowed start.
#include <gtest/gtest.h>

#include "framework/device_selection.h"
#include "framework/framework_errors.h"
#include "framework_test_util.h"

namespace {

void offer(DeviceTable& table, const GUID& guid, bool hardware, const char* name, bool primary = true)
{
    const DriverRecord driver = make_driver("Driver", primary, {make_mode(640, 480, 16), make_mode(800, 600, 32)});
    device_table_offer(table, driver, guid, name, make_device_desc(hardware, DDBD_16 | DDBD_32, guid), nullptr);
}

const GUID kOtherSoftware{0x11111111, 1, 1, {1, 1, 1, 1, 1, 1, 1, 1}};

}  // namespace

TEST(DeviceSelection, TransformAndLightingFirstUnlessSoftwareOnly)
{
    DeviceTable table;
    offer(table, IID_IDirect3DRGBDevice, false, "software");
    offer(table, IID_IDirect3DHALDevice, true, "hardware");
    offer(table, IID_IDirect3DTnLHalDevice, true, "tnl");
    offer(table, IID_IDirect3DRefDevice, false, "reference");
    DeviceInfo* chosen = nullptr;
    ASSERT_EQ(select_default_device_in(table, &chosen, 0), S_OK);
    EXPECT_STREQ(chosen->description, "tnl");
    ASSERT_EQ(select_default_device_in(table, &chosen, SELECT_SOFTWARE_ONLY), S_OK);
    EXPECT_STREQ(chosen->description, "software");
}

TEST(DeviceSelection, HardwareBeforeSoftwareAndTheLaterOfOneClassWins)
{
    DeviceTable table;
    offer(table, IID_IDirect3DRGBDevice, false, "software one");
    offer(table, IID_IDirect3DHALDevice, true, "hardware one");
    offer(table, kOtherSoftware, false, "software two");
    offer(table, IID_IDirect3DHALDevice, true, "hardware two");
    DeviceInfo* chosen = nullptr;
    ASSERT_EQ(select_default_device_in(table, &chosen, 0), S_OK);
    EXPECT_STREQ(chosen->description, "hardware two");
    ASSERT_EQ(select_default_device_in(table, &chosen, SELECT_SOFTWARE_ONLY), S_OK);
    EXPECT_STREQ(chosen->description, "software two");
}

TEST(DeviceSelection, TheReferenceRasterizerOnlyWhenNothingElse)
{
    DeviceTable table;
    offer(table, IID_IDirect3DRefDevice, false, "reference");
    DeviceInfo* chosen = nullptr;
    ASSERT_EQ(select_default_device_in(table, &chosen, 0), S_OK);
    EXPECT_STREQ(chosen->description, "reference");
    offer(table, IID_IDirect3DRGBDevice, false, "software");
    ASSERT_EQ(select_default_device_in(table, &chosen, 0), S_OK);
    EXPECT_STREQ(chosen->description, "software");
}

TEST(DeviceSelection, OnlyDesktopDevicesCountAndTheChoiceStartsWindowed)
{
    DeviceTable table;
    offer(table, IID_IDirect3DTnLHalDevice, true, "full-screen tnl", false);
    offer(table, IID_IDirect3DRGBDevice, false, "software");
    table.devices[1].windowed = 0;
    DeviceInfo* chosen = nullptr;
    ASSERT_EQ(select_default_device_in(table, &chosen, 0), S_OK);
    EXPECT_STREQ(chosen->description, "software");
    EXPECT_TRUE(chosen->windowed);
}

TEST(DeviceSelection, Failures)
{
    DeviceTable table;
    EXPECT_EQ(select_default_device_in(table, nullptr, 0), E_INVALIDARG);
    DeviceInfo* chosen = nullptr;
    EXPECT_EQ(select_default_device_in(table, &chosen, 0), ENUMERR_NO_DEVICE_TO_SELECT);
    offer(table, IID_IDirect3DTnLHalDevice, true, "tnl");
    EXPECT_EQ(select_default_device_in(table, &chosen, SELECT_SOFTWARE_ONLY), ENUMERR_NO_DEVICE_TO_SELECT);
    EXPECT_EQ(chosen, nullptr);
}
