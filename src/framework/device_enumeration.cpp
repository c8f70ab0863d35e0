#include "framework/device_enumeration.h"

#include <algorithm>
#include <cstring>

#include "framework/framework_errors.h"

namespace {

struct EnumContext {
    DeviceTable* table;
    ConfirmDeviceFn confirm;
    const DriverRecord* driver;
};

void copy_name(char (&dest)[40], const char* text)
{
    std::memset(dest, 0, sizeof dest);
    if (text != nullptr) std::strncpy(dest, text, sizeof dest - 1);
}

HRESULT collect_mode(DDSURFACEDESC2* mode, void* context)
{
    if (mode != nullptr) static_cast<std::vector<DDSURFACEDESC2>*>(context)->push_back(*mode);
    return DDENUMRET_OK;
}

HRESULT offer_device(LPSTR description, LPSTR, D3DDEVICEDESC7* desc, void* context)
{
    auto* ctx = static_cast<EnumContext*>(context);
    if (desc == nullptr) return D3DENUMRET_OK;
    device_table_offer(*ctx->table, *ctx->driver, desc->deviceGUID, description, *desc, ctx->confirm);
    return D3DENUMRET_OK;
}

BOOL enumerate_driver(GUID* guid, LPSTR description, LPSTR, void* context, HMONITOR)
{
    auto* ctx = static_cast<EnumContext*>(context);
    IDirectDraw7* direct_draw = nullptr;
    if (FAILED(DirectDrawCreateEx(guid, reinterpret_cast<void**>(&direct_draw), IID_IDirectDraw7, nullptr)) ||
        direct_draw == nullptr) {
        return TRUE;
    }
    IDirect3D7* direct3d = nullptr;
    if (FAILED(direct_draw->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&direct3d))) ||
        direct3d == nullptr) {
        direct_draw->Release();
        return TRUE;
    }
    DriverRecord driver;
    driver.description = description != nullptr ? description : "";
    driver.driver_caps.dwSize = sizeof(DDCAPS);
    driver.hel_caps.dwSize = sizeof(DDCAPS);
    direct_draw->GetCaps(&driver.driver_caps, &driver.hel_caps);
    driver.has_guid = guid != nullptr;
    if (guid != nullptr) driver.guid = *guid;
    driver.desktop_compatible = (driver.driver_caps.dwCaps2 & DDCAPS2_CANRENDERWINDOWED) != 0 && !driver.has_guid;
    direct_draw->EnumDisplayModes(0, nullptr, &driver.modes, collect_mode);
    device_modes_sort(driver.modes);

    EnumContext device_ctx{ctx->table, ctx->confirm, &driver};
    direct3d->EnumDevices(offer_device, &device_ctx);

    direct3d->Release();
    direct_draw->Release();
    return TRUE;
}

}  // namespace

DeviceTable& device_table()
{
    static DeviceTable table;
    return table;
}

void device_table_reset(DeviceTable& table)
{
    for (DeviceInfo& record : table.devices) record = DeviceInfo{};
    table.accepted = 0;
    table.offered = 0;
}

void device_modes_sort(std::vector<DDSURFACEDESC2>& modes)
{
    std::stable_sort(modes.begin(), modes.end(), [](const DDSURFACEDESC2& a, const DDSURFACEDESC2& b) {
        if (a.dwWidth != b.dwWidth) return a.dwWidth < b.dwWidth;
        if (a.dwHeight != b.dwHeight) return a.dwHeight < b.dwHeight;
        return a.ddpfPixelFormat.dwRGBBitCount < b.ddpfPixelFormat.dwRGBBitCount;
    });
}

bool device_renders_to_depth(DWORD render_depths, DWORD bits_per_pixel)
{
    switch (bits_per_pixel) {
        case 16: return (render_depths & DDBD_16) != 0;
        case 24: return (render_depths & DDBD_24) != 0;
        case 32: return (render_depths & DDBD_32) != 0;
        default: return false;
    }
}

void device_table_offer(DeviceTable& table, const DriverRecord& driver, const GUID& device_guid,
                        const char* device_description, const D3DDEVICEDESC7& device_desc, ConfirmDeviceFn confirm)
{
    ++table.offered;
    if (table.accepted >= static_cast<DWORD>(kMaxDevices)) return;  // no room: the device is not recorded
    DeviceInfo& record = table.devices[table.accepted];
    record = DeviceInfo{};
    record.hardware = (device_desc.dwDevCaps & D3DDEVCAPS_HWRASTERIZATION) != 0 ? 1 : 0;
    record.device_desc = device_desc;
    record.desktop_compatible = driver.desktop_compatible ? 1 : 0;
    record.driver_caps = driver.driver_caps;
    record.hel_caps = driver.hel_caps;
    record.device_guid = device_guid;
    record.device_guid_ptr = &record.device_guid;
    record.modes.reserve(driver.modes.size());
    if (driver.has_guid) {
        record.driver_guid = driver.guid;
        record.driver_guid_ptr = &record.driver_guid;
        copy_name(record.description, driver.description.c_str());
    } else {
        copy_name(record.description, device_description);
    }

    bool accept = true;
    if (!record.hardware && driver.has_guid) accept = false;  // software devices only on the primary driver
    if (accept && confirm != nullptr && FAILED(confirm(&record.driver_caps, &record.device_desc))) accept = false;
    if (accept) {
        for (const DDSURFACEDESC2& mode : driver.modes) {
            if (!device_renders_to_depth(device_desc.dwDeviceRenderBitDepth, mode.ddpfPixelFormat.dwRGBBitCount)) {
                continue;
            }
            if (mode.ddsCaps.dwCaps2 & DDSCAPS2_STEREOSURFACELEFT) record.stereo_compatible = 1;
            record.modes.push_back(mode);
        }
        if (record.modes.empty()) accept = false;
    }
    if (!accept) {
        record = DeviceInfo{};
        return;
    }
    for (DWORD i = 0; i < record.modes.size(); ++i) {
        const DDSURFACEDESC2& mode = record.modes[i];
        if (mode.dwWidth == 640 && mode.dwHeight == 480 && mode.ddpfPixelFormat.dwRGBBitCount == 16) {
            record.fullscreen_mode = mode;
            record.current_mode = i;
        }
    }
    record.windowed = record.desktop_compatible;
    ++table.accepted;
}

HRESULT device_table_result(const DeviceTable& table)
{
    if (table.offered == 0) return ENUMERR_NOTHING_ENUMERATED;
    if (table.accepted == 0) return ENUMERR_NO_COMPATIBLE_DEVICE;
    return S_OK;
}

HRESULT enumerate_devices_into(DeviceTable& table, ConfirmDeviceFn confirm)
{
    device_table_reset(table);
    EnumContext ctx{&table, confirm, nullptr};
    constexpr DWORD all_drivers = DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES |
                                  DDENUM_NONDISPLAYDEVICES;
    DirectDrawEnumerateExA(enumerate_driver, &ctx, all_drivers);
    return device_table_result(table);
}

HRESULT enumerate_devices(ConfirmDeviceFn confirm) { return enumerate_devices_into(device_table(), confirm); }

DeviceInfo* get_devices(DWORD* count)
{
    if (count != nullptr) *count = device_table().accepted;
    return device_table().devices;
}

void free_devices()
{
    for (DeviceInfo& record : device_table().devices) {
        record.modes.clear();
        record.modes.shrink_to_fit();
    }
}
