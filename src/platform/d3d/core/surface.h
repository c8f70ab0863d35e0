// The one surface implementation behind IDirectDrawSurface7: primary, back buffer, off-screen plain,
// z-buffer, texture, render-target texture and system-memory staging surfaces all keep their pixels in
// system memory here, so every backend (and every test) can read any surface back. A backend that keeps
// its own copy elsewhere (a GPU texture) attaches a SurfaceResidency: the surface asks it to bring
// memory up to date before the CPU reads, and tells it when the CPU has written (content_version()).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/d3d/core/ref_counted.h"
#include "platform/d3d/core/pixel_format.h"
#include "platform/d3d/ddraw.h"

class DirectDraw;
class Surface;

// A backend's view of a surface it mirrors.
class SurfaceResidency {
public:
    virtual ~SurfaceResidency() = default;
    // Before the CPU reads or writes the surface's memory: copy back anything only the backend has.
    virtual void before_cpu_access(Surface& surface, bool will_write) = 0;
    // The surface is being destroyed.
    virtual void surface_destroyed(Surface& surface) = 0;
};

class Surface final : public RefCounted<IDirectDrawSurface7, IID_IDirectDrawSurface7> {
public:
    // Creation goes through IDirectDraw7::CreateSurface; this is the validated description.
    Surface(DirectDraw* owner, DWORD width, DWORD height, PixelKind kind, DWORD caps, DWORD caps2);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // IUnknown

    // IDirectDrawSurface7
    HRESULT AddAttachedSurface(IDirectDrawSurface7* surface) override;
    HRESULT DeleteAttachedSurface(DWORD flags, IDirectDrawSurface7* surface) override;
    HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) override;
    HRESULT EnumAttachedSurfaces(void* context, LPDDENUMSURFACESCALLBACK7 callback) override;
    HRESULT Blt(RECT* dest_rect, IDirectDrawSurface7* source, RECT* source_rect, DWORD flags,
                DDBLTFX* effects) override;
    HRESULT Flip(IDirectDrawSurface7* target_override, DWORD flags) override;
    HRESULT GetCaps(DDSCAPS2* caps) override;
    HRESULT GetClipper(IDirectDrawClipper** clipper) override;
    HRESULT GetDDInterface(void** direct_draw) override;
    HRESULT GetPixelFormat(DDPIXELFORMAT* format) override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) override;
    HRESULT IsLost() override;
    HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event) override;
    HRESULT Unlock(RECT* rect) override;
    HRESULT Restore() override;
    HRESULT SetClipper(IDirectDrawClipper* clipper) override;

    // For the core and the backends.
    DWORD width() const { return width_; }
    DWORD height() const { return height_; }
    PixelKind kind() const { return kind_; }
    DWORD caps() const { return caps_; }
    DWORD caps2() const { return caps2_; }
    LONG pitch() const { return pitch_; }
    BYTE* pixels() { return pixels_.get(); }
    const BYTE* pixels() const { return pixels_.get(); }
    BYTE* row(DWORD y) { return pixels_.get() + static_cast<std::ptrdiff_t>(y) * pitch_; }
    const BYTE* row(DWORD y) const { return pixels_.get() + static_cast<std::ptrdiff_t>(y) * pitch_; }
    DirectDraw* owner() const { return owner_; }
    bool is_texture() const { return (caps_ & DDSCAPS_TEXTURE) != 0; }
    bool is_render_target() const { return (caps_ & DDSCAPS_3DDEVICE) != 0; }
    bool is_zbuffer() const { return (caps_ & DDSCAPS_ZBUFFER) != 0; }
    bool is_locked() const { return lock_count_ > 0; }
    bool lost() const;

    // The z-buffer attached to this surface, or null.
    Surface* attached_zbuffer() const;
    // The back buffer of a flip chain whose front this is, or null.
    Surface* attached_back_buffer() const;

    // A number no other surface of this process has had, for caches keyed by surface.
    std::uint64_t serial() const { return serial_; }

    // Advances on every write through the CPU (Unlock, Blt) and every draw or clear into the surface.
    std::uint64_t content_version() const { return version_.load(std::memory_order_acquire); }
    void mark_written() { version_.fetch_add(1, std::memory_order_acq_rel); }

    // Call before touching pixels() from the CPU outside a backend's own drawing.
    void prepare_cpu_access(bool will_write);
    void set_residency(SurfaceResidency* residency) { residency_ = residency; }
    SurfaceResidency* residency() const { return residency_; }

    // The pixel at (x, y) as 0xAARRGGBB (colour kinds), or the stored depth (depth kinds).
    std::uint32_t read_argb(DWORD x, DWORD y) const;
    float read_depth(DWORD x, DWORD y) const;

    // Fills the whole surface (or rect) with a colour or depth value, used by Blt and Clear helpers.
    void fill_rect(const RECT& rect, std::uint32_t argb_or_bits, bool raw_bits);
    void fill_depth(const RECT& rect, float depth);

private:
    friend class DirectDraw;
    ~Surface();
    void destroy_attachments();
    HRESULT blt_fill(const RECT& dest, DWORD flags, const DDBLTFX* effects);
    HRESULT blt_copy(const RECT& dest, Surface& source, const RECT& source_rect);
    void present_if_primary(const RECT& dirty);

    DirectDraw* owner_;
    DWORD width_;
    DWORD height_;
    PixelKind kind_;
    DWORD caps_;
    DWORD caps2_;
    LONG pitch_;
    std::unique_ptr<BYTE[]> pixels_;
    std::vector<Surface*> attached_;  // surfaces attached to this one (each holds a reference)
    Surface* attached_to_ = nullptr;  // the surface this one is attached to (no reference)
    bool implicit_ = false;           // created as part of a complex surface (back buffer of a chain)
    IDirectDrawClipper* clipper_ = nullptr;
    int lock_count_ = 0;
    bool lock_read_only_ = false;
    RECT lock_rect_{};
    std::uint64_t generation_ = 0;  // display-driver loss generation when made or restored
    std::atomic<std::uint64_t> version_{1};
    std::uint64_t serial_;
    SurfaceResidency* residency_ = nullptr;
};

// Our implementation behind an interface pointer, or null if the pointer is not one of ours.
Surface* surface_from_interface(IDirectDrawSurface7* surface);
