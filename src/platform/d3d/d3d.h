// The Direct3D 7 interfaces: IDirect3D7 (device enumeration and creation, vertex buffers, depth
// formats), IDirect3DDevice7 (the immediate-mode device every part of the program draws through) and
// IDirect3DVertexBuffer7. Pure interfaces in the platform's shape; the shared implementation in core/
// validates every call and hands drawing to the backend chosen by the device GUID.
//
// An IDirect3D7 is obtained with QueryInterface(IID_IDirect3D7) on an IDirectDraw7. Failures are the
// platform's codes (d3d_results.h): null pointers and out-of-range indices give DDERR_INVALIDPARAMS,
// drawing outside BeginScene/EndScene gives D3DERR_SCENE_NOT_IN_SCENE, and so on; no call crashes.
#pragma once

#include "platform/d3d/d3d_results.h"
#include "platform/d3d/d3d_states.h"
#include "platform/d3d/d3d_types.h"
#include "platform/d3d/ddraw.h"

struct IDirect3D7;
struct IDirect3DDevice7;
struct IDirect3DVertexBuffer7;
using LPDIRECT3D7 = IDirect3D7*;
using LPDIRECT3DDEVICE7 = IDirect3DDevice7*;
using LPDIRECT3DVERTEXBUFFER7 = IDirect3DVertexBuffer7*;

// EnumDevices callback: answer D3DENUMRET_OK to go on.
using LPD3DENUMDEVICESCALLBACK7 = HRESULT (*)(LPSTR description, LPSTR name, D3DDEVICEDESC7* desc,
                                              void* context);
// EnumTextureFormats / EnumZBufferFormats callback: answer D3DENUMRET_OK to go on.
using LPD3DENUMPIXELFORMATSCALLBACK = HRESULT (*)(DDPIXELFORMAT* format, void* context);

struct IDirect3DVertexBuffer7 : IUnknown {
    // The whole buffer; size (optional) receives its length in bytes.
    virtual HRESULT Lock(DWORD flags, void** data, DWORD* size) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT GetVertexBufferDesc(D3DVERTEXBUFFERDESC* desc) = 0;

protected:
    ~IDirect3DVertexBuffer7() = default;
};

struct IDirect3D7 : IUnknown {
    virtual HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, void* context) = 0;
    virtual HRESULT CreateDevice(REFCLSID device_guid, IDirectDrawSurface7* target, IDirect3DDevice7** device) = 0;
    virtual HRESULT CreateVertexBuffer(D3DVERTEXBUFFERDESC* desc, IDirect3DVertexBuffer7** buffer, DWORD flags) = 0;
    virtual HRESULT EnumZBufferFormats(REFCLSID device_guid, LPD3DENUMPIXELFORMATSCALLBACK callback,
                                       void* context) = 0;
    virtual HRESULT EvictManagedTextures() = 0;

protected:
    ~IDirect3D7() = default;
};

struct IDirect3DDevice7 : IUnknown {
    virtual HRESULT GetCaps(D3DDEVICEDESC7* desc) = 0;
    virtual HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    virtual HRESULT GetDirect3D(IDirect3D7** direct3d) = 0;

    virtual HRESULT SetRenderTarget(IDirectDrawSurface7* target, DWORD flags) = 0;
    virtual HRESULT GetRenderTarget(IDirectDrawSurface7** target) = 0;
    // rect_count 0 with rects null clears the viewport; rectangles are clipped to the viewport.
    virtual HRESULT Clear(DWORD rect_count, D3DRECT* rects, DWORD flags, D3DCOLOR color, D3DVALUE z,
                          DWORD stencil) = 0;

    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT MultiplyTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT SetViewport(D3DVIEWPORT7* viewport) = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT7* viewport) = 0;
    virtual HRESULT SetMaterial(D3DMATERIAL7* material) = 0;
    virtual HRESULT GetMaterial(D3DMATERIAL7* material) = 0;
    virtual HRESULT SetLight(DWORD index, D3DLIGHT7* light) = 0;
    virtual HRESULT GetLight(DWORD index, D3DLIGHT7* light) = 0;
    virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
    virtual HRESULT GetLightEnable(DWORD index, BOOL* enable) = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
    virtual HRESULT SetClipPlane(DWORD index, D3DVALUE* plane) = 0;
    virtual HRESULT GetClipPlane(DWORD index, D3DVALUE* plane) = 0;

    virtual HRESULT BeginStateBlock() = 0;
    virtual HRESULT EndStateBlock(DWORD* block) = 0;
    virtual HRESULT ApplyStateBlock(DWORD block) = 0;
    virtual HRESULT CaptureStateBlock(DWORD block) = 0;
    virtual HRESULT DeleteStateBlock(DWORD block) = 0;
    virtual HRESULT CreateStateBlock(D3DSTATEBLOCKTYPE type, DWORD* block) = 0;

    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, void* vertices, DWORD vertex_count,
                                  DWORD flags) = 0;
    virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, void* vertices, DWORD vertex_count,
                                         WORD* indices, DWORD index_count, DWORD flags) = 0;
    virtual HRESULT DrawPrimitiveVB(D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* buffer, DWORD start_vertex,
                                    DWORD vertex_count, DWORD flags) = 0;
    virtual HRESULT DrawIndexedPrimitiveVB(D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* buffer,
                                           DWORD start_vertex, DWORD vertex_count, WORD* indices,
                                           DWORD index_count, DWORD flags) = 0;
    virtual HRESULT ComputeSphereVisibility(D3DVECTOR* centers, D3DVALUE* radii, DWORD count, DWORD flags,
                                            DWORD* results) = 0;

    virtual HRESULT GetTexture(DWORD stage, IDirectDrawSurface7** texture) = 0;
    virtual HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture) = 0;
    virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD* value) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) = 0;
    virtual HRESULT ValidateDevice(DWORD* passes) = 0;

protected:
    ~IDirect3DDevice7() = default;
};
