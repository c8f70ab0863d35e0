// State setters and getters of the device. Each setter checks its arguments, then either records the
// value into the state block being built (BeginStateBlock … EndStateBlock, which leaves the device's own
// state alone, as on the platform) or stores it and marks its category changed for the backend.
#include <cmath>

#include "platform/d3d/core/device.h"
#include "platform/d3d/core/surface.h"

namespace {

bool light_valid(const D3DLIGHT7& light)
{
    if (light.dltType != D3DLIGHT_POINT && light.dltType != D3DLIGHT_SPOT && light.dltType != D3DLIGHT_DIRECTIONAL) {
        return false;
    }
    if (light.dltType != D3DLIGHT_DIRECTIONAL && (!(light.dvRange >= 0.0f) || light.dvRange > D3DLIGHT_RANGE_MAX)) {
        return false;
    }
    return true;
}

// The light LightEnable creates for an index never set: white, directional, shining along +z.
D3DLIGHT7 default_light()
{
    D3DLIGHT7 l{};
    l.dltType = D3DLIGHT_DIRECTIONAL;
    l.dcvDiffuse = D3DCOLORVALUE{{1.0f}, {1.0f}, {1.0f}, {0.0f}};
    l.dvDirection = D3DVECTOR(0.0f, 0.0f, 1.0f);
    return l;
}

}  // namespace

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    if (!render_state_is_valid(state)) return DDERR_INVALIDPARAMS;
    if (recording_) {
        recording_->state.render[state] = value;
        recording_->mask.render.set(state);
        return D3D_OK;
    }
    state_.render[state] = value;
    dirty_ |= DIRTY_RENDER_STATE;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value)
{
    if (value == nullptr || !render_state_is_valid(state)) return DDERR_INVALIDPARAMS;
    *value = state_.render[state];
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value)
{
    if (stage >= D3D_MAX_TEXTURE_STAGES || !stage_state_is_valid(state)) return DDERR_INVALIDPARAMS;
    DeviceState& s = recording_ ? recording_->state : state_;
    auto store = [&](DWORD which) {
        s.stage[stage][which] = value;
        if (recording_) recording_->mask.stage[stage].set(which);
    };
    store(state);
    if (state == D3DTSS_ADDRESS) {  // sets both directions
        store(D3DTSS_ADDRESSU);
        store(D3DTSS_ADDRESSV);
    }
    if (!recording_) dirty_ |= DIRTY_STAGE_STATE;
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD* value)
{
    if (value == nullptr || stage >= D3D_MAX_TEXTURE_STAGES || !stage_state_is_valid(state)) return DDERR_INVALIDPARAMS;
    *value = state_.stage[stage][state];
    return D3D_OK;
}

void Device::bind_texture(DeviceState& state, DWORD stage, Surface* texture)
{
    if (texture != nullptr) texture->AddRef();
    if (state.textures[stage] != nullptr) state.textures[stage]->Release();
    state.textures[stage] = texture;
}

HRESULT Device::SetTexture(DWORD stage, IDirectDrawSurface7* texture)
{
    if (stage >= D3D_MAX_TEXTURE_STAGES) return DDERR_INVALIDPARAMS;
    Surface* s = nullptr;
    if (texture != nullptr) {
        s = surface_from_interface(texture);
        if (s == nullptr) return DDERR_INVALIDPARAMS;
    }
    if (recording_) {
        recording_->hold_texture(stage, s);
        recording_->mask.textures.set(stage);
        return D3D_OK;
    }
    bind_texture(state_, stage, s);
    dirty_ |= DIRTY_TEXTURE;
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD stage, IDirectDrawSurface7** texture)
{
    if (texture == nullptr || stage >= D3D_MAX_TEXTURE_STAGES) return DDERR_INVALIDPARAMS;
    Surface* s = state_.textures[stage];
    if (s != nullptr) s->AddRef();
    *texture = s;
    return D3D_OK;
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    unsigned slot;
    if (matrix == nullptr || !transform_slot_of(state, &slot)) return DDERR_INVALIDPARAMS;
    if (recording_) {
        recording_->state.transforms[slot] = *matrix;
        recording_->mask.transforms.set(slot);
        return D3D_OK;
    }
    state_.transforms[slot] = *matrix;
    dirty_ |= DIRTY_TRANSFORM;
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    unsigned slot;
    if (matrix == nullptr || !transform_slot_of(state, &slot)) return DDERR_INVALIDPARAMS;
    *matrix = state_.transforms[slot];
    return D3D_OK;
}

HRESULT Device::MultiplyTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    unsigned slot;
    if (matrix == nullptr || !transform_slot_of(state, &slot)) return DDERR_INVALIDPARAMS;
    D3DMATRIX product;
    matrix_multiply(&product, matrix, &state_.transforms[slot]);
    return SetTransform(state, &product);
}

