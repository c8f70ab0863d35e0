// IDirectDrawClipper: remembers the window whose visible region a blit onto the primary surface may
// cover. With the headless and window drivers of this layer the region is the whole primary surface, so
// a clipped blit is only trimmed to the surface's bounds.
#pragma once

#include <atomic>

#include "platform/d3d/core/ref_counted.h"
#include "platform/d3d/ddraw.h"

class Clipper final : public RefCounted<IDirectDrawClipper, IID_IDirectDrawClipper> {
public:
    Clipper() = default;
    Clipper(const Clipper&) = delete;
    Clipper& operator=(const Clipper&) = delete;

    HRESULT SetHWnd(DWORD flags, HWND window) override;
    HRESULT GetHWnd(HWND* window) override;

private:
    ~Clipper() = default;
    HWND window_ = nullptr;
};
