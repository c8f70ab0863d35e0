// A Direct3D 7 device for tests that records every call made to it, in order, as short text lines
// ("SetRenderState 27 1", "SetTexture 0 null", "DrawIndexedPrimitiveVB 4 vb0 0 8 36 0"), so that tests
// can check exact call sequences without pixels. It either forwards every call to a real device
// (then results and state are the real device's, and capabilities and texture formats can still be
// overridden to imitate other hardware) or, without one, keeps a small state of its own: transforms,
// viewport, lights, material, sphere-visibility answers and vertex buffers made by RecordingDirect3D.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/d3d/d3d.h"

class RecordingDevice final : public IDirect3DDevice7 {
public:
    explicit RecordingDevice(IDirect3DDevice7* inner = nullptr);
    ~RecordingDevice();
    RecordingDevice(const RecordingDevice&) = delete;
    RecordingDevice& operator=(const RecordingDevice&) = delete;

    // Every call so far, oldest first.
    std::vector<std::string> calls;
    void clear_calls() { calls.clear(); }
    // The calls whose text starts with `prefix`.
    std::vector<std::string> calls_starting(const std::string& prefix) const;
    // How a pointer reads in the call texts; buffers and surfaces get short labels in order of first
    // sight ("vb0", "surface1"), or the label given here.
    void label(const void* object, std::string name) { labels_[object] = std::move(name); }
    std::string name_of(const void* object, const char* kind);

    // Overrides (used with or without an inner device).
    std::optional<D3DDEVICEDESC7> caps;                  // GetCaps answer
    std::optional<std::vector<DDPIXELFORMAT>> texture_formats;  // EnumTextureFormats list
    // ComputeSphereVisibility answer when there is no inner device (default: all zero).
    std::function<void(const D3DVECTOR* centres, const float* radii, DWORD count, DWORD* results)> sphere_results;

    // The state kept without an inner device (also updated when forwarding).
    std::map<DWORD, Matrix> transforms;
    D3DVIEWPORT7 viewport{0, 0, 640, 480, 0.0f, 1.0f};
    std::map<DWORD, D3DLIGHT7> lights;
    std::map<DWORD, BOOL> light_enabled;
    std::vector<D3DMATERIAL7> materials;  // every SetMaterial, in order
    std::map<DWORD, IDirectDrawSurface7*> textures;
    std::map<DWORD, DWORD> render_states;
    IDirectDrawSurface7* render_target = nullptr;  // GetRenderTarget answer without an inner device

    // IUnknown: the recording device is owned by the test; references are counted but never free it.
    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override { return references_ > 0 ? --references_ : 0; }

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

private:
    void record(std::string text) { calls.push_back(std::move(text)); }

    IDirect3DDevice7* inner_;
    ULONG references_ = 1;
    std::map<const void*, std::string> labels_;
    std::map<std::string, int> label_counts_;
};

// Vertex buffers in plain memory, for RecordingDevice without an inner device: lock flags are
// recorded and a buffer can be told to refuse locks.
class RecordingVertexBuffer final : public IDirect3DVertexBuffer7 {
public:
    explicit RecordingVertexBuffer(const D3DVERTEXBUFFERDESC& desc);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override;
    HRESULT Lock(DWORD flags, void** data, DWORD* size) override;
    HRESULT Unlock() override;
    HRESULT GetVertexBufferDesc(D3DVERTEXBUFFERDESC* desc) override;

    D3DVERTEXBUFFERDESC desc;
    std::vector<BYTE> bytes;
    std::vector<DWORD> lock_flags;  // every Lock's flags, in order
    bool refuse_locks = false;
    bool locked = false;

private:
    ULONG references_ = 1;
};

// A Direct3D object that only makes RecordingVertexBuffers (and counts them); the buffers stay
// alive until the object is destroyed, so tests can inspect them after release.
class RecordingDirect3D final : public IDirect3D7 {
public:
    RecordingDirect3D() = default;
    ~RecordingDirect3D();
    RecordingDirect3D(const RecordingDirect3D&) = delete;
    RecordingDirect3D& operator=(const RecordingDirect3D&) = delete;

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, void* context) override;
    HRESULT CreateDevice(REFCLSID device_guid, IDirectDrawSurface7* target, IDirect3DDevice7** device) override;
    HRESULT CreateVertexBuffer(D3DVERTEXBUFFERDESC* desc, IDirect3DVertexBuffer7** buffer, DWORD flags) override;
    HRESULT EnumZBufferFormats(REFCLSID device_guid, LPD3DENUMPIXELFORMATSCALLBACK callback, void* context) override;
    HRESULT EvictManagedTextures() override { return D3D_OK; }

    std::vector<RecordingVertexBuffer*> buffers;  // every buffer made, in order
    std::vector<D3DVERTEXBUFFERDESC> descriptions;
    int fail_after = -1;  // CreateVertexBuffer fails once this many buffers exist (-1: never)
};
