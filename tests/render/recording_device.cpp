#include "render/recording_device.h"

#include <cstring>

namespace {

std::string join(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) text += ' ';
        text += part;
    }
    return text;
}

std::string num(DWORD value) { return std::to_string(value); }

}  // namespace

RecordingDevice::RecordingDevice(IDirect3DDevice7* inner) : inner_(inner) {
    if (inner_ != nullptr) inner_->AddRef();
}

RecordingDevice::~RecordingDevice() {
    if (inner_ != nullptr) inner_->Release();
}

std::vector<std::string> RecordingDevice::calls_starting(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& call : calls) {
        if (call.compare(0, prefix.size(), prefix) == 0) out.push_back(call);
    }
    return out;
}

std::string RecordingDevice::name_of(const void* object, const char* kind) {
    if (object == nullptr) return "null";
    auto it = labels_.find(object);
    if (it != labels_.end()) return it->second;
    std::string name = kind + std::to_string(label_counts_[kind]++);
    labels_[object] = name;
    return name;
}

HRESULT RecordingDevice::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirect3DDevice7) {
        *object = static_cast<IDirect3DDevice7*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT RecordingDevice::GetCaps(D3DDEVICEDESC7* desc) {
    record("GetCaps");
    if (desc == nullptr) return DDERR_INVALIDPARAMS;
    if (caps) {
        *desc = *caps;
        return D3D_OK;
    }
    if (inner_ != nullptr) return inner_->GetCaps(desc);
    *desc = D3DDEVICEDESC7{};
    desc->deviceGUID = IID_IDirect3DRGBDevice;
    return D3D_OK;
}

HRESULT RecordingDevice::EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context) {
    record("EnumTextureFormats");
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    if (texture_formats) {
        for (DDPIXELFORMAT format : *texture_formats) {
            if (callback(&format, context) != D3DENUMRET_OK) break;
        }
        return D3D_OK;
    }
    if (inner_ != nullptr) return inner_->EnumTextureFormats(callback, context);
    return D3D_OK;
}

HRESULT RecordingDevice::BeginScene() {
    record("BeginScene");
    return inner_ != nullptr ? inner_->BeginScene() : D3D_OK;
}

HRESULT RecordingDevice::EndScene() {
    record("EndScene");
    return inner_ != nullptr ? inner_->EndScene() : D3D_OK;
}

HRESULT RecordingDevice::GetDirect3D(IDirect3D7** direct3d) {
    record("GetDirect3D");
    if (inner_ != nullptr) return inner_->GetDirect3D(direct3d);
    return E_NOTIMPL;
}

HRESULT RecordingDevice::SetRenderTarget(IDirectDrawSurface7* target, DWORD flags) {
    record(join({"SetRenderTarget", name_of(target, "surface"), num(flags)}));
    if (inner_ != nullptr) return inner_->SetRenderTarget(target, flags);
    render_target = target;
    return D3D_OK;
}

HRESULT RecordingDevice::GetRenderTarget(IDirectDrawSurface7** target) {
    record("GetRenderTarget");
    if (target == nullptr) return DDERR_INVALIDPARAMS;
    if (inner_ != nullptr) return inner_->GetRenderTarget(target);
    *target = render_target;
    if (render_target != nullptr) render_target->AddRef();
    return render_target != nullptr ? D3D_OK : DDERR_NOTFOUND;
}

HRESULT RecordingDevice::Clear(DWORD rect_count, D3DRECT* rects, DWORD flags, D3DCOLOR color, D3DVALUE z,
                               DWORD stencil) {
    record(join({"Clear", num(rect_count), num(flags), num(color), std::to_string(z), num(stencil)}));
    return inner_ != nullptr ? inner_->Clear(rect_count, rects, flags, color, z, stencil) : D3D_OK;
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    record(join({"SetTransform", num(state)}));
    if (matrix != nullptr) transforms[state] = *matrix;
    return inner_ != nullptr ? inner_->SetTransform(state, matrix) : D3D_OK;
}

HRESULT RecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    record(join({"GetTransform", num(state)}));
    if (inner_ != nullptr) return inner_->GetTransform(state, matrix);
    if (matrix == nullptr) return DDERR_INVALIDPARAMS;
    auto it = transforms.find(state);
    if (it != transforms.end()) {
        *matrix = it->second;
    } else {
        matrix_identity(matrix);
    }
    return D3D_OK;
}