HRESULT Device::SetViewport(D3DVIEWPORT7* viewport)
{
    if (viewport == nullptr) return DDERR_INVALIDPARAMS;
    const std::uint64_t right = static_cast<std::uint64_t>(viewport->dwX) + viewport->dwWidth;
    const std::uint64_t bottom = static_cast<std::uint64_t>(viewport->dwY) + viewport->dwHeight;
    if (viewport->dwWidth == 0 || viewport->dwHeight == 0 || right > target_->width() || bottom > target_->height()) {
        return DDERR_INVALIDPARAMS;
    }
    if (!std::isfinite(viewport->dvMinZ) || !std::isfinite(viewport->dvMaxZ)) return DDERR_INVALIDPARAMS;
    if (recording_) {
        recording_->state.viewport = *viewport;
        recording_->mask.viewport = true;
        return D3D_OK;
    }
    state_.viewport = *viewport;
    dirty_ |= DIRTY_VIEWPORT;
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT7* viewport)
{
    if (viewport == nullptr) return DDERR_INVALIDPARAMS;
    *viewport = state_.viewport;
    return D3D_OK;
}

HRESULT Device::SetMaterial(D3DMATERIAL7* material)
{
    if (material == nullptr) return DDERR_INVALIDPARAMS;
    if (recording_) {
        recording_->state.material = *material;
        recording_->mask.material = true;
        return D3D_OK;
    }
    state_.material = *material;
    dirty_ |= DIRTY_MATERIAL;
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL7* material)
{
    if (material == nullptr) return DDERR_INVALIDPARAMS;
    *material = state_.material;
    return D3D_OK;
}

LightSlot* Device::light_slot(DeviceState& state, DWORD index, bool create)
{
    if (index >= D3D_MAX_LIGHT_INDEX) return nullptr;
    if (index >= state.lights.size()) {
        if (!create) return nullptr;
        state.lights.resize(index + 1);
    }
    return &state.lights[index];
}

HRESULT Device::SetLight(DWORD index, D3DLIGHT7* light)
{
    if (light == nullptr || index >= D3D_MAX_LIGHT_INDEX || !light_valid(*light)) return DDERR_INVALIDPARAMS;
    if (recording_) {
        recording_->cover_light(index, true, false);
        recording_->state.lights[index].light = *light;
        return D3D_OK;
    }
    LightSlot* slot = light_slot(state_, index, true);
    slot->light = *light;
    if (index >= defined_lights_.size()) defined_lights_.resize(index + 1, false);
    defined_lights_[index] = true;
    dirty_ |= DIRTY_LIGHT;
    return D3D_OK;
}

HRESULT Device::GetLight(DWORD index, D3DLIGHT7* light)
{
    if (light == nullptr || index >= defined_lights_.size() || !defined_lights_[index]) return DDERR_INVALIDPARAMS;
    *light = state_.lights[index].light;
    return D3D_OK;
}

HRESULT Device::LightEnable(DWORD index, BOOL enable)
{
    if (index >= D3D_MAX_LIGHT_INDEX) return DDERR_INVALIDPARAMS;
    if (recording_) {
        recording_->cover_light(index, false, true);
        recording_->state.lights[index].enabled = enable != FALSE;
        return D3D_OK;
    }
    if (index >= defined_lights_.size()) defined_lights_.resize(index + 1, false);
    LightSlot* slot = light_slot(state_, index, true);
    if (!defined_lights_[index]) {
        slot->light = default_light();
        defined_lights_[index] = true;
    }
    if (enable && !slot->enabled) {
        DWORD active = 0;
        for (const LightSlot& l : state_.lights) active += l.enabled ? 1 : 0;
        if (active >= D3D_MAX_ACTIVE_LIGHTS) return D3DERR_LIGHT_SET_FAILED;
    }
    slot->enabled = enable != FALSE;
    dirty_ |= DIRTY_LIGHT;
    return D3D_OK;
}

HRESULT Device::GetLightEnable(DWORD index, BOOL* enable)
{
    if (enable == nullptr || index >= defined_lights_.size() || !defined_lights_[index]) return DDERR_INVALIDPARAMS;
    *enable = state_.lights[index].enabled ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT Device::SetClipPlane(DWORD index, D3DVALUE* plane)
{
    if (plane == nullptr || index >= D3D_MAX_CLIP_PLANES) return DDERR_INVALIDPARAMS;
    DeviceState& s = recording_ ? recording_->state : state_;
    for (int k = 0; k < 4; ++k) s.clip_planes[index][k] = plane[k];
    if (recording_) {
        recording_->mask.clip_planes.set(index);
    } else {
        dirty_ |= DIRTY_CLIP_PLANE;
    }
    return D3D_OK;
}

HRESULT Device::GetClipPlane(DWORD index, D3DVALUE* plane)
{
    if (plane == nullptr || index >= D3D_MAX_CLIP_PLANES) return DDERR_INVALIDPARAMS;
    for (int k = 0; k < 4; ++k) plane[k] = state_.clip_planes[index][k];
    return D3D_OK;
}
