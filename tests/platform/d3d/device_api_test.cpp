// The device's interface as the program uses it, on every device: creation defaults, the description
// and enumerations, argument checking with the platform's codes, scenes, viewports, draws refused for
// bad input, vertex buffers, ComputeSphereVisibility and reference counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/d3d/device_fixture.h"

namespace {

class DeviceApi : public DeviceTest {};

const GUID kUnknownGuid = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};

TEST_P(DeviceApi, DefaultsDependOnTheTargetAndTheStage)
{
    // Depth is on exactly when a z-buffer was attached before the device was made.
    for (bool zbuffer : {false, true}) {
        DeviceHarness h(guid(), 8, 8, zbuffer);
        ASSERT_TRUE(h.ok());
        DWORD v = 99;
        ASSERT_EQ(h.device()->GetRenderState(D3DRENDERSTATE_ZENABLE, &v), D3D_OK);
        EXPECT_EQ(v, zbuffer ? static_cast<DWORD>(D3DZB_TRUE) : static_cast<DWORD>(D3DZB_FALSE));
    }
    DeviceHarness h(guid(), 40, 30, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    // Stage 0 modulates the texture, later stages are off; each stage reads its own coordinates.
    for (DWORD stage = 0; stage < 8; ++stage) {
        const std::pair<D3DTEXTURESTAGESTATETYPE, DWORD> defaults[] = {
            {D3DTSS_COLOROP, stage == 0 ? static_cast<DWORD>(D3DTOP_MODULATE) : static_cast<DWORD>(D3DTOP_DISABLE)},
            {D3DTSS_ALPHAOP, stage == 0 ? static_cast<DWORD>(D3DTOP_SELECTARG1) : static_cast<DWORD>(D3DTOP_DISABLE)},
            {D3DTSS_TEXCOORDINDEX, stage}};
        for (auto [state, value] : defaults) {
            DWORD v = 0xDEADBEEF;
            ASSERT_EQ(d->GetTextureStageState(stage, state, &v), D3D_OK);
            EXPECT_EQ(v, value) << "stage " << stage << " state " << state;
        }
        IDirectDrawSurface7* t = reinterpret_cast<IDirectDrawSurface7*>(1);
        ASSERT_EQ(d->GetTexture(stage, &t), D3D_OK);
        EXPECT_EQ(t, nullptr);
    }
    D3DMATRIX identity, m{};
    matrix_identity(&identity);
    for (DWORD t : {D3DTRANSFORMSTATE_WORLD, D3DTRANSFORMSTATE_VIEW, D3DTRANSFORMSTATE_PROJECTION, D3DTRANSFORMSTATE_TEXTURE0}) {
        ASSERT_EQ(d->GetTransform(static_cast<D3DTRANSFORMSTATETYPE>(t), &m), D3D_OK);
        EXPECT_EQ(m, identity) << "transform " << t;
    }
    D3DVIEWPORT7 vp{};
    ASSERT_EQ(d->GetViewport(&vp), D3D_OK);
    EXPECT_EQ(vp.dwWidth, 40u);
    D3DLIGHT7 light;
    EXPECT_EQ(d->GetLight(0, &light), DDERR_INVALIDPARAMS);  // none defined
}

TEST_P(DeviceApi, DescriptionEnumerationAndCreationRefusals)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    D3DDEVICEDESC7 desc{};
    ASSERT_EQ(h.device()->GetCaps(&desc), D3D_OK);
    EXPECT_EQ(h.device()->GetCaps(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(desc.deviceGUID, guid());
    const DWORD hw = D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    if (guid() == IID_IDirect3DRGBDevice) {
        EXPECT_EQ(desc.dwDevCaps & hw, 0u);
    } else if (guid() == IID_IDirect3DTnLHalDevice) {
        EXPECT_EQ(desc.dwDevCaps & hw, hw);
    }

    // Enumeration lists the device with a description and the same capabilities.
    struct Found {
        const GUID* guid;
        DWORD dev_caps = 0;
        std::string description;
    } found{&guid(), 0, {}};
    ASSERT_EQ(h.d3d()->EnumDevices(
                  [](LPSTR description, LPSTR, D3DDEVICEDESC7* e, void* context) -> HRESULT {
                      auto* f = static_cast<Found*>(context);
                      if (e->deviceGUID == *f->guid) f->dev_caps = e->dwDevCaps, f->description = description;
                      return D3DENUMRET_OK;
                  },
                  &found),
              D3D_OK);
    EXPECT_FALSE(found.description.empty());
    EXPECT_EQ(found.dev_caps, desc.dwDevCaps);
    EXPECT_EQ(h.d3d()->EnumDevices(nullptr, nullptr), DDERR_INVALIDPARAMS);

    IDirect3DDevice7* device = nullptr;
    EXPECT_EQ(h.d3d()->CreateDevice(kUnknownGuid, h.target(), &device), DDERR_INVALIDPARAMS);
    ComRef<IDirectDrawSurface7> plain(h.create_surface(DDSCAPS_OFFSCREENPLAIN, 8, 8, nullptr));
    ASSERT_TRUE(plain);
    EXPECT_EQ(h.d3d()->CreateDevice(guid(), plain.get(), &device), DDERR_INVALIDCAPS);
    EXPECT_EQ(device, nullptr);
}

TEST_P(DeviceApi, TextureAndDepthFormatsInTheirFixedOrder)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    std::vector<DDPIXELFORMAT> formats;
    auto collect = [](DDPIXELFORMAT* f, void* context) -> HRESULT {
        static_cast<std::vector<DDPIXELFORMAT>*>(context)->push_back(*f);
        return D3DENUMRET_OK;
    };
    ASSERT_EQ(h.device()->EnumTextureFormats(collect, &formats), D3D_OK);
    ASSERT_GE(formats.size(), 4u);
    // The texture manager's searches: 32 bits with 8 alpha bits, 32 without, 16 with 4 alpha bits.
    auto find = [&](DWORD bits, DWORD alpha_mask) {
        for (std::size_t i = 0; i < formats.size(); ++i) {
            if (formats[i].dwRGBBitCount == bits && formats[i].dwRGBAlphaBitMask == alpha_mask) return static_cast<int>(i);
        }
        return -1;
    };
    EXPECT_EQ(find(32, 0xFF000000), 0);
    EXPECT_EQ(find(32, 0), 1);
    EXPECT_GE(find(16, 0xF000), 2);
    int calls = 0;
    h.device()->EnumTextureFormats([](DDPIXELFORMAT*, void* c) -> HRESULT { return ++*static_cast<int*>(c), D3DENUMRET_CANCEL; }, &calls);
    EXPECT_EQ(calls, 1);  // the callback's cancel stops the enumeration

    std::vector<DDPIXELFORMAT> depth;
    ASSERT_EQ(h.d3d()->EnumZBufferFormats(guid(), collect, &depth), D3D_OK);
    bool has16 = false, has32 = false;
    for (const DDPIXELFORMAT& f : depth) {
        EXPECT_TRUE(f.dwFlags & DDPF_ZBUFFER);
        has16 |= f.dwZBufferBitDepth == 16;
        has32 |= f.dwZBufferBitDepth == 32;
    }
    EXPECT_TRUE(has16 && has32);
    EXPECT_EQ(h.d3d()->EnumZBufferFormats(kUnknownGuid, collect, &depth), DDERR_INVALIDPARAMS);
}

TEST_P(DeviceApi, BadArgumentsGetThePlatformCodes)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    DWORD v;
    EXPECT_EQ(d->SetRenderState(static_cast<D3DRENDERSTATETYPE>(3), 1), DDERR_INVALIDPARAMS);  // not a D3D7 state
    EXPECT_EQ(d->SetRenderState(static_cast<D3DRENDERSTATETYPE>(100000), 1), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetRenderState(D3DRENDERSTATE_ZENABLE, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_MODULATE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(25), 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetTextureStageState(0, D3DTSS_COLOROP, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetTexture(8, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetTexture(0, nullptr), DDERR_INVALIDPARAMS);
    D3DMATRIX m{};
    EXPECT_EQ(d->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(7), &m), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetTransform(D3DTRANSFORMSTATE_WORLD, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetTransform(D3DTRANSFORMSTATE_VIEW, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetMaterial(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetLight(0, nullptr), DDERR_INVALIDPARAMS);
    D3DLIGHT7 light{};
    light.dltType = static_cast<D3DLIGHTTYPE>(9);
    EXPECT_EQ(d->SetLight(0, &light), DDERR_INVALIDPARAMS);
    light.dltType = D3DLIGHT_POINT;
    light.dvRange = -1.0f;
    EXPECT_EQ(d->SetLight(0, &light), DDERR_INVALIDPARAMS);
    light.dvRange = 10.0f;
    EXPECT_EQ(d->SetLight(0xFFFFFFFF, &light), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetLight(3, &light), D3D_OK);
    EXPECT_EQ(d->LightEnable(0xFFFFFFFF, TRUE), DDERR_INVALIDPARAMS);
    // Enabling a light never set gives it a default light; more than the active limit fails.
    for (DWORD i = 0; i < 8; ++i) EXPECT_EQ(d->LightEnable(i, TRUE), D3D_OK) << i;
    EXPECT_EQ(d->LightEnable(8, TRUE), D3DERR_LIGHT_SET_FAILED);
    BOOL enabled = FALSE;
    EXPECT_EQ(d->GetLightEnable(5, &enabled), D3D_OK);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(d->GetLight(5, &light), D3D_OK);
    EXPECT_EQ(light.dltType, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(d->SetViewport(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetViewport(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->ValidateDevice(&v), D3D_OK);
    EXPECT_EQ(d->SetRenderTarget(nullptr, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetRenderTarget(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetDirect3D(nullptr), DDERR_INVALIDPARAMS);
}

TEST_P(DeviceApi, ViewportMustLieInsideTheTarget)
{
    DeviceHarness h(guid(), 16, 8, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    D3DVIEWPORT7 ok{4, 2, 12, 6, 0.0f, 1.0f};
    EXPECT_EQ(d->SetViewport(&ok), D3D_OK);
    const D3DVIEWPORT7 bad[] = {{0, 0, 17, 8, 0, 1}, {8, 0, 9, 8, 0, 1}, {0, 0, 0, 8, 0, 1}, {0xFFFFFFF0, 0, 32, 8, 0, 1}};
    for (D3DVIEWPORT7 vp : bad) {
        EXPECT_EQ(d->SetViewport(&vp), DDERR_INVALIDPARAMS) << vp.dwX << "," << vp.dwWidth;
        D3DVIEWPORT7 now{};
        d->GetViewport(&now);
        EXPECT_EQ(now.dwX, 4u);  // unchanged
        EXPECT_EQ(now.dwWidth, 12u);
    }
}

TEST_P(DeviceApi, ScenesAndDraws)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    D3DTLVERTEX quad[4];
    screen_quad(quad, 0, 0, 8, 8, 0.5f, 0xFFFFFFFF);
    EXPECT_EQ(d->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
    EXPECT_EQ(draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4), D3DERR_SCENE_NOT_IN_SCENE);
    ASSERT_EQ(d->BeginScene(), D3D_OK);
    EXPECT_EQ(d->BeginScene(), D3DERR_SCENE_IN_SCENE);
    EXPECT_EQ(d->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(9), D3DFVF_TLVERTEX, quad, 4, 0), D3DERR_INVALIDPRIMITIVETYPE);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, 0x1001, quad, 3, 0), D3DERR_INVALIDVERTEXTYPE);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, quad, 3, 0), D3DERR_INVALIDVERTEXTYPE);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, nullptr, 3, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 0, 0), D3D_OK);
    WORD indices[6] = {0, 1, 2, 2, 1, 4};  // 4 is out of range for four vertices
    EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 4, indices, 6, 0), DDERR_INVALIDPARAMS);
    indices[5] = 3;
    EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 4, nullptr, 6, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 4, indices, 6, 0), D3D_OK);
    // Long index lists are checked in blocks: one index out of range anywhere, block or tail, is refused.
    for (DWORD count : {9u, 24u, 51u}) {
        for (DWORD bad = 0; bad < count; bad += 4) {
            std::vector<WORD> many(count, 3);
            many[bad] = 0xFFFF;
            EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 4, many.data(), count - count % 3, 0),
                      bad < count - count % 3 ? DDERR_INVALIDPARAMS : D3D_OK)
                << count << " indices, bad at " << bad;
        }
    }
    EXPECT_EQ(d->EndScene(), D3D_OK);
}

