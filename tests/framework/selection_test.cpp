// The default device: its four classes, software-only selection, desktop devices only, the windowed
// start, and the failures.
#include <gtest/gtest.h>

#include "framework/device_selection.h"
#include "framework/framework_errors.h"
#include "framework_test_util.h"

namespace {

const GUID kOtherSoftware{0x11111111, 1, 1, {1, 1, 1, 1, 1, 1, 1, 1}};

struct Offer {
    const GUID* guid;
    bool hardware;
    const char* name;
    bool primary = true;
};

struct SelectionCase {
    std::vector<Offer> offers;
    const char* by_default;  // nullptr: nothing to select
    const char* software_only;
};

}  // namespace

TEST(DeviceSelection, ClassesInOrderOfPreference)
{
    const SelectionCase cases[] = {
        {{{&IID_IDirect3DRGBDevice, false, "software"}, {&IID_IDirect3DHALDevice, true, "hardware"},
          {&IID_IDirect3DTnLHalDevice, true, "tnl"}, {&IID_IDirect3DRefDevice, false, "reference"}},
         "tnl", "software"},
        // The later device of one class wins.
        {{{&IID_IDirect3DRGBDevice, false, "software one"}, {&IID_IDirect3DHALDevice, true, "hardware one"},
          {&kOtherSoftware, false, "software two"}, {&IID_IDirect3DHALDevice, true, "hardware two"}},
         "hardware two", "software two"},
        {{{&IID_IDirect3DRefDevice, false, "reference"}}, "reference", "reference"},
        {{{&IID_IDirect3DRefDevice, false, "reference"}, {&IID_IDirect3DRGBDevice, false, "software"}},
         "software", "software"},
        // A device of a second card is not desktop compatible and never a default.
        {{{&IID_IDirect3DTnLHalDevice, true, "full-screen tnl", false}, {&IID_IDirect3DRGBDevice, false, "software"}},
         "software", "software"},
        {{{&IID_IDirect3DTnLHalDevice, true, "tnl"}}, "tnl", nullptr},
        {{}, nullptr, nullptr},
    };
    for (const SelectionCase& c : cases) {
        SCOPED_TRACE(c.by_default ? c.by_default : "none");
        DeviceTable table;
        for (const Offer& o : c.offers) {
            const DriverRecord driver =
                make_driver("Driver", o.primary, {make_mode(640, 480, 16), make_mode(800, 600, 32)});
            device_table_offer(table, driver, *o.guid, o.name, make_device_desc(o.hardware, DDBD_16 | DDBD_32, *o.guid),
                               nullptr);
        }
        for (const auto& [flags, expected] :
             {std::pair{DWORD{0}, c.by_default}, std::pair{SELECT_SOFTWARE_ONLY, c.software_only}}) {
            for (DWORD i = 0; i < table.accepted; ++i) table.devices[i].windowed = 0;
            DeviceInfo* chosen = nullptr;
            const HRESULT hr = select_default_device_in(table, &chosen, flags);
            if (expected == nullptr) {
                EXPECT_EQ(hr, ENUMERR_NO_DEVICE_TO_SELECT) << flags;
                EXPECT_EQ(chosen, nullptr);
                continue;
            }
            ASSERT_EQ(hr, S_OK) << flags;
            EXPECT_STREQ(chosen->description, expected) << flags;
            EXPECT_TRUE(chosen->windowed);  // the choice starts windowed
        }
    }
    DeviceTable table;
    EXPECT_EQ(select_default_device_in(table, nullptr, 0), E_INVALIDARG);
}
