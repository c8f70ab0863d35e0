// Listing the 3D devices of every display driver into the device table: DirectDrawEnumerateExA over
// all drivers, their display modes sorted by width, height and bit depth, IDirect3D7::EnumDevices for
// each, and the rules that accept a device (software devices only on the primary driver, at least one
// display mode the device can render to) and give it its default full-screen mode (the last
// 640 × 480 × 16 in sorted order). The per-driver and per-device steps are separate functions so that
// tests can run them on constructed drivers, devices and mode lists.
#pragma once

#include <string>
#include <vector>

#include "framework/device_info.h"

// Optional filter: a negative result rejects the device.
using ConfirmDeviceFn = HRESULT (*)(DDCAPS* driver_caps, D3DDEVICEDESC7* device_desc);

// One display driver as the enumeration sees it.
struct DriverRecord {
    std::string description;
    bool has_guid = false;  // false: the primary display driver
    GUID guid{};
    DDCAPS driver_caps{};
    DDCAPS hel_caps{};
    bool desktop_compatible = false;
    std::vector<DDSURFACEDESC2> modes;  // sorted with device_modes_sort
};

// S_OK, ENUMERR_NOTHING_ENUMERATED (no device offered) or ENUMERR_NO_COMPATIBLE_DEVICE (none accepted).
HRESULT enumerate_devices(ConfirmDeviceFn confirm);
HRESULT enumerate_devices_into(DeviceTable& table, ConfirmDeviceFn confirm);
// The table's first record and the number of accepted devices.
DeviceInfo* get_devices(DWORD* count);
// Frees every record's mode list.
void free_devices();

// Width, then height, then bits per pixel, ascending; other fields do not order.
void device_modes_sort(std::vector<DDSURFACEDESC2>& modes);
// Whether a device whose dwDeviceRenderBitDepth is render_depths can render to a mode of this depth.
bool device_renders_to_depth(DWORD render_depths, DWORD bits_per_pixel);
// Counts one offered device and records it in the next free record when it is accepted.
void device_table_offer(DeviceTable& table, const DriverRecord& driver, const GUID& device_guid,
                        const char* device_description, const D3DDEVICEDESC7& device_desc, ConfirmDeviceFn confirm);
// Finishes the counts: S_OK, or the failure codes of enumerate_devices.
HRESULT device_table_result(const DeviceTable& table);
