#include "render/render_target.h"

#include "render/render_context.h"

namespace {

// Moves the depth buffer attached to `from` (if any) onto `to`.
void move_depth_buffer(IDirectDrawSurface7* from, IDirectDrawSurface7* to) {
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_ZBUFFER;
    IDirectDrawSurface7* depth = nullptr;
    if (FAILED(from->GetAttachedSurface(&caps, &depth)) || depth == nullptr) return;
    from->DeleteAttachedSurface(0, depth);
    if (FAILED(to->AddAttachedSurface(depth))) from->AddAttachedSurface(depth);
    depth->Release();
}

}  // namespace

HRESULT set_render_target(IDirectDrawSurface7* target) {
    if (current_device == nullptr || target == nullptr) return 0;
    IDirectDrawSurface7* current = nullptr;
    if (SUCCEEDED(current_device->GetRenderTarget(&current)) && current != nullptr) {
        move_depth_buffer(current, target);
        current->Release();
    }
    current_device->SetRenderTarget(target, 0);

    D3DVIEWPORT7 viewport{};
    current_device->GetViewport(&viewport);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    if (SUCCEEDED(target->GetSurfaceDesc(&desc))) {
        viewport.dwWidth = desc.dwWidth;
        viewport.dwHeight = desc.dwHeight;
        current_device->SetViewport(&viewport);
    }
    return 0;
}