TEST_P(DeviceApi, VertexBuffers)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    D3DVERTEXBUFFERDESC desc{sizeof(D3DVERTEXBUFFERDESC), D3DVBCAPS_SYSTEMMEMORY, D3DFVF_TLVERTEX, 4};
    ComRef<IDirect3DVertexBuffer7> vb;
    ASSERT_EQ(h.d3d()->CreateVertexBuffer(&desc, vb.out(), 0), D3D_OK);
    D3DVERTEXBUFFERDESC bad = desc;
    bad.dwSize = 12;
    IDirect3DVertexBuffer7* none = nullptr;
    EXPECT_EQ(h.d3d()->CreateVertexBuffer(&bad, &none, 0), DDERR_INVALIDPARAMS);
    bad = desc;
    bad.dwFVF = 0x1001;
    EXPECT_EQ(h.d3d()->CreateVertexBuffer(&bad, &none, 0), D3DERR_INVALIDVERTEXFORMAT);
    D3DVERTEXBUFFERDESC got{};
    got.dwSize = sizeof(got);
    ASSERT_EQ(vb->GetVertexBufferDesc(&got), D3D_OK);
    EXPECT_EQ(got.dwNumVertices, 4u);

    void* data = nullptr;
    DWORD size = 0;
    ASSERT_EQ(vb->Lock(DDLOCK_WAIT | DDLOCK_WRITEONLY, &data, &size), D3D_OK);
    EXPECT_EQ(size, 4u * sizeof(D3DTLVERTEX));
    screen_quad(static_cast<D3DTLVERTEX*>(data), 0, 0, 8, 8, 0.5f, 0xFF00FF00);
    begin_diffuse(d);
    WORD indices[6] = {0, 1, 2, 2, 1, 3};
    EXPECT_EQ(d->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, vb.get(), 0, 4, indices, 6, 0), D3DERR_VERTEXBUFFERLOCKED);
    ASSERT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_EQ(vb->Unlock(), D3DERR_VERTEXBUFFERUNLOCKFAILED);
    EXPECT_EQ(d->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, vb.get(), 1, 4, indices, 6, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, vb.get(), 0, 4, indices, 6, 0), D3D_OK);
    EXPECT_EQ(d->DrawPrimitiveVB(D3DPT_TRIANGLESTRIP, vb.get(), 0, 4, 0), D3D_OK);
    d->EndScene();
    EXPECT_EQ(h.pixel(4, 4), 0xFF00FF00u);
}

