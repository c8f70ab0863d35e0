// Device backends for tests of the start-up: a transform-and-lighting device whose creation always
// fails (the OpenGL device on a machine where it cannot start), and a software device that draws
// nothing and reports D3DPRASTERCAPS_ZBUFFERLESSHSR.
#pragma once

#include <memory>

#include "platform/d3d/builtin_backends.h"
#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/core/pixel_format.h"

class NullBackend final : public DeviceBackend {
public:
    HRESULT clear(const DeviceState&, const DrawBindings&, const ClearRequest&) override { return S_OK; }
    HRESULT draw(const DeviceState&, std::uint32_t, const DrawBindings&, const DrawBatch&) override { return S_OK; }
};

inline const GUID kHsrDeviceGuid{0x7A5E0001, 0x1234, 0x5678, {9, 8, 7, 6, 5, 4, 3, 2}};

// Registers a hardware device (never a headless default) after the built-in ones, replacing any device
// of the same GUID in this test process.
inline void register_test_device(const GUID& guid, const char* name, DWORD extra_dev_caps, DWORD raster_caps,
                                 bool creatable)
{
    d3d_builtin_backends_register();
    DeviceBackendInfo info;
    info.guid = guid;
    info.description = name;
    info.name = name;
    info.caps.dwDevCaps = D3DDEVCAPS_HWRASTERIZATION | extra_dev_caps;
    info.caps.dpcTriCaps.dwRasterCaps = raster_caps;
    info.caps.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    info.zbuffer_formats = {pixel_format_of(PixelKind::Z16), pixel_format_of(PixelKind::Z32)};
    info.texture_formats = {pixel_format_of(PixelKind::R5G6B5)};
    info.create = [creatable](const BackendCreateContext&) {
        return std::unique_ptr<DeviceBackend>(creatable ? new NullBackend() : nullptr);
    };
    d3d_backend_register(std::move(info));
}

inline void register_failing_tnl_device()
{
    register_test_device(IID_IDirect3DTnLHalDevice, "Failing TnL HAL", D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0, false);
}

inline void register_hsr_device()
{
    register_test_device(kHsrDeviceGuid, "HSR", 0, D3DPRASTERCAPS_ZBUFFERLESSHSR, true);
}