HRESULT RecordingDevice::MultiplyTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    record(join({"MultiplyTransform", num(state)}));
    return inner_ != nullptr ? inner_->MultiplyTransform(state, matrix) : D3D_OK;
}

HRESULT RecordingDevice::SetViewport(D3DVIEWPORT7* value) {
    if (value == nullptr) return DDERR_INVALIDPARAMS;
    record(join({"SetViewport", num(value->dwX), num(value->dwY), num(value->dwWidth), num(value->dwHeight)}));
    if (inner_ != nullptr) {
        const HRESULT result = inner_->SetViewport(value);
        if (SUCCEEDED(result)) viewport = *value;
        return result;
    }
    viewport = *value;
    return D3D_OK;
}

HRESULT RecordingDevice::GetViewport(D3DVIEWPORT7* value) {
    record("GetViewport");
    if (inner_ != nullptr) return inner_->GetViewport(value);
    if (value == nullptr) return DDERR_INVALIDPARAMS;
    *value = viewport;
    return D3D_OK;
}

HRESULT RecordingDevice::SetMaterial(D3DMATERIAL7* material) {
    record("SetMaterial");
    if (material != nullptr) materials.push_back(*material);
    return inner_ != nullptr ? inner_->SetMaterial(material) : D3D_OK;
}

HRESULT RecordingDevice::GetMaterial(D3DMATERIAL7* material) {
    record("GetMaterial");
    if (inner_ != nullptr) return inner_->GetMaterial(material);
    if (material == nullptr || materials.empty()) return DDERR_INVALIDPARAMS;
    *material = materials.back();
    return D3D_OK;
}

HRESULT RecordingDevice::SetLight(DWORD index, D3DLIGHT7* light) {
    record(join({"SetLight", num(index), light != nullptr ? num(light->dltType) : "null"}));
    if (light != nullptr) lights[index] = *light;
    return inner_ != nullptr ? inner_->SetLight(index, light) : D3D_OK;
}

HRESULT RecordingDevice::GetLight(DWORD index, D3DLIGHT7* light) {
    record(join({"GetLight", num(index)}));
    if (inner_ != nullptr) return inner_->GetLight(index, light);
    auto it = lights.find(index);
    if (light == nullptr || it == lights.end()) return DDERR_INVALIDPARAMS;
    *light = it->second;
    return D3D_OK;
}

HRESULT RecordingDevice::LightEnable(DWORD index, BOOL enable) {
    record(join({"LightEnable", num(index), num(static_cast<DWORD>(enable))}));
    light_enabled[index] = enable;
    return inner_ != nullptr ? inner_->LightEnable(index, enable) : D3D_OK;
}

HRESULT RecordingDevice::GetLightEnable(DWORD index, BOOL* enable) {
    record(join({"GetLightEnable", num(index)}));
    if (inner_ != nullptr) return inner_->GetLightEnable(index, enable);
    if (enable == nullptr) return DDERR_INVALIDPARAMS;
    *enable = light_enabled.count(index) != 0 ? light_enabled[index] : FALSE;
    return D3D_OK;
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    record(join({"SetRenderState", num(state), num(value)}));
    render_states[state] = value;
    return inner_ != nullptr ? inner_->SetRenderState(state, value) : D3D_OK;
}

HRESULT RecordingDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    record(join({"GetRenderState", num(state)}));
    if (inner_ != nullptr) return inner_->GetRenderState(state, value);
    if (value == nullptr) return DDERR_INVALIDPARAMS;
    *value = render_states.count(state) != 0 ? render_states[state] : 0;
    return D3D_OK;
}

HRESULT RecordingDevice::SetClipPlane(DWORD index, D3DVALUE* plane) {
    record(join({"SetClipPlane", num(index)}));
    return inner_ != nullptr ? inner_->SetClipPlane(index, plane) : D3D_OK;
}

HRESULT RecordingDevice::GetClipPlane(DWORD index, D3DVALUE* plane) {
    record(join({"GetClipPlane", num(index)}));
    return inner_ != nullptr ? inner_->GetClipPlane(index, plane) : D3D_OK;
}

HRESULT RecordingDevice::BeginStateBlock() {
    record("BeginStateBlock");
    return inner_ != nullptr ? inner_->BeginStateBlock() : D3D_OK;
}

