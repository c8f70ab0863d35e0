#include "platform/d3d/core/clipper.h"

HRESULT Clipper::SetHWnd(DWORD flags, HWND window)
{
    if (flags != 0) return DDERR_INVALIDPARAMS;
    window_ = window;
    return DD_OK;
}

HRESULT Clipper::GetHWnd(HWND* window)
{
    if (window == nullptr) return DDERR_INVALIDPARAMS;
    *window = window_;
    return DD_OK;
}
