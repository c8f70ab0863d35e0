#include "render/offscreen_device.h"

#include <cstdio>

namespace {

HRESULT fail(std::string* reason, HRESULT result, const char* what) {
    if (reason != nullptr) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(result));
        *reason = std::string(what) + " failed (" + code + ")";
    }
    return FAILED(result) ? result : E_FAIL;
}

struct HardwareSearch {
    bool found = false;
    GUID guid{};
};

HRESULT find_hardware(LPSTR, LPSTR, D3DDEVICEDESC7* desc, void* context) {
    auto* search = static_cast<HardwareSearch*>(context);
    if (desc != nullptr && (desc->dwDevCaps & D3DDEVCAPS_HWRASTERIZATION) != 0) {
        search->guid = desc->deviceGUID;
        search->found = true;
        return D3DENUMRET_CANCEL;
    }
    return D3DENUMRET_OK;
}

struct DepthSearch {
    bool found = false;
    DDPIXELFORMAT format{};
};

HRESULT find_depth(DDPIXELFORMAT* format, void* context) {
    auto* search = static_cast<DepthSearch*>(context);
    if (format == nullptr) return D3DENUMRET_OK;
    // The first 32-bit format wins; without one, the first format listed.
    if (!search->found || (search->format.dwZBufferBitDepth != 32 && format->dwZBufferBitDepth == 32)) {
        search->format = *format;
        search->found = true;
    }
    return D3DENUMRET_OK;
}

template <typename T>
void release_one(T*& object) {
    if (object != nullptr) object->Release();
    object = nullptr;
}

}  // namespace

DDPIXELFORMAT offscreen_target_format() {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = 32;
    format.dwRBitMask = 0x00FF0000;
    format.dwGBitMask = 0x0000FF00;
    format.dwBBitMask = 0x000000FF;
    return format;
}

OffscreenDevice::~OffscreenDevice() { release(); }

void OffscreenDevice::release() {
    if (device_ != nullptr && render_objects().device == device_) render_objects_set({});
    release_one(device_);
    release_one(depth_);
    release_one(target_);
    release_one(direct3d_);
    release_one(direct_draw_);
}

void OffscreenDevice::make_current() {
    RenderObjects objects;
    objects.direct_draw = direct_draw_;
    objects.direct3d = direct3d_;
    objects.device = device_;
    objects.back_buffer = target_;
    render_objects_set(objects);
}

HRESULT OffscreenDevice::create(OffscreenDeviceKind kind, DWORD width, DWORD height, std::string* reason) {
    release();
    void* direct_draw = nullptr;
    HRESULT result = DirectDrawCreateEx(nullptr, &direct_draw, IID_IDirectDraw7, nullptr);
    if (FAILED(result)) return fail(reason, result, "DirectDrawCreateEx");
    direct_draw_ = static_cast<IDirectDraw7*>(direct_draw);
    result = direct_draw_->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    if (FAILED(result)) {
        release();
        return fail(reason, result, "SetCooperativeLevel");
    }

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddpfPixelFormat = offscreen_target_format();
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY;
    result = direct_draw_->CreateSurface(&desc, &target_, nullptr);
    if (FAILED(result)) {
        release();
        return fail(reason, result, "creating the render target");
    }

    void* direct3d = nullptr;
    result = direct_draw_->QueryInterface(IID_IDirect3D7, &direct3d);
    if (FAILED(result)) {
        release();
        return fail(reason, result, "QueryInterface for IDirect3D7");
    }
    direct3d_ = static_cast<IDirect3D7*>(direct3d);

    if (kind == OffscreenDeviceKind::Software) {
        device_guid_ = IID_IDirect3DRGBDevice;
    } else {
        HardwareSearch search;
        direct3d_->EnumDevices(find_hardware, &search);
        if (!search.found) {
            release();
            if (reason != nullptr) *reason = "no hardware-rasterising (OpenGL) device is available";
            return D3DERR_INVALID_DEVICE;
        }
        device_guid_ = search.guid;
    }
    result = direct3d_->CreateDevice(device_guid_, target_, &device_);
    if (FAILED(result)) {
        release();
        return fail(reason, result, "CreateDevice");
    }

    DepthSearch depth;
    direct3d_->EnumZBufferFormats(device_guid_, find_depth, &depth);
    if (!depth.found) {
        release();
        return fail(reason, DDERR_INVALIDPIXELFORMAT, "finding a depth format");
    }
    DDSURFACEDESC2 depth_desc{};
    depth_desc.dwSize = sizeof depth_desc;
    depth_desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    depth_desc.dwWidth = width;
    depth_desc.dwHeight = height;
    depth_desc.ddpfPixelFormat = depth.format;
    depth_desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY;
    result = direct_draw_->CreateSurface(&depth_desc, &depth_, nullptr);
    if (SUCCEEDED(result)) result = target_->AddAttachedSurface(depth_);
    if (SUCCEEDED(result)) result = device_->SetRenderTarget(target_, 0);
    if (FAILED(result)) {
        release();
        return fail(reason, result, "attaching the depth buffer");
    }

    D3DVIEWPORT7 viewport{0, 0, width, height, 0.0f, 1.0f};
    result = device_->SetViewport(&viewport);
    if (FAILED(result)) {
        release();
        return fail(reason, result, "SetViewport");
    }
    return S_OK;
}
