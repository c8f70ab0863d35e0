// A Direct3D 7 device for tests that records every call, in order, as short text lines
// ("SetRenderState 27 1", "DrawIndexedPrimitiveVB 4 vb0 0 8 36 0": name and scalar arguments, surfaces
// and vertex buffers as labels). With an `inner` device every call is forwarded (capabilities and
// texture formats may be overridden to imitate other hardware); without one, setters succeed, queries
// fail, and a small state answers transforms, viewport and sphere visibility. RecordingDirect3D makes
// plain-memory vertex buffers for it.
#pragma once

#include <algorithm>
#include <bit>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/d3d/d3d.h"

class RecordingDevice final : public IDirect3DDevice7 {
public:
    explicit RecordingDevice(IDirect3DDevice7* inner_device = nullptr) : inner(inner_device) {}

    IDirect3DDevice7* inner;  // not owned
    std::vector<std::string> calls;  // every call so far, oldest first
    void clear_calls() { calls.clear(); }
    std::vector<std::string> calls_starting(const std::string& prefix) const {
        std::vector<std::string> out;
        std::ranges::copy_if(calls, std::back_inserter(out), [&](const auto& c) { return c.starts_with(prefix); });
        return out;
    }
    // How a pointer reads in the calls: the label given here, else "surface0", "vb1"... by first sight.
    void label(const void* object, std::string name) { labels_[object] = std::move(name); }

    std::optional<D3DDEVICEDESC7> caps;                         // GetCaps answer
    std::optional<std::vector<DDPIXELFORMAT>> texture_formats;  // EnumTextureFormats list
    // ComputeSphereVisibility without an inner device: results start at 0, then this may set them.
    std::function<void(const D3DVECTOR* centres, const float* radii, DWORD count, DWORD* results)> sphere_results;

    // What was set (also while forwarding); read back by the queries without an inner device.
    std::map<DWORD, Matrix> transforms;
    D3DVIEWPORT7 viewport{0, 0, 640, 480, 0.0f, 1.0f};
    std::map<DWORD, D3DLIGHT7> lights;
    std::vector<D3DMATERIAL7> materials;  // every SetMaterial, in order

    // Owned by the test: references are not counted, and no other interface is offered.
    HRESULT QueryInterface(REFIID, void** object) override { *object = nullptr; return E_NOINTERFACE; }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }

