#include "platform/d3d/core/clipper.h"

HRESULT Clipper::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return DDERR_INVALIDPARAMS;
    if (riid == IID_IDirectDrawClipper || riid == IID_IUnknown) {
        AddRef();
        *object = static_cast<IDirectDrawClipper*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Clipper::AddRef()
{
    return ++refs_;
}

ULONG Clipper::Release()
{
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

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
