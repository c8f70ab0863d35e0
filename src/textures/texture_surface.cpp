#include "platform/debug_output.h"
#include "textures/texture_format.h"
#include "textures/texture_manager.h"
#include "textures/texture_upload.h"

namespace {

bool is_hardware_device(const GUID& guid) {
    return guid == IID_IDirect3DHALDevice || guid == IID_IDirect3DTnLHalDevice;
}

// The DirectDraw object that owns the device's current render target (a reference), or null.
IDirectDraw7* direct_draw_of(IDirect3DDevice7* device) {
    IDirectDrawSurface7* target = nullptr;
    if (FAILED(device->GetRenderTarget(&target)) || target == nullptr) return nullptr;
    void* direct_draw = nullptr;
    const HRESULT result = target->GetDDInterface(&direct_draw);
    target->Release();
    return SUCCEEDED(result) ? static_cast<IDirectDraw7*>(direct_draw) : nullptr;
}

}  // namespace

HRESULT texture_create_surface(TextureEntry* entry, IDirect3DDevice7* device) {
    if (entry == nullptr) return E_INVALIDARG;
    if (entry->surface != nullptr) {
        entry->surface->Release();
        entry->surface = nullptr;
    }
    if (device == nullptr) return E_INVALIDARG;
    D3DDEVICEDESC7 caps{};
    if (FAILED(device->GetCaps(&caps))) return E_FAIL;

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = entry->extra_desc_flags | DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    desc.dwWidth = entry->width;
    desc.dwHeight = entry->height;
    desc.ddsCaps.dwCaps = entry->extra_caps | DDSCAPS_TEXTURE;
    if (is_hardware_device(caps.deviceGUID)) {
        desc.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;
    } else {
        desc.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
    }
    texture_fit_size(caps, &desc.dwWidth, &desc.dwHeight);

    bool have_format = texture_find_format(device, entry->wanted_bits, entry->wanted_alpha_bits, &desc.ddpfPixelFormat);
    if (!have_format) {
        OutputDebugStringA(TEXTURE_FORMAT_WARNING);
        entry->wanted_bits = 16;
        entry->wanted_alpha_bits = texture_fallback_alpha_bits(entry->wanted_alpha_bits);
        have_format = texture_find_format(device, entry->wanted_bits, entry->wanted_alpha_bits, &desc.ddpfPixelFormat);
    }
    // Without any matching format the creation could only fail; say so without asking.
    if (!have_format) return DDERR_INVALIDPIXELFORMAT;

    if (entry->is_render_target()) {
        desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE;
        desc.ddsCaps.dwCaps2 = 0;
    }

    IDirectDraw7* direct_draw = direct_draw_of(device);
    if (direct_draw == nullptr) return DDERR_NOTINITIALIZED;
    const HRESULT created = direct_draw->CreateSurface(&desc, &entry->surface, nullptr);
    direct_draw->Release();
    if (FAILED(created)) {
        entry->surface = nullptr;
        return created;
    }
    if (entry->image.has_bitmap() || entry->image.has_pixels()) return texture_upload(entry);
    return S_OK;
}
