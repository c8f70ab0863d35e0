// The device layer's representative loads, shared by the software benchmark (bench_d3d) and the
// side-by-side one (bench_d3d_gl): a 640 × 480 target with a 32-bit z-buffer and a bilinear checker
// texture on stage 0, and the three loads: a full-screen blended textured quad, 20 000 lit textured
// triangles with w-buffered depth (ten 2 000-triangle spheres), and ten additive copies of a
// 2 000-triangle sphere. A load sets its states on the device once; draw() then draws one frame's geometry.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/d3d/d3d.h"
#include "platform/d3d/ddraw.h"

class LoadTarget {
public:
    // A target, z-buffer and device of the given kind; ok() is false when the device cannot be made.
    LoadTarget(const GUID& device_kind, DWORD texture_size);
    ~LoadTarget();
    LoadTarget(const LoadTarget&) = delete;
    LoadTarget& operator=(const LoadTarget&) = delete;

    bool ok() const { return device_ != nullptr; }
    IDirect3DDevice7* device() { return device_; }
    IDirectDraw7* direct_draw() { return dd_; }
    IDirectDrawSurface7* target() { return target_; }
    IDirectDrawSurface7* zbuffer() { return zbuffer_; }

    // Brings the frame to memory and touches it, as a capture or a present would.
    std::uint32_t read_back();

private:
    IDirectDrawSurface7* surface(DWORD caps, DWORD w, DWORD h, DWORD flags, DWORD bits, DWORD alpha);

    IDirectDraw7* dd_ = nullptr;
    IDirect3D7* d3d_ = nullptr;
    IDirectDrawSurface7* target_ = nullptr;
    IDirectDrawSurface7* zbuffer_ = nullptr;
    IDirectDrawSurface7* texture_ = nullptr;
    IDirect3DDevice7* device_ = nullptr;
};

struct Load {
    double triangles = 0;       // per frame
    DWORD clear_flags = 0;      // what a frame clears first (0: nothing)
    std::function<void()> draw;  // one frame's geometry, inside BeginScene/EndScene
};

// The texture sizes the loads were measured with.
constexpr DWORD kAlphaQuadTexture = 256;
constexpr DWORD kLitSpheresTexture = 128;
constexpr DWORD kSphereEchoesTexture = 256;

Load load_alpha_quad(IDirect3DDevice7* d);
Load load_lit_spheres(IDirect3DDevice7* d);
Load load_sphere_echoes(IDirect3DDevice7* d);

// BeginScene, the load's clear, its geometry, EndScene.
void draw_frame(IDirect3DDevice7* d, const Load& load);