// Runs the statement given after `alone` (keeping state), records the call, then forwards it or
// answers `alone` without an inner device.
#define RECORDING_PASS(Name, Args, alone) \
    calls.push_back(#Name + describe Args); \
    return inner != nullptr ? inner->Name Args : (alone)
#define RECORDING_CALL(Name, Params, Args, alone, ...) \
    HRESULT Name Params override { __VA_ARGS__; RECORDING_PASS(Name, Args, alone); }

    HRESULT GetCaps(D3DDEVICEDESC7* desc) override {
        calls.push_back("GetCaps");
        if (!caps && inner != nullptr) return inner->GetCaps(desc);
        *desc = caps.value_or(D3DDEVICEDESC7{});
        return D3D_OK;
    }
    HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context) override {
        calls.push_back("EnumTextureFormats");
        if (!texture_formats) return inner != nullptr ? inner->EnumTextureFormats(callback, context) : D3D_OK;
        for (DDPIXELFORMAT format : *texture_formats) {
            if (callback(&format, context) != D3DENUMRET_OK) break;
        }
        return D3D_OK;
    }
    HRESULT ComputeSphereVisibility(D3DVECTOR* c, D3DVALUE* r, DWORD n, DWORD f, DWORD* v) override {
        if (inner == nullptr) std::fill(v, v + n, 0u);
        if (inner == nullptr && sphere_results) sphere_results(c, r, n, v);
        RECORDING_PASS(ComputeSphereVisibility, (c, r, n, f, v), D3D_OK);
    }
    RECORDING_CALL(SetTransform, (D3DTRANSFORMSTATETYPE s, D3DMATRIX* m), (s, m), D3D_OK, transforms[s] = *m)
    RECORDING_CALL(GetTransform, (D3DTRANSFORMSTATETYPE s, D3DMATRIX* m), (s, m),
                   transforms.count(s) != 0 ? D3D_OK : E_NOTIMPL, if (transforms.count(s) != 0) *m = transforms[s])
    RECORDING_CALL(SetViewport, (D3DVIEWPORT7* v), (v), D3D_OK, viewport = *v)
    RECORDING_CALL(GetViewport, (D3DVIEWPORT7* v), (v), D3D_OK, if (inner == nullptr) *v = viewport)
    RECORDING_CALL(SetMaterial, (D3DMATERIAL7* m), (m), D3D_OK, materials.push_back(*m))
    RECORDING_CALL(SetLight, (DWORD i, D3DLIGHT7* l), (i, l), D3D_OK, lights[i] = *l)
    RECORDING_CALL(BeginScene, (), (), D3D_OK)
    RECORDING_CALL(EndScene, (), (), D3D_OK)
    RECORDING_CALL(GetDirect3D, (IDirect3D7** d), (d), E_NOTIMPL)
    RECORDING_CALL(SetRenderTarget, (IDirectDrawSurface7* t, DWORD f), (t, f), D3D_OK)
    RECORDING_CALL(GetRenderTarget, (IDirectDrawSurface7** t), (t), DDERR_NOTFOUND)
    RECORDING_CALL(Clear, (DWORD n, D3DRECT* r, DWORD f, D3DCOLOR c, D3DVALUE z, DWORD s), (n, r, f, c, z, s), D3D_OK)
    RECORDING_CALL(MultiplyTransform, (D3DTRANSFORMSTATETYPE s, D3DMATRIX* m), (s, m), D3D_OK)
    RECORDING_CALL(GetMaterial, (D3DMATERIAL7* m), (m), E_NOTIMPL)
    RECORDING_CALL(GetLight, (DWORD i, D3DLIGHT7* l), (i, l), E_NOTIMPL)
    RECORDING_CALL(LightEnable, (DWORD i, BOOL e), (i, e), D3D_OK)
    RECORDING_CALL(GetLightEnable, (DWORD i, BOOL* e), (i, e), E_NOTIMPL)
    RECORDING_CALL(SetRenderState, (D3DRENDERSTATETYPE s, DWORD v), (s, v), D3D_OK)
    RECORDING_CALL(GetRenderState, (D3DRENDERSTATETYPE s, DWORD* v), (s, v), E_NOTIMPL)
    RECORDING_CALL(SetClipPlane, (DWORD i, D3DVALUE* p), (i, p), D3D_OK)
    RECORDING_CALL(GetClipPlane, (DWORD i, D3DVALUE* p), (i, p), E_NOTIMPL)
    RECORDING_CALL(BeginStateBlock, (), (), D3D_OK)
    RECORDING_CALL(EndStateBlock, (DWORD* b), (b), E_NOTIMPL)
    RECORDING_CALL(ApplyStateBlock, (DWORD b), (b), D3D_OK)
    RECORDING_CALL(CaptureStateBlock, (DWORD b), (b), D3D_OK)
    RECORDING_CALL(DeleteStateBlock, (DWORD b), (b), D3D_OK)
    RECORDING_CALL(CreateStateBlock, (D3DSTATEBLOCKTYPE t, DWORD* b), (t, b), E_NOTIMPL)
    RECORDING_CALL(DrawPrimitive, (D3DPRIMITIVETYPE t, DWORD f, void* v, DWORD n, DWORD g), (t, f, v, n, g), D3D_OK)
    RECORDING_CALL(DrawIndexedPrimitive, (D3DPRIMITIVETYPE t, DWORD f, void* v, DWORD n, WORD* i, DWORD c, DWORD g),
                   (t, f, v, n, i, c, g), D3D_OK)
    RECORDING_CALL(DrawPrimitiveVB, (D3DPRIMITIVETYPE t, IDirect3DVertexBuffer7* b, DWORD s, DWORD n, DWORD g),
                   (t, b, s, n, g), D3D_OK)
    RECORDING_CALL(DrawIndexedPrimitiveVB,
                   (D3DPRIMITIVETYPE t, IDirect3DVertexBuffer7* b, DWORD s, DWORD n, WORD* i, DWORD c, DWORD g),
                   (t, b, s, n, i, c, g), D3D_OK)
    RECORDING_CALL(GetTexture, (DWORD s, IDirectDrawSurface7** t), (s, t), E_NOTIMPL)
    RECORDING_CALL(SetTexture, (DWORD s, IDirectDrawSurface7* t), (s, t), D3D_OK)
    RECORDING_CALL(GetTextureStageState, (DWORD s, D3DTEXTURESTAGESTATETYPE t, DWORD* v), (s, t, v), E_NOTIMPL)
    RECORDING_CALL(SetTextureStageState, (DWORD s, D3DTEXTURESTAGESTATETYPE t, DWORD v), (s, t, v), D3D_OK)
    RECORDING_CALL(ValidateDevice, (DWORD* p), (p), E_NOTIMPL)
