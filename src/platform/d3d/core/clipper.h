// IDirectDrawClipper: remembers the window whose visible region a blit onto the primary surface may
// cover. With the headless and window drivers of this layer the region is the whole primary surface, so
// a clipped blit is only trimmed to the surface's bounds.
#pragma once

#include <atomic>

#include "platform/d3d/ddraw.h"

class Clipper final : public IDirectDrawClipper {
public:
    Clipper() = default;
    Clipper(const Clipper&) = delete;
    Clipper& operator=(const Clipper&) = delete;

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT SetHWnd(DWORD flags, HWND window) override;
    HRESULT GetHWnd(HWND* window) override;

private:
    ~Clipper() = default;
    std::atomic<ULONG> refs_{1};
    HWND window_ = nullptr;
};