HRESULT RecordingDevice::EndStateBlock(DWORD* block) {
    record("EndStateBlock");
    return inner_ != nullptr ? inner_->EndStateBlock(block) : D3D_OK;
}

HRESULT RecordingDevice::ApplyStateBlock(DWORD block) {
    record(join({"ApplyStateBlock", num(block)}));
    return inner_ != nullptr ? inner_->ApplyStateBlock(block) : D3D_OK;
}

HRESULT RecordingDevice::CaptureStateBlock(DWORD block) {
    record(join({"CaptureStateBlock", num(block)}));
    return inner_ != nullptr ? inner_->CaptureStateBlock(block) : D3D_OK;
}

HRESULT RecordingDevice::DeleteStateBlock(DWORD block) {
    record(join({"DeleteStateBlock", num(block)}));
    return inner_ != nullptr ? inner_->DeleteStateBlock(block) : D3D_OK;
}

HRESULT RecordingDevice::CreateStateBlock(D3DSTATEBLOCKTYPE type, DWORD* block) {
    record(join({"CreateStateBlock", num(type)}));
    return inner_ != nullptr ? inner_->CreateStateBlock(type, block) : D3D_OK;
}

HRESULT RecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, void* vertices, DWORD vertex_count,
                                       DWORD flags) {
    record(join({"DrawPrimitive", num(type), num(fvf), num(vertex_count), num(flags)}));
    return inner_ != nullptr ? inner_->DrawPrimitive(type, fvf, vertices, vertex_count, flags) : D3D_OK;
}

HRESULT RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, void* vertices, DWORD vertex_count,
                                              WORD* indices, DWORD index_count, DWORD flags) {
    record(join({"DrawIndexedPrimitive", num(type), num(fvf), num(vertex_count), num(index_count), num(flags)}));
    return inner_ != nullptr
               ? inner_->DrawIndexedPrimitive(type, fvf, vertices, vertex_count, indices, index_count, flags)
               : D3D_OK;
}

HRESULT RecordingDevice::DrawPrimitiveVB(D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* buffer, DWORD start_vertex,
                                         DWORD vertex_count, DWORD flags) {
    record(join({"DrawPrimitiveVB", num(type), name_of(buffer, "vb"), num(start_vertex), num(vertex_count),
                 num(flags)}));
    return inner_ != nullptr ? inner_->DrawPrimitiveVB(type, buffer, start_vertex, vertex_count, flags) : D3D_OK;
}

HRESULT RecordingDevice::DrawIndexedPrimitiveVB(D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* buffer,
                                                DWORD start_vertex, DWORD vertex_count, WORD* indices,
                                                DWORD index_count, DWORD flags) {
    record(join({"DrawIndexedPrimitiveVB", num(type), name_of(buffer, "vb"), num(start_vertex), num(vertex_count),
                 num(index_count), num(flags)}));
    return inner_ != nullptr ? inner_->DrawIndexedPrimitiveVB(type, buffer, start_vertex, vertex_count, indices,
                                                              index_count, flags)
                             : D3D_OK;
}

HRESULT RecordingDevice::ComputeSphereVisibility(D3DVECTOR* centers, D3DVALUE* radii, DWORD count, DWORD flags,
                                                 DWORD* results) {
    record(join({"ComputeSphereVisibility", num(count), num(flags)}));
    if (inner_ != nullptr) return inner_->ComputeSphereVisibility(centers, radii, count, flags, results);
    if (centers == nullptr || radii == nullptr || results == nullptr) return DDERR_INVALIDPARAMS;
    for (DWORD i = 0; i < count; ++i) results[i] = 0;
    if (sphere_results) sphere_results(centers, radii, count, results);
    return D3D_OK;
}

HRESULT RecordingDevice::GetTexture(DWORD stage, IDirectDrawSurface7** texture) {
    record(join({"GetTexture", num(stage)}));
    if (inner_ != nullptr) return inner_->GetTexture(stage, texture);
    if (texture == nullptr) return DDERR_INVALIDPARAMS;
    *texture = textures.count(stage) != 0 ? textures[stage] : nullptr;
    if (*texture != nullptr) (*texture)->AddRef();
    return D3D_OK;
}

