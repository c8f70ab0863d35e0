// Test scaffolding over the device layer's public interface: a DirectDraw object on the headless
// driver, a render target with or without a z-buffer, a device of a chosen GUID, the parametrised
// base fixture that runs a case on every device of conformance_devices.h, and helpers that draw
// screen-space quads and read pixels and depth back. Conformance cases use only this and the platform
// interfaces, so they run unchanged on every backend.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/d3d/conformance_devices.h"
#include "capture/frame_readback.h"
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
    explicit operator bool() const { return p_ != nullptr; }
    T** out() { reset(); return &p_; }
    void reset() { if (p_ != nullptr) p_->Release(); p_ = nullptr; }
    T* release() { return std::exchange(p_, nullptr); }
    void adopt(T* p) { reset(); p_ = p; }

private:
    T* p_ = nullptr;
};

DDSURFACEDESC2 surface_desc(DWORD caps, DWORD width, DWORD height, const DDPIXELFORMAT* format = nullptr);
DDPIXELFORMAT format_x8r8g8b8();
DDPIXELFORMAT format_a8r8g8b8();
DDPIXELFORMAT format_r5g6b5();
DDPIXELFORMAT format_z(DWORD bits);

// A DirectDraw object on the headless driver, windowed cooperative level set.
HRESULT create_direct_draw(IDirectDraw7** out);

// One device rendering into a width × height target (X8R8G8B8 unless told), optionally with a 32-bit
// z-buffer attached before the device is made.
class DeviceHarness {
public:
    DeviceHarness(const GUID& device, DWORD width, DWORD height, bool zbuffer,
                  DDPIXELFORMAT format = format_x8r8g8b8());
    bool ok() const { return ok_; }
    IDirect3D7* d3d() const { return d3d_.get(); }
    IDirect3DDevice7* device() const { return device_.get(); }
    IDirectDrawSurface7* target() const { return target_.get(); }

    // A surface on the same DirectDraw object (null on failure).
    IDirectDrawSurface7* create_surface(DWORD caps, DWORD width, DWORD height, const DDPIXELFORMAT* format);
    // A texture filled with the given 0xAARRGGBB pixels (rows top first); 32-bit or R5G6B5 formats.
    IDirectDrawSurface7* create_texture(DWORD width, DWORD height, const std::vector<std::uint32_t>& argb,
                                        DDPIXELFORMAT format = format_a8r8g8b8());

    TestImage capture() const;
    std::uint32_t pixel(int x, int y) const { return capture().at(x, y); }
    float depth_at(int x, int y) const;

private:
    bool ok_ = false;
    ComRef<IDirectDraw7> dd_;
    ComRef<IDirect3D7> d3d_;
    ComRef<IDirectDrawSurface7> target_;
    ComRef<IDirectDrawSurface7> zbuffer_;
    ComRef<IDirect3DDevice7> device_;
};

// Writes the given 0xAARRGGBB pixels (rows top first) into a 32-bit or R5G6B5 texture; false when the
// lock fails.
bool write_texture(IDirectDrawSurface7* texture, const std::vector<std::uint32_t>& argb);

// Screen vertices (format 0x1C4).
inline D3DTLVERTEX tl_vertex(float x, float y, float z, float rhw, D3DCOLOR color)
{
    return D3DTLVERTEX{x, y, z, rhw, color, 0, 0.0f, 0.0f};
}
// The program's full-screen strip: (x0,y1), (x0,y0), (x1,y1), (x1,y0) with u, v from 0 to 1.
void screen_quad(D3DTLVERTEX out[4], float x0, float y0, float x1, float y1, float z, D3DCOLOR color);
HRESULT draw_tl(IDirect3DDevice7* device, D3DPRIMITIVETYPE type, D3DTLVERTEX* vertices, DWORD count);
// screen_quad drawn as a strip.
HRESULT draw_quad(IDirect3DDevice7* d, float x0, float y0, float x1, float y1, float z, D3DCOLOR color);

// State shortcuts: stage colour and alpha operations, blending.
void set_color_stage(IDirect3DDevice7* d, DWORD stage, DWORD op, DWORD arg1, DWORD arg2);
void set_alpha_stage(IDirect3DDevice7* d, DWORD stage, DWORD op, DWORD arg1, DWORD arg2);
void set_blend(IDirect3DDevice7* d, bool enable, DWORD src, DWORD dst);
// Stage 0 takes colour and alpha from the diffuse colour; no blending, lighting or culling.
void set_diffuse_only(IDirect3DDevice7* d);
// BeginScene, Clear with the given flags, set_diffuse_only.
void begin_diffuse(IDirect3DDevice7* d, D3DCOLOR clear = 0xFF000000, DWORD flags = D3DCLEAR_TARGET);

// The program's render-target switch: the z-buffer moves to the new target, the viewport takes its size.
HRESULT switch_target(IDirect3DDevice7* d, IDirectDrawSurface7* target);

// Channel distance of two 0xAARRGGBB colours over R, G, B (and A when with_alpha).
int color_distance(std::uint32_t a, std::uint32_t b, bool with_alpha = false);

// Whether the device is registered in this build.
bool device_available(const GUID& guid);

// Base of the per-device fixtures: skips a device not in this build.
class DeviceTest : public testing::TestWithParam<ConformanceDevice> {
protected:
    void SetUp() override
    {
        if (!device_available(guid())) GTEST_SKIP() << GetParam().name << " is not in this build";
    }
    const GUID& guid() const { return *GetParam().guid; }
};

struct DeviceParamName {
    std::string operator()(const testing::TestParamInfo<ConformanceDevice>& info) const { return info.param.name; }
};
#define INSTANTIATE_ON_DEVICES(suite) \
    INSTANTIATE_TEST_SUITE_P(Devices, suite, testing::ValuesIn(conformance_devices()), DeviceParamName())
