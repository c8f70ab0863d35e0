// The table of 3D devices the framework can start on: one DeviceInfo per accepted device of every
// display driver, with its capabilities, the full-screen display modes it can render into (sorted), the
// chosen full-screen mode and the windowed / stereo choices. Filled once by the enumeration before the
// window exists, changed only by the default selection and the Settings dialog, and read by the display
// set-up. The table has room for 20 devices; a device beyond that is not recorded.
#pragma once

#include <vector>

#include "platform/d3d/d3d.h"
#include "platform/d3d/ddraw.h"

constexpr int kMaxDevices = 20;

struct DeviceInfo {
    char description[40] = {};               // name shown in the dialog (at most 39 characters)
    GUID* device_guid_ptr = nullptr;         // points to device_guid
    D3DDEVICEDESC7 device_desc{};
    DWORD hardware = 0;                      // D3DDEVCAPS_HWRASTERIZATION in device_desc.dwDevCaps
    GUID* driver_guid_ptr = nullptr;         // points to driver_guid; null for the primary display driver
    DDCAPS driver_caps{};
    DDCAPS hel_caps{};
    DDSURFACEDESC2 fullscreen_mode{};        // the chosen full-screen display mode
    DWORD windowed = 0;
    DWORD stereo = 0;
    GUID device_guid{};
    GUID driver_guid{};
    std::vector<DDSURFACEDESC2> modes;       // accepted display modes, sorted
    DWORD current_mode = 0;                  // index into modes of fullscreen_mode
    DWORD desktop_compatible = 0;            // can render into a window on the desktop
    DWORD stereo_compatible = 0;             // at least one accepted mode offers stereo
};

// A program-wide array of records with the counts of accepted and offered devices. Records point into
// themselves, so the table is never copied.
struct DeviceTable {
    DeviceInfo devices[kMaxDevices];
    DWORD accepted = 0;
    DWORD offered = 0;

    DeviceTable() = default;
    DeviceTable(const DeviceTable&) = delete;
    DeviceTable& operator=(const DeviceTable&) = delete;
};

// The program's table.
DeviceTable& device_table();
// Empties a table (every record zeroed, mode lists freed, counts 0).
void device_table_reset(DeviceTable& table);
