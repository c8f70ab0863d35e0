// Headless set-ups for the OpenGL tests: a device of a chosen type on an off-screen target (optionally
// with a z-buffer), with helpers to draw screen-space primitives and read pixels back; and a fixture for
// tests that talk to GL directly on a context of their own.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "gl_scenes.h"
#include "platform/d3d/gl/context_egl.h"
#include "platform/d3d/core/surface.h"
#include "support/test_image.h"

class GlRenderer;

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
    GlRenderer* renderer();  // null unless the device is the OpenGL one
    // A surface made on this DirectDraw object (see scene_surface; caller releases).
    IDirectDrawSurface7* texture(DWORD width, DWORD height, PixelKind kind, std::uint32_t (*fill)(DWORD, DWORD),
                                 DWORD caps = DDSCAPS_TEXTURE)
    {
        return scene_surface(ddraw_, width, height, kind, fill, caps);
    }

    void clear(D3DCOLOR color, float z = 1.0f);
    // Clears, turns lighting off and has stage 0 pass the diffuse colour and alpha through.
    void unlit(D3DCOLOR clear_color);
    // Draws screen-space vertices as the given primitive, in a scene of its own.
    void draw_tl(D3DPRIMITIVETYPE type, std::vector<D3DTLVERTEX> vertices);
    // The pixel at (x, y) of a surface as 0xAARRGGBB (default: the target), and the z-buffer's depth.
    std::uint32_t pixel(DWORD x, DWORD y, IDirectDrawSurface7* surface = nullptr);
    float depth(DWORD x, DWORD y);
    TestImage image();

private:
    IDirectDraw7* ddraw_ = nullptr;
    IDirect3D7* d3d_ = nullptr;
    IDirectDrawSurface7* target_ = nullptr;
    IDirectDrawSurface7* zbuffer_ = nullptr;
    IDirect3DDevice7* device_ = nullptr;
    HRESULT create_result_ = E_FAIL;
};

// Writes a 32-bit word into each pixel of a rectangle of a 32-bit surface through Lock.
void lock_write(IDirectDrawSurface7* surface, DWORD x, DWORD y, DWORD width, DWORD height, std::uint32_t value);

class HeadlessGlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        context_ = context_egl_create("", &error);
        ASSERT_NE(context_, nullptr) << error;
        ASSERT_TRUE(context_->make_current());
    }
    std::unique_ptr<GlContext> context_;
};
