#include "render/render_viewport.h"

#include "render/render_context.h"

HRESULT get_viewport(D3DVIEWPORT7* viewport) {
    if (current_device == nullptr) return RENDER_E_NODEVICE;
    return current_device->GetViewport(viewport);
}

float viewport_aspect() {
    D3DVIEWPORT7 viewport{};
    if (FAILED(get_viewport(&viewport)) || viewport.dwWidth == 0) return 1.0f;
    return static_cast<float>(viewport.dwHeight) / static_cast<float>(viewport.dwWidth);
}
