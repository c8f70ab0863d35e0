#include "render/render_context.h"
#include "render/render_state.h"
#include "textures/texture_manager.h"

IDirectDrawSurface7* texture_get_surface(const char* name) {
    TextureEntry* entry = texture_find(name);
    if (entry == nullptr) return nullptr;
    if (entry->surface == nullptr) texture_create_surface(entry, current_device);
    return entry->surface;
}

HRESULT texture_select(DWORD stage, const char* name) {
    set_texture(stage, texture_get_surface(name));
    return S_OK;
}
