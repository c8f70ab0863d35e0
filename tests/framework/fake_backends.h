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

// Registers the failing transform-and-lighting device (replacing any real one in this test process).
inline void register_failing_tnl_device()
{
    d3d_builtin_backends_register();
    DeviceBackendInfo info;
    info.guid = IID_IDirect3DTnLHalDevice;
    info.description = "Failing hardware device";
    info.name = "Failing TnL HAL";
    info.caps.dwDevCaps = D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    info.caps.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    info.zbuffer_formats = {pixel_format_of(PixelKind::Z16), pixel_format_of(PixelKind::Z32)};
    info.texture_formats = {pixel_format_of(PixelKind::R5G6B5)};
    info.create = [](const BackendCreateContext&) { return std::unique_ptr<DeviceBackend>(); };
    d3d_backend_register(std::move(info));
}

inline void register_hsr_device()
{
    d3d_builtin_backends_register();
    DeviceBackendInfo info;
    info.guid = kHsrDeviceGuid;
    info.description = "Hidden-surface device";
    info.name = "HSR";
    info.caps.dwDevCaps = D3DDEVCAPS_HWRASTERIZATION;  // hardware: never a headless default
    info.caps.dpcTriCaps.dwRasterCaps = D3DPRASTERCAPS_ZBUFFERLESSHSR;
    info.caps.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    info.zbuffer_formats = {pixel_format_of(PixelKind::Z16)};
    info.texture_formats = {pixel_format_of(PixelKind::R5G6B5)};
    info.create = [](const BackendCreateContext&) { return std::unique_ptr<DeviceBackend>(new NullBackend()); };
    d3d_backend_register(std::move(info));
}
