// The one implementation of IDirect3DDevice7. Every method is written here once for all backends:
// arguments are checked (bad calls get the platform's codes, never a crash), state is stored in a
// DeviceState (or recorded into the state block being built), changed categories are marked, and draws
// and clears are handed to the backend chosen by the device GUID at creation.
#pragma once

#include <atomic>
#include <map>
#include <memory>

#include "platform/d3d/core/ref_counted.h"
#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/core/state_block.h"
#include "platform/d3d/d3d.h"

class Direct3D;
class Surface;

class Device final : public RefCounted<IDirect3DDevice7, IID_IDirect3DDevice7> {
public:
    Device(Direct3D* direct3d, DeviceBackendInfo info, std::unique_ptr<DeviceBackend> backend, Surface* target);
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;


    HRESULT GetCaps(D3DDEVICEDESC7* desc) override;
    HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT GetDirect3D(IDirect3D7** direct3d) override;
    HRESULT SetRenderTarget(IDirectDrawSurface7* target, DWORD flags) override;
    HRESULT GetRenderTarget(IDirectDrawSurface7** target) override;
    HRESULT Clear(DWORD rect_count, D3DRECT* rects, DWORD flags, D3DCOLOR color, D3DVALUE z, DWORD stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT MultiplyTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetViewport(D3DVIEWPORT7* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT7* viewport) override;
    HRESULT SetMaterial(D3DMATERIAL7* material) override;
    HRESULT GetMaterial(D3DMATERIAL7* material) override;
    HRESULT SetLight(DWORD index, D3DLIGHT7* light) override;
    HRESULT GetLight(DWORD index, D3DLIGHT7* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT GetLightEnable(DWORD index, BOOL* enable) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetClipPlane(DWORD index, D3DVALUE* plane) override;
    HRESULT GetClipPlane(DWORD index, D3DVALUE* plane) override;
    HRESULT BeginStateBlock() override;
    HRESULT EndStateBlock(DWORD* block) override;
    HRESULT ApplyStateBlock(DWORD block) override;
    HRESULT CaptureStateBlock(DWORD block) override;
    HRESULT DeleteStateBlock(DWORD block) override;
    HRESULT CreateStateBlock(D3DSTATEBLOCKTYPE type, DWORD* block) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, void* vertices, DWORD vertex_count, DWORD flags) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, void* vertices, DWORD vertex_count, WORD* indices,
                                 DWORD index_count, DWORD flags) override;
    HRESULT DrawPrimitiveVB(D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* buffer, DWORD start_vertex,
                            DWORD vertex_count, DWORD flags) override;
    HRESULT DrawIndexedPrimitiveVB(D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* buffer, DWORD start_vertex,
                                   DWORD vertex_count, WORD* indices, DWORD index_count, DWORD flags) override;
    HRESULT ComputeSphereVisibility(D3DVECTOR* centers, D3DVALUE* radii, DWORD count, DWORD flags,
                                    DWORD* results) override;
    HRESULT GetTexture(DWORD stage, IDirectDrawSurface7** texture) override;
    HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) override;
    HRESULT ValidateDevice(DWORD* passes) override;

    const DeviceState& state() const { return state_; }
    DeviceBackend& backend() { return *backend_; }

private:
    ~Device();
    HRESULT draw(D3DPRIMITIVETYPE type, const VertexLayout& layout, const BYTE* vertices, DWORD vertex_count,
                 const WORD* indices, DWORD index_count, DWORD flags);
    DrawBindings bindings() const;
    LightSlot* light_slot(DeviceState& state, DWORD index, bool create);
    void apply_block(const StateBlock& block);
    void bind_texture(DeviceState& state, DWORD stage, Surface* texture);

    Direct3D* direct3d_;
    DeviceBackendInfo info_;
    std::unique_ptr<DeviceBackend> backend_;
    Surface* target_;
    DeviceState state_;
    std::vector<bool> defined_lights_;  // SetLight (or LightEnable) has given the index a light
    std::uint32_t dirty_ = DIRTY_ALL;
    bool in_scene_ = false;
    std::map<DWORD, std::unique_ptr<StateBlock>> blocks_;
    std::unique_ptr<StateBlock> recording_;
    DWORD next_block_ = 1;
};

// Device-space depth range of a W-friendly projection (m34 = 1, m44 = 0): wfar = m43 / (1 − m33). Any
// other matrix, or a result that is not a positive finite number, gives 1.
float projection_w_far(const D3DMATRIX& projection);