#undef RECORDING_CALL
#undef RECORDING_PASS

private:
    std::string name_of(const void* object, const std::string& kind) {
        if (object == nullptr) return "null";
        auto [it, added] = labels_.try_emplace(object);
        if (added) it->second = kind + std::to_string(label_counts_[kind]++);
        return it->second;
    }
    std::string text_of(IDirectDrawSurface7* surface) { return " " + name_of(surface, "surface"); }
    std::string text_of(IDirect3DVertexBuffer7* buffer) { return " " + name_of(buffer, "vb"); }
    std::string text_of(float value) { return " " + std::to_string(value); }
    template <typename T> std::string text_of(T value) {
        if constexpr (std::is_pointer_v<T>) return {};
        else return " " + std::to_string(static_cast<DWORD>(value));
    }
    template <typename... T> std::string describe(T... arguments) { return (std::string() + ... + text_of(arguments)); }

    std::map<const void*, std::string> labels_;
    std::map<std::string, int> label_counts_;
};

// A vertex buffer in plain memory, sized for its format; records the flags of every Lock.
class RecordingVertexBuffer final : public IDirect3DVertexBuffer7 {
public:
    explicit RecordingVertexBuffer(const D3DVERTEXBUFFERDESC& description) : desc(description) {
        const DWORD fvf = desc.dwFVF;
        const std::size_t stride = 12 + ((fvf & D3DFVF_NORMAL) != 0 ? 12 : 0) +
                                   ((fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW ? 4 : 0) +
                                   4 * std::popcount(fvf & (D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_RESERVED1)) +
                                   8 * ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
        bytes.assign(stride * desc.dwNumVertices, 0);
    }
    HRESULT QueryInterface(REFIID, void** object) override { *object = nullptr; return E_NOINTERFACE; }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override { return references > 0 ? --references : 0; }
    HRESULT Lock(DWORD flags, void** data, DWORD*) override {
        lock_flags.push_back(flags);
        if (refuse_locks || std::exchange(locked, true)) return DDERR_SURFACEBUSY;
        *data = bytes.data();
        return D3D_OK;
    }
    HRESULT Unlock() override { return std::exchange(locked, false) ? D3D_OK : DDERR_NOTLOCKED; }
    HRESULT GetVertexBufferDesc(D3DVERTEXBUFFERDESC* out) override { *out = desc; return D3D_OK; }

    D3DVERTEXBUFFERDESC desc;
    std::vector<BYTE> bytes;
    std::vector<DWORD> lock_flags;
    bool refuse_locks = false;
    bool locked = false;
    ULONG references = 1;
};

// Makes RecordingVertexBuffers and keeps them until it is destroyed, so tests can look at them after
// they were released; CreateVertexBuffer fails once `fail_after` buffers exist (-1: never).
class RecordingDirect3D final : public IDirect3D7 {
public:
    HRESULT QueryInterface(REFIID, void** object) override { *object = nullptr; return E_NOINTERFACE; }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7, void*) override { return D3D_OK; }
    HRESULT CreateDevice(REFCLSID, IDirectDrawSurface7*, IDirect3DDevice7**) override { return E_NOTIMPL; }
    HRESULT CreateVertexBuffer(D3DVERTEXBUFFERDESC* desc, IDirect3DVertexBuffer7** buffer, DWORD) override {
        *buffer = nullptr;
        if (desc->dwNumVertices == 0) return DDERR_INVALIDPARAMS;
        if (fail_after >= 0 && static_cast<int>(buffers.size()) >= fail_after) return DDERR_OUTOFMEMORY;
        *buffer = buffers.emplace_back(std::make_unique<RecordingVertexBuffer>(*desc)).get();
        return D3D_OK;
    }
    HRESULT EnumZBufferFormats(REFCLSID, LPD3DENUMPIXELFORMATSCALLBACK, void*) override { return D3D_OK; }
    HRESULT EvictManagedTextures() override { return D3D_OK; }

    std::vector<std::unique_ptr<RecordingVertexBuffer>> buffers;  // every buffer made, in order
    int fail_after = -1;
};
