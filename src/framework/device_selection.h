// The default device: among the accepted desktop-compatible devices, a hardware transform-and-lighting
// device first, then another hardware device, else a software device (the reference rasterizer only if
// nothing else); with software-only asked for, the best software device. The chosen device starts
// windowed.
#pragma once

#include "framework/device_info.h"

constexpr DWORD SELECT_SOFTWARE_ONLY = 0x1;

// S_OK, E_INVALIDARG (no output) or ENUMERR_NO_DEVICE_TO_SELECT.
HRESULT select_default_device(DeviceInfo** selected, DWORD flags);
HRESULT select_default_device_in(DeviceTable& table, DeviceInfo** selected, DWORD flags);
