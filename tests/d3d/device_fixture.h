// Test scaffolding over the device layer's public interface: a DirectDraw object on the headless
// driver, a render target with or without a z-buffer, a device of a chosen GUID, and helpers that
// draw screen-space quads and triangles and read pixels and depth back. Conformance cases use only
// this and the platform interfaces, so they run unchanged on every backend.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "d3d/conformance_devices.h"
#include "platform/d3d/core/surface_capture.h"
#include "platform/d3d/d3d.h"
#include "support/test_image.h"

// Releases an interface at scope end.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* p) : p_(p) {}
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** out()
    {
        reset();
        return &p_;
    }
    void reset()
    {
        if (p_ != nullptr) p_->Release();
        p_ = nullptr;
    }
    T* release()
    {
        T* p = p_;
        p_ = nullptr;
        return p;
    }
    explicit operator bool() const { return p_ != nullptr; }
    void adopt(T* p)
    {
        reset();
        p_ = p;
    }

private:
    T* p_ = nullptr;
};

DDSURFACEDESC2 surface_desc(DWORD caps, DWORD width, DWORD height);
DDPIXELFORMAT format_x8r8g8b8();
DDPIXELFORMAT format_a8r8g8b8();
DDPIXELFORMAT format_r5g6b5();
DDPIXELFORMAT format_z(DWORD bits);

// A DirectDraw object on the headless driver, windowed cooperative level set.
HRESULT create_direct_draw(IDirectDraw7** out);

// One device rendering into a width × height X8R8G8B8 target (optionally with a 32-bit z-buffer
// attached before the device is made).
class DeviceHarness {
public:
    DeviceHarness(const GUID& device, DWORD width, DWORD height, bool zbuffer,
                  DDPIXELFORMAT format = format_x8r8g8b8());
    bool ok() const { return ok_; }
    IDirectDraw7* dd() const { return dd_.get(); }
    IDirect3D7* d3d() const { return d3d_.get(); }
    IDirect3DDevice7* device() const { return device_.get(); }
    IDirectDrawSurface7* target() const { return target_.get(); }
    IDirectDrawSurface7* zbuffer() const { return zbuffer_.get(); }

    // A surface created on the same DirectDraw object (null on failure).
    IDirectDrawSurface7* create_surface(DWORD caps, DWORD width, DWORD height, const DDPIXELFORMAT* format);
    // A texture filled with the given 0xAARRGGBB pixels (rows top first).
    IDirectDrawSurface7* create_texture(DWORD width, DWORD height, const std::vector<std::uint32_t>& argb,
                                        DDPIXELFORMAT format = format_a8r8g8b8(), DWORD extra_caps = 0);

    TestImage capture(IDirectDrawSurface7* surface = nullptr) const;
    std::uint32_t pixel(int x, int y) const;
    float depth_at(int x, int y) const;

private:
    bool ok_ = false;
    ComRef<IDirectDraw7> dd_;
    ComRef<IDirect3D7> d3d_;
    ComRef<IDirectDrawSurface7> target_;
    ComRef<IDirectDrawSurface7> zbuffer_;
    ComRef<IDirect3DDevice7> device_;
};

// Screen vertices (format 0x1C4).
D3DTLVERTEX tl_vertex(float x, float y, float z, float rhw, D3DCOLOR color, float u = 0.0f, float v = 0.0f,
                      D3DCOLOR specular = 0);
// The program's full-screen strip: (x0,y1), (x0,y0), (x1,y1), (x1,y0) with u, v from 0 to 1.
void screen_quad(D3DTLVERTEX out[4], float x0, float y0, float x1, float y1, float z, D3DCOLOR color);
HRESULT draw_tl(IDirect3DDevice7* device, D3DPRIMITIVETYPE type, D3DTLVERTEX* vertices, DWORD count);

// State shortcuts: stage 0 colour and alpha operations, blending, depth.
void set_color_stage(IDirect3DDevice7* d, DWORD stage, DWORD op, DWORD arg1, DWORD arg2);
void set_alpha_stage(IDirect3DDevice7* d, DWORD stage, DWORD op, DWORD arg1, DWORD arg2);
void set_blend(IDirect3DDevice7* d, bool enable, DWORD src, DWORD dst);
// Stage 0 takes colour and alpha from the diffuse colour; no blending, lighting or culling.
void set_diffuse_only(IDirect3DDevice7* d);

// Channel distance of two 0xAARRGGBB colours over R, G, B (and A when with_alpha).
int color_distance(std::uint32_t a, std::uint32_t b, bool with_alpha = false);

// Parametrised fixtures name their instances with this.
struct DeviceParamName {
    std::string operator()(const testing::TestParamInfo<ConformanceDevice>& info) const { return info.param.name; }
};

// Skips the test when the device is not registered in this build.
bool device_available(const GUID& guid);
