#include "framework/device_selection.h"

#include "framework/device_enumeration.h"
#include "framework/framework_errors.h"

HRESULT select_default_device_in(DeviceTable& table, DeviceInfo** selected, DWORD flags)
{
    if (selected == nullptr) return E_INVALIDARG;
    DeviceInfo* tnl = nullptr;
    DeviceInfo* hardware = nullptr;
    DeviceInfo* reference = nullptr;
    DeviceInfo* software = nullptr;
    for (DWORD i = 0; i < table.accepted && i < static_cast<DWORD>(kMaxDevices); ++i) {
        DeviceInfo& record = table.devices[i];
        if (!record.desktop_compatible) continue;
        if (record.hardware) {
            if (record.device_guid == IID_IDirect3DTnLHalDevice) {
                tnl = &record;
            } else {
                hardware = &record;
            }
        } else if (record.device_guid == IID_IDirect3DRefDevice) {
            reference = &record;
        } else {
            software = &record;
        }
    }
    const bool software_only = (flags & SELECT_SOFTWARE_ONLY) != 0;
    DeviceInfo* choice = nullptr;
    if (!software_only && tnl != nullptr) {
        choice = tnl;
    } else if (software_only || hardware == nullptr) {
        choice = software != nullptr ? software : reference;
    } else {
        choice = hardware;
    }
    if (choice == nullptr) return ENUMERR_NO_DEVICE_TO_SELECT;
    choice->windowed = 1;
    *selected = choice;
    return S_OK;
}

HRESULT select_default_device(DeviceInfo** selected, DWORD flags)
{
    return select_default_device_in(device_table(), selected, flags);
}
