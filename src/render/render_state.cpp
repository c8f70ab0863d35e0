#include "render/render_state.h"

#include "render/render_context.h"

HRESULT set_render_state(D3DRENDERSTATETYPE state, DWORD value) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->SetRenderState(state, value);
}

HRESULT set_blend(DWORD enable, DWORD source, DWORD destination) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    current_device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, enable);
    current_device->SetRenderState(D3DRENDERSTATE_SRCBLEND, source);
    return current_device->SetRenderState(D3DRENDERSTATE_DESTBLEND, destination);
}

HRESULT set_color_stage(DWORD stage, DWORD operation, DWORD argument1, DWORD argument2) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    current_device->SetTextureStageState(stage, D3DTSS_COLOROP, operation);
    current_device->SetTextureStageState(stage, D3DTSS_COLORARG1, argument1);
    return current_device->SetTextureStageState(stage, D3DTSS_COLORARG2, argument2);
}

HRESULT set_alpha_stage(DWORD stage, DWORD operation, DWORD argument1, DWORD argument2) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    current_device->SetTextureStageState(stage, D3DTSS_ALPHAOP, operation);
    current_device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, argument1);
    return current_device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, argument2);
}

HRESULT set_stage_state(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->SetTextureStageState(stage, state, value);
}

HRESULT set_texture(DWORD stage, IDirectDrawSurface7* texture) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->SetTexture(stage, texture);
}
