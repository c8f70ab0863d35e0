// The DirectDraw 7 interfaces the program draws through: IUnknown-style reference counting, the
// DirectDraw object, surfaces and clippers, plus the entry points in the platform's shape
// (DirectDrawEnumerateExA over display drivers, DirectDrawCreateEx as the factory). Pure interfaces:
// the implementation behind them (core/) serves every 3D backend, and nothing here names one.
//
// Reference counting: AddRef and Release return the remaining count; an object is destroyed when it
// reaches 0. Objects created by an IDirectDraw7 (surfaces, clippers) hold a reference to it, as on the
// platform, so the DirectDraw object outlives them.
#pragma once

#include "platform/d3d/d3d_results.h"
#include "platform/d3d/ddraw_types.h"
#include "platform/d3d/guids.h"
#include "platform/win_types.h"

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

struct IDirectDraw7;
struct IDirectDrawSurface7;
struct IDirectDrawClipper;
using LPDIRECTDRAW7 = IDirectDraw7*;
using LPDIRECTDRAWSURFACE7 = IDirectDrawSurface7*;
using LPDIRECTDRAWCLIPPER = IDirectDrawClipper*;

// EnumDisplayModes callback: answer DDENUMRET_OK to go on, DDENUMRET_CANCEL to stop.
using LPDDENUMMODESCALLBACK2 = HRESULT (*)(DDSURFACEDESC2* mode, void* context);
// EnumAttachedSurfaces callback; the surface passed carries a reference the callee releases.
using LPDDENUMSURFACESCALLBACK7 = HRESULT (*)(IDirectDrawSurface7* surface, DDSURFACEDESC2* desc, void* context);
// DirectDrawEnumerateExA callback: guid is null for the primary display driver. TRUE goes on.
using LPDDENUMCALLBACKEXA = BOOL (*)(GUID* guid, LPSTR description, LPSTR name, void* context, HMONITOR monitor);

struct IDirectDrawClipper : IUnknown {
    virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;
    virtual HRESULT GetHWnd(HWND* window) = 0;

protected:
    ~IDirectDrawClipper() = default;
};

struct IDirectDrawSurface7 : IUnknown {
    // Attachment: a z-buffer to a render target, or a back buffer in a flip chain.
    virtual HRESULT AddAttachedSurface(IDirectDrawSurface7* surface) = 0;
    virtual HRESULT DeleteAttachedSurface(DWORD flags, IDirectDrawSurface7* surface) = 0;
    // Finds the attached surface whose caps contain every bit asked for; adds a reference.
    virtual HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) = 0;
    virtual HRESULT EnumAttachedSurfaces(void* context, LPDDENUMSURFACESCALLBACK7 callback) = 0;
    // Copies (stretching by point sampling) or fills; null rectangles mean the whole surface.
    virtual HRESULT Blt(RECT* dest_rect, IDirectDrawSurface7* source, RECT* source_rect, DWORD flags,
                        DDBLTFX* effects) = 0;
    virtual HRESULT Flip(IDirectDrawSurface7* target_override, DWORD flags) = 0;
    virtual HRESULT GetCaps(DDSCAPS2* caps) = 0;
    virtual HRESULT GetClipper(IDirectDrawClipper** clipper) = 0;
    // Stores an IDirectDraw7* (with a reference) in *direct_draw.
    virtual HRESULT GetDDInterface(void** direct_draw) = 0;
    virtual HRESULT GetPixelFormat(DDPIXELFORMAT* format) = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) = 0;
    virtual HRESULT IsLost() = 0;
    // The whole surface (rect null) or a part; fills lpSurface, lPitch and the description.
    virtual HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event) = 0;
    virtual HRESULT Unlock(RECT* rect) = 0;
    virtual HRESULT Restore() = 0;
    virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;

protected:
    ~IDirectDrawSurface7() = default;
};

struct IDirectDraw7 : IUnknown {
    virtual HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) = 0;
    virtual HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, IUnknown* outer) = 0;
    virtual HRESULT EnumDisplayModes(DWORD flags, DDSURFACEDESC2* filter, void* context,
                                     LPDDENUMMODESCALLBACK2 callback) = 0;
    virtual HRESULT FlipToGDISurface() = 0;
    // Driver (hardware) and emulation capabilities; either pointer may be null, not both.
    virtual HRESULT GetCaps(DDCAPS* driver_caps, DDCAPS* emulation_caps) = 0;
    virtual HRESULT GetDisplayMode(DDSURFACEDESC2* desc) = 0;
    virtual HRESULT GetAvailableVidMem(DDSCAPS2* caps, DWORD* total, DWORD* free) = 0;
    virtual HRESULT RestoreAllSurfaces() = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bits_per_pixel, DWORD refresh_rate,
                                   DWORD flags) = 0;
    virtual HRESULT TestCooperativeLevel() = 0;

protected:
    ~IDirectDraw7() = default;
};

// Calls back once per display driver (the primary first, with a null GUID); flags DDENUM_* widen the
// list to secondary and non-display drivers.
HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, void* context, DWORD flags);

// Creates the DirectDraw object of the driver named by guid (null: the primary display driver).
// iid must be IID_IDirectDraw7; *direct_draw receives an IDirectDraw7*.
HRESULT DirectDrawCreateEx(GUID* guid, void** direct_draw, REFIID iid, IUnknown* outer);
