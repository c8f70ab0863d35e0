// The DirectDraw object behind IDirectDraw7: cooperative level and display modes through its display
// driver, creation of surfaces and clippers, the primary surface, restoring lost surfaces, and the
// IDirect3D7 interface reached through QueryInterface. Independent of any 3D backend.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "platform/d3d/core/ref_counted.h"
#include "platform/d3d/core/display_driver.h"
#include "platform/d3d/core/pixel_format.h"
#include "platform/d3d/ddraw.h"

class Surface;
class Direct3D;

class DirectDraw final : public RefCounted<IDirectDraw7, IID_IDirectDraw7> {
public:
    explicit DirectDraw(std::shared_ptr<DisplayDriver> driver);
    DirectDraw(const DirectDraw&) = delete;
    DirectDraw& operator=(const DirectDraw&) = delete;


    HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) override;
    HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, IUnknown* outer) override;
    HRESULT EnumDisplayModes(DWORD flags, DDSURFACEDESC2* filter, void* context,
                             LPDDENUMMODESCALLBACK2 callback) override;
    HRESULT FlipToGDISurface() override;
    HRESULT GetCaps(DDCAPS* driver_caps, DDCAPS* emulation_caps) override;
    HRESULT GetDisplayMode(DDSURFACEDESC2* desc) override;
    HRESULT GetAvailableVidMem(DDSCAPS2* caps, DWORD* total, DWORD* free) override;
    HRESULT RestoreAllSurfaces() override;
    HRESULT RestoreDisplayMode() override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bits_per_pixel, DWORD refresh_rate,
                           DWORD flags) override;
    HRESULT TestCooperativeLevel() override;

    DisplayDriver& driver() { return *driver_; }
    const std::shared_ptr<DisplayDriver>& driver_handle() const { return driver_; }
    bool exclusive() const { return (coop_flags_ & DDSCL_EXCLUSIVE) != 0; }
    Surface* primary() const { return primary_; }
    void surface_created(Surface* surface);
    void surface_destroyed(Surface* surface);
    void direct3d_destroyed() { direct3d_ = nullptr; }

private:
    ~DirectDraw();
    HRESULT query_other(REFIID riid, void** object) override;
    void last_release() override;
    HRESULT create_primary(const DDSURFACEDESC2& desc, IDirectDrawSurface7** out);
    PixelKind mode_kind() const;

    std::shared_ptr<DisplayDriver> driver_;
    HWND window_ = nullptr;
    DWORD coop_flags_ = 0;
    std::vector<Surface*> surfaces_;
    Surface* primary_ = nullptr;
    Direct3D* direct3d_ = nullptr;
};

// Whether a description's dwSize is acceptable (sizeof here, or the platform's 124).
bool surface_desc_size_ok(const DDSURFACEDESC2* desc);
// Fills a description of a display mode as GetDisplayMode and EnumDisplayModes report it.
void display_mode_desc(const DisplayMode& mode, bool with_refresh, DDSURFACEDESC2* desc);
