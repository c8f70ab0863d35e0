// The Direct3D object behind IDirect3D7, reached by QueryInterface on the DirectDraw object: it lists
// the registered device backends (EnumDevices), creates devices on a render-target surface by device
// GUID, creates vertex buffers and lists depth formats. It holds a reference to its DirectDraw object.
#pragma once

#include <atomic>

#include "platform/d3d/core/ref_counted.h"
#include "platform/d3d/d3d.h"

class DirectDraw;

class Direct3D final : public RefCounted<IDirect3D7, IID_IDirect3D7> {
public:
    explicit Direct3D(DirectDraw* owner);
    Direct3D(const Direct3D&) = delete;
    Direct3D& operator=(const Direct3D&) = delete;


    HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, void* context) override;
    HRESULT CreateDevice(REFCLSID device_guid, IDirectDrawSurface7* target, IDirect3DDevice7** device) override;
    HRESULT CreateVertexBuffer(D3DVERTEXBUFFERDESC* desc, IDirect3DVertexBuffer7** buffer, DWORD flags) override;
    HRESULT EnumZBufferFormats(REFCLSID device_guid, LPD3DENUMPIXELFORMATSCALLBACK callback, void* context) override;
    HRESULT EvictManagedTextures() override;

    DirectDraw* owner() const { return owner_; }

private:
    ~Direct3D();
    HRESULT query_other(REFIID riid, void** object) override;
    DirectDraw* owner_;
};