HRESULT RecordingDevice::SetTexture(DWORD stage, IDirectDrawSurface7* texture) {
    record(join({"SetTexture", num(stage), name_of(texture, "surface")}));
    textures[stage] = texture;
    return inner_ != nullptr ? inner_->SetTexture(stage, texture) : D3D_OK;
}

HRESULT RecordingDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD* value) {
    record(join({"GetTextureStageState", num(stage), num(state)}));
    if (inner_ != nullptr) return inner_->GetTextureStageState(stage, state, value);
    if (value != nullptr) *value = 0;
    return D3D_OK;
}

HRESULT RecordingDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) {
    record(join({"SetTextureStageState", num(stage), num(state), num(value)}));
    return inner_ != nullptr ? inner_->SetTextureStageState(stage, state, value) : D3D_OK;
}

HRESULT RecordingDevice::ValidateDevice(DWORD* passes) {
    record("ValidateDevice");
    if (inner_ != nullptr) return inner_->ValidateDevice(passes);
    if (passes != nullptr) *passes = 1;
    return D3D_OK;
}

RecordingVertexBuffer::RecordingVertexBuffer(const D3DVERTEXBUFFERDESC& description) : desc(description) {
    std::size_t stride = 12;
    if (desc.dwFVF & D3DFVF_NORMAL) stride += 12;
    if (desc.dwFVF & D3DFVF_DIFFUSE) stride += 4;
    if (desc.dwFVF & D3DFVF_SPECULAR) stride += 4;
    if (desc.dwFVF & D3DFVF_RESERVED1) stride += 4;
    if ((desc.dwFVF & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW) stride += 4;
    stride += 8 * ((desc.dwFVF & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
    bytes.assign(stride * desc.dwNumVertices, 0);
}

HRESULT RecordingVertexBuffer::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirect3DVertexBuffer7) {
        *object = static_cast<IDirect3DVertexBuffer7*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG RecordingVertexBuffer::Release() { return references_ > 0 ? --references_ : 0; }

HRESULT RecordingVertexBuffer::Lock(DWORD flags, void** data, DWORD* size) {
    lock_flags.push_back(flags);
    if (data == nullptr) return DDERR_INVALIDPARAMS;
    if (refuse_locks || locked) return DDERR_SURFACEBUSY;
    *data = bytes.data();
    if (size != nullptr) *size = static_cast<DWORD>(bytes.size());
    locked = true;
    return D3D_OK;
}

HRESULT RecordingVertexBuffer::Unlock() {
    if (!locked) return DDERR_NOTLOCKED;
    locked = false;
    return D3D_OK;
}

HRESULT RecordingVertexBuffer::GetVertexBufferDesc(D3DVERTEXBUFFERDESC* out) {
    if (out == nullptr) return DDERR_INVALIDPARAMS;
    *out = desc;
    return D3D_OK;
}

RecordingDirect3D::~RecordingDirect3D() {
    for (RecordingVertexBuffer* buffer : buffers) delete buffer;
}

HRESULT RecordingDirect3D::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDirect3D7) {
        *object = static_cast<IDirect3D7*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT RecordingDirect3D::EnumDevices(LPD3DENUMDEVICESCALLBACK7, void*) { return D3D_OK; }

HRESULT RecordingDirect3D::CreateDevice(REFCLSID, IDirectDrawSurface7*, IDirect3DDevice7** device) {
    if (device != nullptr) *device = nullptr;
    return E_NOTIMPL;
}

HRESULT RecordingDirect3D::CreateVertexBuffer(D3DVERTEXBUFFERDESC* desc, IDirect3DVertexBuffer7** buffer,
                                              DWORD flags) {
    if (desc == nullptr || buffer == nullptr || flags != 0) return DDERR_INVALIDPARAMS;
    *buffer = nullptr;
    if (desc->dwNumVertices == 0) return DDERR_INVALIDPARAMS;
    if (fail_after >= 0 && static_cast<int>(buffers.size()) >= fail_after) return DDERR_OUTOFMEMORY;
    descriptions.push_back(*desc);
    auto* made = new RecordingVertexBuffer(*desc);
    buffers.push_back(made);
    *buffer = made;
    return D3D_OK;
}

HRESULT RecordingDirect3D::EnumZBufferFormats(REFCLSID, LPD3DENUMPIXELFORMATSCALLBACK, void*) { return D3D_OK; }
