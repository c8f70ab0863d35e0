// A small headless set-up for drawing through the device interface in the OpenGL tests: a DirectDraw
// object on the headless display, an off-screen 3D target with an optional z-buffer, and a device of a
// chosen type on it, with helpers to draw screen-space and world-space primitives and read pixels back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d/core/surface.h"
#include "platform/d3d/d3d.h"
#include "platform/d3d/ddraw.h"
#include "support/test_image.h"

class GlTestRig {
public:
    // Registers the OpenGL backend (once) and builds everything; ok() tells whether the device exists.
    GlTestRig(const GUID& device, DWORD width, DWORD height, bool zbuffer = true,
              PixelKind kind = PixelKind::X8R8G8B8);
    ~GlTestRig();
    GlTestRig(const GlTestRig&) = delete;
    GlTestRig& operator=(const GlTestRig&) = delete;

    bool ok() const { return device_ != nullptr; }
    HRESULT create_result() const { return create_result_; }
    IDirectDraw7* ddraw() { return ddraw_; }
    IDirect3DDevice7* device() { return device_; }
    IDirectDrawSurface7* target() { return target_; }
    IDirectDrawSurface7* zbuffer() { return zbuffer_; }

    // A texture surface of the given size and kind filled by fill(x, y) → 0xAARRGGBB (caller releases).
    IDirectDrawSurface7* make_texture(DWORD width, DWORD height, PixelKind kind,
                                      std::uint32_t (*fill)(DWORD x, DWORD y));
    // A render-target texture (DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE) of the given size (caller releases).
    IDirectDrawSurface7* make_target_texture(DWORD width, DWORD height);

    void clear(D3DCOLOR color, float z = 1.0f);
    // Draws screen-space vertices (x, y, z, rhw, diffuse, specular, u, v) as the given primitive.
    void draw_tl(D3DPRIMITIVETYPE type, const std::vector<D3DTLVERTEX>& vertices);
    // The pixel at (x, y) of a surface as 0xAARRGGBB (default: the target).
    std::uint32_t pixel(DWORD x, DWORD y, IDirectDrawSurface7* surface = nullptr);
    float depth(DWORD x, DWORD y);
    // The whole target (or surface) as a picture.
    TestImage image(IDirectDrawSurface7* surface = nullptr);

private:
    IDirectDraw7* ddraw_ = nullptr;
    IDirect3D7* d3d_ = nullptr;
    IDirectDrawSurface7* target_ = nullptr;
    IDirectDrawSurface7* zbuffer_ = nullptr;
    IDirect3DDevice7* device_ = nullptr;
    HRESULT create_result_ = E_FAIL;
};

D3DTLVERTEX tl_vertex(float x, float y, float z, D3DCOLOR color, float u = 0.0f, float v = 0.0f, float rhw = 1.0f);