TEST_P(DeviceApi, ComputeSphereVisibility)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    D3DVECTOR centres[] = {{0, 0, 0.5f}, {-1, -1, 0.5f}, {-20, 0, 0.5f}, {20, 0, 0.5f},
                           {0, -20, 0.5f}, {0, 20, 0.5f}, {0, 0, -20}, {0, 0, 20}};
    float radii[] = {0.5f, 0.25f, 3, 3, 3, 3, 3, 3};
    const DWORD expected[] = {0, 0x9, 0x103D, 0x203E, 0x803B, 0x4037, 0x1001F, 0x2002F};
    DWORD results[8];
    std::fill(std::begin(results), std::end(results), 0xDEADBEEF);
    ASSERT_EQ(h.device()->ComputeSphereVisibility(centres, radii, 8, 0, results), D3D_OK);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(results[i], expected[i]) << "row " << i;
    EXPECT_EQ(h.device()->ComputeSphereVisibility(centres, radii, 1, 1, results), DDERR_INVALIDPARAMS);
    EXPECT_EQ(h.device()->ComputeSphereVisibility(nullptr, radii, 1, 0, results), DDERR_INVALIDPARAMS);

    // With the current transforms.
    IDirect3DDevice7* d = h.device();
    D3DMATRIX world, view, proj;
    matrix_translation(&world, 0, 0, 10);
    const Vector3 eye(0, 0, -5), at(0, 0, 0), up(0, 1, 0);
    matrix_look_at(&view, &eye, &at, &up);
    matrix_perspective(&proj, 3.14159265f / 2, 1.0f, 1.0f, 100.0f);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    d->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
    // In world space (after the world matrix): the centre (0,0,0) lies 15 in front of the eye.
    D3DVECTOR moved[4] = {{0, 0, 0}, {100, 0, 0}, {0, 0, -20}, {15, 0, 0}};
    float ones[4] = {1, 1, 1, 1};
    ASSERT_EQ(d->ComputeSphereVisibility(moved, ones, 4, 0, results), D3D_OK);
    EXPECT_EQ(results[0], 0u);                                      // inside
    EXPECT_NE(results[1] & D3DSTATUS_CLIPINTERSECTIONRIGHT, 0u);    // far to the right
    EXPECT_NE(results[2] & D3DSTATUS_CLIPINTERSECTIONFRONT, 0u);    // behind the eye
    EXPECT_EQ(results[3] & D3DSTATUS_CLIPINTERSECTIONALL, 0u);      // straddles the right plane
    EXPECT_NE(results[3] & D3DSTATUS_CLIPUNIONRIGHT, 0u);
}

TEST_P(DeviceApi, ReleaseReturnsTheRemainingCount)
{
    ComRef<IDirectDraw7> dd;
    ASSERT_EQ(create_direct_draw(dd.out()), DD_OK);
    IDirect3D7* d3d = nullptr;
    ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)), DD_OK);
    DDSURFACEDESC2 desc = surface_desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 8, 8);
    IDirectDrawSurface7* target = nullptr;
    ASSERT_EQ(dd->CreateSurface(&desc, &target, nullptr), DD_OK);
    IDirect3DDevice7* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(guid(), target, &device), D3D_OK);
    EXPECT_EQ(device->AddRef(), 2u);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(target->Release(), 0u);
    EXPECT_EQ(d3d->Release(), 0u);
    EXPECT_EQ(dd.release()->Release(), 0u);
}

INSTANTIATE_ON_DEVICES(DeviceApi);

}  // namespace
