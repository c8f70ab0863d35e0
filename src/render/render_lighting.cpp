#include "render/render_lighting.h"

#include "render/render_context.h"

HRESULT set_material(const D3DMATERIAL7& material) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    D3DMATERIAL7 copy = material;
    return current_device->SetMaterial(&copy);
}

HRESULT set_light(DWORD index, const D3DLIGHT7& light) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    D3DLIGHT7 copy = light;
    return current_device->SetLight(index, &copy);
}

HRESULT enable_light(DWORD index, bool on) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->LightEnable(index, on ? TRUE : FALSE);
}
